#include "minihost/cli/frame_writer.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace minihost {

FrameWriter::FrameWriter(Write write, std::size_t max_waiting)
    : write_(std::move(write)), max_waiting_(std::max<std::size_t>(max_waiting, 1)), thread_([this] { run(); })
{
}

FrameWriter::~FrameWriter()
{
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void FrameWriter::hand_over(const HostWorld& world, std::filesystem::path without_extension)
{
    Job job{{}, std::move(without_extension)};
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return failure_ || waiting_.size() < max_waiting_; });
        throw_failure();
        if (!spare_.empty()) {
            job.frame = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    // Outside the lock, so that the writer goes on meanwhile; only this thread adds to the queue, so the
    // room found above stays.
    copy_pixels(world, job.frame);
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(job));
    }
    changed_.notify_all();
}

std::vector<WrittenFile> FrameWriter::take_written()
{
    const std::lock_guard lock(mutex_);
    return std::exchange(written_, {});
}

std::vector<WrittenFile> FrameWriter::finish()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return failure_ || (waiting_.empty() && !writing_); });
    throw_failure();
    return std::exchange(written_, {});
}

std::vector<WrittenFile> FrameWriter::stop()
{
    std::unique_lock lock(mutex_);
    waiting_.clear();
    changed_.wait(lock, [&] { return !writing_; });
    return std::exchange(written_, {});
}

void FrameWriter::throw_failure() const
{
    if (failure_) {
        std::rethrow_exception(failure_);
    }
}

void FrameWriter::run() noexcept
{
    std::unique_lock lock(mutex_);
    while (!failure_) {
        changed_.wait(lock, [&] { return closing_ || !waiting_.empty(); });
        if (waiting_.empty()) {
            return;  // closing, with every frame written
        }
        Job job = std::move(waiting_.front());
        waiting_.pop_front();
        writing_ = true;
        lock.unlock();
        changed_.notify_all();  // room for another frame

        std::exception_ptr failure;
        WrittenFile done;
        try {
            const auto start = std::chrono::steady_clock::now();
            done.file = write_(job.frame, job.without_extension);
            done.write_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        } catch (...) {
            failure = std::current_exception();
        }

        lock.lock();
        writing_ = false;
        try {
            if (!failure) {
                written_.push_back(std::move(done));
                if (spare_.size() <= max_waiting_) {
                    spare_.push_back(std::move(job.frame));
                }
            }
        } catch (...) {
            failure = std::current_exception();
        }
        if (failure) {
            // The frames still waiting are dropped: the run stops at its first failed file.
            failure_ = failure;
            waiting_.clear();
        }
        changed_.notify_all();
    }
}

}  // namespace minihost
