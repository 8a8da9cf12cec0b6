#include "qxsdk/ui/core/ime_cursor.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using namespace qxsdk::ui;

TEST(ImeCursor, CursorKeysMoveWithinTheCompositionDuringAConversion)
{
    struct case_row {
        std::int32_t cursor, length;
        std::uint64_t key;
        std::int32_t expected;
    };
    const case_row rows[] = {
        {2, 5, virtual_key::end, 5},   {2, 5, virtual_key::home, 0},  {2, 5, virtual_key::left, 1},
        {0, 5, virtual_key::left, 0},  {2, 5, virtual_key::right, 3}, {5, 5, virtual_key::right, 5},
        {2, 5, 'A', 2},                {0, 0, virtual_key::right, 0}, {0, 0, virtual_key::end, 0},
    };
    for (const case_row& row : rows) {
        EXPECT_EQ(cursor_after_key(row.cursor, row.length, row.key), row.expected)
            << "key " << row.key << " at " << row.cursor << " of " << row.length;
    }
}

TEST(ImeCursor, KoreanIsThePrimaryLanguageWhateverTheSublanguage)
{
    EXPECT_TRUE(is_korean_language(0x0412));
    EXPECT_TRUE(is_korean_language(0x0812));
    EXPECT_FALSE(is_korean_language(0x0411));  // Japanese
    EXPECT_FALSE(is_korean_language(0x0409));
    EXPECT_FALSE(is_korean_language(0x0013));
}

TEST(ImeCursor, BackspaceEnterAndSpaceKeepAConversionOpen)
{
    for (const std::uint64_t key : {virtual_key::backspace, virtual_key::enter, virtual_key::space}) {
        EXPECT_TRUE(keeps_conversion_open(key)) << key;
    }
    EXPECT_FALSE(keeps_conversion_open('A'));
    EXPECT_FALSE(keeps_conversion_open(virtual_key::right));
}

}  // namespace
