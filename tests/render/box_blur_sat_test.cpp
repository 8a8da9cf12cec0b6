#include "plugin/render/blur/box_blur_sat.h"

#include "plugin/render/float_plane.h"
#include "plugin/render/function_job.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using kyrox::CoreRect;
using kyrox::FloatPlane;

FloatPlane plane_of(std::int32_t width, std::int32_t height, float value)
{
    kyrox::WorldView model;
    model.width = width;
    model.height = height;
    FloatPlane plane(model);
    for (std::int32_t y = 0; y < height; ++y) {
        for (float& v : plane.row(y)) {
            v = value;
        }
    }
    return plane;
}

float at(const FloatPlane& plane, std::int32_t x, std::int32_t y)
{
    return plane.row(y)[static_cast<std::size_t>(x)];
}

TEST(BoxBlurSat, EmptyRectangleLeavesTheDestination)
{
    const FloatPlane source = plane_of(8, 8, 0.7f);
    FloatPlane destination = plane_of(8, 8, 0.3f);
    for (const CoreRect rect : {CoreRect{2, 2, 2, 6}, CoreRect{2, 5, 6, 5}, CoreRect{6, 6, 2, 2},
                                CoreRect{9, 9, 20, 20}, CoreRect{-5, -5, 0, 8}}) {
        kyrox::box_blur_sat(destination.view(), source.view(), rect, 3.0f, 3.0f);
    }
    for (std::int32_t y = 0; y < 8; ++y) {
        for (std::int32_t x = 0; x < 8; ++x) {
            EXPECT_EQ(at(destination, x, y), 0.3f);
        }
    }
}

TEST(BoxBlurSat, SizeOneWeighsNeighboursByHalfInEachPass)
{
    // One pass weighs j - 1, j, j + 1 by 0.5, 1, 0.5 over 2 per direction; two passes give
    // 1, 4, 6, 4, 1 over 16.
    FloatPlane plane = plane_of(11, 11, 0.0f);
    plane.row(5)[5] = 1.0f;
    kyrox::box_blur_sat(plane.view(), plane.view(), {0, 0, 11, 11}, 1.0f, 1.0f);
    const float weights[] = {1.0f / 16, 4.0f / 16, 6.0f / 16, 4.0f / 16, 1.0f / 16};
    for (std::int32_t dy = -3; dy <= 3; ++dy) {
        for (std::int32_t dx = -3; dx <= 3; ++dx) {
            const bool inside = std::abs(dx) <= 2 && std::abs(dy) <= 2;
            const float expected = inside ? weights[dx + 2] * weights[dy + 2] : 0.0f;
            EXPECT_NEAR(at(plane, 5 + dx, 5 + dy), expected, 1e-6f) << dx << ", " << dy;
        }
    }
}

TEST(BoxBlurSat, ConstantStaysConstantUpToTheEdges)
{
    for (float size : {0.0f, 0.6f, 1.0f, 3.7f, 12.0f}) {
        const FloatPlane source = plane_of(20, 14, 0.6f);
        FloatPlane destination = plane_of(20, 14, 0.0f);
        kyrox::box_blur_sat(destination.view(), source.view(), {3, 2, 17, 12}, size, size);
        for (std::int32_t y = 0; y < 14; ++y) {
            for (std::int32_t x = 0; x < 20; ++x) {
                const bool inside = x >= 3 && x < 17 && y >= 2 && y < 12;
                EXPECT_NEAR(at(destination, x, y), inside ? 0.6f : 0.0f, 1e-4f) << size << " " << x << ", " << y;
            }
        }
    }
}

TEST(BoxBlurSat, ResultsAreCappedToTheUnitRange)
{
    FloatPlane high = plane_of(6, 6, 5.0f);
    kyrox::box_blur_sat(high.view(), high.view(), {0, 0, 6, 6}, 2.0f, 2.0f);
    FloatPlane low = plane_of(6, 6, -2.0f);
    kyrox::box_blur_sat(low.view(), low.view(), {0, 0, 6, 6}, 2.0f, 2.0f);
    for (std::int32_t y = 0; y < 6; ++y) {
        for (std::int32_t x = 0; x < 6; ++x) {
            EXPECT_EQ(at(high, x, y), 1.0f);
            EXPECT_EQ(at(low, x, y), 0.0f);
        }
    }
}

