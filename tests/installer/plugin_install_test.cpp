#include "installer/install_system.h"
#include "installer/win32/plugin_file_writer.h"
#include "installer/win32/shared_folder.h"
#include "installer/win32/win32_install_platform.h"
#include "tests/installer/chosen_slots.h"
#include "tests/installer/win32_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using installer::install_statuses;
using installer::System;
using installer_test::bytes_of;
using installer_test::chosen_slots;
using installer_test::exists;
using installer_test::read_file;
using installer_test::ScratchFolder;
using installer_test::write_file;

// The plug-in as this program carries it: resource 400, the way the installer carries it.
std::vector<std::byte> embedded_plugin()
{
    const HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(400), MAKEINTRESOURCEW(10));
    if (!resource) {
        return {};
    }
    const auto* bytes = static_cast<const std::byte*>(LockResource(LoadResource(nullptr, resource)));
    return {bytes, bytes + SizeofResource(nullptr, resource)};
}

// Real folders; the shared folder goes under a scratch folder of its own unless a test asks for the
// machine's common application-data folder.
class PluginInstall : public testing::Test {
protected:
    ScratchFolder targets{L"kyrox-targets"};
    ScratchFolder app_data{L"kyrox-appdata"};
    installer::win32::plugin_writer_hooks writer = installer::win32::default_plugin_writer_hooks();

    std::wstring shared_folder() const { return app_data.path() + L"\\Ostrivale\\"; }

    std::unique_ptr<System> make_system()
    {
        auto shared = installer::win32::default_shared_folder_hooks();
        shared.common_app_data = [path = app_data.path()] { return std::optional<std::wstring>(path); };
        return std::make_unique<System>(
            std::make_unique<installer::win32::win32_install_platform>(GetModuleHandleW(nullptr), writer, shared));
    }

    std::wstring target(const std::wstring& name) const
    {
        const std::wstring folder = targets / name;
        CreateDirectoryW(folder.c_str(), nullptr);
        return folder;
    }

    static std::wstring plugin_in(const std::wstring& folder) { return folder + L"\\Ostrivale\\Kyrox.aex"; }

    // Leaves an older plug-in where the next run writes.
    static void place_old_plugin(const std::wstring& folder)
    {
        CreateDirectoryW((folder + L"\\Ostrivale").c_str(), nullptr);
        write_file(plugin_in(folder), "old plug-in");
    }
};

TEST_F(PluginInstall, TheProgramCarriesTheBuiltPluginByteForByte)
{
    const std::vector<std::byte> built = read_file(installer_test::built_plugin_path());
    ASSERT_GT(built.size(), 100000u);
    EXPECT_EQ(embedded_plugin(), built);
}

