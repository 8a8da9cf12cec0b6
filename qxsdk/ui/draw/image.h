#pragma once

#include <windows.h>

#include <d2d1.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <memory>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

#include "qxsdk/ui/core/widget.h"

// The toolkit's picture: a PNG (or any format the imaging component reads) decoded once to premultiplied
// 32-bit BGRA, with one device bitmap per render target that draws it, and beside it one bitmap per strip
// frame drawn from it. The image and the renderers that hold its bitmaps know each other, so either can end
// first. UI thread only.
namespace qxsdk::ui {

class renderer;

// A bitmap of a part of a picture, and that part in picture pixels.
struct part_bitmap {
    ID2D1Bitmap* bitmap = nullptr;
    rect source;
};

// The thread's COM initialisation for the image's lifetime. A thread already in a single-threaded
// apartment gets RPC_E_CHANGED_MODE and is left as it was.
class com_apartment {
public:
    com_apartment() noexcept;
    ~com_apartment();

    com_apartment(const com_apartment&) = delete;
    com_apartment& operator=(const com_apartment&) = delete;

    HRESULT result() const noexcept { return result_; }

private:
    HRESULT result_;
};

class image {
public:
    // Throws hresult_error "unable to create the imaging factory".
    image();
    ~image();

    image(const image&) = delete;
    image& operator=(const image&) = delete;

    bool loaded() const noexcept { return loaded_; }
    std::uint32_t width() const noexcept { return width_; }
    std::uint32_t height() const noexcept { return height_; }
    HRESULT com_init_result() const noexcept { return apartment_.result(); }

    bool has_target_bitmap(const ID2D1RenderTarget* target) const noexcept { return target_bitmaps_.contains(target); }
    std::size_t target_bitmap_count() const noexcept { return target_bitmaps_.size(); }
    std::span<renderer* const> renderers() const noexcept { return renderers_; }

    // Decodes the bytes. Data that is not a picture returns false and changes nothing; failures to convert
    // it throw hresult_error. Each picture is decoded once: callers load only while not loaded.
    friend bool load_image_from_memory(image& picture, std::span<const std::uint8_t> data);

    // The device bitmap for the renderer's target, made on first use; the image keeps it. The image must
    // be loaded. One picture pixel is one toolkit unit: the bitmap is at 96 DPI.
    friend ID2D1Bitmap& create_target_bitmap(image& picture, renderer& painter);

    // A bitmap of the part of the picture that lies in the source rectangle (picture pixels), for the
    // renderer's target, made on first use and kept with the target's device bitmap. A scaled draw filters
    // only within the bitmap it draws, so a strip frame drawn from its own bitmap shows nothing of its
    // neighbours. The result names the bitmap with the part of the rectangle that lies on the picture; no
    // bitmap when the rectangle holds no pixel of it.
    friend part_bitmap create_part_bitmap(image& picture, renderer& painter, const rect& part);

    // Drops every device bitmap and marks the image not loaded, so that the next load decodes again.
    friend void release_target_bitmaps(image& picture) noexcept;

    // The renderer is going away, or its target is: drops the bitmap of its current target.
    friend void forget_target(image& picture, renderer& painter) noexcept;

private:
    template <typename T>
    using com_ptr = Microsoft::WRL::ComPtr<T>;

    // What the image holds for one render target.
    struct target_bitmaps {
        com_ptr<ID2D1Bitmap> whole;
        std::vector<std::pair<rect, com_ptr<ID2D1Bitmap>>> parts;  // by source rectangle, clipped
    };

    void leave_renderers() noexcept;
    // This target's entry, made with its device bitmap and registered both ways on first use.
    target_bitmaps& bitmaps_for(renderer& painter);

    bool loaded_ = false;
    com_apartment apartment_;
    com_ptr<IWICImagingFactory> factory_;
    com_ptr<IWICBitmap> decoded_;
    std::unordered_map<const ID2D1RenderTarget*, target_bitmaps> target_bitmaps_;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    std::vector<renderer*> renderers_;
};

bool load_image_from_memory(image& picture, std::span<const std::uint8_t> data);
ID2D1Bitmap& create_target_bitmap(image& picture, renderer& painter);
part_bitmap create_part_bitmap(image& picture, renderer& painter, const rect& part);
void release_target_bitmaps(image& picture) noexcept;
void forget_target(image& picture, renderer& painter) noexcept;

std::unique_ptr<image> new_image();

}  // namespace qxsdk::ui
