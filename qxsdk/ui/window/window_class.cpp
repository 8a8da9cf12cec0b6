#include "qxsdk/ui/window/window_class.h"

#include <cstddef>

#include "qxsdk/ui/window/window_proc.h"

namespace qxsdk::ui {

namespace {

// The name must fit the platform's 256-character class-name buffer, terminator included.
constexpr std::size_t max_class_name = 255;

std::wstring register_class()
{
    const HINSTANCE module = GetModuleHandleW(nullptr);
    std::wstring name = L"QXSDK_WINDOW_CLASS";
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    while (name.size() < max_class_name && GetClassInfoExW(module, name.c_str(), &existing)) {
        name += L'0';
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = window_proc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name.c_str();
    RegisterClassExW(&wc);
    return name;
}

}  // namespace

const std::wstring& window_class_name()
{
    static const std::wstring name = register_class();
    return name;
}

}  // namespace qxsdk::ui
