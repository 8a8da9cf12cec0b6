#pragma once

#include <cstdlib>
#include <string>
#include <string_view>

namespace kyrox::testing_support {

// True for exactly one line " Video processing time: <milliseconds>\n".
inline bool is_timing_line(const std::string& text)
{
    constexpr std::string_view prefix = " Video processing time: ";
    if (text.size() <= prefix.size() + 1 || text.compare(0, prefix.size(), prefix) != 0 || text.back() != '\n') {
        return false;
    }
    const std::string number = text.substr(prefix.size(), text.size() - prefix.size() - 1);
    char* end = nullptr;
    const float milliseconds = std::strtof(number.c_str(), &end);
    return end == number.c_str() + number.size() && milliseconds >= 0.0f;
}

}  // namespace kyrox::testing_support
