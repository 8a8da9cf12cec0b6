#include "plugin/render/pixels/row_jobs.h"

#include "host_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

using kyrox::FloatPlane;
using kyrox::FrameTarget;
using kyrox::Pixel;
using kyrox::PixelDepth;
using kyrox::SceneRecord;
using kyrox::ThreadWorkData;
using kyrox::test::HostImage;

template <class Channel>
FrameTarget target_of(HostImage<Channel>& input, HostImage<Channel>& output)
{
    FrameTarget target;
    target.input_view = input.view();
    target.output_view = output.view();
    target.bytes_per_channel = sizeof(Channel);
    return target;
}

void fill(FloatPlane& plane, float value)
{
    for (std::int32_t i = 0; i < plane.height(); ++i) {
        for (float& cell : plane.row(i)) {
            cell = value;
        }
    }
}

template <class Channel>
class RowJobsOfDepth : public ::testing::Test {
};

using Depths = ::testing::Types<std::uint8_t, std::uint16_t, float>;
TYPED_TEST_SUITE(RowJobsOfDepth, Depths);

TYPED_TEST(RowJobsOfDepth, ClearWritesTransparentOrOpaqueBlackOverTheRangeOnly)
{
    using Channel = TypeParam;
    constexpr Channel full = PixelDepth<Channel>::full_scale;
    for (const auto& [mode, alpha] :
         {std::pair{kyrox::CompositeMode::transparent, Channel{0}}, std::pair{kyrox::CompositeMode::black, full},
          std::pair{kyrox::CompositeMode::add, full}}) {
        HostImage<Channel> input(3, 4);
        HostImage<Channel> output(3, 4, 8);
        const Pixel<Channel> untouched{Channel{7}, Channel{8}, Channel{9}, Channel{10}};
        output.fill(untouched);
        SceneRecord scene;
        scene.composite_mode = mode;
        EXPECT_TRUE(kyrox::clear_rows_job<Channel>(ThreadWorkData{1, 3, 0}, target_of(input, output), scene));
        for (std::int32_t r = 0; r < 4; ++r) {
            const Pixel<Channel> expected = r == 1 || r == 2 ? Pixel<Channel>{alpha, 0, 0, 0} : untouched;
            for (std::int32_t c = 0; c < 3; ++c) {
                const Pixel<Channel>& p = output.at(r, c);
                EXPECT_EQ(p.alpha, expected.alpha) << "mode " << int(mode) << " row " << r;
                EXPECT_EQ(p.red, expected.red);
                EXPECT_EQ(p.green, expected.green);
                EXPECT_EQ(p.blue, expected.blue);
            }
        }
        EXPECT_TRUE(output.padding_intact());
    }
}

TYPED_TEST(RowJobsOfDepth, CopyTakesTheInputRowsWhateverTheRowBytes)
{
    using Channel = TypeParam;
    HostImage<Channel> input(4, 3, 12);
    HostImage<Channel> output(4, 3, 4);
    for (std::int32_t r = 0; r < 3; ++r) {
        for (std::int32_t c = 0; c < 4; ++c) {
            input.at(r, c) = {Channel(r + 1), Channel(c + 1), Channel(r + c), Channel(5)};
        }
    }
    EXPECT_TRUE(kyrox::copy_rows_job(ThreadWorkData{0, 3, 0}, target_of(input, output)));
    for (std::int32_t r = 0; r < 3; ++r) {
        for (std::int32_t c = 0; c < 4; ++c) {
            EXPECT_EQ(std::memcmp(&output.at(r, c), &input.at(r, c), sizeof(Pixel<Channel>)), 0) << r << "," << c;
        }
    }
    EXPECT_TRUE(output.padding_intact());
}

