#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "plugin/resources/effect_version.h"

// kyrox-render as its users meet it: the built program run with good and bad command lines, each
// checked for its exit code and what it says.
namespace {

namespace fs = std::filesystem;

#define KYROX_STRINGIFY(x) #x
#define KYROX_VERSION_STRING(a, b, c) KYROX_STRINGIFY(a) "." KYROX_STRINGIFY(b) "." KYROX_STRINGIFY(c)

struct Outcome {
    int exit_code = -1;  // -1 when a signal ended the program
    int signal = 0;      // the signal that ended it
    std::string out;
    std::string err;
};

std::string contents(const fs::path& file)
{
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Each test works in a folder of its own, which holds its scene files and output.
class RenderCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "kyrox-render-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        std::ofstream(folder / "unknown_id.json") << R"({"params": {"9999": 1}})";
        std::ofstream(folder / "named_key.json") << R"({"params": {"gamma": 1}})";
        std::ofstream(folder / "a_file") << "not a folder";
        std::ofstream(folder / "huge_time.json") << R"({"time": {"current": 1e10}})";
        std::ofstream(folder / "huge_text.json") << R"({"text": {"text": "K", "size": 1e30}})";
    }
    void TearDown() override { fs::remove_all(folder); }

    // Runs kyrox-render in the test's folder with `arguments` after `--plugin FILE`; `shell` runs
    // before it in the same shell (limits, signal settings). Its output goes to files, or where
    // `redirections` send it instead.
    Outcome render(const std::string& arguments, const std::string& shell = "", bool with_plugin = true,
                   const std::string& redirections = "") const
    {
        return outcome_of(std::system(command(arguments, shell, with_plugin, redirections).c_str()));
    }

    // Starts kyrox-render with the plug-in, as render() runs it, and returns its process at once. The
    // stopping signals start at their default handling, which the program takes over: a test run as a
    // background job would hand on SIGINT ignored, and the program leaves an ignored signal ignored.
    pid_t start(const std::string& arguments) const
    {
        const std::string line = command(arguments, "", true, "");
        const char* const argv[] = {"sh", "-c", line.c_str(), nullptr};
        posix_spawnattr_t attributes;
        ::posix_spawnattr_init(&attributes);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            sigaddset(&defaults, signal);
        }
        ::posix_spawnattr_setsigdefault(&attributes, &defaults);
        ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
        pid_t pid = -1;
        EXPECT_EQ(::posix_spawn(&pid, "/bin/sh", nullptr, &attributes, const_cast<char* const*>(argv), environ), 0);
        ::posix_spawnattr_destroy(&attributes);
        return pid;
    }

    // Waits for the process start() began.
    Outcome finish(pid_t pid) const
    {
        int status = 0;
        EXPECT_EQ(::waitpid(pid, &status, 0), pid);
        return outcome_of(status);
    }

    // The names in an output folder, hidden ones included.
    std::vector<std::string> files_in(const fs::path& output) const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder / output)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path folder;

private:
    // exec: the shell's process becomes the program's, so that a signal sent to it reaches the program.
    std::string command(const std::string& arguments, const std::string& shell, bool with_plugin,
                        const std::string& redirections) const
    {
        return "cd '" + folder.string() + "' && " + shell + " exec '" KYROX_RENDER_PATH "' " +
               (with_plugin ? "--plugin '" KYROX_PLUGIN_PATH "' " : "") + arguments + " >out.txt 2>err.txt " +
               redirections;
    }

    Outcome outcome_of(int status) const
    {
        Outcome outcome;
        outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        outcome.out = contents(folder / "out.txt");
        outcome.err = contents(folder / "err.txt");
        return outcome;
    }
};

struct BadInput {
    const char* arguments;
    int exit_code;
    const char* message;  // in standard error
};

