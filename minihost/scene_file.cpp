#include "minihost/scene_file.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "minihost/effect_params.h"
#include "minihost/scene_setup.h"
#include "minihost/scene_values.h"
#include "minihost/text_glyphs.h"

namespace minihost {

namespace {

using nlohmann::json;

// 16.16 fixed point holds -32768 to just under 32768; the largest value rounds to the largest Fixed.
constexpr RealRange fixed_range{-32768.0, 32767.0 + 65535.0 / 65536.0};
// Mask vertices and text positions, in pixels: some thirty times the largest frame side, so that blends
// between keys and a line's pen stay finite and exact to far below a pixel.
constexpr RealRange position_range{-1.0e6, 1.0e6};
constexpr RealRange text_size_range{smallest_text_size, largest_text_size};
constexpr A_long largest_layer_side = 32768;

PF_Fixed fixed(const SceneValue& value)
{
    return static_cast<PF_Fixed>(std::lround(value.real(fixed_range) * 65536.0));
}

// The parameter's record with a scene value put in the field its kind uses.
PF_ParamDef with_value(PF_ParamDef def, const SceneValue& value)
{
    switch (def.param_type) {
    case PF_Param_FLOAT_SLIDER:
        def.u.fs_d.value = value.real();
        break;
    case PF_Param_POPUP:
        def.u.pd.value = value.whole<A_long>();
        break;
    case PF_Param_CHECKBOX:
        def.u.bd.value = value.boolean() ? 1 : 0;
        break;
    case PF_Param_ANGLE:
        def.u.ad.value = fixed(value);
        break;
    case PF_Param_POINT: {
        const std::vector<SceneValue> xy = value.elements(2);
        def.u.td.x_value = fixed(xy[0]);
        def.u.td.y_value = fixed(xy[1]);
        break;
    }
    case PF_Param_COLOR: {
        const std::vector<SceneValue> rgb = value.elements(3);
        def.u.cd.value = {255, rgb[0].whole<A_u_char>(), rgb[1].whole<A_u_char>(), rgb[2].whole<A_u_char>()};
        break;
    }
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

PF_RationalScale ratio(const SceneValue& value)
{
    const std::vector<SceneValue> parts = value.elements(2);
    return {parts[0].whole<A_long>(), parts[1].whole<A_u_long>()};
}

MaskShape mask_shape(const SceneValue& key, bool open)
{
    MaskShape shape;
    shape.open = open;
    for (const SceneValue& vertex : key.member("vertices").elements()) {
        const std::vector<SceneValue> v = vertex.elements(6);
        shape.vertices.push_back({v[0].real(position_range), v[1].real(position_range), v[2].real(position_range),
                                  v[3].real(position_range), v[4].real(position_range), v[5].real(position_range)});
    }
    return shape;
}

void load_masks(Host& host, const SceneValue& masks)
{
    for (const SceneValue& mask : masks.elements()) {
        AnimatedMask animated;
        const bool open = mask.boolean_or("open", false);
        for (const SceneValue& key : mask.member("keys").elements()) {
            animated.keys.push_back({key.whole_or<A_long>("time", 0), mask_shape(key, open)});
        }
        host.scene().masks.push_back(std::move(animated));
    }
}

void load_text(Host& host, const SceneValue& text)
{
    TextSetting setting;
    const std::optional<SceneValue> font = text.find("font");
    setting.font_file = font ? font->text() : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    setting.text = text.member("text").text();
    setting.pixel_size = text.real_or("size", 48.0, text_size_range);
    setting.baseline_x = text.real_or("x", 0.0, position_range);
    setting.baseline_y = text.real_or("y", setting.pixel_size, position_range);
    setting.width = text.whole_or<A_long>("width", host.in_data().width, 1, largest_layer_side);
    setting.height = text.whole_or<A_long>("height", host.in_data().height, 1, largest_layer_side);
    setting.bytes_per_channel = host.input_layer().bytes_per_channel();
    CompLayer layer = text_layer_from_font(setting);
    layer.id = text.whole_or<AEGP_LayerIDVal>("id", 1u);
    choose_text_layer(host, std::move(layer));
}

void load_time(PF_InData& in, const SceneValue& time)
{
    in.current_time = time.whole_or("current", in.current_time);
    in.time_step = time.whole_or("step", in.time_step);
    in.local_time_step = time.whole_or("local_step", in.local_time_step);
    in.time_scale = time.whole_or("scale", in.time_scale);
}

void load(Host& host, const SceneValue& scene, const std::string& path)
{
    PF_InData& in = host.in_data();
    if (const std::optional<SceneValue> time = scene.find("time")) {
        load_time(in, *time);
    }
    if (const std::optional<SceneValue> downsample = scene.find("downsample")) {
        in.downsample_x = ratio(*downsample);
        in.downsample_y = in.downsample_x;
    }
    if (const std::optional<SceneValue> pixel_aspect = scene.find("pixel_aspect")) {
        in.pixel_aspect_ratio = ratio(*pixel_aspect);
    }
    host.scene().layer_flags = scene.whole_or("layer_flags", host.scene().layer_flags);
    host.scene().comp_flags = scene.whole_or("comp_flags", host.scene().comp_flags);
    if (const std::optional<SceneValue> params = scene.find("params")) {
        for (const auto& [key, value] : params->members()) {
            PF_ParamDef& def = scene_param(host, path, key);
            def = with_value(def, value);
        }
    }
    if (const std::optional<SceneValue> keyframes = scene.find("keyframes")) {
        for (const SceneValue& key : keyframes->elements()) {
            const A_long id = key.member("id").whole<A_long>();
            PF_ParamDef& def = scene_param(host, path, std::to_string(id));
            key_param(host, id, key.member("time").whole<A_long>(), with_value(def, key.member("value")));
        }
    }
    if (const std::optional<SceneValue> masks = scene.find("masks")) {
        load_masks(host, *masks);
    }
    if (const std::optional<SceneValue> text = scene.find("text")) {
        load_text(host, *text);
    }
}

}  // namespace

void load_scene(Host& host, std::istream& file, const std::string& path)
{
    json scene;
    try {
        scene = json::parse(file);
    } catch (const json::exception& error) {
        throw std::runtime_error("the scene file " + path + " is not usable: " + error.what());
    }
    try {
        load(host, SceneValue(scene, ""), path);
    } catch (const SceneValueError& error) {
        throw std::runtime_error("the scene file " + path + " is not usable: " + error.what());
    }
}

void load_scene_file(Host& host, const std::string& path)
{
    std::ifstream file(path);
    if (!file) {
        throw std::runtime_error("cannot read the scene file " + path);
    }
    load_scene(host, file, path);
}

}  // namespace minihost
