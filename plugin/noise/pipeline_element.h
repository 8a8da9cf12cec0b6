#pragma once

#include "plugin/noise/pipeline_cache.h"

namespace noisepp {

// A noise source owned by a pipeline and evaluated at a three-dimensional point.
class PipelineElement3D {
public:
    PipelineElement3D() = default;
    PipelineElement3D(const PipelineElement3D&) = delete;
    PipelineElement3D& operator=(const PipelineElement3D&) = delete;
    virtual ~PipelineElement3D() = default;

    virtual float value(float x, float y, float z, PipelineCacheRecord* cache) const = 0;
};

}  // namespace noisepp
