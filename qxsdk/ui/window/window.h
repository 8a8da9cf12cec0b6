#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "qxsdk/ui/core/window_base.h"
#include "qxsdk/ui/window/ime_context.h"
#include "qxsdk/ui/window/native_window.h"
#include "qxsdk/ui/window/painter.h"

// A top-level window of the toolkit: the platform window, the painter handlers draw through, a modal loop
// and timers, around the widget tree of window_base. Sizes are toolkit units unless named pixels.
// UI thread only.
namespace qxsdk::ui {

class window : public window_base {
public:
    window();
    ~window() override;

    // The window this one is modal over; set before create_window.
    window* owner() const noexcept { return owner_; }
    void set_owner(window* owner) noexcept { owner_ = owner; }

    // Creates the hidden platform window: area x and y in screen pixels, width and height the client size.
    // The root widget gets the client size and the focus. Throws what making the renderer throws.
    void create_window(std::string_view title, const rect& area);

    // Moves the window to (x, y) (screen pixels) and gives it a client area of width x height.
    void set_client_size(const rect& area);
    // The client area's screen position (pixels) and its size.
    rect get_client_size() const;
    // Centres the window over its owner (or the screen), kept inside the work area of the owner's monitor.
    void center_window();
    // Moves a window that sticks out of the work area of its nearest monitor back in, by the rule
    // center_window keeps it there with; a window that lies inside stays where it is.
    void keep_on_screen();

    // Shows the window, disables its owner and runs the thread's messages until end_modal or the close box.
    // Throws what a handler threw during the loop, once the loop has ended.
    void run_modal();
    // Ends the loop of run_modal, gives the owner back the enabled state it had when run_modal began
    // (and the focus when that was enabled), and hides the window.
    void end_modal();

    // Set by a subclass before it ends the modal loop, for the caller of run_modal.
    std::int32_t modal_result() const noexcept { return modal_result_; }
    void set_modal_result(std::int32_t result) noexcept { modal_result_ = result; }

    // Timers fire timer (14) on their owner with their key as the value; a one-shot timer stops after it.
    void add_timer(event_object& owner, std::int32_t key, std::uint32_t interval_ms, bool one_shot);
    // Stops the owner's first timer with the key; nothing when there is none.
    void kill_timer(const event_object& owner, std::int32_t key);
    // A timer of the platform window expired.
    void on_timer(std::uintptr_t id);

    // Mouse releases and moves go to the widget until the capture is released or the window loses it.
    void capture_mouse(widget& w);
    void release_mouse_capture();

    // The painter and the input-method context exist once the window is created.
    painter* get_painter() noexcept { return painter_.get(); }
    ime_context* input_method() noexcept { return input_method_.get(); }
    // Paints go to another painter from now on, such as one over a bitmap whose pixels can be read back.
    void set_painter(std::unique_ptr<painter> replacement) noexcept { painter_ = std::move(replacement); }
    native_window& native() noexcept { return native_; }
    const native_window& native() const noexcept { return native_; }

    void invalidate_area(const rect& area) override;
    // Also stops the widget's timers, so that none fires at its address once it is gone.
    void forget_widget(const widget& w) noexcept override;
    point cursor_position() const override;
    bool key_held(int kind) const override;

private:
    // The platform owner of the window, unless that is the desktop.
    HWND platform_owner() const noexcept;
    void stop_timer(std::uint32_t id) noexcept;
    void message_loop();
    void tooltip_tick();

    native_window native_;
    std::unique_ptr<painter> painter_;
    std::unique_ptr<ime_context> input_method_;
    window* owner_ = nullptr;
    std::int32_t modal_result_ = 0;
    // What end_modal gives back to the owner: set by run_modal while its loop runs.
    std::optional<bool> owner_was_enabled_;
};

}  // namespace qxsdk::ui
