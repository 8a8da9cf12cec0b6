#include "plugin/platform/simd/simd_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace {

using kyrox::simd::SimdPath;

TEST(SimdPath, NamesRoundTripAndNothingElseIsAName)
{
    for (const SimdPath path : {SimdPath::sse2, SimdPath::avx2, SimdPath::avx512}) {
        EXPECT_EQ(kyrox::simd::simd_path_named(kyrox::simd::simd_path_name(path)), path);
    }
    for (const std::string_view other : {"", "AVX2", "avx", "avx2 ", "avx512f", "sse4"}) {
        EXPECT_EQ(kyrox::simd::simd_path_named(other), std::nullopt) << other;
    }
}

TEST(SimdPath, TheSettingLowersThePathAndNeverRaisesIt)
{
    struct Case {
        SimdPath supported;
        std::string_view setting;
        SimdPath taken;
    };
    // clang-format off
    const Case cases[] = {
        {SimdPath::avx512, "sse2", SimdPath::sse2},   {SimdPath::avx512, "avx2", SimdPath::avx2},
        {SimdPath::avx512, "avx512", SimdPath::avx512}, {SimdPath::avx2, "avx512", SimdPath::avx2},
        {SimdPath::sse2, "avx2", SimdPath::sse2},     {SimdPath::avx2, "sse2", SimdPath::sse2},
        {SimdPath::avx512, "", SimdPath::avx512},     {SimdPath::avx2, "fast", SimdPath::avx2},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(kyrox::simd::lowered_path(c.supported, c.setting), c.taken) << c.setting;
    }
}

}  // namespace
