#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "effect_host_fixture.h"
#include "minihost/scene_model.h"
#include "minihost/scene_setup.h"
#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/param_reading.h"
#include "plugin/host/scene_gather.h"

// The effect in the small host with a composition around it; gathers frames straight from the
// plug-in's scene code and checks that each gather gives back everything it took from the host.
class SceneTest : public EffectHostTest {
protected:
    kyrox::AePluginConnection& instance()
    {
        return **static_cast<kyrox::AePluginConnection**>(*host.in_data().global_data);
    }

    kyrox::SceneRecord gather()
    {
        PF_SmartRenderInput input{};
        input.bitdepth = 8;
        PF_SmartRenderExtra extra{&input, host.smart_render_callbacks()};
        kyrox::CommandContext context = command(&extra);
        instance().target.bytes_per_channel = 1;
        kyrox::SceneRecord scene;
        const A_long t0 = host.in_data().current_time;
        host.run_as_command([&] { scene = kyrox::gather_scene(instance(), context); });
        gather_error = context.error;
        EXPECT_EQ(host.in_data().current_time, t0);
        expect_all_returned();
        return scene;
    }

    kyrox::DistortionSettings distortion(std::int32_t base)
    {
        const kyrox::CommandContext context = command(nullptr);
        kyrox::DistortionSettings settings;
        host.run_as_command([&] { settings = kyrox::read_distortion_settings(context, base); });
        return settings;
    }

    void expect_all_returned()
    {
        EXPECT_EQ(minihost::open_host_objects(host), 0u);
        EXPECT_EQ(host.outstanding_suites(), 0u);
    }

    void set_float(A_long id, double value) { param(id).u.fs_d.value = value; }
    void set_popup(A_long id, A_long item) { param(id).u.pd.value = item; }
    void set_checkbox(A_long id, bool on) { param(id).u.bd.value = on ? 1 : 0; }
    void set_angle(A_long id, double degrees)
    {
        param(id).u.ad.value = static_cast<PF_Fixed>(std::lround(degrees * 65536.0));
    }
    void set_point(A_long id, double x, double y)
    {
        param(id).u.td.x_value = static_cast<PF_Fixed>(std::lround(x * 65536.0));
        param(id).u.td.y_value = static_cast<PF_Fixed>(std::lround(y * 65536.0));
    }
    void set_downsample(A_long num, A_u_long den)
    {
        host.in_data().downsample_x = {num, den};
        host.in_data().downsample_y = {num, den};
    }

    PF_Err gather_error = PF_Err_NONE;

private:
    kyrox::CommandContext command(void* extra)
    {
        kyrox::CommandContext context;
        context.in_data = &host.in_data();
        context.out_data = &host.out_data();
        context.extra = extra;
        return context;
    }
};

// Parameter IDs the scene tests set.
namespace ids {
inline constexpr A_long glow_color = 3, glow_intensity = 4, core_size = 5, core_start = 6, core_end = 7, end_offset = 8,
                        start_size = 10, end_size = 11, start_roundness = 13, end_roundness = 14,
                        flicker_intensity = 18, glow_1_size = 34, glow_1_intensity = 35, glow_2_intensity = 37,
                        glow_3_intensity = 39, glow_4_intensity = 41, glow_4_size = 40, motion_blur = 51,
                        composite_settings = 52, alpha_mode = 57, glow_size_multiplier = 61,
                        glow_intensity_multiplier = 62, motion_blur_multiplier = 71, motion_blur_phase = 72,
                        glow_spread = 73, halo_intensity = 77, halo_size = 78, composite = 130, enable_glow = 99,
                        core_type = 109, start_offset = 111, offset_size = 118, mask_evolution = 119, random_seed = 120,
                        motion_blur_clamp = 121, glow_bias = 123, text_layer = 132, use_text_alpha = 133,
                        alpha_boost = 74, gamma = 105, brightness = 108, saturation = 115;
}  // namespace ids
