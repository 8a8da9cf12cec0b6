#pragma once

#include "qxsdk/ui/core/widget.h"

// A plain container that paints its rectangle in the theme's background colour ("default_back_color").
// UI thread only.
namespace qxsdk::ui {

class GenericPanel : public widget {
public:
    GenericPanel();

private:
    void paint();
};

// Fills the widget's rectangle with its "default_back_color"; shared by the panel and the label.
void fill_background(const widget& w);

}  // namespace qxsdk::ui
