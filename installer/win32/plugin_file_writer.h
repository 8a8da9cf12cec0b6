#pragma once
// Writes the plug-in resource into its file without ever leaving a partial plug-in behind: the
// bytes go to a temporary file in the same folder, which then replaces the plug-in in one step.

#include "installer/install_system.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <span>

namespace installer::win32 {

// The platform calls a write goes through; tests replace them to make the rare failures happen.
struct plugin_writer_hooks {
    std::function<HGLOBAL(HMODULE, HRSRC)> load_resource;
    std::function<bool(HANDLE, std::span<const std::byte>)> write_file;
};

// LoadResource, and WriteFile until every byte is written.
plugin_writer_hooks default_plugin_writer_hooks();

// Writes all of data to the open file; false on any failure, a short write included.
bool write_whole_file(HANDLE file, std::span<const std::byte> data);

// The temporary file a write goes through: the plug-in path with ".new" appended.
file_path staging_path(const file_path& file);

// Replaces the file's contents with data, or leaves the old file as it was: creating the temporary
// file or replacing the plug-in with it fails → create_failed; writing, flushing or closing fails →
// write_failed. The temporary file never outlives the call.
write_result replace_file_contents(const file_path& file, std::span<const std::byte> data,
                                   const plugin_writer_hooks& hooks);

// Loads the found resource of the module and writes it to the file as above; a resource that
// cannot be loaded → resource_load_failed.
write_result write_resource_to_file(const file_path& file, HMODULE module, HRSRC resource,
                                    const plugin_writer_hooks& hooks);

}  // namespace installer::win32
