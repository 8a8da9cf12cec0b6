#pragma once

#include <cstdint>
#include <span>

#include "plugin/render/render_inputs.h"
#include "plugin/render/pixels/color_ramp.h"

namespace kyrox {

// Draws one frame of the blade into the target's output buffer, whose pixels have the channel type
// Channel (std::uint8_t, std::uint16_t or float). Every stage runs on the process-wide worker pool;
// the call returns when all of them are done, also when it leaves by an exception. What the frame
// built is released by then, but for the depth's planes and work buffers, which are kept for the
// next frame: frames of one size allocate nothing however the blade moves, and a frame of another
// size replaces them. Frames of one depth must not render at the same time, since they share them.
template <class Channel>
void render_frame(std::span<const ColorRamp> base_ramps, const FrameTarget& target, const SceneRecord& scene,
                  const DistortionSettings& glow_distortion, const DistortionSettings& core_distortion, float time);

extern template void render_frame<std::uint8_t>(std::span<const ColorRamp>, const FrameTarget&, const SceneRecord&,
                                                const DistortionSettings&, const DistortionSettings&, float);
extern template void render_frame<std::uint16_t>(std::span<const ColorRamp>, const FrameTarget&, const SceneRecord&,
                                                 const DistortionSettings&, const DistortionSettings&, float);
extern template void render_frame<float>(std::span<const ColorRamp>, const FrameTarget&, const SceneRecord&,
                                         const DistortionSettings&, const DistortionSettings&, float);

// Releases every depth's kept planes and work buffers; the next frame makes them anew. Called when
// the plug-in is set down, never while a frame renders.
void release_kept_frame_buffers() noexcept;

}  // namespace kyrox
