#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "plugin/render/plane_view.h"
#include "plugin/render/render_inputs.h"

namespace kyrox {

using ZeroedBuffer = std::unique_ptr<std::byte[]>;

// Allocates byte_count zero bytes into owner. Throws std::bad_alloc when the storage cannot be had,
// also when the count does not fit the address space; owner is then left as it was.
void alloc_zeroed_buffer(ZeroedBuffer& owner, std::uint64_t byte_count);

// The same without the zero fill, for storage that is written before it is read.
void alloc_unset_buffer(ZeroedBuffer& owner, std::uint64_t byte_count);

// Whether a new plane's cells start at zero or are left for a stage that writes every one of them.
enum class PlaneFill { zeroed, unset };

// One float per cell, row after row, zero at creation unless made PlaneFill::unset. The stages take
// its cells as a view: a stage that writes them takes the view of a plane it may change.
class FloatPlane {
public:
    // No cells and no buffer.
    FloatPlane() = default;
    // A plane of width x height cells. Throws std::bad_alloc when the size is negative or its byte
    // count or row bytes do not fit.
    FloatPlane(std::int32_t width, std::int32_t height, PlaneFill fill);
    // A plane the size of a host buffer.
    explicit FloatPlane(const WorldView& model, PlaneFill fill = PlaneFill::zeroed)
        : FloatPlane(model.width, model.height, fill)
    {
    }

    std::int32_t width() const noexcept { return view_.width; }
    std::int32_t height() const noexcept { return view_.height; }
    // The cells of row i, which must exist.
    std::span<float> row(std::int32_t i) noexcept { return view_.row(i); }
    std::span<const float> row(std::int32_t i) const noexcept { return ConstPlaneView(view_).row(i); }
    PlaneView view() noexcept { return view_; }
    ConstPlaneView view() const noexcept { return view_; }

private:
    friend void fit_plane(FloatPlane& plane, std::int32_t width, std::int32_t height);

    ZeroedBuffer buffer_;
    PlaneView view_;
};

// Makes plane width x height cells unless it already is. A plane that fits is kept with its cells
// as they are; a new one's cells are unset. Throws std::bad_alloc as the constructor does, leaving
// the plane empty.
void fit_plane(FloatPlane& plane, std::int32_t width, std::int32_t height);

// The same to the size of a host buffer.
inline void fit_plane(FloatPlane& plane, const WorldView& model)
{
    fit_plane(plane, model.width, model.height);
}

}  // namespace kyrox
