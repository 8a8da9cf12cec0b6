#include "minihost/cli/image_files.h"

#include <png.h>
#include <sys/types.h>
#include <zlib.h>

#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfIO.h>
#include <OpenEXR/ImfRgbaFile.h>
#include <OpenEXR/ImfThreading.h>

#include "minihost/cli/sample_conversion.h"
#include "minihost/cli/staged_file.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace minihost {
namespace {

// libpng's errors become the message of the exception that write_png_rows throws.
[[noreturn]] void png_failure(png_structp png, png_const_charp message)
{
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

// libpng's write structures, freed however the writing ends.
class PngWriter {
public:
    explicit PngWriter(std::string& failure)
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, png_failure, nullptr)),
          info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr)
    {
    }
    ~PngWriter() { png_destroy_write_struct(&png_, &info_); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    png_structp png() const noexcept { return png_; }
    png_infop info() const noexcept { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

// A C file opened for writing and closed however the writing ends. close() reports the failure of
// the last flush too: a full disk shows there first.
class OutputCFile {
public:
    explicit OutputCFile(const std::filesystem::path& path) : file_(std::fopen(path.string().c_str(), "wb"))
    {
        if (file_ == nullptr) {
            throw std::runtime_error(std::strerror(errno));
        }
    }

    std::FILE* get() const noexcept { return file_.get(); }

    // Throws std::runtime_error with earlier_error, when not 0, or else the flush's or closing's failure.
    void close(int earlier_error = 0)
    {
        const bool flushed = std::fflush(file_.get()) == 0;
        const int flush_error = errno;
        const bool closed = std::fclose(file_.release()) == 0;
        const int close_error = errno;
        const int error = earlier_error != 0 ? earlier_error : !flushed ? flush_error : closed ? 0 : close_error;
        if (error != 0) {
            throw std::runtime_error(std::strerror(error));
        }
    }

private:
    struct Closer {
        void operator()(std::FILE* file) const noexcept { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
};

// OpenEXR's output to a C file, which never throws: the first failed write is kept for close() to
// report. OpenEXR's closing swallows the failure of writing its offset table, and its clean-up after a
// throwing write races with its own threads (ThreadSanitizer shows it).
class ExrFileStream final : public Imf::OStream {
public:
    explicit ExrFileStream(const std::filesystem::path& path) : Imf::OStream(path.string().c_str()), file_(path) {}

    void write(const char c[], int n) override
    {
        const auto size = static_cast<std::size_t>(n);
        if (error_ == 0 && std::fwrite(c, 1, size, file_.get()) != size) {
            error_ = errno != 0 ? errno : EIO;
        }
        position_ += size;
    }
    std::uint64_t tellp() override { return position_; }
    void seekp(std::uint64_t position) override
    {
        if (error_ == 0 && ::fseeko(file_.get(), static_cast<off_t>(position), SEEK_SET) != 0) {
            error_ = errno;
        }
        position_ = position;
    }

    void close() { file_.close(error_); }

private:
    OutputCFile file_;
    int error_ = 0;
    std::uint64_t position_ = 0;
};

// Fills `row` with row y's samples.
using FillRow = std::function<void(int y, std::span<std::uint8_t> row)>;

// libpng's part of the writing, in a function that holds no C++ objects of its own, since libpng leaves
// it by longjmp on an error. Returns false then, and when `stop` is requested before a row.
bool encode_png(png_structp png, png_infop info, std::FILE* file, int bit_depth, const FillRow& fill_row,
                std::span<std::uint8_t> row, int width, int height, const StopRequest& stop)
{
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bit_depth,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Trying all five filters on every row and deflate's string matching took most of a frame's
    // writing: the difference to the left pixel, run-length coded, writes several times faster for
    // files about a tenth larger.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        if (stop.requested()) {
            return false;
        }
        fill_row(y, row);
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    return true;
}

// Rows of width x 4 samples of bit_depth bits, big-endian for 16 bits.
void write_png_rows(const std::filesystem::path& path, int width, int height, int bit_depth, const FillRow& fill_row,
                    const StopRequest& stop)
{
    OutputCFile file(path);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4 * static_cast<std::size_t>(bit_depth / 8));
    std::string failure;
    const PngWriter writer(failure);
    if (writer.info() == nullptr ||
        !encode_png(writer.png(), writer.info(), file.get(), bit_depth, fill_row, row, width, height, stop)) {
        stop.throw_if_requested();
        throw std::runtime_error("libpng: " + failure);
    }
    file.close();
}

// Writes the file under a temporary name and moves it into place when complete; failures name the
// destination. A stop requested before the writing begins leaves even the temporary file unmade.
template <class Write>
void write_staged(const std::filesystem::path& destination, const StopRequest& stop, Write write)
{
    stop.throw_if_requested();
    StagedFile staged(destination);
    try {
        write(staged.temporary());
    } catch (const Stopped&) {
        throw;
    } catch (const std::exception& error) {
        throw std::runtime_error("cannot write " + destination.string() + ": " + error.what());
    }
    staged.commit();
}

// OpenEXR compresses a file's blocks of lines on its global thread pool, which has no threads until
// given some.
void start_exr_threads()
{
    static std::once_flag started;
    std::call_once(started, [] {
        Imf::setGlobalThreadCount(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    });
}

// Pixels handed to OpenEXR at a time, with a look at the stop request in between. Each call ends
// waiting for its last blocks of lines, so calls must be few: this many (about an eighth of a second's
// writing, half a 4K frame) cost no measurable time.
constexpr int exr_pixels_per_check = 1 << 22;
// PIZ compresses blocks of this many lines.
constexpr int exr_block_lines = 32;

void write_exr(const FramePixels& frame, const std::filesystem::path& path, const StopRequest& stop)
{
    const int w = frame.width;
    const int h = frame.height;
    std::vector<Imf::Rgba> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const std::span<const std::byte> row = frame.row(y);
        for (int x = 0; x < w; ++x) {
            float argb[4];
            std::memcpy(argb, row.data() + static_cast<std::size_t>(x) * sizeof argb, sizeof argb);
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] =
                Imf::Rgba(argb[1], argb[2], argb[3], argb[0]);
        }
    }
    start_exr_threads();
    ExrFileStream stream(path);
    {
        Imf::Header header(w, h);
        header.compression() = Imf::PIZ_COMPRESSION;
        Imf::RgbaOutputFile file(stream, header, Imf::WRITE_RGBA);
        file.setFrameBuffer(pixels.data(), 1, static_cast<std::size_t>(w));
        // Each call compresses and writes its blocks in order, so the file's bytes are those of a single
        // call.
        const int lines_per_check = std::max(exr_pixels_per_check / w / exr_block_lines, 1) * exr_block_lines;
        for (int y = 0; y < h; y += lines_per_check) {
            stop.throw_if_requested();
            file.writePixels(std::min(lines_per_check, h - y));
        }
    }
    stream.close();
}

void write_png8(const Rgba8Image& image, const std::filesystem::path& path, const StopRequest& stop)
{
    const std::size_t row_bytes = static_cast<std::size_t>(image.width) * 4;
    write_png_rows(
        path, image.width, image.height, 8,
        [&](int y, std::span<std::uint8_t> row) {
            const auto first =
                image.pixels.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y) * row_bytes);
            std::copy(first, first + static_cast<std::ptrdiff_t>(row_bytes), row.begin());
        },
        stop);
}