TEST_F(RenderCli, EachBadInputIsNamedWithItsExitCode)
{
    const BadInput cases[] = {
        {"--preset", 2, "--preset needs a value"},
        {"--preset --size 64 36", 2, "--preset needs a value"},
        {"--output", 2, "--output needs a value"},
        {"--size 64", 2, "--size needs 2 values"},
        {"--size 0 10", 2, "--size: width must be 1 to 32768"},
        {"--size ten 10", 2, "--size: width must be 1 to 32768, not ten"},
        {"--size 10 40000", 2, "--size: height must be 1 to 32768"},
        {"--depth 12", 2, "--depth must be 8, 16 or 32"},
        {"--downsample 0", 2, "--downsample: factor must be 1 to 256"},
        {"--frames -1 2", 2, "--frames: first must be 0 to 65536"},
        {"--frames 5 2", 2, "--frames: the last frame comes before the first"},
        {"--bogus", 2, "unknown argument --bogus"},
        {"--reference 1920 1080", 2, "--reference sets the frame a contact sheet's tiles stand for"},
        {"--contact-sheet --reference 0 1080", 2, "--reference: width must be 1 to 32768"},
        {"--contact-sheet --downsample 2", 2, "--downsample does not apply to --contact-sheet"},
        {"--preset Neom", 2, "no preset named \"Neom\"; the closest are Neon"},
        {"--preset Neom", 2, "The presets: Default, Arc Reactor, "},
        {"--scene unknown_id.json", 1, "names parameter ID 9999, which the effect does not have"},
        {"--scene named_key.json", 1, "names the parameter \"gamma\": parameters are named by their numeric ID"},
        {"--scene missing.json", 1, "cannot read the scene file missing.json"},
        {"--scene huge_time.json", 1,
         "the scene file huge_time.json is not usable: time.current must be a whole number from -2147483648 to "
         "2147483647, not 10000000000.0\n"},
        {"--scene huge_text.json", 1,
         "the scene file huge_text.json is not usable: text.size must be a number from 1 to 4096, not 1e+30\n"},
        {"--size 32768 32768 --depth 32", 1, "a 32768 x 32768 32-bit frame needs about 154.0 GiB of memory"},
        {"--output a_file/frames", 1, "cannot create the output folder a_file/frames"},
        {"--contact-sheet --output a_file/sheet", 1, "cannot create the output folder a_file/sheet"},
    };
    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome outcome = render(c.arguments);
        EXPECT_EQ(outcome.exit_code, c.exit_code);
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out.find("[1/"), std::string::npos) << "rendered before failing: " << outcome.out;
    }
    const Outcome no_plugin = render("", "", false);
    EXPECT_EQ(no_plugin.exit_code, 2);
    EXPECT_NE(no_plugin.err.find("no plug-in file"), std::string::npos) << no_plugin.err;
}

