#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace qxsdk::ui {

// The name of a style property: a reference to a string literal, compared by length and bytes (so case
// matters). Only constant arrays of static storage can make one, so a map never holds a dangling key,
// and the characters are NUL-terminated, which the style_changed event relies on.
class style_key {
public:
    template <std::size_t N>
    consteval style_key(const char (&text)[N]) : text_(text), length_(N - 1)
    {
        if (text[N - 1] != '\0') {
            throw "a style key is a NUL-terminated literal";
        }
    }

    std::string_view view() const noexcept { return {text_, length_}; }
    const char* c_str() const noexcept { return text_; }

    friend bool operator==(style_key a, style_key b) noexcept { return a.view() == b.view(); }

private:
    const char* text_;
    std::size_t length_;
};

struct style_key_hash {
    std::size_t operator()(style_key key) const noexcept { return std::hash<std::string_view>{}(key.view()); }
};

}  // namespace qxsdk::ui
