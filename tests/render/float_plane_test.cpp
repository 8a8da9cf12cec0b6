#include "plugin/render/float_plane.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <new>

namespace {

TEST(FloatPlane, IsZeroFilledAndDescribedLikeTheModel)
{
    kyrox::WorldView output;
    output.row_bytes = 123;
    output.bytes_per_channel = 2;
    output.origin_x = -7;
    output.origin_y = 9;
    output.width = 5;
    output.height = 3;
    const kyrox::FloatPlane plane(output);
    EXPECT_EQ(plane.view().row_bytes, 20);
    EXPECT_EQ(plane.view().bytes_per_channel, 4);
    EXPECT_EQ(plane.view().origin_x, -7);
    EXPECT_EQ(plane.view().origin_y, 9);
    EXPECT_EQ(plane.width(), 5);
    EXPECT_EQ(plane.height(), 3);
    EXPECT_EQ(plane.view().data, plane.row(0).data());
    for (std::int32_t i = 0; i < plane.height(); ++i) {
        ASSERT_EQ(plane.row(i).size(), 5u);
        for (float cell : plane.row(i)) {
            EXPECT_EQ(cell, 0.0f);
        }
    }
    // Rows are laid out one after another.
    EXPECT_EQ(
        reinterpret_cast<const std::byte*>(plane.row(2).data()) - static_cast<const std::byte*>(plane.view().data), 40);
}

TEST(FloatPlane, EmptyModelGivesAnEmptyPlane)
{
    const kyrox::FloatPlane plane(kyrox::WorldView{});
    EXPECT_EQ(plane.width(), 0);
    EXPECT_EQ(plane.height(), 0);
    EXPECT_EQ(plane.view().row_bytes, 0);
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
