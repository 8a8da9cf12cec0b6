#pragma once

#include <gtest/gtest.h>

#include "minihost/host.h"
#include "plugin/host/plugin_entry.h"

// The effect in the small host after global and parameter set-up.
class EffectHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(host.global_setup(), PF_Err_NONE);
        ASSERT_EQ(host.params_setup(), PF_Err_NONE);
    }
    void TearDown() override { host.global_setdown(); }

    PF_ParamDef& param(A_long id) { return minihost::param_by_id(host, id); }

    minihost::Host host{&kyrox::plugin_entry};
};
