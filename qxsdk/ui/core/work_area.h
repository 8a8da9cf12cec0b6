#pragma once

#include <cstdint>

// Keeping a top-level window on its monitor's work area (the screen less the task bar), one axis at a time.
namespace qxsdk::ui {

// Where a window whose outer extent starts at `at` and is `outer_length` pixels long goes on one axis of the
// work area [work_start, work_end): one that sticks out past the end is moved back so that it ends there,
// and then one that starts before the start is moved to one pixel inside it. A window that fits stays.
std::int32_t keep_in_work_area(std::int32_t at, std::int32_t outer_length, std::int32_t work_start,
                               std::int32_t work_end) noexcept;

}  // namespace qxsdk::ui
