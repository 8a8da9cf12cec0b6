#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "minihost/host.h"

namespace {

// A stand-in plug-in that exercises the host's records: it adds a parameter, checks it out, asks
// for suites (one the host lacks) and checks out both smart-render buffers.
PF_Err probe_entry(PF_Cmd cmd, PF_InData* in_data, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, void* extra)
{
    if (cmd == PF_Cmd_PARAMS_SETUP) {
        PF_ParamDef def{};
        in_data->utils->ansi.strcpy(def.name, "Probe");
        def.param_type = PF_Param_CHECKBOX;
        def.uu.id = 99;
        def.u.bd.value = 1;
        in_data->inter.add_param(in_data->effect_ref, -1, &def);
        PF_ParamDef copy{};
        in_data->inter.checkout_param(in_data->effect_ref, 1, 5, 1, 24, &copy);
        in_data->inter.checkin_param(in_data->effect_ref, &copy);
        return copy.u.bd.value == 1 ? PF_Err_NONE : PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    if (cmd == PF_Cmd_ABOUT) {
        const void* suite = nullptr;
        in_data->pica_basicP->AcquireSuite(kAEGPLayerSuite, kAEGPLayerSuiteVersion11, &suite);
        const void* missing = nullptr;
        const SPErr err = in_data->pica_basicP->AcquireSuite(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, &missing);
        in_data->pica_basicP->ReleaseSuite(kAEGPLayerSuite, kAEGPLayerSuiteVersion11);
        return suite != nullptr && missing == nullptr && err != kSPNoError ? PF_Err_NONE : PF_Err_INVALID_CALLBACK;
    }
    if (cmd == PF_Cmd_SMART_RENDER) {
        auto* smart = static_cast<PF_SmartRenderExtra*>(extra);
        PF_EffectWorld* input = nullptr;
        PF_EffectWorld* output = nullptr;
        smart->cb->checkout_layer_pixels(in_data->effect_ref, 0, &input);
        smart->cb->checkout_output(in_data->effect_ref, &output);
        return input != nullptr && output != nullptr && input != output ? PF_Err_NONE : PF_Err_INVALID_CALLBACK;
    }
    return PF_Err_NONE;
}

TEST(CallRecording, RecordsParametersSuitesAndCheckoutsInOrder)
{
    minihost::Host host(&probe_entry);
    host.set_suite_missing(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);

    ASSERT_EQ(host.params_setup(), PF_Err_NONE);
    ASSERT_EQ(host.log().added_params.size(), 1u);
    EXPECT_EQ(host.log().added_params[0].index, -1);
    EXPECT_STREQ(host.log().added_params[0].def.name, "Probe");
    EXPECT_EQ(host.log().added_params[0].def.uu.id, 99);
    ASSERT_EQ(host.params().size(), 2u);
    ASSERT_EQ(host.log().param_checkouts.size(), 1u);
    EXPECT_EQ(host.log().param_checkouts[0].what_time, 5);

    ASSERT_EQ(host.about(), PF_Err_NONE);
    EXPECT_EQ(host.outstanding_suites(), 0u);
    EXPECT_EQ(host.log().suites.size(), 3u);
    EXPECT_EQ(host.log().suites[1].name, kPFParamUtilsSuite);

    ASSERT_EQ(host.smart_render(8), PF_Err_NONE);
    EXPECT_EQ(host.log().pixel_checkouts, (std::vector<A_long>{0, -1}));
    EXPECT_EQ(host.log().calls,
              (std::vector<std::string>{"strcpy", "add_param", "checkout_param", "checkin_param", "AcquireSuite",
                                        "AcquireSuite", "ReleaseSuite", "checkout_layer_pixels", "checkout_output"}));
}

PF_Err call_trapped_function(PF_Cmd, PF_InData* in_data, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, void*)
{
    const void* suite = nullptr;
    in_data->pica_basicP->AcquireSuite(kAEGPLayerSuite, kAEGPLayerSuiteVersion12, &suite);
    AEGP_LayerFlags flags = 0;
    static_cast<const AEGP_LayerSuite*>(suite)->AEGP_GetLayerFlags(nullptr, &flags);
    return PF_Err_NONE;
}

TEST(CallRecordingDeathTest, AFunctionNoPartOfTheHostImplementsFailsLoudly)
{
    minihost::Host host(&call_trapped_function);
    EXPECT_DEATH(host.about(), "AEGP_GetLayerFlags");
}

}  // namespace
