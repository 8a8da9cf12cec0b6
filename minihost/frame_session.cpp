#include "minihost/frame_session.h"

#include <algorithm>
#include <stdexcept>

#include "minihost/effect_params.h"
#include "minihost/name_suggestions.h"
#include "minihost/output_capture.h"
#include "minihost/scene_setup.h"

namespace minihost {
namespace {

constexpr A_long core_start_id = 6;
constexpr A_long core_end_id = 7;
constexpr A_u_long frames_per_second = 24;

void check(PF_Err error, const char* what)
{
    if (error != PF_Err_NONE) {
        throw std::runtime_error(std::string(what) + " failed with host error " + std::to_string(error));
    }
}

}  // namespace

FrameSession::FrameSession(PF_EntryPointFunc entry, const SessionSettings& settings)
    : host_(entry),
      setup_(host_),  // the start-up banner is the plug-in's, not ours: dropped
      bitdepth_(static_cast<A_short>(settings.bytes_per_channel * 8)),
      width_(std::max<A_long>(settings.width / settings.downsample, 1)),
      height_(std::max<A_long>(settings.height / settings.downsample, 1))
{
    check(setup_.error(), "global set-up");
    prepare(settings);
}

void FrameSession::prepare(const SessionSettings& settings)
{
    check(host_.params_setup(), "parameter set-up");
    PF_Err error = PF_Err_NONE;
    if (!choose_preset(host_, settings.preset, error)) {
        throw UnknownPreset(settings.preset, preset_names(host_));
    }
    check(error, "applying the preset");

    PF_InData& in = host_.in_data();
    in.time_scale = frames_per_second;
    in.time_step = 1;
    in.local_time_step = 1;
    in.downsample_x = {1, static_cast<A_u_long>(settings.downsample)};
    in.downsample_y = in.downsample_x;
    host_.set_frame(width_, height_, settings.bytes_per_channel);
    host_.input_layer().fill(1.0f, 0.0f, 0.0f, 0.0f);

    // Point parameters are in pixels of the downsampled frame.
    const double sx = static_cast<double>(settings.width) / settings.downsample;
    const double sy = static_cast<double>(settings.height) / settings.downsample;
    const BladeMotion& b = settings.blade;
    const A_long last = std::max<A_long>(settings.frame_count - 1, 0);
    key_point(host_, core_start_id, 0, b.start_x * sx, b.start_y * sy);
    key_point(host_, core_end_id, 0, b.first_end_x * sx, b.first_end_y * sy);
    key_point(host_, core_end_id, std::max<A_long>(last, 1), b.last_end_x * sx, b.last_end_y * sy);
}

PF_Err FrameSession::render(A_long frame)
{
    // The log holds the latest frame's calls only: over a long sequence it would grow without end.
    host_.log().clear();
    host_.in_data().current_time = frame;
    PF_PreRenderOutput pre_render{};
    const PF_Err pre_error = host_.smart_pre_render(pre_render, host_.pre_render_input(bitdepth_));
    if (pre_error != PF_Err_NONE) {
        return pre_error;
    }
    const DebugOutputCapture timing;  // the plug-in's timing line stays out of the caller's output
    return host_.smart_render(bitdepth_);
}

}  // namespace minihost
