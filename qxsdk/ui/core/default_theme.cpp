#include "qxsdk/ui/core/default_theme.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "qxsdk/ui/core/default_theme_detail.h"
#include "qxsdk/ui/core/pictures.h"

namespace qxsdk::ui {

namespace {

theme_row colour(style_key key, float red, float green, float blue, float alpha = 1.0f)
{
    return {key, style_kind::color, make_color_value(make_color(red, green, blue, alpha))};
}

theme_row integer(style_key key, std::int32_t value)
{
    return {key, style_kind::integer, make_int_value(value)};
}

theme_row real(style_key key, float value)
{
    return {key, style_kind::real, make_float_value(value)};
}

theme_row flag(style_key key, bool value)
{
    return {key, style_kind::flag, make_flag_value(value)};
}

theme_row font(style_key key, std::string_view family)
{
    return {key, style_kind::text, make_text_value(family)};
}

theme_row picture(style_key key, std::span<const std::uint8_t> png, std::int32_t frames = 1)
{
    return {key, style_kind::image, make_image_value(png, frames)};
}

theme_row no_picture(style_key key)
{
    return picture(key, {});
}

// Font style: 1 italic, else normal. Font weight: 1 light, 2 bold, else normal. Alignment: 0 leading
// (horizontal), 0 centred (vertical). "default_back_color" is magenta so that an unthemed surface shows.
const std::vector<theme_row>& rows()
{
    static const std::vector<theme_row> table{
        colour("default_back_color", 1, 0, 1),

        colour("checkbox_back_color", 0, 0, 0, 0),
        colour("checkbox_border_color_normal", 0.294f, 0.294f, 0.294f),
        colour("checkbox_border_color_hover", 1, 1, 1),
        colour("checkbox_border_color_focus", 0.255f, 0.584f, 0.753f),
        real("checkbox_border_width", 1.0f),
        font("checkbox_font_name", "tahoma"),
        integer("checkbox_font_style", 0),
        integer("checkbox_font_weight", 0),
        colour("checkbox_font_color", 1, 1, 1),
        real("checkbox_font_size", 11.0f),
        picture("checkbox_image", pictures::checkbox_strip, 2),

        colour("colorcontrol_gradient_1", 0.3f, 0.302f, 0.318f),
        colour("colorcontrol_gradient_2", 0.2f, 0.204f, 0.22f),
        colour("colorcontrol_border_color_normal", 0.294f, 0.294f, 0.294f),
        colour("colorcontrol_border_color_hover", 1, 1, 1),
        colour("colorcontrol_border_color_focus", 0.255f, 0.584f, 0.753f),
        colour("colorcontrol_back_color_disabled", 0.145f, 0.149f, 0.165f),

        colour("dropdown_text_part_color", 0.173f, 0.176f, 0.192f),
        colour("dropdown_text_part_color_hover", 0.239f, 0.247f, 0.263f),
        flag("dropdown_gradient_text", true),
        colour("dropdown_gradient_text_1", 0.22f, 0.224f, 0.243f),
        colour("dropdown_gradient_text_2", 0.157f, 0.161f, 0.176f),
        colour("dropdown_button_part_color", 0.196f, 0.2f, 0.216f),
        colour("dropdown_button_part_color_hover", 0.263f, 0.267f, 0.286f),
        flag("dropdown_gradient_button", true),
        colour("dropdown_gradient_button_1", 0.239f, 0.243f, 0.259f),
        colour("dropdown_gradient_button_2", 0.173f, 0.176f, 0.192f),
        picture("dropdown_button_image", pictures::dropdown_button),
        colour("dropdown_border_color_normal", 0.294f, 0.294f, 0.294f),
        colour("dropdown_border_color_hover", 1, 1, 1),
        colour("dropdown_border_color_focus", 0.255f, 0.584f, 0.753f),
        font("dropdown_font_name", "tahoma"),
        integer("dropdown_font_style", 0),
        integer("dropdown_font_weight", 0),
        colour("dropdown_font_color", 1, 1, 1),
        real("dropdown_font_size", 11.0f),
        integer("dropdown_text_align", 0),

        colour("button_color_normal", 0.173f, 0.176f, 0.192f),
        colour("button_color_hover", 0.239f, 0.247f, 0.263f),
        colour("button_color_toggle", 0.188f, 0.29f, 0.506f),
        colour("button_border_color_hover", 1, 1, 1),
        colour("button_border_color_focus", 0.6f, 0.6f, 0.6f),
        font("button_font_name", "tahoma"),
        integer("button_font_style", 0),
        integer("button_font_weight", 2),
        colour("button_font_color", 1, 1, 1),
        real("button_font_size", 11.0f),
        no_picture("button_back_image"),

        colour("menubar_back_color_selected", 0.188f, 0.29f, 0.506f),
        colour("menubar_back_color_Highlight", 0.239f, 0.247f, 0.263f),
        font("menubar_font_name", "tahoma"),
        integer("menubar_font_style", 0),
        integer("menubar_font_weight", 0),
        colour("menubar_font_color", 1, 1, 1),
        real("menubar_font_size", 11.0f),

        colour("splitpanel_back_color", 0.145f, 0.149f, 0.165f),
        colour("splitpanel_border_color", 0.294f, 0.294f, 0.294f),
        colour("splitpanel_mark_color", 0.4f, 0.4f, 0.4f),
        integer("splitpanel_split_thickness", 10),

        colour("tooltip_back_color", 0.106f, 0.106f, 0.11f),
        colour("tooltip_border_color", 0.29f, 0.31f, 0.325f),
        colour("tooltip_border_color_1", 0, 0, 0),
        colour("tooltip_back_color", 0.106f, 0.106f, 0.11f),
        font("tooltip_font_name", "tahoma"),
        integer("tooltip_font_style", 0),
        integer("tooltip_font_weight", 0),
        colour("tooltip_font_color", 0.655f, 0.655f, 0.655f),
        real("tooltip_font_size", 11.0f),
        font("tooltip_title_font_name", "tahoma"),
        integer("tooltip_title_font_style", 0),
        integer("tooltip_title_font_weight", 2),
        colour("tooltip_title_font_color", 1, 1, 1),
        real("tooltip_title_font_size", 11.0f),

        colour("multicolumn_header_color", 0.2f, 0.204f, 0.22f),
        colour("multicolumn_header_divider_color", 0.314f, 0.314f, 0.314f),
        font("multicolumn_header_font_name", "verdana"),
        integer("multicolumn_header_font_style", 0),
        integer("multicolumn_header_font_weight", 0),
        colour("multicolumn_header_font_color", 1, 1, 1),
        real("multicolumn_header_font_size", 11.0f),
        font("multicolumn_font_name", "verdana"),
        integer("multicolumn_font_style", 0),
        integer("multicolumn_font_weight", 0),
        real("multicolumn_font_size", 11.0f),
        colour("multicolumn_font_color", 0.855f, 0.855f, 0.855f),
        colour("multicolumn_font_color_selected", 1, 1, 1),
        colour("multicolumn_font_color_disabled", 0.5f, 0.5f, 0.5f),
        colour("multicolumn_back_color_selected", 0.188f, 0.29f, 0.506f),
        colour("multicolumn_font_color_highlighted", 0.255f, 0.584f, 0.753f),
        colour("multicolumn_divider_color", 0.251f, 0.251f, 0.251f),
        colour("multicolumn_line_color", 0.2f, 0.2f, 0.2f),

        colour("tabcontainer_line_color", 0.314f, 0.314f, 0.314f),

        colour("tabbutton_gradient_1", 0.22f, 0.224f, 0.243f),
        colour("tabbutton_gradient_2", 0.157f, 0.161f, 0.176f),
        colour("tabbutton_gradient_1_selected", 0.255f, 0.584f, 0.753f),
        colour("tabbutton_gradient_2_selected", 0.188f, 0.29f, 0.506f),
        colour("tabbutton_gradient_1_hover", 0.263f, 0.267f, 0.286f),
        font("tabbutton_font_name", "tahoma"),
        integer("tabbutton_font_style", 0),
        integer("tabbutton_font_weight", 0),
        real("tabbutton_font_size", 11.0f),
        colour("tabbutton_font_color", 0.8f, 0.8f, 0.8f),
        colour("tabbutton_font_color_selected", 1, 1, 1),

        font("float_font_name", "tahoma"),
        integer("float_font_style", 0),
        integer("float_font_weight", 0),
        real("float_font_size", 10.0f),
        colour("float_font_color", 1, 1, 1),
        colour("float_font_color_disabled", 0.5f, 0.5f, 0.5f),
        colour("float_input_back_color", 0.118f, 0.122f, 0.133f),
        colour("float_input_font_color", 1, 1, 1),
        colour("float_input_font_default_text_color", 0.5f, 0.5f, 0.5f),

        font("multifloat_font_name", "tahoma"),
        real("multifloat_font_size", 10.0f),
        integer("multifloat_font_weight", 0),
        integer("multifloat_font_style", 0),
        colour("multifloat_font_color", 1, 1, 1),

        colour("input_border_color", 0.294f, 0.294f, 0.294f),
        colour("input_selection_color", 0.188f, 0.29f, 0.506f),
        colour("input_ime_cursor_color", 1, 1, 1),
        colour("input_ime_block_color", 0.255f, 0.584f, 0.753f),
        font("input_font_name", "tahoma"),
        integer("input_font_style", 0),
        integer("input_font_weight", 0),
        real("input_font_size", 12.0f),
        colour("input_font_color", 1, 1, 1),
        colour("input_font_default_text_color", 0.5f, 0.5f, 0.5f),

        colour("scroll_button_back_color", 0.22f, 0.235f, 0.251f),
        colour("scroll_button_line_color", 0.325f, 0.325f, 0.325f),
        colour("scroll_bar_back_color", 0.145f, 0.149f, 0.165f),
        colour("scroll_bar_line_color", 0.314f, 0.314f, 0.314f),
        colour("scroll_back_color", 0.067f, 0.071f, 0.078f),

        font("label_font_name", "tahoma"),
        integer("label_font_style", 0),
        integer("label_font_weight", 0),
        real("label_font_size", 11.0f),
        colour("label_font_color", 1, 1, 1),
        integer("label_text_align", 0),
        integer("label_text_valign", 0),

        colour("browser_back_color", 0.118f, 0.122f, 0.133f),
        colour("browser_back_color_hover", 0.173f, 0.176f, 0.192f),
        colour("browser_back_color_selected", 0.188f, 0.29f, 0.506f),
        colour("browser_font_color", 0.855f, 0.855f, 0.855f),
        colour("browser_font_color_hover", 1, 1, 1),
        colour("browser_font_color_selected", 1, 1, 1),
        font("browser_font_name", "tahoma"),
        integer("browser_font_style", 0),
        integer("browser_font_weight", 0),
        integer("browser_font_weight_selected", 2),
        real("browser_font_size", 11.0f),
        picture("browser_folder_image", pictures::browser_folder),
        picture("browser_pack_image", pictures::browser_item),
        picture("browser_stared_image", pictures::browser_item),
        picture("browser_alien_image", pictures::browser_item),
        picture("browser_virtual_image", pictures::browser_virtual),

        integer("editparam_height", 22),
        colour("editparam_back_color", 0.145f, 0.149f, 0.165f),
        colour("editparam_back_color_hover", 0.173f, 0.176f, 0.192f),
        colour("editparam_font_color", 1, 1, 1),
        colour("editparam_font_color_disabled", 1, 1, 1, 0.5f),
        font("editparam_font_name", "tahoma"),
        integer("editparam_font_style", 0),
        integer("editparam_font_weight", 0),
        real("editparam_font_size", 11.0f),
        integer("editparam_title_height", 28),
        colour("editparam_title_back_color", 0.2f, 0.204f, 0.22f),
        integer("editparam_title_font_weight", 2),
        colour("editparam_title_font_color", 1, 1, 1),
        no_picture("editparam_icon_image"),

        colour("multiwindow_back_color", 0.145f, 0.149f, 0.165f),
        colour("multiwindow_border_color", 0.294f, 0.294f, 0.294f),
        colour("multiwindow_title_back_color", 0.2f, 0.204f, 0.22f),
        colour("multiwindow_tab_color", 0.173f, 0.176f, 0.192f),
        colour("multiwindow_tab_color_selected", 0.239f, 0.247f, 0.263f),
        flag("multiwindow_tab_gradient", true),
        colour("multiwindow_tab_gradient_1", 0.22f, 0.224f, 0.243f),
        colour("multiwindow_tab_gradient_2", 0.157f, 0.161f, 0.176f),
        colour("multiwindow_tab_gradient_1_selected", 0.263f, 0.267f, 0.286f),
        colour("multiwindow_tab_gradient_2_selected", 0.196f, 0.2f, 0.216f),
        colour("multiwindow_tab_line_color", 0.294f, 0.294f, 0.294f),
        colour("multiwindow_tab_line_color_selected", 0.255f, 0.584f, 0.753f),
        colour("multiwindow_tab_split_line_color", 0.118f, 0.122f, 0.133f),
        font("multiwindow_tab_font_name", "Verdana"),
        integer("multiwindow_tab_font_style", 0),
        integer("multiwindow_tab_font_weight", 2),
        real("multiwindow_tab_font_size", 11.0f),
        colour("multiwindow_tab_font_color", 1, 1, 1),
        colour("multiwindow_button_color", 0.173f, 0.176f, 0.192f),
        flag("multiwindow_button_gradient", true),
        colour("multiwindow_button_gradient_1", 0.239f, 0.243f, 0.259f),
        colour("multiwindow_button_gradient_2", 0.173f, 0.176f, 0.192f),
        colour("multiwindow_button_line_color", 0.294f, 0.294f, 0.294f),
        picture("multiwindow_button_image", pictures::multiwindow_button),
        colour("multiwindow_button_border_color_hover", 1, 1, 1),
    };
    return table;
}

}  // namespace

std::span<const theme_row> default_theme_rows()
{
    return rows();
}

const style_map& default_theme()
{
    static const style_map theme = [] {
        style_map map;
        for (const theme_row& row : rows()) {
            map.emplace(row.key, row.value);  // a key's first row stays
        }
        return map;
    }();
    return theme;
}

}  // namespace qxsdk::ui
