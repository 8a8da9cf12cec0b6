#pragma once
// Owners for the Win32 handles the installer opens: each is released exactly once, on every path.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace installer::win32 {

struct handle_closer {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using unique_handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, handle_closer>;

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null: the owner holds valid handles only.
inline unique_handle own_file_handle(HANDLE handle) noexcept
{
    return unique_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

struct key_closer {
    void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using unique_hkey = std::unique_ptr<std::remove_pointer_t<HKEY>, key_closer>;

struct sid_freer {
    void operator()(PSID sid) const noexcept { FreeSid(sid); }
};
using unique_sid = std::unique_ptr<std::remove_pointer_t<PSID>, sid_freer>;

// Memory the security functions allocate for the caller with LocalAlloc.
struct local_freer {
    void operator()(void* block) const noexcept { LocalFree(block); }
};
template <typename T>
using unique_local = std::unique_ptr<T, local_freer>;

}  // namespace installer::win32
