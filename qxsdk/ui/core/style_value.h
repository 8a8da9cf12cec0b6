#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The value of a style property: a byte string, and four floats for a colour. Which of the kinds below a
// key holds is not stored; its reader knows.
namespace qxsdk::ui {

struct color {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 0.0f;

    friend bool operator==(const color&, const color&) = default;
};

constexpr color make_color(float red, float green, float blue, float alpha) noexcept
{
    return {red, green, blue, alpha};
}

// A control picture: PNG data that lives as long as the program (it is constant data of the program),
// and the number of equal frames stacked vertically in it. Stored in a value's bytes as they lie here.
struct image_reference {
    const std::uint8_t* data = nullptr;
    std::uint64_t size = 0;
    std::int32_t frames = 1;
    std::int32_t unused = 0;

    std::span<const std::uint8_t> png() const noexcept { return {data, static_cast<std::size_t>(size)}; }
};
static_assert(sizeof(image_reference) == 24, "an image reference is 24 bytes in a style value");

struct style_value {
    std::string bytes;  // every kind but a colour; empty for a colour
    color rgba;         // a colour; all zero for every other kind

    friend bool operator==(const style_value&, const style_value&) = default;
};

// Values of each kind. Numbers are stored as their 4 bytes in memory, a flag as one byte.
style_value make_color_value(color rgba);
style_value make_int_value(std::int32_t value);
style_value make_float_value(float value);
style_value make_flag_value(bool value);
style_value make_text_value(std::string_view text);
style_value make_image_value(std::span<const std::uint8_t> png, std::int32_t frames);

// Readers of each kind. A value shorter than its kind (a key found nowhere, a colour read as a number)
// reads as 0, false or no picture, never past its bytes.
std::int32_t read_int(const style_value& value) noexcept;
float read_float(const style_value& value) noexcept;
bool read_flag(const style_value& value) noexcept;
image_reference read_image(const style_value& value) noexcept;

}  // namespace qxsdk::ui
