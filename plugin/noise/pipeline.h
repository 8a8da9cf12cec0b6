#pragma once

#include "plugin/noise/module.h"
#include "plugin/noise/pipeline_cache.h"
#include "plugin/noise/pipeline_element.h"

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <span>
#include <vector>

namespace noisepp {

// Work queued on a pipeline; it runs with a fresh cache when the pipeline executes.
class PipelineJob {
public:
    PipelineJob() = default;
    PipelineJob(const PipelineJob&) = delete;
    PipelineJob& operator=(const PipelineJob&) = delete;
    virtual ~PipelineJob() = default;

    virtual void execute(std::span<PipelineCacheRecord> cache) = 0;
    virtual void finish() = 0;
};

// Owns the elements of its modules; an element's id is its index, and each module has at most one element.
template <class Element>
class Pipeline {
public:
    Pipeline() = default;
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;
    virtual ~Pipeline() = default;

    // Runs and destroys the queued jobs in order, all on one cache.
    virtual void pipeline_execute();

    // Takes ownership of the element. A module that already has an element keeps it: the new one is
    // destroyed and the existing id returned. A null element throws std::invalid_argument.
    std::size_t pipeline_add_element(const Module<Pipeline>* module, std::unique_ptr<Element> element);

    // Inert by design: nothing queues jobs, so execution runs an empty queue.
    void pipeline_queue_job(std::unique_ptr<PipelineJob> job);

    // One zeroed record per element.
    std::vector<PipelineCacheRecord> pipeline_alloc_cache() const;

    // Throws std::out_of_range for an id the pipeline never returned.
    const Element& element(std::size_t id) const;
    std::size_t element_count() const { return elements_.size(); }

private:
    std::vector<std::unique_ptr<Element>> elements_;
    std::map<const Module<Pipeline>*, std::size_t> ids_;
    std::deque<std::unique_ptr<PipelineJob>> jobs_;
};

extern template class Pipeline<PipelineElement3D>;

using Pipeline3D = Pipeline<PipelineElement3D>;
using Module3D = Module<Pipeline3D>;

}  // namespace noisepp
