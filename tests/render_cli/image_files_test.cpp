#include <gtest/gtest.h>
#include <png.h>
#include <stdlib.h>

#include <OpenEXR/ImfArray.h>
#include <OpenEXR/ImfRgbaFile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "minihost/cli/frame_pixels.h"
#include "minihost/cli/image_files.h"
#include "minihost/cli/sample_conversion.h"
#include "minihost/host_world.h"

// The files kyrox-render writes hold, sample for sample, what the host's buffer holds: the fast
// conversions give the bytes of the plain one for every value a buffer can hold, and the files decode to them.
namespace {

namespace fs = std::filesystem;
using minihost::HostWorld;

constexpr int file_order[4] = {1, 2, 3, 0};  // the files' red, green, blue, alpha in the host's order

// The conversion through the host's float view of a sample, one sample at a time: what the files must hold.
unsigned reference_sample(const HostWorld& world, int x, int y, int c, float file_full_scale)
{
    const float v = std::clamp(world.channel(x, y, c), 0.0f, 1.0f);
    return static_cast<unsigned>(std::lround(v * file_full_scale));
}

// Stores a raw sample, unclamped, as the plug-in may leave it in the buffer.
template <class Sample>
void put_sample(HostWorld& world, int x, int y, int c, Sample value)
{
    auto* row = static_cast<std::byte*>(world.world().data) + static_cast<std::size_t>(y) * world.world().rowbytes;
    std::memcpy(row + (static_cast<std::size_t>(x) * 4 + static_cast<std::size_t>(c)) * sizeof(Sample), &value,
                sizeof value);
}

// Row y puts sample value 4x + k at channel (k + y) % 4 of pixel x, so that over four rows every value
// stands in every channel.
template <class Sample>
HostWorld every_value_world()
{
    constexpr int values = 1 << (8 * sizeof(Sample));
    HostWorld world(values / 4, 4, static_cast<int>(sizeof(Sample)));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < values / 4; ++x) {
            for (int k = 0; k < 4; ++k) {
                put_sample(world, x, y, (k + y) % 4, static_cast<Sample>(4 * x + k));
            }
        }
    }
    return world;
}

TEST(SampleConversion, EveryEightBitValueIsTheFloatConversionsByte)
{
    const HostWorld world = every_value_world<std::uint8_t>();
    minihost::FramePixels frame;
    minihost::copy_pixels(world, frame);
    std::vector<std::uint8_t> file_row(frame.row_bytes());
    for (int y = 0; y < frame.height; ++y) {
        minihost::png8_row(frame.row(y), file_row);
        for (int x = 0; x < frame.width; ++x) {
            for (int c = 0; c < 4; ++c) {
                ASSERT_EQ(file_row[static_cast<std::size_t>(x * 4 + c)],
                          reference_sample(world, x, y, file_order[c], 255))
                    << "pixel " << x << ", row " << y << ", file channel " << c;
            }
        }
    }
}

// All 65536 values: 0 to the host's full scale of 32768 and the values above it a buffer can hold.
TEST(SampleConversion, EverySixteenBitValueIsTheFloatConversionsBigEndianSample)
{
    const HostWorld world = every_value_world<std::uint16_t>();
    minihost::FramePixels frame;
    minihost::copy_pixels(world, frame);
    std::vector<std::uint8_t> file_row(frame.row_bytes());
    for (int y = 0; y < frame.height; ++y) {
        minihost::png16_row(frame.row(y), file_row);
        for (int x = 0; x < frame.width; ++x) {
            for (int c = 0; c < 4; ++c) {
                const std::size_t at = static_cast<std::size_t>(x * 8 + c * 2);
                const unsigned sample = file_row[at] << 8 | file_row[at + 1];
                ASSERT_EQ(sample, reference_sample(world, x, y, file_order[c], 65535))
                    << "pixel " << x << ", row " << y << ", file channel " << c;
            }
        }
    }
}

// A decoded PNG's samples, as stored: 16-bit samples as big-endian byte pairs.
struct DecodedPng {
    int width = 0;
    int height = 0;
    int bit_depth = 0;
    int color_type = -1;
    std::vector<std::vector<std::uint8_t>> rows;
};

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

// libpng leaves this function by longjmp on an error, so it holds no C++ objects.
bool decode_png(png_structp png, png_infop info, std::FILE* file)
{
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_init_io(png, file);
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

DecodedPng read_png(const fs::path& path)
{
    DecodedPng decoded;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.string().c_str(), "rb"));
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (file != nullptr && decode_png(png, info, file.get())) {
        decoded.width = static_cast<int>(png_get_image_width(png, info));
        decoded.height = static_cast<int>(png_get_image_height(png, info));
        decoded.bit_depth = png_get_bit_depth(png, info);
        decoded.color_type = png_get_color_type(png, info);
        const png_bytepp rows = png_get_rows(png, info);
        const std::size_t row_bytes = png_get_rowbytes(png, info);
        for (int y = 0; y < decoded.height; ++y) {
            decoded.rows.emplace_back(rows[y], rows[y] + row_bytes);
        }
    } else {
        ADD_FAILURE() << "cannot read " << path;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return decoded;
}

