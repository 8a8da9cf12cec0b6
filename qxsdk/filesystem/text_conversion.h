#pragma once
// Text at the platform boundary: the toolkit keeps user-visible text as UTF-8 and hands the platform
// wide strings of UTF-16 code units (one code unit per wchar_t, whatever the width of wchar_t).

#include <cstdint>
#include <string>
#include <string_view>

namespace qxsdk {

// Decodes UTF-8 up to the first NUL (or the end of the view) into UTF-16; a character outside the
// Basic Multilingual Plane becomes a surrogate pair. Invalid UTF-8 throws std::range_error
// "bad conversion".
std::wstring utf8_to_wide(std::string_view text);

// Encodes every code unit of the wide string, embedded NULs included, as UTF-8; surrogate pairs
// become one four-byte character. An unpaired surrogate throws std::range_error "bad conversion".
std::string wide_to_utf8(std::wstring_view text);

// The value as a signed decimal ("%d"): no padding, no grouping.
std::string int_to_string(std::int32_t value);

}  // namespace qxsdk