TEST(InstallerManifest, AsksToRunAsTheInvoker)
{
    const HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(resource, nullptr);
    const auto* text = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
    const std::string manifest(text, SizeofResource(nullptr, resource));
    EXPECT_NE(manifest.find(R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"), std::string::npos);
}

TEST_F(PluginInstall, NoFolderChosenStillMakesTheSharedFolder)
{
    const auto system = make_system();
    system->install_plugin_files(chosen_slots({}), 1);
    EXPECT_TRUE(system->is_done());
    EXPECT_EQ(system->get_install_status(), install_statuses{});
    EXPECT_TRUE(exists(shared_folder()));
}

TEST_F(PluginInstall, WritesTheEmbeddedPluginIntoTheMakersFolder)
{
    const std::wstring cs6 = target(L"CS6");
    // The program's own platform: its module, the real calls, the machine's shared folder.
    const std::wstring machine_shared = L"C:\\ProgramData\\Ostrivale";
    installer_test::remove_tree(machine_shared);
    System system(installer::win32::make_install_platform());
    system.install_plugin_files(chosen_slots({{4, cs6}}), 1);

    EXPECT_TRUE(system.is_done());
    EXPECT_EQ(system.get_install_status(), (install_statuses{0, 0, 0, 0, 2, 0, 0, 0, 0}));
    EXPECT_EQ(read_file(plugin_in(cs6)), embedded_plugin());
    EXPECT_EQ(read_file(plugin_in(cs6)), read_file(installer_test::built_plugin_path()));
    EXPECT_FALSE(exists(plugin_in(cs6) + L".new"));
    EXPECT_TRUE(exists(machine_shared));
    installer_test::remove_tree(machine_shared);
}

TEST_F(PluginInstall, ReplacesAnExistingPlugin)
{
    const std::wstring cc = target(L"CC");
    place_old_plugin(cc);
    const auto system = make_system();
    system->install_plugin_files(chosen_slots({{5, cc}}), 1);
    EXPECT_EQ(system->get_install_status()[5], 2);
    EXPECT_EQ(read_file(plugin_in(cc)), embedded_plugin());
}

TEST_F(PluginInstall, AMissingTargetFolderFailsWith40AndStopsTheRun)
{
    const std::wstring missing = targets / L"not-there";
    const std::wstring later = target(L"CC2015");
    const auto system = make_system();
    system->install_plugin_files(chosen_slots({{3, missing}, {7, later}}), 1);
    EXPECT_TRUE(system->is_done());
    EXPECT_EQ(system->get_install_status(), (install_statuses{0, 0, 0, 40, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(exists(missing));
    EXPECT_FALSE(exists(plugin_in(later)));
    EXPECT_FALSE(exists(shared_folder()));
}

TEST_F(PluginInstall, AFailedWriteKeepsThePreviousPluginAndLeavesNoTemporaryFile)
{
    const std::wstring cc = target(L"CC");
    place_old_plugin(cc);
    // The disk fills up half way.
    writer.write_file = [](HANDLE file, std::span<const std::byte> data) {
        installer::win32::write_whole_file(file, data.first(data.size() / 2));
        return false;
    };
    const auto system = make_system();
    system->install_plugin_files(chosen_slots({{5, cc}}), 1);
    EXPECT_EQ(system->get_install_status()[5], 50);
    EXPECT_EQ(read_file(plugin_in(cc)), bytes_of("old plug-in"));
    EXPECT_FALSE(exists(plugin_in(cc) + L".new"));
    EXPECT_FALSE(exists(shared_folder()));
}

TEST_F(PluginInstall, AResourceThatCannotBeLoadedFailsWith30)
{
    const std::wstring cc = target(L"CC");
    place_old_plugin(cc);
    writer.load_resource = [](HMODULE, HRSRC) -> HGLOBAL { return nullptr; };
    const auto system = make_system();
    system->install_plugin_files(chosen_slots({{5, cc}}), 1);
    EXPECT_EQ(system->get_install_status()[5], 30);
    EXPECT_EQ(read_file(plugin_in(cc)), bytes_of("old plug-in"));
}

TEST_F(PluginInstall, TheCustomSlotWithoutTheFlagFindsNoResource)
{
    const std::wstring custom = target(L"Custom");
    const auto system = make_system();
    system->install_plugin_files(chosen_slots({{8, custom}}), 0);
    EXPECT_EQ(system->get_install_status()[8], 20);
    EXPECT_FALSE(exists(plugin_in(custom)));
}

TEST_F(PluginInstall, APluginHeldOpenIsKeptAndTheSlotFailsWith40)
{
    const std::wstring cc = target(L"CC");
    place_old_plugin(cc);
    // The host has the plug-in loaded: open without sharing.
    const HANDLE held = CreateFileW(plugin_in(cc).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto system = make_system();
    system->install_plugin_files(chosen_slots({{5, cc}}), 1);
    CloseHandle(held);
    EXPECT_EQ(system->get_install_status()[5], 40);
    EXPECT_EQ(read_file(plugin_in(cc)), bytes_of("old plug-in"));
    EXPECT_FALSE(exists(plugin_in(cc) + L".new"));
}

TEST_F(PluginInstall, StatusesSurviveBetweenRunsAndARetryFinishesTheJob)
{
    const std::wstring cs6 = target(L"CS6");
    const std::wstring cc = targets / L"CC";
    const auto system = make_system();
    system->install_plugin_files(chosen_slots({{4, cs6}, {5, cc}}), 1);
    EXPECT_EQ(system->get_install_status(), (install_statuses{0, 0, 0, 0, 2, 40, 0, 0, 0}));

    target(L"CC");
    system->clear_done();
    system->install_plugin_files(chosen_slots({{5, cc}}), 1);
    EXPECT_EQ(system->get_install_status(), (install_statuses{0, 0, 0, 0, 2, 2, 0, 0, 0}));
    EXPECT_EQ(read_file(plugin_in(cc)), embedded_plugin());
    EXPECT_TRUE(exists(shared_folder()));
}

TEST_F(PluginInstall, ATrailingBackslashIsPassedOnAsItStands)
{
    const std::wstring cs6 = target(L"CS6");
    const auto system = make_system();
    system->install_plugin_files(chosen_slots({{4, cs6 + L"\\"}}), 1);
    EXPECT_EQ(system->get_install_status()[4], 2);
    // The platform reads the doubled separator as one.
    EXPECT_EQ(read_file(cs6 + L"\\\\Ostrivale\\Kyrox.aex"), embedded_plugin());
    EXPECT_EQ(read_file(plugin_in(cs6)), embedded_plugin());
}

}  // namespace
