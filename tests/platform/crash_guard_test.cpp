#include "plugin/platform/crash_guard.h"

#include "plugin/platform/crash_dump.h"
#include "plugin/platform/crash_dump_detail.h"
#include "plugin/platform/platform.h"
#ifdef _WIN32
#include "plugin/platform/win32/dump_writer.h"
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* fixed_dump_name = "Kyrox_v1.0.39-20190305-070809-1234-5678.dmp";

// What the test environment's services answer; plain functions read it, so it is process-wide.
struct TestServices {
    std::mutex lock;
    fs::path documents;
    fs::path temporary;
    std::vector<kyrox::NativeString> messages;
    std::atomic<int> clock_calls{0};
};

TestServices& services()
{
    static TestServices instance;
    return instance;
}

// 5 March 2019 07:08:09, one second later on every call after the first.
kyrox::platform::LocalTime fixed_clock() noexcept
{
    const int call = services().clock_calls.fetch_add(1);
    return {2019, 3, 5, 7, 8, 9 + call};
}

fs::path test_documents()
{
    const std::lock_guard hold(services().lock);
    return services().documents;
}

fs::path test_temporary()
{
    const std::lock_guard hold(services().lock);
    return services().temporary;
}

long fixed_process() noexcept
{
    return 1234;
}

long fixed_thread() noexcept
{
    return 5678;
}

void record_message(const kyrox::NativeString& message) noexcept
{
    const std::lock_guard hold(services().lock);
    services().messages.push_back(message);
}

kyrox::NativeString native(std::string_view ascii)
{
    return kyrox::NativeString(ascii.begin(), ascii.end());
}

kyrox::NativeString expected_message(const fs::path& dump)
{
    return native("Kyrox has encountered an unrecoverable error.\n\n"
                  "Please compress the following file and contact support (support@ostrivale.com):\n\n") +
           dump.native();
}

std::string file_text(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The failing bodies. The sanitizers would stop at the undefined operations themselves, and
// ThreadSanitizer would count the stores that fault as racing; the point here is what the
// processor does with them.
[[gnu::no_sanitize("undefined", "thread")]] void write_through_null(void*)
{
    volatile int* volatile target = nullptr;
    *target = 1;
}

[[gnu::no_sanitize("undefined", "thread")]] void divide_by_zero(void*)
{
    volatile int dividend = 1;
    volatile int zero = 0;
    volatile int quotient = dividend / zero;
    static_cast<void>(quotient);
}

void execute_illegal_instruction(void*)
{
    __builtin_trap();
}

// Never reaches depth 0: it recurses until the stack runs out.
[[gnu::noinline]] int recurse_from(int depth)
{
    volatile char frame_filler[256];
    frame_filler[0] = static_cast<char>(depth);
    return depth == 0 ? 0 : recurse_from(depth + 1) + frame_filler[0];
}

void overflow_stack(void*)
{
    recurse_from(1);
}

void throw_runtime_error(void*)
{
    throw std::runtime_error("blade collapsed");
}

void throw_integer(void*)
{
    throw 7;
}

// Holds threads back until all of them are there, so that their faults come at once. Not std::latch:
// GCC 12's standard library for MinGW has no futex to wait on, and its waiter looks for a wake-up
// before it takes the lock it sleeps under while the waker signals without that lock; a wake-up in
// between is lost, which under load left threads waiting forever. Here the count is read, changed
// and slept on under one lock.
class StartLine {
public:
    explicit StartLine(int threads) : missing_(threads) {}

    void arrive_and_wait()
    {
        std::unique_lock hold(lock_);
        if (--missing_ == 0) {
            all_there_.notify_all();
        }
        all_there_.wait(hold, [this] { return missing_ == 0; });
    }

private:
    std::mutex lock_;
    std::condition_variable all_there_;
    int missing_;
};

class CrashGuard : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("kyrox-crash-") + std::to_string(kyrox::platform::process_id()) + "-" +
                           test->test_suite_name() + "-" + test->name();
        std::replace(name.begin(), name.end(), '/', '-');
        root_ = fs::temp_directory_path() / name;
        fs::remove_all(root_);
        fs::create_directories(documents());
        fs::create_directories(temporary());
        {
            const std::lock_guard hold(services().lock);
            services().documents = documents();
            services().temporary = temporary();
            services().messages.clear();
        }
        services().clock_calls = 0;
        kyrox::set_crash_dump_environment(&environment_);
    }

    void TearDown() override
    {
        kyrox::set_crash_dump_environment(nullptr);
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    fs::path documents() const { return root_ / "documents"; }
    fs::path temporary() const { return root_ / "temp"; }
    static fs::path log_folder(const fs::path& base) { return base / "Ostrivale" / "Error Logs"; }

    static std::vector<fs::path> dumps_in(const fs::path& folder)
    {
        std::vector<fs::path> files;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    static std::vector<kyrox::NativeString> messages()
    {
        const std::lock_guard hold(services().lock);
        return services().messages;
    }

    kyrox::CrashDumpEnvironment environment_{fixed_clock,   test_documents, test_temporary,
                                             fixed_process, fixed_thread,   record_message};

private:
    fs::path root_;
};

TEST_F(CrashGuard, NormalBodyReportsSuccessAndWritesNothing)
{
    int runs = 0;
    auto body = [&] { ++runs; };
    EXPECT_TRUE(kyrox::run_guarded(body));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(dumps_in(log_folder(documents())).empty());
    EXPECT_TRUE(messages().empty());
}

struct FailureCase {
    const char* name;
    void (*body)(void*);
    // What the POSIX crash report must say about it.
    const char* report_line;
};

class CrashGuardFailure : public CrashGuard, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CrashGuardFailure, WritesOneDumpWithTheFixedNameAndTellsTheUser)
{
    EXPECT_FALSE(kyrox::run_guarded(GetParam().body, nullptr));

