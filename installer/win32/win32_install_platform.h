#pragma once
// The install worker's platform on Windows: folders, the plug-in resource of a module, the shared
// folder.

#include "installer/install_system.h"
#include "installer/win32/plugin_file_writer.h"
#include "installer/win32/shared_folder.h"

#include <windows.h>

#include <memory>

namespace installer::win32 {

class win32_install_platform final : public install_platform {
public:
    // module: where the plug-in resources are (the program's own module for the installer).
    win32_install_platform(HMODULE module, plugin_writer_hooks writer, shared_folder_hooks shared_folder);

    void create_folder(const file_path& folder) override;
    write_result write_plugin(const file_path& file, int resource_id) override;
    void prepare_shared_folder() override;

private:
    HMODULE module_;
    plugin_writer_hooks writer_;
    shared_folder_hooks shared_folder_;
};

// The platform of the running program: its own module and the real calls.
std::unique_ptr<install_platform> make_install_platform();

}  // namespace installer::win32
