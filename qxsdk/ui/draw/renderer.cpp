#include "qxsdk/ui/draw/renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "qxsdk/filesystem/text_conversion.h"
#include "qxsdk/ui/draw/drop_shadow.h"
#include "qxsdk/ui/draw/hresult_check.h"
#include "qxsdk/ui/draw/image.h"

namespace qxsdk::ui {

namespace {

D2D1_RECT_F float_rect(const rect& area)
{
    return D2D1::RectF(static_cast<float>(area.x), static_cast<float>(area.y), static_cast<float>(area.x + area.width),
                       static_cast<float>(area.y + area.height));
}

D2D1_COLOR_F d2d_color(const color& rgba)
{
    return D2D1::ColorF(rgba.red, rgba.green, rgba.blue, rgba.alpha);
}

DWRITE_TEXT_ALIGNMENT text_alignment(std::int32_t kind)
{
    switch (kind) {
    case 0:
        return DWRITE_TEXT_ALIGNMENT_LEADING;
    case 2:
        return DWRITE_TEXT_ALIGNMENT_TRAILING;
    default:
        return DWRITE_TEXT_ALIGNMENT_CENTER;
    }
}

DWRITE_PARAGRAPH_ALIGNMENT paragraph_alignment(std::int32_t kind)
{
    switch (kind) {
    case 1:
        return DWRITE_PARAGRAPH_ALIGNMENT_NEAR;
    case 2:
        return DWRITE_PARAGRAPH_ALIGNMENT_FAR;
    default:
        return DWRITE_PARAGRAPH_ALIGNMENT_CENTER;
    }
}

DWRITE_FONT_WEIGHT font_weight_of(std::int32_t kind)
{
    switch (kind) {
    case 1:
        return DWRITE_FONT_WEIGHT_LIGHT;
    case 2:
        return DWRITE_FONT_WEIGHT_BOLD;
    default:
        return DWRITE_FONT_WEIGHT_NORMAL;
    }
}

float unbounded_if_zero(std::int32_t bound)
{
    return bound == 0 ? std::numeric_limits<float>::max() : static_cast<float>(bound);
}

}  // namespace

renderer::renderer(HWND window) : renderer(window, nullptr) {}

renderer::renderer(IWICBitmap& bitmap) : renderer(nullptr, &bitmap) {}

renderer::renderer(HWND window, IWICBitmap* bitmap) : window_(window), bitmap_(bitmap)
{
    check(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, factory_.GetAddressOf()), "D2D1CreateFactory",
          "unable to create a d2d resource factory");
    create_target();
    create_target_resources();
    create_text_resources();
    create_shadow_stops();
    create_dotted_stroke();
}

renderer::~renderer()
{
    forget_images();
}

std::unique_ptr<renderer> create_renderer(HWND window)
{
    return std::make_unique<renderer>(window);
}

void renderer::create_target()
{
    constexpr const char* failed = "unable to create a d2d render target";
    ID2D1Factory& factory = require(factory_.Get());
    if (bitmap_) {
        com_ptr<ID2D1RenderTarget> bitmap_target;
        check(factory.CreateWicBitmapRenderTarget(bitmap_.Get(), D2D1::RenderTargetProperties(), &bitmap_target),
              "ID2D1Factory::CreateWicBitmapRenderTarget", failed);
        target_ = std::move(bitmap_target);
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    com_ptr<ID2D1HwndRenderTarget> window_target;
    check(factory.CreateHwndRenderTarget(
              D2D1::RenderTargetProperties(),
              D2D1::HwndRenderTargetProperties(
                  window_, D2D1::SizeU(static_cast<UINT32>(client.right), static_cast<UINT32>(client.bottom))),
              &window_target),
          "ID2D1Factory::CreateHwndRenderTarget", failed);
    window_target_ = window_target;
    target_ = std::move(window_target);
}

void renderer::create_target_resources()
{
    ID2D1RenderTarget& target = require(target_.Get());
    target.SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);

    const D2D1_COLOR_F black = D2D1::ColorF(0.0f, 0.0f, 0.0f, 1.0f);
    const D2D1_COLOR_F white = D2D1::ColorF(1.0f, 1.0f, 1.0f, 1.0f);
    const std::array<std::pair<com_ptr<ID2D1SolidColorBrush>*, D2D1_COLOR_F>, 6> brushes{{
        {&fill_brush_, black},
        {&pen_brush_, white},
        {&text_brush_, white},
        {&shadow_brush_, black},
        {&markup_brush_, black},
        {&markup_color_brush_, black},
    }};
    HRESULT result = S_OK;
    for (const auto& [brush, initial] : brushes) {
        if (const HRESULT made = target.CreateSolidColorBrush(initial, brush->ReleaseAndGetAddressOf()); FAILED(made)) {
            result = made;
        }
    }
    check(result, "ID2D1RenderTarget::CreateSolidColorBrush", "unable to create one or more solid brushes");
}

