#pragma once

#include "plugin/render/render_inputs.h"
#include "plugin/render/pixels/pixel_depth.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kyrox::test {

// A host pixel buffer of the depth of Channel, exactly height * row_bytes long, so that the address
// sanitizer sees any access past it. Padding bytes at the end of each row (a multiple of the channel
// size) are filled with 0xAB.
template <class Channel>
class HostImage {
public:
    HostImage(std::int32_t width, std::int32_t height, std::int32_t padding_bytes = 0)
        : row_bytes_(width * static_cast<std::int32_t>(sizeof(Pixel<Channel>)) + padding_bytes),
          bytes_(static_cast<std::size_t>(row_bytes_) * static_cast<std::size_t>(height), std::byte{0xAB})
    {
        view_.row_bytes = row_bytes_;
        view_.bytes_per_channel = sizeof(Channel);
        view_.width = width;
        view_.height = height;
        view_.data = bytes_.data();
        fill(Pixel<Channel>{});
    }

    const WorldView& view() const noexcept { return view_; }
    WorldView& view() noexcept { return view_; }

    Pixel<Channel>& at(std::int32_t row, std::int32_t column) noexcept
    {
        return pixel_row<Channel>(view_, row)[static_cast<std::size_t>(column)];
    }

    void fill(const Pixel<Channel>& pixel) noexcept
    {
        for (std::int32_t r = 0; r < view_.height; ++r) {
            for (auto& p : pixel_row<Channel>(view_, r)) {
                p = pixel;
            }
        }
    }

    // Whether every padding byte still holds its fill.
    bool padding_intact() const noexcept
    {
        const std::size_t pixels = static_cast<std::size_t>(view_.width) * sizeof(Pixel<Channel>);
        for (std::int32_t r = 0; r < view_.height; ++r) {
            for (std::size_t b = pixels; b < static_cast<std::size_t>(row_bytes_); ++b) {
                if (bytes_[static_cast<std::size_t>(r) * static_cast<std::size_t>(row_bytes_) + b] != std::byte{0xAB}) {
                    return false;
                }
            }
        }
        return true;
    }

private:
    std::int32_t row_bytes_;
    std::vector<std::byte> bytes_;
    WorldView view_;
};

}  // namespace kyrox::test
