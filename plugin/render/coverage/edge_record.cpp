#include "plugin/render/coverage/edge_record.h"

#include <algorithm>

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

}  // namespace kyrox