TEST_F(RenderCli, HelpAndVersionGoToStandardOutput)
{
    const struct {
        const char* arguments;
        const char* text;
    } cases[] = {
        {"--help", "usage: kyrox-render --plugin FILE"},
        {"-h", "usage: kyrox-render --plugin FILE"},
        {"--version",
         "kyrox-render " KYROX_VERSION_STRING(KYROX_VERSION_MAJOR, KYROX_VERSION_MINOR, KYROX_VERSION_BUILD) "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome outcome = render(c.arguments, "", false);
        EXPECT_EQ(outcome.exit_code, 0);
        EXPECT_EQ(outcome.out.find(c.text), 0u) << outcome.out;
        EXPECT_EQ(outcome.err, "");
    }
}

TEST_F(RenderCli, FramesAreWrittenWholeWithLinesThatSayWhatTheTimeIncludes)
{
    const Outcome outcome = render("--size 64 36 --frames 0 1 --output frames");
    ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("[2/2] frames/frame_0001.png  render "), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find(" ms, hand-over "), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find(" ms, file write "), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find(" ms in the background\n"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find(" (on its own thread, alongside the rendering); files in "), std::string::npos)
        << "the summary says the writing is off the renderer's path: " << outcome.out;
    EXPECT_EQ(files_in("frames"), (std::vector<std::string>{"frame_0000.png", "frame_0001.png"}))
        << "only the finished files";
}

// A full disk (writes fail; here a file size limit) leaves no file at all, not even the temporary
// one: with the limit's signal ignored, and with it left as it was, since the program ignores it
// rather than be ended by it part way through a file.
TEST_F(RenderCli, AFailedWriteLeavesNoPartialFile)
{
    const struct {
        const char* shell;
        const char* output;
    } limits[] = {
        {"trap '' XFSZ; ulimit -f 16;", "ignored"},
        {"ulimit -f 16;", "default"},
    };
    for (const char* depth : {"8", "16", "32"}) {
        for (const auto& limit : limits) {
            SCOPED_TRACE(std::string(depth) + "-bit, the limit's signal " + limit.output);
            const Outcome failed =
                render(std::string("--frames 0 0 --depth ") + depth + " --output " + limit.output, limit.shell);
            EXPECT_EQ(failed.exit_code, 1);
            EXPECT_NE(failed.err.find("cannot write " + std::string(limit.output) + "/frame_0000."), std::string::npos)
                << failed.err;
            EXPECT_EQ(files_in(limit.output), std::vector<std::string>{});
        }
    }
}

// The frame files in an output folder, in order, each checked whole (a PNG ends with its IEND chunk,
// an OpenEXR file starts with its magic number), and the temporary files.
struct FolderContents {
    std::vector<std::string> frames;
    std::vector<std::string> temporary;
    std::vector<std::string> broken;
};

FolderContents contents_of(const fs::path& output)
{
    FolderContents found;
    for (const fs::directory_entry& entry : fs::directory_iterator(output)) {
        const std::string name = entry.path().filename().string();
        const std::string bytes = contents(entry.path());
        const bool whole = name.ends_with(".png") ? bytes.ends_with(std::string("IEND\xAE\x42\x60\x82", 8))
                                                  : bytes.starts_with("\x76\x2F\x31\x01");
        (name.front() == '.' ? found.temporary : whole ? found.frames : found.broken).push_back(name);
    }
    std::sort(found.frames.begin(), found.frames.end());
    return found;
}

// "frame_0000.png" to the count'th frame.
std::vector<std::string> first_frames(int count, const char* extension)
{
    std::vector<std::string> names;
    for (int n = 0; n < count; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%04d.%s", n, extension);
        names.emplace_back(name);
    }
    return names;
}

// A signal that stops a long run stops it after the frame in hand: the files written before stay whole,
// the file being written goes with its temporary name, no frame after it is written, and a line on
// standard error says where the run stopped. A second signal while stopping changes nothing. SIGKILL
// cannot be caught: it leaves a temporary file, never a partial file in a frame's place.
TEST_F(RenderCli, ASignalStopsTheRunLeavingWholeFilesOnly)
{
    const struct {
        int signal;
        int signals_sent;
        const char* depth;
        int exit_code;
        const char* name;
    } cases[] = {
        {SIGINT, 1, "16", 130, "SIGINT"}, {SIGINT, 2, "8", 130, "SIGINT"},   {SIGTERM, 1, "32", 143, "SIGTERM"},
        {SIGHUP, 1, "16", 129, "SIGHUP"}, {SIGPIPE, 1, "8", 141, "SIGPIPE"}, {SIGKILL, 1, "16", -1, "SIGKILL"},
    };
    for (const auto& c : cases) {
        const std::string output = std::string(c.name) + "-" + std::to_string(c.signals_sent) + "-" + c.depth;
        SCOPED_TRACE(output);
        const char* extension = std::string_view(c.depth) == "32" ? "exr" : "png";
        // Frames whose writing takes about as long as their rendering, so that the signal finds a file
        // being written, and many more than the run reaches before it.
        const pid_t pid =
            start("--size 2048 2048 --depth " + std::string(c.depth) + " --frames 0 199 --output " + output);
        const fs::path first = folder / output / first_frames(1, extension).front();
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (!fs::exists(first) && std::chrono::steady_clock::now() < give_up &&
               ::waitpid(pid, nullptr, WNOHANG) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_TRUE(fs::exists(first)) << contents(folder / "err.txt");
        for (int n = 0; n < c.signals_sent; ++n) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            ::kill(pid, c.signal);
        }
        const Outcome outcome = finish(pid);
        const FolderContents found = contents_of(folder / output);
        EXPECT_EQ(found.broken, std::vector<std::string>{});
        const int written = static_cast<int>(found.frames.size());
        EXPECT_EQ(found.frames, first_frames(written, extension)) << "the first frames, none after a gap";
        EXPECT_LT(written, 200);
        if (c.signal == SIGKILL) {
            EXPECT_EQ(outcome.signal, SIGKILL);
            EXPECT_LE(found.temporary.size(), 1u);
            continue;
        }
        EXPECT_EQ(outcome.exit_code, c.exit_code) << outcome.err;
        EXPECT_EQ(found.temporary, std::vector<std::string>{});
        const std::string stopped_at = std::to_string(written);
        EXPECT_TRUE(outcome.err.starts_with("kyrox-render: interrupted by " + std::string(c.name) + " at frame " +
                                            stopped_at + ": " + stopped_at + " of 200 files written (frame"))
            << outcome.err;
        EXPECT_TRUE(outcome.err.ends_with(" in " + output + "\n")) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    }
}

// What --dump-scene and --list-params print is their result, and a run's lines its record: output that
// cannot be written (a full device, standard output closed) fails the run with a message, whatever
// became of standard error.
TEST_F(RenderCli, OutputThatCannotBeWrittenFailsTheRun)
{
    const struct {
        const char* arguments;
        bool with_plugin;
        const char* redirections;
    } cases[] = {
        {"--dump-scene --size 8 8", false, ">/dev/full"},
        {"--smoke --list-params --size 8 8", true, ">/dev/full"},
        {"--size 8 8 --frames 0 1 --output frames", true, ">/dev/full"},
        {"--list-params --size 8 8 --frames 0 0 --output frames", true, ">&-"},
        {"--help", false, ">&-"},
        {"--size 8 8 --frames 0 1 --output frames", true, ">/dev/full 2>/dev/full"},
        {"--dump-scene --size 8 8", false, ">/dev/full 2>&-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.arguments) + " " + c.redirections);
        const Outcome outcome = render(c.arguments, "", c.with_plugin, c.redirections);
        EXPECT_EQ(outcome.exit_code, 1) << outcome.err;
        if (std::string_view(c.redirections).find("2>") == std::string_view::npos) {
            EXPECT_TRUE(outcome.err.ends_with("kyrox-render: cannot write to standard output\n")) << outcome.err;
        }
    }
    std::vector<std::string> frames = files_in("frames");
    std::sort(frames.begin(), frames.end());
    EXPECT_EQ(frames, (std::vector<std::string>{"frame_0000.png", "frame_0001.png"}))
        << "the frames are written all the same";
}

// Files are written behind the rendering: one failing part way (its name taken by a folder) stops the
// run, with the files before it whole and none after it.
TEST_F(RenderCli, AWriteFailingPartWayStopsTheRun)
{
    fs::create_directories(folder / "frames" / "frame_0003.png");
    const Outcome outcome = render("--size 64 36 --frames 0 40 --output frames");
    EXPECT_EQ(outcome.exit_code, 1);
    EXPECT_NE(outcome.err.find(" to frames/frame_0003.png: "), std::string::npos) << outcome.err;
    std::vector<std::string> names = files_in("frames");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"frame_0000.png", "frame_0001.png", "frame_0002.png", "frame_0003.png"}));
}

