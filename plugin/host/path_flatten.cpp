#include "plugin/host/path_flatten.h"

#include <cmath>
#include <utility>

namespace kyrox {

namespace {

float length(float dx, float dy) noexcept
{
    return std::sqrt(dx * dx + dy * dy);
}

bool is_finite(const PathVertex& v) noexcept
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.in_dx) && std::isfinite(v.in_dy) &&
           std::isfinite(v.out_dx) && std::isfinite(v.out_dy);
}

// One cubic Bézier segment in polynomial form per axis.
struct Cubic {
    FlatPoint p0, c1, c2, c3;

    Cubic(const PathVertex& a, const PathVertex& b) noexcept
    {
        const FlatPoint p1{a.x + a.out_dx, a.y + a.out_dy};
        const FlatPoint p2{b.x + b.in_dx, b.y + b.in_dy};
        p0 = {a.x, a.y};
        c1 = {3.0f * (p1.x - a.x), 3.0f * (p1.y - a.y)};
        c2 = {3.0f * (p2.x - p1.x) - c1.x, 3.0f * (p2.y - p1.y) - c1.y};
        c3 = {b.x - a.x - c1.x - c2.x, b.y - a.y - c1.y - c2.y};
    }

    FlatPoint at(float t) const noexcept
    {
        return {p0.x + c1.x * t + c2.x * t * t + c3.x * t * t * t, p0.y + c1.y * t + c2.y * t * t + c3.y * t * t * t};
    }
};

// Flattens segment by segment within a budget of emitted points and length samples.
class Flattener {
public:
    explicit Flattener(float d) : d_(d) {}

    bool segment(const PathVertex& a, const PathVertex& b)
    {
        const bool straight = length(a.in_dx, a.in_dy) < 0.1f && length(a.out_dx, a.out_dy) < 0.1f &&
                              length(b.in_dx, b.in_dy) < 0.1f;
        const float chord = length(b.x - a.x, b.y - a.y);
        const Cubic cubic(a, b);
        float estimate = chord;
        if (!straight) {
            const float samples = chord + 0.5f;
            if (!(samples < static_cast<float>(max_flattened_points - samples_))) {
                return false;
            }
            const std::size_t m = samples >= 1.0f ? static_cast<std::size_t>(samples) : 1;
            samples_ += m;
            estimate = curve_length(cubic, m);
        }
        const float count = (estimate + 1.0f) * 0.5f;
        if (!(count < static_cast<float>(max_flattened_points - points.size()))) {
            return false;
        }
        const std::size_t k = count >= 1.0f ? static_cast<std::size_t>(count) : 1;
        for (std::size_t i = 0; i < k; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(k);
            const FlatPoint p = straight ? FlatPoint{(1.0f - t) * a.x + t * b.x, (1.0f - t) * a.y + t * b.y}
                                         : cubic.at(t);
            points.push_back(scaled(p));
        }
        return true;
    }

    std::vector<FlatPoint> points;

private:
    FlatPoint scaled(FlatPoint p) const noexcept { return {p.x * d_, p.y * d_}; }

    // The length of the polyline through m + 1 points of the curve, in downsampled pixels.
    float curve_length(const Cubic& cubic, std::size_t m) const noexcept
    {
        float total = 0.0f;
        FlatPoint previous = scaled(cubic.at(0.0f));
        for (std::size_t i = 1; i <= m; ++i) {
            const FlatPoint p = scaled(cubic.at(static_cast<float>(i) / static_cast<float>(m)));
            total += length(p.x - previous.x, p.y - previous.y);
            previous = p;
        }
        return total;
    }

    float d_;
    std::size_t samples_ = 0;
};

}  // namespace

std::vector<FlatPoint> flatten_path(std::span<const PathVertex> vertices, bool closed, float d)
{
    if (vertices.size() < 2 || vertices.size() > max_outline_vertices + 1) {
        return {};
    }
    for (const PathVertex& v : vertices) {
        if (!is_finite(v)) {
            return {};
        }
    }
    Flattener flattener(d);
    for (std::size_t i = 0; i + 1 < vertices.size(); ++i) {
        if (!flattener.segment(vertices[i], vertices[i + 1])) {
            return {};
        }
    }
    if (closed) {
        flattener.points.push_back(flattener.points.front());
    }
    return std::move(flattener.points);
}

}  // namespace kyrox
