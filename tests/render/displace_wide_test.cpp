// The eight-pixel AVX2 and sixteen-pixel AVX-512 displacements must give every pixel the bits of the
// one-at-a-time reads, summed in sample order: for both composites, one and six samples, positions
// that land on and between cells and outside the planes, the positions they hand back to
// one-at-a-time reads (huge or NaN), and every tail length.
#include "plugin/render/distortion/noise_distortion_kernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "plugin/platform/simd/simd_path.h"
#include "plugin/render/distortion/bilinear_sample.h"
#include "plugin/render/distortion/noise_distortion.h"

namespace {

using kyrox::BilinearRows;
using kyrox::NoiseCell;

const float nan = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();
// What 0 x inf and inf - inf give, and NaNs of other payloads: where two different NaNs meet in an
// add or a multiply, which one comes out follows the order the compiler gave the operands.
const float default_nan = std::bit_cast<float>(0xffc00000u);
const float payload_nan = std::bit_cast<float>(0x7fd23456u);
const float negative_payload_nan = std::bit_cast<float>(0xffc00001u);

// A plane of cells with a padded row stride, filled with uneven values.
template <class Cell>
struct Plane {
    Plane(int width, int height)
        : stride(width + 3), cells(static_cast<std::size_t>(stride * height)), view{cells.data(), width, height, stride}
    {
    }
    Cell& at(int row, int column) { return cells[static_cast<std::size_t>(row * stride + column)]; }
    const Cell& at(int row, int column) const { return cells[static_cast<std::size_t>(row * stride + column)]; }
    int stride;
    std::vector<Cell> cells;
    kyrox::CellView<Cell> view;
};

struct Case {
    const char* name;
    bool displace;
    float amount;
    std::vector<float> along;                  // one per sample
    NoiseCell odd_cell;                        // written into one noise cell: huge or NaN values push reads outside
    float odd_source = nan;                    // written into one source cell
    std::optional<float> beside_odd_source{};  // where set, written into the source cell after it
};

const Case cases[] = {
    {"one sample", true, 3.0f, {0.0f}, {0.25f, -0.5f}},
    {"six samples along the wind", true, 7.0f, {0.0f, 2.5f, 5.0f, 7.5f, 10.0f, 12.5f}, {0.25f, -0.5f}},
    {"six samples against it, negative amount",
     true,
     -4.0f,
     {-0.0f, -3.0f, -6.0f, -9.0f, -12.0f, -15.0f},
     {1.0f, 2.0f}},
    {"whole positions", true, 1.0f, {0.0f, 2.0f}, {1.0f, -1.0f}},
    {"noise far outside the plane", true, 3.0f, {1e12f, 0.0f}, {0.0f, 0.0f}},
    {"noise position NaN", true, 3.0f, {nan}, {0.0f, 0.0f}},
    {"source far outside the plane", true, 2.0f, {0.0f, 4.0f, 8.0f}, {1e20f, -3e9f}},
    {"source position NaN", true, 2.0f, {0.0f, 1.0f}, {nan, 0.5f}},
    {"multiply", false, 100.0f, {0.0f}, {0.25f, -0.5f}},
    {"multiply, six samples", false, 250.0f, {0.0f, 1.5f, 3.0f, 4.5f, 6.0f, 7.5f}, {-3.0f, 5.0f}},
    {"multiply, noise NaN", false, 60.0f, {0.0f, 3.0f}, {nan, 1.0f}},
    // An infinite wind speed: the first sample's offset is 0 x inf and the others' infinite, and
    // the noise plane's cells are NaN.
    {"infinite wind", true, 3.0f, {default_nan, -inf, -inf, -inf, -inf, -inf}, {nan, nan}},
    {"infinite wind, multiply", false, 60.0f, {default_nan, inf, inf, inf, inf, inf}, {nan, nan}},
    {"noise NaNs of other signs and payloads",
     true,
     2.0f,
     {negative_payload_nan, 0.0f, 1.5f},
     {payload_nan, default_nan}},
    {"noise infinite", true, 0.5f, {0.0f, 2.0f, 4.5f}, {inf, -inf}},
    {"multiply, noise infinite", false, 40.0f, {0.0f, 2.0f, 4.5f}, {-inf, inf}},
    {"amount infinite", true, inf, {0.0f, 1.0f}, {0.25f, -0.5f}},
    {"source NaNs side by side", true, 0.75f, {0.0f, 0.5f, 1.0f}, {0.0f, 0.0f}, default_nan, payload_nan},
    {"source infinities side by side", true, 0.75f, {0.0f, 0.5f, 1.0f}, {0.0f, 0.0f}, inf, -inf},
    {"source NaN beside infinity", true, 0.75f, {0.0f, 0.5f, 1.0f}, {0.0f, 0.0f}, negative_payload_nan, inf},
    {"multiply, source NaN", false, 60.0f, {0.0f, 3.0f}, {0.25f, -0.5f}, negative_payload_nan, -inf},
};

struct Scene {
    explicit Scene(const Case& c) : source(37, 6), noise(19, 3)
    {
        for (int i = 0; i < source.view.height; ++i) {
            for (int j = 0; j < source.view.width; ++j) {
                source.at(i, j) = 0.37f * static_cast<float>((7 * i + 3 * j) % 11) - 0.9f;
            }
        }
        source.at(2, 5) = 2.5f;
        source.at(3, 9) = c.odd_source;
        if (c.beside_odd_source) {
            source.at(3, 10) = *c.beside_odd_source;
        }
        source.at(1, 12) = 1.0f;
        for (int i = 0; i < noise.view.height; ++i) {
            for (int j = 0; j < noise.view.width; ++j) {
                noise.at(i, j) = {std::sin(0.7f * static_cast<float>(j + 5 * i)),
                                  std::cos(1.3f * static_cast<float>(j - 2 * i))};
            }
        }
        noise.at(1, 6) = c.odd_cell;
    }

