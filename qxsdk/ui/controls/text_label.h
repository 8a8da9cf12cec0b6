#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "qxsdk/ui/core/widget.h"
#include "qxsdk/ui/draw/renderer.h"
#include "qxsdk/ui/draw/rich_text.h"

// One UTF-8 text painted over the theme's background with the label's style keys ("label_font_*",
// "label_text_align", "label_text_valign"), or a marked-up text in rich mode. It can size itself to its
// text, and draws its text at half alpha while disabled. UI thread only.
namespace qxsdk::ui {

class TextLabel : public widget {
public:
    TextLabel();

    const std::string& text() const noexcept { return text_; }

    // Replaces the text (also by an equal one), turns auto width off and auto height to the argument, lays
    // the label out again and repaints it. Needs the label's window when a direction follows the text.
    void set_text(std::string_view text, bool auto_height);

    bool auto_width() const noexcept { return auto_width_; }
    bool auto_height() const noexcept { return auto_height_; }
    void set_auto_width(bool on);

    // Paints the marked-up text its owner keeps behind the reference instead of the plain text; null goes
    // back to the plain text. The label never owns or deletes the marked-up text.
    void set_rich_text(const std::unique_ptr<rich_text>* markup);
    bool rich_mode() const noexcept { return rich_mode_; }

    // Sets the sizes that follow the text from its measure; nothing when neither follows it.
    void update_layout();

private:
    void paint();
    void paint_rich(renderer& drawing);
    void on_style_changed();
    // The renderer's font and alignment from the label's style keys.
    void apply_text_style(renderer& drawing) const;
    void apply_alignment(renderer& drawing) const;

    std::string text_;
    const std::unique_ptr<rich_text>* rich_text_ = nullptr;
    bool rich_mode_ = false;
    bool auto_width_ = false;
    bool auto_height_ = false;
};

}  // namespace qxsdk::ui
