// Whether frames keep up with real time: every built-in preset at 1920 x 1080, 8-bit, on all workers,
// set against the machine's memory bandwidth (a STREAM-style triad) and the bytes the preset's planes
// and passes must move at least; the heaviest presets again on a moving blade, frame after frame of
// kyrox-render's default animation, as a blade in a composition moves; the speed-up from 1 to 2, 4 and
// 8 workers; the cost of 3840 x 2160 against 1920 x 1080; page faults per frame throughout.
//
// Counters: ms_per_frame (wall), floor_ms (bytes moved / triad bandwidth), x_floor (ms_per_frame /
// floor_ms), faults_per_frame (minor page faults of the process), x_still (a moving blade's frame time
// over the same preset's still frame), speedup (against 1 worker), x_1080p (4K frame time over 1080p
// frame time).
//
// Unless KYROX_SIMD names one path, the benchmarks run once per instruction path the machine has and
// end with a table of every frame time per path and the speed-up over SSE2 (path_comparison.h).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_pool.h"
#include "bench/path_comparison.h"
#include "minihost/frame_session.h"
#include "plugin/host/command_dispatch.h"
#include "plugin/host/preset_values.h"

namespace {

using Clock = std::chrono::steady_clock;

long minor_faults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Triad a = b + s * c over arrays far larger than the caches, on all workers; bytes per second
// counting the two reads and one write per element. Measured once, the best of five passes.
double triad_bytes_per_second()
{
    static const double bandwidth = [] {
        constexpr std::size_t count = std::size_t{1} << 25;  // 256 MB per array of doubles
        std::vector<double> a(count, 0.0);
        std::vector<double> b(count, 1.0);
        std::vector<double> c(count, 2.0);
        const auto n = static_cast<std::int32_t>(count >> 12);  // chunks of 4096 elements
        double best = 0.0;
        for (int pass = 0; pass < 5; ++pass) {
            const auto start = Clock::now();
            kyrox::parallel_for(
                kyrox::worker_pool(),
                [&](const kyrox::ThreadWorkData& w) {
                    const std::size_t first = static_cast<std::size_t>(w.begin) << 12;
                    const std::size_t end = static_cast<std::size_t>(w.end) << 12;
                    for (std::size_t i = first; i < end; ++i) {
                        a[i] = b[i] + 3.0 * c[i];
                    }
                    return true;
                },
                n);
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            best = std::max(best, 3.0 * sizeof(double) * static_cast<double>(count) / seconds);
        }
        benchmark::DoNotOptimize(a.data());
        return best;
    }();
    return bandwidth;
}

// The preset's table columns that decide which stages a frame runs.
namespace column {
constexpr std::size_t enable_glow = 0;
constexpr std::size_t core_softness = 19;
constexpr std::size_t glow_amount = 20;
constexpr std::size_t core_amount = 33;
}  // namespace column

// Bytes one frame's passes read and write at least, in bytes per pixel, from the stages the preset
// runs: each pass counted as one read of what it reads and one write of what it writes, at plane
// size (4 bytes a cell, 32 for the Gaussian's two buffers); what a pass hands on while it is still
// in the cache (the combination reads the rows the horizontal Gaussian pass just wrote) is not
// counted again. The box blurs work on the core rectangle, taken here as half the frame (the demo
// blade's rectangle is about that).
double bytes_per_pixel(const kyrox::presets::PresetRow& preset)
{
    const auto number = [&](std::size_t c) { return preset.values[c].number; };
    const bool glow = number(column::enable_glow) != 0.0;
    const bool glow_distorted = glow && number(column::glow_amount) > 0.0;
    const bool core_distorted = number(column::core_amount) > 0.0;
    const double box_blur = 0.5 * (16.0 + 2.0 * (16.0 + 8.0) + 16.0);  // copies, two tables and passes
    double bytes = 4.0 + 8.0;                                          // output clear, two planes cleared
    bytes += box_blur + 0.5 * 12.0;                                    // hot-core blur and cut
    if (number(column::core_softness) > 0.0) {
        bytes += box_blur;
    }
    // Noise cells (a quarter of the pixels, 8 bytes) written and read, source read, the other plane
    // written (a pass in place trades planes instead of copying back).
    const double distortion = 2.0 + 2.0 + 4.0 + 4.0;
    if (glow) {
        bytes += 4.0 + 32.0;        // vertical Gaussian pass: glow source read, buffers written
        bytes += 64.0 + 4.0 + 8.0;  // horizontal pass and combination: buffers, core, glow and halo
        bytes += glow_distorted ? distortion : 0.0;
        bytes += core_distorted ? distortion : 4.0;  // or the distorted halo cleared
        bytes += 16.0 + 4.0;                         // colourising: four planes read, output written
    } else {
        bytes += core_distorted ? distortion : 0.0;
        bytes += 4.0 + 4.0;  // output job
    }
    return bytes;
}

// Wall time per frame of the last run of each named case, for the ratios of later cases.
std::map<std::string, double> seconds_per_frame;

// How the benchmark's frames follow one another: the blade of frame 5 again and again, or the blade
// of kyrox-render's default frames 0 to 23 moving across them, in a loop.
enum class Motion { still, moving };

constexpr A_long moving_frames = 24;

// Renders frames of the preset and sets the counters; returns the seconds per frame. Faults are
// counted once a first pass has sized the kept buffers (a whole loop of the moving blade).
double run_frames(benchmark::State& state, const char* preset, A_long width, A_long height, unsigned workers,
                  Motion motion = Motion::still)
{
    use_workers(workers);
    minihost::SessionSettings settings;
    settings.width = width;
    settings.height = height;
    settings.preset = preset;
    settings.frame_count = motion == Motion::still ? 12 : moving_frames;
    minihost::FrameSession session(&kyrox::plugin_entry, settings);
    A_long frame = 0;
    const auto next_frame = [&] { return motion == Motion::still ? 5 : frame++ % moving_frames; };
    for (A_long warm = 0; warm < (motion == Motion::still ? 1 : moving_frames); ++warm) {
        session.render(next_frame());
    }
    const long faults = minor_faults();
    const auto start = Clock::now();
    std::int64_t frames = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(session.render(next_frame()));
        ++frames;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count() / static_cast<double>(frames);
    state.counters["ms_per_frame"] = seconds * 1e3;
    state.counters["faults_per_frame"] = static_cast<double>(minor_faults() - faults) / static_cast<double>(frames);
    use_workers(kyrox::platform::logical_processor_count());
    return seconds;
}

void BM_Triad(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(triad_bytes_per_second());
    }
    state.counters["GB_per_s"] = triad_bytes_per_second() / 1e9;
}
BENCHMARK(BM_Triad)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Preset(benchmark::State& state)
{
    const auto& preset = kyrox::presets::preset_rows[static_cast<std::size_t>(state.range(0))];
    const double bandwidth = triad_bytes_per_second();
    const double seconds = run_frames(state, preset.name, 1920, 1080, kyrox::platform::logical_processor_count());
    const double floor = bytes_per_pixel(preset) * 1920.0 * 1080.0 / bandwidth;
    state.counters["floor_ms"] = floor * 1e3;
    state.counters["x_floor"] = seconds / floor;
    seconds_per_frame[std::string("still ") + preset.name] = seconds;
    state.SetLabel(preset.name);
}
BENCHMARK(BM_Preset)->DenseRange(0, kyrox::presets::preset_rows.size() - 1)->Unit(benchmark::kMillisecond);