    // Each sample's noise rows for destination row i, as the job takes them.
    std::vector<BilinearRows<2>> rows(std::size_t samples, int i) const
    {
        std::vector<BilinearRows<2>> r;
        for (std::size_t k = 0; k < samples; ++k) {
            const float y = 0.75f * static_cast<float>(k) - 1.0f + static_cast<float>(i);
            r.push_back(kyrox::bilinear_rows(noise.view, y * 0.5f));
        }
        return r;
    }

    Plane<float> source;
    Plane<NoiseCell> noise;
};

// Every path writes a NaN pixel as the default NaN.
float written(float pixel)
{
    return std::isnan(pixel) ? default_nan : pixel;
}

// Pixel j of row i, one read at a time.
float one_at_a_time(const Case& c, const Scene& scene, const std::vector<BilinearRows<2>>& rows, int i, int j)
{
    const float fi = static_cast<float>(i);
    const float fj = static_cast<float>(j);
    float sum = 0.0f;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const std::array<float, 2> n = kyrox::bilinear_at(rows[k], scene.noise.view.width, (c.along[k] + fj) * 0.5f);
        if (c.displace) {
            sum += kyrox::sample_bilinear1(scene.source.view, c.amount * n[0] + fj, c.amount * n[1] + fi);
            continue;
        }
        const float s = scene.source.at(i, j);
        const float t = s >= 1.0f ? 1.0f : s;
        const float q = 1.0f - (1.0f - ((n[0] + n[1]) * 0.25f + 0.5f)) * c.amount * 0.01f;
        sum += t * (q > 0.0f ? q : 0.0f);
    }
    return written(sum / static_cast<float>(rows.size()));
}

