#pragma once

namespace qxsdk::ui {

// Whether a modifier key (a key_kind) is held now. Ctrl without AltGr (kind 0) is false while the right
// Alt is held, since AltGr arrives as Ctrl + right Alt.
bool is_key_down(int kind);

}  // namespace qxsdk::ui
