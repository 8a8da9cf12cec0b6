#pragma once

#include <cstddef>

namespace noisepp {

// A description of noise that builds its element into a pipeline.
template <class PipelineT>
class Module {
public:
    Module() = default;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    virtual ~Module() = default;

    // Returns the id of the module's element in the pipeline.
    virtual std::size_t attach(PipelineT& pipeline) = 0;
};

}  // namespace noisepp
