#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "effect_host_fixture.h"
#include "plugin/host/parameters.h"
#include "plugin/host/parameters_detail.h"
#include "plugin/host/param_reading.h"

namespace {

enum class Kind { layer, angle, checkbox, colour, point, popup, float_slider, group_start, group_end };

struct Rgb {
    int red, green, blue;
};
struct Percent {
    int x, y;
};

// The published parameter list, written out independently of the effect's own table.
struct Expected {
    int index;
    A_long id;
    const char* name;
    Kind kind;
    float valid_min, valid_max, slider_min, slider_max, default_value;
    int precision;
    bool percent;
    const char* items;
    int default_item;
    bool on;  // checkbox default, group start collapsed, popup supervised
    Rgb colour;
    Percent point;
};

// clang-format off
const Expected expected_params[] = {
    {1, 114, "Preset", Kind::popup, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, "Select|Default|Arc Reactor|Burning|Cellular|Core|Electric|Energize|Energy|Fire|Firestorm|Fog|Fractal|Fuel|Fusion|Ghost|GhostBuster|Green Energy|Hard Core|Haze|Heat|Hot|Inferno|Kryptonite|Meteor|Myst|Narrow|Narrow Bright|Nebula|Neon|Patronus|Portal|Protocol|Proton|Pulse|Replicant|Simple Orange|Soft Smoke|Solar|Solar Wave|StarKiller|Tesseract|Thin|Torch|Tractor Beam|Velocity|Wavelet|Wide|Windy|Wormhole|Yellow Smoke|Zap", 1, true, {0, 0, 0}, {0, 0}},
    {2, 99, "Enable Glow", Kind::checkbox, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
    {3, 3, "Glow Color", Kind::colour, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 127, 255}, {0, 0}},
    {4, 4, "Glow Intensity", Kind::float_slider, 0.0f, 500.0f, 0.0f, 125.0f, 50.0f, 1, true, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {5, 73, "Glow Spread", Kind::float_slider, 0.0f, 2.0f, 0.0f, 1.0f, 0.5f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {6, 123, "Glow Bias", Kind::float_slider, 0.0f, 5.0f, 0.0f, 2.5f, 0.5f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {7, 5, "Core Size", Kind::float_slider, 0.0f, 200.0f, 0.0f, 25.0f, 3.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {8, 6, "Core Start", Kind::point, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {50, 85}},
    {9, 7, "Core End", Kind::point, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {50, 15}},
    {10, 9, "Customize Core", Kind::group_start, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
    {11, 109, "Core Type", Kind::popup, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, "Kyrox|Layer Masks|Text Layer", 1, false, {0, 0, 0}, {0, 0}},
    {12, 132, "Text Layer", Kind::layer, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {13, 119, "Mask Evolution", Kind::angle, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {14, 10, "Start Size", Kind::float_slider, 0.0f, 200.0f, 0.0f, 200.0f, 100.0f, 0, true, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {15, 111, "Start Offset", Kind::float_slider, 0.0f, 100.0f, 0.0f, 100.0f, 0.0f, 0, true, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {16, 13, "Start Roundness", Kind::float_slider, 0.0f, 2.0f, 0.0f, 2.0f, 0.5f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {17, 11, "End Size", Kind::float_slider, 0.0f, 200.0f, 0.0f, 200.0f, 100.0f, 0, true, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {18, 8, "End Offset", Kind::float_slider, 0.0f, 100.0f, 0.0f, 100.0f, 100.0f, 0, true, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {19, 14, "End Roundness", Kind::float_slider, 0.0f, 2.0f, 0.0f, 2.0f, 0.5f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {20, 118, "Offset Size", Kind::checkbox, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
    {21, 77, "Halo Intensity", Kind::float_slider, 0.0f, 1000.0f, 0.0f, 200.0f, 100.0f, 0, true, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {22, 78, "Halo Size", Kind::float_slider, 0.0f, 1000.0f, 0.0f, 1000.0f, 100.0f, 0, true, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {23, 112, "Core Softness", Kind::float_slider, 0.0f, 25.0f, 0.0f, 25.0f, 0.0f, 1, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {24, 16, nullptr, Kind::group_end, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {25, 63, "Flicker", Kind::group_start, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
    {26, 18, "Flicker Intensity", Kind::float_slider, 0.0f, 500.0f, 0.0f, 500.0f, 0.0f, 0, true, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {27, 17, "Flicker Speed", Kind::float_slider, 0.0f, 30.0f, 0.0f, 30.0f, 15.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {28, 110, "Mask Randomization", Kind::checkbox, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {29, 120, "Random Seed", Kind::float_slider, 0.0f, 100000.0f, 0.0f, 100000.0f, 5000.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {30, 64, nullptr, Kind::group_end, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {31, 97, "Distortion", Kind::group_start, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
    {32, 79, "Glow Distortion", Kind::group_start, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
    {33, 94, "Distortion Amount", Kind::float_slider, 0.0f, 200.0f, 0.0f, 200.0f, 0.0f, 1, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {34, 80, "Distortion Type", Kind::popup, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, "Smoke|Fluid|Energy", 1, false, {0, 0, 0}, {0, 0}},
    {35, 130, "Composite", Kind::popup, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, "Distortion|Multiply", 1, false, {0, 0, 0}, {0, 0}},
    {36, 134, "Invert", Kind::checkbox, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {37, 88, "Wind Speed", Kind::float_slider, -200.0f, 200.0f, -2.0f, 2.0f, 1.5f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {38, 89, "Wind Direction Offset", Kind::angle, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {39, 85, "Noise Speed", Kind::float_slider, 0.0f, 5.0f, 0.0f, 5.0f, 1.5f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {40, 84, "Noise Scale", Kind::float_slider, 1.0f, 1000.0f, 1.0f, 1000.0f, 150.0f, 1, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {41, 83, "Noise Bias", Kind::float_slider, 0.1f, 3.0f, 0.1f, 3.0f, 1.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {42, 92, "Noise Complexity", Kind::float_slider, 1.0f, 10.0f, 1.0f, 10.0f, 5.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {43, 91, "Noise Aspect Ratio", Kind::float_slider, 0.0f, 10.0f, 0.0f, 10.0f, 1.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {44, 107, "Motion Blur", Kind::float_slider, 0.0f, 10.0f, 0.0f, 10.0f, 0.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {45, 129, "Random Seed", Kind::float_slider, 0.0f, 100000.0f, 0.0f, 100000.0f, 5000.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {46, 104, "Lock Noise to Kyrox", Kind::checkbox, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
    {47, 95, nullptr, Kind::group_end, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {48, 1079, "Core Distortion", Kind::group_start, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
    {49, 1094, "Distortion Amount", Kind::float_slider, 0.0f, 200.0f, 0.0f, 200.0f, 0.0f, 1, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {50, 1080, "Distortion Type", Kind::popup, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, "Smoke|Fluid|Energy", 1, false, {0, 0, 0}, {0, 0}},
    {51, 1088, "Wind Speed", Kind::float_slider, -200.0f, 200.0f, -2.0f, 2.0f, 0.5f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {52, 1089, "Wind Direction Offset", Kind::angle, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {53, 1134, "Invert", Kind::checkbox, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {54, 1085, "Noise Speed", Kind::float_slider, 0.0f, 5.0f, 0.0f, 5.0f, 1.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {55, 1084, "Noise Scale", Kind::float_slider, 1.0f, 1000.0f, 1.0f, 1000.0f, 100.0f, 1, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {56, 1083, "Noise Bias", Kind::float_slider, 0.1f, 3.0f, 0.1f, 3.0f, 1.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {57, 1092, "Noise Complexity", Kind::float_slider, 1.0f, 10.0f, 1.0f, 10.0f, 3.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {58, 1091, "Noise Aspect Ratio", Kind::float_slider, 0.0f, 10.0f, 0.0f, 10.0f, 1.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {59, 1107, "Motion Blur", Kind::float_slider, 0.0f, 10.0f, 0.0f, 10.0f, 0.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {60, 1129, "Random Seed", Kind::float_slider, 0.0f, 100000.0f, 0.0f, 100000.0f, 5000.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {61, 1104, "Lock Noise to Kyrox", Kind::checkbox, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
    {62, 106, "Blend on Top", Kind::checkbox, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
    {63, 1095, nullptr, Kind::group_end, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {64, 98, nullptr, Kind::group_end, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {65, 19, "Glow Settings", Kind::group_start, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
    {66, 62, "Glow Intensity Multiplier", Kind::float_slider, 0.0f, 1000.0f, 0.0f, 20.0f, 67.64f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {67, 61, "Glow Size Multiplier", Kind::float_slider, 0.0f, 1000.0f, 0.0f, 10.0f, 3.07f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {68, 122, "Glow Pre Gamma", Kind::float_slider, 0.1f, 5.0f, 0.1f, 5.0f, 1.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {69, 35, "Glow 1 Intensity", Kind::float_slider, 0.0f, 100.0f, 0.0f, 10.0f, 2.13f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {70, 34, "Glow 1 Size", Kind::float_slider, 0.0f, 500.0f, 0.0f, 500.0f, 60.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {71, 37, "Glow 2 Intensity", Kind::float_slider, 0.0f, 100.0f, 0.0f, 10.0f, 0.86f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {72, 36, "Glow 2 Size", Kind::float_slider, 0.0f, 500.0f, 0.0f, 500.0f, 19.9f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {73, 39, "Glow 3 Intensity", Kind::float_slider, 0.0f, 100.0f, 0.0f, 10.0f, 0.37f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {74, 38, "Glow 3 Size", Kind::float_slider, 0.0f, 500.0f, 0.0f, 500.0f, 8.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {75, 41, "Glow 4 Intensity", Kind::float_slider, 0.0f, 100.0f, 0.0f, 10.0f, 0.16f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {76, 40, "Glow 4 Size", Kind::float_slider, 0.0f, 500.0f, 0.0f, 500.0f, 2.9f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {77, 49, nullptr, Kind::group_end, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {78, 50, "Render Settings", Kind::group_start, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
    {79, 75, "Motion Blur", Kind::group_start, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {80, 51, "Motion Blur", Kind::popup, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, "On|Off|Composition", 1, false, {0, 0, 0}, {0, 0}},
    {81, 71, "Motion Blur Multiplier", Kind::float_slider, 0.0f, 2.0f, 0.0f, 2.0f, 1.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {82, 72, "Motion Blur Phase", Kind::float_slider, -360.0f, 360.0f, -360.0f, 360.0f, 0.0f, 1, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {83, 121, "Motion Blur Clamp", Kind::float_slider, 0.0f, 200.0f, 0.0f, 20.0f, 0.0f, 1, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {84, 76, nullptr, Kind::group_end, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {85, 105, "Gamma", Kind::float_slider, 0.1f, 10.0f, 0.1f, 10.0f, 1.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {86, 108, "Brightness", Kind::float_slider, 0.0f, 5.0f, 0.0f, 5.0f, 1.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {87, 115, "Saturation", Kind::float_slider, 0.0f, 2.0f, 0.0f, 2.0f, 1.2f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {88, 74, "Alpha Boost", Kind::float_slider, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 2, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {89, 52, "Composite Settings", Kind::popup, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, "Transparent|Black|Add", 2, false, {0, 0, 0}, {0, 0}},
    {90, 54, nullptr, Kind::group_end, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {91, 57, "Alpha Mode", Kind::popup, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, "Enable Masks|Mask Core|Mask Glow|Disable", 4, false, {0, 0, 0}, {0, 0}},
    {92, 131, "Invert Masks", Kind::checkbox, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, false, {0, 0, 0}, {0, 0}},
    {93, 133, "Use Text Alpha", Kind::checkbox, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, false, nullptr, 0, true, {0, 0, 0}, {0, 0}},
};
// clang-format on

PF_ParamType type_of(Kind kind)
{
    switch (kind) {
    case Kind::layer:
        return PF_Param_LAYER;
    case Kind::angle:
        return PF_Param_ANGLE;
    case Kind::checkbox:
        return PF_Param_CHECKBOX;
    case Kind::colour:
        return PF_Param_COLOR;
    case Kind::point:
        return PF_Param_POINT;
    case Kind::popup:
        return PF_Param_POPUP;
    case Kind::float_slider:
        return PF_Param_FLOAT_SLIDER;
    case Kind::group_start:
        return PF_Param_GROUP_START;
    case Kind::group_end:
        return PF_Param_GROUP_END;
    }
    return -1;
}

void expect_entry(const Expected& e, const PF_ParamDef& p)
{
    SCOPED_TRACE(std::string("parameter ID ") + std::to_string(e.id));
    EXPECT_EQ(p.uu.id, e.id);
    EXPECT_EQ(p.param_type, type_of(e.kind));
    EXPECT_STREQ(p.name, e.name != nullptr ? e.name : "");
    EXPECT_EQ(p.ui_flags, 0);
    const PF_ParamDefUnion& u = p.u;
    switch (e.kind) {
    case Kind::float_slider:
        EXPECT_EQ(u.fs_d.valid_min, e.valid_min);
        EXPECT_EQ(u.fs_d.valid_max, e.valid_max);
        EXPECT_EQ(u.fs_d.slider_min, e.slider_min);
        EXPECT_EQ(u.fs_d.slider_max, e.slider_max);
        // Defaults are single-precision values, widened.
        EXPECT_EQ(u.fs_d.value, static_cast<double>(e.default_value));
        EXPECT_EQ(u.fs_d.dephault, static_cast<double>(e.default_value));
        EXPECT_EQ(u.fs_d.precision, e.precision);
        EXPECT_EQ(u.fs_d.display_flags, e.percent ? 1 : 0);
        EXPECT_EQ(p.flags, 0);
        break;
    case Kind::popup:
        EXPECT_EQ(u.pd.value, e.default_item);
        EXPECT_EQ(u.pd.dephault, e.default_item);
        ASSERT_NE(u.pd.u_names, nullptr);
        EXPECT_STREQ(u.pd.u_names, e.items);
        EXPECT_EQ(u.pd.num_choices, std::count(e.items, e.items + std::strlen(e.items), '|') + 1);
        EXPECT_EQ(p.flags, e.on ? 0x40 : 0);
        break;
    case Kind::checkbox:
        EXPECT_EQ(u.bd.value, e.on ? 1 : 0);
        EXPECT_EQ(u.bd.dephault, e.on ? 1 : 0);
        ASSERT_NE(u.bd.nameptr, nullptr);
        EXPECT_STREQ(u.bd.nameptr, "");
        break;
    case Kind::colour:
        EXPECT_EQ(u.cd.value.alpha, 255);
        EXPECT_EQ(u.cd.value.red, e.colour.red);
        EXPECT_EQ(u.cd.value.green, e.colour.green);
        EXPECT_EQ(u.cd.value.blue, e.colour.blue);
        EXPECT_EQ(std::memcmp(&u.cd.value, &u.cd.dephault, sizeof(PF_Pixel)), 0);
        break;
    case Kind::point:
        EXPECT_EQ(u.td.x_value, e.point.x << 16);
        EXPECT_EQ(u.td.y_value, e.point.y << 16);
        EXPECT_EQ(u.td.x_dephault, e.point.x << 16);
        EXPECT_EQ(u.td.y_dephault, e.point.y << 16);
        EXPECT_EQ(u.td.restrict_bounds, 0);
        break;
    case Kind::angle:
        EXPECT_EQ(u.ad.value, 0);
        EXPECT_EQ(u.ad.dephault, 0);
        EXPECT_EQ(p.flags, 0x20);
        break;
    case Kind::group_start:
        EXPECT_EQ(p.flags, e.on ? 0x20 : 0);
        break;
    case Kind::layer:
        EXPECT_EQ(u.ld.dephault, PF_LayerDefault_NONE);
        break;
    case Kind::group_end:
        EXPECT_EQ(p.flags, 0);
        break;
    }
}

using ParamRegistrationTest = EffectHostTest;

TEST_F(ParamRegistrationTest, RegistersThePublishedTableInOrder)
{
    ASSERT_EQ(std::size(expected_params), 93u);
    EXPECT_EQ(host.out_data().num_params, 94);
    ASSERT_EQ(host.params().size(), 94u);
    for (const Expected& e : expected_params) {
        expect_entry(e, host.params()[static_cast<std::size_t>(e.index)]);
        EXPECT_EQ(kyrox::param_index_of(e.id), e.index);
    }
    for (const minihost::AddedParam& added : host.log().added_params) {
        EXPECT_EQ(added.index, -1);
    }
}

TEST_F(ParamRegistrationTest, IndexTableCoversTheLargestIdAndMapsOthersToZero)
{
    EXPECT_EQ(kyrox::param_index_table_size(), 1135u);
    EXPECT_EQ(kyrox::param_index_of(114), 1);
    EXPECT_EQ(kyrox::param_index_of(133), 93);
    for (const A_long unknown : {0, 1, 2, 12, 15, 1000, 1078, 1133, 1135, 5000, -1}) {
        EXPECT_EQ(kyrox::param_index_of(unknown), 0) << unknown;
    }
}

TEST_F(ParamRegistrationTest, SecondSetUpGivesTheSameIndicesAndKeepsEarlierPopupTexts)
{
    std::vector<PF_ParamIndex> first;
    for (const Expected& e : expected_params) {
        first.push_back(kyrox::param_index_of(e.id));
    }
    const char* first_items = param(114).u.pd.u_names;
    const std::size_t texts = kyrox::popup_item_count();

    ASSERT_EQ(host.params_setup(), PF_Err_NONE);
    EXPECT_EQ(host.out_data().num_params, 94);
    EXPECT_EQ(kyrox::popup_item_count(), texts + 8);
    EXPECT_EQ(kyrox::param_index_table_size(), 1135u);
    for (std::size_t i = 0; i < std::size(expected_params); ++i) {
        EXPECT_EQ(kyrox::param_index_of(expected_params[i].id), first[i]);
    }
    // The host may still hold the texts of the first set-up.
    EXPECT_STREQ(first_items, expected_params[0].items);
}

TEST(PopupItemStrings, TextsStayInPlaceWhenTheListGrowsPastItsReservation)
{
    kyrox::reserve_popup_item_strings();
    const char* first = kyrox::store_popup_items("A|B");
    for (int i = 0; i < 300; ++i) {
        kyrox::store_popup_items("x");
    }
    EXPECT_STREQ(first, "A|B");
}

// A host that only answers parameter adds and checkouts, to drive the add operations and readers
// directly.
struct RecordingHost {
    static inline std::vector<PF_ParamDef> added;
    static inline PF_ParamDef checkout_value{};
    static inline bool checkout_fails = false;

    static PF_Err add_param(PF_ProgPtr, PF_ParamIndex, PF_ParamDefPtr def)
    {
        added.push_back(*def);
        return PF_Err_NONE;
    }
    static PF_Err checkout(PF_ProgPtr, PF_ParamIndex, A_long, A_long, A_u_long, PF_ParamDef* def)
    {
        if (checkout_fails) {
            return PF_Err_INVALID_INDEX;
        }
        *def = checkout_value;
        return PF_Err_NONE;
    }
    static PF_Err checkin(PF_ProgPtr, PF_ParamDef*) { return PF_Err_NONE; }
    static A_char* copy(A_char* dest, const A_char* src) { return std::strcpy(dest, src); }

    RecordingHost()
    {
        added.clear();
        checkout_value = PF_ParamDef{};
        checkout_fails = false;
        in_data.inter = {&checkout, &checkin, &add_param};
        utils.ansi.strcpy = &copy;
        in_data.utils = &utils;
        context.in_data = &in_data;
        context.out_data = &out_data;
    }

    PF_InData in_data{};
    PF_OutData out_data{};
    PF_UtilCallbacks utils{};
    kyrox::CommandContext context;
};

TEST(ParamAdd, PopupWithoutBarHasOneChoice)
{
    RecordingHost recorder;
    kyrox::add_popup_param(recorder.context, 7000, "Only", "Single", 1, false);
    ASSERT_EQ(RecordingHost::added.size(), 1u);
    EXPECT_EQ(RecordingHost::added[0].u.pd.num_choices, 1);
    EXPECT_EQ(recorder.out_data.num_params, 1);
    EXPECT_EQ(kyrox::param_index_of(7000), 1);
}

TEST(ParamAdd, SliderRangeScalesByTheFractionAndKeepsANonNegativeMinimum)
{
    RecordingHost recorder;
    kyrox::add_float_param(recorder.context, 7001, "Signed", -200, 200, 1.5f, 2, 0.01f, false);
    kyrox::add_float_param(recorder.context, 7002, "Positive", 2, 10, 3, 1, 0.5f, true);
    ASSERT_EQ(RecordingHost::added.size(), 2u);
    const PF_FloatSliderDef& s = RecordingHost::added[0].u.fs_d;
    EXPECT_FLOAT_EQ(s.slider_min, -2.0f);
    EXPECT_FLOAT_EQ(s.slider_max, 2.0f);
    EXPECT_EQ(s.value, static_cast<double>(1.5f));
    const PF_FloatSliderDef& p = RecordingHost::added[1].u.fs_d;
    EXPECT_EQ(p.slider_min, 2.0f);
    EXPECT_EQ(p.slider_max, 5.0f);
    EXPECT_EQ(p.display_flags, 1);
    EXPECT_EQ(recorder.out_data.num_params, 2);
    EXPECT_EQ(kyrox::param_index_of(7002), 2);
}

TEST(ParamReaders, ConvertTheHostValues)
{
    RecordingHost recorder;
    PF_ParamDef& value = RecordingHost::checkout_value;

    value.u.ad.value = 90 << 16;
    EXPECT_EQ(kyrox::get_angle_param(recorder.context, 119), 1.5707964f);
    value.u.ad.value = -(45 << 16) - (1 << 15);  // -45.5 degrees
    EXPECT_FLOAT_EQ(kyrox::get_angle_param(recorder.context, 119), -45.5f * 0.017453292f);

    value = PF_ParamDef{};
    value.u.fs_d.value = 67.63999999999997;
    EXPECT_EQ(kyrox::get_float_param(recorder.context, 62), 67.64f);

    value = PF_ParamDef{};
    value.u.pd.value = 3;
    EXPECT_EQ(kyrox::get_popup_param(recorder.context, 109), 3);

    value = PF_ParamDef{};
    value.u.bd.value = 2;
    EXPECT_TRUE(kyrox::get_checkbox_param(recorder.context, 99));
    value.u.bd.value = 0;
    EXPECT_FALSE(kyrox::get_checkbox_param(recorder.context, 99));
}

TEST(ParamReaders, FailedCheckoutReadsAsZero)
{
    RecordingHost recorder;
    RecordingHost::checkout_value.u.fs_d.value = 5;
    RecordingHost::checkout_fails = true;
    EXPECT_EQ(kyrox::get_float_param(recorder.context, 4), 0.0f);
    EXPECT_EQ(kyrox::get_angle_param(recorder.context, 89), 0.0f);
    EXPECT_EQ(kyrox::get_popup_param(recorder.context, 109), 0);
    EXPECT_FALSE(kyrox::get_checkbox_param(recorder.context, 99));
}

TEST_F(ParamRegistrationTest, ReadersCheckOutAtTheCurrentTimeAndCheckBackIn)
{
    host.in_data().current_time = 48;
    host.in_data().time_step = 2;
    host.in_data().time_scale = 24;
    host.log().clear();
    host.update_params_ui();  // reads Core Type through the readers
    ASSERT_FALSE(host.log().param_checkouts.empty());
    const minihost::ParamCheckout& checkout = host.log().param_checkouts.front();
    EXPECT_EQ(checkout.index, kyrox::param_index_of(109));
    EXPECT_EQ(checkout.what_time, 48);
    EXPECT_EQ(checkout.time_step, 2);
    EXPECT_EQ(checkout.time_scale, 24u);
    EXPECT_EQ(host.log().param_checkins.size(), host.log().param_checkouts.size());
}

}  // namespace
