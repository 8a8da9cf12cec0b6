#include "installer/ui/installer_ui.h"

#include "installer/host_detection.h"
#include "installer/ui/banner.h"
#include "installer/ui/installer_bindings.h"
#include "installer/ui/installer_theme.h"
#include "installer/win32/win32_install_platform.h"
#include "qxsdk/ui/controls/control_drawing.h"
#include "qxsdk/ui/core/control_layout.h"
#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/style_lookup.h"
#include "qxsdk/ui/shell/folder_picker.h"

#include <exception>

namespace installer::ui {

using namespace qxsdk::ui;
using qxsdk::filesystem::to_generic_string;

namespace {

constexpr color wizard_back{0.176f, 0.176f, 0.176f, 1.0f};
constexpr color bottom_band_back{0.275f, 0.275f, 0.275f, 1.0f};
constexpr color band_line{0.392f, 0.392f, 0.392f, 1.0f};
constexpr color clear{0.0f, 0.0f, 0.0f, 0.0f};
constexpr color clear_white{1.0f, 1.0f, 1.0f, 0.0f};
constexpr color clear_blue{0.0f, 0.0f, 1.0f, 0.0f};
constexpr color summary_back{0.118f, 0.118f, 0.118f, 1.0f};
constexpr color scroll_back{0.208f, 0.208f, 0.208f, 1.0f};
constexpr std::int32_t picture_then_caption = 0;  // check box layout: picture at the left

// Puts a widget under its parent with its own background colour.
void place(widget& child, widget& parent, const rect& area, const color& back)
{
    attach_widget(child, parent, area);
    set_style_property(child.style(), "default_back_color", back);
}

void place_label(TextLabel& label, widget& parent, const rect& area, const color& back, std::string_view text)
{
    place(label, parent, area, back);
    label.set_text(text, false);
}

void place_button(InstallerButton& button, widget& parent, const rect& area, std::string_view text)
{
    attach_widget(button, parent, area);
    button.set_text(text);
}

// The page Back (-1) or Next (+1) leads to; each button is disabled on the page with no neighbour its way.
WizardPage page_after(WizardPage page, int step)
{
    return static_cast<WizardPage>(static_cast<int>(page) + step);
}

}  // namespace

installer_ui_hooks default_installer_ui_hooks()
{
    return {
        [] { return detect_host_versions(); },
        win32::make_install_platform(),
        [](window& owner, std::string_view title, const file_path& initial) {
            return select_folder(&owner, title, initial);
        },
    };
}

InstallerUI::InstallerUI(installer_ui_hooks hooks) : hooks_(std::move(hooks)), system_(std::move(hooks_.platform))
{
    create_window(window_title, {wizard_x, wizard_y, wizard_width, wizard_height});
    // At a high display scale the fixed position can leave Cancel and the close box off a small screen.
    keep_on_screen();
    apply_installer_theme();
    set_style_property(root().style(), "default_back_color", wizard_back);
    connect_installer_handler(*this, root(), event_code::paint, &paint_installer);

    // Made after the window, whose OLE start-up must come first on this thread.
    banner_ = new_image();
    load_image_from_memory(*banner_, pictures::banner);
    layout_ = make_wizard_layout(root().geometry().width, root().geometry().height,
                                 static_cast<std::int32_t>(banner_->width()));
    build_pages();
    place_button(back_button_, root(), layout_.back, back_text);
    place_button(next_button_, root(), layout_.next, next_text);
    place_button(cancel_button_, root(), layout_.cancel, cancel_text);
    for (InstallerButton* button : {&back_button_, &next_button_, &cancel_button_}) {
        bind_installer_member(*this, *button, event_code::mouse_up, &InstallerUI::on_wizard_button);
    }
    set_page(WizardPage::greeting);
}

void InstallerUI::build_pages()
{
    place_label(title_label_, root(), layout_.title, clear, window_title);
    set_style_alias(title_label_.style(), "label_font_size", "title_font_size");
    set_style_alias(title_label_.style(), "label_font_weight", "title_font_weight");

    for (GenericPanel& panel : pages_) {
        place(panel, root(), layout_.page, &panel == &page(WizardPage::summary) ? clear_blue : clear);
        set_visible(panel, false);
    }

    place_label(intro_label_, page(WizardPage::greeting), layout_.intro, clear, intro_text());
    set_style_alias(intro_label_.style(), "label_text_valign", "label_intro_text_valign");

    place_label(versions_label_, page(WizardPage::versions), layout_.versions, clear_white, versions_text);
    set_style_alias(versions_label_.style(), "label_font_weight", "label_adobe_version_weight");
    place_version_boxes();

    place_label(summary_heading_label_, page(WizardPage::summary), layout_.summary_heading, clear_white,
                summary_heading_text);
    set_style_alias(summary_heading_label_.style(), "label_text_valign", "label_intro_text_valign");
    place(summary_panel_, page(WizardPage::summary), layout_.summary_panel, summary_back);
    place(summary_scroll_bar_, summary_panel_, layout_.summary_scroll_bar, scroll_back);
    place(summary_label_, summary_panel_, layout_.summary_label, summary_back);
    set_style_alias(summary_label_.style(), "label_font_size", "label_path_font_size");
    set_style_alias(summary_label_.style(), "label_text_valign", "label_path_text_valign");
    summary_scroll_bar_.attach(&summary_label_);

    place_label(install_heading_label_, page(WizardPage::progress), layout_.install_heading, clear_white,
                install_heading_text);
    set_style_alias(install_heading_label_.style(), "label_font_weight", "label_install_weight");
    place(progress_label_, page(WizardPage::progress), layout_.progress, clear_white);
    set_style_alias(progress_label_.style(), "label_text_valign", "label_path_text_valign");
}

void InstallerUI::place_version_boxes()
{
    const std::vector<file_path> found = hooks_.detect_host_versions();
    for (std::size_t slot = 0; slot < slot_count; ++slot) {
        slot_choice& choice = selection_[slot];
        choice.folder = slot < found.size() ? found[slot] : file_path();
        choice.chosen = !choice.folder.empty();
    }
    std::int32_t rows = 0;
    for (std::size_t slot = 0; slot < slot_count; ++slot) {
        if (!selection_[slot].chosen && slot != custom_slot) {
            continue;
        }
        CheckBox& box = version_boxes_[slot];
        place(box, page(WizardPage::versions), layout_.version_box(rows++), clear);
        box.update_layout(picture_then_caption);
        box.set_text(host_version_labels[slot]);
        box.bind_value(&selection_[slot].chosen);
        bind_installer_member(*this, box, event_code::toggled, &InstallerUI::on_custom_folder);
    }
    place_button(browse_button_, page(WizardPage::versions), layout_.browse(rows), browse_text);
    set_visible(browse_button_, false);
    bind_installer_member(*this, browse_button_, event_code::mouse_up, &InstallerUI::on_custom_folder);
    attach_widget(custom_path_label_, page(WizardPage::versions), layout_.custom_path(rows));
    set_style_property(custom_path_label_.style(), "default_back_color", clear_white);
    set_style_alias(custom_path_label_.style(), "label_font_size", "label_path_font_size");
    set_style_alias(custom_path_label_.style(), "label_text_valign", "label_path_text_valign");
    set_visible(custom_path_label_, false);
}

InstallerUI::~InstallerUI()
{
    // The process must not end while the plug-in file is being written.
    if (worker_thread_.joinable()) {
        worker_thread_.join();
    }
}

void paint_installer(InstallerUI& wizard)
{
    renderer& drawing = control_renderer(wizard.root());
    const rect whole{0, 0, wizard.root().geometry().width, wizard.root().geometry().height};
    drawing.set_fill_color(get_style_value(wizard.root().style(), "default_back_color"));
    drawing.fill_rect(whole);
    const rect band = wizard.layout().bottom_band;
    drawing.set_fill_color(bottom_band_back);
    drawing.fill_rect(band);
    drawing.set_pen(band_line, 1.0f);
    drawing.set_line_style(0);
    drawing.draw_line({0, band.y}, {band.width, band.y});
    if (wizard.banner_->loaded()) {
        drawing.draw_image({0, 0}, *wizard.banner_);
    }
}

void InstallerUI::set_page(WizardPage page)
{
    switch (page) {
    case WizardPage::greeting:
        set_enabled(back_button_, false);
        break;
    case WizardPage::summary:
        summary_label_.set_text(summary_text(selection_), true);
        set_enabled(back_button_, true);
        break;
    case WizardPage::progress:
        set_enabled(back_button_, false);
        set_enabled(next_button_, false);
        start_install();
        break;
    case WizardPage::versions:
        set_enabled(back_button_, true);
        break;
    }
    back_button_.set_text(back_text);
    next_button_.set_text(next_text);
    set_visible(this->page(current_page_), false);
    set_visible(this->page(page), true);
    current_page_ = page;
}

std::int32_t InstallerUI::ask(std::string_view title, std::string_view message, std::int32_t type)
{
    MessagePopup popup;
    show_message_popup(popup, this, title, message, type);
    popup.set_modal_result(0);
    MessagePopup* const outer = open_popup_;
    open_popup_ = &popup;
    try {
        popup.run_modal();
    } catch (...) {
        open_popup_ = outer;
        throw;
    }
    open_popup_ = outer;
    return popup.modal_result();
}

void InstallerUI::on_wizard_button(const event_info& event)
{
    if (event.sender == &back_button_) {
        set_page(page_after(current_page_, -1));
    } else if (event.sender == &next_button_) {
        set_page(page_after(current_page_, 1));
    } else if (event.sender == &cancel_button_) {
        if (finished_) {
            set_modal_result(1);
            end_modal();
            return;
        }
        const std::int32_t answer = ask(exit_title, exit_question, popup_type::ok_cancel);
        if (answer != 0) {
            set_modal_result(answer);
            end_modal();
        }
    }
}

void InstallerUI::show_folder_problem(std::string_view what)
{
    std::string message = "The folder could not be chosen: ";
    message += what;
    message += "\nThe previous folder is kept.";
    ask(folder_picker_title, message, popup_type::ok);
}

void InstallerUI::on_custom_folder(const event_info& event)
{
    if (event.sender == &browse_button_) {
        // A picker that fails, or a path that cannot be shown, must not end the installer.
        file_path& custom_folder = selection_[custom_slot].folder;
        file_path folder;
        std::string shown;
        try {
            folder = hooks_.choose_folder(*this, folder_picker_title, custom_folder);
            shown = to_generic_string(folder);
        } catch (const std::exception& failure) {
            show_folder_problem(failure.what());
            return;
        }
        if (!folder.empty()) {
            custom_folder = folder;
            custom_path_label_.set_text(shown, false);
        }
    } else if (event.sender == &version_boxes_[custom_slot]) {
        const bool custom_chosen = selection_[custom_slot].chosen;
        set_visible(browse_button_, custom_chosen);
        set_visible(custom_path_label_, custom_chosen);
    }
}

}  // namespace installer::ui