// The host's 8-bit or 16-bit frame, converted a row at a time as libpng takes it.
void write_host_png(const FramePixels& frame, const std::filesystem::path& path, const StopRequest& stop)
{
    const bool sixteen = frame.bytes_per_channel == 2;
    write_png_rows(
        path, frame.width, frame.height, sixteen ? 16 : 8,
        [&](int y, std::span<std::uint8_t> row) { (sixteen ? png16_row : png8_row)(frame.row(y), row); }, stop);
}

// Channel order of the host (alpha first) to the order of the files (alpha last).
constexpr int file_order[4] = {1, 2, 3, 0};

}  // namespace

void write_png(const Rgba8Image& image, const std::filesystem::path& path, const StopRequest& stop)
{
    write_staged(path, stop, [&](const std::filesystem::path& file) { write_png8(image, file, stop); });
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

std::filesystem::path write_image(const FramePixels& frame, const std::filesystem::path& without_extension,
                                  const StopRequest& stop)
{
    std::filesystem::path path = without_extension;
    path += frame.bytes_per_channel == 4 ? ".exr" : ".png";
    write_staged(path, stop, [&](const std::filesystem::path& file) {
        if (frame.bytes_per_channel == 4) {
            write_exr(frame, file, stop);
        } else {
            write_host_png(frame, file, stop);
        }
    });
    return path;
}

}  // namespace minihost
