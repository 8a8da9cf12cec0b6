#pragma once

#include <cstdint>

#include "plugin/render/render_inputs.h"
#include "plugin/render/geometry/core_rect.h"
#include "plugin/render/float_plane.h"
#include "plugin/render/worker_pool.h"

// The renderer's simple per-pixel stages, each run over rows through parallel_for. The jobs that
// touch host pixels take the channel type of the depth (std::uint8_t, std::uint16_t or float).
// Every job returns true.
namespace kyrox {

// Output rows of the range become {a, 0, 0, 0}: a = 0 in Transparent mode, full scale otherwise.
template <class Channel>
bool clear_rows_job(const ThreadWorkData& work, const FrameTarget& target, const SceneRecord& scene);

// Output rows of the range become the input's rows, byte for byte. Output pixels without an input
// pixel (an input smaller than the output) become transparent.
bool copy_rows_job(const ThreadWorkData& work, const FrameTarget& target);

// Plane rows of the range are multiplied by the layer's alpha matte: the input's alpha, times the
// text layer's alpha when the scene has one, inverted with Invert Masks. Input or text pixels that
// do not exist count as transparent.
template <class Channel>
bool apply_matte_job(const ThreadWorkData& work, const FrameTarget& target, FloatPlane& plane,
                     const SceneRecord& scene);

// The same matte applied to three planes of equal size at once.
template <class Channel>
bool apply_matte3_job(const ThreadWorkData& work, const FrameTarget& target, FloatPlane& first, FloatPlane& second,
                      FloatPlane& third, const SceneRecord& scene);

// Hollows the glow source inside the core rectangle where its blur (scratch) exceeds 0.9, and
// clamps it to [0, 1] there. Range row r is plane row rect.y0 + r.
bool cut_hot_core_job(const ThreadWorkData& work, const CoreRect& rect, const FloatPlane& scratch, FloatPlane& source);

// Instantiated once per depth in row_jobs.cpp.
extern template bool clear_rows_job<std::uint8_t>(const ThreadWorkData&, const FrameTarget&, const SceneRecord&);
extern template bool apply_matte_job<std::uint8_t>(const ThreadWorkData&, const FrameTarget&, FloatPlane&,
                                                   const SceneRecord&);
extern template bool apply_matte3_job<std::uint8_t>(const ThreadWorkData&, const FrameTarget&, FloatPlane&, FloatPlane&,
                                                    FloatPlane&, const SceneRecord&);
extern template bool clear_rows_job<std::uint16_t>(const ThreadWorkData&, const FrameTarget&, const SceneRecord&);
extern template bool apply_matte_job<std::uint16_t>(const ThreadWorkData&, const FrameTarget&, FloatPlane&,
                                                    const SceneRecord&);
extern template bool apply_matte3_job<std::uint16_t>(const ThreadWorkData&, const FrameTarget&, FloatPlane&,
                                                     FloatPlane&, FloatPlane&, const SceneRecord&);
extern template bool clear_rows_job<float>(const ThreadWorkData&, const FrameTarget&, const SceneRecord&);
extern template bool apply_matte_job<float>(const ThreadWorkData&, const FrameTarget&, FloatPlane&, const SceneRecord&);
extern template bool apply_matte3_job<float>(const ThreadWorkData&, const FrameTarget&, FloatPlane&, FloatPlane&,
                                             FloatPlane&, const SceneRecord&);

}  // namespace kyrox
