#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "minihost/frame_session.h"
#include "minihost/effect_params.h"
#include "minihost/plugin_module.h"

// Whatever grading values a host sends (scripts and expressions can bypass the sliders), every
// output channel is a number the depth can hold: float output never carries NaN or infinity, nor a
// value too large for the half floats of an OpenEXR file.
namespace {

constexpr A_long brightness_id = 108;
constexpr A_long gamma_id = 105;
constexpr A_long saturation_id = 115;
constexpr A_long alpha_boost_id = 74;
constexpr A_long composite_settings_id = 52;
constexpr A_long composite_black = 2;
constexpr A_long composite_add = 3;
constexpr float largest_half = 65504.0f;

struct ChannelSpan {
    float least = 0.0f;
    float most = 0.0f;
    bool all_finite = true;
};

ChannelSpan channel_span(const minihost::HostWorld& output)
{
    ChannelSpan span;
    for (A_long y = 0; y < output.height(); ++y) {
        for (A_long x = 0; x < output.width(); ++x) {
            for (int c = 0; c < 4; ++c) {
                const float v = output.channel(x, y, c);
                span.all_finite = span.all_finite && std::isfinite(v);
                span.least = std::min(span.least, v);
                span.most = std::max(span.most, v);
            }
        }
    }
    return span;
}

TEST(FiniteOutput, AnyGradingValueGivesChannelsInTheDepthsRange)
{
    const minihost::PluginModule module(KYROX_PLUGIN_PATH);
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {std::numeric_limits<double>::quiet_NaN(), inf, -inf, 1e30, -1e30};
    for (const int bytes_per_channel : {1, 2, 4}) {
        minihost::SessionSettings settings;
        settings.width = 60;
        settings.height = 20;
        settings.bytes_per_channel = bytes_per_channel;
        settings.frame_count = 2;
        minihost::FrameSession session(module.entry(), settings);
        // Add mode mixes the input layer into the colour; Black stores the ramp colour alone.
        session.host().input_layer().fill(1.0f, 0.5f, 0.8f, 1.0f);
        const float highest = bytes_per_channel == 4 ? largest_half : 1.0f;
        for (const A_long composite : {composite_black, composite_add}) {
            minihost::param_by_id(session.host(), composite_settings_id).u.pd.value = composite;
            for (const A_long id : {gamma_id, brightness_id, saturation_id, alpha_boost_id}) {
                PF_ParamDef& param = minihost::param_by_id(session.host(), id);
                const double kept = param.u.fs_d.value;
                for (const double value : values) {
                    param.u.fs_d.value = value;
                    ASSERT_EQ(session.render(1), PF_Err_NONE);
                    const ChannelSpan span = channel_span(session.output());
                    EXPECT_TRUE(span.all_finite && span.least >= 0.0f && span.most <= highest)
                        << "depth " << bytes_per_channel * 8 << ", composite " << composite << ", parameter " << id
                        << " = " << value << ": channels from " << span.least << " to " << span.most;
                }
                param.u.fs_d.value = kept;
            }
        }
    }
}

}  // namespace
