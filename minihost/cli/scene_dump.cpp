#include "minihost/cli/scene_dump.h"

#include <span>

namespace minihost {

namespace {

void print_floats(std::ostream& out, const char* name, std::span<const float> values)
{
    out << "  " << name << ":";
    for (const float v : values) {
        out << " " << v;
    }
    out << "\n";
}

void print_point(std::ostream& out, const kyrox::PathPoint& p)
{
    out << "(" << p.x << ", " << p.y << ", half width " << p.half_width << ", cap " << p.cap_length << ")";
}

void print_distortion(std::ostream& out, const char* name, const kyrox::DistortionSettings& s)
{
    out << name << ":\n"
        << "  noise speed " << s.noise_speed << ", wind speed " << s.wind_speed << ", wind direction "
        << s.wind_direction << ", noise scale " << s.noise_scale << "\n"
        << "  complexity " << s.noise_complexity << ", type " << static_cast<int>(s.distortion_type) << ", composite "
        << static_cast<int>(s.distortion_composite) << ", amount " << s.distortion_amount << ", aspect "
        << s.noise_aspect_ratio << "\n"
        << "  motion blur " << s.distortion_motion_blur << ", bias " << s.noise_bias << ", origin ("
        << s.noise_origin[0] << ", " << s.noise_origin[1] << "), lock " << s.lock_to_blade << ", invert "
        << s.invert_distortion << ", seed " << s.distortion_seed << "\n";
}

}  // namespace

void print_scene(std::ostream& out, const kyrox::SceneRecord& scene, const kyrox::DistortionSettings& glow,
                 const kyrox::DistortionSettings& core)
{
    out << "Scene:\n";
    print_floats(out, "glow colour", scene.glow_color);
    out << "  core segments: " << scene.core_segments.size() << "\n";
    for (const kyrox::CoreSegment& s : scene.core_segments) {
        out << "    (" << s.start_x << ", " << s.start_y << ") -> (" << s.end_x << ", " << s.end_y << ")\n";
    }
    out << "  text view: " << scene.text_view.width << " x " << scene.text_view.height << ", row bytes "
        << scene.text_view.row_bytes << ", " << (scene.text_view.data != nullptr ? "pixels" : "no pixels") << "\n"
        << "  core size " << scene.core_size << ", start size " << scene.start_size << ", end size " << scene.end_size
        << ", start roundness " << scene.start_roundness << ", end roundness " << scene.end_roundness << "\n"
        << "  start offset " << scene.start_offset << ", end offset " << scene.end_offset << ", core softness "
        << scene.core_softness << "\n"
        << "  flicker speed " << scene.flicker_speed << ", flicker amount " << scene.flicker_amount << ", random seed "
        << scene.random_seed << "\n";
    print_floats(out, "glow intensity", scene.glow_intensity);
    print_floats(out, "glow size", scene.glow_size);
    print_floats(out, "glow level weights", scene.glow_level_weights);
    out << "  glow pre gamma " << scene.glow_pre_gamma << ", alpha boost " << scene.alpha_boost << ", gamma "
        << scene.gamma << ", brightness " << scene.brightness << ", saturation " << scene.saturation << "\n"
        << "  mask randomization " << scene.mask_randomization << ", composite mode "
        << static_cast<int>(scene.composite_mode) << ", blend on top " << scene.blend_on_top << "\n"
        << "  mask glow " << scene.mask_glow << ", not mask core " << scene.not_mask_core << ", mask all "
        << scene.mask_all << ", invert masks " << scene.invert_masks << "\n"
        << "  paths: " << scene.paths.size() << "\n";
    for (const auto& piece : scene.paths) {
        out << "    " << piece.size() << " points";
        if (!piece.empty()) {
            out << " from ";
            print_point(out, piece.front());
            out << " to ";
            print_point(out, piece.back());
        }
        out << "\n";
    }
    print_distortion(out, "Glow distortion", glow);
    print_distortion(out, "Core distortion", core);
}

}  // namespace minihost
