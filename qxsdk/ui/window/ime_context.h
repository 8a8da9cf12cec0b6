#pragma once

#include <windows.h>

#include <imm.h>

#include <cstdint>
#include <string>

#include "qxsdk/ui/core/widget.h"

// The input-method composition state of one toolkit window (East Asian input). The window procedure hands
// it the composition messages and the modal loop the keys pressed while composing; the focused widget hears
// of each step as ime_event (an ime_change) and reads the string and cursor from here. UI thread only.
namespace qxsdk::ui {

class window_base;

class ime_context {
public:
    // Detaches the window from any input context: input methods stay off until a widget attaches one.
    explicit ime_context(HWND window);

    ime_context(const ime_context&) = delete;
    ime_context& operator=(const ime_context&) = delete;

    // The composition string; once a composition ended, its result.
    const std::wstring& composition() const noexcept { return composition_; }
    bool composing() const noexcept { return composing_; }
    // A clause of the composition is being converted.
    bool target_converted() const noexcept { return target_converted_; }
    std::uint16_t language() const noexcept { return language_; }
    bool is_input_method() const noexcept { return is_input_method_; }
    bool korean() const noexcept;
    // In UTF-16 units of the composition.
    std::int32_t cursor() const noexcept { return cursor_; }
    std::uint64_t recorded_key() const noexcept { return key_; }
    std::uint32_t recorded_character() const noexcept { return character_; }

    // Where a text-input widget's caret is (client units): the candidate list is kept clear of it.
    const rect& caret() const noexcept { return caret_; }
    void set_caret(const rect& caret) noexcept { caret_ = caret; }

    // The keyboard layout changed: the window procedure passes the thread's layout. A composition still
    // open is asked to complete.
    void on_input_language_change(HKL layout);
    void on_start_composition(window_base& win);
    void on_end_composition(window_base& win);
    // flags: the GCS_ bits of the message.
    void on_composition(window_base& win, std::uint32_t flags);
    // Places the candidate list by the caret, outside it.
    void set_candidate_window();

    // A key pressed while composing: the modal loop records the input method's key for it.
    void record_key_press();
    // The same with the key and its character given (the platform's answer, or a test's).
    void record_key(std::uint64_t key, std::uint32_t character) noexcept
    {
        key_ = key;
        character_ = character;
    }

private:
    // Reads the string of the kind (GCS_COMPSTR or GCS_RESULTSTR), whether a clause is being converted, and
    // the cursor.
    void read_composition(HIMC context, DWORD kind, std::uint32_t flags);
    void update_cursor(HIMC context, DWORD kind);

    std::wstring composition_;
    bool composing_ = false;
    bool target_converted_ = false;
    std::uint16_t language_ = 0;
    bool is_input_method_ = false;
    rect caret_;
    HWND window_;
    std::uint64_t key_ = 0;
    std::uint32_t character_ = 0;
    std::int32_t cursor_ = 0;
};

}  // namespace qxsdk::ui
