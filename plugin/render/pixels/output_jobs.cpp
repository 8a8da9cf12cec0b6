#include "plugin/render/pixels/output_jobs.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <type_traits>

#include "plugin/platform/simd/lanes.h"
#include "plugin/platform/simd/simd_path.h"
#include "plugin/render/pixels/output_jobs_kernels.h"
#include "plugin/render/pixels/layer_matte.h"
#include "plugin/render/geometry/output_range.h"
#include "plugin/render/pixels/color_ramp.h"
#include "plugin/render/pixels/pixel_depth.h"

namespace kyrox {

namespace {

bool is_mode(const SceneRecord& scene, CompositeMode mode) noexcept
{
    return scene.composite_mode == mode;
}

// The composite of colorize_job: the colour as it is.
struct KeepColor {
    Color4 operator()(const Color4& c) const noexcept { return c; }
};

// The wide path of a row: writes pixels from plane column first on and returns how many it wrote
// (none by default).
struct NoWideRow {
    template <class Channel>
    std::size_t operator()(std::int32_t, std::int32_t, std::span<Pixel<Channel>>) const noexcept
    {
        return 0;
    }
};

// ramp_color, grade_color without gamma and the 8-bit store of one pixel with its four lanes in one
// register, lane by lane the same operations in the same order.
void store_ramp_pixel8(std::span<const RampEntry> ramp, float v, float saturation, Pixel<std::uint8_t>& pixel) noexcept
{
    const RampPosition at = ramp_position(ramp, v);
    const __m128 zero = _mm_setzero_ps();
    __m128 c =
        ramp_blend<simd::F32x4>(at.t, _mm_load_ps(ramp[at.i0].lanes.data()), _mm_load_ps(ramp[at.i1].lanes.data()));
    if (saturation < 1.0f || saturation > 1.0f) {
        alignas(16) float lanes[4];
        _mm_store_ps(lanes, c);
        const float grey = grey_of(lanes[lane_red], lanes[lane_green], lanes[lane_blue]);
        const __m128 graded = saturated<simd::F32x4>(grey, c, saturation);
        const __m128 alpha = _mm_castsi128_ps(_mm_setr_epi32(-1, 0, 0, 0));
        c = simd::select(alpha, c, graded);
    }
    // 255 x c truncated; NaN and values not above 0 give 0, values of 255 or more 255.
    const __m128 scaled = _mm_mul_ps(_mm_set1_ps(255.0f), c);
    const __m128i whole = _mm_and_si128(_mm_cvttps_epi32(scaled), _mm_castps_si128(_mm_cmpgt_ps(scaled, zero)));
    const __m128i full = _mm_castps_si128(_mm_cmpge_ps(scaled, _mm_set1_ps(255.0f)));
    const __m128i channels = _mm_or_si128(_mm_and_si128(full, _mm_set1_epi32(255)), _mm_andnot_si128(full, whole));
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(channels, channels), channels);
    const auto packed = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
    std::memcpy(&pixel, &packed, sizeof(packed));
}

// The shared loop of both jobs: intensity(i, j) per cell (plane cell (i, j) is output pixel (i, j)),
// then ramp, grading, composite and store. Add mode composites over the input pixel; other modes store
// composite(c). In the 8-bit case without Add and gamma, wide(i, j, pixels from j on) may write a
// row's first pixels itself.
template <class Channel, class Intensity, class Composite, class Wide = NoWideRow>
void write_rows(const ThreadWorkData& work, const FrameTarget& target, std::initializer_list<const FloatPlane*> planes,
                const SceneRecord& scene, const ColorRamp& ramp, Intensity intensity, Composite composite,
                Wide wide = {})
{
    const WorldView& output = target.output_view;
    if (ramp.empty() || !has_pixels(output)) {
        return;
    }
    std::int32_t width = (*planes.begin())->width();
    std::int32_t height = (*planes.begin())->height();
    for (const FloatPlane* plane : planes) {
        width = std::min(width, plane->width());
        height = std::min(height, plane->height());
    }
    const WorldView& input = target.input_view;
    const IndexRange rows = output_range(std::max(work.begin, 0), std::min(work.end, height), output.height);
    const IndexRange columns = output_range(0, width, output.width);
    const bool add = is_mode(scene, CompositeMode::add);
    // Locals, not references: the pixel stores may alias anything the compiler cannot see is local,
    // and would make it reload these for every pixel.
    const std::span<const RampEntry> entries(ramp);
    const float saturation = scene.saturation;
    const float gamma = scene.gamma;
    for (std::int32_t i = rows.first; i < rows.end; ++i) {
        const std::span<Pixel<Channel>> pixels = pixel_row<Channel>(output, i);
        if constexpr (std::is_same_v<Channel, std::uint8_t> && std::is_same_v<Composite, KeepColor>) {
            if (!add && gamma == 1.0f) {
                const auto first = static_cast<std::size_t>(columns.first);
                const std::size_t done = wide(
                    i, columns.first, pixels.subspan(first, static_cast<std::size_t>(columns.end - columns.first)));
                for (std::int32_t j = columns.first + static_cast<std::int32_t>(done); j < columns.end; ++j) {
                    store_ramp_pixel8(entries, intensity(i, j), saturation, pixels[static_cast<std::size_t>(j)]);
                }
                continue;
            }
        }
        for (std::int32_t j = columns.first; j < columns.end; ++j) {
            Color4 c = grade_color(ramp_color(entries, intensity(i, j)), saturation, gamma);
            if (add) {
                const Color4 p = holds_pixel(input, i, j)
                                     ? to_color(pixel_row<Channel>(input, i)[static_cast<std::size_t>(j)])
                                     : Color4{};
                c = add_over(p, c);
            } else {
                c = composite(c);
            }
            pixels[static_cast<std::size_t>(j)] = to_pixel<Channel>(c);
        }
    }
}

// A plane's cells by value, so that reading one needs no reload of the plane's view.
class Cells {
public:
    explicit Cells(const FloatPlane& plane) noexcept : data_(plane.view().data), stride_(plane.view().stride) {}
    float operator()(std::int32_t i, std::int32_t j) const noexcept
    {
        return data_[static_cast<std::ptrdiff_t>(i) * stride_ + j];
    }

private:
    const float* data_;
    std::ptrdiff_t stride_;
};

}  // namespace

