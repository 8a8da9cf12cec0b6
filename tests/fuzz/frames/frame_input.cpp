#include "tests/fuzz/frames/frame_input.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <sstream>

#include "plugin/host/param_table.h"
#include "tests/fuzz/frames/fuzz_host.h"

namespace kyrox::fuzz {

namespace {

constexpr A_long largest_side = 96;
constexpr double inf = std::numeric_limits<double>::infinity();

// Slider values a script or an expression can send past the sliders' ranges.
constexpr std::array<double, 16> extreme_values = {
    std::numeric_limits<double>::quiet_NaN(),
    inf,
    -inf,
    1e38,
    -1e38,
    3.5e38,  // past the largest float
    1e300,
    -1e300,
    -0.0,
    1e-45,
    std::numeric_limits<double>::denorm_min(),
    -1.0,
    1e6,
    -1e6,
    4e9,  // past the 32-bit integers
    -4e9,
};

struct FrameSetup {
    FrameShape shape;
    float input_argb[4] = {};
};

// Four choices per value: 0 (also what an exhausted input reads) keeps the default, 1 a value in the
// parameter's own range, 2 and 3 values no slider or popup gives.
enum class Pick : std::uint8_t { keep, in_range, extreme, raw };

Pick pick_of(FuzzedDataProvider& in)
{
    return static_cast<Pick>(in.ConsumeIntegral<std::uint8_t>() & 3);
}

PF_Fixed fixed_of(double pixels)
{
    return static_cast<PF_Fixed>(pixels * 65536.0);
}

FixedPoint point_in(FuzzedDataProvider& in, Pick pick, const FrameShape& shape)
{
    if (pick == Pick::raw) {
        const PF_Fixed x = in.ConsumeIntegral<PF_Fixed>();
        return {x, in.ConsumeIntegral<PF_Fixed>()};
    }
    // In range: inside the frame; extreme: up to four frames away on each side.
    const double reach = pick == Pick::in_range ? 1.0 : 9.0;
    const double offset = pick == Pick::in_range ? 0.0 : -4.0;
    const double fx = offset + reach * in.ConsumeProbability<double>();
    const double fy = offset + reach * in.ConsumeProbability<double>();
    return {fixed_of(fx * shape.width), fixed_of(fy * shape.height)};
}

void decode_float(FuzzedDataProvider& in, Pick pick, const ParamEntry& entry, PF_ParamDef& param)
{
    switch (pick) {
    case Pick::keep:
        break;
    case Pick::in_range:
        param.u.fs_d.value = static_cast<double>(entry.valid_min) +
                             (static_cast<double>(entry.valid_max) - static_cast<double>(entry.valid_min)) *
                                 in.ConsumeProbability<double>();
        break;
    case Pick::extreme:
        param.u.fs_d.value = in.PickValueInArray(extreme_values);
        break;
    case Pick::raw:
        param.u.fs_d.value = std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>());
        break;
    }
}

void decode_popup(FuzzedDataProvider& in, Pick pick, const ParamEntry& entry, PF_ParamDef& param)
{
    const std::int32_t choices = popup_choice_count(entry.items);
    switch (pick) {
    case Pick::keep:
        break;
    case Pick::in_range:
        param.u.pd.value = in.ConsumeIntegralInRange<std::int32_t>(1, choices);
        break;
    case Pick::extreme:
        param.u.pd.value = in.ConsumeIntegralInRange<std::int32_t>(-2, choices + 3);
        break;
    case Pick::raw:
        param.u.pd.value = in.ConsumeIntegral<std::int32_t>();
        break;
    }
}

void decode_param(FuzzedDataProvider& in, FuzzHost& host, const ParamEntry& entry, const FrameShape& shape)
{
    const Pick pick = pick_of(in);
    PF_ParamDef& param = host.param(entry.id);
    switch (entry.kind) {
    case ParamKind::float_slider:
        decode_float(in, pick, entry, param);
        break;
    case ParamKind::popup:
        decode_popup(in, pick, entry, param);
        break;
    case ParamKind::checkbox:
        if (pick == Pick::in_range) {
            param.u.bd.value = in.ConsumeBool() ? 1 : 0;
        } else if (pick != Pick::keep) {
            param.u.bd.value = in.ConsumeIntegral<std::int32_t>();
        }
        break;
    case ParamKind::colour:
        if (pick != Pick::keep) {
            param.u.cd.value = {in.ConsumeIntegral<A_u_char>(), in.ConsumeIntegral<A_u_char>(),
                                in.ConsumeIntegral<A_u_char>(), in.ConsumeIntegral<A_u_char>()};
        }
        break;
    case ParamKind::angle:
        if (pick == Pick::in_range) {
            param.u.ad.value = in.ConsumeIntegralInRange<PF_Fixed>(-720 * 65536, 720 * 65536);
        } else if (pick != Pick::keep) {
            param.u.ad.value = in.ConsumeIntegral<PF_Fixed>();
        }
        break;
    case ParamKind::point:
        // Opening and closing of the shutter: a moving point gives the blade motion blur.
        if (pick != Pick::keep) {
            const FixedPoint opening = point_in(in, pick, shape);
            const FixedPoint closing = in.ConsumeBool() ? point_in(in, pick, shape) : opening;
            host.key_point(entry.id, opening, closing);
        }
        break;
    case ParamKind::layer:
        if (pick != Pick::keep) {
            const auto width = in.ConsumeIntegralInRange<A_long>(1, largest_side);
            host.choose_text_layer(width, in.ConsumeIntegralInRange<A_long>(1, largest_side), shape.bytes_per_channel);
        }
        break;
    case ParamKind::group_start:
    case ParamKind::group_end:
        break;
    }
}

// Up to two masks of up to six vertices around the frame, each keyed at the shutter's two ends.
void decode_masks(FuzzedDataProvider& in, FuzzHost& host, const FrameShape& shape)
{
    const auto coordinate = [&](A_long side) { return (in.ConsumeProbability<double>() * 3.0 - 1.0) * side; };
    const auto count = in.ConsumeIntegralInRange<int>(0, 2);
    for (int m = 0; m < count; ++m) {
        minihost::AnimatedMask mask;
        const auto vertices = in.ConsumeIntegralInRange<int>(0, 6);
        const bool open = in.ConsumeBool();
        for (const A_long time : {0, 1}) {
            minihost::MaskShape outline;
            outline.open = open;
            for (int v = 0; v < vertices; ++v) {
                outline.vertices.push_back({coordinate(shape.width), coordinate(shape.height),
                                            coordinate(shape.width) * 0.25, coordinate(shape.height) * 0.25,
                                            coordinate(shape.width) * 0.25, coordinate(shape.height) * 0.25});
            }
            mask.keys.emplace_back(time, std::move(outline));
        }
        host.host().scene().masks.push_back(std::move(mask));
    }
}

FrameSetup decode(std::span<const std::uint8_t> data, FuzzHost& host)
{
    FuzzedDataProvider in(data.data(), data.size());
    host.reset();
    FrameSetup setup;
    setup.shape.width = in.ConsumeIntegralInRange<A_long>(1, largest_side);
    setup.shape.height = in.ConsumeIntegralInRange<A_long>(1, largest_side);
    setup.shape.bytes_per_channel = std::array{1, 2, 4}[in.ConsumeIntegralInRange<std::size_t>(0, 2)];
    setup.shape.downsample = in.ConsumeIntegralInRange<int>(1, 4);
    for (float& channel : setup.input_argb) {
        channel = static_cast<float>(in.ConsumeIntegral<std::uint8_t>()) / 255.0f;
    }
    PF_InData& in_data = host.host().in_data();
    in_data.current_time = in.ConsumeIntegralInRange<A_long>(0, 2);
    in_data.local_time_step = in.ConsumeIntegralInRange<A_long>(-2, 4);
    in_data.pixel_aspect_ratio = {in.ConsumeIntegralInRange<A_long>(-1, 3), in.ConsumeIntegralInRange<A_u_long>(0, 3)};
    minihost::SceneModel& scene = host.host().scene();
    scene.layer_flags = in.ConsumeBool() ? AEGP_LayerFlag_MOTION_BLUR : AEGP_LayerFlag_NONE;
    scene.comp_flags = in.ConsumeBool() ? AEGP_CompFlag_ENABLE_MOTION_BLUR : AEGP_CompFlag_NONE;
    decode_masks(in, host, setup.shape);
    for (const ParamEntry& entry : param_table) {
        decode_param(in, host, entry, setup.shape);
    }
    return setup;
}

}  // namespace

