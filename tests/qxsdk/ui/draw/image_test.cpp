#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "bitmap_canvas.h"
#include "qxsdk/ui/core/pictures.h"

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
    canvas.expect_pixels({{3, 4, opaque_red},
                          {3, 5, opaque_red},
                          {5, 4, opaque_black},
                          {8, 7, opaque_black},
                          {7, 9, opaque_black}});
    // Half-transparent blue over black, premultiplied.
    for (const point at : {point{4, 4}, point{4, 5}, point{7, 7}, point{7, 8}}) {
        const bgra blended = canvas.pixel(static_cast<std::uint32_t>(at.x), static_cast<std::uint32_t>(at.y));
        EXPECT_NEAR(blended.blue, 128, 2) << at.x << ", " << at.y;
        EXPECT_EQ(blended.alpha, 255);
    }
}

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
