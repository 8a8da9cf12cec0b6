#include "plugin/noise/ridged_multi_module.h"

#include "plugin/noise/ridged_multi_element.h"

#include <memory>

namespace noisepp {

std::size_t RidgedMultiModule3D::ridged_module_attach(Pipeline3D& pipeline) const
{
    return pipeline.pipeline_add_element(
        this,
        std::make_unique<RidgedMultiElement3D>(octaves, frequency, lacunarity, exponent, offset, gain, seed, quality));
}

}  // namespace noisepp
