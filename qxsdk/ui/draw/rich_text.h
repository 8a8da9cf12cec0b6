#pragma once

#include <windows.h>

#include <d2d1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Marked-up text: a plain UTF-16 text and the spans that format parts of it, laid out by DirectWrite and
// cached for one box. The owner fills the text and the spans and marks the layout stale when it changes them.
namespace qxsdk::ui {

// One formatting tag over a range of UTF-16 code units: "b" bold, "u" underline, or "font" with any of
// face="...", size="..." and color="#RRGGBB" in its attributes. Other tags are ignored.
struct text_span {
    DWRITE_TEXT_RANGE range{};
    std::wstring tag;
    std::wstring attributes;
};

class rich_text {
public:
    std::wstring& text() noexcept { return text_; }
    const std::wstring& text() const noexcept { return text_; }
    std::vector<text_span>& spans() noexcept { return spans_; }
    const std::vector<text_span>& spans() const noexcept { return spans_; }

    // The next build makes a new layout (after the text or the spans changed).
    void invalidate_layout() noexcept { layout_valid_ = false; }
    bool layout_valid() const noexcept { return layout_valid_; }

    // A label in rich mode draws the text only when it is ready.
    bool ready() const noexcept { return ready_; }
    void set_ready(bool ready) noexcept { ready_ = ready; }

    // The layout for the box, made with the text format (its font and alignment at that time). Colour spans
    // draw with brushes of the given target, one per colour; the layout is cached for one box and target.
    // Throws std::runtime_error "factory is a null pointer" or hresult_error "unable to initialize a new layout".
    friend IDWriteTextLayout& build_rich_text_layout(rich_text& markup, IDWriteFactory* text_factory,
                                                     IDWriteTextFormat* text_format, ID2D1RenderTarget* brush_target,
                                                     D2D1_SIZE_F box);

private:
    template <typename T>
    using com_ptr = Microsoft::WRL::ComPtr<T>;

    // The brush of one colour on the layout's target; null when the target cannot make it.
    ID2D1Brush* brush_for(std::uint32_t rgb);

    std::wstring text_;
    std::vector<text_span> spans_;
    com_ptr<IDWriteTextLayout> layout_;
    bool layout_valid_ = false;
    D2D1_SIZE_F last_box_{0.0f, 0.0f};
    bool ready_ = false;
    // Brushes of the target the layout was built for, keyed by 0xRRGGBB; the reference keeps the target
    // alive, so a new target at a recycled address is still told apart.
    com_ptr<ID2D1RenderTarget> brush_target_;
    std::map<std::uint32_t, com_ptr<ID2D1SolidColorBrush>> brushes_;
};

IDWriteTextLayout& build_rich_text_layout(rich_text& markup, IDWriteFactory* text_factory,
                                          IDWriteTextFormat* text_format, ID2D1RenderTarget* brush_target,
                                          D2D1_SIZE_F box);

std::unique_ptr<rich_text> new_rich_text();

}  // namespace qxsdk::ui
