#pragma once

#include <cstdint>

#include "plugin/render/render_inputs.h"
#include "plugin/render/pixels/color_ramp.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/worker_pool.h"

// The last stage of a frame: one intensity per plane cell, looked up in the frame ramp, graded,
// composited and stored into the output at the depth of Channel (std::uint8_t, std::uint16_t or
// float). Index = plane row; rows and columns whose output pixel lies outside the output are not
// written. Input and text pixels that do not exist count as transparent. Both jobs return true.
namespace kyrox {

// The planes a glow frame colourises.
struct ColorizePlanes {
    const FloatPlane& glow;
    const FloatPlane& halo;
    const FloatPlane& distorted_halo;
    const FloatPlane& core;
};

// A glow frame: the glow (masked by the layer when the scene masks the glow) screened with the
// halo (the core-distorted halo when the core is distorted), then with the core when the scene
// blends it on top of a distorted core. source's width bounds the columns.
template <class Channel>
bool colorize_job(const ThreadWorkData& work, const FrameTarget& target, const FloatPlane& source,
                  const ColorizePlanes& planes, const SceneRecord& scene, const DistortionSettings& core_distortion,
                  const ColorRamp& ramp);

// A frame without glow: the core plane alone. Transparent mode writes white at the ramp's alpha,
// Black mode the ramp's colour opaque.
template <class Channel>
bool write_output_job(const ThreadWorkData& work, const FrameTarget& target, const FloatPlane& source,
                      const FloatPlane& core, const SceneRecord& scene, const ColorRamp& ramp);

// Instantiated once per depth in output_jobs.cpp.
extern template bool colorize_job<std::uint8_t>(const ThreadWorkData&, const FrameTarget&, const FloatPlane&,
                                                const ColorizePlanes&, const SceneRecord&, const DistortionSettings&,
                                                const ColorRamp&);
extern template bool colorize_job<std::uint16_t>(const ThreadWorkData&, const FrameTarget&, const FloatPlane&,
                                                 const ColorizePlanes&, const SceneRecord&, const DistortionSettings&,
                                                 const ColorRamp&);
extern template bool colorize_job<float>(const ThreadWorkData&, const FrameTarget&, const FloatPlane&,
                                         const ColorizePlanes&, const SceneRecord&, const DistortionSettings&,
                                         const ColorRamp&);
extern template bool write_output_job<std::uint8_t>(const ThreadWorkData&, const FrameTarget&, const FloatPlane&,
                                                    const FloatPlane&, const SceneRecord&, const ColorRamp&);
extern template bool write_output_job<std::uint16_t>(const ThreadWorkData&, const FrameTarget&, const FloatPlane&,
                                                     const FloatPlane&, const SceneRecord&, const ColorRamp&);
extern template bool write_output_job<float>(const ThreadWorkData&, const FrameTarget&, const FloatPlane&,
                                             const FloatPlane&, const SceneRecord&, const ColorRamp&);

}  // namespace kyrox
