// A fresh process: the toolkit registers its class on the first window it makes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "qxsdk/ui/window/window.h"

namespace {

using namespace qxsdk::ui;

std::wstring class_of(HWND handle)
{
    wchar_t name[256] = {};
    GetClassNameW(handle, name, 256);
    return name;
}

TEST(WindowClass, TakesTheFirstNameTheModuleHasNotRegistered)
{
    for (const wchar_t* taken : {L"QXSDK_WINDOW_CLASS", L"QXSDK_WINDOW_CLASS0"}) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = taken;
        ASSERT_NE(RegisterClassExW(&wc), 0);
    }
    window first;
    first.create_window("first", {0, 0, 100, 100});
    EXPECT_EQ(class_of(first.native().handle()), L"QXSDK_WINDOW_CLASS00");
    window second;
    second.create_window("second", {0, 0, 100, 100});
    EXPECT_EQ(class_of(second.native().handle()), L"QXSDK_WINDOW_CLASS00");  // registered once

    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"QXSDK_WINDOW_CLASS00", &registered));
    EXPECT_EQ(registered.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
}

}  // namespace
