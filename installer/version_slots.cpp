#include "installer/version_slots.h"

namespace installer {

const std::array<std::string, slot_count> host_version_labels = {
    "CS3", "CS4", "CS5", "CS55", "CS6", "CC", "CC2014", "CC2015", "Custom",
};

namespace {

// KEY_READ and KEY_WOW64_64KEY, without the platform's headers.
constexpr std::uint32_t key_read_access = 0x20019;
constexpr std::uint32_t key_wow64_64key = 0x0100;

struct release_key {
    std::wstring_view name;
    std::size_t slot;
};

// Slots 0 and 1 are never detected; slot 8 is the folder the user picks.
constexpr std::array<release_key, 6> release_keys = {
    {{L"10.0", 2}, {L"10.5", 3}, {L"11", 4}, {L"12", 5}, {L"13", 6}, {L"13.5", 7}}};

}  // namespace

std::optional<std::size_t> slot_for_release_key(std::wstring_view name)
{
    for (const release_key& key : release_keys) {
        if (key.name == name) {
            return key.slot;
        }
    }
    return std::nullopt;
}

std::vector<std::uint32_t> detection_passes(bool running_under_wow64)
{
    if (!running_under_wow64) {
        return {key_read_access};
    }
    return {key_read_access, key_read_access | key_wow64_64key};
}

}  // namespace installer
