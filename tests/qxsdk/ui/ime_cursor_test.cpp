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
        {2, 5, virtual_key::end, 5},
        {2, 5, virtual_key::home, 0},
        {2, 5, virtual_key::left, 1},
        {0, 5, virtual_key::left, 0},
        {2, 5, virtual_key::right, 3},
        {5, 5, virtual_key::right, 5},
        {2, 5, 'A', 2},
        {0, 0, virtual_key::right, 0},
        {0, 0, virtual_key::end, 0},
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

TEST(ImeCursor, AConversionAtTheEndIsCommittedByAKeyWithACharacterOtherThanBackspaceEnterOrSpace)
{
    struct case_row {
        bool converted;
        std::int32_t cursor, length;
        std::uint64_t key;
        std::uint32_t character;
        bool expected;
    };
    const case_row rows[] = {
        {true, 3, 3, 'K', 'k', true},
        {false, 3, 3, 'K', 'k', false},              // nothing being converted
        {true, 1, 3, 'K', 'k', false},               // the cursor inside the composition
        {true, 3, 3, virtual_key::right, 0, false},  // a key without a character
        {true, 3, 3, virtual_key::backspace, '\b', false},
        {true, 3, 3, virtual_key::enter, '\r', false},
        {true, 3, 3, virtual_key::space, ' ', false},
    };
    for (const case_row& row : rows) {
        EXPECT_EQ(conversion_committed(row.converted, row.cursor, row.length, row.key, row.character), row.expected)
            << "key " << row.key << " converted " << row.converted << " at " << row.cursor;
    }
}

}  // namespace
