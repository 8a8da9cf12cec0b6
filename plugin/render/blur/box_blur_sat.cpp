#include "plugin/render/blur/box_blur_sat.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

#include "plugin/platform/simd/lanes.h"
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

CoreRect inside_both(CoreRect rect, ConstPlaneView a, ConstPlaneView b) noexcept
{
    const std::int32_t width = std::min(a.width, b.width);
    const std::int32_t height = std::min(a.height, b.height);
    rect.x0 = std::clamp(rect.x0, 0, std::max(width, 0));
    rect.x1 = std::clamp(rect.x1, 0, std::max(width, 0));
    rect.y0 = std::clamp(rect.y0, 0, std::max(height, 0));
    rect.y1 = std::clamp(rect.y1, 0, std::max(height, 0));
    return rect;
}

// Inclusive sums: every cell holds the sum of the image up to and including its row and column,
// each row's running sum plus the cell above. Built on the workers in two passes, first the rows'
// running sums, then the cells above added down each column, which adds the same values in the
// same order as one pass row by row.
void build_summed_area(std::span<const float> image, std::span<float> table, std::size_t width, std::size_t height)
{
    const auto rows = static_cast<std::int32_t>(height);
    parallel_for(
        worker_pool(),
        [&](const ThreadWorkData& w) {
            for (auto i = static_cast<std::size_t>(w.begin); i < static_cast<std::size_t>(w.end); ++i) {
                float row_sum = 0.0f;
                const std::size_t row = i * width;
                for (std::size_t j = 0; j < width; ++j) {
                    row_sum += image[row + j];
                    table[row + j] = row_sum;
                }
            }
            return true;
        },
        rows);
    parallel_for(
        worker_pool(),
        [&](const ThreadWorkData& w) {
            const auto first = static_cast<std::size_t>(w.begin);
            const auto end = static_cast<std::size_t>(w.end);
            for (std::size_t i = 1; i < height; ++i) {
                float* row = table.data() + i * width;
                const float* above = row - width;
                for (std::size_t j = first; j < end; ++j) {
                    row[j] = row[j] + above[j];
                }
            }
            return true;
        },
        static_cast<std::int32_t>(width));
}

// Where a lookup falls along one axis of the table: the whole cell and the fraction past it.
struct SatStep {
    std::int32_t cell;
    float fraction;
};

SatStep sat_step(float v) noexcept
{
    const float f = std::floor(v);
    return {static_cast<std::int32_t>(f), v - f};
}

// A table row as lookups read it: none above the table (all zero), the last row below it.
const float* sat_row(std::span<const float> table, std::int32_t width, std::int32_t height, std::int32_t r) noexcept
{
    if (r < 0) {
        return nullptr;
    }
    return table.data() + static_cast<std::size_t>(std::min(r, height - 1)) * static_cast<std::size_t>(width);
}

float sat_cell(const float* row, std::int32_t width, std::int32_t c) noexcept
{
    if (row == nullptr || c < 0) {
        return 0.0f;
    }
    return row[std::min(c, width - 1)];
}

// The bilinear blend of the four table cells around (x, y), given the rows of y's whole cell and
// the next, and y's fraction.
float sat_blend(const float* top, const float* bottom, float ty, std::int32_t width, SatStep x) noexcept
{
    const float tx = x.fraction;
    const auto v = [&](const float* row, std::int32_t c) { return sat_cell(row, width, c); };
    return simd::bilinear_blend(tx, ty, v(top, x.cell), v(top, x.cell + 1), v(bottom, x.cell), v(bottom, x.cell + 1));
}

// Both lookup rows of one y.
struct SatRows {
    const float* top;
    const float* bottom;
    float ty;
};

SatRows sat_rows(std::span<const float> table, std::int32_t width, std::int32_t height, float y) noexcept
{
    const SatStep step = sat_step(y);
    return {sat_row(table, width, height, step.cell), sat_row(table, width, height, step.cell + 1), step.fraction};
}

// The lookup steps of a row's columns, which every row shares.
struct ColumnSteps {
    std::vector<SatStep> right;
    std::vector<SatStep> left;
    std::vector<float> widths;  // the box's width at each column, clipped to the rectangle
};

