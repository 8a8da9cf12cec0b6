#include "qxsdk/ui/draw/renderer.h"

#include <stdexcept>

namespace qxsdk::ui {

namespace {

[[noreturn]] void not_ready()
{
    throw std::logic_error("renderer: not built yet");
}

}  // namespace

renderer::renderer() = default;
renderer::renderer(HWND window) : window_(window) { not_ready(); }
renderer::renderer(IWICBitmap& bitmap) : bitmap_(&bitmap) { not_ready(); }
renderer::~renderer() = default;

void renderer::resize(std::uint32_t, std::uint32_t) {}
void renderer::register_image(image& picture) { images_.push_back(&picture); }
void renderer::unregister_image(const image&) noexcept {}
void renderer::begin_paint(const widget& w, const RECT&) { clip_stack_.push_back(&w); }
void renderer::end_paint() noexcept { clip_stack_.pop_back(); }
void renderer::recreate_target() { not_ready(); }
void renderer::set_font(std::string_view, float, std::int32_t, std::int32_t) {}
void renderer::set_text_alignment(std::int32_t, std::int32_t) {}
void renderer::set_fill_color(const color&) {}
void renderer::set_text_color(const color&) {}
void renderer::set_pen(const color&, float width) { line_width_ = width; }
void renderer::fill_rect(const rect&) {}
void renderer::draw_rect(const rect&) {}
void renderer::draw_line(point, point) {}
void renderer::draw_shadow(const rect&, point, std::int32_t) {}
void renderer::draw_image(point, image&) {}
void renderer::draw_image_part(point, image&, const rect&) {}
void renderer::draw_text(const rect&, std::string_view) {}
extent renderer::measure_text(std::string_view, extent) { return {}; }

std::unique_ptr<renderer> create_renderer(HWND window)
{
    return std::make_unique<renderer>(window);
}

}  // namespace qxsdk::ui
