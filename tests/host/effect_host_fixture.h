#pragma once

#include "minihost/effect_params.h"
#include "plugin_host.h"

// The effect in the small host after global and parameter set-up.
class EffectHostTest : public kyrox::testing_support::PluginHostTest {
protected:
    void SetUp() override
    {
        PluginHostTest::SetUp();
        ASSERT_EQ(host.params_setup(), PF_Err_NONE);
    }

    PF_ParamDef& param(A_long id) { return minihost::param_by_id(host, id); }
};
