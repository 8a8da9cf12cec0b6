#include "plugin/platform/mapped_file.h"

#include <windows.h>

namespace kyrox::platform {

namespace {

void close_handle(MappedFile::native_handle handle) noexcept
{
    HANDLE h = reinterpret_cast<HANDLE>(handle);
    if (h != nullptr && h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
    }
}

}  // namespace

MappedFile::~MappedFile()
{
    if (view_ != nullptr) {
        UnmapViewOfFile(view_);
    }
    close_handle(mapping_);
    close_handle(file_);
}

}  // namespace kyrox::platform
