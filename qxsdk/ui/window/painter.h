#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string_view>

#include "qxsdk/ui/core/style_value.h"
#include "qxsdk/ui/core/widget.h"
#include "qxsdk/ui/draw/renderer.h"

namespace qxsdk::ui {

// What paint handlers draw through: the window's renderer, which the painter owns.
class painter {
public:
    explicit painter(std::unique_ptr<renderer> drawing) noexcept : renderer_(std::move(drawing)) {}

    painter(const painter&) = delete;
    painter& operator=(const painter&) = delete;

    renderer& get_renderer() noexcept { return *renderer_; }

    void set_pen(const color& rgba, float width) { renderer_->set_pen(rgba, width); }
    void set_font(std::string_view family, float size, std::int32_t weight_kind, std::int32_t style_kind)
    {
        renderer_->set_font(family, size, weight_kind, style_kind);
    }
    void fill_rect(const rect& area) { renderer_->fill_rect(area); }
    void draw_line(point from, point to) { renderer_->draw_line(from, to); }

private:
    std::unique_ptr<renderer> renderer_;
};

}  // namespace qxsdk::ui
