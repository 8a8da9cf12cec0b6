#include "plugin/render/coverage/coverage_row.h"

#include <algorithm>

namespace kyrox {

namespace {

// Floor division for a positive divisor.
std::int32_t floor_div(std::int32_t value, std::int32_t divisor) noexcept
{
    const std::int32_t q = value / divisor;
    return (value % divisor != 0 && value < 0) ? q - 1 : q;
}

}  // namespace

void accumulate_span(const CoverageRow& row, std::int32_t first, std::int32_t end, float a) noexcept
{
    const float weighted = a * row.intensity;
    float* glow = row.glow_source.data();
    float* core = row.core.data();
    std::int32_t p = first;
    for (; p + 4 <= end; p += 4) {
        for (std::int32_t q = p; q < p + 4; ++q) {
            const float g = glow[q] + weighted;
            glow[q] = g > 0.0f ? g : 0.0f;
            core[q] += a;
        }
    }
    for (; p < end; ++p) {
        row.add(p, a);
    }
}

SpanResult add_span(const CoverageRow& row, const SpanScale& scale, std::int32_t left, std::int32_t right,
                    std::int32_t rows) noexcept
{
    const std::int32_t s = scale.sub_samples;
    if (right == left) {
        right = left + 1;
    }
    if (left >= scale.row_end) {
        return SpanResult::stop;
    }
    if (right <= 0) {
        return SpanResult::next;
    }
    left = std::max(left, 0);
    if (right >= scale.row_end) {
        right = scale.row_end - 1;
    }
    const float sample = static_cast<float>(rows) * scale.sample_weight;
    const auto add_samples = [&](std::int32_t pixel, std::int32_t count) {
        if (count > 0) {
            row.add(pixel, static_cast<float>(count) * sample);
        }
    };
    const std::int32_t first_pixel = floor_div(left, s);
    const std::int32_t last_start = s * floor_div(right, s);
    const std::int32_t next_start = s * (first_pixel + 1);
    if (last_start <= next_start) {
        add_samples(first_pixel, last_start - left);
        add_samples(last_start / s, right - std::max(left, last_start));
        return SpanResult::next;
    }
    add_samples(first_pixel, next_start - left);
    accumulate_span(row, next_start / s, last_start / s, static_cast<float>(rows) * scale.row_weight);
    add_samples(last_start / s, right - last_start);
    return SpanResult::next;
}

}  // namespace kyrox
