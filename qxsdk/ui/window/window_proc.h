#pragma once

#include <windows.h>

namespace qxsdk::ui {

// The window procedure of the toolkit's class: turns messages into events and routes them. Nothing thrown
// by a handler leaves it (see caught_exception.h).
LRESULT CALLBACK window_proc(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

}  // namespace qxsdk::ui
