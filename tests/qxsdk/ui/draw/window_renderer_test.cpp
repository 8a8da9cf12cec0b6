#include <gtest/gtest.h>

#include "bitmap_canvas.h"

namespace qxsdk::ui {
namespace {

using testing::placed_widget;

// A plain top-level window of its own class.
class test_window {
public:
    test_window()
    {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = L"qxsdk_draw_test_window";
        RegisterClassW(&window_class);
        handle_ = CreateWindowExW(0, window_class.lpszClassName, L"renderer test", WS_POPUP | WS_VISIBLE, 0, 0, 200,
                                  100, nullptr, nullptr, window_class.hInstance, nullptr);
    }
    ~test_window() { DestroyWindow(handle_); }

    test_window(const test_window&) = delete;
    test_window& operator=(const test_window&) = delete;

    HWND handle() const noexcept { return handle_; }

private:
    HWND handle_ = nullptr;
};

TEST(WindowRenderer, PaintsThroughTheWindowsPaintAndValidatesIt)
{
    const test_window window;
    ASSERT_NE(window.handle(), nullptr);
    const std::unique_ptr<renderer> r = create_renderer(window.handle());
    ASSERT_NE(r->target(), nullptr);
    EXPECT_EQ(r->target()->GetPixelSize().width, 200u);
    EXPECT_EQ(r->target()->GetPixelSize().height, 100u);

    r->resize(150, 80);
    EXPECT_EQ(r->target()->GetPixelSize().width, 150u);
    EXPECT_EQ(r->target()->GetPixelSize().height, 80u);

    InvalidateRect(window.handle(), nullptr, FALSE);
    RECT pending{};
    ASSERT_TRUE(GetUpdateRect(window.handle(), &pending, FALSE));
    const placed_widget root({0, 0, 150, 80});
    {
        const paint_scope paint(*r, root.w, pending);
        r->set_fill_color({0.2f, 0.4f, 0.6f, 1.0f});
        r->fill_rect({0, 0, 150, 80});
    }
    EXPECT_EQ(r->open_paints(), 0u);
    // The outermost bracket ended the window's paint, which validated the update region.
    EXPECT_FALSE(GetUpdateRect(window.handle(), &pending, FALSE));
}

}  // namespace
}  // namespace qxsdk::ui
