#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "scene_fixture.h"

namespace {

AEGP_MaskVertex mask_corner(double x, double y)
{
    return {x, y, 0.0, 0.0, 0.0, 0.0};
}

minihost::MaskShape rectangle(double x, double y, double w, double h)
{
    minihost::MaskShape shape;
    shape.vertices = {mask_corner(x, y), mask_corner(x + w, y), mask_corner(x + w, y + h), mask_corner(x, y + h)};
    return shape;
}

minihost::AnimatedMask still(minihost::MaskShape shape)
{
    minihost::AnimatedMask mask;
    mask.keys.push_back({0, std::move(shape)});
    return mask;
}

PF_PathVertex glyph_corner(double x, double y)
{
    return {x, y, x, y, x, y};
}

minihost::TextPath glyph_square(double x, double y, double side, bool open = false)
{
    minihost::TextPath path;
    path.vertices = {glyph_corner(x, y), glyph_corner(x + side, y), glyph_corner(x + side, y + side),
                     glyph_corner(x, y + side)};
    path.open = open;
    return path;
}

class MaskPathTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        set_popup(ids::core_type, 2);
        set_float(ids::core_size, 10.0);
    }
};

TEST_F(MaskPathTest, ClosedMaskIsOnePieceAroundIt)
{
    host.scene().masks.push_back(still(rectangle(10, 20, 100, 50)));
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.paths.size(), 1u);
    const std::vector<kyrox::PathPoint>& piece = scene.paths[0];
    // Perimeter 300 px: 50 + 25 + 50 + 25 points, plus the closing point.
    EXPECT_EQ(piece.size(), 151u);
    EXPECT_FLOAT_EQ(piece.front().x, 10.0f);
    EXPECT_FLOAT_EQ(piece.front().y, 20.0f);
    EXPECT_FLOAT_EQ(piece.back().x, 10.0f);
    EXPECT_FLOAT_EQ(piece.front().half_width, 10.0f);
}

TEST_F(MaskPathTest, OpenMaskOfOneStraightSegment)
{
    minihost::MaskShape line;
    line.vertices = {mask_corner(0, 0), mask_corner(100, 0)};
    line.open = true;
    host.scene().masks.push_back(still(line));
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.paths.size(), 1u);
    EXPECT_EQ(scene.paths[0].size(), 50u);
    EXPECT_FLOAT_EQ(scene.paths[0][1].x, 2.0f);
}

TEST_F(MaskPathTest, EveryMaskIsGatheredAtHalfResolutionInDownsampledPixels)
{
    host.scene().masks.push_back(still(rectangle(0, 0, 100, 100)));
    host.scene().masks.push_back(still(rectangle(200, 200, 10, 10)));
    set_downsample(1, 2);
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.paths.size(), 2u);
    EXPECT_FLOAT_EQ(scene.paths[1].front().x, 100.0f);
    EXPECT_EQ(scene.paths[0].size(), 201u);
}

TEST_F(MaskPathTest, AnimatedMaskIsReadAtTheFramesTime)
{
    minihost::AnimatedMask mask;
    mask.keys.push_back({0, rectangle(0, 0, 100, 100)});
    mask.keys.push_back({10, rectangle(50, 0, 100, 100)});
    host.scene().masks.push_back(mask);
    host.in_data().current_time = 5;
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.paths.size(), 1u);
    EXPECT_FLOAT_EQ(scene.paths[0].front().x, 25.0f);
}

TEST_F(MaskPathTest, StartRoundnessZeroGivesTheSmallestCap)
{
    host.scene().masks.push_back(still(rectangle(0, 0, 100, 100)));
    set_float(ids::start_roundness, 0.0);
    set_float(ids::end_roundness, 0.0);
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.paths.size(), 1u);
    EXPECT_NEAR(scene.paths[0].front().cap_length, 0.0009f * 10.0f, 1e-7f);
}

