#include "qxsdk/ui/window/ime_context.h"

#include <algorithm>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/ime_cursor.h"
#include "qxsdk/ui/core/window_base.h"

namespace qxsdk::ui {

namespace {

// The window's input context for the length of a scope; null when the window has none.
class input_context_lease {
public:
    explicit input_context_lease(HWND window) : window_(window), context_(ImmGetContext(window)) {}
    ~input_context_lease()
    {
        if (context_ != nullptr) {
            ImmReleaseContext(window_, context_);
        }
    }

    input_context_lease(const input_context_lease&) = delete;
    input_context_lease& operator=(const input_context_lease&) = delete;

    HIMC get() const noexcept { return context_; }

private:
    HWND window_;
    HIMC context_;
};

void route_ime(window_base& win, std::uint64_t change)
{
    route_window_event(win, event_code::ime_event, change);
}

}  // namespace

ime_context::ime_context(HWND window) : window_(window)
{
    ImmAssociateContext(window_, nullptr);
}

bool ime_context::korean() const noexcept
{
    return is_korean_language(language_);
}

void ime_context::on_input_language_change(HKL layout)
{
    language_ = LOWORD(reinterpret_cast<std::uintptr_t>(layout));
    is_input_method_ = ImmIsIME(layout) != FALSE;
    if (composing_) {
        if (const input_context_lease context(window_); context.get() != nullptr) {
            ImmNotifyIME(context.get(), NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
        }
    }
}

void ime_context::on_start_composition(window_base& win)
{
    if (composing_) {
        return;
    }
    CreateCaret(window_, nullptr, 1, 1);
    set_candidate_window();
    composing_ = true;
    route_ime(win, ime_change::started_or_committed);
}

void ime_context::on_end_composition(window_base& win)
{
    if (!composing_) {
        return;
    }
    if (const input_context_lease context(window_); context.get() != nullptr) {
        read_composition(context.get(), GCS_RESULTSTR, 0);
        route_ime(win, ime_change::ended_with_result);
    }
    DestroyCaret();
    composing_ = false;
}

void ime_context::on_composition(window_base& win, std::uint32_t flags)
{
    // A conversion pending at the end of the string counts as committed by the key that followed it.
    if (conversion_committed(target_converted_, cursor_, static_cast<std::int32_t>(composition_.size()), key_,
                             character_)) {
        route_ime(win, ime_change::ended_with_result);
        route_ime(win, ime_change::started_or_committed);
    }
    target_converted_ = false;
    // A Korean input method commits the syllable when the next key arrives.
    if (korean() && (flags & GCS_RESULTSTR) != 0 && character_ != 0) {
        route_ime(win, ime_change::started_or_committed);
    }
    bool changed = false;
    {
        const input_context_lease context(window_);
        if (context.get() == nullptr) {
            return;
        }
        if ((flags & GCS_COMPSTR) != 0) {
            read_composition(context.get(), GCS_COMPSTR, flags);
            changed = true;
        }
    }
    if (changed) {
        route_ime(win, ime_change::composition_changed);
    }
}

void ime_context::read_composition(HIMC context, DWORD kind, std::uint32_t flags)
{
    // The platform counts the string in bytes.
    const LONG bytes = ImmGetCompositionStringW(context, kind, nullptr, 0);
    if (bytes <= 0) {
        composition_.clear();
        return;
    }
    std::wstring text(static_cast<std::size_t>(bytes) / sizeof(wchar_t), L'\0');
    const LONG read = ImmGetCompositionStringW(context, kind, text.data(), static_cast<DWORD>(bytes));
    text.resize(static_cast<std::size_t>(std::clamp<LONG>(read, 0, bytes)) / sizeof(wchar_t));
    composition_ = std::move(text);

    target_converted_ = false;
    if (kind != GCS_RESULTSTR && (flags & GCS_COMPATTR) != 0) {
        const LONG count = ImmGetCompositionStringW(context, GCS_COMPATTR, nullptr, 0);
        if (count > 0) {
            std::vector<BYTE> attributes(static_cast<std::size_t>(count), 0);
            ImmGetCompositionStringW(context, GCS_COMPATTR, attributes.data(), static_cast<DWORD>(count));
            target_converted_ = std::ranges::find(attributes, BYTE{ATTR_TARGET_CONVERTED}) != attributes.end();
        }
    }
    update_cursor(context, kind);
}

void ime_context::update_cursor(HIMC context, DWORD kind)
{
    const auto length = static_cast<std::int32_t>(composition_.size());
    if (kind == GCS_RESULTSTR || korean()) {
        cursor_ = length;
    } else if (!target_converted_) {
        cursor_ = std::clamp<std::int32_t>(ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0), 0, length);
    } else {
        cursor_ = cursor_after_key(cursor_, length, key_);
    }
}

void ime_context::set_candidate_window()
{
    const input_context_lease context(window_);
    if (context.get() == nullptr) {
        return;
    }
    CANDIDATEFORM form{};
    form.dwIndex = 0;
    form.dwStyle = CFS_EXCLUDE;
    form.ptCurrentPos = {caret_.x, caret_.y};
    form.rcArea = {caret_.x, caret_.y, caret_.x + caret_.width, caret_.y + caret_.height};
    ImmSetCandidateWindow(context.get(), &form);
}

void ime_context::record_key_press()
{
    const UINT key = ImmGetVirtualKey(window_);
    record_key(key, MapVirtualKeyW(key, MAPVK_VK_TO_CHAR));
}

}  // namespace qxsdk::ui