// A wide kernel, the path it needs and the pixels it takes at once.
struct Kernel {
    std::size_t lanes;
    kyrox::simd::SimdPath path;
    std::size_t (*displace)(const kyrox::DisplaceRow&, std::size_t, std::size_t, std::span<float>);
};

const Kernel avx2_kernel{8, kyrox::simd::SimdPath::avx2, kyrox::displace_avx2};
const Kernel avx512_kernel{16, kyrox::simd::SimdPath::avx512, kyrox::displace_avx512};

void expect_whole_groups_match(const Kernel& kernel)
{
    if (kyrox::simd::widest_path() < kernel.path) {
        GTEST_SKIP() << "no " << kyrox::simd::simd_path_name(kernel.path) << " here";
    }
    const float sentinel = -12345.0f;
    for (const Case& c : cases) {
        Scene scene(c);
        for (int i = 0; i < scene.source.view.height; ++i) {
            const std::vector<BilinearRows<2>> rows = scene.rows(c.along.size(), i);
            const std::span<const float> source_row(&scene.source.at(i, 0),
                                                    static_cast<std::size_t>(scene.source.view.width));
            const kyrox::DisplaceRow row{
                rows,     c.along,   scene.noise.view.width, scene.source.view, source_row, static_cast<float>(i),
                c.amount, c.displace};
            // Every start and tail length the row allows, so groups begin on any column.
            for (std::size_t first = 0; first < 12; ++first) {
                for (std::size_t count = 0; first + count <= source_row.size(); ++count) {
                    std::vector<float> out(source_row.size(), sentinel);
                    const std::size_t done = kernel.displace(row, first, count, out);
                    ASSERT_EQ(done, count - count % kernel.lanes) << c.name;
                    for (std::size_t j = 0; j < out.size(); ++j) {
                        if (j < first || j >= first + done) {
                            EXPECT_EQ(out[j], sentinel) << c.name << ": pixel " << j << " is not the wide path's";
                            continue;
                        }
                        const float expected = one_at_a_time(c, scene, rows, i, static_cast<int>(j));
                        EXPECT_EQ(std::bit_cast<std::uint32_t>(out[j]), std::bit_cast<std::uint32_t>(expected))
                            << c.name << ": row " << i << ", pixel " << j << ": " << out[j] << " against " << expected;
                    }
                }
            }
        }
    }
}

void expect_declines_unreachable_sources(const Kernel& kernel)
{
    if (kyrox::simd::widest_path() < kernel.path) {
        GTEST_SKIP() << "no " << kyrox::simd::simd_path_name(kernel.path) << " here";
    }
    Scene scene(cases[0]);
    const std::vector<BilinearRows<2>> rows = scene.rows(1, 0);
    const std::vector<float> along{0.0f};
    std::vector<float> out(32, 0.0f);
    // One column, or rows too far apart for 32-bit offsets (never read: the kernel declines first).
    for (const std::ptrdiff_t stride : {std::ptrdiff_t{0}, std::ptrdiff_t{1} << 30}) {
        kyrox::ConstPlaneView unreachable = scene.source.view;
        unreachable.width = stride == 0 ? 1 : 37;
        unreachable.stride = stride == 0 ? 1 : stride;
        const kyrox::DisplaceRow row{rows, along, scene.noise.view.width, unreachable, {}, 0.0f, 1.0f, true};
        EXPECT_EQ(kernel.displace(row, 0, 32, out), 0u) << unreachable.width << " columns, stride " << stride;
    }
}

TEST(DisplaceAvx2, WholeGroupsGiveTheOneAtATimeBits)
{
    expect_whole_groups_match(avx2_kernel);
}

TEST(DisplaceAvx2, DeclinesASourceItsGathersCannotReach)
{
    expect_declines_unreachable_sources(avx2_kernel);
}

TEST(DisplaceAvx512, WholeGroupsGiveTheOneAtATimeBits)
{
    expect_whole_groups_match(avx512_kernel);
}

