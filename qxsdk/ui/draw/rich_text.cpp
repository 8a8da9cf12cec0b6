#include "qxsdk/ui/draw/rich_text.h"

#include <cwchar>
#include <cwctype>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "qxsdk/ui/draw/hresult_check.h"

namespace qxsdk::ui {

namespace {

// The value of key="value" at the key's first occurrence: up to the next double quote, or to the end.
std::optional<std::wstring_view> attribute_value(std::wstring_view attributes, std::wstring_view key)
{
    const std::wstring opening = std::wstring(key) + L"=\"";
    const std::size_t at = attributes.find(opening);
    if (at == std::wstring_view::npos) {
        return std::nullopt;
    }
    const std::wstring_view rest = attributes.substr(at + opening.size());
    return rest.substr(0, rest.find(L'"'));
}

// The leading number of the text, as a float; 0 when it starts with none.
float leading_number(std::wstring_view value)
{
    const std::wstring terminated(value);
    return static_cast<float>(std::wcstod(terminated.c_str(), nullptr));
}

// "#RRGGBB" as 0xRRGGBB; anything else is no colour.
std::optional<std::uint32_t> hex_color(std::wstring_view value)
{
    if (value.size() != 7 || value[0] != L'#') {
        return std::nullopt;
    }
    std::uint32_t rgb = 0;
    for (const wchar_t digit : value.substr(1)) {
        if (!std::iswxdigit(static_cast<wint_t>(digit))) {
            return std::nullopt;
        }
        const auto lower = static_cast<std::uint32_t>(std::towlower(static_cast<wint_t>(digit)));
        rgb = (rgb << 4) | (lower <= L'9' ? lower - L'0' : lower - L'a' + 10);
    }
    return rgb;
}

D2D1_COLOR_F color_of(std::uint32_t rgb)
{
    constexpr float per_level = 0.003921569f;
    return D2D1::ColorF(static_cast<float>((rgb >> 16) & 0xFF) * per_level,
                        static_cast<float>((rgb >> 8) & 0xFF) * per_level, static_cast<float>(rgb & 0xFF) * per_level,
                        1.0f);
}

}  // namespace

ID2D1Brush* rich_text::brush_for(std::uint32_t rgb)
{
    com_ptr<ID2D1SolidColorBrush>& brush = brushes_[rgb];
    if (!brush) {
        require(brush_target_.Get()).CreateSolidColorBrush(color_of(rgb), &brush);
    }
    return brush.Get();
}

IDWriteTextLayout& build_rich_text_layout(rich_text& markup, IDWriteFactory* text_factory,
                                          IDWriteTextFormat* text_format, ID2D1RenderTarget* brush_target,
                                          D2D1_SIZE_F box)
{
    if (markup.layout_valid_ && markup.layout_ && box.width == markup.last_box_.width &&
        box.height == markup.last_box_.height && brush_target == markup.brush_target_.Get()) {
        return *markup.layout_.Get();
    }
    markup.layout_.Reset();
    markup.layout_valid_ = false;
    if (text_factory == nullptr) {
        throw std::runtime_error("factory is a null pointer");
    }
    check(text_factory->CreateTextLayout(markup.text_.c_str(), static_cast<UINT32>(markup.text_.size()),
                                         &require(text_format), box.width, box.height, &markup.layout_),
          "IDWriteFactory::CreateTextLayout", "unable to initialize a new layout");
    if (brush_target != markup.brush_target_.Get()) {
        markup.brushes_.clear();
        markup.brush_target_ = brush_target;
    }

    IDWriteTextLayout& layout = require(markup.layout_.Get());
    for (const text_span& span : markup.spans_) {
        if (span.tag == L"b") {
            layout.SetFontWeight(DWRITE_FONT_WEIGHT_BOLD, span.range);
        } else if (span.tag == L"u") {
            layout.SetUnderline(TRUE, span.range);
        } else if (span.tag == L"font") {
            if (const auto face = attribute_value(span.attributes, L"face")) {
                layout.SetFontFamilyName(std::wstring(*face).c_str(), span.range);
            }
            if (const auto size = attribute_value(span.attributes, L"size")) {
                layout.SetFontSize(leading_number(*size), span.range);
            }
            const auto value = attribute_value(span.attributes, L"color");
            if (const auto rgb = value ? hex_color(*value) : std::nullopt) {
                if (ID2D1Brush* brush = markup.brush_for(*rgb)) {
                    layout.SetDrawingEffect(brush, span.range);
                }
            }
        }
    }
    markup.layout_valid_ = true;
    markup.last_box_ = box;
    return layout;
}

std::unique_ptr<rich_text> new_rich_text()
{
    return std::make_unique<rich_text>();
}

}  // namespace qxsdk::ui
