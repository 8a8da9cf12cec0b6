#pragma once
// The installer's only window: a four-page wizard (greeting, versions, summary, progress) with a
// banner, a title and the Back, Next and Cancel buttons. It owns every widget, the install worker
// and the worker's thread. UI thread only; the worker's thread touches no widget.

#include "installer/install_system.h"
#include "installer/slot_selection.h"
#include "installer/ui/installer_button.h"
#include "installer/wizard_layout.h"
#include "installer/wizard_text.h"
#include "qxsdk/ui/controls/check_box.h"
#include "qxsdk/ui/controls/generic_panel.h"
#include "qxsdk/ui/controls/message_popup.h"
#include "qxsdk/ui/controls/scroll_bar.h"
#include "qxsdk/ui/controls/text_label.h"
#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/draw/image.h"
#include "qxsdk/ui/window/window.h"

#include <array>
#include <functional>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

namespace installer::ui {

// What the wizard asks of the machine; tests hand in their own.
struct installer_ui_hooks {
    std::function<std::vector<file_path>()> detect_host_versions;
    std::unique_ptr<install_platform> platform;
    // The folder picker: the chosen folder, empty when cancelled; throws when it fails.
    std::function<file_path(qxsdk::ui::window& owner, std::string_view title, const file_path& initial)> choose_folder;
};

// The registry, the program's own plug-in resource and the platform's folder dialog.
installer_ui_hooks default_installer_ui_hooks();

// The wizard's pages, in the order Next walks them.
enum class WizardPage { greeting, versions, summary, progress };
inline constexpr std::array<WizardPage, 4> wizard_pages{WizardPage::greeting, WizardPage::versions, WizardPage::summary,
                                                        WizardPage::progress};

class InstallerUI : public qxsdk::ui::window {
public:
    explicit InstallerUI(installer_ui_hooks hooks = default_installer_ui_hooks());
    // Waits for a running worker first.
    ~InstallerUI() override;

    void set_page(WizardPage page);
    void on_wizard_button(const qxsdk::ui::event_info& event);
    void on_custom_folder(const qxsdk::ui::event_info& event);
    friend void paint_installer(InstallerUI& wizard);

    // Starts a run: its timer, the tick handler and the worker thread.
    void start_install();
    friend void on_install_timer(InstallerUI& wizard);

    // The state and the widgets, for the tests and the paint.
    WizardPage current_page() const noexcept { return current_page_; }
    bool finished() const noexcept { return finished_; }
    const slot_selection& selection() const noexcept { return selection_; }
    const wizard_layout& layout() const noexcept { return layout_; }
    const qxsdk::ui::image& banner() const noexcept { return *banner_; }
    qxsdk::ui::GenericPanel& page(WizardPage which) noexcept { return pages_[static_cast<std::size_t>(which)]; }
    qxsdk::ui::CheckBox& version_box(std::size_t slot) noexcept { return version_boxes_[slot]; }
    InstallerButton& back_button() noexcept { return back_button_; }
    InstallerButton& next_button() noexcept { return next_button_; }
    InstallerButton& cancel_button() noexcept { return cancel_button_; }
    InstallerButton& browse_button() noexcept { return browse_button_; }
    const qxsdk::ui::TextLabel& title_label() const noexcept { return title_label_; }
    const qxsdk::ui::TextLabel& intro_label() const noexcept { return intro_label_; }
    const qxsdk::ui::TextLabel& versions_label() const noexcept { return versions_label_; }
    const qxsdk::ui::TextLabel& custom_path_label() const noexcept { return custom_path_label_; }
    const qxsdk::ui::TextLabel& summary_label() const noexcept { return summary_label_; }
    const qxsdk::ui::TextLabel& install_heading_label() const noexcept { return install_heading_label_; }
    const qxsdk::ui::TextLabel& progress_label() const noexcept { return progress_label_; }
    // The message pop-up the wizard is waiting on, if any.
    qxsdk::ui::MessagePopup* open_popup() const noexcept { return open_popup_; }
    bool worker_running() const noexcept { return worker_thread_.joinable(); }

private:
    void build_pages();
    void place_version_boxes();
    void end_run();
    // Shows a modal pop-up owned by the wizard and returns its result (0 when it was closed).
    std::int32_t ask(std::string_view title, std::string_view message, std::int32_t type);
    void finish(std::string_view heading);
    void show_folder_problem(std::string_view what);

    installer_ui_hooks hooks_;
    System system_;
    std::thread worker_thread_;
    std::unique_ptr<qxsdk::ui::image> banner_;
    wizard_layout layout_;
    // Declared before the panel and the label it listens to: they go first, and its handlers on them
    // with them.
    qxsdk::ui::ScrollBar summary_scroll_bar_;
    std::array<qxsdk::ui::GenericPanel, wizard_pages.size()> pages_;
    qxsdk::ui::TextLabel title_label_;
    qxsdk::ui::TextLabel intro_label_;
    qxsdk::ui::TextLabel summary_heading_label_;
    qxsdk::ui::TextLabel summary_label_;
    qxsdk::ui::TextLabel install_heading_label_;
    WizardPage current_page_ = WizardPage::greeting;
    InstallerButton back_button_;
    InstallerButton next_button_;
    InstallerButton cancel_button_;
    // The check boxes point into it; a retry leaves it as the user made it.
    slot_selection selection_;
    std::array<qxsdk::ui::CheckBox, slot_count> version_boxes_;
    InstallerButton browse_button_;
    qxsdk::ui::TextLabel custom_path_label_;
    qxsdk::ui::TextLabel versions_label_;
    qxsdk::ui::GenericPanel summary_panel_;
    qxsdk::ui::TextLabel progress_label_;
    // Dots after the slot being written; a retry goes on where the last run stopped.
    int dot_count_ = 0;
    bool finished_ = false;
    qxsdk::ui::MessagePopup* open_popup_ = nullptr;
};

void paint_installer(InstallerUI& wizard);
void on_install_timer(InstallerUI& wizard);

}  // namespace installer::ui