TEST_F(MaskPathTest, TaperFollowsOffsetSize)
{
    host.scene().masks.push_back(still(rectangle(0, 0, 250, 250)));
    set_float(ids::start_size, 100.0);
    set_float(ids::end_size, 0.0);
    set_float(ids::start_offset, 20.0);
    set_float(ids::end_offset, 80.0);

    set_checkbox(ids::offset_size, true);
    kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.paths.size(), 1u);
    EXPECT_NEAR(scene.paths[0].front().half_width, 10.0f, 1e-3f);
    EXPECT_NEAR(scene.paths[0].back().half_width, 0.0f, 1e-3f);

    set_checkbox(ids::offset_size, false);
    scene = gather();
    ASSERT_EQ(scene.paths.size(), 1u);
    EXPECT_NEAR(scene.paths[0].front().half_width, 8.0f, 1e-3f);
    EXPECT_NEAR(scene.paths[0].back().half_width, 2.0f, 1e-3f);
}

TEST_F(MaskPathTest, EvolutionMinusNinetyDegreesStartsUAtAQuarter)
{
    host.scene().masks.push_back(still(rectangle(0, 0, 250, 250)));
    set_angle(ids::mask_evolution, -90.0);
    set_float(ids::end_offset, 50.0);
    const kyrox::SceneRecord scene = gather();
    ASSERT_FALSE(scene.paths.empty());
    EXPECT_NEAR(scene.paths[0].back().x, 250.0f, 1e-2f);
    EXPECT_NEAR(scene.paths[0].back().y, 0.0f, 1e-2f);
}

TEST_F(MaskPathTest, BladeCoreTypeGathersNoPaths)
{
    host.scene().masks.push_back(still(rectangle(0, 0, 100, 100)));
    set_popup(ids::core_type, 1);
    EXPECT_TRUE(gather().paths.empty());
    EXPECT_EQ(std::count(host.log().calls.begin(), host.log().calls.end(), "AEGP_GetLayerNumMasks"), 0);
}

constexpr double nan_value = std::numeric_limits<double>::quiet_NaN();

struct BrokenMask {
    const char* what;
    minihost::MaskShape shape;
};

class BrokenMasks : public MaskPathTest, public ::testing::WithParamInterface<BrokenMask> {};

TEST_P(BrokenMasks, YieldNoPieceAndAreDisposed)
{
    host.scene().masks.push_back(still(GetParam().shape));
    EXPECT_TRUE(gather().paths.empty());
}

minihost::MaskShape claiming(A_long segments, bool open)
{
    minihost::MaskShape shape = rectangle(0, 0, 10, 10);
    shape.claimed_segments = segments;
    shape.open = open;
    return shape;
}

minihost::MaskShape with_vertex(AEGP_MaskVertex v)
{
    minihost::MaskShape shape = rectangle(0, 0, 10, 10);
    shape.vertices[2] = v;
    return shape;
}

INSTANTIATE_TEST_SUITE_P(
    Masks, BrokenMasks,
    ::testing::Values(BrokenMask{"no vertices", {}}, BrokenMask{"one vertex", {{mask_corner(3, 3)}, false, {}}},
                      BrokenMask{"open, one vertex", {{mask_corner(3, 3)}, true, {}}},
                      BrokenMask{"coincident", {{mask_corner(3, 3), mask_corner(3, 3), mask_corner(3, 3)}, false, {}}},
                      BrokenMask{"nan", with_vertex(mask_corner(nan_value, 0))},
                      BrokenMask{"infinite tangent",
                                 with_vertex({5, 5, std::numeric_limits<double>::infinity(), 0, 0, 0})},
                      BrokenMask{"beyond float", with_vertex(mask_corner(1e300, 0))},
                      BrokenMask{"huge closed count", claiming(2147483647, false)},
                      BrokenMask{"huge open count", claiming(2147483647, true)},
                      BrokenMask{"negative count", claiming(-5, false)}));

minihost::CompLayer& add_text_layer(minihost::Host& host, std::vector<minihost::TextPath> outlines)
{
    minihost::CompLayer layer;
    layer.id = 42;
    layer.outlines = std::move(outlines);
    layer.pixels = minihost::HostWorld(16, 16, 1);
    return minihost::choose_text_layer(host, std::move(layer));
}

class TextPathTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        set_popup(ids::core_type, 3);
        set_float(ids::core_size, 10.0);
    }

    minihost::CompLayer& add_text(std::vector<minihost::TextPath> outlines)
    {
        return add_text_layer(host, std::move(outlines));
    }
};

