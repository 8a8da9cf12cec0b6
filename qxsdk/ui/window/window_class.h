#pragma once

#include <windows.h>

#include <string>

namespace qxsdk::ui {

// Registers the toolkit's window class once per process and returns its name: "QXSDK_WINDOW_CLASS", with a
// "0" appended for as long as the module already has a class of that name.
const std::wstring& window_class_name();

}  // namespace qxsdk::ui
