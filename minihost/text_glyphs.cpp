#include "minihost/text_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace minihost {

namespace {

struct LibraryDone {
    void operator()(FT_Library library) const noexcept { FT_Done_FreeType(library); }
};
struct FaceDone {
    void operator()(FT_Face face) const noexcept { FT_Done_Face(face); }
};

using Library = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDone>;
using Face = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDone>;

void check(FT_Error error, const char* what)
{
    if (error != 0) {
        throw std::runtime_error(std::string("minihost: FreeType cannot ") + what);
    }
}

// Collects contours while FreeType walks a glyph outline; the glyph's y axis points up, the
// layer's down.
struct ContourBuilder {
    double origin_x = 0.0;
    double origin_y = 0.0;
    std::vector<TextPath> paths;

    double x_of(const FT_Vector* v) const noexcept { return origin_x + static_cast<double>(v->x) / 64.0; }
    double y_of(const FT_Vector* v) const noexcept { return origin_y - static_cast<double>(v->y) / 64.0; }

    void start(const FT_Vector* to)
    {
        close();
        TextPath path;
        const double x = x_of(to);
        const double y = y_of(to);
        path.vertices.push_back({x, y, x, y, x, y});
        paths.push_back(std::move(path));
    }

    // The segment from the last vertex ends at `to`, leaving the last vertex along out and arriving along in.
    void segment(double out_x, double out_y, double in_x, double in_y, const FT_Vector* to)
    {
        PF_PathVertex& last = paths.back().vertices.back();
        last.tan_out_x = out_x;
        last.tan_out_y = out_y;
        const double x = x_of(to);
        const double y = y_of(to);
        paths.back().vertices.push_back({x, y, in_x, in_y, x, y});
    }

    // FreeType ends each contour back on its first point; that point becomes the first vertex's in-tangent.
    void close()
    {
        if (paths.empty() || paths.back().vertices.size() < 2) {
            return;
        }
        std::vector<PF_PathVertex>& v = paths.back().vertices;
        if (v.back().x == v.front().x && v.back().y == v.front().y) {
            v.front().tan_in_x = v.back().tan_in_x;
            v.front().tan_in_y = v.back().tan_in_y;
            v.pop_back();
        }
    }
};

ContourBuilder& builder_of(void* user) noexcept
{
    return *static_cast<ContourBuilder*>(user);
}

int move_to(const FT_Vector* to, void* user)
{
    builder_of(user).start(to);
    return 0;
}

int line_to(const FT_Vector* to, void* user)
{
    ContourBuilder& b = builder_of(user);
    const PF_PathVertex& last = b.paths.back().vertices.back();
    b.segment(last.x, last.y, b.x_of(to), b.y_of(to), to);
    return 0;
}

int conic_to(const FT_Vector* control, const FT_Vector* to, void* user)
{
    ContourBuilder& b = builder_of(user);
    const PF_PathVertex& last = b.paths.back().vertices.back();
    const double cx = b.x_of(control);
    const double cy = b.y_of(control);
    // A quadratic arc as a cubic: each tangent point two thirds of the way to the control point.
    b.segment(last.x + (cx - last.x) * 2.0 / 3.0, last.y + (cy - last.y) * 2.0 / 3.0,
              b.x_of(to) + (cx - b.x_of(to)) * 2.0 / 3.0, b.y_of(to) + (cy - b.y_of(to)) * 2.0 / 3.0, to);
    return 0;
}

int cubic_to(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user)
{
    ContourBuilder& b = builder_of(user);
    b.segment(b.x_of(control1), b.y_of(control1), b.x_of(control2), b.y_of(control2), to);
    return 0;
}

// The bitmap's top left corner is in 64 bits: a long line's pen runs far past the layer, and past 32 bits.
void draw_coverage(HostWorld& pixels, const FT_Bitmap& bitmap, std::int64_t left, std::int64_t top)
{
    // Only the part of the bitmap that lands on the layer.
    const std::int64_t first_row = std::max<std::int64_t>(0, -top);
    const std::int64_t end_row = std::min<std::int64_t>(bitmap.rows, pixels.height() - top);
    const std::int64_t first_column = std::max<std::int64_t>(0, -left);
    const std::int64_t end_column = std::min<std::int64_t>(bitmap.width, pixels.width() - left);
    for (std::int64_t row = first_row; row < end_row; ++row) {
        for (std::int64_t column = first_column; column < end_column; ++column) {
            const auto x = static_cast<A_long>(left + column);
            const auto y = static_cast<A_long>(top + row);
            const float coverage = static_cast<float>(bitmap.buffer[row * bitmap.pitch + column]) / 255.0f;
            const float alpha = std::max(pixels.channel(x, y, 0), coverage);
            for (int c = 0; c < 4; ++c) {
                pixels.set_channel(x, y, c, alpha);
            }
        }
    }
}

}  // namespace

CompLayer text_layer_from_font(const TextSetting& setting)
{
    // Checked first: the 26.6 conversion of a size far outside the range overflows.
    if (!(setting.pixel_size >= smallest_text_size && setting.pixel_size <= largest_text_size)) {
        throw std::runtime_error("minihost: text size " + std::to_string(setting.pixel_size) + " is outside " +
                                 std::to_string(smallest_text_size) + " to " + std::to_string(largest_text_size));
    }
    FT_Library raw_library = nullptr;
    check(FT_Init_FreeType(&raw_library), "start");
    const Library library(raw_library);
    FT_Face raw_face = nullptr;
    check(FT_New_Face(library.get(), setting.font_file.c_str(), 0, &raw_face), "open the font");
    const Face face(raw_face);
    check(FT_Set_Char_Size(face.get(), 0, static_cast<FT_F26Dot6>(setting.pixel_size * 64.0), 72, 72), "size the font");

    CompLayer layer;
    layer.pixels = HostWorld(setting.width, setting.height, setting.bytes_per_channel);
    FT_Outline_Funcs funcs{};
    funcs.move_to = &move_to;
    funcs.line_to = &line_to;
    funcs.conic_to = &conic_to;
    funcs.cubic_to = &cubic_to;

    ContourBuilder builder;
    double pen_x = setting.baseline_x;
    for (const unsigned char ch : setting.text) {
        check(FT_Load_Char(face.get(), ch, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING), "load a glyph");
        builder.origin_x = pen_x;
        builder.origin_y = setting.baseline_y;
        check(FT_Outline_Decompose(&face->glyph->outline, &funcs, &builder), "walk a glyph outline");
        builder.close();
        check(FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL), "render a glyph");
        draw_coverage(layer.pixels, face->glyph->bitmap, std::llround(pen_x) + face->glyph->bitmap_left,
                      std::llround(setting.baseline_y) - face->glyph->bitmap_top);
        pen_x += static_cast<double>(face->glyph->advance.x) / 64.0;
    }
    layer.outlines = std::move(builder.paths);
    return layer;
}

}  // namespace minihost
