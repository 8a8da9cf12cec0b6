#include "qxsdk/ui/core/work_area.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using namespace qxsdk::ui;

TEST(WorkArea, AWindowThatSticksOutIsMovedBackInOnePixelFromTheStart)
{
    struct case_row {
        const char* what;
        std::int32_t at, length, start, end, expected;
    };
    constexpr std::int32_t most = std::numeric_limits<std::int32_t>::max();
    const case_row rows[] = {
        {"fits: stays", 600, 506, 0, 1280, 600},
        {"ends exactly at the end: stays", 524, 756, 0, 1280, 524},
        {"the wizard at 144 dpi on a 1280-pixel screen", 600, 756, 0, 1280, 524},
        {"starts before the start", -20, 300, 0, 1280, 1},
        {"starts exactly at the start: stays", 0, 300, 0, 1280, 0},
        {"longer than the work area: its start shows", 100, 1500, 0, 1280, 1},
        {"a work area that does not start at 0", 50, 400, 100, 1380, 101},
        {"past the end of a second monitor", 2500, 800, 1280, 2560, 1760},
        {"far coordinates do not overflow", most, 1000, 0, most, most - 1000},
    };
    for (const case_row& row : rows) {
        EXPECT_EQ(keep_in_work_area(row.at, row.length, row.start, row.end), row.expected) << row.what;
    }
}

}  // namespace
