#include "installer/install_system.h"

#include "installer/install_system_detail.h"

#include <stdexcept>

namespace installer {

namespace {

constexpr int plugin_resource = 400;
constexpr int legacy_plugin_resource = 300;

}  // namespace

int plugin_resource_id(std::size_t slot, int resource_flag)
{
    if (slot < 2) {
        return legacy_plugin_resource;
    }
    if (slot == custom_slot && resource_flag == 0) {
        return legacy_plugin_resource;
    }
    return plugin_resource;
}

file_path plugin_folder_path(const file_path& folder)
{
    return folder + L"\\Ostrivale";
}

file_path plugin_file_path(const file_path& folder)
{
    return plugin_folder_path(folder) + L"\\Kyrox.aex";
}

install_statuses init_install_status()
{
    return {};
}

slot_selection slots_still_to_write(slot_selection selection, const install_statuses& statuses)
{
    for (std::size_t slot = 0; slot < slot_count; ++slot) {
        if (statuses[slot] == status_installed) {
            selection[slot].chosen = false;
        }
    }
    return selection;
}

System::System(std::unique_ptr<install_platform> platform) : platform_(std::move(platform))
{
    if (!platform_) {
        throw std::invalid_argument("installer::System needs a platform");
    }
    const install_statuses initial = init_install_status();
    for (std::size_t slot = 0; slot < slot_count; ++slot) {
        install_status_[slot].store(initial[slot], std::memory_order_relaxed);
    }
}

void System::set_status(std::size_t slot, std::int32_t status) noexcept
{
    install_status_[slot].store(status, std::memory_order_release);
}

// Runs on the worker thread: an exception must not end the process or leave the poller waiting
// for done, so it counts as a file that could not be made.
write_result System::install_slot(const file_path& folder, int resource_id) noexcept
{
    try {
        // The folder may exist already; a folder that cannot be made shows up as the file's failure.
        platform_->create_folder(plugin_folder_path(folder));
        return platform_->write_plugin(plugin_file_path(folder), resource_id);
    } catch (...) {
        return write_result::create_failed;
    }
}

void System::install_plugin_files(const slot_selection& selection, int resource_flag)
{
    done_.store(false, std::memory_order_release);
    for (std::size_t slot = 0; slot < slot_count; ++slot) {
        const auto& [folder, chosen] = selection[slot];
        if (!chosen || folder.empty()) {
            continue;
        }
        set_status(slot, status_installing);
        const write_result result = install_slot(folder, plugin_resource_id(slot, resource_flag));
        if (result != write_result::written) {
            set_status(slot, static_cast<std::int32_t>(result) * 10);
            done_.store(true, std::memory_order_release);
            return;
        }
        set_status(slot, status_installed);
    }
    try {
        platform_->prepare_shared_folder();
    } catch (...) {
        // The shared folder is a courtesy: its failures never fail a run.
    }
    done_.store(true, std::memory_order_release);
}

install_statuses System::get_install_status() const noexcept
{
    install_statuses copy{};
    for (std::size_t slot = 0; slot < slot_count; ++slot) {
        copy[slot] = install_status_[slot].load(std::memory_order_acquire);
    }
    return copy;
}

}  // namespace installer