TYPED_TEST(RowJobsOfDepth, CopyFromASmallerInputLeavesTheRestTransparent)
{
    using Channel = TypeParam;
    HostImage<Channel> input(2, 1);
    HostImage<Channel> output(3, 2);
    input.fill({Channel{1}, Channel{2}, Channel{3}, Channel{4}});
    output.fill({Channel{9}, Channel{9}, Channel{9}, Channel{9}});
    kyrox::copy_rows_job(ThreadWorkData{0, 2, 0}, target_of(input, output));
    EXPECT_EQ(output.at(0, 1).blue, Channel{4});
    for (const auto& [r, c] : {std::pair{0, 2}, std::pair{1, 0}, std::pair{1, 2}}) {
        SCOPED_TRACE(::testing::Message() << "row " << r << ", column " << c);
        EXPECT_EQ(output.at(r, c).alpha, Channel{0}) << r << "," << c;
        EXPECT_EQ(output.at(r, c).red, Channel{0});
    }
}

// Output 16 x 8 with an opaque input; a text layer of 4 x 3 at origin (10, 5) whose alpha is
// quarter scale at its pixel (0, 0) and full elsewhere.
template <class Channel>
struct TextScene {
    HostImage<Channel> input{16, 8};
    HostImage<Channel> output{16, 8};
    HostImage<Channel> text{4, 3};
    SceneRecord scene;

    TextScene()
    {
        constexpr Channel full = PixelDepth<Channel>::full_scale;
        input.fill({full, 0, 0, 0});
        text.fill({full, 0, 0, 0});
        text.at(0, 0).alpha = static_cast<Channel>(full / 4);
        scene.text_view = text.view();
        scene.text_view.origin_x = 10;
        scene.text_view.origin_y = 5;
    }
};

TYPED_TEST(RowJobsOfDepth, MatteFollowsTheTextLayerAtItsOrigin)
{
    using Channel = TypeParam;
    const float quarter = static_cast<float>(static_cast<Channel>(PixelDepth<Channel>::full_scale / 4)) *
                          PixelDepth<Channel>::channel_scale;
    for (const bool invert : {false, true}) {
        SCOPED_TRACE(invert ? "inverted" : "not inverted");
        TextScene<Channel> s;
        s.scene.invert_masks = invert;
        FloatPlane plane(s.output.view());
        fill(plane, 2.0f);
        EXPECT_TRUE(
            kyrox::apply_matte_job<Channel>(ThreadWorkData{0, 8, 0}, target_of(s.input, s.output), plane, s.scene));
        const auto factor = [&](float f) { return 2.0f * (invert ? 1.0f - f : f); };
        EXPECT_FLOAT_EQ(plane.row(4)[12], factor(0.0f));     // above the text layer
        EXPECT_FLOAT_EQ(plane.row(5)[10], factor(quarter));  // text pixel (0, 0)
        EXPECT_FLOAT_EQ(plane.row(7)[13], factor(1.0f));     // text pixel (2, 3)
        EXPECT_FLOAT_EQ(plane.row(7)[14], factor(0.0f));     // right of it
        EXPECT_FLOAT_EQ(plane.row(0)[0], factor(0.0f));
    }
}

TYPED_TEST(RowJobsOfDepth, InvertedMatteOfAnOpaqueInputClearsThePlanes)
{
    using Channel = TypeParam;
    TextScene<Channel> s;
    s.scene.text_view = kyrox::WorldView{};
    s.scene.invert_masks = true;
    FloatPlane halo(s.output.view());
    FloatPlane core(s.output.view());
    FloatPlane distorted(s.output.view());
    for (FloatPlane* plane : {&halo, &core, &distorted}) {
        fill(*plane, 0.75f);
    }
    kyrox::apply_matte3_job<Channel>(ThreadWorkData{0, 8, 0}, target_of(s.input, s.output), halo, core, distorted,
                                     s.scene);
    for (const FloatPlane* plane : {&halo, &core, &distorted}) {
        SCOPED_TRACE(plane == &halo ? "halo" : plane == &core ? "core" : "distorted");
        for (std::int32_t i = 0; i < 8; ++i) {
            for (float cell : plane->row(i)) {
                ASSERT_EQ(cell, 0.0f);
            }
        }
    }
}

