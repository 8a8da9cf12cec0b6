#include "qxsdk/ui/core/default_theme.h"
#include "qxsdk/ui/core/default_theme_detail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "qxsdk/ui/core/pictures.h"

namespace {

using namespace qxsdk::ui;

// The kind a key holds, told by its name alone.
style_kind kind_by_name(std::string_view key)
{
    for (const std::string_view flag_key : {"dropdown_gradient_text", "dropdown_gradient_button",
                                            "multiwindow_tab_gradient", "multiwindow_button_gradient"}) {
        if (key == flag_key) {
            return style_kind::flag;
        }
    }
    if (key.ends_with("_font_name")) {
        return style_kind::text;
    }
    if (key.ends_with("_font_size") || key.ends_with("_width")) {
        return style_kind::real;
    }
    for (const std::string_view end :
         {"_font_style", "_font_weight", "_font_weight_selected", "_align", "_valign", "_thickness", "_height"}) {
        if (key.ends_with(end)) {
            return style_kind::integer;
        }
    }
    return key.ends_with("_image") ? style_kind::image : style_kind::color;
}

std::size_t byte_count_of(style_kind kind)
{
    switch (kind) {
    case style_kind::integer:
    case style_kind::real:
        return 4;
    case style_kind::flag:
        return 1;
    case style_kind::image:
        return 24;
    default:
        return 0;
    }
}

TEST(DefaultTheme, Has195RowsAnd194Keys)
{
    EXPECT_EQ(default_theme_rows().size(), 195u);
    EXPECT_EQ(default_theme().size(), 194u);
    std::set<std::string_view> keys;
    std::vector<std::string_view> doubled;
    for (const theme_row& row : default_theme_rows()) {
        if (!keys.insert(row.key.view()).second) {
            doubled.push_back(row.key.view());
        }
    }
    EXPECT_EQ(doubled, (std::vector<std::string_view>{"tooltip_back_color"}));
}

TEST(DefaultTheme, CountsByKind)
{
    std::map<style_kind, int> rows;
    for (const theme_row& row : default_theme_rows()) {
        ++rows[row.kind];
    }
    const std::map<style_kind, int> expected{{style_kind::color, 108}, {style_kind::integer, 40},
                                             {style_kind::real, 17},   {style_kind::text, 16},
                                             {style_kind::image, 10},  {style_kind::flag, 4}};
    EXPECT_EQ(rows, expected);
}

TEST(DefaultTheme, EachRowHasTheKindItsNameTellsAndItsSize)
{
    for (const theme_row& row : default_theme_rows()) {
        const std::string key(row.key.view());
        EXPECT_EQ(row.kind, kind_by_name(key)) << key;
        if (row.kind == style_kind::text) {
            EXPECT_FALSE(row.value.bytes.empty()) << key;
        } else {
            EXPECT_EQ(row.value.bytes.size(), byte_count_of(row.kind)) << key;
        }
        if (row.kind != style_kind::color) {
            EXPECT_EQ(row.value.rgba, color{}) << key;
        }
    }
}

TEST(DefaultTheme, NumbersFlagsAndFontNames)
{
    const std::map<std::string, std::string> special_fonts{{"multicolumn_header_font_name", "verdana"},
                                                           {"multicolumn_font_name", "verdana"},
                                                           {"multiwindow_tab_font_name", "Verdana"}};
    const std::map<std::string, float> special_sizes{{"float_font_size", 10.0f},
                                                     {"multifloat_font_size", 10.0f},
                                                     {"input_font_size", 12.0f},
                                                     {"checkbox_border_width", 1.0f}};
    const std::map<std::string, std::int32_t> special_ints{
        {"button_font_weight", 2},          {"tooltip_title_font_weight", 2},   {"browser_font_weight_selected", 2},
        {"editparam_title_font_weight", 2}, {"multiwindow_tab_font_weight", 2}, {"splitpanel_split_thickness", 10},
        {"editparam_height", 22},           {"editparam_title_height", 28}};
    const auto expected = [](const auto& special, const std::string& key, auto usual) {
        const auto found = special.find(key);
        return found == special.end() ? usual : found->second;
    };
    for (const theme_row& row : default_theme_rows()) {
        const std::string key(row.key.view());
        switch (row.kind) {
        case style_kind::text:
            EXPECT_EQ(row.value.bytes, expected(special_fonts, key, std::string("tahoma"))) << key;
            break;
        case style_kind::real:
            EXPECT_EQ(read_float(row.value), expected(special_sizes, key, 11.0f)) << key;
            break;
        case style_kind::integer:
            EXPECT_EQ(read_int(row.value), expected(special_ints, key, std::int32_t{0})) << key;
            break;
        case style_kind::flag:
            EXPECT_TRUE(read_flag(row.value)) << key;
            break;
        case style_kind::color: {
            const std::map<std::string, float> special_alpha{{"checkbox_back_color", 0.0f},
                                                             {"editparam_font_color_disabled", 0.5f}};
            EXPECT_EQ(row.value.rgba.alpha, expected(special_alpha, key, 1.0f)) << key;
            break;
        }
        case style_kind::image:
            break;
        }
    }
}

TEST(DefaultTheme, ColoursTheControlsRead)
{
    struct colour_case {
        style_key key;
        color rgba;
    };
    const colour_case cases[] = {
        {"default_back_color", {1, 0, 1, 1}},
        {"checkbox_back_color", {0, 0, 0, 0}},
        {"checkbox_border_color_normal", {0.294f, 0.294f, 0.294f, 1}},
        {"checkbox_border_color_hover", {1, 1, 1, 1}},
        {"checkbox_border_color_focus", {0.255f, 0.584f, 0.753f, 1}},
        {"checkbox_font_color", {1, 1, 1, 1}},
        {"button_color_normal", {0.173f, 0.176f, 0.192f, 1}},
        {"button_color_hover", {0.239f, 0.247f, 0.263f, 1}},
        {"button_color_toggle", {0.188f, 0.29f, 0.506f, 1}},
        {"button_border_color_hover", {1, 1, 1, 1}},
        {"button_border_color_focus", {0.6f, 0.6f, 0.6f, 1}},
        {"button_font_color", {1, 1, 1, 1}},
        {"tooltip_back_color", {0.106f, 0.106f, 0.11f, 1}},
        {"tooltip_border_color", {0.29f, 0.31f, 0.325f, 1}},
        {"tooltip_border_color_1", {0, 0, 0, 1}},
        {"tooltip_font_color", {0.655f, 0.655f, 0.655f, 1}},
        {"tooltip_title_font_color", {1, 1, 1, 1}},
        {"scroll_button_back_color", {0.22f, 0.235f, 0.251f, 1}},
        {"scroll_button_line_color", {0.325f, 0.325f, 0.325f, 1}},
        {"scroll_bar_back_color", {0.145f, 0.149f, 0.165f, 1}},
        {"scroll_bar_line_color", {0.314f, 0.314f, 0.314f, 1}},
        {"scroll_back_color", {0.067f, 0.071f, 0.078f, 1}},
        {"label_font_color", {1, 1, 1, 1}},
    };
    for (const colour_case& c : cases) {
        const auto found = default_theme().find(c.key);
        ASSERT_NE(found, default_theme().end()) << c.key.view();
        EXPECT_EQ(found->second, make_color_value(c.rgba)) << c.key.view();
    }
}

// Width and height from a PNG's header chunk, which always comes first.
std::array<std::uint32_t, 2> png_size(std::span<const std::uint8_t> png)
{
    constexpr std::array<std::uint8_t, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (png.size() < 24 || !std::equal(signature.begin(), signature.end(), png.begin()) ||
        std::string_view(reinterpret_cast<const char*>(png.data() + 12), 4) != "IHDR") {
        return {0, 0};
    }
    const auto big_endian = [&](std::size_t at) {
        return std::uint32_t{png[at]} << 24 | std::uint32_t{png[at + 1]} << 16 | std::uint32_t{png[at + 2]} << 8 |
               std::uint32_t{png[at + 3]};
    };
    return {big_endian(16), big_endian(20)};
}

TEST(DefaultTheme, PicturesHaveTheirSizesAndFrames)
{
    struct picture_case {
        style_key key;
        std::uint32_t width;
        std::uint32_t height;
        std::int32_t frames;
    };
    const picture_case cases[] = {
        {"checkbox_image", 14, 28, 2},        {"dropdown_button_image", 8, 5, 1},
        {"browser_folder_image", 20, 20, 1},  {"browser_pack_image", 20, 20, 1},
        {"browser_stared_image", 20, 20, 1},  {"browser_alien_image", 20, 20, 1},
        {"browser_virtual_image", 20, 20, 1}, {"multiwindow_button_image", 5, 10, 1},
    };
    for (const picture_case& c : cases) {
        const image_reference picture = read_image(default_theme().at(c.key));
        EXPECT_EQ(png_size(picture.png()), (std::array<std::uint32_t, 2>{c.width, c.height})) << c.key.view();
        EXPECT_EQ(picture.frames, c.frames) << c.key.view();
    }
    EXPECT_EQ(png_size(pictures::scroll_arrow), (std::array<std::uint32_t, 2>{8, 8}));
}

TEST(DefaultTheme, BrowserEntriesShareOnePicture)
{
    const image_reference pack = read_image(default_theme().at("browser_pack_image"));
    for (const style_key key : {style_key("browser_stared_image"), style_key("browser_alien_image")}) {
        const image_reference other = read_image(default_theme().at(key));
        EXPECT_EQ(other.data, pack.data) << key.view();
        EXPECT_EQ(other.size, pack.size) << key.view();
    }
    EXPECT_NE(read_image(default_theme().at("browser_folder_image")).data, pack.data);
}

TEST(DefaultTheme, KeysWithoutAPicture)
{
    for (const style_key key : {style_key("button_back_image"), style_key("editparam_icon_image")}) {
        const image_reference none = read_image(default_theme().at(key));
        EXPECT_EQ(none.data, nullptr) << key.view();
        EXPECT_EQ(none.size, 0u) << key.view();
        EXPECT_EQ(none.frames, 1) << key.view();
    }
}

}  // namespace
