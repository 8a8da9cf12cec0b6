#pragma once

#include <bit>
#include <cstdint>

// The codes of the toolkit's events and the packing of their 64-bit values.
namespace qxsdk::ui {

namespace event_code {

inline constexpr std::int32_t mouse_up = 1;         // button released; value: a mouse_button
inline constexpr std::int32_t mouse_down = 2;       // button pressed, or a double click nobody takes; a mouse_button
inline constexpr std::int32_t double_click = 3;     // only to widgets with a handler for it; a mouse_button
inline constexpr std::int32_t mouse_wheel = 4;      // vertical wheel; wheel_event_value
inline constexpr std::int32_t mouse_enter = 5;      // the cursor moved onto the widget
inline constexpr std::int32_t mouse_leave = 6;      // the cursor left the widget, or the window while over it
inline constexpr std::int32_t mouse_move = 7;       // moved within the widget, or anywhere while it has the capture
inline constexpr std::int32_t key_down = 8;         // to the focused widget; the virtual-key code
inline constexpr std::int32_t key_up = 9;           // to the focused widget; the virtual-key code
inline constexpr std::int32_t char_input = 10;      // to the focused widget; the UTF-16 code unit (never Tab)
inline constexpr std::int32_t paint = 11;           // to each widget being painted
inline constexpr std::int32_t resized = 12;         // pack_pair(previous width, previous height)
inline constexpr std::int32_t moved = 13;           // pack_pair(previous x, previous y)
inline constexpr std::int32_t timer = 14;           // to the timer's owner; the timer's key
inline constexpr std::int32_t attached = 16;        // the widget joined a tree (or became a window's root)
inline constexpr std::int32_t parent_resized = 18;  // to every child; pack_pair(parent's previous width, height)
inline constexpr std::int32_t parent_moved = 19;    // to every child; pack_pair(parent's previous x, y)
inline constexpr std::int32_t child_added = 20;     // on the parent; address_value(child)
inline constexpr std::int32_t child_removed = 21;   // on the parent; address_value(child)
inline constexpr std::int32_t focus_gained = 22;    // a focus_reason
inline constexpr std::int32_t focus_lost = 23;      // a focus_reason
inline constexpr std::int32_t shown = 24;           // the own visible flag turns on (still off during the handlers)
inline constexpr std::int32_t hidden = 25;          // the own visible flag turns off (still on during the handlers)
inline constexpr std::int32_t toggled = 26;         // a check box flipped
inline constexpr std::int32_t button_clicked = 27;  // the button's toggled state, 0 or 1
inline constexpr std::int32_t files_dropped = 29;   // address_value of the dropped paths, valid during the call only
inline constexpr std::int32_t ime_event = 30;       // an ime_change
inline constexpr std::int32_t style_changed = 31;   // address of the changed key's characters; see changed_style_key

}  // namespace event_code

namespace mouse_button {
inline constexpr std::uint64_t left = 0;
inline constexpr std::uint64_t middle = 1;
inline constexpr std::uint64_t right = 2;
}  // namespace mouse_button

// Why the focus moved.
namespace focus_reason {
inline constexpr std::uint64_t click_or_system = 0;
inline constexpr std::uint64_t tab = 1;
inline constexpr std::uint64_t popup = 2;  // a message pop-up put it on its first button
}  // namespace focus_reason

namespace ime_change {
inline constexpr std::uint64_t started_or_committed = 0;
inline constexpr std::uint64_t composition_changed = 1;
inline constexpr std::uint64_t ended_with_result = 2;
}  // namespace ime_change

// Two 32-bit integers in one value: the first in the low half, the second in the high half.
constexpr std::uint64_t pack_pair(std::int32_t low, std::int32_t high) noexcept
{
    return std::uint64_t{static_cast<std::uint32_t>(low)} | std::uint64_t{static_cast<std::uint32_t>(high)} << 32;
}

constexpr std::int32_t pair_low(std::uint64_t value) noexcept
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

constexpr std::int32_t pair_high(std::uint64_t value) noexcept
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value >> 32));
}

// The wheel event carries half the signed wheel delta (120 a notch) as the bits of a double.
constexpr std::uint64_t wheel_event_value(std::int32_t wheel_delta) noexcept
{
    return std::bit_cast<std::uint64_t>(wheel_delta * 0.5);
}

constexpr double wheel_amount(std::uint64_t value) noexcept
{
    return std::bit_cast<double>(value);
}

inline std::uint64_t address_value(const void* address) noexcept
{
    return reinterpret_cast<std::uintptr_t>(address);
}

template <class T>
T* value_address(std::uint64_t value) noexcept
{
    return reinterpret_cast<T*>(static_cast<std::uintptr_t>(value));
}

}  // namespace qxsdk::ui
