#pragma once

#include "qxsdk/ui/core/style_lookup.h"

// The typed reader of flag values, which no control reads yet; the tests check it with the others.
namespace qxsdk::ui {

bool get_style_flag(const style_block& block, style_key key);

}  // namespace qxsdk::ui