// The box sum of one pixel from its four lookups, each a bilinear blend of table cells.
float box_sum(const SatRows& lower, const SatRows& upper, std::int32_t width, SatStep right, SatStep left) noexcept
{
    return sat_blend(lower.top, lower.bottom, lower.ty, width, right) +
           sat_blend(upper.top, upper.bottom, upper.ty, width, left) -
           sat_blend(lower.top, lower.bottom, lower.ty, width, left) -
           sat_blend(upper.top, upper.bottom, upper.ty, width, right);
}

// Whether the four columns from j on read the table at four consecutive cells and their right
// neighbours, all inside the table, so that plain loads replace the clamped reads.
bool consecutive_inside(std::span<const SatStep> steps, std::size_t j, std::int32_t width) noexcept
{
    const std::int32_t first = steps[j].cell;
    return first >= 0 && first + 4 < width && steps[j + 1].cell == first + 1 && steps[j + 2].cell == first + 2 &&
           steps[j + 3].cell == first + 3;
}

// sat_blend of four columns at consecutive inside cells; a missing row (above the table) reads 0
// as one at a time.
__m128 sat_blend4(const float* top, const float* bottom, __m128 ty, __m128 tx, std::int32_t cell) noexcept
{
    const auto cells = [cell](const float* row, std::int32_t step) {
        return row == nullptr ? _mm_setzero_ps() : _mm_loadu_ps(row + cell + step);
    };
    return simd::bilinear_blend<simd::F32x4>(tx, ty, cells(top, 0), cells(top, 1), cells(bottom, 0), cells(bottom, 1));
}

__m128 fractions4(std::span<const SatStep> steps, std::size_t j) noexcept
{
    return _mm_setr_ps(steps[j].fraction, steps[j + 1].fraction, steps[j + 2].fraction, steps[j + 3].fraction);
}

// One output row: every pixel's box average, capped to [0, 1].
void box_row(const SatRows& lower, const SatRows& upper, float rows, std::int32_t width, const ColumnSteps& steps,
             std::span<float> out) noexcept
{
    const auto one_pixel = [&](std::size_t k) {
        const float sum = box_sum(lower, upper, width, steps.right[k], steps.left[k]);
        out[k] = std::min((sum > 0.0f ? sum : 0.0f) / (steps.widths[k] * rows), 1.0f);
    };
    std::size_t j = 0;
    const __m128 lower_ty = _mm_set1_ps(lower.ty);
    const __m128 upper_ty = _mm_set1_ps(upper.ty);
    for (; j + 4 <= out.size(); j += 4) {
        if (!consecutive_inside(steps.right, j, width) || !consecutive_inside(steps.left, j, width)) {
            for (std::size_t k = j; k < j + 4; ++k) {
                one_pixel(k);
            }
            continue;
        }
        const __m128 right_tx = fractions4(steps.right, j);
        const __m128 left_tx = fractions4(steps.left, j);
        const std::int32_t right = steps.right[j].cell;
        const std::int32_t left = steps.left[j].cell;
        const __m128 sum =
            _mm_sub_ps(_mm_sub_ps(_mm_add_ps(sat_blend4(lower.top, lower.bottom, lower_ty, right_tx, right),
                                             sat_blend4(upper.top, upper.bottom, upper_ty, left_tx, left)),
                                  sat_blend4(lower.top, lower.bottom, lower_ty, left_tx, left)),
                       sat_blend4(upper.top, upper.bottom, upper_ty, right_tx, right));
        const __m128 area = _mm_mul_ps(_mm_loadu_ps(steps.widths.data() + j), _mm_set1_ps(rows));
        const __m128 average = _mm_div_ps(_mm_and_ps(_mm_cmpgt_ps(sum, _mm_setzero_ps()), sum), area);
        // min(1, average) keeps NaN as std::min(average, 1) does.
        _mm_storeu_ps(out.data() + j, _mm_min_ps(_mm_set1_ps(1.0f), average));
    }
    for (; j < out.size(); ++j) {
        one_pixel(j);
    }
}

}  // namespace

