#include "plugin/render/coverage/scanline_crossings.h"

#include <algorithm>

#include "plugin/render/geometry/outline_geometry.h"

namespace kyrox {

void sort_by_ymin(std::vector<EdgeRecord>& edges)
{
    std::sort(edges.begin(), edges.end(), [](const EdgeRecord& a, const EdgeRecord& b) { return a.ymin < b.ymin; });
}

std::vector<EdgeRecord> make_sorted_edges(std::span<const OutlinePoint> points, float scale)
{
    std::vector<EdgeRecord> edges;
    edges.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        edges.push_back(edge_of_point(points, i, scale));
    }
    sort_by_ymin(edges);
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

// Whether the sorted crossings could have come out otherwise had edges of equal ymin come in another
// order. Up to 16 elements std::sort is an insertion sort (libstdc++), which keeps equal x in the order
// given, so only equal x from edges of equal ymin could; beyond that, any two of equal x could.
bool order_sensitive(std::span<const Crossing> sorted, std::span<const EdgeRecord> edges) noexcept
{
    constexpr std::size_t stable_sort_size = 16;
    for (std::size_t i = 0; i + 1 < sorted.size(); ++i) {
        for (std::size_t j = i + 1; j < sorted.size() && sorted[j].x == sorted[i].x; ++j) {
            if (sorted.size() > stable_sort_size || edges[static_cast<std::size_t>(sorted[i].edge)].ymin ==
                                                        edges[static_cast<std::size_t>(sorted[j].edge)].ymin) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

bool collect_span_crossings(std::vector<Crossing>& out, std::span<const EdgeRecord> edges, std::size_t& cursor,
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
        return false;
    }
    std::sort(out.begin(), out.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    const bool sensitive = order_sensitive(out, edges);
    reduce_to_span_ends(out, kind);
    widen_span_ends(out, edges, v, row_end);
    return sensitive;
}

bool same_span_ends(std::span<const Crossing> a, std::span<const Crossing> b) noexcept
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Crossing& p, const Crossing& q) { return p.rounded_x == q.rounded_x; });
}

}  // namespace kyrox
