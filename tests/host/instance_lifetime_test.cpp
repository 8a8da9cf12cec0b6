#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include "plugin/platform/crash_dump.h"
#include "plugin/platform/crash_dump_detail.h"
#include "tests/host/plugin_host.h"

extern "C" PF_Err PluginMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                             PF_LayerDef* output, void* extra);

namespace {

using kyrox::testing_support::instance_of;
using kyrox::testing_support::PluginHostTest;

TEST_F(PluginHostTest, GlobalSetdownDeletesTheInstanceAndDisposesOfTheHandle)
{
    EXPECT_EQ(host.global_setdown(), PF_Err_NONE);
    EXPECT_EQ(host.in_data().global_data, nullptr);
    EXPECT_EQ(host.out_data().global_data, nullptr);
    EXPECT_EQ(host.live_handles(), 0u);
}

TEST_F(PluginHostTest, GlobalSetdownWithAnEmptyHandleStillDisposesOfIt)
{
    PF_Handle handle = host.in_data().global_data;
    delete instance_of(host);
    *static_cast<kyrox::AePluginConnection**>(*handle) = nullptr;

    EXPECT_EQ(host.global_setdown(), PF_Err_NONE);
    EXPECT_EQ(host.in_data().global_data, nullptr);
    EXPECT_EQ(host.live_handles(), 0u);
}

TEST(InstanceLifetime, CommandsWithoutAnInstanceReturnAnErrorInsteadOfFaulting)
{
    minihost::Host host{&kyrox::plugin_entry};
    PF_PreRenderOutput output{};
    EXPECT_EQ(host.about(), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(host.params_setup(), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(host.smart_pre_render(output, host.pre_render_input(8)), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(host.smart_render(8), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(host.global_setdown(), PF_Err_NONE);
    EXPECT_TRUE(host.log().calls.empty());
}

// The host holds a handle whose block the plug-in never filled, as after a failed set-up.
TEST_F(PluginHostTest, CommandsWithAnEmptyHandleReturnAnError)
{
    kyrox::AePluginConnection* instance = instance_of(host);
    *static_cast<kyrox::AePluginConnection**>(*host.in_data().global_data) = nullptr;
    EXPECT_EQ(host.smart_render(8), PF_Err_INTERNAL_STRUCT_DAMAGED);
    *static_cast<kyrox::AePluginConnection**>(*host.in_data().global_data) = instance;
}

TEST(InstanceLifetime, HostWithoutAHandleGetsOutOfMemoryAndNoInstance)
{
    minihost::Host host{&kyrox::plugin_entry};
    PF_UtilCallbacks utils = *host.in_data().utils;
    utils.host_new_handle = [](A_u_longlong) -> PF_Handle { return nullptr; };
    host.in_data().utils = &utils;
    EXPECT_EQ(host.global_setup(), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(host.in_data().global_data, nullptr);
    EXPECT_EQ(host.about(), PF_Err_INTERNAL_STRUCT_DAMAGED);
}

// Crash dumps of the guarded entry go to a private folder, and the message to nowhere.
class QuietCrashDumps {
public:
    QuietCrashDumps()
    {
        environment_ = kyrox::system_crash_dump_environment();
        environment_.documents_folder = [] { return folder(); };
        environment_.notify = [](const kyrox::NativeString&) noexcept {};
        std::filesystem::create_directories(folder());
        kyrox::set_crash_dump_environment(&environment_);
    }
    ~QuietCrashDumps()
    {
        kyrox::set_crash_dump_environment(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(folder(), ignored);
    }
    QuietCrashDumps(const QuietCrashDumps&) = delete;
    QuietCrashDumps& operator=(const QuietCrashDumps&) = delete;

private:
    static std::filesystem::path folder() { return std::filesystem::temp_directory_path() / "kyrox-host-tests-dumps"; }

    kyrox::CrashDumpEnvironment environment_{};
};

TEST(InstanceLifetime, TheExportReturnsInternalStructDamagedWhenTheGuardCatchesAFailure)
{
    const QuietCrashDumps quiet;
    minihost::Host host{&PluginMain};
    PF_UtilCallbacks utils = *host.in_data().utils;
    utils.host_new_handle = [](A_u_longlong) -> PF_Handle { throw std::bad_alloc(); };
    host.in_data().utils = &utils;
    EXPECT_EQ(host.global_setup(), PF_Err_INTERNAL_STRUCT_DAMAGED);
}

TEST(InstanceLifetime, TheExportPassesTheEntrysResultOn)
{
    minihost::Host host{&PluginMain};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(host.global_setup(), PF_Err_NONE);
    ::testing::internal::GetCapturedStderr();
    host.settings().output_error = 7;
    EXPECT_EQ(host.smart_render(8), 7);
    EXPECT_EQ(host.global_setdown(), PF_Err_NONE);
}

}  // namespace
