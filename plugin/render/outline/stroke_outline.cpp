#include "plugin/render/outline/stroke_outline.h"

#include "plugin/render/outline/elliptic_cap.h"
#include "plugin/render/geometry/outline_geometry.h"

namespace kyrox {

namespace {

constexpr float min_cap_half_width = 0.1f;

struct OffsetPair {
    OutlinePoint left;
    OutlinePoint right;
};

OffsetPair offset_sides(const PathPoint& p, OutlinePoint n, float scale)
{
    const float h = p.half_width * scale;
    return {{p.x + h * n.x, p.y + h * n.y}, {p.x - h * n.x, p.y - h * n.y}};
}

}  // namespace

std::vector<OutlinePoint> build_stroke_outline(std::span<const PathPoint> piece, float scale, std::int32_t start_points,
                                               std::int32_t end_points)
{
    std::vector<OutlinePoint> outline;
    if (piece.size() < 2) {
        return outline;
    }
    std::vector<OutlinePoint> right_side;
    right_side.reserve(piece.size());
    for (std::size_t j = 0; j + 1 < piece.size(); ++j) {
        const PathPoint& p = piece[j];
        const PathPoint& q = piece[j + 1];
        const OutlinePoint d = unit_direction({p.x, p.y}, {q.x, q.y});
        const OutlinePoint n{-d.y, d.x};
        if (j == 0 && p.half_width > min_cap_half_width) {
            append_elliptic_cap(outline, CapEnd::start, {p.x, p.y}, d, scale * p.half_width, scale * p.cap_length,
                                start_points);
        }
        const OffsetPair sides = offset_sides(p, n, scale);
        outline.push_back(sides.left);
        right_side.push_back(sides.right);
        if (j + 2 == piece.size()) {
            const OffsetPair last = offset_sides(q, n, scale);
            outline.push_back(last.left);
            right_side.push_back(last.right);
            if (q.half_width > min_cap_half_width) {
                append_elliptic_cap(outline, CapEnd::end, {q.x, q.y}, d, scale * q.half_width, scale * q.cap_length,
                                    end_points);
            }
        }
    }
    outline.insert(outline.end(), right_side.rbegin(), right_side.rend());
    return outline;
}

}  // namespace kyrox
