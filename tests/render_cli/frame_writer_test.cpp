#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <future>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "minihost/cli/frame_writer.h"

// kyrox-render's background file writer: frames handed over are written in order from copies, the
// renderer waits only when frames pile up, and a failed write stops the run and reaches the renderer.
namespace {

namespace fs = std::filesystem;
using minihost::FramePixels;
using minihost::FrameWriter;
using minihost::HostWorld;

// One 8-bit pixel whose red channel carries a frame's number.
void mark(HostWorld& world, std::uint8_t number)
{
    static_cast<std::uint8_t*>(world.world().data)[1] = number;
}

std::uint8_t number_of(const FramePixels& frame)
{
    return std::to_integer<std::uint8_t>(frame.bytes[1]);
}

// What the write function saw, shared with the writer's thread.
struct Record {
    std::mutex mutex;
    std::vector<std::string> paths;
    std::vector<int> numbers;

    void add(const FramePixels& frame, const fs::path& path)
    {
        const std::lock_guard lock(mutex);
        paths.push_back(path.string());
        numbers.push_back(number_of(frame));
    }
};

// "fN", built by appending, a form in which GCC 12 at -O3 does not misreport -Wrestrict.
std::string frame_name(int n)
{
    std::string name("f");
    name += std::to_string(n);
    return name;
}

std::vector<std::string> paths_of(const std::vector<minihost::WrittenFile>& files)
{
    std::vector<std::string> paths;
    for (const minihost::WrittenFile& file : files) {
        paths.push_back(file.file.string());
    }
    return paths;
}

TEST(FrameWriter, WritesCopiesOfTheFramesInOrder)
{
    Record record;
    std::vector<std::string> reported;
    {
        FrameWriter writer(
            [&](const FramePixels& frame, const fs::path& path) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));  // so that frames queue up
                record.add(frame, path);
                return fs::path(path).replace_extension(".png");
            },
            2);
        HostWorld world(1, 1, 1);
        for (std::uint8_t n = 0; n < 8; ++n) {
            mark(world, n);  // the caller reuses its buffer at once
            writer.hand_over(world, frame_name(n));
            const auto taken = paths_of(writer.take_written());
            reported.insert(reported.end(), taken.begin(), taken.end());
        }
        const auto rest = paths_of(writer.finish());
        reported.insert(reported.end(), rest.begin(), rest.end());
    }
    EXPECT_EQ(record.numbers, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(record.paths, (std::vector<std::string>{"f0", "f1", "f2", "f3", "f4", "f5", "f6", "f7"}));
    EXPECT_EQ(reported, (std::vector<std::string>{"f0.png", "f1.png", "f2.png", "f3.png", "f4.png", "f5.png", "f6.png",
                                                  "f7.png"}));
}

