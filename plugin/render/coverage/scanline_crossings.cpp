#include "plugin/render/coverage/scanline_crossings.h"

#include <algorithm>

#include "plugin/render/geometry/outline_geometry.h"

namespace kyrox {

std::vector<EdgeRecord> make_sorted_edges(std::span<const OutlinePoint> points, float scale)
{
    std::vector<EdgeRecord> edges;
    edges.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const OutlinePoint& p = points[i];
        const OutlinePoint& before = points[i == 0 ? points.size() - 1 : i - 1];
        EdgeRecord e{p.x * scale, p.y * scale, before.x * scale, before.y * scale, 0.0f, 0.0f};
        e.ymin = std::min(e.y0, e.y1);
        e.ymax = std::max(e.y0, e.y1);
        edges.push_back(e);
    }
    std::sort(edges.begin(), edges.end(), [](const EdgeRecord& a, const EdgeRecord& b) { return a.ymin < b.ymin; });
    return edges;
}

namespace {

std::int32_t rounded(float x, std::int32_t row_end) noexcept
{
    return clamped_trunc(static_cast<double>(x + 0.5f), -1, row_end);
}

// Keeps the crossings that open a span (winding 0 to non-zero) and those that close one.
void keep_nonzero_winding(std::vector<Crossing>& crossings)
{
    std::size_t kept = 0;
    std::int32_t count = 0;
    std::uint8_t opening = 0;
    for (const Crossing& c : crossings) {
        if (count == 0) {
            opening = c.direction;
            count = 1;
            crossings[kept++] = c;
            continue;
        }
        count += c.direction == opening ? 1 : -1;
        if (count == 0) {
            crossings[kept++] = c;
        }
    }
    crossings.resize(kept);
}

void reduce_to_span_ends(std::vector<Crossing>& crossings, PolygonKind kind)
{
    if (crossings.size() == 2) {
        return;
    }
    if (kind == PolygonKind::blade) {
        const Crossing last = crossings.back();
        crossings.resize(1);
        crossings.push_back(last);
        return;
    }
    keep_nonzero_winding(crossings);
}

// x of the edge at the lower end of band [v, v + 1], or at the edge's own end when that comes first.
void move_to_band_end(Crossing& c, const EdgeRecord& e, std::int32_t v, std::int32_t row_end)
{
    const float y = std::min(static_cast<float>(v + 1), e.ymax);
    c.x = edge_x_at(e, y);
    c.rounded_x = rounded(c.x, row_end);
}

void widen_span_ends(std::vector<Crossing>& crossings, std::span<const EdgeRecord> edges, std::int32_t v,
                     std::int32_t row_end)
{
    for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
        Crossing& left = crossings[k];
        const EdgeRecord& le = edges[static_cast<std::size_t>(left.edge)];
        if ((le.x1 <= le.x0 && left.direction == 1) || (le.x1 > le.x0 && left.direction == 0)) {
            move_to_band_end(left, le, v, row_end);
        }
        Crossing& right = crossings[k + 1];
        const EdgeRecord& re = edges[static_cast<std::size_t>(right.edge)];
        if ((re.x0 <= re.x1 && right.direction == 1) || (re.x0 > re.x1 && right.direction == 0)) {
            move_to_band_end(right, re, v, row_end);
        }
    }
}

}  // namespace

void collect_span_crossings(std::vector<Crossing>& out, std::span<const EdgeRecord> edges, std::size_t& cursor,
                            std::int32_t v, PolygonKind kind, std::int32_t row_end)
{
    out.clear();
    const auto y = static_cast<float>(v);
    for_each_crossing_edge(edges, cursor, y, [&](std::size_t i) {
        const EdgeRecord& e = edges[i];
        const float x = edge_x_at(e, y);
        const auto direction = static_cast<std::uint8_t>(e.y0 < y ? 1 : 0);
        out.push_back({x, rounded(x, row_end), direction, static_cast<std::int32_t>(i)});
    });
    if (out.empty()) {
        return;
    }
    std::sort(out.begin(), out.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    reduce_to_span_ends(out, kind);
    widen_span_ends(out, edges, v, row_end);
}

bool same_span_ends(std::span<const Crossing> a, std::span<const Crossing> b) noexcept
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Crossing& p, const Crossing& q) { return p.rounded_x == q.rounded_x; });
}

}  // namespace kyrox
