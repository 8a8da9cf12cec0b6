#include "qxsdk/ui/core/style_lookup.h"
#include "qxsdk/ui/core/style_lookup_detail.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"

namespace {

using namespace qxsdk::ui;

class probe : public event_object {};

constexpr color magenta{1, 0, 1, 1};
constexpr color override_blue{0, 0, 1, 1};
constexpr color own_clear{0, 0, 0, 0};

// A style block owned by a probe whose style_changed events are recorded; the overrides start and end empty.
class StyleTest : public ::testing::Test {
protected:
    StyleTest()
    {
        theme_overrides().clear();
        connect_event(owner, event_code::style_changed, [this](const event_info& event) {
            changes.push_back(std::string(changed_style_key(event)));
            change_addresses.push_back(event.value);
        });
    }

    ~StyleTest() override { theme_overrides().clear(); }

    probe owner;
    style_block block{&owner};
    std::vector<std::string> changes;
    std::vector<std::uint64_t> change_addresses;
};

TEST_F(StyleTest, DoubledDefaultRowReadsOnce)
{
    EXPECT_EQ(get_style_value(block, "tooltip_back_color"), make_color(0.106f, 0.106f, 0.11f, 1));
}

TEST_F(StyleTest, KeysAreCaseSensitive)
{
    EXPECT_EQ(lookup_style(block, "menubar_back_color_highlight"), style_value{});
    EXPECT_NE(get_style_value(block, "menubar_back_color_Highlight"), color{});
    EXPECT_EQ(lookup_style(block, "Default_back_color"), style_value{});
}

TEST_F(StyleTest, OwnValueBeatsOverrideBeatsDefault)
{
    struct level_case {
        bool override_set;
        bool own_set;
        color expected;
    };
    for (const level_case c : {level_case{false, false, magenta},
                               {true, false, override_blue},
                               {false, true, own_clear},
                               {true, true, own_clear}}) {
        probe other_owner;
        style_block fresh(&other_owner);
        theme_overrides().clear();
        if (c.override_set) {
            theme_overrides().insert_or_assign("default_back_color", make_color_value(override_blue));
        }
        if (c.own_set) {
            set_style_property(fresh, "default_back_color", own_clear);
        }
        EXPECT_EQ(get_style_value(fresh, "default_back_color"), c.expected) << c.override_set << c.own_set;
        EXPECT_EQ(get_style_value(block, "default_back_color"), c.override_set ? override_blue : magenta);
    }
}

TEST_F(StyleTest, SettingAColourOverATextEmptiesIt)
{
    EXPECT_EQ(get_style_string(block, "label_font_name"), "tahoma");
    set_style_property(block, "label_font_name", make_color(1, 1, 1, 1));
    EXPECT_EQ(get_style_string(block, "label_font_name"), "");
    EXPECT_EQ(get_style_value(block, "label_font_name"), make_color(1, 1, 1, 1));
}

TEST_F(StyleTest, AliasRedirectsAllThreeLevels)
{
    theme_overrides().insert_or_assign("title_font_size", make_float_value(16.0f));
    set_style_alias(block, "label_font_size", "title_font_size");
    EXPECT_EQ(get_style_float(block, "label_font_size"), 16.0f);

    set_style_property(block, "label_font_size", own_clear);
    EXPECT_EQ(get_style_float(block, "label_font_size"), 16.0f) << "an own value under the aliased key is ignored";

    set_style_property(block, "title_font_size", own_clear);
    EXPECT_EQ(lookup_style(block, "label_font_size"), make_color_value(own_clear)) << "the alias key's own value wins";

    set_style_alias(block, "label_font_weight", "button_font_weight");
    EXPECT_EQ(get_style_int(block, "label_font_weight"), 2) << "defaults are reached through an alias too";
}

TEST_F(StyleTest, AliasingIsOneLevel)
{
    set_style_alias(block, "label_font_color", "button_font_color");
    set_style_alias(block, "button_font_color", "default_back_color");
    EXPECT_EQ(get_style_value(block, "label_font_color"), make_color(1, 1, 1, 1));
    EXPECT_EQ(get_style_value(block, "button_font_color"), magenta);
}

TEST_F(StyleTest, StyleChangedCarriesTheKeySetOrAliased)
{
    static constexpr char aliased[] = "label_font_size";
    set_style_property(block, "default_back_color", own_clear);
    set_style_alias(block, aliased, "title_font_size");
    EXPECT_EQ(changes, (std::vector<std::string>{"default_back_color", "label_font_size"}));
    ASSERT_EQ(change_addresses.size(), 2u);
    EXPECT_EQ(change_addresses[1], address_value(aliased));
}

TEST_F(StyleTest, BlockWithoutOwnerAnnouncesNothing)
{
    style_block ownerless(nullptr);
    set_style_property(ownerless, "default_back_color", own_clear);
    set_style_alias(ownerless, "label_font_size", "title_font_size");
    EXPECT_EQ(get_style_value(ownerless, "default_back_color"), own_clear);
    EXPECT_TRUE(changes.empty());
}

TEST_F(StyleTest, ReplacingOverridesAnnouncesNothing)
{
    style_map installer_theme;
    installer_theme.insert_or_assign("label_font_name", make_text_value("Segoe UI"));
    theme_overrides() = installer_theme;
    EXPECT_EQ(get_style_string(block, "label_font_name"), "Segoe UI");
    EXPECT_TRUE(changes.empty());
}

// Values shorter than the kind they are read as give 0, false or no picture.
TEST_F(StyleTest, ShortValuesReadAsNothing)
{
    theme_overrides().insert_or_assign("short_text", make_text_value("abc"));
    theme_overrides().insert_or_assign("one_byte", make_flag_value(true));
    for (const style_key key :
         {style_key("default_back_color"), style_key("nowhere"), style_key("short_text"), style_key("one_byte")}) {
        EXPECT_EQ(get_style_int(block, key), 0) << key.view();
        EXPECT_EQ(get_style_float(block, key), 0.0f) << key.view();
        const image_reference picture = get_style_image(block, key);
        EXPECT_EQ(picture.data, nullptr) << key.view();
        EXPECT_EQ(picture.size, 0u) << key.view();
        EXPECT_EQ(picture.frames, 1) << key.view();
    }
    EXPECT_FALSE(get_style_flag(block, "default_back_color"));
    EXPECT_TRUE(get_style_flag(block, "one_byte"));
    EXPECT_EQ(lookup_style(block, "nowhere"), style_value{});
}

TEST(StyleValues, KindsRoundTrip)
{
    EXPECT_EQ(read_int(make_int_value(-123456)), -123456);
    EXPECT_EQ(read_float(make_float_value(10.5f)), 10.5f);
    EXPECT_EQ(make_int_value(0x01020304).bytes, std::string("\x04\x03\x02\x01", 4)) << "stored as in memory";
    EXPECT_EQ(make_flag_value(true).bytes, std::string(1, '\1'));
    EXPECT_EQ(make_flag_value(false).bytes, std::string(1, '\0'));
    EXPECT_EQ(make_text_value("Verdana").bytes, "Verdana");

    static constexpr std::uint8_t data[] = {1, 2, 3};
    const image_reference picture = read_image(make_image_value(data, 3));
    EXPECT_EQ(picture.data, data);
    EXPECT_EQ(picture.size, 3u);
    EXPECT_EQ(picture.frames, 3);
    EXPECT_EQ(make_image_value(data, 3).bytes.size(), 24u);
}

TEST(StyleValues, MakeColorKeepsTheOrder)
{
    const color c = make_color(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(c.red, 0.1f);
    EXPECT_EQ(c.green, 0.2f);
    EXPECT_EQ(c.blue, 0.3f);
    EXPECT_EQ(c.alpha, 0.4f);
    EXPECT_TRUE(make_color_value(c).bytes.empty());
}

}  // namespace
