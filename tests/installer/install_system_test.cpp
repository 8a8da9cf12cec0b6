#include "installer/install_system.h"
#include "installer/version_slots.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using installer::file_path;
using installer::install_statuses;
using installer::slot_count;
using installer::System;
using installer::write_result;

// Records what a run asks of the platform; writes succeed unless a file has a result set.
struct RecordingPlatform final : installer::install_platform {
    std::vector<std::wstring> calls;
    std::map<std::wstring, write_result> results;
    std::function<void()> during_write;
    int shared_folder_preparations = 0;

    void create_folder(const file_path& folder) override { calls.push_back(L"mkdir " + folder.native()); }

    write_result write_plugin(const file_path& file, int resource_id) override
    {
        calls.push_back(L"write " + file.native() + L" " + std::to_wstring(resource_id));
        if (during_write) {
            during_write();
        }
        const auto found = results.find(file.native());
        return found == results.end() ? write_result::written : found->second;
    }

    void prepare_shared_folder() override { ++shared_folder_preparations; }
};

class InstallRun : public testing::Test {
protected:
    InstallRun()
    {
        auto owned = std::make_unique<RecordingPlatform>();
        platform = owned.get();
        system = std::make_unique<System>(std::move(owned));
    }

    static std::vector<file_path> folders(std::map<std::size_t, std::wstring> chosen)
    {
        std::vector<file_path> result(slot_count);
        for (const auto& [slot, folder] : chosen) {
            result[slot] = file_path(folder);
        }
        return result;
    }

    RecordingPlatform* platform = nullptr;
    std::unique_ptr<System> system;
};

TEST(InstallPaths, FollowTheSlotFolderAsItStands)
{
    EXPECT_EQ(installer::plugin_folder_path(file_path(L"D:\\AE")).native(), L"D:\\AE\\Ostrivale");
    EXPECT_EQ(installer::plugin_file_path(file_path(L"D:\\AE")).native(), L"D:\\AE\\Ostrivale\\Kyrox.aex");
    // A trailing backslash is kept: two in a row before the maker's folder.
    EXPECT_EQ(installer::plugin_file_path(file_path(L"D:\\AE\\")).native(), L"D:\\AE\\\\Ostrivale\\Kyrox.aex");
}

TEST(InstallPaths, ResourceIdBySlotAndFlag)
{
    const std::vector<int> with_flag = {300, 300, 400, 400, 400, 400, 400, 400, 400};
    const std::vector<int> without_flag = {300, 300, 400, 400, 400, 400, 400, 400, 300};
    for (std::size_t slot = 0; slot < slot_count; ++slot) {
        EXPECT_EQ(installer::plugin_resource_id(slot, 1), with_flag[slot]) << slot;
        EXPECT_EQ(installer::plugin_resource_id(slot, 7), with_flag[slot]) << slot;
        EXPECT_EQ(installer::plugin_resource_id(slot, 0), without_flag[slot]) << slot;
    }
}

TEST_F(InstallRun, StartsWithNineUntouchedSlots)
{
    EXPECT_EQ(system->get_install_status(), install_statuses{});
    EXPECT_FALSE(system->is_done());
}

TEST_F(InstallRun, NoChosenSlotWritesNothingButPreparesTheSharedFolder)
{
    system->install_plugin_files(folders({}), 1);
    EXPECT_TRUE(platform->calls.empty());
    EXPECT_EQ(platform->shared_folder_preparations, 1);
    EXPECT_EQ(system->get_install_status(), install_statuses{});
    EXPECT_TRUE(system->is_done());
}

