// UTF-8 <-> UTF-16 at the platform boundary, and the path helpers on top of it. Promises: a conversion succeeds
// or throws only std::range_error "bad conversion"; it succeeds exactly when its input is well formed (UTF-8 up
// to the first NUL; UTF-16 with every surrogate paired); round trips give back the input (UTF-16 up to its
// first NUL, which the way back stops at); the generic path form differs from the UTF-8 only in its slashes.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "qxsdk/filesystem/file_path.h"
#include "qxsdk/filesystem/text_conversion.h"
#include "promise.h"

namespace {

using kyrox::fuzz::promise;

// Well-formed UTF-8 by the table of well-formed byte sequences of the Unicode standard (its table 3-7): a
// formulation independent of the decoder's (no overlong forms, no surrogates, nothing above U+10FFFF).
bool well_formed_utf8(std::string_view text)
{
    struct range {
        unsigned char low, high;
    };
    struct sequence {
        range lead;
        range second;
        int continuations;  // after the second byte, each 80..BF
    };
    static constexpr sequence table[] = {
        {{0xC2, 0xDF}, {0x80, 0xBF}, 0}, {{0xE0, 0xE0}, {0xA0, 0xBF}, 1}, {{0xE1, 0xEC}, {0x80, 0xBF}, 1},
        {{0xED, 0xED}, {0x80, 0x9F}, 1}, {{0xEE, 0xEF}, {0x80, 0xBF}, 1}, {{0xF0, 0xF0}, {0x90, 0xBF}, 2},
        {{0xF1, 0xF3}, {0x80, 0xBF}, 2}, {{0xF4, 0xF4}, {0x80, 0x8F}, 2},
    };
    const auto in = [](unsigned char byte, range r) { return r.low <= byte && byte <= r.high; };
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const sequence* match =
            std::find_if(std::begin(table), std::end(table), [&](const sequence& s) { return in(lead, s.lead); });
        if (match == std::end(table) || text.size() - i < std::size_t(2 + match->continuations) ||
            !in(static_cast<unsigned char>(text[i + 1]), match->second)) {
            return false;
        }
        for (int k = 0; k < match->continuations; ++k) {
            if (!in(static_cast<unsigned char>(text[i + 2 + k]), {0x80, 0xBF})) {
                return false;
            }
        }
        i += 2 + match->continuations;
    }
    return true;
}

bool well_formed_utf16(std::wstring_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<std::uint32_t>(text[i]);
        if (unit > 0xFFFF || (unit >= 0xDC00 && unit <= 0xDFFF)) {
            return false;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == text.size()) {
                return false;
            }
            const auto low = static_cast<std::uint32_t>(text[++i]);
            if (low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
        }
    }
    return true;
}

// The conversion's result, or none when it threw "bad conversion"; any other exception is a broken promise.
template <class Convert>
auto converted(Convert convert) -> std::optional<decltype(convert())>
{
    try {
        return convert();
    } catch (const std::range_error& error) {
        promise(std::string_view(error.what()) == "bad conversion", "a range error other than \"bad conversion\"");
    } catch (...) {
        promise(false, "an exception other than std::range_error");
    }
    return std::nullopt;
}

void check_utf8(std::string_view text)
{
    const std::string_view before_nul = text.substr(0, text.find('\0'));
    const auto wide = converted([&] { return qxsdk::utf8_to_wide(text); });
    promise(wide.has_value() == well_formed_utf8(before_nul), "utf8_to_wide accepts exactly well-formed UTF-8");
    if (!wide) {
        return;
    }
    promise(well_formed_utf16(*wide), "utf8_to_wide gives well-formed UTF-16");
    const auto back = converted([&] { return qxsdk::wide_to_utf8(*wide); });
    promise(back.has_value() && *back == before_nul, "UTF-8 -> UTF-16 -> UTF-8 gives the same bytes");
}

void check_utf16(std::wstring_view text)
{
    const auto narrow = converted([&] { return qxsdk::wide_to_utf8(text); });
    promise(narrow.has_value() == well_formed_utf16(text), "wide_to_utf8 accepts exactly well-formed UTF-16");
    const qxsdk::filesystem::file_path path{std::wstring(text)};
    const auto generic = converted([&] { return qxsdk::filesystem::to_generic_string(path); });
    promise(generic.has_value() == narrow.has_value(), "to_generic_string fails exactly when wide_to_utf8 does");
    if (!narrow) {
        return;
    }
    promise(well_formed_utf8(*narrow), "wide_to_utf8 gives well-formed UTF-8");
    promise(std::count(narrow->begin(), narrow->end(), '\0') == std::count(text.begin(), text.end(), L'\0'),
            "wide_to_utf8 keeps every embedded NUL");
    std::string slashed = *narrow;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    promise(*generic == slashed, "to_generic_string changes backslashes into slashes and nothing else");
    const auto back = converted([&] { return qxsdk::utf8_to_wide(*narrow); });
    promise(back.has_value() && *back == text.substr(0, text.find(L'\0')),
            "UTF-16 -> UTF-8 -> UTF-16 gives the same units up to the first NUL");
    promise((path + text).native() == std::wstring(text) + std::wstring(text), "a path joins text as it stands");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        check_utf8(input.ConsumeRemainingBytesAsString());
        break;
    case 1:
    case 2: {
        // Code units of 16 bits, or (where wchar_t is wider) of any width, which are no UTF-16 above 0xFFFF.
        const bool any_width = input.ConsumeBool();
        std::wstring text;
        while (input.remaining_bytes() >= 2) {
            const std::uint32_t unit = any_width && sizeof(wchar_t) > 2 ? input.ConsumeIntegral<std::uint32_t>()
                                                                        : input.ConsumeIntegral<std::uint16_t>();
            text += static_cast<wchar_t>(unit);
        }
        check_utf16(text);
        break;
    }
    default: {
        const auto value = input.ConsumeIntegral<std::int32_t>();
        promise(qxsdk::int_to_string(value) == std::to_string(value), "int_to_string prints \"%d\"");
        break;
    }
    }
    return 0;
}
