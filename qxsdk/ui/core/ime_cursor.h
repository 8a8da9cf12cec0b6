#pragma once

#include "qxsdk/ui/core/virtual_keys.h"

#include <cstdint>

// The parts of input-method composition that need no platform: where a cursor key moves the cursor while a
// clause is being converted (the input method does not say), and which keyboard languages are Korean.
namespace qxsdk::ui {

// The cursor (in UTF-16 units of a composition of the length) after the recorded key: End to the end, Home
// to 0, Left and Right one unit within the composition; any other key leaves it.
std::int32_t cursor_after_key(std::int32_t cursor, std::int32_t length, std::uint64_t key) noexcept;

// Korean input methods commit a syllable when the next key arrives.
constexpr bool is_korean_language(std::uint16_t language) noexcept
{
    return (language & 0x3FF) == 0x12;
}

// Keys that do not commit a pending conversion when the composition changes.
constexpr bool keeps_conversion_open(std::uint64_t key) noexcept
{
    return key == virtual_key::backspace || key == virtual_key::enter || key == virtual_key::space;
}

// A clause converted at the end of the composition counts as committed when the composition changes after
// a key with a character, unless that key keeps the conversion open.
constexpr bool conversion_committed(bool target_converted, std::int32_t cursor, std::int32_t length, std::uint64_t key,
                                    std::uint32_t character) noexcept
{
    return target_converted && cursor == length && character != 0 && !keeps_conversion_open(key);
}

}  // namespace qxsdk::ui
