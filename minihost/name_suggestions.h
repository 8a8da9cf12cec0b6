#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace minihost {

// Up to `count` of the names nearest to `wanted` in edits (case ignored), nearest first; names tied
// keep their order.
std::vector<std::string> closest_names(const std::string& wanted, const std::vector<std::string>& names,
                                       std::size_t count);

// A preset name the effect does not offer. The message names the closest presets and lists them all.
class UnknownPreset : public std::invalid_argument {
public:
    UnknownPreset(const std::string& wanted, const std::vector<std::string>& presets);
};

}  // namespace minihost
