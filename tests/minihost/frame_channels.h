#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "minihost/frame_session.h"

// Frames as the whole-frame tests compare them: every channel of every pixel in 0..1, alpha first.
namespace minihost::test {

inline std::vector<float> frame_channels(FrameSession& session)
{
    std::vector<float> channels;
    for (A_long y = 0; y < session.frame_height(); ++y) {
        for (A_long x = 0; x < session.frame_width(); ++x) {
            for (int c = 0; c < 4; ++c) {
                channels.push_back(session.output().channel(x, y, c));
            }
        }
    }
    return channels;
}

// How far a frame is from another of the same size: the mean and the largest channel difference.
struct FrameDifference {
    double mean = 0.0;
    float worst = 0.0f;
};

inline FrameDifference frame_difference(const std::vector<float>& frame, const std::vector<float>& reference)
{
    double total = 0.0;
    float worst = 0.0f;
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const float d = std::fabs(frame[i] - reference[i]);
        total += d;
        worst = std::max(worst, d);
    }
    return {frame.empty() ? 0.0 : total / static_cast<double>(frame.size()), worst};
}

}  // namespace minihost::test
