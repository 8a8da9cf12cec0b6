#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "minihost/output_capture.h"
#include "plugin/host/parameters.h"
#include "plugin/host/parameters_detail.h"
#include "tests/host/plugin_host.h"
#include "tests/host/timing_line.h"

namespace {

using kyrox::testing_support::is_timing_line;
using kyrox::testing_support::PluginHostTest;

using SmartRenderTest = PluginHostTest;

struct DepthCase {
    A_short bitdepth;
    int world_bytes_per_channel;
    std::uint8_t bytes_per_channel;
};

TEST_F(SmartRenderTest, StoresBytesPerChannelForEachDepthAndAlwaysWritesTheTimingLine)
{
    const DepthCase cases[] = {{8, 1, 1}, {16, 2, 2}, {32, 4, 4}, {12, 2, 0}, {24, 4, 0}};
    for (const DepthCase& c : cases) {
        SCOPED_TRACE(c.bitdepth);
        host.set_frame(20, 10, c.world_bytes_per_channel, 12);
        host.input_layer().set_origin(3, 4);
        const minihost::DebugOutputCapture debug_output;
        EXPECT_EQ(host.smart_render(c.bitdepth), PF_Err_NONE);
        EXPECT_TRUE(is_timing_line(debug_output.text())) << debug_output.text();

        const kyrox::FrameTarget& target = instance().target;
        EXPECT_EQ(target.bytes_per_channel, c.bytes_per_channel);
        const PF_EffectWorld& input = host.input_layer().world();
        EXPECT_EQ(target.input_view.row_bytes, input.rowbytes);
        EXPECT_EQ(target.input_view.bytes_per_channel, c.bytes_per_channel);
        EXPECT_EQ(target.input_view.origin_x, 3);
        EXPECT_EQ(target.input_view.origin_y, 4);
        EXPECT_EQ(target.input_view.width, 20);
        EXPECT_EQ(target.input_view.height, 10);
        EXPECT_EQ(target.input_view.data, input.data);
        EXPECT_EQ(target.output_view.data, host.output().world().data);
        EXPECT_EQ(target.output_view.bytes_per_channel, c.bytes_per_channel);
    }
}

TEST_F(SmartRenderTest, StoresDownsampleFactorsPixelAspectAndOutputOrigin)
{
    host.in_data().downsample_x = {1, 2};
    host.in_data().downsample_y = {1, 2};
    host.in_data().pixel_aspect_ratio = {2, 1};
    host.output().set_origin(-5, 7);
    EXPECT_EQ(host.smart_render(8), PF_Err_NONE);
    EXPECT_FLOAT_EQ(instance().target.downsample_x, 2.0f);
    EXPECT_FLOAT_EQ(instance().target.downsample_y, 2.0f);
    EXPECT_FLOAT_EQ(instance().target.pixel_aspect, 0.5f);
    EXPECT_EQ(instance().target.output_origin_x, -5);
    EXPECT_EQ(instance().target.output_origin_y, 7);

    host.in_data().downsample_x = {1, 1};
    host.in_data().downsample_y = {1, 1};
    EXPECT_EQ(host.smart_render(8), PF_Err_NONE);
    EXPECT_FLOAT_EQ(instance().target.downsample_x, 1.0f);
    EXPECT_FLOAT_EQ(instance().target.downsample_y, 1.0f);
}

TEST_F(SmartRenderTest, AMalformedRatioCountsAsFullResolutionAndSquarePixels)
{
    const PF_RationalScale malformed[] = {{1, 0}, {0, 0}, {0, 2}, {-1, 2}};
    for (const PF_RationalScale& ratio : malformed) {
        SCOPED_TRACE(::testing::Message() << ratio.num << " / " << ratio.den);
        host.in_data().downsample_x = ratio;
        host.in_data().downsample_y = ratio;
        host.in_data().pixel_aspect_ratio = ratio;
        EXPECT_EQ(host.smart_render(8), PF_Err_NONE);
        EXPECT_EQ(instance().target.downsample_x, 1.0f);
        EXPECT_EQ(instance().target.downsample_y, 1.0f);
        EXPECT_EQ(instance().target.pixel_aspect, 1.0f);
    }
}

TEST_F(SmartRenderTest, AFailedOrEmptyCheckoutEndsTheCommandWithoutRendering)
{
    struct FailureCase {
        const char* what;
        PF_Err layer_error;
        PF_Err output_error;
        bool withhold_output;
        std::vector<A_long> checkouts;
    };
    const FailureCase cases[] = {
        {"input fails", 7, PF_Err_NONE, false, {0}},
        {"output fails", PF_Err_NONE, 9, false, {0, -1}},
        {"no output", PF_Err_NONE, PF_Err_NONE, true, {0, -1}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        host.settings() = minihost::HostSettings{};
        ASSERT_EQ(host.smart_render(8), PF_Err_NONE);  // views of a good frame first
        host.log().clear();
        host.settings().layer_pixels_error = c.layer_error;
        host.settings().output_error = c.output_error;
        host.settings().withhold_output = c.withhold_output;
        const minihost::DebugOutputCapture debug_output;
        EXPECT_EQ(host.smart_render(8), c.layer_error != PF_Err_NONE ? c.layer_error : c.output_error);
        EXPECT_EQ(host.log().pixel_checkouts, c.checkouts);
        EXPECT_EQ(debug_output.text(), "");
        EXPECT_EQ(instance().target.output_view.data, nullptr);
        EXPECT_EQ(instance().target.output_view.row_bytes, 0);
    }
}

TEST_F(SmartRenderTest, PreRenderAsksForTheWholeLayerAndReturnsExtraPixels)
{
    host.set_frame(80, 60, 1);
    PF_PreRenderInput input = host.pre_render_input(16);
    input.output_request.rect = {10, 10, 20, 20};
    input.output_request.channel_mask = PF_ChannelMask_ALPHA;
    input.output_request.field = 2;
    PF_PreRenderOutput output{};
    output.flags = 0x4;
    output.max_result_rect = {-10, -10, 5, 5};
    EXPECT_EQ(host.smart_pre_render(output, input), PF_Err_NONE);

    ASSERT_EQ(host.log().layer_checkouts.size(), 2u);
    const minihost::LayerCheckout& layer = host.log().layer_checkouts[0];
    EXPECT_EQ(layer.index, 0);
    EXPECT_EQ(layer.checkout_id, 0);
    EXPECT_EQ(layer.request.rect.right, 80);
    EXPECT_EQ(layer.request.rect.bottom, 60);
    EXPECT_EQ(layer.request.rect.left, 0);
    EXPECT_EQ(layer.request.rect.top, 0);
    EXPECT_EQ(layer.request.channel_mask, PF_ChannelMask_ALPHA);
    EXPECT_EQ(layer.request.field, 2);
    EXPECT_EQ(layer.request.preserve_rgb_of_zero_alpha, 1);
    EXPECT_EQ(output.flags, 0x5);
    EXPECT_EQ(output.result_rect.right, 80);
    EXPECT_EQ(output.result_rect.bottom, 60);
    EXPECT_EQ(output.max_result_rect.left, -10);
    EXPECT_EQ(output.max_result_rect.top, -10);
    EXPECT_EQ(output.max_result_rect.right, 80);
    EXPECT_EQ(output.max_result_rect.bottom, 60);
}

TEST_F(SmartRenderTest, PreRenderChecksOutTheTextLayerAtItsOwnSize)
{
    host.params().resize(6);
    PF_ParamDef& text_layer = host.params()[5];
    text_layer.param_type = PF_Param_LAYER;
    text_layer.uu.id = 132;
    text_layer.u.ld.width = 30;
    text_layer.u.ld.height = 20;
    kyrox::set_param_index(132, 5);
    host.in_data().current_time = 48;
    host.in_data().time_step = 2;
    host.in_data().time_scale = 24;

    PF_PreRenderOutput output{};
    EXPECT_EQ(host.smart_pre_render(output, host.pre_render_input(8)), PF_Err_NONE);
    kyrox::set_param_index(132, 0);

    ASSERT_EQ(host.log().param_checkouts.size(), 1u);
    EXPECT_EQ(host.log().param_checkouts[0].index, 5);
    EXPECT_EQ(host.log().param_checkouts[0].what_time, 48);
    EXPECT_EQ(host.log().param_checkins, std::vector<PF_ParamIndex>{132});
    ASSERT_EQ(host.log().layer_checkouts.size(), 2u);
    const minihost::LayerCheckout& text = host.log().layer_checkouts[1];
    EXPECT_EQ(text.index, 5);
    EXPECT_EQ(text.checkout_id, 132);
    EXPECT_EQ(text.request.rect.right, 30);
    EXPECT_EQ(text.request.rect.bottom, 20);
    EXPECT_EQ(text.request.channel_mask, 15);
    EXPECT_EQ(text.request.field, 0);
    EXPECT_EQ(text.request.preserve_rgb_of_zero_alpha, 1);
    EXPECT_EQ(text.what_time, 48);
    EXPECT_EQ(text.time_step, 2);
    EXPECT_EQ(text.time_scale, 24u);
}

TEST_F(SmartRenderTest, PreRenderIgnoresCheckoutErrors)
{
    host.settings().pre_render_checkout_error = 3;
    PF_PreRenderOutput output{};
    EXPECT_EQ(host.smart_pre_render(output, host.pre_render_input(8)), PF_Err_NONE);
    EXPECT_EQ(host.log().layer_checkouts.size(), 2u);
}

}  // namespace
