// Cost of the recursive Gaussian's two passes over a 1920 x 1080 glow source with full level
// rectangles, on the process-wide pool and on one thread. The cost does not depend on sigma.
#include "plugin/render/blur/gauss_blur.h"
#include "plugin/render/worker_pool.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kyrox;

constexpr std::int32_t frame_width = 1920;
constexpr std::int32_t frame_height = 1080;

struct GaussFrame {
    GaussFrame()
        : source([] {
              WorldView model;
              model.width = frame_width;
              model.height = frame_height;
              return model;
          }())
    {
        for (std::int32_t i = 0; i < frame_height; ++i) {
            for (std::size_t j = 0; j < source.row(i).size(); ++j) {
                source.row(i)[j] = static_cast<float>((i * 7 + static_cast<std::int32_t>(j)) % 11) * 0.1f;
            }
        }
        target.output_view.width = source.width();
        target.output_view.height = source.height();
        size_gauss_buffers(gauss, static_cast<std::uint64_t>(frame_width) * frame_height);
    }

    FloatPlane source;
    FrameTarget target;
    GaussBuffers gauss;
    LevelRects rects{};
    GaussPasses passes = gauss_passes({2.0, 8.0, 20.0, 60.0});
};

void run_passes(benchmark::State& state, bool pooled)
{
    GaussFrame f;
    const auto run = [&](const RowJob& job, std::int32_t n) {
        if (pooled) {
            parallel_for(worker_pool(), job, n);
        } else {
            job({0, n, 0});
        }
    };
    for (auto _ : state) {
        run([&](const ThreadWorkData& w) { return gauss_rows_job(w, f.rects, f.source, f.passes, f.gauss); },
            frame_width);
        run(
            [&](const ThreadWorkData& w) {
                return gauss_columns_job(w, f.target, f.source, f.rects, f.passes, f.gauss);
            },
            frame_height);
        benchmark::DoNotOptimize(f.gauss.buffers[1].data());
    }
    state.SetItemsProcessed(state.iterations() * frame_width * frame_height);
}

void BM_GaussPassesPooled(benchmark::State& state)
{
    run_passes(state, true);
}
BENCHMARK(BM_GaussPassesPooled)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GaussPassesOneThread(benchmark::State& state)
{
    run_passes(state, false);
}
BENCHMARK(BM_GaussPassesOneThread)->Unit(benchmark::kMillisecond);

}  // namespace