// Default and the heaviest presets with the blade moving from frame to frame; after BM_Preset, whose
// still frames they are set against.
void BM_MovingBlade(benchmark::State& state, const char* preset)
{
    const double seconds =
        run_frames(state, preset, 1920, 1080, kyrox::platform::logical_processor_count(), Motion::moving);
    if (const auto still = seconds_per_frame.find(std::string("still ") + preset); still != seconds_per_frame.end()) {
        state.counters["x_still"] = seconds / still->second;
    }
    state.SetLabel(std::string(preset) + ", moving");
}
BENCHMARK_CAPTURE(BM_MovingBlade, default_preset, "Default")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MovingBlade, solar, "Solar")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MovingBlade, fire, "Fire")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MovingBlade, inferno, "Inferno")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MovingBlade, nebula, "Nebula")->Unit(benchmark::kMillisecond);

// 1, 2, 4 and 8 workers on one preset; registered in that order, so the 1-worker time is known.
void BM_Scaling(benchmark::State& state, const char* preset)
{
    const auto workers = static_cast<unsigned>(state.range(0));
    const double seconds = run_frames(state, preset, 1920, 1080, workers);
    const std::string key = std::string("workers ") + preset;
    if (workers == 1) {
        seconds_per_frame[key] = seconds;
    }
    if (seconds_per_frame.contains(key)) {
        state.counters["speedup"] = seconds_per_frame[key] / seconds;
    }
    state.SetLabel(std::string(preset) + ", " + std::to_string(workers) + " workers");
}
BENCHMARK_CAPTURE(BM_Scaling, default_preset, "Default")->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Scaling, smoke_preset, "Meteor")->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// 1920 x 1080, then 3840 x 2160, on all workers.
void BM_Resolution(benchmark::State& state, const char* preset)
{
    const auto width = static_cast<A_long>(state.range(0));
    const auto height = static_cast<A_long>(state.range(1));
    const double seconds = run_frames(state, preset, width, height, kyrox::platform::logical_processor_count());
    const std::string key = std::string("1080p ") + preset;
    if (width == 1920) {
        seconds_per_frame[key] = seconds;
    } else if (seconds_per_frame.contains(key)) {
        state.counters["x_1080p"] = seconds / seconds_per_frame[key];
    }
    state.SetLabel(std::string(preset) + ", " + std::to_string(width) + " x " + std::to_string(height));
}
BENCHMARK_CAPTURE(BM_Resolution, default_preset, "Default")
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Resolution, smoke_preset, "Meteor")
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return run_on_every_path(argc, argv);
}
