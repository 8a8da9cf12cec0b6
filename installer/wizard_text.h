#pragma once
// Every text the wizard shows, and the texts it builds from the choice and the worker's statuses.

#include "installer/install_system.h"
#include "installer/slot_selection.h"
#include "installer/version_slots.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace installer {

inline constexpr std::string_view window_title = "Kyrox for After Effects Installer";
inline constexpr std::string_view versions_text =
    "Select which versions of Adobe After Effects you want to install Kyrox on:";
inline constexpr std::string_view summary_heading_text =
    "Click Next to continue with the installation, or click Back if you want to review or change any settings.\n";
inline constexpr std::string_view install_heading_text = "Installing Kyrox for After Effects, please wait...";
inline constexpr std::string_view success_heading_text = "Kyrox for After Effects was successfully installed.";
inline constexpr std::string_view partial_heading_text =
    "Some components of Kyrox for After Effects were not correctly installed.";
inline constexpr std::string_view finish_hint_text = "\n\nClick Finish to close the installer.";
inline constexpr std::string_view exit_title = "Exit Installer";
inline constexpr std::string_view exit_question =
    "Are you sure you want to cancel Kyrox for After Effects installation?";
inline constexpr std::string_view failure_title = "Failed to install";
inline constexpr std::string_view folder_picker_title = "Custom Folder";
inline constexpr std::string_view back_text = "< Back";
inline constexpr std::string_view next_text = "Next >";
inline constexpr std::string_view cancel_text = "Cancel";
inline constexpr std::string_view finish_text = "Finish";
inline constexpr std::string_view browse_text = "Browse";

// The greeting of the first page, with the product's version.
std::string intro_text();

// "Kyrox for After Effects " followed by the slot's label.
std::string product_label_text(std::string_view label);

// The second page's list of the chosen slots and their folders (with slashes).
std::string summary_text(const slot_selection& selection);

// One line per handled slot, the slot being written with `dots` dots, then a blank line.
struct progress_report {
    std::string text;
    std::optional<std::size_t> failed_slot;  // the last slot with a failure code
};
progress_report progress_text(const install_statuses& statuses, int dots);

// The question after a failed slot.
std::string failure_question(std::string_view label, std::int32_t code);

// The progress dots cycle 0, 1, 2, 3, 0, ...
constexpr int next_dot_count(int dots) noexcept
{
    return dots >= 3 ? 0 : dots + 1;
}

}  // namespace installer
