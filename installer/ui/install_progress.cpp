// The progress page: a run of the install worker on its own thread, polled by a 200 ms timer that
// shows a line per handled slot, then the result, a retry question after a failure, and Finish.
#include "installer/ui/installer_ui.h"

#include "installer/ui/installer_bindings.h"
#include "qxsdk/ui/core/event_codes.h"

namespace installer::ui {

using namespace qxsdk::ui;

namespace {

constexpr std::int32_t install_timer_key = 1;
constexpr std::uint32_t install_tick_ms = 200;
// The resource of the custom slot: the program carries the current plug-in only.
constexpr int current_plugin_resource = 1;

}  // namespace

void InstallerUI::start_install()
{
    GenericPanel& panel = page(WizardPage::progress);
    add_timer(panel, install_timer_key, install_tick_ms, false);
    connect_installer_handler(*this, panel, event_code::timer, &on_install_timer);
    // No worker runs here, so the statuses are the last run's final ones (none before the first run).
    const slot_selection to_write = slots_still_to_write(selection_, system_.get_install_status());
    system_.clear_done();
    worker_thread_ = std::thread([this, to_write] { system_.install_plugin_files(to_write, current_plugin_resource); });
}

void InstallerUI::end_run()
{
    GenericPanel& panel = page(WizardPage::progress);
    remove_timer_handlers(panel);
    // Each run has exactly one timer: a retry starts its own.
    kill_timer(panel, install_timer_key);
    worker_thread_.join();
}

void InstallerUI::finish(std::string_view heading)
{
    install_heading_label_.set_text(heading, false);
    cancel_button_.set_text(finish_text);
    finished_ = true;
}

void on_install_timer(InstallerUI& wizard)
{
    // done before the statuses: a tick that sees done also sees every final status.
    const bool done = wizard.system_.is_done();
    const install_statuses statuses = wizard.system_.get_install_status();
    const progress_report report = progress_text(statuses, wizard.dot_count_);
    wizard.progress_label_.set_text(report.text, false);
    wizard.dot_count_ = next_dot_count(wizard.dot_count_);
    // The result waits while another pop-up (the exit question) is open; the ticks go on meanwhile.
    if (!done || wizard.open_popup_ != nullptr) {
        return;
    }
    wizard.end_run();
    if (!report.failed_slot) {
        wizard.finish(success_heading_text);
    } else {
        const std::size_t slot = *report.failed_slot;
        const std::string question = failure_question(host_version_labels[slot], statuses[slot]);
        if (wizard.ask(failure_title, question, popup_type::yes_no) == 1) {
            wizard.start_install();
            return;
        }
        wizard.finish(partial_heading_text);
    }
    wizard.progress_label_.set_text(report.text + std::string(finish_hint_text), false);
}

}  // namespace installer::ui
