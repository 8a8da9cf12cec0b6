#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "plugin/render/render_inputs.h"

namespace kyrox {

using ZeroedBuffer = std::unique_ptr<std::byte[]>;

// Allocates byte_count zero bytes into owner. Throws std::bad_alloc when the storage cannot be had,
// also when the count does not fit the address space; owner is then left as it was.
void alloc_zeroed_buffer(ZeroedBuffer& owner, std::uint64_t byte_count);

// The same without the zero fill, for storage that is written before it is read.
void alloc_unset_buffer(ZeroedBuffer& owner, std::uint64_t byte_count);

// Position of plane cell (0, 0) in the output.
struct PlaneOffset {
    float x = 0.0f;
    float y = 0.0f;
};

// Whether a new plane's cells start at zero or are left for a stage that writes every one of them.
enum class PlaneFill { zeroed, unset };

// One float per cell, row after row, zero at creation unless made PlaneFill::unset. Its view
// describes the buffer in the host's buffer form with 4 bytes per channel, for the stages that take
// views; a stage that writes the cells takes the plane (or its view) from a plane it may change.
class FloatPlane {
public:
    // No cells and no buffer.
    FloatPlane() = default;
    // A plane of the model's width, height and origin. Throws std::bad_alloc when the size is
    // negative or its byte count or row bytes do not fit.
    explicit FloatPlane(const WorldView& model, PlaneFill fill = PlaneFill::zeroed);

    std::int32_t width() const noexcept { return view_.width; }
    std::int32_t height() const noexcept { return view_.height; }
    // The cells of row i, which must exist.
    std::span<float> row(std::int32_t i) noexcept;
    std::span<const float> row(std::int32_t i) const noexcept;
    const WorldView& view() const noexcept { return view_; }

private:
    friend void fit_plane(FloatPlane& plane, const WorldView& model);

    ZeroedBuffer buffer_;
    WorldView view_;
};

// Makes plane the model's width and height unless it already is. A plane that fits is kept with
// its cells as they are (it takes the model's origin); a new one's cells are unset. Throws
// std::bad_alloc as the constructor does, leaving the plane empty.
void fit_plane(FloatPlane& plane, const WorldView& model);

// The cells of one row of a plane described by a view (4 bytes per channel). The row must exist.
inline std::span<float> plane_row(const WorldView& plane_view, std::int32_t i) noexcept
{
    auto* start = static_cast<std::byte*>(plane_view.data) + static_cast<std::int64_t>(i) * plane_view.row_bytes;
    return {reinterpret_cast<float*>(start), static_cast<std::size_t>(plane_view.width)};
}

inline std::span<float> FloatPlane::row(std::int32_t i) noexcept
{
    return plane_row(view_, i);
}

inline std::span<const float> FloatPlane::row(std::int32_t i) const noexcept
{
    return plane_row(view_, i);
}

}  // namespace kyrox
