#pragma once

#include <span>

#include "qxsdk/ui/core/style_key.h"
#include "qxsdk/ui/core/style_lookup.h"
#include "qxsdk/ui/core/style_value.h"

// The toolkit's built-in theme: a value for every style key a control may read.
namespace qxsdk::ui {

enum class style_kind { color, integer, real, flag, text, image };

struct theme_row {
    style_key key;
    style_kind kind;
    style_value value;
};

// The table the default theme is built from, in its order. One key has two rows; the first one counts.
std::span<const theme_row> default_theme_rows();

// The default theme, built from the rows on first use and never changed.
const style_map& default_theme();

}  // namespace qxsdk::ui