// The writer holds one frame while writing it and `max_waiting` more; the next hand-over waits for room.
TEST(FrameWriter, HandingOverWaitsWhileTheQueueIsFull)
{
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    FrameWriter writer(
        [&](const FramePixels&, const fs::path& path) {
            released.wait();
            return path;
        },
        2);
    const HostWorld world(1, 1, 1);
    for (const char* name : {"written", "waiting 1", "waiting 2"}) {
        writer.hand_over(world, name);
    }
    auto blocked = std::async(std::launch::async, [&] { writer.hand_over(world, "blocked"); });
    EXPECT_EQ(blocked.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    release.set_value();
    blocked.get();
    EXPECT_EQ(writer.finish().size(), 4u);
}

// A failed write reaches the renderer at its next hand-over or at the end, whatever was thrown, and
// no frame after it is written.
TEST(FrameWriter, AFailedWriteIsRethrownAndEndsTheWriting)
{
    const struct {
        const char* what;
        bool throws_std_exception;
        bool surfaces_at_finish;  // else at a hand-over
    } cases[] = {
        {"a runtime error, at a hand-over", true, false},
        {"a runtime error, at the end", true, true},
        {"an exception of no std type, at a hand-over", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Record record;
        FrameWriter writer(
            [&](const FramePixels& frame, const fs::path& path) {
                if (number_of(frame) == 1) {
                    if (c.throws_std_exception) {
                        throw std::runtime_error("cannot write " + path.string() + ": disk full");
                    }
                    throw 42;
                }
                record.add(frame, path);
                return path;
            },
            2);
        HostWorld world(1, 1, 1);
        const auto hand_over = [&](std::uint8_t n) {
            mark(world, n);
            writer.hand_over(world, frame_name(n));
        };
        std::string thrown_at = "the start";
        bool thrown_as_thrown = false;
        try {
            hand_over(0);
            hand_over(1);
            thrown_at = "a hand-over";
            if (!c.surfaces_at_finish) {
                // The queue has room until the writer reaches frame 1; its failure then ends the loop.
                for (std::uint8_t n = 2; n < 200; ++n) {
                    hand_over(n);
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            }
            thrown_at = "the end";
            writer.finish();
            thrown_at = "nowhere";
        } catch (const std::runtime_error& error) {
            thrown_as_thrown = c.throws_std_exception;
            EXPECT_STREQ(error.what(), "cannot write f1: disk full");
        } catch (int value) {
            thrown_as_thrown = !c.throws_std_exception;
            EXPECT_EQ(value, 42);
        }
        EXPECT_TRUE(thrown_as_thrown);
        EXPECT_EQ(thrown_at, c.surfaces_at_finish ? "the end" : "a hand-over");
        EXPECT_ANY_THROW(writer.finish()) << "the failure stays";
        const std::lock_guard lock(record.mutex);
        EXPECT_EQ(record.numbers, (std::vector<int>{0}));
    }
}

// Stopping drops the frames waiting and waits for the one being written, which the write function
// finishes or gives up; nothing is written after, not even when the writer goes.
TEST(FrameWriter, StoppingDropsTheWaitingFramesAndWaitsForTheOneInHand)
{
    for (const bool gives_up : {false, true}) {
        SCOPED_TRACE(gives_up ? "the write gives up" : "the write finishes");
        Record record;
        std::promise<void> started;
        std::promise<void> release;
        const std::shared_future<void> released = release.get_future().share();
        {
            FrameWriter writer(
                [&](const FramePixels& frame, const fs::path& path) {
                    if (number_of(frame) == 0) {
                        started.set_value();
                        released.wait();
                        if (gives_up) {
                            throw std::runtime_error("stopped");
                        }
                    }
                    record.add(frame, path);
                    return path;
                },
                2);
            HostWorld world(1, 1, 1);
            for (std::uint8_t n = 0; n < 3; ++n) {
                mark(world, n);
                writer.hand_over(world, frame_name(n));
                if (n == 0) {
                    started.get_future().wait();
                }
            }
            auto stopped = std::async(std::launch::async, [&] { return paths_of(writer.stop()); });
            EXPECT_EQ(stopped.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout)
                << "returned before the write in hand ended";
            release.set_value();
            EXPECT_EQ(stopped.get(), gives_up ? std::vector<std::string>{} : std::vector<std::string>{"f0"});
        }
        EXPECT_EQ(record.numbers, gives_up ? std::vector<int>{} : std::vector<int>{0});
    }
}

TEST(FrameWriter, ClosingWritesTheFramesStillWaiting)
{
    Record record;
    {
        FrameWriter writer(
            [&](const FramePixels& frame, const fs::path& path) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                record.add(frame, path);
                return path;
            },
            2);
        HostWorld world(1, 1, 1);
        for (std::uint8_t n = 0; n < 3; ++n) {
            mark(world, n);
            writer.hand_over(world, frame_name(n));
        }
    }
    EXPECT_EQ(record.numbers, (std::vector<int>{0, 1, 2}));
}

}  // namespace
