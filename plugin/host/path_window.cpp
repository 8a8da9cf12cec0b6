#include "plugin/host/path_window.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kyrox {

namespace {

float distance(FlatPoint a, FlatPoint b) noexcept
{
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

// f clamped to [0, 1]; NaN (no change of u between two points) counts as 0.
float unit_clamp(float f) noexcept
{
    return f > 0.0f ? std::min(f, 1.0f) : 0.0f;
}

// (1 - c) a + c b. Offsets are read unbounded, and with the size ramp spanning the whole outline c is
// the offset itself, so the products can leave the float range although a and b are ordinary. Only
// then is the value worked out in double, kept within the float range (a sum of infinities of both
// signs, which no finite inputs give, counts as 0).
float interpolate(float a, float b, float c) noexcept
{
    const float value = (1.0f - c) * a + c * b;
    if (std::isfinite(value)) {
        return value;
    }
    const double wide = (1.0 - static_cast<double>(c)) * a + static_cast<double>(c) * b;
    constexpr double largest = std::numeric_limits<float>::max();
    return std::isnan(wide) ? 0.0f : static_cast<float>(std::clamp(wide, -largest, largest));
}

FlatPoint between(FlatPoint previous, FlatPoint current, float f) noexcept
{
    return {f * previous.x + (1.0f - f) * current.x, f * previous.y + (1.0f - f) * current.y};
}

class PieceBuilder {
public:
    PieceBuilder(const PathWindow& window, std::vector<std::vector<PathPoint>>& pieces)
        : window_(window),
          pieces_(pieces),
          lo_(std::min(window.start_offset, window.end_offset)),
          hi_(std::max(window.start_offset, window.end_offset)),
          r_(hi_ == lo_ ? 0.0f : 1.0f / (hi_ - lo_))
    {
    }

    bool in_window(float u) const noexcept { return lo_ <= u && u <= hi_; }

    // Point k with its parameter u; previous is point k − 1 (unused for k = 0).
    void visit(std::size_t k, FlatPoint point, FlatPoint previous, float u)
    {
        if (!inside_ && in_window(u)) {
            inside_ = true;
            if (k > 0) {
                append(between(previous, point, unit_clamp((u - lo_) / (u - u_prev_))), lo_);
            }
        }
        if (inside_) {
            if (in_window(u)) {
                if (piece_.empty() || far_from_last(point)) {
                    append(point, u);
                }
            } else {
                const FlatPoint exit = between(previous, point, unit_clamp((u - hi_) / (u - u_prev_)));
                if (far_from_last(exit)) {
                    append(exit, hi_);
                }
                finish();
                inside_ = false;
            }
        }
        u_prev_ = u;
    }

    void finish()
    {
        if (!piece_.empty()) {
            pieces_.push_back(std::move(piece_));
            piece_ = {};
        }
    }

private:
    bool far_from_last(FlatPoint p) const noexcept
    {
        const PathPoint& last = piece_.back();
        return distance({last.x, last.y}, p) > 0.1f;
    }

    void append(FlatPoint p, float v)
    {
        const float c = window_.offset_size ? std::max((v - lo_) * r_, 0.0f) : v;
        piece_.push_back({p.x, p.y, interpolate(window_.start_half_width, window_.end_half_width, c),
                          interpolate(window_.start_cap, window_.end_cap, c)});
    }

    const PathWindow& window_;
    std::vector<std::vector<PathPoint>>& pieces_;
    float lo_;
    float hi_;
    float r_;
    bool inside_ = false;
    float u_prev_ = 0.0f;
    std::vector<PathPoint> piece_;
};

}  // namespace

void cut_path_pieces(std::span<const FlatPoint> points, const PathWindow& window,
                     std::vector<std::vector<PathPoint>>& pieces)
{
    float total = 0.0f;
    for (std::size_t k = 1; k < points.size(); ++k) {
        total += distance(points[k - 1], points[k]);
    }
    if (!(total > 0.0f) || !std::isfinite(total)) {
        return;
    }
    const float inverse_length = 1.0f / total;
    PieceBuilder builder(window, pieces);
    float s = 0.0f;
    for (std::size_t k = 0; k < points.size(); ++k) {
        // The modulus is a hair above 1 so that the end of a closed outline stays at u = 1.
        float u = std::fmod(s * inverse_length - window.evolution, 1.000001f);
        if (!(u >= 0.0f)) {
            u += 1.0f;
        }
        builder.visit(k, points[k], points[k > 0 ? k - 1 : 0], u);
        if (k + 1 < points.size()) {
            s += distance(points[k], points[k + 1]);
        }
    }
    builder.finish();
}

}  // namespace kyrox
