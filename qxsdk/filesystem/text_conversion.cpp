#include "qxsdk/filesystem/text_conversion.h"

#include <charconv>
#include <stdexcept>

namespace qxsdk {
namespace {

[[noreturn]] void bad_conversion()
{
    throw std::range_error("bad conversion");
}

constexpr bool is_continuation(unsigned char byte)
{
    return (byte & 0xC0u) == 0x80u;
}

// Decodes one character starting at text[pos] and advances pos past it. Rejects overlong forms,
// surrogate code points and values above U+10FFFF, as the UTF-8 definition requires.
char32_t decode_one(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead < 0x80u) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0u) == 0xC0u) {
        length = 2, code = lead & 0x1Fu, minimum = 0x80;
    } else if ((lead & 0xF0u) == 0xE0u) {
        length = 3, code = lead & 0x0Fu, minimum = 0x800;
    } else if ((lead & 0xF8u) == 0xF0u) {
        length = 4, code = lead & 0x07u, minimum = 0x10000;
    } else {
        bad_conversion();
    }
    if (text.size() - pos < length) {
        bad_conversion();
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (!is_continuation(byte)) {
            bad_conversion();
        }
        code = (code << 6) | (byte & 0x3Fu);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        bad_conversion();
    }
    pos += length;
    return code;
}

void append_utf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

constexpr bool is_high_surrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool is_low_surrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::wstring utf8_to_wide(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t code = decode_one(text, pos);
        if (code < 0x10000) {
            out += static_cast<wchar_t>(code);
        } else {
            out += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string wide_to_utf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Only the low 16 bits carry a code unit; a wider wchar_t holding more is not UTF-16.
        const auto unit = static_cast<char32_t>(text[i]);
        if (unit > 0xFFFF || is_low_surrogate(unit)) {
            bad_conversion();
        }
        if (!is_high_surrogate(unit)) {
            append_utf8(out, unit);
            continue;
        }
        if (i + 1 == text.size() || !is_low_surrogate(static_cast<char32_t>(text[i + 1]))) {
            bad_conversion();
        }
        const auto low = static_cast<char32_t>(text[++i]);
        append_utf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    }
    return out;
}

std::string int_to_string(std::int32_t value)
{
    char buffer[16];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return std::string(buffer, result.ptr);
}

}  // namespace qxsdk
