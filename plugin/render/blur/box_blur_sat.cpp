#include "plugin/render/blur/box_blur_sat.h"

#include <algorithm>
#include <cmath>

#include "plugin/render/aligned_floats.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/function_job.h"

namespace kyrox {

namespace {

// A size beyond twice the extent already covers the whole rectangle from every pixel.
float usable_size(float size, std::int32_t extent) noexcept
{
    if (!(size > 0.0f)) {
        return 0.0f;
    }
    return std::min(size, 2.0f * static_cast<float>(extent) + 2.0f);
}

CoreRect inside_both(CoreRect rect, const WorldView& a, const WorldView& b) noexcept
{
    const std::int32_t width = std::min(a.width, b.width);
    const std::int32_t height = std::min(a.height, b.height);
    rect.x0 = std::clamp(rect.x0, 0, std::max(width, 0));
    rect.x1 = std::clamp(rect.x1, 0, std::max(width, 0));
    rect.y0 = std::clamp(rect.y0, 0, std::max(height, 0));
    rect.y1 = std::clamp(rect.y1, 0, std::max(height, 0));
    return rect;
}

// Inclusive sums: every cell holds the sum of the image up to and including its row and column.
void build_summed_area(std::span<const float> image, std::span<float> table, std::size_t width, std::size_t height)
{
    for (std::size_t i = 0; i < height; ++i) {
        float row_sum = 0.0f;
        const std::size_t row = i * width;
        for (std::size_t j = 0; j < width; ++j) {
            row_sum += image[row + j];
            table[row + j] = i == 0 ? row_sum : row_sum + table[row - width + j];
        }
    }
}

float table_value(std::span<const float> table, std::int32_t width, std::int32_t height, std::int32_t c,
                  std::int32_t r) noexcept
{
    if (c < 0 || r < 0) {
        return 0.0f;
    }
    const auto row = static_cast<std::size_t>(std::min(r, height - 1));
    return table[row * static_cast<std::size_t>(width) + static_cast<std::size_t>(std::min(c, width - 1))];
}

}  // namespace

float sat_lookup(std::span<const float> table, std::int32_t width, std::int32_t height, float x, float y) noexcept
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const float tx = x - fx;
    const float ty = y - fy;
    const auto xi = static_cast<std::int32_t>(fx);
    const auto yi = static_cast<std::int32_t>(fy);
    const auto v = [&](std::int32_t c, std::int32_t r) { return table_value(table, width, height, c, r); };
    return (1.0f - ty) * ((1.0f - tx) * v(xi, yi) + tx * v(xi + 1, yi)) +
           ty * ((1.0f - tx) * v(xi, yi + 1) + tx * v(xi + 1, yi + 1));
}

bool box_blur_sat_job(BoxJobRecord record)
{
    const std::int32_t w = record.width;
    const std::int32_t h = record.height;
    const std::span<const float> table{record.table, static_cast<std::size_t>(w) * static_cast<std::size_t>(h)};
    const float hx = (record.horizontal_size + 1.0f) * 0.5f;
    const float hy = (record.vertical_size + 1.0f) * 0.5f;
    const auto fw = static_cast<float>(w);
    const auto fh = static_cast<float>(h);
    for (std::int32_t i = record.begin; i < record.end; ++i) {
        const float cy = static_cast<float>(i) - 0.5f;
        const float rows = std::min(fh, cy + 1.0f + hy) - std::max(cy + 1.0f - hy, 0.0f);
        float* out = record.image + static_cast<std::ptrdiff_t>(i) * w;
        for (std::int32_t j = 0; j < w; ++j) {
            const float cx = static_cast<float>(j) - 0.5f;
            const float sum = sat_lookup(table, w, h, cx + hx, cy + hy) + sat_lookup(table, w, h, cx - hx, cy - hy) -
                              sat_lookup(table, w, h, cx - hx, cy + hy) - sat_lookup(table, w, h, cx + hx, cy - hy);
            const float area = (std::min(fw, cx + 1.0f + hx) - std::max(cx + 1.0f - hx, 0.0f)) * rows;
            const float average = (sum > 0.0f ? sum : 0.0f) / area;
            out[j] = std::min(average, 1.0f);
        }
    }
    return true;
}

void box_blur_sat(const WorldView& destination, const WorldView& source, CoreRect rect, float horizontal_size,
                  float vertical_size)
{
    rect = inside_both(rect, destination, source);
    const std::int32_t w = rect.x1 - rect.x0;
    const std::int32_t h = rect.y1 - rect.y0;
    if (w < 1 || h < 1 || destination.data == nullptr || source.data == nullptr) {
        return;
    }
    const auto uw = static_cast<std::size_t>(w);
    const std::size_t count = uw * static_cast<std::size_t>(h);
    const AlignedFloats image(count);
    const AlignedFloats table(count);
    const std::span<float> p = image.values();
    for (std::int32_t i = 0; i < h; ++i) {
        const std::span<const float> from = plane_row(source, rect.y0 + i).subspan(static_cast<std::size_t>(rect.x0), uw);
        std::copy(from.begin(), from.end(), p.begin() + static_cast<std::ptrdiff_t>(i) * w);
    }
    const BoxJobRecord prototype{0,        0, 0, p.data(), table.values().data(), w, h,
                                 usable_size(horizontal_size, w), usable_size(vertical_size, h)};
    for (int pass = 0; pass < 2; ++pass) {
        build_summed_area(p, table.values(), uw, static_cast<std::size_t>(h));
        run_function_job(worker_pool(), box_blur_sat_job, prototype, h);
    }
    for (std::int32_t i = 0; i < h; ++i) {
        const std::span<float> to = plane_row(destination, rect.y0 + i).subspan(static_cast<std::size_t>(rect.x0), uw);
        const auto from = p.subspan(static_cast<std::size_t>(i) * uw, uw);
        std::copy(from.begin(), from.end(), to.begin());
    }
}

}  // namespace kyrox
