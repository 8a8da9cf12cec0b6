#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "bitmap_canvas.h"
#include "qxsdk/ui/core/pictures.h"
#include "qxsdk/ui/draw/hresult_check.h"

namespace qxsdk::ui {
namespace {

using testing::bgra;
using testing::bitmap_canvas;
using testing::encode_png;
using testing::opaque_black;
using testing::opaque_red;

constexpr bgra opaque_blue{255, 0, 0, 255};
constexpr bgra half_blue{128, 0, 0, 128};  // premultiplied

// Left column red, right column half-transparent blue.
std::vector<std::uint8_t> two_colour_png()
{
    return encode_png(2, 2, {opaque_red, half_blue, opaque_red, half_blue});
}

bool lists(const renderer& r, const image& picture)
{
    const auto images = r.registered_images();
    return std::find(images.begin(), images.end(), &picture) != images.end();
}

void draw(bitmap_canvas& canvas, image& picture, point at)
{
    canvas.paint([&](renderer& r) {
        r.set_fill_color({0.0f, 0.0f, 0.0f, 1.0f});
        r.fill_rect({0, 0, 10, 10});
        r.draw_image(at, picture);
    });
}

TEST(ImageLoad, DecodesAToolkitPictureToItsSize)
{
    const auto picture = new_image();
    EXPECT_FALSE(picture->loaded());
    ASSERT_TRUE(load_image_from_memory(*picture, pictures::checkbox_strip));
    EXPECT_TRUE(picture->loaded());
    EXPECT_EQ(picture->width(), 14u);
    EXPECT_EQ(picture->height(), 28u);
}

TEST(ImageLoad, BytesThatAreNoPictureReturnFalseAndChangeNothing)
{
    const auto picture = new_image();
    const std::vector<std::uint8_t> text{'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'};
    EXPECT_FALSE(load_image_from_memory(*picture, text));
    EXPECT_FALSE(load_image_from_memory(*picture, {}));
    EXPECT_FALSE(picture->loaded());
    EXPECT_EQ(picture->width(), 0u);
}

TEST(ImageDraw, DrawsWholeAndInPartsWithPremultipliedAlpha)
{
    const auto picture = new_image();
    ASSERT_TRUE(load_image_from_memory(*picture, two_colour_png()));
    bitmap_canvas canvas(10, 10);
    canvas.paint([&](renderer& r) {
        r.set_fill_color({0.0f, 0.0f, 0.0f, 1.0f});
        r.fill_rect({0, 0, 10, 10});
        r.draw_image({3, 4}, *picture);
        r.draw_image_part({7, 7}, *picture, {1, 0, 1, 2});
    });
    canvas.save_snapshot();
    canvas.expect_pixels(
        {{3, 4, opaque_red}, {3, 5, opaque_red}, {5, 4, opaque_black}, {8, 7, opaque_black}, {7, 9, opaque_black}});
    // Half-transparent blue over black, premultiplied.
    for (const point at : {point{4, 4}, point{4, 5}, point{7, 7}, point{7, 8}}) {
        const bgra blended = canvas.pixel(static_cast<std::uint32_t>(at.x), static_cast<std::uint32_t>(at.y));
        EXPECT_NEAR(blended.blue, 128, 2) << at.x << ", " << at.y;
        EXPECT_EQ(blended.alpha, 255);
    }
}

// A picture is laid out in units of 1/96 inch, one unit per picture pixel, whatever the target's DPI:
// at 144 DPI an 8 x 24 strip covers 12 x 36 pixels. Positions and sizes are multiples of 4 units, so
// every edge lands on a whole pixel at each DPI of the table.
constexpr std::int32_t frame = 8;
constexpr bgra green{0, 255, 0, 255};

// Three 8 x 8 frames, top to bottom: red, green, blue.
std::vector<std::uint8_t> three_frame_strip()
{
    std::vector<bgra> pixels;
    for (const bgra colour : {opaque_red, green, opaque_blue}) {
        pixels.insert(pixels.end(), frame * frame, colour);
    }
    return encode_png(frame, 3 * frame, pixels);
}

class ImageAtDpi : public ::testing::TestWithParam<float> {
protected:
    static constexpr point at{4, 8};

    ImageAtDpi()
    {
        EXPECT_TRUE(load_image_from_memory(*strip, three_frame_strip()));
        require(canvas.painter().target()).SetDpi(GetParam(), GetParam());
    }

    std::int32_t pixels_of(std::int32_t units) const
    {
        return static_cast<std::int32_t>(static_cast<float>(units) * GetParam() / 96.0f);
    }

