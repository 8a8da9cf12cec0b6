#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "minihost/effect_params.h"
#include "minihost/host.h"
#include "minihost/output_capture.h"
#include "minihost/param_listing.h"
#include "minihost/plugin_module.h"

namespace {

// The built plug-in file: choosing a preset by name as a user does, and the parameter listing.
TEST(PluginFile, AppliesAPresetChosenByNameAndListsTheParameters)
{
    const minihost::PluginModule module(KYROX_PLUGIN_PATH);
    minihost::Host host(module.entry());
    minihost::StderrCapture banner;
    ASSERT_EQ(host.global_setup(), PF_Err_NONE);
    banner.finish();
    ASSERT_EQ(host.params_setup(), PF_Err_NONE);

    PF_Err error = PF_Err_INTERNAL_STRUCT_DAMAGED;
    ASSERT_TRUE(minihost::choose_preset(host, "Tractor Beam", error));
    EXPECT_EQ(error, PF_Err_NONE);
    EXPECT_EQ(host.param_state().changed_count(), 50u);
    EXPECT_EQ(minihost::param_by_id(host, 114).u.pd.value, 45);
    const PF_Pixel colour = minihost::param_by_id(host, 3).u.cd.value;
    EXPECT_EQ(colour.red, 152);
    EXPECT_EQ(colour.green, 194);
    EXPECT_EQ(colour.blue, 246);
    EXPECT_DOUBLE_EQ(minihost::param_by_id(host, 4).u.fs_d.value, 392.0);
    EXPECT_FALSE(minihost::choose_preset(host, "No Such Look", error));

    std::ostringstream listing;
    minihost::print_params(listing, host);
    const std::string text = listing.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 93);
    EXPECT_NE(text.find("Glow Intensity Multiplier"), std::string::npos);

    EXPECT_EQ(host.global_setdown(), PF_Err_NONE);
    EXPECT_EQ(host.outstanding_suites(), 0u);
}

}  // namespace