void renderer::create_text_resources()
{
    text_format_.Reset();
    text_factory_.Reset();
    check(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                              reinterpret_cast<IUnknown**>(text_factory_.GetAddressOf())),
          "DWriteCreateFactory", "unable to create the write factory");
    check(text_factory_->CreateTextFormat(L"Verdana", nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
                                          DWRITE_FONT_STRETCH_NORMAL, 12.0f, L"en-us", &text_format_),
          "IDWriteFactory::CreateTextFormat", "unable to initialize the d2d write factory");
}

void renderer::create_shadow_stops()
{
    shadow_stops_.Reset();
    const auto stops = shadow_stops();
    check(require(target_.Get())
              .CreateGradientStopCollection(stops.data(), static_cast<UINT32>(stops.size()), D2D1_GAMMA_2_2,
                                            D2D1_EXTEND_MODE_CLAMP, &shadow_stops_),
          "ID2D1RenderTarget::CreateGradientStopCollection", "unable to initialize the shadow gradients");
}

void renderer::create_dotted_stroke()
{
    dotted_stroke_.Reset();
    const std::array<float, 2> dashes{1.0f, 1.0f};
    check(require(factory_.Get())
              .CreateStrokeStyle(D2D1::StrokeStyleProperties(D2D1_CAP_STYLE_FLAT, D2D1_CAP_STYLE_FLAT,
                                                             D2D1_CAP_STYLE_FLAT, D2D1_LINE_JOIN_MITER, 10.0f,
                                                             D2D1_DASH_STYLE_CUSTOM, 0.0f),
                                 dashes.data(), static_cast<UINT32>(dashes.size()), &dotted_stroke_),
          "ID2D1Factory::CreateStrokeStyle", "unable to initialize the dotted stroke");
}

void renderer::forget_images() noexcept
{
    // forget_target edits only the image's side; the renderer's list is dropped here.
    for (image* picture : images_) {
        forget_target(*picture, *this);
    }
    images_.clear();
}

void renderer::recreate_target()
{
    // Until it is whole again, the next paint retries.
    target_lost_ = true;
    // The images key their bitmaps by target: they must forget it while it still exists.
    forget_images();
    window_target_.Reset();
    target_.Reset();
    create_target();
    create_target_resources();
    create_shadow_stops();
    target_lost_ = false;
}

void renderer::resize(std::uint32_t width, std::uint32_t height)
{
    if (window_target_) {
        window_target_->Resize(D2D1::SizeU(width, height));
    }
}

void renderer::register_image(image& picture)
{
    images_.push_back(&picture);
}

void renderer::unregister_image(const image& picture) noexcept
{
    std::erase(images_, &picture);
}

