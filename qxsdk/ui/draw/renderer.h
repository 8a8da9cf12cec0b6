#pragma once

#include <windows.h>

#include <d2d1.h>
#include <dwrite.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "qxsdk/ui/core/style_value.h"
#include "qxsdk/ui/core/widget.h"

// Draws a toolkit window with Direct2D and lays out its text with DirectWrite. Coordinates are toolkit
// units: the target keeps the default DPI, so Direct2D maps them to the display's pixels. UI thread only.
namespace qxsdk::ui {

class image;

// A measured text, in whole toolkit units.
struct extent {
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const extent&, const extent&) = default;
};

class renderer {
public:
    // Draws into a window's client area. Throws hresult_error with the failing step's message.
    explicit renderer(HWND window);
    // Draws into a bitmap (pictures made off screen, and the tests' pixel checks). The paint bracket then
    // opens no platform paint of a window.
    explicit renderer(IWICBitmap& bitmap);
    ~renderer();

    renderer(const renderer&) = delete;
    renderer& operator=(const renderer&) = delete;

    // The window's client size changed (pixels).
    void resize(std::uint32_t width, std::uint32_t height);

    // The image holds a device bitmap of this renderer's target (called by the image).
    void register_image(image& picture);
    // The image no longer holds one (called by the image when it drops its bitmaps or ends).
    void unregister_image(const image& picture) noexcept;
    std::span<image* const> registered_images() const noexcept { return images_; }

    // Opens a widget's paint: clips to the dirty area (window coordinates) and to the widget, and moves the
    // origin to the widget's top-left corner. The first bracket of a paint begins drawing.
    void begin_paint(const widget& w, const RECT& dirty);
    // Closes the innermost open bracket; the last one ends drawing. When Direct2D lost the device, the
    // target and its resources are made again before the next paint, and the window is repainted.
    void end_paint() noexcept;
    std::size_t open_paints() const noexcept { return clip_stack_.size(); }

    // Drops the target with every device resource and makes them again; images forget the old target.
    // Not during a paint. When it fails, the next paint tries again.
    void recreate_target();

    // Drawing state for the texts that follow: weight kind 1 light, 2 bold, else normal; style kind 1
    // italic, else normal.
    void set_font(std::string_view family, float size, std::int32_t weight_kind, std::int32_t style_kind);
    // Horizontal 0 leading, 1 centre, 2 trailing; vertical 0 centre, 1 near, 2 far; other kinds centre.
    void set_text_alignment(std::int32_t horizontal_kind, std::int32_t vertical_kind);
    void set_fill_color(const color& rgba);
    void set_text_color(const color& rgba);
    void set_pen(const color& rgba, float width);
    // 0 solid, 1 dotted.
    void set_line_style(std::int32_t style) noexcept { line_style_ = style; }

    // Drawing, between begin_paint and end_paint, in the innermost open widget's coordinates.
    void fill_rect(const rect& area);
    // The outline lies inside the rectangle: inset by half the pen width.
    void draw_rect(const rect& area);
    // Odd pen widths are moved onto pixel centres, so a line of width 1 covers exactly one pixel row.
    void draw_line(point from, point to);
    // The soft shadow of a rectangle moved by the offset, fading out over size units.
    void draw_shadow(const rect& area, point offset, std::int32_t size);
    // A picture at its size in units (one unit per picture pixel), whatever the target's DPI.
    void draw_image(point at, image& picture);
    // The source rectangle of a picture (picture pixels) at its size in units, unscaled; its part outside
    // the picture is left out. Only the rectangle's own pixels are filtered into the drawing.
    void draw_image_part(point at, image& picture, const rect& source);
    void draw_text(const rect& box, std::string_view text);
    // A bound of 0 means unbounded.
    extent measure_text(std::string_view text, extent bound);

