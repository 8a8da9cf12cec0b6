#include "installer/win32/win32_install_platform.h"

#include <utility>

namespace installer::win32 {

win32_install_platform::win32_install_platform(HMODULE module, plugin_writer_hooks writer,
                                               shared_folder_hooks shared_folder)
    : module_(module), writer_(std::move(writer)), shared_folder_(std::move(shared_folder))
{
}

void win32_install_platform::create_folder(const file_path& folder)
{
    CreateDirectoryW(folder.c_str(), nullptr);
}

write_result win32_install_platform::write_plugin(const file_path& file, int resource_id)
{
    const HRSRC resource = FindResourceW(module_, MAKEINTRESOURCEW(resource_id), MAKEINTRESOURCEW(10));
    if (!resource) {
        return write_result::resource_missing;
    }
    return write_resource_to_file(file, module_, resource, writer_);
}

void win32_install_platform::prepare_shared_folder()
{
    installer::win32::prepare_shared_folder(shared_folder_);
}

std::unique_ptr<install_platform> make_install_platform()
{
    return std::make_unique<win32_install_platform>(GetModuleHandleW(nullptr), default_plugin_writer_hooks(),
                                                    default_shared_folder_hooks());
}

}  // namespace installer::win32