TEST(BoxBlurSat, BadSizesAndRectanglesGiveValuesInRange)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float size : {nan, -3.0f, -1.0f, 0.0f, 1e30f, inf, -inf}) {
        FloatPlane plane = plane_of(9, 7, 0.0f);
        plane.row(3)[4] = 0.9f;
        plane.row(0)[0] = nan;
        kyrox::box_blur_sat(plane.view(), plane.view(), {-4, -4, 40, 40}, size, size);
        for (std::int32_t y = 0; y < 7; ++y) {
            for (float v : plane.row(y)) {
                EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << size;
            }
        }
    }
    // A box beyond the rectangle averages the whole rectangle.
    FloatPlane plane = plane_of(4, 4, 0.0f);
    plane.row(1)[2] = 0.8f;
    kyrox::box_blur_sat(plane.view(), plane.view(), {0, 0, 4, 4}, 1e30f, 1e30f);
    EXPECT_NEAR(at(plane, 0, 0), 0.05f, 1e-6f);
    EXPECT_NEAR(at(plane, 3, 3), 0.05f, 1e-6f);
    // No size is no blur.
    FloatPlane sharp = plane_of(4, 4, 0.0f);
    sharp.row(1)[2] = 0.8f;
    kyrox::box_blur_sat(sharp.view(), sharp.view(), {0, 0, 4, 4}, nan, -7.0f);
    EXPECT_NEAR(at(sharp, 2, 1), 0.8f, 1e-6f);
    EXPECT_NEAR(at(sharp, 1, 1), 0.0f, 1e-6f);
}

// A scratch kept from call to call serves rectangles of every size and place within its frame from
// the storage it was given, with the results of a blur in buffers of its own: nothing a larger
// rectangle left behind reaches a smaller one's result.
TEST(BoxBlurSat, AKeptScratchServesEveryRectangleOfItsFrameFromItsStorage)
{
    constexpr std::int32_t width = 40;
    constexpr std::int32_t height = 30;
    FloatPlane source = plane_of(width, height, 0.0f);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            source.row(y)[static_cast<std::size_t>(x)] = static_cast<float>((x * 7 + y * 13) % 17) / 17.0f;
        }
    }
    kyrox::BoxBlurScratch kept;
    kyrox::fit_box_blur_scratch(kept, width * height);
    const float* image = kept.image.values().data();
    const float* table = kept.table.values().data();
    for (const CoreRect rect : {CoreRect{0, 0, width, height}, CoreRect{3, 2, 17, 12}, CoreRect{10, 5, 39, 29},
                                CoreRect{0, 0, 1, 1}, CoreRect{-8, -8, 60, 60}}) {
        FloatPlane alone = plane_of(width, height, 0.25f);
        FloatPlane with_kept = plane_of(width, height, 0.25f);
        kyrox::box_blur_sat(alone.view(), source.view(), rect, 2.5f, 2.5f);
        kyrox::box_blur_sat(with_kept.view(), source.view(), rect, 2.5f, 2.5f, kept);
        for (std::int32_t y = 0; y < height; ++y) {
            for (std::int32_t x = 0; x < width; ++x) {
                EXPECT_EQ(at(with_kept, x, y), at(alone, x, y)) << x << ", " << y;
            }
        }
        EXPECT_EQ(kept.image.values().data(), image);
        EXPECT_EQ(kept.table.values().data(), table);
    }
    kyrox::fit_box_blur_scratch(kept, width * height);
    EXPECT_EQ(kept.image.values().data(), image);
    kyrox::fit_box_blur_scratch(kept, 20 * 10);  // another frame size: a smaller frame's worth
    EXPECT_EQ(kept.image.values().size(), 200u);
    EXPECT_EQ(kept.table.values().size(), 200u);
}

TEST(BoxBlurSat, TinyRectangles)
{
    FloatPlane plane = plane_of(1, 1, 0.4f);
    kyrox::box_blur_sat(plane.view(), plane.view(), {0, 0, 1, 1}, 5.0f, 5.0f);
    EXPECT_NEAR(at(plane, 0, 0), 0.4f, 1e-6f);
    FloatPlane column = plane_of(1, 5, 0.0f);
    column.row(2)[0] = 1.0f;
    kyrox::box_blur_sat(column.view(), column.view(), {0, 0, 1, 5}, 1.0f, 1.0f);
    EXPECT_NEAR(at(column, 0, 2), 6.0f / 16.0f, 1e-6f);
}

