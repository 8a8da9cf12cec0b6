#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "minihost/cli/frame_memory.h"
#include "minihost/cli/frame_memory_detail.h"
#include "minihost/name_suggestions.h"
#include "minihost/cli/progress_report.h"
#include "minihost/cli/progress_report_detail.h"

// The parts of kyrox-render that shape what it says: progress lines, memory estimates, preset names.
namespace {

TEST(ProgressLine, CountsElapsedTimeAndEstimatesTheRest)
{
    const struct {
        int done, total;
        double elapsed;
        const char* line;
    } cases[] = {
        {1, 4, 1.5, "frame 1 of 4, 1.5 s elapsed, about 4.5 s left"},
        {3, 12, 30.0, "frame 3 of 12, 30.0 s elapsed, about 1 min 30 s left"},
        {12, 12, 125.0, "frame 12 of 12, 2 min 05 s elapsed"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(minihost::progress_line("frame", c.done, c.total, c.elapsed), c.line);
    }
}

// What a report of two steps writes: {on the terminal stream, on the log stream}.
std::pair<std::string, std::string> two_steps(bool on_terminal)
{
    std::ostringstream terminal;
    std::ostringstream log;
    minihost::ProgressReport report("frame", 2, terminal, log, on_terminal);
    report.step_done("[1/2] a");
    report.step_done("[2/2] b");
    report.finish();
    return {terminal.str(), log.str()};
}

TEST(ProgressReport, OnATerminalRewritesOneLineElseLogsEachStep)
{
    const auto [terminal, log] = two_steps(true);
    EXPECT_EQ(log, "");
    EXPECT_EQ(terminal.find("\rframe 1 of 2, "), 0u) << terminal;
    EXPECT_NE(terminal.find("\rframe 2 of 2, "), std::string::npos) << terminal;
    EXPECT_EQ(terminal.back(), '\n');

    const auto [quiet, logged] = two_steps(false);
    EXPECT_EQ(logged, "[1/2] a\n[2/2] b\n");
    EXPECT_EQ(quiet, "");

    // A run that ends early, without finish(), ends the line too, so that its error starts its own.
    std::ostringstream cut;
    {
        minihost::ProgressReport report("frame", 2, cut, cut, true);
        report.step_done("[1/2] a");
    }
    EXPECT_EQ(cut.str().back(), '\n') << cut.str();
}

TEST(FrameMemory, CountsHostBuffersWorkingPlanesAndTheWritersCopies)
{
    // Per pixel: input and output of 4 channels, six float planes and the box blur's two, two Gaussian
    // cells of 16 bytes, the writer's three frame copies, and OpenEXR's four halves for float frames;
    // the distortion's noise cells of 8 bytes at half size each way, 5 x 5 here.
    EXPECT_EQ(minihost::frame_memory_bytes(10, 10, 1), 100u * (8 + 32 + 32 + 12) + 25 * 8);
    EXPECT_EQ(minihost::frame_memory_bytes(10, 10, 2), 100u * (16 + 32 + 32 + 24) + 25 * 8);
    EXPECT_EQ(minihost::frame_memory_bytes(10, 10, 4), 100u * (32 + 32 + 32 + 48 + 8) + 25 * 8);
    EXPECT_EQ(minihost::frame_memory_text(1920, 1080, 2), "a 1920 x 1080 16-bit frame needs about 0.2 GiB of memory");
}

TEST(ClosestNames, RanksByEditsIgnoringCase)
{
    const std::vector<std::string> names = {"Default", "Neon", "Nebula", "Fog", "Hard Core"};
    EXPECT_EQ(minihost::closest_names("neom", names, 2), (std::vector<std::string>{"Neon", "Fog"}));
    EXPECT_EQ(minihost::closest_names("hardcore", names, 1), (std::vector<std::string>{"Hard Core"}));
    EXPECT_EQ(minihost::closest_names("x", names, 9).size(), names.size());
}

}  // namespace
