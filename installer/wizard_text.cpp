#include "installer/wizard_text.h"

#include "qxsdk/filesystem/text_conversion.h"

#include <array>

namespace installer {

namespace {

constexpr std::string_view product_name = "Kyrox";
constexpr std::string_view product_title = "Kyrox for After Effects";
constexpr std::array<std::int32_t, 3> product_version = {1, 0, 39};

}  // namespace

std::string intro_text()
{
    std::string text = "This will install ";
    text += product_name;
    text += ' ';
    for (std::size_t i = 0; i < product_version.size(); ++i) {
        if (i != 0) {
            text += '.';
        }
        text += qxsdk::int_to_string(product_version[i]);
    }
    text += " plugin on your computer.\n\nIt is recommended that you close all other applications before "
            "continuing.\n\nClick Next to continue, or Cancel to exit the installer.";
    return text;
}

std::string product_label_text(std::string_view label)
{
    std::string text(product_title);
    text += ' ';
    text += label;
    return text;
}

std::string summary_text(const slot_selection& selection)
{
    std::string text = "Installing ";
    text += product_name;
    text += " on:\n\n";
    for (std::size_t slot = 0; slot < slot_count; ++slot) {
        const auto& [folder, chosen] = selection[slot];
        if (chosen) {
            text += host_version_labels[slot] + ":\n" + qxsdk::filesystem::to_generic_string(folder) + "\n\n";
        }
    }
    return text;
}

progress_report progress_text(const install_statuses& statuses, int dots)
{
    progress_report report;
    for (std::size_t slot = 0; slot < slot_count; ++slot) {
        const std::string& label = host_version_labels[slot];
        switch (statuses[slot]) {
        case status_untouched:
            break;
        case status_installing:
            report.text += "Installing " + std::string(product_title) + " " + label +
                           std::string(static_cast<std::size_t>(dots), '.') + "\n";
            break;
        case status_installed:
            report.text += product_label_text(label) + " installed.\n";
            break;
        default:
            report.text += product_label_text(label) + " failed to install!\n";
            report.failed_slot = slot;
            break;
        }
    }
    report.text += "\n";
    return report;
}

std::string failure_question(std::string_view label, std::int32_t code)
{
    std::string text = "The installation of ";
    text += product_title;
    text += ' ';
    text += label;
    text += " failed!\nError code: " + qxsdk::int_to_string(code) + " Please contact support.\n\nDo you want to retry?";
    return text;
}

}  // namespace installer
