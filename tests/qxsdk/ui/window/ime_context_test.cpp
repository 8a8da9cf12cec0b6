// Input-method composition through the platform's IMM32: a test attaches an input context to the window and
// sets composition strings, which makes the platform send the real composition messages. Wine has no input
// method that types, and it reports no key for a composition: the recorded key and the keyboard language are
// given to the context as the modal loop and the window procedure would.
#include "qxsdk/ui/window/ime_context.h"

#include <windows.h>

#include <imm.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

namespace {

using namespace window_test;
using entries = std::vector<std::string>;

// An input context of the test's own, attached to the window for the test's length.
class attached_input_context {
public:
    explicit attached_input_context(HWND window) : window_(window), context_(ImmCreateContext())
    {
        previous_ = ImmAssociateContext(window_, context_);
    }
    ~attached_input_context()
    {
        ImmAssociateContext(window_, previous_);
        ImmDestroyContext(context_);
    }

    attached_input_context(const attached_input_context&) = delete;
    attached_input_context& operator=(const attached_input_context&) = delete;

    HIMC get() const noexcept { return context_; }

    void set_composition(std::wstring text)
    {
        ImmSetCompositionStringW(context_, SCS_SETSTR, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                                 nullptr, 0);
    }
    void complete() { ImmNotifyIME(context_, NI_COMPOSITIONSTR, CPS_COMPLETE, 0); }

private:
    HWND window_;
    HIMC context_;
    HIMC previous_ = nullptr;
};

// A focused editor widget hears the window's ime_event.
class ImeContextTest : public ShownWindowTest {
protected:
    ImeContextTest()
    {
        attach_widget(editor, win.root(), {10, 10, 200, 30});
        set_focus_widget(win, &editor, focus_reason::click_or_system);
        log.watch(editor, "editor", {event_code::ime_event});
    }

    ime_context& ime() { return *win.input_method(); }
    bool settle(std::size_t count)
    {
        return pump_until([&] { return log.entries.size() >= count; }, 1000ms);
    }

