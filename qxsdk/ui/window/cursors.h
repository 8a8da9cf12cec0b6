#pragma once

#include <cstdint>

namespace qxsdk::ui {

// The cursor kinds: 0 arrow, 1 cross, 2 west-east, 3 north-south, 4 and 7 north-west/south-east,
// 5 text I-beam, 6 hand, 8 north-east/south-west. Any other kind is the arrow.
void set_cursor_kind(std::int32_t kind);

}  // namespace qxsdk::ui