    // For the window, the images and the controls that lay out or draw on their own.
    ID2D1RenderTarget* target() const noexcept { return target_.Get(); }
    ID2D1Factory* factory() const noexcept { return factory_.Get(); }
    IDWriteFactory* text_factory() const noexcept { return text_factory_.Get(); }
    IDWriteTextFormat* text_format() const noexcept { return text_format_.Get(); }
    ID2D1SolidColorBrush* markup_brush() const noexcept { return markup_brush_.Get(); }
    ID2D1SolidColorBrush* markup_color_brush() const noexcept { return markup_color_brush_.Get(); }

    // Current drawing state.
    float line_width() const noexcept { return line_width_; }
    std::int32_t line_style() const noexcept { return line_style_; }
    DWRITE_FONT_WEIGHT font_weight() const noexcept { return font_weight_; }
    DWRITE_FONT_STYLE font_style() const noexcept { return font_style_; }
    const std::wstring& font_family() const noexcept { return font_family_; }
    float font_size() const noexcept { return font_size_; }

private:
    template <typename T>
    using com_ptr = Microsoft::WRL::ComPtr<T>;

    renderer(HWND window, IWICBitmap* bitmap);
    void create_target();
    void create_target_resources();
    void create_text_resources();
    void create_shadow_stops();
    void create_dotted_stroke();
    void forget_images() noexcept;
    // A layout of the text in the current font; null when DirectWrite cannot make one.
    com_ptr<IDWriteTextLayout> make_layout(std::string_view text, float max_width, float max_height) const;
    // Outlines and lines are drawn aliased, so that a width of 1 on a pixel centre stays one pixel.
    template <typename Draw>
    void stroke_aliased(Draw&& draw);
    void draw_bitmap(ID2D1Bitmap& bitmap, const D2D1_RECT_F& destination);

    HWND window_ = nullptr;
    com_ptr<IWICBitmap> bitmap_;
    com_ptr<ID2D1HwndRenderTarget> window_target_;
    com_ptr<ID2D1Factory> factory_;
    com_ptr<IDWriteFactory> text_factory_;
    com_ptr<ID2D1SolidColorBrush> fill_brush_;
    com_ptr<ID2D1SolidColorBrush> text_brush_;
    com_ptr<ID2D1SolidColorBrush> pen_brush_;
    com_ptr<ID2D1SolidColorBrush> shadow_brush_;
    com_ptr<ID2D1GradientStopCollection> shadow_stops_;
    com_ptr<ID2D1StrokeStyle> dotted_stroke_;
    com_ptr<IDWriteTextFormat> text_format_;
    com_ptr<ID2D1SolidColorBrush> markup_brush_;
    com_ptr<ID2D1SolidColorBrush> markup_color_brush_;
    PAINTSTRUCT paint_record_{};
    DWRITE_FONT_WEIGHT font_weight_ = DWRITE_FONT_WEIGHT_NORMAL;
    DWRITE_FONT_STYLE font_style_ = DWRITE_FONT_STYLE_NORMAL;
    std::wstring font_family_;
    float font_size_ = 12.0f;
    float line_width_ = 1.0f;
    std::int32_t line_style_ = 0;
    // Each open bracket keeps the origin to restore, so a handler that moves its widget cannot shift it.
    struct open_paint {
        const widget* owner;
        point outer_origin;
    };

    std::vector<open_paint> clip_stack_;
    point origin_;
    com_ptr<ID2D1RenderTarget> target_;
    std::vector<image*> images_;
    bool target_lost_ = false;
};

// The window's renderer (the window's painter owns it).
std::unique_ptr<renderer> create_renderer(HWND window);

// One widget's paint bracket: ends the paint on every way out of the scope, exceptions included, so a
// failing paint handler cannot leave drawing begun and clips pushed.
class paint_scope {
public:
    paint_scope(renderer& painter, const widget& w, const RECT& dirty) : painter_(painter)
    {
        painter_.begin_paint(w, dirty);
    }
    ~paint_scope() { painter_.end_paint(); }

    paint_scope(const paint_scope&) = delete;
    paint_scope& operator=(const paint_scope&) = delete;

private:
    renderer& painter_;
};

}  // namespace qxsdk::ui
