#include "installer/win32/plugin_file_writer.h"

#include "installer/win32/owned_handles.h"

#include <algorithm>
#include <limits>

namespace installer::win32 {

plugin_writer_hooks default_plugin_writer_hooks()
{
    return {
        [](HMODULE module, HRSRC resource) { return LoadResource(module, resource); },
        write_whole_file,
    };
}

bool write_whole_file(HANDLE file, std::span<const std::byte> data)
{
    while (!data.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), std::numeric_limits<DWORD>::max()));
        DWORD written = 0;
        if (!WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        data = data.subspan(written);
    }
    return true;
}

file_path staging_path(const file_path& file)
{
    return file + L".new";
}

write_result replace_file_contents(const file_path& file, std::span<const std::byte> data,
                                   const plugin_writer_hooks& hooks)
{
    const file_path staging = staging_path(file);
    unique_handle handle = own_file_handle(
        CreateFileW(staging.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        return write_result::create_failed;
    }
    bool complete = hooks.write_file(handle.get(), data) && FlushFileBuffers(handle.get());
    complete = CloseHandle(handle.release()) && complete;
    if (!complete) {
        DeleteFileW(staging.c_str());
        return write_result::write_failed;
    }
    // One step: the host sees the old plug-in or the new one, never a part of either. This fails
    // while the host holds the plug-in open, and then the old one stays.
    if (!MoveFileExW(staging.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(staging.c_str());
        return write_result::create_failed;
    }
    return write_result::written;
}

write_result write_resource_to_file(const file_path& file, HMODULE module, HRSRC resource,
                                    const plugin_writer_hooks& hooks)
{
    const HGLOBAL loaded = hooks.load_resource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        return write_result::resource_load_failed;
    }
    // An empty resource is no plug-in: writing it would replace a working one with nothing.
    const DWORD size = SizeofResource(module, resource);
    if (size == 0) {
        return write_result::resource_load_failed;
    }
    return replace_file_contents(file, {static_cast<const std::byte*>(bytes), size}, hooks);
}

}  // namespace installer::win32
