#include <gtest/gtest.h>

#include "minihost/host_world.h"

namespace {

TEST(HostWorld, LaysOutFourChannelsAlphaFirstInEachDepth)
{
    struct DepthCase {
        int bytes_per_channel;
        float full_scale;
    };
    for (const DepthCase c : {DepthCase{1, 255.0f}, DepthCase{2, 32768.0f}, DepthCase{4, 1.0f}}) {
        SCOPED_TRACE(c.bytes_per_channel);
        minihost::HostWorld world(5, 3, c.bytes_per_channel, 4);
        const PF_EffectWorld& w = world.world();
        EXPECT_GE(w.rowbytes, 5 * 4 * c.bytes_per_channel + 4);
        EXPECT_EQ(w.rowbytes % 8, 0);
        EXPECT_EQ(minihost::full_scale(c.bytes_per_channel), c.full_scale);

        world.set_channel(4, 2, 0, 1.0f);
        world.set_channel(4, 2, 3, 0.5f);
        EXPECT_FLOAT_EQ(world.channel(4, 2, 0), 1.0f);
        EXPECT_NEAR(world.channel(4, 2, 3), 0.5f, 0.5f / c.full_scale + 1e-6f);
        // Alpha is the pixel's first channel: its bytes are set, red's next to it are not.
        const auto* pixel = static_cast<const unsigned char*>(w.data) + 2 * w.rowbytes + 4 * 4 * c.bytes_per_channel;
        const auto is_set = [&](int channel) {
            for (int b = 0; b < c.bytes_per_channel; ++b) {
                if (pixel[channel * c.bytes_per_channel + b] != 0) {
                    return true;
                }
            }
            return false;
        };
        EXPECT_TRUE(is_set(0));
        EXPECT_FALSE(is_set(1));
        EXPECT_THROW(world.channel(5, 0, 0), std::out_of_range);
    }
    EXPECT_THROW(minihost::HostWorld(2, 2, 3), std::invalid_argument);
}

}  // namespace