TYPED_TEST(RowJobsOfDepth, MatteScalesByTheInputAlphaAndTreatsMissingInputAsTransparent)
{
    using Channel = TypeParam;
    constexpr Channel full = PixelDepth<Channel>::full_scale;
    HostImage<Channel> input(2, 2);
    HostImage<Channel> output(3, 3);
    input.fill({full, 0, 0, 0});
    input.at(1, 1).alpha = static_cast<Channel>(full / 2);
    const float half = static_cast<float>(static_cast<Channel>(full / 2)) * PixelDepth<Channel>::channel_scale;
    for (const bool invert : {false, true}) {
        SCOPED_TRACE(invert ? "inverted" : "not inverted");
        SceneRecord scene;
        scene.invert_masks = invert;
        FloatPlane plane(output.view());
        fill(plane, 1.0f);
        kyrox::apply_matte_job<Channel>(ThreadWorkData{0, 3, 0}, target_of(input, output), plane, scene);
        const auto factor = [&](float f) { return invert ? 1.0f - f : f; };
        EXPECT_FLOAT_EQ(plane.row(0)[0], factor(1.0f));
        EXPECT_FLOAT_EQ(plane.row(1)[1], factor(half));
        EXPECT_FLOAT_EQ(plane.row(1)[2], factor(0.0f));
        EXPECT_FLOAT_EQ(plane.row(2)[0], factor(0.0f));
    }
}

TYPED_TEST(RowJobsOfDepth, MatteStopsAtTheOutputEdgeForLargerPlanes)
{
    using Channel = TypeParam;
    // An opaque input larger than the output, inverted: factor 0 wherever the matte is applied.
    HostImage<Channel> input(20, 10);
    HostImage<Channel> output(16, 8);
    input.fill({PixelDepth<Channel>::full_scale, 0, 0, 0});
    SceneRecord scene;
    scene.invert_masks = true;
    kyrox::WorldView model;
    model.width = 20;
    model.height = 10;
    FloatPlane plane(model);
    fill(plane, 1.0f);
    kyrox::apply_matte_job<Channel>(ThreadWorkData{0, 10, 0}, target_of(input, output), plane, scene);
    // The cells beyond the output have no output pixel and keep their value.
    EXPECT_EQ(plane.row(7)[15], 0.0f);
    EXPECT_EQ(plane.row(7)[16], 1.0f);
    EXPECT_EQ(plane.row(8)[0], 1.0f);
}

struct HotCoreCase {
    float source;
    float blurred;
    float expected;
};

class HotCoreCut : public ::testing::TestWithParam<HotCoreCase> {};

TEST_P(HotCoreCut, HollowsWhereTheBlurExceedsNineTenthsAndClamps)
{
    const HotCoreCase& c = GetParam();
    kyrox::WorldView model;
    model.width = 6;
    model.height = 5;
    FloatPlane source(model);
    FloatPlane scratch(model);
    fill(source, c.source);
    fill(scratch, c.blurred);
    const kyrox::CoreRect rect{1, 2, 4, 4};
    EXPECT_TRUE(kyrox::cut_hot_core_job(ThreadWorkData{0, 2, 0}, rect, scratch, source));
    for (std::int32_t i = 0; i < 5; ++i) {
        for (std::int32_t j = 0; j < 6; ++j) {
            const bool in_rect = i >= 2 && i < 4 && j >= 1 && j < 4;
            EXPECT_NEAR(source.row(i)[static_cast<std::size_t>(j)], in_rect ? c.expected : c.source, 1e-6f)
                << i << "," << j;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Values, HotCoreCut,
                         ::testing::Values(HotCoreCase{0.8f, 0.95f, 0.3f}, HotCoreCase{0.8f, 1.0f, 0.0f},
                                           HotCoreCase{0.8f, 1.7f, 0.0f}, HotCoreCase{0.8f, 0.9f, 0.8f},
                                           HotCoreCase{0.8f, 0.2f, 0.8f}, HotCoreCase{1.6f, 0.9f, 1.0f},
                                           HotCoreCase{-0.3f, 0.0f, 0.0f}));

}  // namespace
