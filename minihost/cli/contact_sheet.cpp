#include "minihost/cli/contact_sheet.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace minihost {
namespace {

constexpr int label_height = 22;
constexpr int gap = 4;
constexpr int label_pixels = 13;
constexpr unsigned char ground = 24;

struct FreeTypeLibrary {
    FreeTypeLibrary()
    {
        if (FT_Init_FreeType(&library) != 0) {
            throw std::runtime_error("cannot start FreeType");
        }
    }
    ~FreeTypeLibrary() { FT_Done_FreeType(library); }
    FT_Library library = nullptr;
};

struct FontFace {
    FontFace(FT_Library library, const std::filesystem::path& file)
    {
        if (FT_New_Face(library, file.string().c_str(), 0, &face) != 0) {
            throw std::runtime_error("cannot open the font " + file.string());
        }
        FT_Set_Pixel_Sizes(face, 0, label_pixels);
    }
    ~FontFace() { FT_Done_Face(face); }
    FT_Face face = nullptr;
};

void blend_pixel(Rgba8Image& sheet, int x, int y, const unsigned char* rgba)
{
    if (x < 0 || y < 0 || x >= sheet.width || y >= sheet.height) {
        return;
    }
    unsigned char* p = &sheet.pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(sheet.width) +
                                      static_cast<std::size_t>(x)) *
                                     4];
    const int a = rgba[3];
    for (int c = 0; c < 3; ++c) {
        p[c] = static_cast<unsigned char>((rgba[c] * a + p[c] * (255 - a)) / 255);
    }
}

// Left-aligned text with its baseline at (x, baseline), in light grey.
void draw_text(Rgba8Image& sheet, FT_Face face, const std::string& text, int x, int baseline, int max_x)
{
    for (const char ch : text) {
        if (FT_Load_Char(face, static_cast<unsigned char>(ch), FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_GlyphSlot g = face->glyph;
        if (x + g->bitmap_left + static_cast<int>(g->bitmap.width) > max_x) {
            return;
        }
        for (unsigned row = 0; row < g->bitmap.rows; ++row) {
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const unsigned char coverage = g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col];
                const unsigned char ink[4] = {230, 230, 230, coverage};
                blend_pixel(sheet, x + g->bitmap_left + static_cast<int>(col),
                            baseline - g->bitmap_top + static_cast<int>(row), ink);
            }
        }
        x += static_cast<int>(g->advance.x >> 6);
    }
}

}  // namespace

std::filesystem::path label_font()
{
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

Rgba8Image contact_sheet(const std::vector<LabelledImage>& images, int columns, const std::filesystem::path& font_file,
                         const std::string& title)
{
    if (images.empty() || columns < 1) {
        return {};
    }
    const int tile_w = images.front().image.width;
    const int tile_h = images.front().image.height;
    const int rows = (static_cast<int>(images.size()) + columns - 1) / columns;
    Rgba8Image sheet;
    sheet.width = columns * (tile_w + gap) + gap;
    sheet.height = label_height + rows * (tile_h + label_height + gap) + gap;
    sheet.pixels.assign(static_cast<std::size_t>(sheet.width) * static_cast<std::size_t>(sheet.height) * 4, ground);
    for (std::size_t i = 3; i < sheet.pixels.size(); i += 4) {
        sheet.pixels[i] = 255;
    }

    const FreeTypeLibrary freetype;
    const FontFace font(freetype.library, font_file);
    draw_text(sheet, font.face, title, gap + 2, label_height - 5, sheet.width - gap);
    for (std::size_t n = 0; n < images.size(); ++n) {
        const Rgba8Image& tile = images[n].image;
        if (tile.width != tile_w || tile.height != tile_h) {
            throw std::invalid_argument("contact sheet images differ in size");
        }
        const int left = gap + static_cast<int>(n % static_cast<std::size_t>(columns)) * (tile_w + gap);
        const int top = label_height + gap +
                        static_cast<int>(n / static_cast<std::size_t>(columns)) * (tile_h + label_height + gap);
        for (int y = 0; y < tile_h; ++y) {
            for (int x = 0; x < tile_w; ++x) {
                blend_pixel(sheet, left + x, top + y,
                            &tile.pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(tile_w) +
                                          static_cast<std::size_t>(x)) *
                                         4]);
            }
        }
        draw_text(sheet, font.face, images[n].label, left + 2, top + tile_h + label_height - 7, left + tile_w);
    }
    return sheet;
}

}  // namespace minihost
