#include "qxsdk/filesystem/file_path.h"
#include "qxsdk/filesystem/text_conversion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using qxsdk::int_to_string;
using qxsdk::utf8_to_wide;
using qxsdk::wide_to_utf8;
using qxsdk::filesystem::file_path;
using qxsdk::filesystem::to_generic_string;

std::vector<std::uint32_t> units(const std::wstring& text)
{
    return {text.begin(), text.end()};
}

struct ConversionCase {
    const char* name;
    std::string utf8;
    std::vector<std::uint32_t> utf16;
};

class ValidText : public testing::TestWithParam<ConversionCase> {};

TEST_P(ValidText, ConvertsToUtf16AndBack)
{
    const ConversionCase& c = GetParam();
    const std::wstring wide = utf8_to_wide(c.utf8);
    EXPECT_EQ(units(wide), c.utf16);
    EXPECT_EQ(wide_to_utf8(wide), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Text, ValidText,
    testing::Values(ConversionCase{"Empty", "", {}},
                    ConversionCase{
                        "Ascii", "Custom Folder", {'C', 'u', 's', 't', 'o', 'm', ' ', 'F', 'o', 'l', 'd', 'e', 'r'}},
                    ConversionCase{"TwoByteCharacter", "\xC3\xA9", {0xE9}},
                    ConversionCase{"ThreeByteCharacter", "\xE2\x82\xAC", {0x20AC}},
                    ConversionCase{"LastBeforeSurrogates", "\xED\x9F\xBF", {0xD7FF}},
                    ConversionCase{"SurrogatePair", "\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},
                    ConversionCase{"HighestCharacter", "\xF4\x8F\xBF\xBF", {0xDBFF, 0xDFFF}},
                    ConversionCase{"MixedPath",
                                   "D:\\M\xC3\xA9"
                                   "dia\\\xF0\x9F\x98\x80",
                                   {'D', ':', '\\', 'M', 0xE9, 'd', 'i', 'a', '\\', 0xD83D, 0xDE00}}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(Utf8ToWide, StopsAtTheFirstNul)
{
    EXPECT_EQ(units(utf8_to_wide(std::string("ab\0cd", 5))), (std::vector<std::uint32_t>{'a', 'b'}));
    EXPECT_EQ(utf8_to_wide("Custom Folder").size(), 13u);
}

TEST(WideToUtf8, KeepsEmbeddedNuls)
{
    EXPECT_EQ(wide_to_utf8(std::wstring(L"a\0b", 3)), std::string("a\0b", 3));
}

void expect_bad_conversion(const auto& convert)
{
    try {
        convert();
        ADD_FAILURE() << "no exception";
    } catch (const std::range_error& error) {
        EXPECT_STREQ(error.what(), "bad conversion");
    }
}

TEST(Utf8ToWide, RejectsInvalidUtf8WithBadConversion)
{
    const std::vector<std::string> invalid = {
        "\x80",              // continuation byte first
        "a\xC3",             // cut short at the end
        "\xC3(",             // lead byte without its continuation
        "\xC0\xAF",          // overlong '/'
        "\xE0\x80\xAF",      // overlong, three bytes
        "\xED\xA0\x80",      // a surrogate code point
        "\xF4\x90\x80\x80",  // above U+10FFFF
        "\xF8\x88\x80\x80\x80",
        "\xFF",
    };
    for (const std::string& text : invalid) {
        SCOPED_TRACE(testing::PrintToString(text));
        expect_bad_conversion([&] { utf8_to_wide(text); });
    }
}

TEST(WideToUtf8, RejectsUnpairedSurrogatesWithBadConversion)
{
    const std::vector<std::wstring> invalid = {
        std::wstring(1, wchar_t(0xD83D)),
        std::wstring{wchar_t(0xD83D), L'a'},
        std::wstring(1, wchar_t(0xDE00)),
        std::wstring{L'a', wchar_t(0xDE00), wchar_t(0xD83D)},
    };
    for (const std::wstring& text : invalid) {
        SCOPED_TRACE(testing::PrintToString(units(text)));
        expect_bad_conversion([&] { wide_to_utf8(text); });
    }
}

TEST(FilePath, GenericStringTurnsBackslashesIntoSlashesOnly)
{
    EXPECT_EQ(to_generic_string(file_path(L"D:\\Media\\Plug-ins")), "D:/Media/Plug-ins");
    EXPECT_EQ(to_generic_string(file_path(L"D:\\\\Media\\")), "D://Media/");
    EXPECT_EQ(to_generic_string(file_path(L"relative/Plug-ins")), "relative/Plug-ins");
    EXPECT_EQ(to_generic_string(file_path(L"C:\\Caf\u00e9")), "C:/Caf\xC3\xA9");
    EXPECT_EQ(to_generic_string(file_path()), "");
}

TEST(FilePath, JoinsTextAsItStands)
{
    const file_path folder(L"D:\\AE\\");
    EXPECT_EQ((folder + L"\\Ostrivale").native(), L"D:\\AE\\\\Ostrivale");
    EXPECT_TRUE(file_path().empty());
    EXPECT_FALSE(folder.empty());
}

TEST(IntToString, PrintsSignedDecimal)
{
    const std::vector<std::pair<std::int32_t, std::string>> cases = {
        {40, "40"},
        {-5, "-5"},
        {0, "0"},
        {std::numeric_limits<std::int32_t>::max(), "2147483647"},
        {std::numeric_limits<std::int32_t>::min(), "-2147483648"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(int_to_string(value), text);
    }
}

}  // namespace
