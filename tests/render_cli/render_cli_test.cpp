#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
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
    // before it in the same shell (limits, signal settings).
    Outcome render(const std::string& arguments, const std::string& shell = "", bool with_plugin = true) const
    {
        const std::string command = "cd '" + folder.string() + "' && " + shell + " exec '" KYROX_RENDER_PATH "' " +
                                    (with_plugin ? "--plugin '" KYROX_PLUGIN_PATH "' " : "") + arguments +
                                    " >out.txt 2>err.txt";
        const int status = std::system(command.c_str());
        Outcome outcome;
        outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.out = contents(folder / "out.txt");
        outcome.err = contents(folder / "err.txt");
        return outcome;
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
        {"--size 32768 32768 --depth 32", 1, "a 32768 x 32768 32-bit frame needs about 88.0 GiB of memory"},
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

// A full disk (writes fail; here a file size limit with its signal ignored) and a killed run (the
// limit's signal ends the program) both leave no partial file under the frame's name.
TEST_F(RenderCli, AFailedWriteLeavesNoPartialFile)
{
    for (const char* depth : {"8", "16", "32"}) {
        SCOPED_TRACE(depth);
        const std::string arguments = std::string("--frames 0 0 --depth ") + depth + " --output full";
        const Outcome failed = render(arguments, "trap '' XFSZ; ulimit -f 16;");
        EXPECT_EQ(failed.exit_code, 1);
        EXPECT_NE(failed.err.find("cannot write full/frame_0000."), std::string::npos) << failed.err;
        EXPECT_TRUE(files_in("full").empty()) << files_in("full").front();

        const Outcome killed = render(arguments + " --output killed", "ulimit -f 16;");
        EXPECT_EQ(killed.exit_code, -1);
        for (const std::string& name : files_in("killed")) {
            EXPECT_EQ(name.front(), '.') << name << " is in the frame's place";
        }
    }
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
