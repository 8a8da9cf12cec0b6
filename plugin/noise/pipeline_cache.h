#pragma once

#include <cstdint>

namespace noisepp {

// One slot per pipeline element where an element may keep its last result.
struct PipelineCacheRecord {
    std::uint32_t value;
    std::uint8_t filled;
    std::uint8_t reserved[15];
};
static_assert(sizeof(PipelineCacheRecord) == 20);

}  // namespace noisepp
