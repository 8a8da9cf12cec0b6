#pragma once

#include <cstdint>
#include <span>

#include "plugin/render/aligned_floats.h"
#include "plugin/render/plane_view.h"
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

// The blur's image and summed-area table, kept from call to call and from frame to frame. Each is
// given one frame's worth of cells when the frame size changes and is only ever touched as far as the
// largest rectangle blurred since, so that the frames of a moving blade, whose rectangle changes every
// frame, allocate nothing and touch no fresh pages, while untouched cells take no memory.
struct BoxBlurScratch {
    AlignedFloats image;
    AlignedFloats table;
    std::uint64_t frame_cells = 0;  // the frame size the buffers serve
};

// Gives both buffers frame_cells cells unless they serve that count already. Throws std::bad_alloc
// when the cells cannot be had, leaving both empty, so that the next frame tries again.
void fit_box_blur_scratch(BoxBlurScratch& scratch, std::uint64_t frame_cells);

// Blurs the source plane's rectangle twice with a box of fractional size (a tent kernel) and writes
// it into the same rectangle of the destination, which may be the same plane; every value lands in
// [0, 1]. The rectangle is cut to both planes; nothing outside it is touched. Negative or NaN sizes
// count as 0 (no blur); sizes beyond the rectangle act as the whole rectangle.
void box_blur_sat(PlaneView destination, ConstPlaneView source, CoreRect rect, float horizontal_size,
                  float vertical_size);
// The same in the scratch's buffers, which grow should the rectangle hold more cells than they do.
void box_blur_sat(PlaneView destination, ConstPlaneView source, CoreRect rect, float horizontal_size,
                  float vertical_size, BoxBlurScratch& scratch);

// Each pixel of the record's rows becomes the average of its box, clipped to the rectangle, from
// four table lookups; capped to [0, 1]. Returns true.
bool box_blur_sat_job(BoxJobRecord record);

// The inclusive summed-area table at fractional (x, y), blended bilinearly from its four neighbours:
// 0 left of or above the table, the last complete sums beyond its end.
float sat_lookup(std::span<const float> table, std::int32_t width, std::int32_t height, float x, float y) noexcept;

}  // namespace kyrox