TEST_F(TextPathTest, NoLayerChosenGathersNothing)
{
    EXPECT_TRUE(gather().paths.empty());
    EXPECT_EQ(std::count(host.log().calls.begin(), host.log().calls.end(), "AEGP_GetNewTextOutlines"), 0);
}

TEST_F(TextPathTest, OpenOutlinesAreSkippedClosedOnesUsed)
{
    add_text({glyph_square(0, 0, 50), glyph_square(100, 0, 50, true), glyph_square(200, 0, 20)});
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.paths.size(), 2u);
    EXPECT_FLOAT_EQ(scene.paths[0].front().x, 0.0f);
    EXPECT_EQ(scene.paths[0].size(), 101u);
    EXPECT_FLOAT_EQ(scene.paths[1].front().x, 200.0f);
}

TEST_F(TextPathTest, XIsCorrectedForTheLayersPixelAspectAgainstTheComposition)
{
    minihost::CompLayer& text = add_text({glyph_square(100, 0, 50)});
    text.source_pixel_aspect = {2, 1};
    host.scene().comp_pixel_aspect = {1, 1};
    kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.paths.size(), 1u);
    EXPECT_FLOAT_EQ(scene.paths[0].front().x, 200.0f);

    text.has_source = false;
    scene = gather();
    ASSERT_EQ(scene.paths.size(), 1u);
    EXPECT_FLOAT_EQ(scene.paths[0].front().x, 100.0f);
}

TEST_F(TextPathTest, CurvedGlyphTangentsAreMadeRelative)
{
    minihost::TextPath round;
    // A circle of radius 50 around (100, 100) from four cubic arcs.
    const double k = 50.0 * 0.5523;
    round.vertices = {{150, 100, 150, 100 - k, 150, 100 + k},
                      {100, 150, 100 + k, 150, 100 - k, 150},
                      {50, 100, 50, 100 + k, 50, 100 - k},
                      {100, 50, 100 - k, 50, 100 + k, 50}};
    add_text({round});
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.paths.size(), 1u);
    for (const kyrox::PathPoint& p : scene.paths[0]) {
        EXPECT_NEAR(std::hypot(p.x - 100.0f, p.y - 100.0f), 50.0f, 0.1f);
    }
}

TEST_F(TextPathTest, LayerThatIsNotTextGivesNoPaths)
{
    minihost::CompLayer& layer = add_text({glyph_square(0, 0, 50)});
    layer.type = AEGP_ObjectType_NONE;
    EXPECT_TRUE(gather().paths.empty());
}

TEST_F(TextPathTest, EmptyAndBrokenGlyphsAreSkipped)
{
    minihost::TextPath empty;
    minihost::TextPath broken = glyph_square(0, 0, 10);
    broken.vertices[1].tan_out_x = std::numeric_limits<double>::infinity();
    add_text({empty, broken, glyph_square(100, 0, 10)});
    const kyrox::SceneRecord scene = gather();
    ASSERT_EQ(scene.paths.size(), 1u);
    EXPECT_FLOAT_EQ(scene.paths[0].front().x, 100.0f);
}

// How many calls the host refused since the test began. The host's functions carry no context of
// their own, so the refusing stand-ins count here.
int refused_calls = 0;

template <class... Args>
A_Err refuse_call(Args...)
{
    ++refused_calls;
    return PF_Err_BAD_CALLBACK_PARAM;
}

// Points a suite slot at a stand-in that fails and gives nothing back.
template <class... Args>
void refuse(A_Err (*&slot)(Args...))
{
    slot = &refuse_call<Args...>;
}

// Copies of the host's suites that the outlines are fetched through, in place of its own.
struct FetchSuites {
    AEGP_PFInterfaceSuite pf_interface;
    AEGP_StreamSuite stream;
    AEGP_LayerSuite layer;
    AEGP_TextLayerSuite text_layer;
    AEGP_LayerMaskSuite layer_mask;
};

struct FailingStep {
    const char* call;
    A_long core_type;  // 2 fetches masks, 3 text
    void (*refuse_step)(FetchSuites&);
};