// Runs that fail after the plug-in's set-up set it down (a leak fails the sanitized build's exit code) and
// keep its start-up banner on a line of its own, apart from the error.
TEST_F(RenderCli, AFailedRunSetsThePluginDownAndKeepsItsBannerApart)
{
    const std::string banner =
        "## Kyrox " KYROX_VERSION_STRING(KYROX_VERSION_MAJOR, KYROX_VERSION_MINOR, KYROX_VERSION_BUILD) "\n";
    const struct {
        const char* arguments;
        bool with_plugin;
        int exit_code;
        std::string err;
    } cases[] = {
        {"--dump-scene --scene unknown_id.json", false, 1,
         banner + "kyrox-render: the scene file unknown_id.json names parameter ID 9999, which the effect does not "
                  "have (see --list-params)\n"},
        {"--dump-scene --scene huge_time.json", false, 1,
         banner + "kyrox-render: the scene file huge_time.json is not usable: time.current must be a whole number "
                  "from -2147483648 to 2147483647, not 10000000000.0\n"},
        {"--smoke --preset Neom", true, 2, "kyrox-render: no preset named \"Neom\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome outcome = render(c.arguments, "", c.with_plugin);
        EXPECT_EQ(outcome.exit_code, c.exit_code) << outcome.err;
        EXPECT_EQ(outcome.err.substr(0, c.err.size()), c.err);
        EXPECT_EQ(outcome.err.find("LeakSanitizer"), std::string::npos) << outcome.err;
    }
}

TEST_F(RenderCli, DumpSceneHonoursTheDownsampleFactor)
{
    const Outcome outcome = render("--dump-scene --size 640 360 --downsample 2", "", false);
    ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("Frame: 320 x 180, downsample 1/2\n"), std::string::npos) << outcome.out;
}

}  // namespace
