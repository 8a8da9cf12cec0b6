#include "bitmap_canvas.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "qxsdk/filesystem/text_conversion.h"

namespace qxsdk::ui::testing {

namespace {

using Microsoft::WRL::ComPtr;

void expect_ok(HRESULT result, const char* what)
{
    if (FAILED(result)) {
        throw std::runtime_error(std::string("test fixture: ") + what);
    }
}

void write_png(IWICBitmapSource& source, IStream& stream)
{
    ComPtr<IWICBitmapEncoder> encoder;
    expect_ok(imaging().CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder), "png encoder");
    expect_ok(encoder->Initialize(&stream, WICBitmapEncoderNoCache), "encoder stream");
    ComPtr<IWICBitmapFrameEncode> frame;
    expect_ok(encoder->CreateNewFrame(&frame, nullptr), "encoder frame");
    expect_ok(frame->Initialize(nullptr), "frame init");
    UINT width = 0;
    UINT height = 0;
    source.GetSize(&width, &height);
    expect_ok(frame->SetSize(width, height), "frame size");
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    expect_ok(frame->SetPixelFormat(&format), "frame format");
    expect_ok(frame->WriteSource(&source, nullptr), "frame pixels");
    expect_ok(frame->Commit(), "frame commit");
    expect_ok(encoder->Commit(), "encoder commit");
}

}  // namespace

IWICImagingFactory& imaging()
{
    static const com_apartment apartment;
    static const ComPtr<IWICImagingFactory> factory = [] {
        ComPtr<IWICImagingFactory> made;
        expect_ok(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&made)),
                  "imaging factory");
        return made;
    }();
    return *factory.Get();
}

std::vector<std::uint8_t> encode_png(std::uint32_t width, std::uint32_t height, const std::vector<bgra>& pixels)
{
    ComPtr<IWICBitmap> bitmap;
    expect_ok(imaging().CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppPBGRA, width * 4,
                                               static_cast<UINT>(pixels.size() * sizeof(bgra)),
                                               reinterpret_cast<BYTE*>(const_cast<bgra*>(pixels.data())), &bitmap),
              "bitmap from memory");
    ComPtr<IStream> stream;
    expect_ok(CreateStreamOnHGlobal(nullptr, TRUE, &stream), "memory stream");
    write_png(*bitmap.Get(), *stream.Get());

    STATSTG stat{};
    expect_ok(stream->Stat(&stat, STATFLAG_NONAME), "stream size");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stat.cbSize.QuadPart));
    expect_ok(stream->Seek({}, STREAM_SEEK_SET, nullptr), "stream rewind");
    ULONG read = 0;
    expect_ok(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read), "stream read");
    bytes.resize(read);
    return bytes;
}

bitmap_canvas::bitmap_canvas(std::uint32_t width, std::uint32_t height) : width_(width), height_(height)
{
    expect_ok(imaging().CreateBitmap(width, height, GUID_WICPixelFormat32bppPBGRA, WICBitmapCacheOnLoad, &bitmap_),
              "canvas bitmap");
    renderer_ = std::make_unique<renderer>(*bitmap_.Get());
}

bgra bitmap_canvas::pixel(std::uint32_t x, std::uint32_t y) const
{
    return row(y).at(x);
}

std::vector<bgra> bitmap_canvas::row(std::uint32_t y) const
{
    const WICRect area{0, static_cast<INT>(y), static_cast<INT>(width_), 1};
    std::vector<bgra> pixels(width_);
    expect_ok(bitmap_->CopyPixels(&area, width_ * 4, width_ * 4, reinterpret_cast<BYTE*>(pixels.data())),
              "canvas pixels");
    return pixels;
}

void bitmap_canvas::expect_pixels(std::initializer_list<expected_pixel> expected) const
{
    for (const expected_pixel& e : expected) {
        const bgra got = pixel(e.x, e.y);
        EXPECT_EQ(got, e.value) << "pixel (" << e.x << ", " << e.y << ") is BGRA " << int{got.blue} << " "
                                << int{got.green} << " " << int{got.red} << " " << int{got.alpha};
    }
}

void bitmap_canvas::save_snapshot(std::string_view suffix) const
{
    const char* folder = std::getenv("QXSDK_TEST_SNAPSHOTS");
    if (folder == nullptr || *folder == '\0') {
        return;
    }
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    if (!suffix.empty()) {
        name.append(".").append(suffix);
    }
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    CreateDirectoryW(utf8_to_wide(folder).c_str(), nullptr);
    ComPtr<IWICStream> stream;
    expect_ok(imaging().CreateStream(&stream), "snapshot stream");
    expect_ok(
        stream->InitializeFromFilename(utf8_to_wide(std::string(folder) + "/" + name + ".png").c_str(), GENERIC_WRITE),
        "snapshot file");
    write_png(*bitmap_.Get(), *stream.Get());
}

}  // namespace qxsdk::ui::testing
