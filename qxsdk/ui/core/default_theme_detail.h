#pragma once

#include <span>

#include "qxsdk/ui/core/style_key.h"
#include "qxsdk/ui/core/style_value.h"

// The rows the default theme is built from, which the toolkit reads only through default_theme; the
// tests check the table itself.
namespace qxsdk::ui {

enum class style_kind { color, integer, real, flag, text, image };

struct theme_row {
    style_key key;
    style_kind kind;
    style_value value;
};

// The table the default theme is built from, in its order. One key has two rows; the first one counts.
std::span<const theme_row> default_theme_rows();

}  // namespace qxsdk::ui