class FailingFetchStep : public SceneTest, public ::testing::WithParamInterface<FailingStep> {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        refused_calls = 0;
        set_popup(ids::core_type, GetParam().core_type);
        set_float(ids::core_size, 10.0);
        host.scene().masks.push_back(still(rectangle(0, 0, 100, 100)));
        add_text_layer(host, {glyph_square(0, 0, 50)});
        copy_suite(suites_.pf_interface, kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1);
        copy_suite(suites_.stream, kAEGPStreamSuite, kAEGPStreamSuiteVersion7);
        copy_suite(suites_.layer, kAEGPLayerSuite, kAEGPLayerSuiteVersion11);
        copy_suite(suites_.text_layer, kAEGPTextLayerSuite, kAEGPTextLayerSuiteVersion1);
        copy_suite(suites_.layer_mask, kAEGPLayerMaskSuite, kAEGPLayerMaskSuiteVersion6);
        GetParam().refuse_step(suites_);
    }

    std::ptrdiff_t calls_to(const char* name)
    {
        return std::count(host.log().calls.begin(), host.log().calls.end(), name);
    }

private:
    template <class Suite>
    void copy_suite(Suite& copy, const char* name, A_long version)
    {
        const void* table = nullptr;
        SPErr acquired = kSPNoError;
        host.run_as_command([&] {
            SPBasicSuite& basic = *host.in_data().pica_basicP;
            acquired = basic.AcquireSuite(name, version, &table);
            if (acquired == kSPNoError) {
                copy = *static_cast<const Suite*>(table);
                basic.ReleaseSuite(name, version);
            }
        });
        ASSERT_EQ(acquired, kSPNoError);
        host.provide_suite(name, version, &copy);
    }

    FetchSuites suites_{};
};

// Whatever the host gave before the refused call goes back once: a leak stays open in the host, a
// second disposal stops it.
TEST_P(FailingFetchStep, GivesNoPathsAndDisposesEachObjectOnce)
{
    EXPECT_TRUE(gather().paths.empty());
    EXPECT_EQ(refused_calls, 1);
    EXPECT_EQ(calls_to("AEGP_DisposeEffect"), calls_to("AEGP_GetNewEffectForEffect"));
    EXPECT_EQ(calls_to("AEGP_DisposeStream"),
              calls_to("AEGP_GetNewEffectStreamByIndex") + calls_to("AEGP_GetNewMaskStream"));
    EXPECT_EQ(calls_to("AEGP_DisposeStreamValue"), calls_to("AEGP_GetNewStreamValue"));
    EXPECT_EQ(calls_to("AEGP_DisposeTextOutlines"), calls_to("AEGP_GetNewTextOutlines"));
    EXPECT_EQ(calls_to("AEGP_DisposeMask"), calls_to("AEGP_GetLayerMaskByIndex"));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FailingFetchStep,
    ::testing::Values(
        FailingStep{"effect", 3, [](FetchSuites& s) { refuse(s.pf_interface.AEGP_GetNewEffectForEffect); }},
        FailingStep{"effect_stream", 3, [](FetchSuites& s) { refuse(s.stream.AEGP_GetNewEffectStreamByIndex); }},
        FailingStep{"text_layer_value", 3, [](FetchSuites& s) { refuse(s.stream.AEGP_GetNewStreamValue); }},
        FailingStep{"text_layer", 3, [](FetchSuites& s) { refuse(s.layer.AEGP_GetLayerFromLayerID); }},
        FailingStep{"text_outlines", 3, [](FetchSuites& s) { refuse(s.text_layer.AEGP_GetNewTextOutlines); }},
        FailingStep{"mask", 2, [](FetchSuites& s) { refuse(s.layer_mask.AEGP_GetLayerMaskByIndex); }},
        FailingStep{"mask_stream", 2, [](FetchSuites& s) { refuse(s.stream.AEGP_GetNewMaskStream); }},
        FailingStep{"mask_value", 2, [](FetchSuites& s) { refuse(s.stream.AEGP_GetNewStreamValue); }}),
    [](const ::testing::TestParamInfo<FailingStep>& row) { return std::string(row.param.call); });

}  // namespace
