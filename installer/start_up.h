#pragma once
// The start-up rule: a start without the marker only relaunches the program elevated; the marked
// copy runs the wizard.

#include <string_view>

namespace installer {

inline constexpr std::wstring_view elevation_marker = L"/UAC";

// A plain, case-sensitive substring search anywhere in the command line.
constexpr bool has_elevation_marker(std::wstring_view command_line) noexcept
{
    return command_line.find(elevation_marker) != std::wstring_view::npos;
}

}  // namespace installer
