#pragma once

#include "plugin/noise/module.h"
#include "plugin/noise/pipeline.h"

#include <cstddef>

namespace noisepp {

// The parameters a ridged multifractal element is built from.
class RidgedMultiModuleBase {
public:
    virtual ~RidgedMultiModuleBase() = default;

    float frequency = 1.0f;
    int octaves = 6;
    int seed = 0;
    int quality = 1;
    float lacunarity = 2.0f;
    float exponent = 1.0f;
    float offset = 1.0f;
    float gain = 2.0f;
};

class RidgedMultiModule3D final : public Module3D, public RidgedMultiModuleBase {
public:
    std::size_t attach(Pipeline3D& pipeline) override { return ridged_module_attach(pipeline); }

    // Builds a ridged element from the current parameters and adds it to the pipeline for this module.
    std::size_t ridged_module_attach(Pipeline3D& pipeline) const;
};

}  // namespace noisepp
