#pragma once
// Owners for the Win32 handles the installer opens: each is released exactly once, on every path.

#include <windows.h>

#include "common/unique_any.h"

namespace installer::win32 {

struct close_handle {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using unique_handle = kyrox::unique_any<HANDLE, close_handle>;

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null: the owner holds valid handles only.
inline unique_handle own_file_handle(HANDLE handle) noexcept
{
    return unique_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

struct close_key {
    void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using unique_hkey = kyrox::unique_any<HKEY, close_key>;

struct free_sid {
    void operator()(PSID sid) const noexcept { FreeSid(sid); }
};
using unique_sid = kyrox::unique_any<PSID, free_sid>;

// Memory the security functions allocate for the caller with LocalAlloc.
struct local_free {
    void operator()(void* block) const noexcept { LocalFree(block); }
};
template <typename T>
using unique_local = kyrox::unique_any<T*, local_free>;

}  // namespace installer::win32
