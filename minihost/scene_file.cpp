#include "minihost/scene_file.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "minihost/param_state.h"
#include "minihost/text_glyphs.h"

namespace minihost {

namespace {

using nlohmann::json;

PF_Fixed fixed(double value)
{
    return static_cast<PF_Fixed>(std::lround(value * 65536.0));
}

// The parameter's record with a JSON value put in the field its kind uses.
PF_ParamDef with_value(PF_ParamDef def, const json& value)
{
    switch (def.param_type) {
    case PF_Param_FLOAT_SLIDER:
        def.u.fs_d.value = value.get<double>();
        break;
    case PF_Param_POPUP:
        def.u.pd.value = value.get<A_long>();
        break;
    case PF_Param_CHECKBOX:
        def.u.bd.value = value.get<bool>() ? 1 : 0;
        break;
    case PF_Param_ANGLE:
        def.u.ad.value = fixed(value.get<double>());
        break;
    case PF_Param_POINT:
        def.u.td.x_value = fixed(value.at(0).get<double>());
        def.u.td.y_value = fixed(value.at(1).get<double>());
        break;
    case PF_Param_COLOR:
        def.u.cd.value = {255, value.at(0).get<A_u_char>(), value.at(1).get<A_u_char>(), value.at(2).get<A_u_char>()};
        break;
    default:
        throw std::runtime_error("a scene file sets a parameter of a kind it cannot describe");
    }
    return def;
}

// The parameter a scene file names by its ID, or std::runtime_error naming the key.
PF_ParamDef& scene_param(Host& host, const std::string& path, const std::string& key)
{
    A_long id = 0;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), id);
    if (key.empty() || error != std::errc{} || end != key.data() + key.size()) {
        throw std::runtime_error("the scene file " + path + " names the parameter \"" + key +
                                 "\": parameters are named by their numeric ID (see --list-params)");
    }
    if (!has_param(host, id)) {
        throw std::runtime_error("the scene file " + path + " names parameter ID " + key +
                                 ", which the effect does not have (see --list-params)");
    }
    return param_by_id(host, id);
}

MaskShape mask_shape(const json& key, bool open)
{
    MaskShape shape;
    shape.open = open;
    for (const json& v : key.at("vertices")) {
        shape.vertices.push_back({v.at(0).get<double>(), v.at(1).get<double>(), v.at(2).get<double>(),
                                  v.at(3).get<double>(), v.at(4).get<double>(), v.at(5).get<double>()});
    }
    return shape;
}

void load_masks(Host& host, const json& masks)
{
    for (const json& mask : masks) {
        AnimatedMask animated;
        const bool open = mask.value("open", false);
        for (const json& key : mask.at("keys")) {
            animated.keys.push_back({key.value("time", 0), mask_shape(key, open)});
        }
        host.scene().masks.push_back(std::move(animated));
    }
}

void load_text(Host& host, const json& text)
{
    TextSetting setting;
    setting.font_file = text.value("font", std::string("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    setting.text = text.at("text").get<std::string>();
    setting.pixel_size = text.value("size", 48.0);
    setting.baseline_x = text.value("x", 0.0);
    setting.baseline_y = text.value("y", setting.pixel_size);
    setting.width = text.value("width", host.in_data().width);
    setting.height = text.value("height", host.in_data().height);
    setting.bytes_per_channel = host.input_layer().bytes_per_channel();
    CompLayer layer = text_layer_from_font(setting);
    layer.id = text.value("id", 1u);
    choose_text_layer(host, std::move(layer));
}

}  // namespace

void load_scene_file(Host& host, const std::string& path)
{
    std::ifstream file(path);
    if (!file) {
        throw std::runtime_error("cannot read the scene file " + path);
    }
    try {
        const json scene = json::parse(file);
        PF_InData& in = host.in_data();
        if (const auto time = scene.find("time"); time != scene.end()) {
            in.current_time = time->value("current", in.current_time);
            in.time_step = time->value("step", in.time_step);
            in.local_time_step = time->value("local_step", in.local_time_step);
            in.time_scale = time->value("scale", in.time_scale);
        }
        if (const auto ratio = scene.find("downsample"); ratio != scene.end()) {
            in.downsample_x = {ratio->at(0).get<A_long>(), ratio->at(1).get<A_u_long>()};
            in.downsample_y = in.downsample_x;
        }
        if (const auto ratio = scene.find("pixel_aspect"); ratio != scene.end()) {
            in.pixel_aspect_ratio = {ratio->at(0).get<A_long>(), ratio->at(1).get<A_u_long>()};
        }
        host.scene().layer_flags = scene.value("layer_flags", host.scene().layer_flags);
        host.scene().comp_flags = scene.value("comp_flags", host.scene().comp_flags);
        const json params = scene.value("params", json::object());
        for (const auto& [key, value] : params.items()) {
            PF_ParamDef& def = scene_param(host, path, key);
            def = with_value(def, value);
        }
        for (const json& key : scene.value("keyframes", json::array())) {
            const A_long id = key.at("id").get<A_long>();
            PF_ParamDef& def = scene_param(host, path, std::to_string(id));
            key_param(host, id, key.at("time").get<A_long>(), with_value(def, key.at("value")));
        }
        load_masks(host, scene.value("masks", json::array()));
        if (const auto text = scene.find("text"); text != scene.end()) {
            load_text(host, *text);
        }
    } catch (const json::exception& error) {
        throw std::runtime_error("the scene file " + path + " is not usable: " + error.what());
    }
}

}  // namespace minihost
