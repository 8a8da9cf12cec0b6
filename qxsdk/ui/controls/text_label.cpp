#include "qxsdk/ui/controls/text_label.h"

#include "qxsdk/ui/controls/control_drawing.h"
#include "qxsdk/ui/controls/generic_panel.h"
#include "qxsdk/ui/core/control_layout.h"
#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"

namespace qxsdk::ui {

namespace {

constexpr font_keys label_font{"label_font_name", "label_font_style", "label_font_weight", "label_font_size"};
// Disabled text replaces the colour's alpha rather than scaling it.
constexpr float disabled_text_alpha = 0.5f;

}  // namespace

TextLabel::TextLabel()
{
    connect_event(*this, event_code::paint, bind_handler(*this, &TextLabel::paint));
    connect_event(*this, event_code::style_changed, bind_handler(*this, &TextLabel::on_style_changed));
}

void TextLabel::set_text(std::string_view text, bool auto_height)
{
    auto_width_ = false;
    auto_height_ = auto_height;
    text_.assign(text);
    update_layout();
    invalidate_widget(*this);
}

void TextLabel::set_auto_width(bool on)
{
    auto_width_ = on;
    update_layout();
    invalidate_widget(*this);
}

void TextLabel::set_rich_text(const std::unique_ptr<rich_text>* markup)
{
    rich_text_ = markup;
    rich_mode_ = markup != nullptr;
    invalidate_widget(*this);
}

void TextLabel::apply_alignment(renderer& drawing) const
{
    const std::int32_t vertical = get_style_int(style(), "label_text_valign");
    drawing.set_text_alignment(get_style_int(style(), "label_text_align"), vertical);
}

void TextLabel::apply_text_style(renderer& drawing) const
{
    set_style_font(drawing, style(), label_font);
    apply_alignment(drawing);
}

void TextLabel::update_layout()
{
    if (!auto_width_ && !auto_height_) {
        return;
    }
    const rect current = geometry();
    const size_units box = label_measuring_box(current, auto_width_, auto_height_);
    renderer& drawing = control_renderer(*this);
    apply_text_style(drawing);
    size_units measured;
    if (!text_.empty()) {
        const extent size = drawing.measure_text(text_, {box.width, box.height});
        measured = {size.width, size.height};
    }
    set_geometry(*this, label_geometry(current, auto_width_, auto_height_, measured));
}

void TextLabel::on_style_changed()
{
    update_layout();
    invalidate_widget(*this);
}

void TextLabel::paint()
{
    fill_background(*this);
    renderer& drawing = control_renderer(*this);
    if (rich_mode_) {
        paint_rich(drawing);
        return;
    }
    color ink = get_style_value(style(), "label_font_color");
    if (!enabled()) {
        ink.alpha = disabled_text_alpha;
    }
    drawing.set_text_color(ink);
    apply_text_style(drawing);
    if (!text_.empty()) {
        drawing.draw_text({0, 0, geometry().width, geometry().height}, text_);
    }
}

void TextLabel::paint_rich(renderer& drawing)
{
    apply_alignment(drawing);
    rich_text* markup = rich_text_ != nullptr ? rich_text_->get() : nullptr;
    if (markup == nullptr || !markup->ready()) {
        return;
    }
    const D2D1_SIZE_F box{static_cast<float>(geometry().width), static_cast<float>(geometry().height)};
    IDWriteTextLayout& layout =
        build_rich_text_layout(*markup, drawing.text_factory(), drawing.text_format(), drawing.target(), box);
    drawing.target()->DrawTextLayout(D2D1::Point2F(0.0f, 0.0f), &layout, drawing.markup_brush());
}

}  // namespace qxsdk::ui
