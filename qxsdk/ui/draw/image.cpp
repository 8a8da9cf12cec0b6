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
          "unable to create the imaging factory");
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
    if (FAILED(factory.CreateStream(&stream))
        || FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size())))
        || FAILED(factory.CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad, &decoder))) {
        return false;
    }

    image::com_ptr<IWICBitmapFrameDecode> frame;
    decoder->GetFrame(0, &frame);

    image::com_ptr<IWICFormatConverter> converter;
    check(factory.CreateFormatConverter(&converter), "unable to create the bitmap format converter");

    constexpr const char* conversion_failed = "unable to create a bitmap from the format converter";
    // A decoder without a frame 0 leaves nothing to convert.
    check(frame ? converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                        nullptr, 0.0, WICBitmapPaletteTypeMedianCut)
                : E_POINTER,
          conversion_failed);
    image::com_ptr<IWICBitmap> decoded;
    check(factory.CreateBitmapFromSource(converter.Get(), WICBitmapCacheOnLoad, &decoded), conversion_failed);

    UINT width = 0;
    UINT height = 0;
    converter->GetSize(&width, &height);
    picture.decoded_ = std::move(decoded);
    picture.width_ = width;
    picture.height_ = height;
    picture.loaded_ = true;
    return true;
}

ID2D1Bitmap& create_target_bitmap(image& picture, renderer& painter)
{
    ID2D1RenderTarget& target = require(painter.target());
    if (const auto found = picture.target_bitmaps_.find(&target); found != picture.target_bitmaps_.end()) {
        return *found->second.Get();
    }

    image::com_ptr<ID2D1Bitmap> device_bitmap;
    check(target.CreateBitmapFromWicBitmap(&require(picture.decoded_.Get()), &device_bitmap),
          "unable to create a bitmap from a WIC bitmap");
    image::com_ptr<ID2D1Bitmap> shared;
    check(target.CreateSharedBitmap(__uuidof(ID2D1Bitmap), device_bitmap.Get(), nullptr, &shared),
          "unable to create a shared bitmap");

    // Both sides learn of the bitmap or neither does.
    picture.renderers_.reserve(picture.renderers_.size() + 1);
    ID2D1Bitmap& stored = *picture.target_bitmaps_.emplace(&target, std::move(shared)).first->second.Get();
    try {
        painter.register_image(picture);
    } catch (...) {
        picture.target_bitmaps_.erase(&target);
        throw;
    }
    picture.renderers_.push_back(&painter);
    return stored;
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
