#pragma once

#include <cstdint>
#include <span>

namespace kyrox {

// One pixel row of the two coverage planes: the glow source receives coverage times intensity
// (never below 0, NaN included), the core plane the plain coverage.
struct CoverageRow {
    std::span<float> glow_source;
    std::span<float> core;
    float intensity = 1.0f;

    void add(std::int32_t pixel, float a) const noexcept
    {
        const float glow = glow_source[static_cast<std::size_t>(pixel)] + a * intensity;
        glow_source[static_cast<std::size_t>(pixel)] = glow > 0.0f ? glow : 0.0f;
        core[static_cast<std::size_t>(pixel)] += a;
    }
};

// Adds coverage a to every pixel of [first, end) of the row, four pixels per step.
void accumulate_span(const CoverageRow& row, std::int32_t first, std::int32_t end, float a) noexcept;

// Sub-sample geometry of one span: S sub-samples per pixel, a row S x width sub-columns wide;
// one sub-sample of one sub-row weighs sample_weight, a whole pixel of one sub-row row_weight.
struct SpanScale {
    std::int32_t sub_samples = 16;
    std::int32_t row_end = 0;  // S x width
    float sample_weight = 0.00390625f;
    float row_weight = 0.0625f;
};

enum class SpanResult : std::uint8_t { next, stop };

// Adds the span [left, right) of rounded sub-columns, counted rows times (merged sub-rows), into the
// row. A span is at least one sub-sample wide and is cut to the row: one wholly right of it stops
// the list (returns stop), one wholly left of it is skipped, and the right end stays one sub-sample
// short of the row's end.
SpanResult add_span(const CoverageRow& row, const SpanScale& scale, std::int32_t left, std::int32_t right,
                    std::int32_t rows) noexcept;

}  // namespace kyrox
