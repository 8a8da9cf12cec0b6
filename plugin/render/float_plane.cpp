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

// Row bytes of a plane of the given width; they must fit the view's 32-bit field.
std::int32_t plane_row_bytes(std::int32_t width)
{
    const std::int64_t row_bytes = std::int64_t{4} * width;
    if (width < 0 || row_bytes > std::numeric_limits<std::int32_t>::max()) {
        throw std::bad_alloc();
    }
    return static_cast<std::int32_t>(row_bytes);
}

}  // namespace

FloatPlane::FloatPlane(const WorldView& model, PlaneFill fill)
{
    const std::int32_t row_bytes = plane_row_bytes(model.width);
    if (model.height < 0) {
        throw std::bad_alloc();
    }
    // Both factors are below 2^31, so the product is exact in 64 bits.
    const std::uint64_t byte_count = static_cast<std::uint64_t>(row_bytes) * static_cast<std::uint64_t>(model.height);
    if (fill == PlaneFill::zeroed) {
        alloc_zeroed_buffer(buffer_, byte_count);
    } else {
        alloc_unset_buffer(buffer_, byte_count);
    }
    view_.row_bytes = row_bytes;
    view_.bytes_per_channel = 4;
    view_.origin_x = model.origin_x;
    view_.origin_y = model.origin_y;
    view_.width = model.width;
    view_.height = model.height;
    view_.data = buffer_.get();
}

void fit_plane(FloatPlane& plane, const WorldView& model)
{
    if (plane.buffer_ && plane.width() == model.width && plane.height() == model.height) {
        plane.view_.origin_x = model.origin_x;
        plane.view_.origin_y = model.origin_y;
        return;
    }
    // Release the old cells before taking the new ones.
    plane = FloatPlane();
    plane = FloatPlane(model, PlaneFill::unset);
}

}  // namespace kyrox
