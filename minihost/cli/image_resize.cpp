#include "minihost/cli/image_resize.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace minihost {
namespace {

// The weights of one target position's source pixels along one axis.
struct Taps {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Taps> axis_taps(int source, int target)
{
    const double scale = static_cast<double>(source) / target;
    const double radius = std::max(scale, 1.0);
    std::vector<Taps> taps(static_cast<std::size_t>(target));
    for (int t = 0; t < target; ++t) {
        const double centre = (t + 0.5) * scale;
        const int first = std::max(static_cast<int>(std::floor(centre - radius)), 0);
        const int last = std::min(static_cast<int>(std::ceil(centre + radius)), source - 1);
        Taps& tap = taps[static_cast<std::size_t>(t)];
        tap.first = first;
        double total = 0.0;
        for (int s = first; s <= last; ++s) {
            const double w = std::max(1.0 - std::fabs(s + 0.5 - centre) / radius, 0.0);
            tap.weights.push_back(static_cast<float>(w));
            total += w;
        }
        for (float& w : tap.weights) {
            w = static_cast<float>(w / total);
        }
    }
    return taps;
}

}  // namespace

Rgba8Image resized(const Rgba8Image& image, int width, int height)
{
    if (image.width == width && image.height == height) {
        return image;
    }
    const std::vector<Taps> across = axis_taps(image.width, width);
    const std::vector<Taps> down = axis_taps(image.height, height);
    // Rows first into floats, then columns, so that each pass filters one axis.
    std::vector<float> rows(static_cast<std::size_t>(width) * static_cast<std::size_t>(image.height) * 4);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Taps& tap = across[static_cast<std::size_t>(x)];
            for (std::size_t k = 0; k < tap.weights.size(); ++k) {
                const std::size_t from =
                    (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + tap.first + k) * 4;
                const std::size_t to = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4;
                for (std::size_t c = 0; c < 4; ++c) {
                    rows[to + c] += tap.weights[k] * image.pixels[from + c];
                }
            }
        }
    }
    Rgba8Image result{width, height, std::vector<unsigned char>(static_cast<std::size_t>(width) * height * 4)};
    for (int y = 0; y < height; ++y) {
        const Taps& tap = down[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x) {
            float sum[4] = {};
            for (std::size_t k = 0; k < tap.weights.size(); ++k) {
                const std::size_t from = ((tap.first + k) * static_cast<std::size_t>(width) + x) * 4;
                for (std::size_t c = 0; c < 4; ++c) {
                    sum[c] += tap.weights[k] * rows[from + c];
                }
            }
            const std::size_t to = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4;
            for (std::size_t c = 0; c < 4; ++c) {
                result.pixels[to + c] = static_cast<unsigned char>(std::lround(std::clamp(sum[c], 0.0f, 255.0f)));
            }
        }
    }
    return result;
}

}  // namespace minihost
