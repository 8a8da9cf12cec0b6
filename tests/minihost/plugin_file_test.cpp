#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "minihost/host.h"
#include "minihost/output_capture.h"
#include "minihost/plugin_module.h"
#include "tests/host/timing_line.h"

namespace {

// The built plug-in file, loaded as the host loads it, through set-up, About and a frame.
TEST(PluginFile, AnswersSetupAboutAndRendersAFrameInEachDepth)
{
    const minihost::PluginModule module(KYROX_PLUGIN_PATH);
    minihost::Host host(module.entry());

    minihost::StderrCapture banner;
    ASSERT_EQ(host.global_setup(), PF_Err_NONE);
    EXPECT_EQ(banner.finish(), "## Kyrox 1.0.39");
    EXPECT_EQ(host.out_data().my_version, 0x80027u);
    EXPECT_EQ(host.out_data().out_flags, 0x2080604);
    EXPECT_EQ(host.out_data().out_flags2, 0x81489);

    EXPECT_EQ(host.params_setup(), PF_Err_NONE);
    EXPECT_GE(host.out_data().num_params, 1);
    EXPECT_EQ(host.about(), PF_Err_NONE);
    EXPECT_EQ(std::string(host.out_data().return_msg).rfind("Kyrox v1.0.39\n\n", 0), 0u);

    for (const int bytes_per_channel : {1, 2, 4}) {
        SCOPED_TRACE(bytes_per_channel);
        const auto bitdepth = static_cast<A_short>(bytes_per_channel * 8);
        host.set_frame(32, 24, bytes_per_channel);
        PF_PreRenderOutput output{};
        EXPECT_EQ(host.smart_pre_render(output, host.pre_render_input(bitdepth)), PF_Err_NONE);
        EXPECT_EQ(output.result_rect.right, 32);
        EXPECT_EQ(output.result_rect.bottom, 24);
        EXPECT_EQ(output.flags, PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS);

        const minihost::DebugOutputCapture debug_output;
        EXPECT_EQ(host.smart_render(bitdepth), PF_Err_NONE);
        EXPECT_TRUE(kyrox::testing_support::is_timing_line(debug_output.text())) << debug_output.text();
    }

    EXPECT_EQ(host.global_setdown(), PF_Err_NONE);
    EXPECT_EQ(host.live_handles(), 0u);
    EXPECT_EQ(host.outstanding_suites(), 0u);
}

TEST(PluginFile, AFileThatDoesNotLoadIsReported)
{
    EXPECT_THROW(minihost::PluginModule("/nonexistent/Kyrox.aex"), std::runtime_error);
}

TEST(WindowsPath, UnixPathsGoThroughDriveZ)
{
    EXPECT_EQ(minihost::windows_path_of("/work/build/Kyrox.aex"), "Z:\\work\\build\\Kyrox.aex");
    EXPECT_EQ(minihost::windows_path_of("C:/Plug-ins/Kyrox.aex"), "C:\\Plug-ins\\Kyrox.aex");
    EXPECT_EQ(minihost::windows_path_of("Kyrox.aex"), "Kyrox.aex");
}

}  // namespace