template <class Channel>
bool colorize_job(const ThreadWorkData& work, const FrameTarget& target, const FloatPlane& source,
                  const ColorizePlanes& planes, const SceneRecord& scene, const DistortionSettings& core_distortion,
                  const ColorRamp& ramp)
{
    const bool core_distorted = core_distortion.distortion_amount > 0.0f;
    const FloatPlane& halo = core_distorted ? planes.distorted_halo : planes.halo;
    const bool core_on_top = core_distorted && scene.blend_on_top;
    const bool mask_glow = scene.mask_glow;
    const bool invert_masks = scene.invert_masks;
    const float b = scene.brightness;
    const Cells glow(planes.glow);
    const Cells halo_cells(halo);
    const Cells core(planes.core);
    const auto intensity = [=, &target, &scene](std::int32_t i, std::int32_t j) {
        float f = glow(i, j);
        if (mask_glow) {
            const float m = layer_matte<Channel>(target.input_view, scene.text_view, i, j);
            f *= invert_masks ? 1.0f - m : m;
        }
        return screened_intensity(f, halo_cells(i, j), core_on_top ? core(i, j) : 0.0f, b, core_on_top);
    };
    const std::initializer_list<const FloatPlane*> read = {&source, &planes.glow, &planes.halo, &planes.distorted_halo,
                                                           &planes.core};
    if constexpr (std::is_same_v<Channel, std::uint8_t>) {
        if (!mask_glow) {
            const std::span<const RampEntry> entries(ramp);
            const float saturation = scene.saturation;
            const bool avx2 = simd::widest_path() >= simd::SimdPath::avx2;
            const auto wide = [&](std::int32_t i, std::int32_t j, std::span<Pixel<Channel>> pixels) -> std::size_t {
                if (!avx2) {
                    return 0;
                }
                const auto cells = [&](const FloatPlane& plane) {
                    return plane.row(i).subspan(static_cast<std::size_t>(j));
                };
                return colorize_row_avx2({cells(planes.glow), cells(halo), cells(planes.core), b, core_on_top}, entries,
                                         saturation, pixels);
            };
            write_rows<Channel>(work, target, read, scene, ramp, intensity, KeepColor{}, wide);
            return true;
        }
    }
    write_rows<Channel>(work, target, read, scene, ramp, intensity, KeepColor{});
    return true;
}

template <class Channel>
bool write_output_job(const ThreadWorkData& work, const FrameTarget& target, const FloatPlane& source,
                      const FloatPlane& core, const SceneRecord& scene, const ColorRamp& ramp)
{
    const float brightness = scene.brightness;
    const Cells core_cells(core);
    const auto intensity = [=](std::int32_t i, std::int32_t j) { return brightness * core_cells(i, j); };
    const CompositeMode mode = scene.composite_mode;
    const auto composite = [mode](const Color4& c) -> Color4 {
        if (mode == CompositeMode::transparent) {
            return {c[lane_alpha], 1.0f, 1.0f, 1.0f};
        }
        if (mode == CompositeMode::black) {
            return {1.0f, c[lane_red], c[lane_green], c[lane_blue]};
        }
        return c;
    };
    write_rows<Channel>(work, target, {&source, &core}, scene, ramp, intensity, composite);
    return true;
}

template bool colorize_job<std::uint8_t>(const ThreadWorkData&, const FrameTarget&, const FloatPlane&,
                                         const ColorizePlanes&, const SceneRecord&, const DistortionSettings&,
                                         const ColorRamp&);
template bool colorize_job<std::uint16_t>(const ThreadWorkData&, const FrameTarget&, const FloatPlane&,
                                          const ColorizePlanes&, const SceneRecord&, const DistortionSettings&,
                                          const ColorRamp&);
template bool colorize_job<float>(const ThreadWorkData&, const FrameTarget&, const FloatPlane&, const ColorizePlanes&,
                                  const SceneRecord&, const DistortionSettings&, const ColorRamp&);
template bool write_output_job<std::uint8_t>(const ThreadWorkData&, const FrameTarget&, const FloatPlane&,
                                             const FloatPlane&, const SceneRecord&, const ColorRamp&);
template bool write_output_job<std::uint16_t>(const ThreadWorkData&, const FrameTarget&, const FloatPlane&,
                                              const FloatPlane&, const SceneRecord&, const ColorRamp&);
template bool write_output_job<float>(const ThreadWorkData&, const FrameTarget&, const FloatPlane&, const FloatPlane&,
                                      const SceneRecord&, const ColorRamp&);

}  // namespace kyrox
