#pragma once

#include <cstdint>

// The virtual-key codes the toolkit acts on, as key_down and key_up carry them: the platform's numbers, so the
// portable core and the controls read them without a platform header.
namespace qxsdk::ui {

namespace virtual_key {
inline constexpr std::uint64_t backspace = 0x08;
inline constexpr std::uint64_t enter = 0x0D;
inline constexpr std::uint64_t space = 0x20;
inline constexpr std::uint64_t end = 0x23;
inline constexpr std::uint64_t home = 0x24;
inline constexpr std::uint64_t left = 0x25;
inline constexpr std::uint64_t right = 0x27;
}  // namespace virtual_key

}  // namespace qxsdk::ui
