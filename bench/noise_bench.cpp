// Cost of each noise function per sample, and of one distortion noise cell per distortion type: Smoke is
// two fractal sums, Fluid two fractal sums that warp two ridged multifractals, Energy two ridged
// multifractals. Complexity is the octave count of both kinds of sum.
#include "plugin/noise/flicker_noise.h"
#include "plugin/noise/gradient_noise3.h"
#include "plugin/noise/improved_noise.h"
#include "plugin/noise/pipeline.h"
#include "plugin/noise/ridged_multi_element.h"
#include "plugin/noise/ridged_multi_module.h"
#include "plugin/platform/simd/simd_path.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

using kyrox::NoisePoint;

// Successive samples walk a row of a noise plane at a typical noise scale of 100 (0.02 per noise cell),
// stepping down a row every 1000 cells.
struct SampleWalk {
    float x = 0.0f;
    float y = 0.0f;
    int column = 0;

    void next()
    {
        x += 0.02f;
        if (++column == 1000) {
            column = 0;
            x = 0.0f;
            y += 0.02f;
        }
    }
};

template <float (*Noise)(float, float, float, int)>
void BM_GradientNoise3(benchmark::State& state)
{
    SampleWalk walk;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Noise(walk.x, walk.y, 0.75f, 17));
        walk.next();
    }
}
BENCHMARK(BM_GradientNoise3<noisepp::gradient_noise3_std>)->Name("gradient_noise3_std");
BENCHMARK(BM_GradientNoise3<noisepp::gradient_noise3_best>)->Name("gradient_noise3_best");
BENCHMARK(BM_GradientNoise3<noisepp::gradient_noise3_fast>)->Name("gradient_noise3_fast");

void BM_RidgedValue(benchmark::State& state)
{
    noisepp::RidgedMultiModule3D module;
    module.octaves = static_cast<int>(state.range(0));
    noisepp::Pipeline3D pipeline;
    const noisepp::PipelineElement3D& ridged = pipeline.element(module.attach(pipeline));
    SampleWalk walk;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ridged.value(walk.x, walk.y, 0.75f, nullptr));
        walk.next();
    }
}
BENCHMARK(BM_RidgedValue)->Name("ridged_value/octaves")->Arg(1)->Arg(5)->Arg(10);

// What each noise job chunk pays before its first sample.
void BM_RidgedChunkSetUp(benchmark::State& state)
{
    for (auto _ : state) {
        noisepp::RidgedMultiModule3D module;
        module.octaves = static_cast<int>(state.range(0));
        noisepp::Pipeline3D pipeline;
        benchmark::DoNotOptimize(module.attach(pipeline));
        benchmark::DoNotOptimize(pipeline.pipeline_alloc_cache());
        benchmark::DoNotOptimize(pipeline.pipeline_alloc_cache());
    }
}
BENCHMARK(BM_RidgedChunkSetUp)->Name("ridged_chunk_set_up/octaves")->Arg(1)->Arg(5)->Arg(10);

void BM_GradientNoise2(benchmark::State& state)
{
    SampleWalk walk;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kyrox::gradient_noise2({walk.x, walk.y, 0.75f, 0.0f}));
        walk.next();
    }
}
BENCHMARK(BM_GradientNoise2)->Name("gradient_noise2");

void BM_FractalNoise2(benchmark::State& state)
{
    const int octaves = static_cast<int>(state.range(0));
    SampleWalk walk;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kyrox::fractal_noise2({walk.x, walk.y, 0.75f, 0.0f}, octaves));
        walk.next();
    }
}
BENCHMARK(BM_FractalNoise2)->Name("fractal_noise2/octaves")->Arg(1)->Arg(5)->Arg(10);

// Whether this machine may run the N-lane form: eight lanes are the AVX2 path's, sixteen the AVX-512 path's.
bool runs_lanes(std::size_t lanes)
{
    using kyrox::simd::SimdPath;
    const SimdPath needed = lanes == 16 ? SimdPath::avx512 : lanes == 8 ? SimdPath::avx2 : SimdPath::sse2;
    return kyrox::simd::widest_path() >= needed;
}

