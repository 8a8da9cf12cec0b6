#include "qxsdk/ui/draw/image.h"

#include <algorithm>
#include <limits>

#include "qxsdk/ui/draw/hresult_check.h"
#include "qxsdk/ui/draw/renderer.h"

namespace qxsdk::ui {

com_apartment::com_apartment() noexcept : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}

com_apartment::~com_apartment()
{
    // S_OK and S_FALSE both count one initialisation to undo; RPC_E_CHANGED_MODE counted none.
    if (SUCCEEDED(result_)) {
        CoUninitialize();
    }
}

image::image()
{
    check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory_)),
          "CoCreateInstance", "unable to create the imaging factory");
}

image::~image()
{
    leave_renderers();
}

void image::leave_renderers() noexcept
{
    for (renderer* painter : renderers_) {
        painter->unregister_image(*this);
    }
    renderers_.clear();
}

bool load_image_from_memory(image& picture, std::span<const std::uint8_t> data)
{
    IWICImagingFactory& factory = require(picture.factory_.Get());
    // The stream takes a 32-bit count: a larger range is no picture rather than a cut-off one.
    if (data.size() > std::numeric_limits<DWORD>::max()) {
        return false;
    }
    image::com_ptr<IWICStream> stream;
    image::com_ptr<IWICBitmapDecoder> decoder;
    if (FAILED(factory.CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size()))) ||
        FAILED(factory.CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad, &decoder))) {
        return false;
    }

    image::com_ptr<IWICBitmapFrameDecode> frame;
    decoder->GetFrame(0, &frame);

    image::com_ptr<IWICFormatConverter> converter;
    check(factory.CreateFormatConverter(&converter), "IWICImagingFactory::CreateFormatConverter",
          "unable to create the bitmap format converter");

    constexpr const char* conversion_failed = "unable to create a bitmap from the format converter";
    // A decoder without a frame 0 leaves nothing to convert.
    check(frame ? converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                        0.0, WICBitmapPaletteTypeMedianCut)
                : E_POINTER,
          "IWICFormatConverter::Initialize", conversion_failed);
    image::com_ptr<IWICBitmap> decoded;
    check(factory.CreateBitmapFromSource(converter.Get(), WICBitmapCacheOnLoad, &decoded),
          "IWICImagingFactory::CreateBitmapFromSource", conversion_failed);

    UINT width = 0;
    UINT height = 0;
    converter->GetSize(&width, &height);
    picture.decoded_ = std::move(decoded);
    picture.width_ = width;
    picture.height_ = height;
    picture.loaded_ = true;
    return true;
}

namespace {

// Picture pixels are toolkit units, whatever the target's DPI. Stated, not left to a default that the
// platforms answer differently (Wine gives a bitmap from the imaging component the target's DPI).
const D2D1_BITMAP_PROPERTIES unit_pixels =
    D2D1::BitmapProperties(D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);

rect clipped_to(const rect& part, std::uint32_t width, std::uint32_t height)
{
    const auto clamp = [](std::int64_t value, std::uint32_t limit) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, limit));
    };
    const std::int32_t left = clamp(part.x, width);
    const std::int32_t top = clamp(part.y, height);
    const std::int32_t right = clamp(std::int64_t{part.x} + part.width, width);
    const std::int32_t bottom = clamp(std::int64_t{part.y} + part.height, height);
    return {left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}

}  // namespace

image::target_bitmaps& image::bitmaps_for(renderer& painter)
{
    ID2D1RenderTarget& target = require(painter.target());
    if (const auto found = target_bitmaps_.find(&target); found != target_bitmaps_.end()) {
        return found->second;
    }

    com_ptr<ID2D1Bitmap> device_bitmap;
    check(target.CreateBitmapFromWicBitmap(&require(decoded_.Get()), &unit_pixels, &device_bitmap),
          "ID2D1RenderTarget::CreateBitmapFromWicBitmap", "unable to create a bitmap from a WIC bitmap");
    // The shared bitmap takes the properties of the one it shares, 96 DPI included. (Wine makes a shared
    // bitmap that was given properties one that cannot be drawn.)
    com_ptr<ID2D1Bitmap> shared;
    check(target.CreateSharedBitmap(__uuidof(ID2D1Bitmap), device_bitmap.Get(), nullptr, &shared),
          "ID2D1RenderTarget::CreateSharedBitmap", "unable to create a shared bitmap");

    // Both sides learn of the bitmap or neither does.
    renderers_.reserve(renderers_.size() + 1);
    target_bitmaps& entry = target_bitmaps_.emplace(&target, target_bitmaps{std::move(shared), {}}).first->second;
    try {
        painter.register_image(*this);
    } catch (...) {
        target_bitmaps_.erase(&target);
        throw;
    }
    renderers_.push_back(&painter);
    return entry;
}

ID2D1Bitmap& create_target_bitmap(image& picture, renderer& painter)
{
    return *picture.bitmaps_for(painter).whole.Get();
}

part_bitmap create_part_bitmap(image& picture, renderer& painter, const rect& part)
{
    const rect inside = clipped_to(part, picture.width_, picture.height_);
    if (inside.width == 0 || inside.height == 0) {
        return {nullptr, inside};
    }
    auto& parts = picture.bitmaps_for(painter).parts;
    if (const auto found = std::find_if(parts.begin(), parts.end(), [&](const auto& p) { return p.first == inside; });
        found != parts.end()) {
        return {found->second.Get(), inside};
    }

    constexpr const char* failed = "unable to create a bitmap from a WIC bitmap";
    image::com_ptr<IWICBitmapClipper> clipper;
    const WICRect source{inside.x, inside.y, inside.width, inside.height};
    check(require(picture.factory_.Get()).CreateBitmapClipper(&clipper), "IWICImagingFactory::CreateBitmapClipper",
          failed);
    check(clipper->Initialize(&require(picture.decoded_.Get()), &source), "IWICBitmapClipper::Initialize", failed);
    image::com_ptr<ID2D1Bitmap> bitmap;
    check(require(painter.target()).CreateBitmapFromWicBitmap(clipper.Get(), &unit_pixels, &bitmap),
          "ID2D1RenderTarget::CreateBitmapFromWicBitmap", failed);
    parts.emplace_back(inside, std::move(bitmap));
    return {parts.back().second.Get(), inside};
}

void release_target_bitmaps(image& picture) noexcept
{
    picture.leave_renderers();
    picture.target_bitmaps_.clear();
    picture.loaded_ = false;
}

void forget_target(image& picture, renderer& painter) noexcept
{
    picture.target_bitmaps_.erase(painter.target());
    std::erase(picture.renderers_, &painter);
}

std::unique_ptr<image> new_image()
{
    return std::make_unique<image>();
}

}  // namespace qxsdk::ui
