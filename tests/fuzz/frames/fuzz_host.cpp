#include "tests/fuzz/frames/fuzz_host.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>

#include "minihost/effect_params.h"
#include "minihost/output_capture.h"
#include "minihost/param_state.h"
#include "minihost/scene_setup.h"
#include "plugin/host/command_dispatch.h"
#include "plugin/host/param_ids.h"

namespace kyrox::fuzz {

namespace {

// A square glyph, so that the text core type has an outline to follow.
minihost::CompLayer square_glyph_layer()
{
    minihost::CompLayer layer;
    layer.id = 7;
    minihost::TextPath glyph;
    for (const auto& [x, y] : {std::pair{4.0, 4.0}, {12.0, 4.0}, {12.0, 12.0}, {4.0, 12.0}}) {
        glyph.vertices.push_back({x, y, x, y, x, y});
    }
    layer.outlines.push_back(glyph);
    layer.pixels = minihost::HostWorld(16, 16, 1);
    return layer;
}

const std::byte* row_of(const PF_EffectWorld& world, A_long y)
{
    return static_cast<const std::byte*>(static_cast<const void*>(world.data)) +
           static_cast<std::ptrdiff_t>(y) * world.rowbytes;
}

}  // namespace

FuzzHost::FuzzHost() : host_(&kyrox::plugin_entry)
{
    {
        minihost::StderrCapture banner;  // the start-up banner is the plug-in's, and per-input output is noise
        host_.global_setup();
    }
    host_.params_setup();
    defaults_ = host_.params();
    in_defaults_ = host_.in_data();
    host_.scene().layers.push_back(square_glyph_layer());
    text_layer_ = &host_.scene().layers.back();
}

FuzzHost::~FuzzHost()
{
    host_.global_setdown();
}

PF_ParamDef& FuzzHost::param(A_long id)
{
    return minihost::param_by_id(host_, id);
}

const PF_ParamDef& FuzzHost::default_param(A_long id)
{
    return defaults_.at(static_cast<std::size_t>(host_.param_state().index_of(id)));
}

void FuzzHost::reset()
{
    host_.params() = defaults_;
    host_.log().clear();
    host_.param_state().ui_updates.clear();
    host_.set_checkout_layer(param::text_layer, nullptr);
    minihost::SceneModel& scene = host_.scene();
    scene.masks.clear();
    scene.layer_flags = AEGP_LayerFlag_NONE;
    scene.comp_flags = AEGP_CompFlag_NONE;
    host_.in_data() = in_defaults_;
    for (const A_long id : {param::core_start, param::core_end}) {
        const FixedPoint point{param(id).u.td.x_value, param(id).u.td.y_value};
        key_point(id, point, point);
    }
}

void FuzzHost::key_point(A_long id, FixedPoint opening, FixedPoint closing)
{
    PF_ParamDef def = param(id);
    for (const auto& [time, point] : {std::pair{A_long{0}, opening}, {A_long{1}, closing}}) {
        def.u.td.x_value = point.x;
        def.u.td.y_value = point.y;
        minihost::key_param(host_, id, time, def);
    }
}

void FuzzHost::choose_text_layer(A_long width, A_long height, int bytes_per_channel)
{
    text_layer_->pixels = minihost::HostWorld(width, height, bytes_per_channel);
    text_layer_->pixels.fill(1.0f, 1.0f, 1.0f, 1.0f);
    param(param::text_layer).u.ld = text_layer_->pixels.world();
    host_.set_checkout_layer(param::text_layer, &text_layer_->pixels);
}

PF_Err FuzzHost::render(const FrameShape& shape, const float (&input_argb)[4])
{
    const auto bitdepth = static_cast<A_short>(shape.bytes_per_channel * 8);
    host_.in_data().downsample_x = {1, static_cast<A_u_long>(shape.downsample)};
    host_.in_data().downsample_y = host_.in_data().downsample_x;
    host_.set_frame(shape.width, shape.height, shape.bytes_per_channel);
    host_.input_layer().fill(input_argb[0], input_argb[1], input_argb[2], input_argb[3]);
    PF_PreRenderOutput pre_render{};
    if (const PF_Err error = host_.smart_pre_render(pre_render, host_.pre_render_input(bitdepth));
        error != PF_Err_NONE) {
        return error;
    }
    return host_.smart_render(bitdepth);
}

bool FuzzHost::output_finite()
{
    const minihost::HostWorld& out = host_.output();
    if (out.bytes_per_channel() != 4) {
        return true;
    }
    for (A_long y = 0; y < out.height(); ++y) {
        const std::byte* row = row_of(out.world(), y);
        for (std::size_t k = 0; k < static_cast<std::size_t>(out.width()) * 4; ++k) {
            float v;
            std::memcpy(&v, row + k * sizeof v, sizeof v);
            if (!std::isfinite(v)) {
                return false;
            }
        }
    }
    return true;
}

std::uint64_t FuzzHost::output_digest()
{
    const minihost::HostWorld& out = host_.output();
    const auto row_bytes =
        static_cast<std::size_t>(out.width()) * 4 * static_cast<std::size_t>(out.bytes_per_channel());
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (A_long y = 0; y < out.height(); ++y) {
        const std::byte* row = row_of(out.world(), y);
        for (std::size_t b = 0; b < row_bytes; ++b) {
            hash = (hash ^ static_cast<std::uint64_t>(row[b])) * 0x100000001b3u;
        }
    }
    return hash;
}

FuzzHost& fuzz_host()
{
    static FuzzHost host;
    return host;
}

}  // namespace kyrox::fuzz
