// The Gaussian's blocks, side by side and with AVX2 and AVX-512, against one run at a time, bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "plugin/platform/simd/simd_path.h"
#include "plugin/render/blur/gauss_blur_kernels.h"
#include "tests/render/plane_fixture.h"

namespace kyrox {
namespace {

constexpr std::int32_t width = 27;
constexpr std::int32_t height = 21;

// Values of every kind the load meets: whole, fractional, negative, -0, large, NaN and infinity.
FloatPlane mixed_plane()
{
    FloatPlane plane = testing::filled_plane(width, height, 0.0f);
    const float values[] = {0.25f, -0.0f, 1.0f, -3.5f, 0.7f, 1e30f, -1e-30f, 2.0f, 0.1f};
    for (std::int32_t i = 0; i < height; ++i) {
        for (std::int32_t j = 0; j < width; ++j) {
            plane.row(i)[static_cast<std::size_t>(j)] = values[static_cast<std::size_t>(i * 5 + j * 3) % 9];
        }
    }
    plane.row(7)[11] = std::numeric_limits<float>::quiet_NaN();
    plane.row(15)[20] = std::numeric_limits<float>::infinity();
    return plane;
}

// A buffer whose cells hold a pattern the passes must overwrite or keep.
std::vector<GaussPair> patterned_buffer()
{
    std::vector<GaussPair> buffer(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        buffer[i] = {static_cast<double>(i % 13) * 0.5, -static_cast<double>(i % 7)};
    }
    return buffer;
}

void expect_same_bits(const std::vector<GaussPair>& expected, const std::vector<GaussPair>& actual,
                      const std::string& label)
{
    ASSERT_EQ(expected.size(), actual.size());
    int reported = 0;
    for (std::size_t i = 0; i < expected.size() && reported < 5; ++i) {
        const bool same =
            std::bit_cast<std::uint64_t>(expected[i].lane0) == std::bit_cast<std::uint64_t>(actual[i].lane0) &&
            std::bit_cast<std::uint64_t>(expected[i].lane1) == std::bit_cast<std::uint64_t>(actual[i].lane1);
        if (!same) {
            ++reported;
            ADD_FAILURE() << label << ": cell " << i << " (" << i / width << ", " << i % width << ") expected "
                          << expected[i].lane0 << ", " << expected[i].lane1 << " got " << actual[i].lane0 << ", "
                          << actual[i].lane1;
        }
    }
}

const GaussPass& test_pass()
{
    static const GaussPass pass = gauss_passes({1.5, 6.0, 2.5, 30.0})[0];
    return pass;
}

// The vertical pass one column and one run at a time.
std::vector<GaussPair> vertical_reference(const FloatPlane& source, ColumnBlock block)
{
    std::vector<GaussPair> buffer = patterned_buffer();
    for (std::int32_t j = block.column; j < block.column + block.count; ++j) {
        for (std::int32_t i = 0; i < height; ++i) {
            load_gauss_cells(source, i, j, {buffer.data() + i * width + j, 1});
        }
        const StridedRun run{block.rows.first * width + static_cast<std::size_t>(j), width, block.rows.count};
        gauss_iir_rows(buffer, run, test_pass().coefficients, test_pass().boundary);
    }
    return buffer;
}

// The horizontal pass one row at a time.
std::vector<GaussPair> horizontal_reference(RowBlock block)
{
    std::vector<GaussPair> buffer = patterned_buffer();
    for (std::int32_t i = block.row; i < block.row + block.count; ++i) {
        gauss_iir_columns(std::span<GaussPair>(buffer).subspan(i * width + block.columns.first, block.columns.count),
                          test_pass().coefficients, test_pass().boundary);
    }
    return buffer;
}

struct VerticalCase {
    const char* name;
    ColumnBlock block;
};

// Groups of 8 and 16 at the plane's left and right edges, ragged tails of 1 to 15 columns, and row
// spans that are whole, inside, empty or shorter than the recursion's history.
const VerticalCase vertical_cases[] = {
    {"left edge, all rows", {0, 8, {0, height}}},
    {"right edge, all rows", {width - 8, 8, {0, height}}},
    {"wide group at the left edge", {0, 16, {0, height}}},
    {"wide group at the right edge", {width - 16, 16, {0, height}}},
    {"wide group, inside rows", {4, 16, {2, 15}}},
    {"whole plane", {0, width, {0, height}}},
    {"two groups and 3 more, inside rows", {2, 19, {3, 12}}},
    {"1 column", {5, 1, {0, height}}},
    {"2 columns", {5, 2, {1, 9}}},
    {"3 columns at the right edge", {width - 3, 3, {0, height}}},
    {"4 columns", {9, 4, {4, 4}}},
    {"5 columns", {9, 5, {0, height}}},
    {"6 columns", {9, 6, {2, 17}}},
    {"7 columns", {9, 7, {0, height}}},
    {"15 columns", {1, 15, {0, height}}},
    {"no rows", {3, 16, {6, 0}}},
    {"one row", {3, 16, {6, 1}}},
    {"two rows", {3, 16, {0, 2}}},
    {"last row only", {3, 16, {height - 1, 1}}},
};

struct HorizontalCase {
    const char* name;
    RowBlock block;
};

const HorizontalCase horizontal_cases[] = {
    {"one group, all columns", {0, 8, {0, width}}},
    {"whole buffer", {0, height, {0, width}}},
    {"two groups and 1 more, inside columns", {1, 17, {4, 19}}},
    {"one group and 4 more", {2, 12, {0, width}}},
    {"1 row", {3, 1, {0, width}}},
    {"2 rows", {3, 2, {0, width}}},
    {"3 rows", {3, 3, {2, 20}}},
    {"4 rows", {3, 4, {0, width}}},
    {"5 rows", {3, 5, {0, width}}},
    {"6 rows", {3, 6, {1, 25}}},
    {"7 rows at the bottom", {height - 7, 7, {0, width}}},
    {"no columns", {0, 16, {5, 0}}},
    {"one column", {0, 16, {5, 1}}},
    {"two columns", {0, 16, {width - 2, 2}}},
};

using VerticalPass = void (*)(const FloatPlane&, ColumnBlock, const GaussPass&, std::span<GaussPair>,
                              std::span<GaussPair>) noexcept;
using HorizontalPass = void (*)(std::span<GaussPair>, std::int32_t, RowBlock, const GaussPass&) noexcept;

// The passes of one width and the path they need.
struct GaussKernels {
    const char* name;
    simd::SimdPath path;
    VerticalPass vertical;
    HorizontalPass horizontal;
};

// Names the kernels in failure messages.
void PrintTo(const GaussKernels& kernels, std::ostream* os)
{
    *os << kernels.name;
}

const GaussKernels kernels[] = {
    {"Baseline", simd::SimdPath::sse2, gauss_vertical_block, gauss_horizontal_block},
    {"Avx2", simd::SimdPath::avx2, gauss_vertical_block_avx2, gauss_horizontal_block_avx2},
    {"Avx512", simd::SimdPath::avx512, gauss_vertical_block_avx512, gauss_horizontal_block_avx512},
};

class GaussBlocks : public ::testing::TestWithParam<GaussKernels> {
protected:
    void SetUp() override
    {
        if (simd::widest_path() < GetParam().path) {
            GTEST_SKIP() << "the " << simd::simd_path_name(GetParam().path) << " path does not run here";
        }
    }
};

// Strips for the wide groups, for the 8-column groups only (the wide groups then keep their forward
// outputs in the buffer) and none.
const std::size_t strip_columns[] = {gauss_wide_column_group, gauss_column_group, 0};

TEST_P(GaussBlocks, VerticalBlockMatchesOneColumnAtATime)
{
    const FloatPlane source = mixed_plane();
    for (const VerticalCase& c : vertical_cases) {
        const std::vector<GaussPair> expected = vertical_reference(source, c.block);
        for (const std::size_t columns : strip_columns) {
            std::vector<GaussPair> strip(columns * height);
            std::vector<GaussPair> buffer = patterned_buffer();
            GetParam().vertical(source, c.block, test_pass(), buffer, strip);
            expect_same_bits(expected, buffer, std::string(c.name) + ", strip of " + std::to_string(columns));
        }
    }
}

TEST_P(GaussBlocks, HorizontalBlockMatchesOneRowAtATime)
{
    for (const HorizontalCase& c : horizontal_cases) {
        std::vector<GaussPair> buffer = patterned_buffer();
        GetParam().horizontal(buffer, width, c.block, test_pass());
        expect_same_bits(horizontal_reference(c.block), buffer, c.name);
    }
}

TEST_P(GaussBlocks, BlocksOutsideThePlaneAreLeftAlone)
{
    const FloatPlane source = mixed_plane();
    std::vector<GaussPair> strip(static_cast<std::size_t>(gauss_wide_column_group * height));
    const ColumnBlock columns[] = {
        {-1, 8, {0, height}}, {width - 7, 8, {0, height}}, {width - 15, 16, {0, height}}, {0, 16, {4, height - 3}}};
    const RowBlock rows[] = {{-1, 8, {0, width}}, {height - 7, 8, {0, width}}, {0, 8, {3, width - 2}}};
    for (const ColumnBlock& block : columns) {
        std::vector<GaussPair> buffer = patterned_buffer();
        GetParam().vertical(source, block, test_pass(), buffer, strip);
        expect_same_bits(patterned_buffer(), buffer, "columns from " + std::to_string(block.column));
    }
    for (const RowBlock& block : rows) {
        std::vector<GaussPair> buffer = patterned_buffer();
        GetParam().horizontal(buffer, width, block, test_pass());
        expect_same_bits(patterned_buffer(), buffer, "rows from " + std::to_string(block.row));
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, GaussBlocks, ::testing::ValuesIn(kernels),
                         [](const ::testing::TestParamInfo<GaussKernels>& kernel) { return kernel.param.name; });

}  // namespace
}  // namespace kyrox
