#include <gtest/gtest.h>

#include <algorithm>

#include "effect_host_fixture.h"
#include "plugin/host/parameters.h"

namespace {

struct VisibilityCase {
    A_long core_type;
    bool core_points_hidden;
    bool mask_evolution_hidden;
    bool text_params_hidden;
};

const VisibilityCase visibility_cases[] = {
    {1, false, true, true},
    {2, true, false, true},
    {3, true, false, false},
};

constexpr A_long shown_ids[] = {6, 7, 119, 132, 133};

class ParamVisibilityTest : public EffectHostTest, public ::testing::WithParamInterface<VisibilityCase> {
protected:
    bool expected_hidden(A_long id) const
    {
        const VisibilityCase& c = GetParam();
        switch (id) {
        case 6:
        case 7:
            return c.core_points_hidden;
        case 119:
            return c.mask_evolution_hidden;
        default:
            return c.text_params_hidden;
        }
    }

    void choose_core_type() { param(109).u.pd.value = GetParam().core_type; }

    void expect_everything_released()
    {
        const auto& calls = host.log().calls;
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "AEGP_GetNewEffectForEffect"), 1);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "AEGP_DisposeEffect"), 1);
        EXPECT_EQ(host.param_state().open_effects(), 0u);
        EXPECT_EQ(host.param_state().open_streams(), 0u);
        EXPECT_EQ(host.outstanding_suites(), 0u);
    }
};

TEST_P(ParamVisibilityTest, ParamUtilsPathSetsTheUiFlagsOfTheFiveParameters)
{
    // Flags left from earlier updates must not survive.
    for (const A_long id : shown_ids) {
        param(id).ui_flags = 0x20 | 0x4;
    }
    choose_core_type();
    ASSERT_EQ(host.update_params_ui(), PF_Err_NONE);

    const auto& updates = host.param_state().ui_updates;
    ASSERT_EQ(updates.size(), std::size(shown_ids));
    for (std::size_t i = 0; i < std::size(shown_ids); ++i) {
        const A_long id = shown_ids[i];
        SCOPED_TRACE(id);
        EXPECT_EQ(updates[i].index, kyrox::param_index_of(id));
        EXPECT_EQ(updates[i].flags, 0x20);
        EXPECT_EQ(param(id).ui_flags, expected_hidden(id) ? 0x20 : 0);
        EXPECT_FALSE(host.param_state().stream_hidden(kyrox::param_index_of(id)));
    }
    EXPECT_EQ(param(99).ui_flags, 0);  // others untouched
    expect_everything_released();
}

TEST_P(ParamVisibilityTest, StreamPathSetsTheHiddenFlagWhenParamUtilsIsMissing)
{
    host.set_suite_missing(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);
    choose_core_type();
    ASSERT_EQ(host.update_params_ui(), PF_Err_NONE);

    EXPECT_TRUE(host.param_state().ui_updates.empty());
    // Each call asks for the preferred suite again before it falls back.
    std::size_t param_utils_asked = 0;
    for (const minihost::SuiteCall& call : host.log().suites) {
        param_utils_asked += call.kind == minihost::SuiteCall::Kind::acquire && call.name == kPFParamUtilsSuite ? 1 : 0;
    }
    EXPECT_EQ(param_utils_asked, std::size(shown_ids));
    for (const A_long id : shown_ids) {
        SCOPED_TRACE(id);
        EXPECT_EQ(host.param_state().stream_hidden(kyrox::param_index_of(id)), expected_hidden(id));
        EXPECT_EQ(param(id).ui_flags, 0);
    }
    expect_everything_released();
}

INSTANTIATE_TEST_SUITE_P(CoreTypes, ParamVisibilityTest, ::testing::ValuesIn(visibility_cases),
                         [](const ::testing::TestParamInfo<VisibilityCase>& case_info) {
                             return "CoreType" + std::to_string(case_info.param.core_type);
                         });

TEST_F(EffectHostTest, StreamPathShowsAgainWhatItHid)
{
    host.set_suite_missing(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);
    param(109).u.pd.value = 2;
    ASSERT_EQ(host.update_params_ui(), PF_Err_NONE);
    ASSERT_TRUE(host.param_state().stream_hidden(kyrox::param_index_of(6)));
    param(109).u.pd.value = 1;
    ASSERT_EQ(host.update_params_ui(), PF_Err_NONE);
    EXPECT_FALSE(host.param_state().stream_hidden(kyrox::param_index_of(6)));
    EXPECT_TRUE(host.param_state().stream_hidden(kyrox::param_index_of(119)));
}

}  // namespace
