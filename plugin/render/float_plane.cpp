#include "plugin/render/float_plane.h"

#include <limits>
#include <new>

namespace kyrox {

namespace {

// No object may span more than half the address space.
std::size_t checked_byte_count(std::uint64_t byte_count)
{
    if (byte_count > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max())) {
        throw std::bad_alloc();
    }
    return static_cast<std::size_t>(byte_count);
}

}  // namespace

void alloc_zeroed_buffer(ZeroedBuffer& owner, std::uint64_t byte_count)
{
    owner.reset(new std::byte[checked_byte_count(byte_count)]());
}

void alloc_unset_buffer(ZeroedBuffer& owner, std::uint64_t byte_count)
{
    owner.reset(new std::byte[checked_byte_count(byte_count)]);
}

namespace {

// Row bytes of a plane of the given width; like the host's buffers, they must fit 32 bits.
std::int64_t plane_row_bytes(std::int32_t width)
{
    const std::int64_t row_bytes = std::int64_t{4} * width;
    if (width < 0 || row_bytes > std::numeric_limits<std::int32_t>::max()) {
        throw std::bad_alloc();
    }
    return row_bytes;
}

}  // namespace

FloatPlane::FloatPlane(std::int32_t width, std::int32_t height, PlaneFill fill)
{
    const std::int64_t row_bytes = plane_row_bytes(width);
    if (height < 0) {
        throw std::bad_alloc();
    }
    // Both factors are below 2^31, so the product is exact in 64 bits.
    const std::uint64_t byte_count = static_cast<std::uint64_t>(row_bytes) * static_cast<std::uint64_t>(height);
    if (fill == PlaneFill::zeroed) {
        alloc_zeroed_buffer(buffer_, byte_count);
    } else {
        alloc_unset_buffer(buffer_, byte_count);
    }
    // The cells are floats made in the byte buffer's storage, as a byte array's storage allows.
    view_ = {std::launder(reinterpret_cast<float*>(buffer_.get())), width, height, width};
}

void fit_plane(FloatPlane& plane, std::int32_t width, std::int32_t height)
{
    if (plane.buffer_ && plane.width() == width && plane.height() == height) {
        return;
    }
    // Release the old cells before taking the new ones.
    plane = FloatPlane();
    plane = FloatPlane(width, height, PlaneFill::unset);
}

}  // namespace kyrox