FrameOutcome render_frame_input(std::span<const std::uint8_t> data)
{
    FuzzHost& host = fuzz_host();
    const FrameSetup setup = decode(data, host);
    FrameOutcome outcome;
    outcome.error = host.render(setup.shape, setup.input_argb);
    outcome.finite = host.output_finite();
    outcome.digest = host.output_digest();
    return outcome;
}

std::string describe_frame_input(std::span<const std::uint8_t> data)
{
    FuzzHost& host = fuzz_host();
    const FrameSetup setup = decode(data, host);
    const PF_InData& in_data = host.host().in_data();
    std::ostringstream text;
    text << setup.shape.width << "x" << setup.shape.height << " depth " << setup.shape.bytes_per_channel * 8
         << " downsample " << setup.shape.downsample << " time " << in_data.current_time << " masks "
         << host.host().scene().masks.size();
    for (const ParamEntry& entry : param_table) {
        const PF_ParamDef& now = host.param(entry.id);
        if (entry.kind == ParamKind::point) {
            const PF_ParamIndex index = host.host().param_state().index_of(entry.id);
            text << "; " << entry.id << " " << entry.name << " =";
            for (const A_long time : {0, 1}) {
                PF_ParamDef keyed = now;
                host.host().scene().animate(index, time, keyed);
                text << " (" << keyed.u.td.x_value << ", " << keyed.u.td.y_value << ")";
            }
            continue;
        }
        if (std::memcmp(&now.u, &host.default_param(entry.id).u, sizeof now.u) == 0) {
            continue;
        }
        text << "; " << entry.id << " " << entry.name << " = ";
        switch (entry.kind) {
        case ParamKind::float_slider:
            text << now.u.fs_d.value;
            break;
        case ParamKind::colour:
            text << int{now.u.cd.value.alpha} << "," << int{now.u.cd.value.red} << "," << int{now.u.cd.value.green}
                 << "," << int{now.u.cd.value.blue};
            break;
        default:
            text << now.u.pd.value;  // popups, checkboxes and angles lead with their 32-bit value
            break;
        }
    }
    return text.str();
}

}  // namespace kyrox::fuzz
