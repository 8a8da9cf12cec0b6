#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "effect_host_fixture.h"
#include "plugin/host/presets.h"
#include "plugin/host/presets_detail.h"
#include "plugin/host/parameters.h"

namespace {

// The parameters every preset stores, in record order, as published.
constexpr A_long stored_ids[] = {99,   3,    4,    73,   123,  5,    122, 34,   35,   36,   37,   38,   39,
                                 40,   41,   61,   62,   77,   78,   112, 94,   84,   85,   88,   89,   91,
                                 92,   107,  80,   130,  134,  83,   129, 1094, 1084, 1085, 1088, 1089, 1091,
                                 1092, 1107, 1080, 1134, 1083, 1129, 106, 74,   105,  108,  115};

struct Telling {
    int item;
    const char* name;
    int colour[3];
    bool glow;
    double intensity, spread, bias, core_size, softness, glow_amount;
    int glow_type;
    double noise_scale, core_amount;
    int core_type;
    double saturation;
};

// Published values, shortened to four significant digits.
// clang-format off
const Telling telling_values[] = {
    {2, "Default", {0, 132, 255}, true, 50, 0.5, 0.5, 3, 0, 0, 1, 150, 0, 1, 1.2},
    {3, "Arc Reactor", {0, 102, 255}, true, 50, 0.1014, 0.26, 1.8, 0.9, 94, 1, 194, 29, 1, 2},
    {4, "Burning", {255, 102, 0}, true, 37, 0.0697, 0.2, 2.4, 0, 94.1, 2, 929, 8, 2, 1},
    {5, "Cellular", {0, 127, 255}, true, 229, 0.658, 0.22, 1.14, 0, 26, 2, 200, 0, 1, 1.53},
    {6, "Core", {255, 66, 0}, true, 58, 0.126, 0.53, 1, 25, 25, 2, 181, 2.7, 3, 1},
    {7, "Electric", {1, 180, 255}, true, 58, 0.096, 0.17, 1, 25, 29.4, 1, 65, 3.1, 3, 1},
    {8, "Energize", {255, 198, 0}, true, 42, 0.127, 0.76, 2, 0.9, 136, 1, 367, 10.9, 2, 1},
    {9, "Energy", {255, 127, 1}, true, 58, 0.097, 0.53, 1, 25, 10, 2, 177, 5, 3, 1},
    {10, "Fire", {255, 102, 0}, true, 36, 0.0886, 0.33, 10.3, 0, 101, 3, 150, 20, 2, 1},
    {11, "Firestorm", {255, 102, 0}, true, 156, 0.1177, 0.1, 1.3, 0, 68, 1, 85, 4, 2, 1},
    {12, "Fog", {1, 216, 255}, true, 26, 0.089, 0.77, 1, 25, 10, 3, 251, 5, 3, 1},
    {13, "Fractal", {255, 120, 0}, true, 70, 0.311, 0.56, 2.1, 0, 68, 1, 164, 0, 3, 1},
    {14, "Fuel", {255, 132, 1}, true, 140, 0.109, 0.53, 0.28, 25, 10, 2, 177, 4, 3, 1},
    {15, "Fusion", {255, 156, 0}, true, 55, 0.111, 0.33, 2, 0, 46, 2, 357, 11, 1, 1},
    {16, "Ghost", {1, 91, 255}, true, 41, 0.158, 0.77, 1, 25, 58, 3, 55, 0, 3, 1},
    {17, "GhostBuster", {1, 255, 67}, true, 58, 0.13, 0.53, 1, 25, 10, 2, 177, 0, 3, 1},
    {18, "Green Energy", {174, 255, 0}, true, 54, 0.089, 0.22, 1.4, 25, 55, 1, 106, 5.3, 3, 1.61},
    {19, "Hard Core", {0, 127, 255}, true, 61, 0.18, 1, 10, 0, 9, 1, 101, 9, 1, 1.25},
    {20, "Haze", {0, 204, 255}, true, 74, 0.1814, 0.54, 1.8, 0, 100, 1, 325, 3, 2, 1.27},
    {21, "Heat", {255, 127, 1}, true, 184, 0.225, 0.44, 1, 25, 14, 2, 352, 0, 3, 1},
    {22, "Hot", {255, 102, 0}, true, 89, 0.1177, 0.1, 1.5, 6.3, 55, 1, 158, 24, 1, 1},
    {23, "Inferno", {255, 102, 0}, true, 118, 0.0927, 0.12, 5.8, 0, 137, 2, 929, 40, 2, 1},
    {24, "Kryptonite", {174, 255, 0}, true, 54, 0.089, 0.22, 1.4, 0, 22, 2, 266, 14, 3, 2},
    {25, "Meteor", {255, 102, 0}, true, 89, 0.0767, 0.12, 1.5, 0, 93, 1, 223, 17, 1, 1},
    {26, "Myst", {1, 216, 255}, true, 107, 0.198, 0.26, 1, 25, 10, 2, 447, 0, 3, 1},
    {27, "Narrow", {6, 0, 255}, true, 64, 0.15, 0.56, 1, 0, 0, 1, 150, 0, 1, 1.25},
    {28, "Narrow Bright", {0, 96, 255}, true, 56, 0.13, 0.01, 1, 0, 0, 1, 150, 0, 1, 1},
    {29, "Nebula", {120, 0, 255}, true, 37, 0.26, 0.32, 2, 12.6, 47, 2, 245, 25, 3, 1},
    {30, "Neon", {255, 0, 108}, true, 88, 0.31, 0.13, 2, 0, 0, 1, 150, 0, 1, 1},
    {31, "Patronus", {116, 181, 179}, true, 50, 0.158, 0.31, 2, 0, 13, 2, 357, 0, 1, 1},
    {32, "Portal", {0, 127, 255}, true, 127, 0.158, 0.43, 1.14, 0, 15.3, 2, 314, 0, 1, 1.53},
    {33, "Protocol", {0, 222, 255}, true, 58, 0.151, 0.31, 1, 0, 4.6, 2, 237, 0, 3, 1},
    {34, "Proton", {0, 102, 255}, true, 50, 0.1824, 0.34, 1.8, 0.9, 101, 1, 194, 6.7, 2, 2},
    {35, "Pulse", {142, 238, 255}, true, 56.46, 0.5104, 0.44, 2.4, 4.6, 47, 1, 690, 12, 2, 1.18},
    {36, "Replicant", {255, 0, 216}, true, 80, 0.155, 0.34, 1, 0, 86, 2, 357, 11, 1, 1},
    {37, "Simple Orange", {255, 120, 0}, true, 29, 0.19, 0.66, 1.7, 0, 0, 1, 150, 0, 1, 1.25},
    {38, "Soft Smoke", {255, 127, 1}, true, 25, 0.1886, 5, 0.67, 25, 43, 1, 125, 0, 3, 1},
    {39, "Solar", {255, 102, 0}, true, 62, 0.333, 0.41, 3.2, 0, 16, 3, 120, 10, 2, 1},
    {40, "Solar Wave", {255, 96, 0}, true, 54, 0.192, 0.39, 5.5, 0, 28, 2, 357, 0, 1, 1},
    {41, "StarKiller", {255, 0, 0}, true, 61.27, 0.4844, 0.38, 2.4, 4.6, 47, 1, 250, 12, 1, 1},
    {42, "Tesseract", {0, 90, 255}, true, 60.94, 0.5104, 0.44, 2.4, 4.6, 47, 1, 250, 12, 1, 1.18},
    {43, "Thin", {0, 90, 255}, true, 36, 0.28, 0.4, 1.5, 0, 0, 1, 150, 0, 1, 1.34},
    {44, "Torch", {255, 138, 0}, true, 54, 0.089, 0.22, 1.4, 25, 23, 2, 177, 0, 3, 1},
    {45, "Tractor Beam", {152, 194, 246}, true, 392, 0.504, 0.95, 0.24, 0, 33, 1, 177, 30, 2, 1},
    {46, "Velocity", {159, 207, 255}, true, 62, 0.218, 0.45, 1.78, 0, 29, 1, 132, 11.9, 1, 1.25},
    {47, "Wavelet", {255, 156, 0}, true, 17, 0.016, 0.31, 1.8, 0, 41, 3, 301.8, 0, 1, 1},
    {48, "Wide", {0, 150, 255}, true, 50, 0.56, 0.56, 2, 0, 0, 1, 150, 0, 1, 1.25},
    {49, "Windy", {0, 150, 255}, true, 60.23, 0.5104, 0.44, 1.2, 4.6, 47, 1, 250, 37, 3, 1.18},
    {50, "Wormhole", {0, 156, 255}, true, 54, 0.089, 0.22, 1.4, 0, 22, 2, 266, 14, 3, 2},
    {51, "Yellow Smoke", {255, 204, 0}, true, 69.31, 0.311, 0.39, 2.1, 0, 29, 1, 164, 11, 3, 1},
    {52, "Zap", {0, 150, 255}, true, 54, 0.089, 0.22, 1.4, 0, 36, 3, 207, 14, 1, 1},
};
// clang-format on

std::map<A_long, const std::uint8_t*> values_of(std::span<const std::uint8_t> blob)
{
    std::map<A_long, const std::uint8_t*> values;
    kyrox::FlatRecordReader reader;
    reader.buffer = blob;
    while (const std::uint32_t id = kyrox::next_flat_record(reader)) {
        values[static_cast<A_long>(id)] = reader.value;
    }
    return values;
}

double f64(const std::uint8_t* p)
{
    double v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

A_long i32(const std::uint8_t* p)
{
    A_long v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void expect_about(double stored, double published)
{
    EXPECT_NEAR(stored, published, std::abs(published) * 5e-4 + 1e-9);
}

TEST(PresetBlobs, EachHoldsTheHeaderAndTheStoredParametersInOrder)
{
    EXPECT_TRUE(kyrox::preset_table[0].empty());
    EXPECT_TRUE(kyrox::preset_table[1].empty());
    for (int item = 2; item <= 52; ++item) {
        SCOPED_TRACE(item);
        const auto blob = kyrox::preset_table[static_cast<std::size_t>(item)];
        ASSERT_EQ(blob.size(), 6408u);
        EXPECT_EQ(std::memcmp(blob.data(), "QXCFH\0\0\1", 8), 0);
        kyrox::FlatRecordReader reader;
        reader.buffer = blob;
        for (const A_long id : stored_ids) {
            ASSERT_EQ(kyrox::next_flat_record(reader), static_cast<std::uint32_t>(id));
            EXPECT_EQ(reader.length, 120u);
        }
        EXPECT_EQ(kyrox::next_flat_record(reader), 0u);
        EXPECT_EQ(reader.offset, 6408u);
    }
}

TEST(PresetBlobs, HoldThePublishedTellingValues)
{
    ASSERT_EQ(std::size(telling_values), 51u);
    for (const Telling& t : telling_values) {
        SCOPED_TRACE(t.name);
        const auto v = values_of(kyrox::preset_table[static_cast<std::size_t>(t.item)]);
        const std::uint8_t* colour = v.at(3);
        EXPECT_EQ(colour[0], 255);
        EXPECT_EQ(colour[1], t.colour[0]);
        EXPECT_EQ(colour[2], t.colour[1]);
        EXPECT_EQ(colour[3], t.colour[2]);
        EXPECT_EQ(i32(v.at(99)), t.glow ? 1 : 0);
        expect_about(f64(v.at(4)), t.intensity);
        expect_about(f64(v.at(73)), t.spread);
        expect_about(f64(v.at(123)), t.bias);
        expect_about(f64(v.at(5)), t.core_size);
        expect_about(f64(v.at(112)), t.softness);
        expect_about(f64(v.at(94)), t.glow_amount);
        EXPECT_EQ(i32(v.at(80)), t.glow_type);
        expect_about(f64(v.at(84)), t.noise_scale);
        expect_about(f64(v.at(1094)), t.core_amount);
        EXPECT_EQ(i32(v.at(1080)), t.core_type);
        expect_about(f64(v.at(115)), t.saturation);
    }
}

TEST(PresetBlobs, DefaultHoldsThePublishedExampleBytes)
{
    const auto v = values_of(kyrox::preset_table[2]);
    const std::uint8_t enable[] = {1, 0, 0, 0};
    const std::uint8_t colour[] = {0xff, 0x00, 0x84, 0xff};
    EXPECT_EQ(std::memcmp(v.at(99), enable, 4), 0);
    EXPECT_EQ(std::memcmp(v.at(3), colour, 4), 0);
    EXPECT_EQ(f64(v.at(4)), 50.0);
    EXPECT_EQ(std::memcmp(v.at(80), enable, 4), 0);
    EXPECT_EQ(f64(v.at(115)), 1.2);
}

// The parameters that differ between presets: all 51 looks must be told apart by them.
TEST(PresetBlobs, NoTwoPresetsStoreTheSameValues)
{
    for (int a = 2; a <= 52; ++a) {
        for (int b = a + 1; b <= 52; ++b) {
            EXPECT_FALSE(std::equal(kyrox::preset_table[static_cast<std::size_t>(a)].begin(),
                                    kyrox::preset_table[static_cast<std::size_t>(a)].end(),
                                    kyrox::preset_table[static_cast<std::size_t>(b)].begin()))
                << a << " and " << b;
        }
    }
}

class PresetApplyTest : public EffectHostTest {
protected:
    void SetUp() override
    {
        EffectHostTest::SetUp();
        defaults = host.params();
    }

    PF_Err choose(A_long item, A_long changed_id = 114)
    {
        param(114).u.pd.value = item;
        return host.user_changed_param(kyrox::param_index_of(changed_id));
    }

    void expect_unchanged()
    {
        EXPECT_EQ(host.param_state().changed_count(), 0u);
        for (std::size_t i = 1; i < defaults.size(); ++i) {
            if (host.param_state().id_at(static_cast<PF_ParamIndex>(i)) == 114) {
                continue;
            }
            EXPECT_EQ(std::memcmp(&host.params()[i].u, &defaults[i].u, sizeof(PF_ParamDefUnion)), 0) << i;
        }
    }

    std::vector<PF_ParamDef> defaults;
};

TEST_F(PresetApplyTest, DefaultGivesTheParameterDefaultsExceptGreen132)
{
    ASSERT_EQ(choose(2), PF_Err_NONE);
    for (const A_long id : stored_ids) {
        SCOPED_TRACE(id);
        const PF_ParamDef& now = param(id);
        const PF_ParamDef& before = defaults[static_cast<std::size_t>(kyrox::param_index_of(id))];
        switch (now.param_type) {
        case PF_Param_FLOAT_SLIDER:
            EXPECT_EQ(static_cast<float>(now.u.fs_d.value), static_cast<float>(before.u.fs_d.value));
            break;
        case PF_Param_COLOR:
            EXPECT_EQ(now.u.cd.value.alpha, 255);
            EXPECT_EQ(now.u.cd.value.red, 0);
            EXPECT_EQ(now.u.cd.value.green, 132);
            EXPECT_EQ(now.u.cd.value.blue, 255);
            break;
        default:
            EXPECT_EQ(std::memcmp(&now.u, &before.u, sizeof(PF_ParamDefUnion)), 0);
            break;
        }
    }
    EXPECT_EQ(param(114).u.pd.value, 2);  // the popup keeps the chosen look
}

TEST_F(PresetApplyTest, EveryPresetAppliesItsValuesAndMarksTheStoredParametersChanged)
{
    for (int item = 2; item <= 52; ++item) {
        SCOPED_TRACE(item);
        param(89).u.ad.value = 33 << 16;
        param(1089).u.ad.value = -(12 << 16);
        ASSERT_EQ(choose(item), PF_Err_NONE);
        const auto v = values_of(kyrox::preset_table[static_cast<std::size_t>(item)]);
        EXPECT_EQ(host.param_state().changed_count(), std::size(stored_ids));
        for (const A_long id : stored_ids) {
            const PF_ParamDef& p = param(id);
            EXPECT_TRUE(host.param_state().changed(kyrox::param_index_of(id))) << id;
            switch (p.param_type) {
            case PF_Param_FLOAT_SLIDER:
                EXPECT_EQ(p.u.fs_d.value, f64(v.at(id))) << id;
                // The rest of the slider stays as registered.
                EXPECT_EQ(p.u.fs_d.valid_max,
                          defaults[static_cast<std::size_t>(kyrox::param_index_of(id))].u.fs_d.valid_max);
                break;
            case PF_Param_ANGLE:
                break;
            default:
                EXPECT_EQ(std::memcmp(&p.u, v.at(id), 4), 0) << id;
                break;
            }
        }
        // Wind direction offsets are stored but keep their values.
        EXPECT_EQ(param(89).u.ad.value, 33 << 16);
        EXPECT_EQ(param(1089).u.ad.value, -(12 << 16));
        EXPECT_FALSE(host.param_state().changed(kyrox::param_index_of(114)));
    }
}

TEST_F(PresetApplyTest, SelectAndOutOfRangeItemsApplyNothing)
{
    for (const A_long item : {1, 0, -3, 53, 1000}) {
        SCOPED_TRACE(item);
        ASSERT_EQ(choose(item), PF_Err_NONE);
        expect_unchanged();
    }
}

TEST_F(PresetApplyTest, ChangesOfOtherParametersApplyNothing)
{
    for (const A_long other : {99, 109, 4, 133}) {
        ASSERT_EQ(choose(10, other), PF_Err_NONE);
        expect_unchanged();
    }
    ASSERT_EQ(host.user_changed_param(0), PF_Err_NONE);
    expect_unchanged();
}

// Drives apply_preset_blob from inside a command, as the plug-in does on a preset change.
class PresetBlobTest : public PresetApplyTest {
protected:
    void apply(std::span<const std::uint8_t> blob)
    {
        kyrox::CommandContext context;
        context.in_data = &host.in_data();
        context.out_data = &host.out_data();
        std::vector<PF_ParamDef*> pointers;
        for (PF_ParamDef& p : host.params()) {
            pointers.push_back(&p);
        }
        context.params = pointers.data();
        kyrox::apply_preset_blob(context, blob);
    }

    std::vector<std::uint8_t> fire() const
    {
        const auto blob = kyrox::preset_table[10];
        return {blob.begin(), blob.end()};
    }
};

TEST_F(PresetBlobTest, WrongHeaderAppliesNothing)
{
    auto blob = fire();
    blob[0] = 'X';
    apply(blob);
    expect_unchanged();
    blob = fire();
    apply(std::span(blob).first(7));
    expect_unchanged();
}

TEST_F(PresetBlobTest, TruncatedBlobAppliesOnlyTheWholeRecords)
{
    const auto whole = fire();
    // Cut inside the third record's value: the first two apply, nothing is read past the end.
    const std::size_t cut = 8 + 2 * 128 + 8 + 60;
    std::vector<std::uint8_t> blob(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
    apply(blob);
    EXPECT_EQ(param(3).u.cd.value.red, 255);
    EXPECT_EQ(param(4).u.fs_d.value, 50.0);  // third record, not applied
}

TEST_F(PresetBlobTest, UnknownIdOrShortValueEndsTheList)
{
    auto blob = fire();
    // The second record's ID becomes 10000, which no parameter has.
    blob[8 + 128] = 0x10;
    blob[8 + 128 + 1] = 0x27;
    apply(blob);
    EXPECT_EQ(param(3).u.cd.value.green, 127);
    EXPECT_EQ(param(4).u.fs_d.value, 50.0);

    // A slider record too short for its double.
    blob = fire();
    blob[8 + 2 * 128 + 4] = 4;
    apply(blob);
    EXPECT_EQ(param(4).u.fs_d.value, 50.0);
    EXPECT_EQ(param(3).u.cd.value.red, 255);
}

}  // namespace