TEST(DisplaceAvx512, DeclinesASourceItsGathersCannotReach)
{
    expect_declines_unreachable_sources(avx512_kernel);
}

// Through the job, wide and one-at-a-time pixels side by side: every row width from 1 to 80 covers
// tails of each length after whole groups and blocks. Where noise_cell is set, every noise cell holds it.
void expect_job_matches(float wind_speed, std::optional<NoiseCell> noise_cell = {})
{
    for (const bool displace : {true, false}) {
        for (int width = 1; width <= 80; ++width) {
            const Case c{"job", displace, 5.0f, {0.0f, 3.0f, 6.0f, 9.0f, 12.0f, 15.0f}, {0.5f, -0.25f}};
            Scene scene(c);
            if (noise_cell) {
                std::ranges::fill(scene.noise.cells, *noise_cell);
            }
            Plane<float> source(width, 3);
            for (int i = 0; i < 3; ++i) {
                for (int j = 0; j < width; ++j) {
                    source.at(i, j) = 0.01f * static_cast<float>((j * 37 + i * 11) % 101);
                }
            }
            Plane<float> scratch(width, 3);
            kyrox::DistortionSettings s;
            s.distortion_composite = displace ? kyrox::DistortionComposite::displace
                                              : kyrox::DistortionComposite::multiply;
            s.wind_speed = wind_speed;
            s.distortion_motion_blur = 0.5f;  // at speed 2, samples 0, 3, ... 15 pixels along the wind
            kyrox::DistortionSetup setup;
            setup.wind_cos = 1.0f;
            setup.amount = c.amount;
            setup.samples = 6;
            kyrox::noise_displace_job({s, setup, scene.noise.view, source.view, scratch.view}, {0, 3, 0});
            for (int i = 0; i < 3; ++i) {
                for (int j = 0; j < width; ++j) {
                    float sum = 0.0f;
                    for (int k = 0; k < 6; ++k) {
                        // The wind blows along +x: the noise is read d pixels to the right.
                        const float d = s.distortion_motion_blur * wind_speed * static_cast<float>(k) * 3.0f;
                        const NoiseCell n = kyrox::sample_bilinear(scene.noise.view,
                                                                   (d * setup.wind_cos + static_cast<float>(j)) * 0.5f,
                                                                   (d * setup.wind_sin + static_cast<float>(i)) * 0.5f);
                        if (displace) {
                            sum += kyrox::sample_bilinear1(source.view, c.amount * n.x + static_cast<float>(j),
                                                           c.amount * n.y + static_cast<float>(i));
                            continue;
                        }
                        const float t = std::min(source.at(i, j), 1.0f);
                        const float q = 1.0f - (1.0f - ((n.x + n.y) * 0.25f + 0.5f)) * c.amount * 0.01f;
                        // Not std::max, which keeps a NaN q: the job takes 0 for it.
                        sum += t * (q > 0.0f ? q : 0.0f);
                    }
                    EXPECT_EQ(std::bit_cast<std::uint32_t>(scratch.at(i, j)),
                              std::bit_cast<std::uint32_t>(written(sum / 6.0f)))
                        << (displace ? "displace" : "multiply") << ", wind " << wind_speed << ", width " << width
                        << ": " << i << ", " << j;
                }
            }
        }
    }
}

TEST(NoiseDisplaceJob, EveryWidthGivesTheOneAtATimeBits)
{
    expect_job_matches(2.0f);
}

// A wind speed that is infinite or NaN (which only settings given straight to the stage carry) makes
// every sample's offset and noise row position NaN or infinite, and the noise field's cells NaN (of
// another sign than 0 x inf).
TEST(NoiseDisplaceJob, NonFiniteWindGivesTheOneAtATimeBits)
{
    for (const float wind_speed : {inf, -inf, nan}) {
        expect_job_matches(wind_speed);
        expect_job_matches(wind_speed, NoiseCell{nan, nan});
    }
}

}  // namespace