    const fs::path dump = log_folder(documents()) / fixed_dump_name;
    EXPECT_EQ(dumps_in(log_folder(documents())), std::vector<fs::path>{dump});
    EXPECT_EQ(messages(), std::vector<kyrox::NativeString>{expected_message(dump)});

    const std::string contents = file_text(dump);
#ifdef _WIN32
    EXPECT_EQ(contents.substr(0, 4), "MDMP");
#else
    EXPECT_NE(contents.find("thread: 5678\n"), std::string::npos) << contents;
    EXPECT_NE(contents.find(GetParam().report_line), std::string::npos) << contents;
    EXPECT_NE(contents.find("backtrace:\n"), std::string::npos) << contents;
#endif
}

INSTANTIATE_TEST_SUITE_P(
    Failures, CrashGuardFailure,
    ::testing::Values(FailureCase{"NullWrite", write_through_null, "signal: 11 (SIGSEGV), code 1\naddress: "},
                      FailureCase{"DivideByZero", divide_by_zero, "signal: 8 (SIGFPE)"},
                      FailureCase{"IllegalInstruction", execute_illegal_instruction, "signal: 4 (SIGILL)"},
                      FailureCase{"StackOverflow", overflow_stack, "signal: 11 (SIGSEGV)"},
                      FailureCase{"StandardException", throw_runtime_error, "exception: blade collapsed\n"},
                      FailureCase{"OtherException", throw_integer, "exception: unknown\n"}),
    [](const ::testing::TestParamInfo<FailureCase>& param) { return std::string(param.param.name); });

TEST_F(CrashGuard, WithoutDocumentsFolderTheDumpGoesUnderTheTemporaryFolder)
{
    environment_.documents_folder = [] { return fs::path(); };
    EXPECT_FALSE(kyrox::run_guarded(write_through_null, nullptr));

    const fs::path dump = log_folder(temporary()) / fixed_dump_name;
    EXPECT_EQ(dumps_in(log_folder(temporary())), std::vector<fs::path>{dump});
    EXPECT_EQ(messages(), std::vector<kyrox::NativeString>{expected_message(dump)});
}

TEST_F(CrashGuard, LaterFaultsWriteFurtherFilesAndRecreateRemovedFolders)
{
    const fs::path logs = log_folder(documents());
    EXPECT_FALSE(kyrox::run_guarded(write_through_null, nullptr));
    EXPECT_FALSE(kyrox::run_guarded(throw_runtime_error, nullptr));
    EXPECT_EQ(dumps_in(logs), (std::vector<fs::path>{logs / "Kyrox_v1.0.39-20190305-070809-1234-5678.dmp",
                                                     logs / "Kyrox_v1.0.39-20190305-070810-1234-5678.dmp"}));

    fs::remove_all(documents() / "Ostrivale");
    EXPECT_FALSE(kyrox::run_guarded(write_through_null, nullptr));
    EXPECT_EQ(dumps_in(logs), std::vector<fs::path>{logs / "Kyrox_v1.0.39-20190305-070811-1234-5678.dmp"});
    EXPECT_EQ(messages().size(), 3u);
}

