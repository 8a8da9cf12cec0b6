#pragma once

#include "qxsdk/ui/core/dpi_scale.h"

namespace qxsdk::ui {

// The screen's logical pixels per inch now.
dpi_scale read_screen_dpi();

// The screen's logical pixels per inch as read once for the process: the cursor position is converted
// with it, while each window converts its sizes with the DPI it read at its creation.
dpi_scale screen_dpi();

}  // namespace qxsdk::ui
