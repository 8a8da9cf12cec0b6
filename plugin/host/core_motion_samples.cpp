#include "plugin/host/core_motion_samples.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "plugin/host/param_reading.h"
#include "plugin/host/param_ids.h"

namespace kyrox {

namespace {

constexpr std::int32_t motion_blur_on = 1;
constexpr std::int32_t motion_blur_composition = 3;

// Puts the input record's current time back however the sampling ends.
class TimeRestore {
public:
    explicit TimeRestore(PF_InData& in_data) : in_data_(in_data), t0_(in_data.current_time) {}
    ~TimeRestore() { in_data_.current_time = t0_; }
    TimeRestore(const TimeRestore&) = delete;
    TimeRestore& operator=(const TimeRestore&) = delete;

    A_long t0() const noexcept { return t0_; }

private:
    PF_InData& in_data_;
    A_long t0_;
};

struct Shutter {
    float multiplier = 0.0f;
    float phase = 0.0f;  // in turns
};

// t0 + trunc(L × (p + (u − 1) × m)), kept inside the host's time range.
A_long sample_time(A_long t0, float local_step, const Shutter& shutter, float u) noexcept
{
    const float offset = local_step * (shutter.phase + (u - 1.0f) * shutter.multiplier);
    const std::int64_t time = static_cast<std::int64_t>(t0) + truncate_to_i32(offset);
    return static_cast<A_long>(std::clamp<std::int64_t>(time, std::numeric_limits<A_long>::min(),
                                                        std::numeric_limits<A_long>::max()));
}

CoreSegment read_segment(const CommandContext& context)
{
    const PointValue end = get_point_param(context, param::core_end);
    const PointValue start = get_point_param(context, param::core_start);
    return {start.x, start.y, end.x, end.y};
}

float distance(float x0, float y0, float x1, float y1) noexcept
{
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

bool motion_blur_enabled(const CommandContext& context, suite_handler& suites, AEGP_LayerH layer, AEGP_CompH comp)
{
    const std::int32_t mode = get_popup_param(context, param::motion_blur);
    if (mode == motion_blur_on) {
        return true;
    }
    if (mode != motion_blur_composition) {
        return false;
    }
    AEGP_CompFlags comp_flags = AEGP_CompFlag_NONE;
    if (const AEGP_CompSuite* comp_suite = suites.comp_19(); comp_suite != nullptr && comp != nullptr) {
        comp_suite->AEGP_GetCompFlags(comp, &comp_flags);
    }
    AEGP_LayerFlags layer_flags = AEGP_LayerFlag_NONE;
    if (const AEGP_LayerSuite* layer_suite = suites.layer_12(); layer_suite != nullptr && layer != nullptr) {
        layer_suite->AEGP_GetLayerFlags(layer, &layer_flags);
    }
    return (layer_flags & comp_flags & AEGP_LayerFlag_MOTION_BLUR) != 0;
}

std::vector<CoreSegment> sample_core_segments(CommandContext& context, bool blur)
{
    PF_InData& in_data = *context.in_data;
    const TimeRestore restore(in_data);
    Shutter shutter;
    if (blur) {
        shutter.multiplier = get_float_param(context, param::motion_blur_multiplier);
        shutter.phase = get_float_param(context, param::motion_blur_phase) * 0.0027777778f;
    }
    // The clamp is given in full-resolution pixels; the points are in downsampled ones.
    const float clamp = get_float_param(context, param::motion_blur_clamp) /
                        static_cast<float>(downsample_factor(in_data.downsample_x));
    const float local_step = static_cast<float>(in_data.local_time_step);

    in_data.current_time = sample_time(restore.t0(), local_step, shutter, 0.0f);
    const CoreSegment opening = read_segment(context);
    in_data.current_time = sample_time(restore.t0(), local_step, shutter, 1.0f);
    const CoreSegment closing = read_segment(context);

    const float ds = distance(opening.start_x, opening.start_y, closing.start_x, closing.start_y);
    const float de = distance(opening.end_x, opening.end_y, closing.end_x, closing.end_y);
    const float steps = std::ceil(0.1f * std::max(ds, de));
    const float step = 1.0f / steps;  // infinite without movement: one sample at u = 0

    std::vector<CoreSegment> segments;
    for (float u = 0.0f; u < 1.0f + step / 2.0f; u += step) {
        in_data.current_time = sample_time(restore.t0(), local_step, shutter, u);
        CoreSegment sample = read_segment(context);
        if (ds < clamp) {
            sample.start_x = closing.start_x;
            sample.start_y = closing.start_y;
        }
        if (de < clamp) {
            sample.end_x = closing.end_x;
            sample.end_y = closing.end_y;
        }
        if (segments.empty() || !(segments.back() == sample)) {
            segments.push_back(sample);
        }
    }
    return segments;
}

}  // namespace kyrox
