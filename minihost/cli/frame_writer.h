#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "minihost/cli/frame_pixels.h"
#include "minihost/host_world.h"

namespace minihost {

// A file the writer finished, and how long writing it took.
struct WrittenFile {
    std::filesystem::path file;
    double write_ms = 0.0;
};

// Writes frames' files on a thread of its own, in the order they were handed over, while the caller
// renders the next frames. At most max_waiting frames wait to be written besides the one being
// written, so memory stays bounded: handing over another blocks until one is taken.
//
// After a write fails, the writer writes nothing more and the caller's next call throws the
// failure. The destructor writes the frames still waiting (unless a write failed or the writer was
// stopped) and joins the thread.
class FrameWriter {
public:
    // write(frame, path without extension) writes one file and returns its path, as write_image does.
    using Write = std::function<std::filesystem::path(const FramePixels&, const std::filesystem::path&)>;

    FrameWriter(Write write, std::size_t max_waiting);
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Copies the world's pixels, since the caller reuses its buffer, and queues them for writing.
    void hand_over(const HostWorld& world, std::filesystem::path without_extension);

    // The files finished since the last call, in order. Does not wait.
    std::vector<WrittenFile> take_written();

    // Waits until every frame handed over is written and returns the files not yet taken.
    std::vector<WrittenFile> finish();

    // Drops the frames waiting, waits for the write in hand to end and returns the files not yet taken;
    // nothing more is written. Whether that write is finished or given up is the write function's
    // choice. Does not throw a failure: the run ends either way.
    std::vector<WrittenFile> stop();

private:
    struct Job {
        FramePixels frame;
        std::filesystem::path without_extension;
    };

    void run() noexcept;
    // Rethrows the failure of a write; the caller holds the lock.
    void throw_failure() const;

    Write write_;
    std::size_t max_waiting_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> waiting_;
    bool writing_ = false;
    bool closing_ = false;
    std::exception_ptr failure_;
    std::vector<WrittenFile> written_;
    std::vector<FramePixels> spare_;  // buffers of written frames, so that frames of one size allocate once
    std::thread thread_;              // last: started once the members it uses are
};

}  // namespace minihost
