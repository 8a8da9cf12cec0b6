#include "minihost/scene_setup.h"

#include <cmath>
#include <utility>

#include "minihost/effect_params.h"
#include "minihost/suite_traps.h"

namespace minihost {

void key_param(Host& host, A_long id, A_long time, const PF_ParamDef& value)
{
    const PF_ParamIndex index = host.param_state().index_of(id);
    if (index < 0) {
        host_fault("a keyframe for a parameter ID the effect never registered");
    }
    host.scene().set_keyframe(index, time, value);
}

void key_float(Host& host, A_long id, A_long time, double value)
{
    PF_ParamDef def = param_by_id(host, id);
    def.u.fs_d.value = value;
    key_param(host, id, time, def);
}

void key_point(Host& host, A_long id, A_long time, double x, double y)
{
    PF_ParamDef def = param_by_id(host, id);
    def.u.td.x_value = static_cast<PF_Fixed>(std::lround(x * 65536.0));
    def.u.td.y_value = static_cast<PF_Fixed>(std::lround(y * 65536.0));
    key_param(host, id, time, def);
}

CompLayer& choose_text_layer(Host& host, CompLayer layer)
{
    constexpr A_long text_layer_id = 132;
    CompLayer& added = host.scene().layers.emplace_back(std::move(layer));
    param_by_id(host, text_layer_id).u.ld = added.pixels.world();
    host.set_checkout_layer(text_layer_id, &added.pixels);
    return added;
}

std::size_t open_host_objects(Host& host)
{
    const SceneModel& scene = host.scene();
    return host.param_state().open_effects() + host.param_state().open_streams() + scene.open_masks() +
           scene.open_stream_values() + scene.open_text_outlines();
}

}  // namespace minihost
