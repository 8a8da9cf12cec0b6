#include "plugin/render/worker_pool.h"

#include "plugin/platform/crash_dump.h"
#include "plugin/platform/crash_dump_detail.h"
#include "plugin/platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using kyrox::ThreadWorkData;

struct Chunk {
    std::int32_t begin;
    std::int32_t end;
    std::int32_t index;
    friend bool operator==(const Chunk&, const Chunk&) = default;
};

// Collects the chunks a job was called with, in index order.
class ChunkLog {
public:
    kyrox::RowJob job(bool result = false)
    {
        return [this, result](const ThreadWorkData& work) {
            const std::lock_guard hold(lock_);
            chunks_.push_back({work.begin, work.end, work.index});
            threads_.push_back(std::this_thread::get_id());
            return result;
        };
    }

    std::vector<Chunk> chunks()
    {
        const std::lock_guard hold(lock_);
        auto sorted = chunks_;
        std::ranges::sort(sorted, {}, &Chunk::index);
        return sorted;
    }

    std::vector<std::thread::id> threads()
    {
        const std::lock_guard hold(lock_);
        return threads_;
    }

private:
    std::mutex lock_;
    std::vector<Chunk> chunks_;
    std::vector<std::thread::id> threads_;
};

// Failures caught by the pool's guard write crash dumps; these go to a private folder, and the
// message to the user is only counted.
std::atomic<int> notifications{0};
fs::path dump_root;

kyrox::platform::LocalTime fixed_time() noexcept
{
    return {2020, 1, 2, 3, 4, 5};
}

fs::path private_folder()
{
    return dump_root;
}

void count_notification(const kyrox::NativeString&) noexcept
{
    ++notifications;
}

class PoolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dump_root = fs::temp_directory_path() / ("kyrox-pool-" + std::to_string(kyrox::platform::process_id()));
        fs::create_directories(dump_root);
        notifications = 0;
        kyrox::set_crash_dump_environment(&environment_);
    }

    void TearDown() override
    {
        kyrox::set_crash_dump_environment(nullptr);
        std::error_code ignored;
        fs::remove_all(dump_root, ignored);
    }

    kyrox::CrashDumpEnvironment environment_{fixed_time,
                                             private_folder,
                                             private_folder,
                                             kyrox::platform::process_id,
                                             kyrox::platform::current_thread_id,
                                             count_notification};
};

struct ChunkingCase {
    unsigned threads;
    std::int32_t n;
    std::vector<Chunk> expected;
};

class PoolChunking : public PoolTest, public ::testing::WithParamInterface<ChunkingCase> {};

