#include "installer/ui/installer_theme.h"

#include "qxsdk/ui/core/style_lookup.h"

namespace installer::ui {

using namespace qxsdk::ui;

void apply_installer_theme()
{
    constexpr color text_grey{0.784f, 0.784f, 0.784f, 1.0f};
    constexpr std::int32_t bold = 2;
    constexpr std::int32_t top = 1;
    theme_overrides() = style_map{
        {style_key{"label_font_color"}, make_color_value(text_grey)},
        {style_key{"label_font_name"}, make_text_value("verdana")},
        {style_key{"checkbox_font_color"}, make_color_value(text_grey)},
        {style_key{"checkbox_font_name"}, make_text_value("verdana")},
        {style_key{"title_font_size"}, make_float_value(15.0f)},
        {style_key{"title_font_weight"}, make_int_value(bold)},
        {style_key{"label_intro_text_valign"}, make_int_value(top)},
        {style_key{"label_path_text_valign"}, make_int_value(top)},
        {style_key{"label_path_font_size"}, make_float_value(10.0f)},
        {style_key{"label_adobe_version_weight"}, make_int_value(bold)},
        {style_key{"label_install_weight"}, make_int_value(bold)},
    };
}

}  // namespace installer::ui
