#include "plugin/noise/pipeline.h"
#include "plugin/noise/ridged_multi_element.h"
#include "plugin/noise/ridged_multi_module.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using noisepp::Pipeline3D;
using noisepp::PipelineCacheRecord;

// Counts its own destruction and answers a fixed value.
class CountingElement final : public noisepp::PipelineElement3D {
public:
    CountingElement(float result, int& destroyed) : result_(result), destroyed_(destroyed) {}
    ~CountingElement() override { ++destroyed_; }
    float value(float, float, float, PipelineCacheRecord*) const override { return result_; }

private:
    float result_;
    int& destroyed_;
};

// Stands in for any module; the pipeline only keys on its address.
class StubModule final : public noisepp::Module3D {
public:
    std::size_t attach(Pipeline3D&) override { return 0; }
};

TEST(Pipeline, OneElementPerModule)
{
    int destroyed = 0;
    StubModule first;
    StubModule second;
    {
        Pipeline3D pipeline;
        EXPECT_EQ(pipeline.pipeline_add_element(&first, std::make_unique<CountingElement>(1.0f, destroyed)), 0u);
        EXPECT_EQ(pipeline.pipeline_add_element(&first, std::make_unique<CountingElement>(2.0f, destroyed)), 0u);
        EXPECT_EQ(destroyed, 1);  // the second element for the same module, at once
        EXPECT_EQ(pipeline.pipeline_add_element(&second, std::make_unique<CountingElement>(3.0f, destroyed)), 1u);
        EXPECT_EQ(pipeline.element_count(), 2u);
        EXPECT_EQ(pipeline.element(0).value(0, 0, 0, nullptr), 1.0f);
        EXPECT_EQ(pipeline.element(1).value(0, 0, 0, nullptr), 3.0f);
        EXPECT_THROW(static_cast<void>(pipeline.element(2)), std::out_of_range);
        EXPECT_THROW(pipeline.pipeline_add_element(nullptr, nullptr), std::invalid_argument);
        EXPECT_EQ(pipeline.element_count(), 2u);
    }
    EXPECT_EQ(destroyed, 3);
}

TEST(Pipeline, CacheHasAZeroedRecordPerElement)
{
    int destroyed = 0;
    StubModule a;
    StubModule b;
    Pipeline3D pipeline;
    EXPECT_TRUE(pipeline.pipeline_alloc_cache().empty());
    pipeline.pipeline_add_element(&a, std::make_unique<CountingElement>(0.0f, destroyed));
    pipeline.pipeline_add_element(&b, std::make_unique<CountingElement>(0.0f, destroyed));
    const std::vector<PipelineCacheRecord> cache = pipeline.pipeline_alloc_cache();
    ASSERT_EQ(cache.size(), 2u);
    for (const PipelineCacheRecord& record : cache) {
        EXPECT_EQ(record.value, 0u);
        EXPECT_EQ(record.filled, 0u);
    }
}

class RecordingJob final : public noisepp::PipelineJob {
public:
    RecordingJob(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    ~RecordingJob() override { log_.push_back(name_ + " destroyed"); }
    void execute(std::span<PipelineCacheRecord> cache) override
    {
        log_.push_back(name_ + " execute " + std::to_string(cache.size()));
    }
    void finish() override { log_.push_back(name_ + " finish"); }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

TEST(Pipeline, ExecuteRunsEachQueuedJobOnceInOrder)
{
    int destroyed = 0;
    StubModule module;
    std::vector<std::string> log;
    Pipeline3D pipeline;
    pipeline.pipeline_add_element(&module, std::make_unique<CountingElement>(0.0f, destroyed));
    pipeline.pipeline_queue_job(std::make_unique<RecordingJob>("a", log));
    pipeline.pipeline_queue_job(std::make_unique<RecordingJob>("b", log));
    pipeline.pipeline_execute();
    const std::vector<std::string> expected = {"a execute 1", "a finish", "a destroyed",
                                               "b execute 1", "b finish", "b destroyed"};
    EXPECT_EQ(log, expected);
    pipeline.pipeline_execute();
    EXPECT_EQ(log.size(), expected.size());
}

TEST(Pipeline, DestroysJobsThatNeverRan)
{
    std::vector<std::string> log;
    {
        Pipeline3D pipeline;
        pipeline.pipeline_queue_job(std::make_unique<RecordingJob>("idle", log));
    }
    EXPECT_EQ(log, std::vector<std::string>{"idle destroyed"});
}

TEST(RidgedMultiModule, StartsWithItsDefaults)
{
    const noisepp::RidgedMultiModule3D module;
    EXPECT_EQ(module.frequency, 1.0f);
    EXPECT_EQ(module.octaves, 6);
    EXPECT_EQ(module.seed, 0);
    EXPECT_EQ(module.quality, 1);
    EXPECT_EQ(module.lacunarity, 2.0f);
    EXPECT_EQ(module.exponent, 1.0f);
    EXPECT_EQ(module.offset, 1.0f);
    EXPECT_EQ(module.gain, 2.0f);
}

TEST(RidgedMultiModule, AttachBuildsTheElementFromItsParameters)
{
    noisepp::RidgedMultiModule3D module;
    module.seed = 1234;
    module.octaves = 3;
    module.quality = 2;
    module.frequency = 0.5f;
    Pipeline3D pipeline;
    noisepp::Module3D& as_module = module;
    const std::size_t id = as_module.attach(pipeline);
    EXPECT_EQ(module.ridged_module_attach(pipeline), id);
    EXPECT_EQ(pipeline.element_count(), 1u);

    const noisepp::RidgedMultiElement3D direct(3, 0.5f, 2.0f, 1.0f, 1.0f, 2.0f, 1234, 2);
    for (const float x : {0.1f, 2.7f, -9.3f}) {
        EXPECT_EQ(pipeline.element(id).value(x, 0.4f * x, 1.5f, nullptr), direct.value(x, 0.4f * x, 1.5f, nullptr));
    }
}

TEST(RidgedMultiModule, DestroysWholeThroughEitherBase)
{
    std::unique_ptr<noisepp::RidgedMultiModuleBase> params = std::make_unique<noisepp::RidgedMultiModule3D>();
    params.reset();
    std::unique_ptr<noisepp::Module3D> module = std::make_unique<noisepp::RidgedMultiModule3D>();
    module.reset();
    SUCCEED();  // AddressSanitizer reports a partial or mismatched deletion
}

}  // namespace
