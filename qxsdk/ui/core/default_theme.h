#pragma once

#include "qxsdk/ui/core/style_lookup.h"

// The toolkit's built-in theme: a value for every style key a control may read.
namespace qxsdk::ui {

// The default theme, built from the rows on first use and never changed.
const style_map& default_theme();

}  // namespace qxsdk::ui
