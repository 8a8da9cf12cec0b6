#include "qxsdk/ui/core/style_value.h"

#include <cstring>
#include <type_traits>

namespace qxsdk::ui {

namespace {

template <class T>
style_value raw_value(const T& payload)
{
    static_assert(std::is_trivially_copyable_v<T>);
    style_value value;
    value.bytes.resize(sizeof(T));
    std::memcpy(value.bytes.data(), &payload, sizeof(T));
    return value;
}

template <class T>
T read_raw(const style_value& value, T fallback) noexcept
{
    static_assert(std::is_trivially_copyable_v<T>);
    if (value.bytes.size() < sizeof(T)) {
        return fallback;
    }
    T payload;
    std::memcpy(&payload, value.bytes.data(), sizeof(T));
    return payload;
}

}  // namespace

style_value make_color_value(color rgba)
{
    return {{}, rgba};
}

style_value make_int_value(std::int32_t value)
{
    return raw_value(value);
}

style_value make_float_value(float value)
{
    return raw_value(value);
}

style_value make_flag_value(bool value)
{
    return raw_value(static_cast<std::uint8_t>(value ? 1 : 0));
}

style_value make_text_value(std::string_view text)
{
    return {std::string(text), {}};
}

style_value make_image_value(std::span<const std::uint8_t> png, std::int32_t frames)
{
    return raw_value(image_reference{png.data(), png.size(), frames, 0});
}

std::int32_t read_int(const style_value& value) noexcept
{
    return read_raw<std::int32_t>(value, 0);
}

float read_float(const style_value& value) noexcept
{
    return read_raw<float>(value, 0.0f);
}

bool read_flag(const style_value& value) noexcept
{
    return read_raw<std::uint8_t>(value, 0) != 0;
}

image_reference read_image(const style_value& value) noexcept
{
    return read_raw<image_reference>(value, image_reference{});
}

}  // namespace qxsdk::ui