void renderer::begin_paint(const widget& w, const RECT& dirty)
{
    const bool first = clip_stack_.empty();
    if (first) {
        if (target_lost_) {
            recreate_target();
        }
        origin_ = {};
    }
    ID2D1RenderTarget& target = require(target_.Get());
    clip_stack_.push_back({&w, origin_});
    if (first) {
        if (window_) {
            BeginPaint(window_, &paint_record_);
        }
        target.BeginDraw();
    }

    target.SetTransform(D2D1::Matrix3x2F::Identity());
    target.PushAxisAlignedClip(D2D1::RectF(static_cast<float>(dirty.left), static_cast<float>(dirty.top),
                                           static_cast<float>(dirty.right), static_cast<float>(dirty.bottom)),
                               D2D1_ANTIALIAS_MODE_ALIASED);
    const rect& area = w.geometry();
    origin_ = {origin_.x + area.x, origin_.y + area.y};
    // The widget's own clip is pushed in window coordinates, before the translation: the same area as
    // {0, 0, width, height} under the widget's transform, and Wine's Direct2D, which leaves a clip's
    // translation unscaled at DPIs other than 96, then clips in the right place too.
    const float left = static_cast<float>(origin_.x);
    const float top = static_cast<float>(origin_.y);
    target.PushAxisAlignedClip(
        D2D1::RectF(left, top, left + static_cast<float>(area.width), top + static_cast<float>(area.height)),
        D2D1_ANTIALIAS_MODE_ALIASED);
    target.SetTransform(D2D1::Matrix3x2F::Translation(left, top));
}

void renderer::end_paint() noexcept
{
    if (clip_stack_.empty()) {
        return;
    }
    origin_ = clip_stack_.back().outer_origin;
    clip_stack_.pop_back();
    target_->PopAxisAlignedClip();
    target_->PopAxisAlignedClip();
    if (!clip_stack_.empty()) {
        return;
    }
    const HRESULT drawn = target_->EndDraw();
    if (window_) {
        EndPaint(window_, &paint_record_);
    }
    if (drawn == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        // The next paint makes the target again; ask for that paint now, so the window does not stay blank.
        target_lost_ = true;
        if (window_) {
            InvalidateRect(window_, nullptr, FALSE);
        }
    }
}

void renderer::set_font(std::string_view family, float size, std::int32_t weight_kind, std::int32_t style_kind)
{
    font_family_ = utf8_to_wide(family);
    font_size_ = size;
    font_weight_ = font_weight_of(weight_kind);
    font_style_ = style_kind == 1 ? DWRITE_FONT_STYLE_ITALIC : DWRITE_FONT_STYLE_NORMAL;
}

void renderer::set_text_alignment(std::int32_t horizontal_kind, std::int32_t vertical_kind)
{
    IDWriteTextFormat& format = require(text_format_.Get());
    format.SetTextAlignment(text_alignment(horizontal_kind));
    format.SetParagraphAlignment(paragraph_alignment(vertical_kind));
}

void renderer::set_fill_color(const color& rgba)
{
    require(fill_brush_.Get()).SetColor(d2d_color(rgba));
}

void renderer::set_text_color(const color& rgba)
{
    require(text_brush_.Get()).SetColor(d2d_color(rgba));
}

void renderer::set_pen(const color& rgba, float width)
{
    require(pen_brush_.Get()).SetColor(d2d_color(rgba));
    line_width_ = width;
}

void renderer::fill_rect(const rect& area)
{
    require(target_.Get()).FillRectangle(float_rect(area), &require(fill_brush_.Get()));
}

template <typename Draw>
void renderer::stroke_aliased(Draw&& draw)
{
    ID2D1RenderTarget& target = require(target_.Get());
    ID2D1SolidColorBrush& pen = require(pen_brush_.Get());
    ID2D1StrokeStyle* stroke = line_style_ == 1 ? dotted_stroke_.Get() : nullptr;
    target.SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    draw(target, pen, stroke);
    target.SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
}

void renderer::draw_rect(const rect& area)
{
    const float h = line_width_ * 0.5f;
    const D2D1_RECT_F whole = float_rect(area);
    const D2D1_RECT_F outline = D2D1::RectF(whole.left + h, whole.top + h, whole.right - h, whole.bottom - h);
    stroke_aliased([&](ID2D1RenderTarget& target, ID2D1Brush& pen, ID2D1StrokeStyle* stroke) {
        target.DrawRectangle(outline, &pen, line_width_, stroke);
    });
}