    widget editor;
};

TEST_F(ImeContextTest, AWindowStartsWithoutAnInputContext)
{
    ASSERT_NE(win.input_method(), nullptr);
    EXPECT_EQ(ImmGetContext(win.native().handle()), nullptr);
    EXPECT_FALSE(ime().composing());
}

TEST_F(ImeContextTest, StartUpdateAndEndReachTheFocusedWidgetWithTheStringsRead)
{
    attached_input_context context(win.native().handle());
    ime().set_caret({30, 40, 2, 16});
    context.set_composition(L"\u304B\u306A");  // two kana: four bytes as the platform counts them
    ASSERT_TRUE(settle(2));
    EXPECT_EQ(log.entries, (entries{"editor 30 0", "editor 30 1"}));
    EXPECT_TRUE(ime().composing());
    EXPECT_EQ(ime().composition(), L"\u304B\u306A");
    EXPECT_GE(ime().cursor(), 0);
    EXPECT_LE(ime().cursor(), 2);

    // The candidate list is kept clear of the caret.
    CANDIDATEFORM form{};
    ASSERT_NE(ImmGetCandidateWindow(context.get(), 0, &form), FALSE);
    EXPECT_EQ(form.dwStyle, static_cast<DWORD>(CFS_EXCLUDE));
    EXPECT_EQ(form.ptCurrentPos.x, 30);
    EXPECT_EQ(form.ptCurrentPos.y, 40);
    EXPECT_EQ(form.rcArea.right, 32);
    EXPECT_EQ(form.rcArea.bottom, 56);

    context.set_composition(L"\u304B\u306A\u3082\u3058");
    ASSERT_TRUE(settle(3));
    EXPECT_EQ(log.entries.back(), "editor 30 1");
    EXPECT_EQ(ime().composition(), L"\u304B\u306A\u3082\u3058");

    // A second start while composing changes nothing.
    SendMessageW(win.native().handle(), WM_IME_STARTCOMPOSITION, 0, 0);
    EXPECT_EQ(log.entries.size(), 3u);

    context.complete();
    ASSERT_TRUE(pump_until([&] { return !ime().composing(); }, 1000ms));
    EXPECT_EQ(log.entries.back(), "editor 30 2");
    EXPECT_EQ(ime().composition(), L"\u304B\u306A\u3082\u3058");
    EXPECT_EQ(ime().cursor(), 4);
}

TEST_F(ImeContextTest, AKoreanLayoutCommitsTheSyllableWhenAResultArrivesAfterAKey)
{
    attached_input_context context(win.native().handle());
    ime().on_input_language_change(reinterpret_cast<HKL>(std::uintptr_t{0x04120412}));
    EXPECT_EQ(ime().language(), 0x0412);
    EXPECT_TRUE(ime().korean());
    context.set_composition(L"\uD55C");
    ASSERT_TRUE(settle(2));
    EXPECT_EQ(ime().cursor(), 1);  // always at the end on a Korean layout

    ime().record_key('G', L'g');
    context.complete();
    ASSERT_TRUE(pump_until([&] { return !ime().composing(); }, 1000ms));
    // The result's composition message commits (0) just before the end (2); the platform sends the
    // composition string once more (1) before the result.
    ASSERT_GE(log.entries.size(), 4u);
    EXPECT_EQ(log.entries[log.entries.size() - 2], "editor 30 0") << ::testing::PrintToString(log.entries);
    EXPECT_EQ(log.entries.back(), "editor 30 2");
    EXPECT_EQ(ime().composition(), L"\uD55C");
}

TEST_F(ImeContextTest, WithoutARecordedKeyAResultCommitsNothingEarly)
{
    attached_input_context context(win.native().handle());
    ime().on_input_language_change(reinterpret_cast<HKL>(std::uintptr_t{0x04120412}));
    context.set_composition(L"\uD55C");
    ASSERT_TRUE(settle(2));
    context.complete();
    ASSERT_TRUE(pump_until([&] { return !ime().composing(); }, 1000ms));
    EXPECT_EQ(std::count(log.entries.begin(), log.entries.end(), "editor 30 0"), 1)
        << ::testing::PrintToString(log.entries);
    EXPECT_EQ(log.entries.back(), "editor 30 2");
}

TEST_F(ImeContextTest, ALanguageChangeDuringACompositionCompletesIt)
{
    attached_input_context context(win.native().handle());
    context.set_composition(L"\u304B");
    ASSERT_TRUE(settle(2));
    ime().on_input_language_change(reinterpret_cast<HKL>(std::uintptr_t{0x04090409}));
    EXPECT_FALSE(ime().korean());
    ASSERT_TRUE(pump_until([&] { return !ime().composing(); }, 1000ms));
    EXPECT_EQ(log.entries.back(), "editor 30 2");
    EXPECT_EQ(ime().composition(), L"\u304B");
}

TEST_F(ImeContextTest, TheModalLoopRecordsTheInputMethodsKeyWhileComposing)
{
    attached_input_context context(win.native().handle());
    context.set_composition(L"\u304B");
    ASSERT_TRUE(settle(2));
    ime().record_key('Q', L'q');
    // Inside the modal loop a key press while composing asks the input method for its key (none under Wine).
    connect_event(editor, event_code::key_down, [&](const event_info&) { win.end_modal(); });
    PostMessageW(win.native().handle(), WM_KEYDOWN, 'A', 0);
    win.run_modal();
    EXPECT_EQ(ime().recorded_key(), ImmGetVirtualKey(win.native().handle()));
    EXPECT_EQ(ime().recorded_character(), MapVirtualKeyW(static_cast<UINT>(ime().recorded_key()), MAPVK_VK_TO_CHAR));
}

TEST_F(ImeContextTest, WithoutAnInputContextMessagesChangeNothing)
{
    const HWND handle = win.native().handle();
    SendMessageW(handle, WM_IME_COMPOSITION, 0, GCS_COMPSTR);
    EXPECT_TRUE(log.entries.empty());
    SendMessageW(handle, WM_IME_STARTCOMPOSITION, 0, 0);
    SendMessageW(handle, WM_IME_COMPOSITION, 0, GCS_COMPSTR);
    SendMessageW(handle, WM_IME_ENDCOMPOSITION, 0, 0);
    // The start is reported; the update and the end find no context to read.
    EXPECT_EQ(log.entries, (entries{"editor 30 0"}));
    EXPECT_FALSE(ime().composing());
}

}  // namespace
