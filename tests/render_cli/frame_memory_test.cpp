#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "minihost/cli/frame_memory_detail.h"
#include "tests/support/spawn_actions.h"

extern char** environ;

// The memory check's estimate against what kyrox-render really holds: the built program renders a
// sequence and its peak resident size is read when it ends. Built only without sanitizers, whose
// shadow memory and quarantine would swamp the frames' memory.
namespace {

namespace fs = std::filesystem;

// A folder of the test's own for the run's files, removed however the test ends.
class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "kyrox-memory-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::system_error(errno, std::generic_category(), "mkdtemp");
        }
        path_ = pattern;
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const fs::path& path() const noexcept { return path_; }

private:
    fs::path path_;
};

using kyrox::test::SpawnActions;

struct FinishedRun {
    int exit_code = -1;  // -1 when it did not start or a signal ended it
    std::uint64_t peak_resident_bytes = 0;
};

// Runs kyrox-render with `arguments`, both its streams into `log`, and waits for it. The peak is the
// child's own, from its resource usage, so that no other process counts.
FinishedRun run_kyrox_render(std::vector<std::string> arguments, const fs::path& log)
{
    SpawnActions actions;
    posix_spawn_file_actions_addopen(actions.get(), 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(actions.get(), 1, 2);
    arguments.insert(arguments.begin(), KYROX_RENDER_PATH);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, KYROX_RENDER_PATH, actions.get(), nullptr, argv.data(), environ) != 0) {
        return {};
    }
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    constexpr std::uint64_t max_rss_unit = 1024;  // Linux counts ru_maxrss in KiB
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, static_cast<std::uint64_t>(usage.ru_maxrss) * max_rss_unit};
}

std::string contents(const fs::path& file)
{
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// At 2048 x 2048 floats the frames' memory is some fifty times the program's own, and a frame's file
// takes longer to write than the frame to render, so that over eight frames the writer's queue fills.
TEST(FrameMemory, TheEstimateIsWithinATenthOfARunsPeak)
{
    constexpr A_long side = 2048;
    constexpr int bytes_per_channel = 4;
    const TemporaryFolder folder;
    const fs::path log = folder.path() / "log.txt";
    const FinishedRun run = run_kyrox_render({"--plugin", KYROX_PLUGIN_PATH, "--size", std::to_string(side),
                                              std::to_string(side), "--depth", std::to_string(bytes_per_channel * 8),
                                              "--frames", "0", "7", "--output", (folder.path() / "frames").string()},
                                             log);
    ASSERT_EQ(run.exit_code, 0) << contents(log);

    constexpr double mib = 1024.0 * 1024.0;
    const double estimate = static_cast<double>(minihost::frame_memory_bytes(side, side, bytes_per_channel)) / mib;
    const double peak = static_cast<double>(run.peak_resident_bytes) / mib;
    EXPECT_NEAR(estimate, peak, 0.1 * peak) << "estimate " << estimate << " MiB, peak resident " << peak << " MiB";
}

}  // namespace
