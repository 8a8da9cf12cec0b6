#pragma once

#include "qxsdk/ui/core/edges.h"
#include "qxsdk/ui/core/widget.h"
#include "qxsdk/ui/draw/renderer.h"

namespace qxsdk::ui {

class window;

// Paints the widget and its shown descendants that touch the dirty area (toolkit units, in the coordinates
// of the widget's parent, which for the root are the client area's): each parent first, then its
// children's shadows, then the children in order, later siblings over earlier ones.
void paint_widget_tree(renderer& drawing, widget& w, const edges& dirty);

// The same with the window's renderer; nothing before the window is created.
void paint_widget_tree(window& win, widget& w, const edges& dirty);

// The renderer of the window the widget belongs to, for its paint handlers; none before that window is
// created, and for a widget outside a toolkit window.
renderer* widget_renderer(const widget& w) noexcept;

}  // namespace qxsdk::ui
