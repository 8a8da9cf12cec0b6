#include "plugin/render/pixels/row_jobs.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "plugin/render/pixels/layer_matte.h"
#include "plugin/render/pixels/pixel_depth.h"

namespace kyrox {

namespace {

// Rows of the range that exist in a buffer of the given height.
std::int32_t first_row(const ThreadWorkData& work) noexcept
{
    return std::max(work.begin, 0);
}

std::int32_t end_row(const ThreadWorkData& work, std::int32_t height) noexcept
{
    return std::min(work.end, height);
}

// The matte factor at one output pixel: the layer's matte, inverted when Invert Masks is on.
template <class Channel>
float matte_factor(const FrameTarget& target, const SceneRecord& scene, std::int32_t row, std::int32_t column) noexcept
{
    const float f = layer_matte<Channel>(target.input_view, scene.text_view, row, column);
    return scene.invert_masks ? 1.0f - f : f;
}

// Multiplies the cells of equal-sized planes by the matte, each factor computed once for all.
template <class Channel>
void apply_matte_rows(const ThreadWorkData& work, const FrameTarget& target, std::span<FloatPlane* const> planes,
                      const SceneRecord& scene)
{
    // Plane cell (i, j) is output pixel (i, j); cells beyond the output are left alone.
    std::int32_t width = target.output_view.width;
    std::int32_t height = target.output_view.height;
    for (const FloatPlane* plane : planes) {
        width = std::min(width, plane->width());
        height = std::min(height, plane->height());
    }
    for (std::int32_t i = first_row(work); i < end_row(work, height); ++i) {
        for (std::int32_t j = 0; j < width; ++j) {
            const float factor = matte_factor<Channel>(target, scene, i, j);
            for (FloatPlane* plane : planes) {
                plane->row(i)[static_cast<std::size_t>(j)] *= factor;
            }
        }
    }
}

}  // namespace

template <class Channel>
bool clear_rows_job(const ThreadWorkData& work, const FrameTarget& target, const SceneRecord& scene)
{
    const Channel a = scene.composite_mode == CompositeMode::transparent ? Channel{0} : PixelDepth<Channel>::full_scale;
    const Pixel<Channel> cleared{a, Channel{0}, Channel{0}, Channel{0}};
    const WorldView& output = target.output_view;
    for (std::int32_t r = first_row(work); r < end_row(work, output.height); ++r) {
        std::ranges::fill(pixel_row<Channel>(output, r), cleared);
    }
    return true;
}

bool copy_rows_job(const ThreadWorkData& work, const FrameTarget& target)
{
    const WorldView& input = target.input_view;
    const WorldView& output = target.output_view;
    const std::size_t pixel_bytes = 4u * target.bytes_per_channel;
    const std::size_t row_length = pixel_bytes * static_cast<std::size_t>(std::max(output.width, 0));
    const std::int32_t input_width = has_pixels(input) ? std::min(input.width, output.width) : 0;
    const std::size_t copied = pixel_bytes * static_cast<std::size_t>(std::max(input_width, 0));
    for (std::int32_t r = first_row(work); r < end_row(work, output.height); ++r) {
        auto* to = static_cast<std::byte*>(output.data) + static_cast<std::int64_t>(r) * output.row_bytes;
        const std::size_t from_input = r < input.height ? copied : 0;
        if (from_input > 0) {
            const auto* from =
                static_cast<const std::byte*>(input.data) + static_cast<std::int64_t>(r) * input.row_bytes;
            std::memcpy(to, from, from_input);
        }
        std::memset(to + from_input, 0, row_length - from_input);
    }
    return true;
}

template <class Channel>
bool apply_matte_job(const ThreadWorkData& work, const FrameTarget& target, FloatPlane& plane, const SceneRecord& scene)
{
    const std::array<FloatPlane*, 1> planes{&plane};
    apply_matte_rows<Channel>(work, target, planes, scene);
    return true;
}

template <class Channel>
bool apply_matte3_job(const ThreadWorkData& work, const FrameTarget& target, FloatPlane& first, FloatPlane& second,
                      FloatPlane& third, const SceneRecord& scene)
{
    const std::array<FloatPlane*, 3> planes{&first, &second, &third};
    apply_matte_rows<Channel>(work, target, planes, scene);
    return true;
}

bool cut_hot_core_job(const ThreadWorkData& work, const CoreRect& rect, const FloatPlane& scratch, FloatPlane& source)
{
    const std::int32_t width = std::min(scratch.width(), source.width());
    const std::int32_t height = std::min(scratch.height(), source.height());
    const std::int32_t x0 = std::max(rect.x0, 0);
    const std::int32_t x1 = std::min(rect.x1, width);
    for (std::int32_t r = work.begin; r < work.end; ++r) {
        const std::int32_t row = rect.y0 + r;
        if (row < 0 || row >= height || row >= rect.y1) {
            continue;
        }
        const std::span<const float> blurred = scratch.row(row);
        const std::span<float> glow = source.row(row);
        for (std::int32_t c = x0; c < x1; ++c) {
            const auto column = static_cast<std::size_t>(c);
            const float above = blurred[column] - 0.9f;
            const float hot = above > 0.0f ? std::min(10.0f * above, 1.0f) : 0.0f;
            const float kept = glow[column] - hot;
            glow[column] = kept > 0.0f ? std::min(kept, 1.0f) : 0.0f;
        }
    }
    return true;
}

template bool clear_rows_job<std::uint8_t>(const ThreadWorkData&, const FrameTarget&, const SceneRecord&);
template bool clear_rows_job<std::uint16_t>(const ThreadWorkData&, const FrameTarget&, const SceneRecord&);
template bool clear_rows_job<float>(const ThreadWorkData&, const FrameTarget&, const SceneRecord&);
template bool apply_matte_job<std::uint8_t>(const ThreadWorkData&, const FrameTarget&, FloatPlane&, const SceneRecord&);
template bool apply_matte_job<std::uint16_t>(const ThreadWorkData&, const FrameTarget&, FloatPlane&,
                                             const SceneRecord&);
template bool apply_matte_job<float>(const ThreadWorkData&, const FrameTarget&, FloatPlane&, const SceneRecord&);
template bool apply_matte3_job<std::uint8_t>(const ThreadWorkData&, const FrameTarget&, FloatPlane&, FloatPlane&,
                                             FloatPlane&, const SceneRecord&);
template bool apply_matte3_job<std::uint16_t>(const ThreadWorkData&, const FrameTarget&, FloatPlane&, FloatPlane&,
                                              FloatPlane&, const SceneRecord&);
template bool apply_matte3_job<float>(const ThreadWorkData&, const FrameTarget&, FloatPlane&, FloatPlane&, FloatPlane&,
                                      const SceneRecord&);

}  // namespace kyrox
