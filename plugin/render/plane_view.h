#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace kyrox {

// The cells of a plane as the stages take them: width x height cells of type Cell, each row stride
// cells after the one above. The view does not own the cells. A view of changeable cells passes for
// a view of constant ones, so a stage that only reads says so in its parameter's type.
template <class Cell>
struct CellView {
    Cell* data = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::ptrdiff_t stride = 0;

    // The cells of row i, which must exist.
    std::span<Cell> row(std::int32_t i) const noexcept
    {
        return {data + static_cast<std::ptrdiff_t>(i) * stride, static_cast<std::size_t>(width)};
    }

    operator CellView<const Cell>() const noexcept requires(!std::is_const_v<Cell>)
    {
        return {data, width, height, stride};
    }
};

// One float per cell: the planes the stages blur, distort and composite.
using PlaneView = CellView<float>;
using ConstPlaneView = CellView<const float>;

}  // namespace kyrox