float sat_lookup(std::span<const float> table, std::int32_t width, std::int32_t height, float x, float y) noexcept
{
    const SatRows rows = sat_rows(table, width, height, y);
    return sat_blend(rows.top, rows.bottom, rows.ty, width, sat_step(x));
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
    // The lookups' columns and the box's width at each column are the same for every row.
    const auto uw = static_cast<std::size_t>(w);
    ColumnSteps steps{std::vector<SatStep>(uw), std::vector<SatStep>(uw), std::vector<float>(uw)};
    for (std::int32_t j = 0; j < w; ++j) {
        const float cx = static_cast<float>(j) - 0.5f;
        const auto at = static_cast<std::size_t>(j);
        steps.right[at] = sat_step(cx + hx);
        steps.left[at] = sat_step(cx - hx);
        steps.widths[at] = std::min(fw, cx + 1.0f + hx) - std::max(cx + 1.0f - hx, 0.0f);
    }
    for (std::int32_t i = record.begin; i < record.end; ++i) {
        const float cy = static_cast<float>(i) - 0.5f;
        const float rows = std::min(fh, cy + 1.0f + hy) - std::max(cy + 1.0f - hy, 0.0f);
        box_row(sat_rows(table, w, h, cy + hy), sat_rows(table, w, h, cy - hy), rows, w, steps,
                {record.image + static_cast<std::ptrdiff_t>(i) * w, uw});
    }
    return true;
}

void fit_box_blur_scratch(BoxBlurScratch& scratch, std::uint64_t frame_cells)
{
    if (frame_cells == scratch.frame_cells) {
        return;
    }
    // Release the old cells before taking the new ones.
    scratch = BoxBlurScratch();
    if (frame_cells > std::numeric_limits<std::size_t>::max()) {
        throw std::bad_alloc();
    }
    scratch.image.hold_at_least(static_cast<std::size_t>(frame_cells));
    scratch.table.hold_at_least(static_cast<std::size_t>(frame_cells));
    scratch.frame_cells = frame_cells;
}

void box_blur_sat(PlaneView destination, ConstPlaneView source, CoreRect rect, float horizontal_size,
                  float vertical_size)
{
    BoxBlurScratch scratch;
    box_blur_sat(destination, source, rect, horizontal_size, vertical_size, scratch);
}

void box_blur_sat(PlaneView destination, ConstPlaneView source, CoreRect rect, float horizontal_size,
                  float vertical_size, BoxBlurScratch& scratch)
{
    rect = inside_both(rect, destination, source);
    const std::int32_t w = rect.x1 - rect.x0;
    const std::int32_t h = rect.y1 - rect.y0;
    if (w < 1 || h < 1 || destination.data == nullptr || source.data == nullptr) {
        return;
    }
    const auto uw = static_cast<std::size_t>(w);
    const std::size_t count = uw * static_cast<std::size_t>(h);
    // Both are written in full before they are read: the image by the copy, the table by its build.
    scratch.image.hold_at_least(count);
    scratch.table.hold_at_least(count);
    const std::span<float> p = scratch.image.values().first(count);
    const std::span<float> table = scratch.table.values().first(count);
    parallel_for(
        worker_pool(),
        [&](const ThreadWorkData& work) {
            for (std::int32_t i = work.begin; i < work.end; ++i) {
                const std::span<const float> from =
                    source.row(rect.y0 + i).subspan(static_cast<std::size_t>(rect.x0), uw);
                std::copy(from.begin(), from.end(), p.begin() + static_cast<std::ptrdiff_t>(i) * w);
            }
            return true;
        },
        h);
    const BoxJobRecord prototype{
        0, 0, 0, p.data(), table.data(), w, h, usable_size(horizontal_size, w), usable_size(vertical_size, h)};
    for (int pass = 0; pass < 2; ++pass) {
        build_summed_area(p, table, uw, static_cast<std::size_t>(h));
        run_function_job(worker_pool(), box_blur_sat_job, prototype, h);
    }
    parallel_for(
        worker_pool(),
        [&](const ThreadWorkData& work) {
            for (std::int32_t i = work.begin; i < work.end; ++i) {
                const std::span<float> to = destination.row(rect.y0 + i).subspan(static_cast<std::size_t>(rect.x0), uw);
                const auto from = p.subspan(static_cast<std::size_t>(i) * uw, uw);
                std::copy(from.begin(), from.end(), to.begin());
            }
            return true;
        },
        h);
}

}  // namespace kyrox