// Every pixel of a pass is the box's four table lookups, exactly: the rows' fast path over
// consecutive table cells must agree with single lookups bit for bit, at the rectangle's edges,
// across tails of every length, for sizes below a pixel and beyond the rectangle.
TEST(BoxBlurSat, EveryPixelIsItsFourLookups)
{
    for (const std::int32_t w : {1, 3, 4, 5, 8, 13, 37}) {
        for (const float size : {0.0f, 0.3f, 1.0f, 2.5f, 7.0f, 40.0f}) {
            const std::int32_t h = 6;
            std::vector<float> table(static_cast<std::size_t>(w * h));
            for (std::size_t k = 0; k < table.size(); ++k) {
                table[k] = 0.37f * static_cast<float>(k) + 0.01f * static_cast<float>(k % 7);
            }
            std::vector<float> image(table.size(), -1.0f);
            kyrox::box_blur_sat_job({0, h, 0, image.data(), table.data(), w, h, size, size});
            const float half = (size + 1.0f) * 0.5f;
            for (std::int32_t i = 0; i < h; ++i) {
                for (std::int32_t j = 0; j < w; ++j) {
                    const float cx = static_cast<float>(j) - 0.5f;
                    const float cy = static_cast<float>(i) - 0.5f;
                    const auto lookup = [&](float x, float y) { return kyrox::sat_lookup(table, w, h, x, y); };
                    const float sum = lookup(cx + half, cy + half) + lookup(cx - half, cy - half) -
                                      lookup(cx - half, cy + half) - lookup(cx + half, cy - half);
                    const float columns =
                        std::min(static_cast<float>(w), cx + 1.0f + half) - std::max(cx + 1.0f - half, 0.0f);
                    const float rows =
                        std::min(static_cast<float>(h), cy + 1.0f + half) - std::max(cy + 1.0f - half, 0.0f);
                    const float expected = std::min((sum > 0.0f ? sum : 0.0f) / (columns * rows), 1.0f);
                    EXPECT_EQ(image[static_cast<std::size_t>(i * w + j)], expected)
                        << "width " << w << ", size " << size << ", pixel " << j << ", " << i;
                }
            }
        }
    }
}

TEST(SatLookup, ZeroBeforeTheTableLastSumsBeyondAndBilinearBetween)
{
    // Table of a 2 x 2 image of ones.
    const std::vector<float> table{1.0f, 2.0f, 2.0f, 4.0f};
    EXPECT_EQ(kyrox::sat_lookup(table, 2, 2, -1.0f, 0.0f), 0.0f);
    EXPECT_EQ(kyrox::sat_lookup(table, 2, 2, 0.0f, 0.0f), 1.0f);
    EXPECT_EQ(kyrox::sat_lookup(table, 2, 2, 5.0f, 9.0f), 4.0f);
    EXPECT_EQ(kyrox::sat_lookup(table, 2, 2, 0.5f, 0.0f), 1.5f);
    EXPECT_EQ(kyrox::sat_lookup(table, 2, 2, -0.5f, 0.0f), 0.5f);
    EXPECT_EQ(kyrox::sat_lookup(table, 2, 2, 0.5f, 0.5f), 2.25f);
}

struct CountRecord {
    std::int32_t begin = 0;
    std::int32_t end = 0;
    std::int32_t index = 0;
    bool result = false;
};

struct ChunkLog {
    std::mutex lock;
    std::vector<CountRecord> chunks;
    std::vector<std::thread::id> threads;
};

ChunkLog* active_log = nullptr;

bool log_chunk(CountRecord record)
{
    const std::lock_guard hold(active_log->lock);
    active_log->chunks.push_back(record);
    active_log->threads.push_back(std::this_thread::get_id());
    return record.result && record.index == 2;
}

TEST(RunFunctionJob, ChunksInOrderOnPoolThreadsEvenForOne)
{
    struct Case {
        unsigned threads;
        std::int32_t n;
        std::vector<std::pair<std::int32_t, std::int32_t>> ranges;
    };
    for (const Case& c :
         {Case{4, 10, {{0, 2}, {2, 4}, {4, 7}, {7, 10}}}, Case{1, 5, {{0, 5}}}, Case{3, 1, {{0, 1}}}, Case{2, 0, {}}}) {
        kyrox::WorkerPool pool(c.threads);
        ChunkLog log;
        active_log = &log;
        const bool result = kyrox::run_function_job(pool, log_chunk, CountRecord{}, c.n);
        active_log = nullptr;
        EXPECT_FALSE(result);
        ASSERT_EQ(log.chunks.size(), c.ranges.size());
        for (const CountRecord& chunk : log.chunks) {
            const auto i = static_cast<std::size_t>(chunk.index);
            ASSERT_LT(i, c.ranges.size());
            EXPECT_EQ(chunk.begin, c.ranges[i].first);
            EXPECT_EQ(chunk.end, c.ranges[i].second);
        }
        for (std::thread::id id : log.threads) {
            EXPECT_NE(id, std::this_thread::get_id());
        }
    }
}

TEST(RunFunctionJob, AnyTrueChunkMakesTheBatchTrue)
{
    kyrox::WorkerPool pool(4);
    ChunkLog log;
    active_log = &log;
    EXPECT_TRUE(kyrox::run_function_job(pool, log_chunk, CountRecord{0, 0, 0, true}, 8));
    active_log = nullptr;
    EXPECT_EQ(log.chunks.size(), 4u);
}

}  // namespace