// The SSE2, AVX2 and AVX-512 paths, N points of a row per call; the counter is points per second.
template <std::size_t N>
void BM_FractalNoise2Lanes(benchmark::State& state)
{
    if (!runs_lanes(N)) {
        state.SkipWithError(N == 16 ? "no AVX-512 here" : "no AVX2 here");
        return;
    }
    const int octaves = static_cast<int>(state.range(0));
    SampleWalk walk;
    for (auto _ : state) {
        std::array<NoisePoint, N> points{};
        for (NoisePoint& p : points) {
            p = {walk.x, walk.y, 0.75f, 0.0f};
            walk.next();
        }
        std::array<float, N> out{};
        if (!kyrox::fractal_noise2_lanes(points, octaves, out)) {
            state.SkipWithError("declined");
            break;
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(N));
}
BENCHMARK(BM_FractalNoise2Lanes<4>)->Name("fractal_noise2_x4/octaves")->Arg(5)->Arg(10);
BENCHMARK(BM_FractalNoise2Lanes<8>)->Name("fractal_noise2_x8/octaves")->Arg(5)->Arg(10);
BENCHMARK(BM_FractalNoise2Lanes<16>)->Name("fractal_noise2_x16/octaves")->Arg(5)->Arg(10);

template <std::size_t N>
void BM_RidgedValueLanes(benchmark::State& state)
{
    if (!runs_lanes(N)) {
        state.SkipWithError(N == 16 ? "no AVX-512 here" : "no AVX2 here");
        return;
    }
    const noisepp::RidgedMultiElement3D element(static_cast<int>(state.range(0)), 1.0f, 2.0f, 1.0f, 1.0f, 2.0f, 17, 1);
    SampleWalk walk;
    for (auto _ : state) {
        std::array<float, N> x{};
        std::array<float, N> y{};
        const std::array<float, N> z = [] {
            std::array<float, N> v{};
            v.fill(0.75f);
            return v;
        }();
        for (std::size_t l = 0; l < N; ++l) {
            x[l] = walk.x;
            y[l] = walk.y;
            walk.next();
        }
        std::array<float, N> out{};
        if (!element.values(x, y, z, out)) {
            state.SkipWithError("declined");
            break;
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(N));
}
BENCHMARK(BM_RidgedValueLanes<4>)->Name("ridged_value4/octaves")->Arg(5)->Arg(10);
BENCHMARK(BM_RidgedValueLanes<8>)->Name("ridged_value8/octaves")->Arg(5)->Arg(10);
BENCHMARK(BM_RidgedValueLanes<16>)->Name("ridged_value16/octaves")->Arg(5)->Arg(10);

template <float (*Noise)(float)>
void BM_Noise1(benchmark::State& state)
{
    float x = 0.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Noise(x));
        x += 0.0137f;
    }
}
BENCHMARK(BM_Noise1<kyrox::perlin_noise1>)->Name("perlin_noise1");
BENCHMARK(BM_Noise1<kyrox::flicker_noise>)->Name("flicker_noise");

enum class Distortion { smoke, fluid, energy };

// One noise-plane cell: two noise channels at the point shifted by two fixed random offsets.
template <Distortion type>
void BM_NoiseCell(benchmark::State& state)
{
    const int complexity = static_cast<int>(state.range(0));
    noisepp::RidgedMultiModule3D module;
    module.seed = 12345;
    module.octaves = complexity;
    noisepp::Pipeline3D pipeline;
    const noisepp::PipelineElement3D& ridged = pipeline.element(module.attach(pipeline));
    const NoisePoint a = {123.4f, -321.7f, 45.6f, 0.0f};
    const NoisePoint b = {-250.2f, 77.3f, -410.9f, 0.0f};
    SampleWalk walk;
    for (auto _ : state) {
        const NoisePoint p1 = {walk.x + a.x, walk.y + a.y, 0.75f + a.z, 0.0f};
        const NoisePoint p2 = {walk.x + b.x, walk.y + b.y, 0.75f + b.z, 0.0f};
        float nx = 0.0f;
        float ny = 0.0f;
        if constexpr (type == Distortion::smoke) {
            nx = kyrox::fractal_noise2(p1, complexity);
            ny = kyrox::fractal_noise2(p2, complexity);
        } else if constexpr (type == Distortion::fluid) {
            const float wx = kyrox::fractal_noise2(p1, complexity);
            const float wy = kyrox::fractal_noise2(p2, complexity);
            nx = ridged.value(p1.x + wx, p1.y + wy, p1.z, nullptr);
            ny = ridged.value(p2.x + wx, p2.y + wy, p2.z, nullptr);
        } else {
            nx = ridged.value(p1.x, p1.y, p1.z, nullptr);
            ny = ridged.value(p2.x, p2.y, p2.z, nullptr);
        }
        benchmark::DoNotOptimize(nx);
        benchmark::DoNotOptimize(ny);
        walk.next();
    }
}
BENCHMARK(BM_NoiseCell<Distortion::smoke>)->Name("noise_cell_smoke/complexity")->Arg(1)->Arg(5)->Arg(10);
BENCHMARK(BM_NoiseCell<Distortion::fluid>)->Name("noise_cell_fluid/complexity")->Arg(1)->Arg(5)->Arg(10);
BENCHMARK(BM_NoiseCell<Distortion::energy>)->Name("noise_cell_energy/complexity")->Arg(1)->Arg(5)->Arg(10);

}  // namespace