    // The pixels the drawing covered must be exactly the unit rectangle, scaled; the rest stays black.
    template <class Inside>
    void expect_covered(const rect& units, Inside inside) const
    {
        const rect covered{pixels_of(units.x), pixels_of(units.y), pixels_of(units.width), pixels_of(units.height)};
        int outside_touched = 0;
        int inside_wrong = 0;
        for (std::uint32_t y = 0; y < canvas_size; ++y) {
            const std::vector<bgra> row = canvas.row(y);
            for (std::uint32_t x = 0; x < canvas_size; ++x) {
                const auto px = static_cast<std::int32_t>(x);
                const auto py = static_cast<std::int32_t>(y);
                const bool in = px >= covered.x && px < covered.x + covered.width && py >= covered.y &&
                                py < covered.y + covered.height;
                if (!in) {
                    outside_touched += row[x] == opaque_black ? 0 : 1;
                } else if (!inside(px - covered.x, py - covered.y, row[x])) {
                    ++inside_wrong;
                }
            }
        }
        EXPECT_EQ(outside_touched, 0) << "pixels drawn outside " << covered.width << " x " << covered.height;
        EXPECT_EQ(inside_wrong, 0) << "wrong pixels inside " << covered.width << " x " << covered.height;
    }

    static constexpr std::uint32_t canvas_size = 80;
    std::unique_ptr<image> strip = new_image();
    bitmap_canvas canvas{canvas_size, canvas_size};
};

TEST_P(ImageAtDpi, AWholePictureCoversItsSizeInUnits)
{
    canvas.paint([&](renderer& r) {
        r.set_fill_color({0.0f, 0.0f, 0.0f, 1.0f});
        r.fill_rect({0, 0, 80, 80});
        r.draw_image(at, *strip);
    });
    canvas.save_snapshot();
    const std::int32_t frame_pixels = pixels_of(frame);
    expect_covered({at.x, at.y, frame, 3 * frame}, [&](std::int32_t x, std::int32_t y, bgra got) {
        // Each frame's own colour away from the rows where linear filtering meets its neighbour.
        const std::int32_t in_frame = y % frame_pixels;
        if (x < 2 || x >= frame_pixels - 2 || in_frame < 2 || in_frame >= frame_pixels - 2) {
            return got.alpha == 255;
        }
        const bgra expected[] = {opaque_red, green, opaque_blue};
        return got == expected[y / frame_pixels];
    });
}

TEST_P(ImageAtDpi, AFrameOfAStripShowsThatFrameWholeAndNothingOfItsNeighbours)
{
    canvas.paint([&](renderer& r) {
        r.set_fill_color({0.0f, 0.0f, 0.0f, 1.0f});
        r.fill_rect({0, 0, 80, 80});
        r.draw_image_part(at, *strip, {0, frame, frame, frame});
    });
    canvas.save_snapshot();
    expect_covered({at.x, at.y, frame, frame}, [](std::int32_t, std::int32_t, bgra got) { return got == green; });
}

// Only the part of a source rectangle that lies on the picture is drawn, where it would be, unscaled.
TEST(ImageDraw, APartOffThePictureIsLeftOut)
{
    const auto strip = new_image();
    ASSERT_TRUE(load_image_from_memory(*strip, three_frame_strip()));
    bitmap_canvas canvas(60, 60);
    canvas.paint([&](renderer& r) {
        r.set_fill_color({0.0f, 0.0f, 0.0f, 1.0f});
        r.fill_rect({0, 0, 60, 60});
        r.draw_image_part({10, 10}, *strip, {-2, frame - 2, frame, 4});  // 2 columns left of it, 2 red and 2 green rows
        r.draw_image_part({40, 40}, *strip, {frame, 0, 4, 4});           // wholly right of it: nothing
    });
    canvas.expect_pixels({{11, 10, opaque_black},
                          {12, 10, opaque_red},
                          {17, 11, opaque_red},
                          {12, 12, green},
                          {17, 13, green},
                          {18, 12, opaque_black},
                          {12, 14, opaque_black},
                          {40, 40, opaque_black}});
}

INSTANTIATE_TEST_SUITE_P(Dpi, ImageAtDpi, ::testing::Values(96.0f, 120.0f, 144.0f, 192.0f),
                         [](const ::testing::TestParamInfo<float>& dpi) {
                             return std::to_string(static_cast<int>(dpi.param));
                         });

TEST(ImageTargets, OneDeviceBitmapPerTargetRegisteredBothWays)
{
    const auto picture = new_image();
    ASSERT_TRUE(load_image_from_memory(*picture, two_colour_png()));
    bitmap_canvas first(10, 10);
    bitmap_canvas second(10, 10);
    draw(first, *picture, {0, 0});
    draw(first, *picture, {2, 2});
    draw(second, *picture, {1, 1});
    EXPECT_EQ(picture->target_bitmap_count(), 2u);
    EXPECT_TRUE(picture->has_target_bitmap(first.painter().target()));
    EXPECT_TRUE(picture->has_target_bitmap(second.painter().target()));
    EXPECT_EQ(picture->renderers().size(), 2u);
    EXPECT_EQ(first.painter().registered_images().size(), 1u);
    EXPECT_TRUE(lists(second.painter(), *picture));
    EXPECT_EQ(first.pixel(2, 2), opaque_red);
    EXPECT_EQ(second.pixel(1, 1), opaque_red);
}

TEST(ImageTargets, ARendererThatEndsFirstLeavesNoEntryBehind)
{
    const auto picture = new_image();
    ASSERT_TRUE(load_image_from_memory(*picture, two_colour_png()));
    bitmap_canvas staying(10, 10);
    draw(staying, *picture, {0, 0});
    {
        bitmap_canvas leaving(10, 10);
        draw(leaving, *picture, {0, 0});
        ASSERT_EQ(picture->target_bitmap_count(), 2u);
    }
    EXPECT_EQ(picture->target_bitmap_count(), 1u);
    ASSERT_EQ(picture->renderers().size(), 1u);
    EXPECT_EQ(picture->renderers()[0], &staying.painter());
    draw(staying, *picture, {5, 5});
    EXPECT_EQ(staying.pixel(5, 5), opaque_red);
}

TEST(ImageTargets, AnImageThatEndsFirstLeavesTheRenderersLists)
{
    bitmap_canvas first(10, 10);
    bitmap_canvas second(10, 10);
    const auto staying = new_image();
    ASSERT_TRUE(load_image_from_memory(*staying, two_colour_png()));
    {
        const auto leaving = new_image();
        ASSERT_TRUE(load_image_from_memory(*leaving, two_colour_png()));
        draw(first, *leaving, {0, 0});
        draw(second, *leaving, {0, 0});
        draw(first, *staying, {0, 0});
    }
    ASSERT_EQ(first.painter().registered_images().size(), 1u);
    EXPECT_EQ(first.painter().registered_images()[0], staying.get());
    EXPECT_TRUE(second.painter().registered_images().empty());
}

TEST(ImageTargets, ReleasedBitmapsAreMadeAfreshFromTheNextPicture)
{
    const auto picture = new_image();
    ASSERT_TRUE(load_image_from_memory(*picture, two_colour_png()));
    bitmap_canvas canvas(10, 10);
    draw(canvas, *picture, {0, 0});

    release_target_bitmaps(*picture);
    EXPECT_FALSE(picture->loaded());
    EXPECT_EQ(picture->target_bitmap_count(), 0u);
    EXPECT_TRUE(picture->renderers().empty());
    EXPECT_TRUE(canvas.painter().registered_images().empty());

    ASSERT_TRUE(load_image_from_memory(*picture, encode_png(1, 1, {opaque_blue})));
    draw(canvas, *picture, {0, 0});
    canvas.save_snapshot();
    canvas.expect_pixels({{0, 0, opaque_blue}, {1, 0, opaque_black}});
    EXPECT_TRUE(lists(canvas.painter(), *picture));
}

// The image joins the multithreaded apartment for its lifetime, but leaves a single-threaded one alone.
TEST(ImageApartment, UninitialisesOnlyWhatItInitialised)
{
    HRESULT recorded = S_OK;
    HRESULT after = S_OK;
    std::thread([&] {
        const HRESULT own = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        recorded = new_image()->com_init_result();
        // Still in the single-threaded apartment: a second initialisation only counts.
        after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(after)) {
            CoUninitialize();
        }
        if (SUCCEEDED(own)) {
            CoUninitialize();
        }
    }).join();
    EXPECT_EQ(recorded, RPC_E_CHANGED_MODE);
    EXPECT_EQ(after, S_FALSE);

    std::thread([&] {
        recorded = new_image()->com_init_result();
        // The image left the multithreaded apartment: the thread can choose any apartment now.
        after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(after)) {
            CoUninitialize();
        }
    }).join();
    EXPECT_EQ(recorded, S_OK);
    EXPECT_EQ(after, S_OK);
}

}  // namespace
}  // namespace qxsdk::ui