TEST_F(CrashGuard, InnermostGuardTakesTheFaultAndOuterBodyCarriesOn)
{
    bool inner_result = true;
    bool after_inner = false;
    auto outer = [&] {
        inner_result = kyrox::run_guarded(write_through_null, nullptr);
        after_inner = true;
    };
    EXPECT_TRUE(kyrox::run_guarded(outer));
    EXPECT_FALSE(inner_result);
    EXPECT_TRUE(after_inner);
    EXPECT_EQ(dumps_in(log_folder(documents())).size(), 1u);

    // Once the inner guard is gone, a fault belongs to the outer one.
    auto fault_after_inner = [] {
        auto fine = [] {};
        EXPECT_TRUE(kyrox::run_guarded(fine));
        write_through_null(nullptr);
    };
    EXPECT_FALSE(kyrox::run_guarded(fault_after_inner));
    EXPECT_EQ(dumps_in(log_folder(documents())).size(), 2u);
}

TEST_F(CrashGuard, FaultsOnSeveralThreadsAtOnceEachWriteTheirOwnDump)
{
    environment_.thread_id = kyrox::platform::current_thread_id;
    environment_.local_time = []() noexcept { return kyrox::platform::LocalTime{2019, 3, 5, 7, 8, 9}; };
    constexpr int thread_count = 6;
    StartLine start(thread_count);
    std::vector<long> thread_ids(thread_count);
    std::vector<int> results(thread_count, -1);
    {
        std::vector<std::jthread> threads;
        for (int i = 0; i < thread_count; ++i) {
            threads.emplace_back([&, i] {
                thread_ids[static_cast<std::size_t>(i)] = kyrox::platform::current_thread_id();
                start.arrive_and_wait();
                results[static_cast<std::size_t>(i)] =
                    kyrox::run_guarded(i % 2 == 0 ? write_through_null : throw_runtime_error, nullptr) ? 1 : 0;
            });
        }
    }
    EXPECT_EQ(results, std::vector<int>(thread_count, 0));

    std::vector<fs::path> expected;
    for (const long id : thread_ids) {
        expected.push_back(log_folder(documents()) /
                           ("Kyrox_v1.0.39-20190305-070809-1234-" + std::to_string(id) + ".dmp"));
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dumps_in(log_folder(documents())), expected);
    EXPECT_EQ(messages().size(), static_cast<std::size_t>(thread_count));
}

#ifdef _WIN32
// A dump that faults is never finished: its thread resumes at its guard with the dump writer still
// held. Here the message faults right after taking the writer, as a dump would; the next fault, on
// another thread, must still write its dump instead of waiting for the writer forever.
TEST_F(CrashGuard, AReportCutShortByAFaultHoldsUpNoLaterDump)
{
    environment_.thread_id = kyrox::platform::current_thread_id;
    environment_.notify = [](const kyrox::NativeString&) noexcept {
        kyrox::dump_writer::acquire();
        write_through_null(nullptr);
    };
    EXPECT_FALSE(kyrox::run_guarded(write_through_null, nullptr));
    std::thread later([] { EXPECT_FALSE(kyrox::run_guarded(write_through_null, nullptr)); });
    later.join();
    EXPECT_EQ(dumps_in(log_folder(documents())).size(), 2u);
}
#endif

#ifndef _WIN32
// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;
    ~ScopedVariable()
    {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST_F(CrashGuard, DocumentsFolderFollowsTheUserFolderListThenTheUsualName)
{
    const fs::path home = documents() / "home";
    const fs::path config = documents() / "config";
    const ScopedVariable home_variable("HOME", home.string());
    const ScopedVariable config_variable("XDG_CONFIG_HOME", config.string());
    fs::create_directories(config);

    // No folder at all: the guard falls back to the temporary folder.
    EXPECT_EQ(kyrox::platform::documents_folder(), fs::path());

    fs::create_directories(home / "Documents");
    EXPECT_EQ(kyrox::platform::documents_folder(), home / "Documents");

    fs::create_directories(home / "Papers");
    std::ofstream(config / "user-dirs.dirs") << "# written by the desktop\n"
                                                "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n";
    EXPECT_EQ(kyrox::platform::documents_folder(), home / "Papers");
}

// Outside a guard a fault must still end the process as it would without the guard (under the
// sanitizers: with their report).
TEST_F(CrashGuard, FaultOutsideAnyGuardStillEndsTheProcess)
{
    auto fine = [] {};
    ASSERT_TRUE(kyrox::run_guarded(fine));
    EXPECT_DEATH(write_through_null(nullptr), "");
    EXPECT_TRUE(dumps_in(log_folder(documents())).empty());
}
#endif

}  // namespace
