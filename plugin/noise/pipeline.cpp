#include "plugin/noise/pipeline.h"

#include <stdexcept>
#include <utility>

namespace noisepp {

template <class Element>
void Pipeline<Element>::pipeline_execute()
{
    std::vector<PipelineCacheRecord> cache = pipeline_alloc_cache();
    while (!jobs_.empty()) {
        std::unique_ptr<PipelineJob> job = std::move(jobs_.front());
        jobs_.pop_front();
        job->execute(cache);
        job->finish();
    }
}

template <class Element>
std::size_t Pipeline<Element>::pipeline_add_element(const Module<Pipeline>* module, std::unique_ptr<Element> element)
{
    if (const auto it = ids_.find(module); it != ids_.end()) {
        return it->second;
    }
    if (!element) {
        throw std::invalid_argument("pipeline element is null");
    }
    const std::size_t id = elements_.size();
    elements_.push_back(std::move(element));
    ids_.emplace(module, id);
    return id;
}

template <class Element>
void Pipeline<Element>::pipeline_queue_job(std::unique_ptr<PipelineJob> job)
{
    jobs_.push_back(std::move(job));
}

template <class Element>
std::vector<PipelineCacheRecord> Pipeline<Element>::pipeline_alloc_cache() const
{
    return std::vector<PipelineCacheRecord>(elements_.size(), PipelineCacheRecord{});
}

template <class Element>
const Element& Pipeline<Element>::element(std::size_t id) const
{
    return *elements_.at(id);
}

template class Pipeline<PipelineElement3D>;

}  // namespace noisepp
