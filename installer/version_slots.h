#pragma once
// The nine version slots shared by detection, the wizard and the install worker: eight host
// releases and one custom folder. A slot's index is the key of every per-slot table.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace installer {

inline constexpr std::size_t slot_count = 9;
inline constexpr std::size_t custom_slot = 8;

// Shown to the user as they stand (check boxes, summary, progress and failure texts).
extern const std::array<std::string, slot_count> host_version_labels;

// The release whose registry subkey name is exactly `name` (case-sensitive, whole name), if any.
std::optional<std::size_t> slot_for_release_key(std::wstring_view name);

// Registry access masks of the detection passes: the default view, then, only for a 32-bit process
// on 64-bit Windows, the 64-bit view as well.
std::vector<std::uint32_t> detection_passes(bool running_under_wow64);

}  // namespace installer
