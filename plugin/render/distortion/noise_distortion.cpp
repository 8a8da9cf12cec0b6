#include "plugin/render/distortion/noise_distortion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "plugin/platform/simd/simd_path.h"
#include "plugin/render/distortion/bilinear_sample.h"
#include "plugin/render/distortion/noise_distortion_kernels.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/seeded_random.h"
#include "plugin/render/worker_pool.h"

namespace kyrox {

namespace {

constexpr float quarter_turn = 1.5707964f;
constexpr int smear_samples = 6;
constexpr std::size_t displace_block = 64;

// Not 0 and not NaN.
bool is_set(float v)
{
    return v > 0.0f || v < 0.0f;
}

// Three draws r1, r2, r3 in [-500, 500), stored as (r3, r2, r1).
NoisePoint offset_point(std::minstd_rand& generator)
{
    float r[3];
    for (float& v : r) {
        v = 1000.0f * canonical_draw(generator) - 500.0f;
    }
    return {r[2], r[1], r[0], 0.0f};
}

}  // namespace

DistortionSetup distortion_setup(const DistortionSettings& settings, float downsample_x, float time)
{
    DistortionSetup setup;
    setup.z = settings.noise_speed * time;
    const float angle = settings.wind_direction + quarter_turn;
    setup.wind_cos = std::cos(angle);
    setup.wind_sin = std::sin(angle);
    const float g = 1.0f / settings.noise_scale;
    const float h = time * settings.wind_speed * g * 100.0f;
    setup.drift = {setup.wind_cos * h, setup.wind_sin * h};
    if (settings.lock_to_blade) {
        setup.drift.x -= g * settings.noise_origin[0];
        setup.drift.y -= g * settings.noise_origin[1];
    }
    setup.amount = settings.distortion_amount;
    if (settings.distortion_composite == DistortionComposite::multiply) {
        setup.amount *= downsample_x;
    }
    std::minstd_rand generator = seeded_generator(settings.distortion_seed);
    setup.offset_a = offset_point(generator);
    setup.offset_b = offset_point(generator);
    setup.samples = is_set(settings.wind_speed) && is_set(settings.distortion_motion_blur) ? smear_samples : 1;
    return setup;
}

NoiseView noise_plane_view(std::int32_t width, std::int32_t height)
{
    NoiseView noise;
    noise.width = std::max(width / 2, 1);
    noise.height = std::max(height / 2, 1);
    noise.stride = noise.width;
    return noise;
}

DistortionNoise::DistortionNoise(const DistortionSettings& settings)
    : type_(settings.distortion_type), octaves_(settings.noise_complexity)
{
    if (type_ == DistortionType::smoke) {
        return;
    }
    module_.seed = settings.distortion_seed;
    module_.octaves = settings.noise_complexity;
    // The module attaches a ridged element.
    ridged_ = &static_cast<const noisepp::RidgedMultiElement3D&>(pipeline_.element(module_.attach(pipeline_)));
    cache_x_ = pipeline_.pipeline_alloc_cache();
    cache_y_ = pipeline_.pipeline_alloc_cache();
}

float DistortionNoise::ridged(const NoisePoint& p, std::vector<noisepp::PipelineCacheRecord>& cache) const
{
    return ridged_->value(p.x, p.y, p.z, cache.data());
}

NoiseCell DistortionNoise::at(const NoisePoint& p1, const NoisePoint& p2)
{
    if (type_ == DistortionType::smoke) {
        return {fractal_noise2(p1, octaves_), fractal_noise2(p2, octaves_)};
    }
    if (type_ == DistortionType::fluid) {
        const float warp_x = fractal_noise2(p1, octaves_);
        const float warp_y = fractal_noise2(p2, octaves_);
        return {ridged({p1.x + warp_x, p1.y + warp_y, p1.z, 0.0f}, cache_x_),
                ridged({p2.x + warp_x, p2.y + warp_y, p2.z, 0.0f}, cache_y_)};
    }
    return {ridged(p1, cache_x_), ridged(p2, cache_y_)};
}

template <std::size_t N>
std::array<float, N> DistortionNoise::ridged_lanes(const std::array<NoisePoint, N>& p,
                                                   std::vector<noisepp::PipelineCacheRecord>& cache) const
{
    std::array<float, N> x{};
    std::array<float, N> y{};
    std::array<float, N> z{};
    for (std::size_t l = 0; l < N; ++l) {
        x[l] = p[l].x;
        y[l] = p[l].y;
        z[l] = p[l].z;
    }
    std::array<float, N> values{};
    if (ridged_->values(x, y, z, values)) {
        return values;
    }
    for (std::size_t l = 0; l < N; ++l) {
        values[l] = ridged(p[l], cache);
    }
    return values;
}

template <std::size_t N>
std::array<NoiseCell, N> DistortionNoise::at(const std::array<NoisePoint, N>& p1, const std::array<NoisePoint, N>& p2)
{
    std::array<NoiseCell, N> cells{};
    std::array<float, N> first{};
    std::array<float, N> second{};
    if (type_ == DistortionType::smoke || type_ == DistortionType::fluid) {
        if (!fractal_noise2_lanes(p1, octaves_, first) || !fractal_noise2_lanes(p2, octaves_, second)) {
            for (std::size_t l = 0; l < N; ++l) {
                cells[l] = at(p1[l], p2[l]);
            }
            return cells;
        }
    }
    if (type_ == DistortionType::smoke) {
        for (std::size_t l = 0; l < N; ++l) {
            cells[l] = {first[l], second[l]};
        }
        return cells;
    }
    // Fluid warps the ridged noise's points by the fractal sums; Energy reads it where it is.
    std::array<NoisePoint, N> q1 = p1;
    std::array<NoisePoint, N> q2 = p2;
    if (type_ == DistortionType::fluid) {
        for (std::size_t l = 0; l < N; ++l) {
            q1[l] = {p1[l].x + first[l], p1[l].y + second[l], p1[l].z, 0.0f};
            q2[l] = {p2[l].x + first[l], p2[l].y + second[l], p2[l].z, 0.0f};
        }
    }
    const std::array<float, N> x = ridged_lanes(q1, cache_x_);
    const std::array<float, N> y = ridged_lanes(q2, cache_y_);
    for (std::size_t l = 0; l < N; ++l) {
        cells[l] = {x[l], y[l]};
    }
    return cells;
}

template std::array<NoiseCell, 4> DistortionNoise::at(const std::array<NoisePoint, 4>&,
                                                      const std::array<NoisePoint, 4>&);
template std::array<NoiseCell, 8> DistortionNoise::at(const std::array<NoisePoint, 8>&,
                                                      const std::array<NoisePoint, 8>&);
template std::array<NoiseCell, 16> DistortionNoise::at(const std::array<NoisePoint, 16>&,
                                                       const std::array<NoisePoint, 16>&);

float shape_noise_channel(float v, float bias, bool invert)
{
    if (bias != 1.0f && !std::isnan(bias)) {
        const float bent = std::pow(std::fabs(v), bias);
        v = v >= 0.0f ? bent : -bent;
    }
    return invert ? -v : v;
}

bool noise_field_job(const NoiseFieldTask& task, const ThreadWorkData& work)
{
    const DistortionSettings& s = task.settings;
    const DistortionSetup& setup = task.setup;
    DistortionNoise noise(s);
    const auto point_pair = [&](std::int32_t i, std::int32_t j) {
        // 2j and 2i: the noise cell's position in full-resolution pixels.
        float x = static_cast<float>(2 * j) / s.noise_scale + setup.drift.x;
        float y = static_cast<float>(2 * i) / s.noise_scale + setup.drift.y;
        if (s.lock_to_blade) {
            const float turned_x = setup.wind_sin * x - setup.wind_cos * y;
            y = setup.wind_cos * x + setup.wind_sin * y;
            x = turned_x;
        }
        x *= s.noise_aspect_ratio;
        return std::array<NoisePoint, 2>{
            NoisePoint{x + setup.offset_a.x, y + setup.offset_a.y, setup.z + setup.offset_a.z, 0.0f},
            NoisePoint{x + setup.offset_b.x, y + setup.offset_b.y, setup.z + setup.offset_b.z, 0.0f}};
    };
    const auto shaped = [&](const NoiseCell& raw) {
        return NoiseCell{shape_noise_channel(raw.x, s.noise_bias, s.invert_distortion),
                         shape_noise_channel(raw.y, s.noise_bias, s.invert_distortion)};
    };
    // The cells of row i from column j on, N at a time while N fit; returns the first column left.
    const auto lanes = [&]<std::size_t N>(std::int32_t i, std::int32_t j, NoiseCell* cells) {
        for (; j + static_cast<std::int32_t>(N) <= task.noise.width; j += static_cast<std::int32_t>(N)) {
            std::array<NoisePoint, N> p1{};
            std::array<NoisePoint, N> p2{};
            for (std::size_t l = 0; l < N; ++l) {
                const std::array<NoisePoint, 2> p = point_pair(i, j + static_cast<std::int32_t>(l));
                p1[l] = p[0];
                p2[l] = p[1];
            }
            const std::array<NoiseCell, N> raw = noise.at(p1, p2);
            for (std::size_t l = 0; l < N; ++l) {
                cells[static_cast<std::size_t>(j) + l] = shaped(raw[l]);
            }
        }
        return j;
    };
    const simd::SimdPath path = simd::widest_path();
    for (std::int32_t i = work.begin; i < work.end; ++i) {
        NoiseCell* cells = task.noise.row(i).data();
        std::int32_t j = 0;
        if (path >= simd::SimdPath::avx512) {
            j = lanes.template operator()<16>(i, j, cells);
        }
        if (path >= simd::SimdPath::avx2) {
            j = lanes.template operator()<8>(i, j, cells);
        }
        j = lanes.template operator()<4>(i, j, cells);
        for (; j < task.noise.width; ++j) {
            const std::array<NoisePoint, 2> p = point_pair(i, j);
            cells[j] = shaped(noise.at(p[0], p[1]));
        }
    }
    return true;
}

namespace {

using BlockValues = std::array<float, displace_block>;

// The noise of count pixels from column first on, one sample: pixel j reads the noise rows at
// (along + j) x 0.5.
void noise_reads(const BilinearRows<2>& rows, std::int32_t width, float along, std::size_t first, std::size_t count,
                 BlockValues& nx, BlockValues& ny)
{
    std::size_t b = 0;
    const __m128 lanes = _mm_setr_ps(0.0f, 1.0f, 2.0f, 3.0f);
    for (; b + 4 <= count; b += 4) {
        // Columns are below 2^24, so their floats are exact, as one at a time.
        const __m128 fj = _mm_add_ps(_mm_set1_ps(static_cast<float>(first + b)), lanes);
        const __m128 x = _mm_mul_ps(_mm_add_ps(_mm_set1_ps(along), fj), _mm_set1_ps(0.5f));
        if (!simd::safe_positions(x)) {
            break;
        }
        __m128 first_channel;
        __m128 second_channel;
        simd::bilinear4_along(rows, width, x, first_channel, second_channel);
        _mm_storeu_ps(nx.data() + b, first_channel);
        _mm_storeu_ps(ny.data() + b, second_channel);
    }
    for (; b < count; ++b) {
        const float fj = static_cast<float>(first + b);
        const std::array<float, 2> n = bilinear_at(rows, width, (along + fj) * 0.5f);
        nx[b] = n[0];
        ny[b] = n[1];
    }
}

// Adds the source plane's value at (x[b], y[b]) to sum[b] for the block's count pixels.
void source_reads(ConstPlaneView source, std::size_t count, const BlockValues& x, const BlockValues& y,
                  BlockValues& sum)
{
    std::size_t b = 0;
    for (; b + 4 <= count; b += 4) {
        const __m128 x4 = _mm_loadu_ps(x.data() + b);
        const __m128 y4 = _mm_loadu_ps(y.data() + b);
        if (simd::safe_positions(x4) && simd::safe_positions(y4)) {
            _mm_storeu_ps(sum.data() + b, _mm_add_ps(_mm_loadu_ps(sum.data() + b), simd::bilinear4(source, x4, y4)));
            continue;
        }
        for (std::size_t l = b; l < b + 4; ++l) {
            sum[l] += sample_bilinear1(source, x[l], y[l]);
        }
    }
    for (; b < count; ++b) {
        sum[b] += sample_bilinear1(source, x[b], y[b]);
    }
}

}  // namespace

bool noise_displace_job(const NoiseDisplaceTask& task, const ThreadWorkData& work)
{
    const DistortionSettings& s = task.settings;
    const DistortionSetup& setup = task.setup;
    const bool displace = s.distortion_composite == DistortionComposite::displace;
    const auto samples = static_cast<std::size_t>(setup.samples);
    const simd::SimdPath path = simd::widest_path();
    // How far along the wind each sample reads the noise, and that along x; the same for every pixel.
    std::array<float, smear_samples> smear{};
    std::array<float, smear_samples> along{};
    for (std::size_t k = 0; k < samples; ++k) {
        smear[k] = s.distortion_motion_blur * s.wind_speed * static_cast<float>(k) * 3.0f;
        along[k] = smear[k] * setup.wind_cos;
    }
    std::array<BilinearRows<2>, smear_samples> noise_rows{};
    for (std::int32_t i = work.begin; i < work.end; ++i) {
        const std::span<const float> source = task.source.row(i);
        const std::span<float> out = task.scratch.row(i);
        const float fi = static_cast<float>(i);
        // Each sample's noise position along y is constant over the row.
        for (std::size_t k = 0; k < samples; ++k) {
            noise_rows[k] = bilinear_rows(task.noise, (smear[k] * setup.wind_sin + fi) * 0.5f);
        }
        const DisplaceRow row{std::span(noise_rows).first(samples),
                              std::span(along).first(samples),
                              task.noise.width,
                              task.source,
                              source,
                              fi,
                              setup.amount,
                              displace};
        // A block's samples are taken sample by sample, so the reads of the source plane (which wait
        // on the noise) of many pixels are in flight at once; each pixel still sums in sample order.
        for (std::size_t block_start = 0; block_start < out.size(); block_start += displace_block) {
            const std::size_t block_count = std::min(displace_block, out.size() - block_start);
            // The wide paths take whole groups of sixteen, then of eight; the rest of the block goes below.
            std::size_t done = path >= simd::SimdPath::avx512 ? displace_avx512(row, block_start, block_count, out) : 0;
            if (path >= simd::SimdPath::avx2) {
                done += displace_avx2(row, block_start + done, block_count - done, out);
            }
            const std::size_t block = block_start + done;
            const std::size_t count = block_count - done;
            BlockValues sum{};
            BlockValues nx{};
            BlockValues ny{};
            for (std::size_t k = 0; k < samples && count > 0; ++k) {
                noise_reads(noise_rows[k], task.noise.width, along[k], block, count, nx, ny);
                if (displace) {
                    // The reads' positions, over nx and ny.
                    for (std::size_t b = 0; b < count; ++b) {
                        nx[b] = setup.amount * nx[b] + static_cast<float>(block + b);
                        ny[b] = setup.amount * ny[b] + fi;
                    }
                    source_reads(task.source, count, nx, ny, sum);
                    continue;
                }
                for (std::size_t b = 0; b < count; ++b) {
                    const float t = source[block + b] >= 1.0f ? 1.0f : source[block + b];
                    const float q = multiply_factor(nx[b], ny[b], setup.amount);
                    sum[b] += t * (q > 0.0f ? q : 0.0f);
                }
            }
            for (std::size_t b = 0; b < count; ++b) {
                out[block + b] = displaced_pixel(sum[b], static_cast<float>(setup.samples));
            }
        }
    }
    return true;
}

void apply_noise_distortion(ConstPlaneView source, PlaneView destination, const DistortionSettings& settings,
                            float downsample_x, float time)
{
    DistortionBuffers buffers;
    apply_noise_distortion(source, destination, settings, downsample_x, time, buffers);
}

void apply_noise_distortion(ConstPlaneView source, PlaneView destination, const DistortionSettings& settings,
                            float downsample_x, float time, DistortionBuffers& buffers)
{
    const DistortionSetup setup = distortion_setup(settings, downsample_x, time);

    // The field job writes every noise cell and the displace job every scratch cell, so kept
    // buffers need no clearing.
    NoiseView noise = noise_plane_view(destination.width, destination.height);
    buffers.noise.resize(static_cast<std::size_t>(noise.width) * static_cast<std::size_t>(noise.height));
    noise.data = buffers.noise.data();
    const NoiseFieldTask field{settings, setup, noise};
    parallel_blocks(
        worker_pool(), [&field](const ThreadWorkData& work) { return noise_field_job(field, work); }, noise.height);

    // A pass in place reads the source while it writes the scratch plane, and copies it back after;
    // a pass between two planes writes the destination directly.
    const bool in_place = source.data == destination.data;
    if (in_place) {
        fit_plane(buffers.scratch, destination.width, destination.height);
    }
    FloatPlane& scratch = buffers.scratch;
    const NoiseDisplaceTask displace{settings, setup, noise, source, in_place ? scratch.view() : destination};
    parallel_blocks(
        worker_pool(), [&displace](const ThreadWorkData& work) { return noise_displace_job(displace, work); },
        destination.height);
    if (!in_place) {
        return;
    }

    parallel_blocks(
        worker_pool(),
        [&](const ThreadWorkData& work) {
            for (std::int32_t i = work.begin; i < work.end; ++i) {
                std::ranges::copy(scratch.row(i), destination.row(i).begin());
            }
            return true;
        },
        destination.height);
}

}  // namespace kyrox
