#include "minihost/cli/image_files.h"

#include <png.h>

#include <OpenEXR/ImfRgbaFile.h>

#include "minihost/cli/staged_file.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace minihost {
namespace {

// libpng's errors become the message of the exception that write_png_rows throws.
[[noreturn]] void png_failure(png_structp png, png_const_charp message)
{
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

// rows: height rows of width x 4 samples of bit_depth bits, big-endian for 16 bits. Checks the
// stream's last flush too: a full disk shows there first.
void write_png_rows(const std::filesystem::path& path, int width, int height, int bit_depth,
                    const std::vector<png_bytep>& rows)
{
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error(std::strerror(errno));
    }
    std::string failure;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, png_failure, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        throw std::runtime_error("libpng: " + failure);
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bit_depth,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    const bool flushed = std::fflush(file) == 0;
    const int flush_error = errno;
    if (std::fclose(file) != 0 || !flushed) {
        throw std::runtime_error(std::strerror(flushed ? errno : flush_error));
    }
}

// Writes the file under a temporary name and moves it into place when complete; failures name the
// destination.
template <class Write>
void write_staged(const std::filesystem::path& destination, Write write)
{
    StagedFile staged(destination);
    try {
        write(staged.temporary());
    } catch (const std::exception& error) {
        throw std::runtime_error("cannot write " + destination.string() + ": " + error.what());
    }
    staged.commit();
}

// Channel order of the host (alpha first) to the order of the files (alpha last).
constexpr int file_order[4] = {1, 2, 3, 0};

void write_png16(const HostWorld& world, const std::filesystem::path& path)
{
    const int w = world.width();
    const int h = world.height();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 8);
    std::vector<png_bytep> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w) * 8;
        rows[static_cast<std::size_t>(y)] = row;
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 4; ++c) {
                const float v = std::clamp(world.channel(x, y, file_order[c]), 0.0f, 1.0f);
                const auto sample = static_cast<std::uint16_t>(std::lround(v * 65535.0f));
                row[x * 8 + c * 2] = static_cast<std::uint8_t>(sample >> 8);
                row[x * 8 + c * 2 + 1] = static_cast<std::uint8_t>(sample & 0xff);
            }
        }
    }
    write_png_rows(path, w, h, 16, rows);
}

void write_exr(const HostWorld& world, const std::filesystem::path& path)
{
    const int w = world.width();
    const int h = world.height();
    std::vector<Imf::Rgba> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            pixels[static_cast<std::size_t>(y * w + x)] = Imf::Rgba(world.channel(x, y, 1), world.channel(x, y, 2),
                                                                    world.channel(x, y, 3), world.channel(x, y, 0));
        }
    }
    {
        Imf::RgbaOutputFile file(path.string().c_str(), w, h, Imf::WRITE_RGBA);
        file.setFrameBuffer(pixels.data(), 1, static_cast<std::size_t>(w));
        file.writePixels(h);
    }
    // The file's closing writes its offset table and swallows any failure of that: read it back.
    if (!Imf::RgbaInputFile(path.string().c_str()).isComplete()) {
        throw std::runtime_error("the file is incomplete");
    }
}

void write_png8(const Rgba8Image& image, const std::filesystem::path& path)
{
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(image.pixels.data()) +
                                            static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) * 4;
    }
    write_png_rows(path, image.width, image.height, 8, rows);
}

}  // namespace

void write_png(const Rgba8Image& image, const std::filesystem::path& path)
{
    write_staged(path, [&](const std::filesystem::path& file) { write_png8(image, file); });
}

Rgba8Image rgba8_of(const HostWorld& world)
{
    Rgba8Image image{world.width(), world.height(), {}};
    image.pixels.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4);
    std::size_t i = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            for (const int c : file_order) {
                const float v = std::clamp(world.channel(x, y, c), 0.0f, 1.0f);
                image.pixels[i++] = static_cast<unsigned char>(std::lround(v * 255.0f));
            }
        }
    }
    return image;
}

std::filesystem::path write_image(const HostWorld& world, const std::filesystem::path& without_extension)
{
    std::filesystem::path path = without_extension;
    path += world.bytes_per_channel() == 4 ? ".exr" : ".png";
    write_staged(path, [&](const std::filesystem::path& file) {
        switch (world.bytes_per_channel()) {
        case 4:
            write_exr(world, file);
            break;
        case 2:
            write_png16(world, file);
            break;
        default:
            write_png8(rgba8_of(world), file);
            break;
        }
    });
    return path;
}

}  // namespace minihost