void renderer::draw_line(point from, point to)
{
    float whole_part = 0.0f;
    const float f = std::modf(line_width_ * 0.5f, &whole_part);
    const D2D1_POINT_2F start = D2D1::Point2F(static_cast<float>(from.x) + f, static_cast<float>(from.y) + f);
    const D2D1_POINT_2F end = D2D1::Point2F(static_cast<float>(to.x) + f, static_cast<float>(to.y) + f);
    stroke_aliased([&](ID2D1RenderTarget& target, ID2D1Brush& pen, ID2D1StrokeStyle* stroke) {
        target.DrawLine(start, end, &pen, line_width_, stroke);
    });
}

void renderer::draw_shadow(const rect& area, point offset, std::int32_t size)
{
    paint_drop_shadow(require(target_.Get()), require(shadow_stops_.Get()), require(shadow_brush_.Get()), area, offset,
                      size);
}

// A picture pixel is a toolkit unit: pictures are sized by their pixels, never by the DPI a device bitmap
// reports.
void renderer::draw_image(point at, image& picture)
{
    ID2D1Bitmap& bitmap = create_target_bitmap(picture, *this);
    const D2D1_SIZE_U size = bitmap.GetPixelSize();
    const float x = static_cast<float>(at.x);
    const float y = static_cast<float>(at.y);
    draw_bitmap(bitmap, D2D1::RectF(x, y, x + static_cast<float>(size.width), y + static_cast<float>(size.height)));
}

void renderer::draw_image_part(point at, image& picture, const rect& source)
{
    const part_bitmap part = create_part_bitmap(picture, *this, source);
    if (part.bitmap == nullptr) {
        return;
    }
    // Where the part that lies on the picture goes when the rectangle reaches past its edges.
    const float x = static_cast<float>(std::int64_t{at.x} + part.source.x - source.x);
    const float y = static_cast<float>(std::int64_t{at.y} + part.source.y - source.y);
    draw_bitmap(*part.bitmap, D2D1::RectF(x, y, x + static_cast<float>(part.source.width),
                                          y + static_cast<float>(part.source.height)));
}

void renderer::draw_bitmap(ID2D1Bitmap& bitmap, const D2D1_RECT_F& destination)
{
    require(target_.Get()).DrawBitmap(&bitmap, destination, 1.0f, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR);
}

renderer::com_ptr<IDWriteTextLayout> renderer::make_layout(std::string_view text, float max_width,
                                                           float max_height) const
{
    const std::wstring wide = utf8_to_wide(text);
    com_ptr<IDWriteTextLayout> layout;
    if (FAILED(require(text_factory_.Get())
                   .CreateTextLayout(wide.c_str(), static_cast<UINT32>(wide.size()), &require(text_format_.Get()),
                                     max_width, max_height, &layout))) {
        return nullptr;
    }
    const DWRITE_TEXT_RANGE whole{0, static_cast<UINT32>(wide.size())};
    layout->SetFontWeight(font_weight_, whole);
    layout->SetFontStyle(font_style_, whole);
    layout->SetFontFamilyName(font_family_.c_str(), whole);
    layout->SetFontSize(font_size_, whole);
    return layout;
}

void renderer::draw_text(const rect& box, std::string_view text)
{
    const com_ptr<IDWriteTextLayout> layout =
        make_layout(text, static_cast<float>(box.width), static_cast<float>(box.height));
    if (!layout) {
        return;
    }
    require(target_.Get())
        .DrawTextLayout(D2D1::Point2F(static_cast<float>(box.x), static_cast<float>(box.y)), layout.Get(),
                        &require(text_brush_.Get()));
}

extent renderer::measure_text(std::string_view text, extent bound)
{
    const com_ptr<IDWriteTextLayout> layout =
        make_layout(text, unbounded_if_zero(bound.width), unbounded_if_zero(bound.height));
    DWRITE_TEXT_METRICS metrics{};
    require(layout.Get()).GetMetrics(&metrics);
    return {static_cast<std::int32_t>(metrics.widthIncludingTrailingWhitespace + 1.0f),
            static_cast<std::int32_t>(metrics.height + 1.0f)};
}

}  // namespace qxsdk::ui
