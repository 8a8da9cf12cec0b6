#include "installer/install_system.h"
#include "installer/install_system_detail.h"
#include "installer/version_slots.h"
#include "tests/installer/chosen_slots.h"

#include <gtest/gtest.h>

#include <array>
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
using installer::slot_selection;
using installer::System;
using installer::write_result;
using installer_test::chosen_slots;

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
    system->install_plugin_files(chosen_slots({}), 1);
    EXPECT_TRUE(platform->calls.empty());
    EXPECT_EQ(platform->shared_folder_preparations, 1);
    EXPECT_EQ(system->get_install_status(), install_statuses{});
    EXPECT_TRUE(system->is_done());
}

TEST_F(InstallRun, WritesChosenSlotsInOrderAndMarksEachWhileWriting)
{
    std::vector<install_statuses> seen_while_writing;
    platform->during_write = [&] { seen_while_writing.push_back(system->get_install_status()); };
    system->install_plugin_files(chosen_slots({{7, L"E:\\CC2015"}, {4, L"D:\\CS6"}, {8, L"F:\\Mine"}}), 1);

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
    system->install_plugin_files(chosen_slots({{8, L"F:\\Mine"}}), 0);
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
        run.install_plugin_files(chosen_slots({{2, L"D:\\CS5"}, {5, L"D:\\CC"}, {7, L"D:\\CC2015"}}), 1);

        EXPECT_EQ(run.get_install_status(), (install_statuses{0, 0, 2, 0, 0, code, 0, 0, 0}));
        EXPECT_EQ(recorder.calls.size(), 4u) << "the slot after the failure is not attempted";
        EXPECT_EQ(recorder.shared_folder_preparations, 0);
        EXPECT_TRUE(run.is_done());
    }
}

TEST_F(InstallRun, StatusesSurviveBetweenRunsAndARetryRewritesOnlyItsSlots)
{
    platform->results[L"D:\\CC\\Ostrivale\\Kyrox.aex"] = write_result::create_failed;
    system->install_plugin_files(chosen_slots({{4, L"D:\\CS6"}, {5, L"D:\\CC"}, {6, L"D:\\CC2014"}}), 1);
    EXPECT_EQ(system->get_install_status(), (install_statuses{0, 0, 0, 0, 2, 40, 0, 0, 0}));

    platform->results.clear();
    platform->calls.clear();
    system->clear_done();
    EXPECT_FALSE(system->is_done());
    system->install_plugin_files(chosen_slots({{5, L"D:\\CC"}, {6, L"D:\\CC2014"}}), 1);
    EXPECT_EQ(system->get_install_status(), (install_statuses{0, 0, 0, 0, 2, 2, 2, 0, 0}));
    EXPECT_EQ(platform->calls.size(), 4u);
    EXPECT_EQ(platform->shared_folder_preparations, 1);
}

TEST_F(InstallRun, OnlyTickedSlotsWithAFolderAreWritten)
{
    slot_selection every;
    every.fill({file_path(L"X:"), true});
    system->install_plugin_files(every, 1);
    EXPECT_EQ(platform->calls.size(), 2 * slot_count);

    platform->calls.clear();
    slot_selection some;
    some[0] = {file_path(), true};  // ticked, no folder yet
    some[1] = {file_path(L"Y:"), true};
    some[2] = {file_path(L"Z:"), false};  // unticked, its folder kept
    system->install_plugin_files(some, 1);
    EXPECT_EQ(platform->calls,
              (std::vector<std::wstring>{L"mkdir Y:\\Ostrivale", L"write Y:\\Ostrivale\\Kyrox.aex 300"}));
}

// A retry after a failure: the slots written before it are not written again, the failed slot and
// the ones the run never reached are; unticked slots stay out and every folder stays as chosen.
TEST(RetryRule, SkipsOnlyTheSlotsAlreadyWritten)
{
    const slot_selection chosen =
        chosen_slots({{1, L"A:"}, {2, L"B:"}, {3, L"C:"}, {4, L"D:"}, {5, L"E:"}, {6, L"F:"}, {7, L"G:"}});
    struct retry_case {
        install_statuses statuses;
        std::array<bool, slot_count> still_chosen;
    };
    const retry_case cases[] = {
        {{}, {false, true, true, true, true, true, true, true, false}},
        {{0, 2, 2, 40, 0, 0, 0, 0, 0}, {false, false, false, true, true, true, true, true, false}},
        {{0, 2, 20, 0, 0, 0, 0, 0, 0}, {false, false, true, true, true, true, true, true, false}},
        {{0, 2, 2, 2, 2, 2, 2, 30, 0}, {false, false, false, false, false, false, false, true, false}},
        {{0, 2, 2, 2, 2, 2, 50, 2, 0}, {false, false, false, false, false, false, true, false, false}},
        {{2, 2, 2, 2, 2, 2, 2, 2, 2}, {}},
    };
    for (const retry_case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.statuses));
        const slot_selection left = installer::slots_still_to_write(chosen, c.statuses);
        for (std::size_t slot = 0; slot < slot_count; ++slot) {
            EXPECT_EQ(left[slot].chosen, c.still_chosen[slot]) << slot;
            EXPECT_EQ(left[slot].folder, chosen[slot].folder) << slot;
        }
    }
}

TEST_F(InstallRun, ARetryWritesTheFailedSlotAndTheRestButNotTheWrittenOnes)
{
    const slot_selection chosen = chosen_slots({{4, L"D:\\CS6"}, {5, L"D:\\CC"}, {7, L"D:\\CC2015"}});
    platform->results[L"D:\\CC\\Ostrivale\\Kyrox.aex"] = write_result::write_failed;
    system->install_plugin_files(chosen, 1);
    ASSERT_EQ(system->get_install_status(), (install_statuses{0, 0, 0, 0, 2, 50, 0, 0, 0}));

    platform->results.clear();
    platform->calls.clear();
    system->install_plugin_files(installer::slots_still_to_write(chosen, system->get_install_status()), 1);
    EXPECT_EQ(platform->calls, (std::vector<std::wstring>{
                                   L"mkdir D:\\CC\\Ostrivale",
                                   L"write D:\\CC\\Ostrivale\\Kyrox.aex 400",
                                   L"mkdir D:\\CC2015\\Ostrivale",
                                   L"write D:\\CC2015\\Ostrivale\\Kyrox.aex 400",
                               }));
    EXPECT_EQ(system->get_install_status(), (install_statuses{0, 0, 0, 0, 2, 2, 0, 2, 0}));
}

TEST_F(InstallRun, AnExceptionFromThePlatformFailsTheSlotAndStillEndsTheRun)
{
    platform->during_write = [] { throw std::bad_alloc(); };
    system->install_plugin_files(chosen_slots({{3, L"D:\\CS55"}, {4, L"D:\\CS6"}}), 1);
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
        slot_selection chosen;
        chosen.fill({file_path(L"ok"), true});
        const bool fails = run % 5 == 4;
        if (fails) {
            chosen[6].folder = file_path(L"bad");
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