TEST_F(InstallRun, WritesChosenSlotsInOrderAndMarksEachWhileWriting)
{
    std::vector<install_statuses> seen_while_writing;
    platform->during_write = [&] { seen_while_writing.push_back(system->get_install_status()); };
    system->install_plugin_files(folders({{7, L"E:\\CC2015"}, {4, L"D:\\CS6"}, {8, L"F:\\Mine"}}), 1);

    EXPECT_EQ(platform->calls, (std::vector<std::wstring>{
                                   L"mkdir D:\\CS6\\Ostrivale",
                                   L"write D:\\CS6\\Ostrivale\\Kyrox.aex 400",
                                   L"mkdir E:\\CC2015\\Ostrivale",
                                   L"write E:\\CC2015\\Ostrivale\\Kyrox.aex 400",
                                   L"mkdir F:\\Mine\\Ostrivale",
                                   L"write F:\\Mine\\Ostrivale\\Kyrox.aex 400",
                               }));
    ASSERT_EQ(seen_while_writing.size(), 3u);
    EXPECT_EQ(seen_while_writing[0], (install_statuses{0, 0, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(seen_while_writing[1], (install_statuses{0, 0, 0, 0, 2, 0, 0, 1, 0}));
    EXPECT_EQ(seen_while_writing[2], (install_statuses{0, 0, 0, 0, 2, 0, 0, 2, 1}));
    EXPECT_EQ(system->get_install_status(), (install_statuses{0, 0, 0, 0, 2, 0, 0, 2, 2}));
    EXPECT_EQ(platform->shared_folder_preparations, 1);
    EXPECT_TRUE(system->is_done());
}

TEST_F(InstallRun, CustomSlotWithoutTheFlagAsksForTheOtherResource)
{
    system->install_plugin_files(folders({{8, L"F:\\Mine"}}), 0);
    EXPECT_EQ(platform->calls.back(), L"write F:\\Mine\\Ostrivale\\Kyrox.aex 300");
}

TEST_F(InstallRun, FirstFailureEndsTheRunWithItsCode)
{
    const std::vector<std::pair<write_result, std::int32_t>> failures = {
        {write_result::resource_missing, 20},
        {write_result::resource_load_failed, 30},
        {write_result::create_failed, 40},
        {write_result::write_failed, 50},
    };
    for (const auto& [result, code] : failures) {
        SCOPED_TRACE(code);
        auto owned = std::make_unique<RecordingPlatform>();
        RecordingPlatform& recorder = *owned;
        System run(std::move(owned));
        recorder.results[L"D:\\CC\\Ostrivale\\Kyrox.aex"] = result;
        run.install_plugin_files(folders({{2, L"D:\\CS5"}, {5, L"D:\\CC"}, {7, L"D:\\CC2015"}}), 1);

        EXPECT_EQ(run.get_install_status(), (install_statuses{0, 0, 2, 0, 0, code, 0, 0, 0}));
        EXPECT_EQ(recorder.calls.size(), 4u) << "the slot after the failure is not attempted";
        EXPECT_EQ(recorder.shared_folder_preparations, 0);
        EXPECT_TRUE(run.is_done());
    }
}

TEST_F(InstallRun, StatusesSurviveBetweenRunsAndARetryRewritesOnlyItsSlots)
{
    platform->results[L"D:\\CC\\Ostrivale\\Kyrox.aex"] = write_result::create_failed;
    system->install_plugin_files(folders({{4, L"D:\\CS6"}, {5, L"D:\\CC"}, {6, L"D:\\CC2014"}}), 1);
    EXPECT_EQ(system->get_install_status(), (install_statuses{0, 0, 0, 0, 2, 40, 0, 0, 0}));

    platform->results.clear();
    platform->calls.clear();
    system->clear_done();
    EXPECT_FALSE(system->is_done());
    system->install_plugin_files(folders({{5, L"D:\\CC"}, {6, L"D:\\CC2014"}}), 1);
    EXPECT_EQ(system->get_install_status(), (install_statuses{0, 0, 0, 0, 2, 2, 2, 0, 0}));
    EXPECT_EQ(platform->calls.size(), 4u);
    EXPECT_EQ(platform->shared_folder_preparations, 1);
}

TEST_F(InstallRun, FoldersPastTheNinthAreIgnoredAndAShortListIsFine)
{
    const std::vector<file_path> many(12, file_path(L"X:"));
    system->install_plugin_files(many, 1);
    EXPECT_EQ(platform->calls.size(), 2 * slot_count);

    platform->calls.clear();
    system->install_plugin_files({file_path(), file_path(L"Y:")}, 1);
    EXPECT_EQ(platform->calls,
              (std::vector<std::wstring>{L"mkdir Y:\\Ostrivale", L"write Y:\\Ostrivale\\Kyrox.aex 300"}));
}

TEST_F(InstallRun, AnExceptionFromThePlatformFailsTheSlotAndStillEndsTheRun)
{
    platform->during_write = [] { throw std::bad_alloc(); };
    system->install_plugin_files(folders({{3, L"D:\\CS55"}, {4, L"D:\\CS6"}}), 1);
    EXPECT_EQ(system->get_install_status(), (install_statuses{0, 0, 0, 40, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(system->is_done());
}

// The worker writes statuses and done on its thread while the UI thread polls without a lock, as
// the wizard's timer does: a poll that sees done must see every final status.
TEST(InstallStatusBoard, PollerThatSeesDoneSeesEveryFinalStatus)
{
    struct YieldingPlatform final : installer::install_platform {
        void create_folder(const file_path&) override { std::this_thread::yield(); }
        write_result write_plugin(const file_path& file, int) override
        {
            std::this_thread::yield();
            return file.native().starts_with(L"bad") ? write_result::write_failed : write_result::written;
        }
        void prepare_shared_folder() override {}
    };
    System system(std::make_unique<YieldingPlatform>());
    for (int run = 0; run < 50; ++run) {
        std::vector<file_path> chosen(slot_count, file_path(L"ok"));
        const bool fails = run % 5 == 4;
        if (fails) {
            chosen[6] = file_path(L"bad");
        }
        system.clear_done();
        std::thread worker([&system, chosen] { system.install_plugin_files(chosen, 1); });
        install_statuses last{};
        bool done = false;
        while (!done) {
            done = system.is_done();
            last = system.get_install_status();
            for (const std::int32_t status : last) {
                ASSERT_TRUE(status == 0 || status == 1 || status == 2 || status == 50) << status;
            }
        }
        worker.join();
        const install_statuses expected = fails ? install_statuses{2, 2, 2, 2, 2, 2, 50, 2, 2}
                                                : install_statuses{2, 2, 2, 2, 2, 2, 2, 2, 2};
        EXPECT_EQ(last, expected) << "run " << run;
    }
}

TEST(VersionSlots, LabelsAndReleaseKeys)
{
    const std::vector<std::string> labels(installer::host_version_labels.begin(), installer::host_version_labels.end());
    EXPECT_EQ(labels,
              (std::vector<std::string>{"CS3", "CS4", "CS5", "CS55", "CS6", "CC", "CC2014", "CC2015", "Custom"}));

    const std::vector<std::pair<std::wstring, std::optional<std::size_t>>> keys = {
        {L"10.0", 2},
        {L"10.5", 3},
        {L"11", 4},
        {L"12", 5},
        {L"13", 6},
        {L"13.5", 7},
        {L"11.0", std::nullopt},
        {L"10.01", std::nullopt},
        {L"10", std::nullopt},
        {L"9.0", std::nullopt},
        {L"14.0", std::nullopt},
        {L"", std::nullopt},
        {L"13.5 ", std::nullopt},
    };
    for (const auto& [name, slot] : keys) {
        EXPECT_EQ(installer::slot_for_release_key(name), slot)
            << testing::PrintToString(std::vector<int>(name.begin(), name.end()));
    }
}

TEST(VersionSlots, OnePassForANativeProcessTwoUnderWow64)
{
    EXPECT_EQ(installer::detection_passes(false), (std::vector<std::uint32_t>{0x20019}));
    EXPECT_EQ(installer::detection_passes(true), (std::vector<std::uint32_t>{0x20019, 0x20119}));
}

}  // namespace