// A small frame whose rows are padded, with samples across the whole range a buffer can hold: for
// integer depths above full scale too, for float frames below 0 and above 1.
HostWorld patterned_world(int bytes_per_channel)
{
    HostWorld world(37, 11, bytes_per_channel, 24);
    for (int y = 0; y < world.height(); ++y) {
        for (int x = 0; x < world.width(); ++x) {
            for (int c = 0; c < 4; ++c) {
                const auto seed = static_cast<std::uint32_t>((y * 37 + x) * 4 + c) * 2654435761u;
                switch (bytes_per_channel) {
                case 1:
                    put_sample(world, x, y, c, static_cast<std::uint8_t>(seed >> 24));
                    break;
                case 2:
                    put_sample(world, x, y, c, static_cast<std::uint16_t>(seed >> 16));
                    break;
                default:
                    put_sample(world, x, y, c, static_cast<float>(seed >> 20) / 1024.0f - 0.5f);
                    break;
                }
            }
        }
    }
    return world;
}

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "kyrox-image-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
};

TEST_F(ImageFiles, PngFramesDecodeToTheConvertedSamples)
{
    const struct {
        int bytes_per_channel;
        float file_full_scale;
    } cases[] = {{1, 255}, {2, 65535}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes_per_channel);
        const HostWorld world = patterned_world(c.bytes_per_channel);
        minihost::FramePixels frame;
        minihost::copy_pixels(world, frame);
        const fs::path file = minihost::write_image(frame, folder / "frame");
        EXPECT_EQ(file, folder / "frame.png");

        const DecodedPng png = read_png(file);
        ASSERT_EQ(png.width, world.width());
        ASSERT_EQ(png.height, world.height());
        EXPECT_EQ(png.color_type, PNG_COLOR_TYPE_RGB_ALPHA);
        ASSERT_EQ(png.bit_depth, 8 * c.bytes_per_channel);
        const int bytes = c.bytes_per_channel;
        for (int y = 0; y < png.height; ++y) {
            for (int x = 0; x < png.width; ++x) {
                for (int k = 0; k < 4; ++k) {
                    const std::uint8_t* at = png.rows[static_cast<std::size_t>(y)].data() + (x * 4 + k) * bytes;
                    const unsigned sample = bytes == 1 ? at[0] : at[0] << 8 | at[1];
                    ASSERT_EQ(sample, reference_sample(world, x, y, file_order[k], c.file_full_scale))
                        << "pixel " << x << ", row " << y << ", file channel " << k;
                }
            }
        }
    }
}

TEST_F(ImageFiles, FloatFramesDecodeToTheirHalfValues)
{
    const HostWorld world = patterned_world(4);
    minihost::FramePixels frame;
    minihost::copy_pixels(world, frame);
    const fs::path file = minihost::write_image(frame, folder / "frame");
    ASSERT_EQ(file, folder / "frame.exr");

    Imf::RgbaInputFile exr(file.string().c_str());
    const Imath::Box2i window = exr.dataWindow();
    const int width = window.max.x - window.min.x + 1;
    const int height = window.max.y - window.min.y + 1;
    ASSERT_EQ(width, world.width());
    ASSERT_EQ(height, world.height());
    Imf::Array2D<Imf::Rgba> pixels(height, width);
    exr.setFrameBuffer(&pixels[0][0], 1, static_cast<std::size_t>(width));
    exr.readPixels(window.min.y, window.max.y);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Imf::Rgba& p = pixels[y][x];
            const half decoded[4] = {p.r, p.g, p.b, p.a};
            for (int k = 0; k < 4; ++k) {
                ASSERT_EQ(decoded[k].bits(), half(world.channel(x, y, file_order[k])).bits())
                    << "pixel " << x << ", row " << y << ", file channel " << k;
            }
        }
    }
}

// The contact sheet's pictures, already 8-bit RGBA, are written as they are.
TEST_F(ImageFiles, Rgba8PicturesDecodeToTheirBytes)
{
    const minihost::Rgba8Image image = minihost::rgba8_of(patterned_world(1));
    minihost::write_png(image, folder / "sheet.png");
    const DecodedPng png = read_png(folder / "sheet.png");
    ASSERT_EQ(png.height, image.height);
    std::vector<std::uint8_t> decoded;
    for (const auto& row : png.rows) {
        decoded.insert(decoded.end(), row.begin(), row.end());
    }
    EXPECT_EQ(decoded, image.pixels);
}

}  // namespace
