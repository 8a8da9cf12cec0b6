#pragma once

#include <cstdint>
#include <span>

#include "plugin/render/render_inputs.h"
#include "plugin/render/geometry/core_rect.h"

namespace kyrox {

// One chunk of a box pass: rows begin .. end - 1 of image are rewritten from the summed-area table.
struct BoxJobRecord {
    std::int32_t begin = 0;
    std::int32_t end = 0;
    std::int32_t index = 0;
    float* image = nullptr;
    const float* table = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    float horizontal_size = 0.0f;
    float vertical_size = 0.0f;
};

// Blurs the source plane's rectangle twice with a box of fractional size (a tent kernel) and writes
// it into the same rectangle of the destination, which may be the same plane; every value lands in
// [0, 1]. The rectangle is cut to both planes; nothing outside it is touched. Negative or NaN sizes
// count as 0 (no blur); sizes beyond the rectangle act as the whole rectangle.
void box_blur_sat(const WorldView& destination, const WorldView& source, CoreRect rect, float horizontal_size,
                  float vertical_size);

// Each pixel of the record's rows becomes the average of its box, clipped to the rectangle, from
// four table lookups; capped to [0, 1]. Returns true.
bool box_blur_sat_job(BoxJobRecord record);

// The inclusive summed-area table at fractional (x, y), blended bilinearly from its four neighbours:
// 0 left of or above the table, the last complete sums beyond its end.
float sat_lookup(std::span<const float> table, std::int32_t width, std::int32_t height, float x, float y) noexcept;

}  // namespace kyrox
