#pragma once
// The install worker: writes the embedded plug-in into the plug-in folder of every chosen version
// slot on a thread of its own, reports a status per slot, and after a run in which every chosen
// slot was written prepares the shared application-data folder. The UI thread polls the statuses
// and the done flag without a lock; the platform work sits behind install_platform.

#include "installer/slot_selection.h"
#include "installer/version_slots.h"
#include "qxsdk/filesystem/file_path.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace installer {

using qxsdk::filesystem::file_path;

// Status of a slot: 0 untouched, 1 being written, 2 written, or a failed step's result times 10.
inline constexpr std::int32_t status_untouched = 0;
inline constexpr std::int32_t status_installing = 1;
inline constexpr std::int32_t status_installed = 2;

// Result of writing one slot's plug-in file.
enum class write_result : std::int32_t {
    written = 0,
    resource_missing = 2,      // status 20
    resource_load_failed = 3,  // status 30
    create_failed = 4,         // status 40: the file (or its replacement step) could not be made
    write_failed = 5,          // status 50: writing, flushing or closing failed
};

using install_statuses = std::array<std::int32_t, slot_count>;

// What a run needs of the platform.
class install_platform {
public:
    virtual ~install_platform() = default;
    // Creates one folder; failure is not reported (the folder may exist, or creating the file fails).
    virtual void create_folder(const file_path& folder) = 0;
    // Writes the plug-in resource with the given id to the file, replacing an existing one.
    virtual write_result write_plugin(const file_path& file, int resource_id) = 0;
    // Creates the shared folder and, when it is new, opens it to the local Users group. Silent.
    virtual void prepare_shared_folder() = 0;
};

// folder + "\Ostrivale", joined as they stand.
file_path plugin_folder_path(const file_path& folder);

install_statuses init_install_status();

// What a run after `statuses` writes: the selection less the slots already written, so a retry
// writes the failed slot and those the stopped run never reached, and nothing twice.
slot_selection slots_still_to_write(slot_selection selection, const install_statuses& statuses);

class System {
public:
    explicit System(std::unique_ptr<install_platform> platform);

    System(const System&) = delete;
    System& operator=(const System&) = delete;

    // The worker: one run over the chosen slots that have a folder, in slot order. Stops at the first
    // slot that fails. Statuses of slots it does not handle keep their values from earlier runs.
    void install_plugin_files(const slot_selection& selection, int resource_flag);

    // Cleared by the starter before the worker thread starts, so a poll never sees the previous
    // run's flag.
    void clear_done() noexcept { done_.store(false, std::memory_order_release); }

    // Read done before the statuses: a poll that sees done also sees every final status.
    bool is_done() const noexcept { return done_.load(std::memory_order_acquire); }
    install_statuses get_install_status() const noexcept;

private:
    void set_status(std::size_t slot, std::int32_t status) noexcept;
    write_result install_slot(const file_path& folder, int resource_id) noexcept;

    std::atomic<bool> done_{false};
    std::array<std::atomic<std::int32_t>, slot_count> install_status_{};
    std::unique_ptr<install_platform> platform_;
};

}  // namespace installer
