#include "plugin/render/float_plane.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <new>

namespace {

TEST(FloatPlane, IsZeroFilledAndSizedLikeTheModel)
{
    kyrox::WorldView output;
    output.row_bytes = 123;
    output.bytes_per_channel = 2;
    output.origin_x = -7;
    output.origin_y = 9;
    output.width = 5;
    output.height = 3;
    const kyrox::FloatPlane plane(output);
    const kyrox::ConstPlaneView view = plane.view();
    EXPECT_EQ(view.width, 5);
    EXPECT_EQ(view.height, 3);
    EXPECT_EQ(view.stride, 5);
    EXPECT_EQ(plane.width(), 5);
    EXPECT_EQ(plane.height(), 3);
    EXPECT_EQ(view.data, plane.row(0).data());
    for (std::int32_t i = 0; i < plane.height(); ++i) {
        ASSERT_EQ(plane.row(i).size(), 5u);
        EXPECT_EQ(view.row(i).data(), plane.row(i).data());
        for (float cell : plane.row(i)) {
            EXPECT_EQ(cell, 0.0f);
        }
    }
    // Rows are laid out one after another.
    EXPECT_EQ(plane.row(2).data() - view.data, 10);
}

TEST(FloatPlane, EmptyModelGivesAnEmptyPlane)
{
    const kyrox::FloatPlane plane(kyrox::WorldView{});
    EXPECT_EQ(plane.width(), 0);
    EXPECT_EQ(plane.height(), 0);
    EXPECT_EQ(plane.view().stride, 0);
}

// A plane of the size asked for keeps its cells; any other size gets new ones.
TEST(FitPlane, KeepsAPlaneOfTheSizeAndRemakesAnyOther)
{
    kyrox::FloatPlane plane(4, 3, kyrox::PlaneFill::zeroed);
    plane.row(2)[3] = 7.0f;
    const float* const cells = plane.view().data;
    kyrox::fit_plane(plane, 4, 3);
    EXPECT_EQ(plane.view().data, cells);
    EXPECT_EQ(plane.row(2)[3], 7.0f);
    kyrox::fit_plane(plane, 3, 4);
    EXPECT_EQ(plane.width(), 3);
    EXPECT_EQ(plane.height(), 4);
    EXPECT_EQ(plane.view().stride, 3);
}

// A view of a padded plane: rows stride cells apart, each width cells long, the same through a view
// of constant cells.
TEST(PlaneView, RowsFollowTheStride)
{
    std::array<float, 14> cells{};
    const kyrox::PlaneView view{cells.data(), 3, 2, 7};
    view.row(1)[2] = 5.0f;
    EXPECT_EQ(cells[9], 5.0f);
    const kyrox::ConstPlaneView constant = view;
    EXPECT_EQ(constant.row(1).data(), cells.data() + 7);
    EXPECT_EQ(constant.row(1).size(), 3u);
    EXPECT_EQ(constant.row(1)[2], 5.0f);
}

struct Size {
    std::int32_t width;
    std::int32_t height;
};

class FloatPlaneSize : public ::testing::TestWithParam<Size> {};

// Sizes whose row bytes do not fit the view, or that make no sense, fail before anything is allocated.
TEST_P(FloatPlaneSize, FailsAsOutOfMemory)
{
    kyrox::WorldView model;
    model.width = GetParam().width;
    model.height = GetParam().height;
    EXPECT_THROW(kyrox::FloatPlane{model}, std::bad_alloc);
}

INSTANTIATE_TEST_SUITE_P(Unrepresentable, FloatPlaneSize,
                         ::testing::Values(Size{1 << 29, 1}, Size{std::numeric_limits<std::int32_t>::max(), 1},
                                           Size{-1, 4}, Size{4, -1}));

TEST(AllocZeroedBuffer, CountsBeyondTheAddressSpaceFailWithoutTouchingTheOwner)
{
    kyrox::ZeroedBuffer owner;
    kyrox::alloc_zeroed_buffer(owner, 8);
    std::byte* const before = owner.get();
    EXPECT_THROW(kyrox::alloc_zeroed_buffer(owner, std::uint64_t{1} << 63), std::bad_alloc);
    EXPECT_THROW(kyrox::alloc_zeroed_buffer(owner, std::numeric_limits<std::uint64_t>::max()), std::bad_alloc);
    EXPECT_EQ(owner.get(), before);
}

TEST(AllocZeroedBuffer, FillsWithZero)
{
    kyrox::ZeroedBuffer owner;
    kyrox::alloc_zeroed_buffer(owner, 4096);
    for (std::size_t i = 0; i < 4096; ++i) {
        ASSERT_EQ(owner[i], std::byte{0}) << i;
    }
}

}  // namespace
