#include "plugin/render/render_inputs.h"

namespace kyrox {

void scene_record_clear(SceneRecord& scene) noexcept {
    // Swapping with empty vectors releases the storage, not just the elements.
    std::vector<std::vector<PathPoint>>().swap(scene.paths);
    std::vector<CoreSegment>().swap(scene.core_segments);
}

}  // namespace kyrox