TEST_P(PoolChunking, CutsTheRangeIntoContiguousChunksSmallestFirst)
{
    const ChunkingCase& c = GetParam();
    kyrox::WorkerPool pool(c.threads);
    ChunkLog log;
    EXPECT_FALSE(kyrox::parallel_for(pool, log.job(), c.n));
    EXPECT_EQ(log.chunks(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Ranges, PoolChunking,
                         ::testing::Values(ChunkingCase{4, 10, {{0, 2, 0}, {2, 4, 1}, {4, 7, 2}, {7, 10, 3}}},
                                           ChunkingCase{8, 3, {{0, 1, 0}, {1, 2, 1}, {2, 3, 2}}},
                                           ChunkingCase{3, 3, {{0, 1, 0}, {1, 2, 1}, {2, 3, 2}}},
                                           ChunkingCase{2, 2, {{0, 1, 0}, {1, 2, 1}}},
                                           ChunkingCase{3, 1000, {{0, 333, 0}, {333, 666, 1}, {666, 1000, 2}}},
                                           // Fewer than two chunks: once, inline.
                                           ChunkingCase{4, 0, {{0, 0, 0}}}, ChunkingCase{4, 1, {{0, 1, 0}}},
                                           ChunkingCase{1, 100, {{0, 100, 0}}}, ChunkingCase{4, -5, {{0, -5, 0}}}),
                         [](const ::testing::TestParamInfo<ChunkingCase>& param_info) {
                             const std::string n = param_info.param.n < 0
                                                       ? "minus" + std::to_string(-param_info.param.n)
                                                       : std::to_string(param_info.param.n);
                             return "threads" + std::to_string(param_info.param.threads) + "_rows" + n;
                         });

TEST_F(PoolTest, FewerThanTwoChunksRunOnTheCallingThread)
{
    kyrox::WorkerPool pool(4);
    kyrox::WorkerPool single(1);
    ChunkLog log;
    kyrox::parallel_for(pool, log.job(), 0);
    kyrox::parallel_for(pool, log.job(), 1);
    kyrox::parallel_for(single, log.job(), 50);
    EXPECT_EQ(log.threads(), std::vector<std::thread::id>(3, std::this_thread::get_id()));
}

TEST_F(PoolTest, ChunksRunOnTheWorkers)
{
    kyrox::WorkerPool pool(4);
    ChunkLog log;
    kyrox::parallel_for(pool, log.job(), 40);
    const auto threads = log.threads();
    ASSERT_EQ(threads.size(), 4u);
    EXPECT_EQ(std::ranges::count(threads, std::this_thread::get_id()), 0);
}

TEST_F(PoolTest, ResultIsTheOrOfTheChunkResults)
{
    kyrox::WorkerPool pool(4);
    for (std::int32_t winner = -1; winner < 4; ++winner) {
        const bool result = kyrox::parallel_for(
            pool, [winner](const ThreadWorkData& work) { return work.index == winner; }, 8);
        EXPECT_EQ(result, winner >= 0) << "chunk returning true: " << winner;
    }
    EXPECT_TRUE(kyrox::parallel_for(
        pool, [](const ThreadWorkData&) { return true; }, 1));
}

TEST_F(PoolTest, ThrowingChunkCountsAsFalseAndTheBatchCompletes)
{
    kyrox::WorkerPool pool(4);
    std::atomic<int> finished{0};
    auto job = [&](const ThreadWorkData& work) -> bool {
        if (work.index == 1) {
            throw std::runtime_error("chunk failed");
        }
        ++finished;
        return work.index == 1;
    };
    EXPECT_FALSE(kyrox::parallel_for(pool, job, 8));
    EXPECT_EQ(finished.load(), 3);
    EXPECT_EQ(notifications.load(), 1);
    // The failure leaves the pool fit for the next batch.
    ChunkLog log;
    EXPECT_TRUE(kyrox::parallel_for(pool, log.job(true), 8));
    EXPECT_EQ(log.chunks().size(), 4u);
}

// The store faults by design; the sanitizers would stop at it themselves.
[[gnu::no_sanitize("undefined", "thread")]] bool write_through_null()
{
    volatile int* volatile target = nullptr;
    *target = 1;
    return true;
}

TEST_F(PoolTest, FaultingChunkCountsAsFalseAndTheBatchCompletes)
{
    kyrox::WorkerPool pool(4);
    std::atomic<int> finished{0};
    auto job = [&](const ThreadWorkData& work) {
        if (work.index == 2) {
            return write_through_null();
        }
        ++finished;
        return false;
    };
    EXPECT_FALSE(kyrox::parallel_for(pool, job, 8));
    EXPECT_EQ(finished.load(), 3);
    EXPECT_EQ(notifications.load(), 1);
    EXPECT_FALSE(kyrox::parallel_for(pool, job, 8));
    EXPECT_EQ(finished.load(), 6);
}

TEST_F(PoolTest, EmptyJobFailsInEveryChunkOnTheWorkersAndThrowsInline)
{
    kyrox::WorkerPool pool(4);
    EXPECT_FALSE(kyrox::parallel_for(pool, kyrox::RowJob{}, 8));
    EXPECT_EQ(notifications.load(), 4);
    EXPECT_THROW(kyrox::parallel_for(pool, kyrox::RowJob{}, 1), std::bad_function_call);
}

TEST_F(PoolTest, ManyBatchesInARowEachCoverEveryRowOnce)
{
    kyrox::WorkerPool pool(std::max(2u, kyrox::platform::logical_processor_count()));
    constexpr std::int32_t rows = 97;
    std::vector<int> visits(rows, 0);
    for (int batch = 0; batch < 500; ++batch) {
        kyrox::parallel_for(
            pool,
            [&](const ThreadWorkData& work) {
                for (std::int32_t r = work.begin; r < work.end; ++r) {
                    ++visits[static_cast<std::size_t>(r)];
                }
                return false;
            },
            rows);
    }
    EXPECT_EQ(visits, std::vector<int>(rows, 500));
}

TEST_F(PoolTest, NoCopyOfTheJobOutlivesTheCall)
{
    kyrox::WorkerPool pool(4);
    auto token = std::make_shared<int>(0);
    kyrox::parallel_for(
        pool, [token](const ThreadWorkData&) { return false; }, 16);
    EXPECT_EQ(token.use_count(), 1);
}

TEST_F(PoolTest, RunAndWaitRunsAHandMadeBatch)
{
    kyrox::WorkerPool pool(3);
    ChunkLog log;
    kyrox::WorkerBatch batch;
    for (std::int32_t i = 0; i < 5; ++i) {
        batch.push_back(kyrox::make_job_task(log.job(i == 4), ThreadWorkData{i, i + 1, i}));
    }
    EXPECT_TRUE(kyrox::run_and_wait(pool, std::move(batch), 5));
    EXPECT_EQ(log.chunks().size(), 5u);
}

TEST_F(PoolTest, RunTaskGuardsTheJob)
{
    auto ok = kyrox::make_job_task([](const ThreadWorkData& work) { return work.end == 3; }, ThreadWorkData{0, 3, 0});
    auto thrown = kyrox::make_job_task([](const ThreadWorkData&) -> bool { throw 1; }, ThreadWorkData{});
    EXPECT_TRUE(kyrox::run_task(*ok));
    EXPECT_FALSE(kyrox::run_task(*thrown));
    EXPECT_EQ(notifications.load(), 1);
}

TEST_F(PoolTest, IdlePoolsStopWithoutRunningAnything)
{
    for (unsigned threads : {1u, 2u, 16u}) {
        SCOPED_TRACE(::testing::Message() << threads << " threads");
        kyrox::WorkerPool pool(threads);
        EXPECT_EQ(pool.thread_count(), static_cast<std::int32_t>(threads));
    }
    kyrox::WorkerPool at_least_one(0);
    EXPECT_EQ(at_least_one.thread_count(), 1);
}

TEST_F(PoolTest, ProcessPoolHasOneWorkerPerLogicalProcessor)
{
    kyrox::WorkerPool& pool = kyrox::worker_pool();
    EXPECT_EQ(&pool, &kyrox::worker_pool());
    EXPECT_EQ(pool.thread_count(), static_cast<std::int32_t>(kyrox::platform::logical_processor_count()));
    std::atomic<std::int32_t> rows{0};
    kyrox::parallel_for(
        pool,
        [&](const ThreadWorkData& work) {
            rows += work.end - work.begin;
            return false;
        },
        1000);
    EXPECT_EQ(rows.load(), 1000);
}

struct BlockCase {
    unsigned threads;
    std::int32_t n;
    std::int32_t grain;
    std::int32_t block;  // rows a block holds, the last excepted
};

class PoolBlocks : public PoolTest, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(PoolBlocks, HandsOutEveryRowOnceInBlocksOfTheGrain)
{
    const BlockCase& c = GetParam();
    kyrox::WorkerPool pool(c.threads);
    ChunkLog log;
    EXPECT_FALSE(kyrox::parallel_blocks(pool, log.job(), c.n, c.grain));
    auto blocks = log.chunks();
    std::ranges::sort(blocks, {}, &Chunk::begin);
    std::int32_t next = 0;
    for (const Chunk& block : blocks) {
        EXPECT_EQ(block.begin, next);
        EXPECT_EQ(block.end, std::min(block.begin + c.block, c.n));
        EXPECT_GE(block.index, 0);
        EXPECT_LT(block.index, static_cast<std::int32_t>(c.threads));
        next = block.end;
    }
    EXPECT_EQ(next, std::max(c.n, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, PoolBlocks,
    ::testing::Values(BlockCase{8, 1080, 1, 8},                           // about sixteen blocks a worker
                      BlockCase{8, 540, 1, 4}, BlockCase{8, 1920, 8, 8},  // rounded down to the grain
                      BlockCase{8, 2160, 8, 16}, BlockCase{4, 10, 1, 1},  // never less than one grain
                      BlockCase{4, 10, 4, 4}, BlockCase{1, 100, 1, 6}, BlockCase{4, 0, 1, 1}, BlockCase{4, -3, 2, 2}),
    [](const ::testing::TestParamInfo<BlockCase>& param_info) {
        const BlockCase& c = param_info.param;
        const std::string n = c.n < 0 ? "minus" + std::to_string(-c.n) : std::to_string(c.n);
        return "threads" + std::to_string(c.threads) + "_rows" + n + "_grain" + std::to_string(c.grain);
    });

TEST_F(PoolTest, BlocksOfAStalledChunkGoToTheOthers)
{
    // The chunk holding the first block waits until every other block is done, which it could
    // not if the rows were shared out in advance.
    kyrox::WorkerPool pool(4);
    constexpr std::int32_t rows = 256;
    std::mutex lock;
    std::condition_variable changed;
    std::int32_t others_done = 0;
    bool waited_out = false;
    const bool result = kyrox::parallel_blocks(
        pool,
        [&](const ThreadWorkData& work) {
            std::unique_lock hold(lock);
            if (work.begin == 0) {
                waited_out = !changed.wait_for(hold, std::chrono::seconds(20),
                                               [&] { return others_done == rows - (work.end - work.begin); });
                return true;
            }
            others_done += work.end - work.begin;
            changed.notify_all();
            return false;
        },
        rows);
    EXPECT_TRUE(result);
    EXPECT_FALSE(waited_out);
}

TEST_F(PoolTest, ThrowingBlockEndsItsChunkAndTheOthersTakeTheRest)
{
    kyrox::WorkerPool pool(4);
    constexpr std::int32_t rows = 640;  // blocks of 10 rows
    std::vector<std::atomic<int>> visits(rows);
    const bool result = kyrox::parallel_blocks(
        pool,
        [&](const ThreadWorkData& work) -> bool {
            if (work.begin == 300) {
                throw std::runtime_error("block failed");
            }
            for (std::int32_t r = work.begin; r < work.end; ++r) {
                ++visits[static_cast<std::size_t>(r)];
            }
            return true;
        },
        rows);
    EXPECT_TRUE(result);
    EXPECT_EQ(notifications.load(), 1);
    for (std::int32_t r = 0; r < rows; ++r) {
        EXPECT_EQ(visits[static_cast<std::size_t>(r)].load(), r / 10 == 30 ? 0 : 1) << "row " << r;
    }
}

}  // namespace
