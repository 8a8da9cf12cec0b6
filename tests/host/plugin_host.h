#pragma once

#include <gtest/gtest.h>

#include <string>

#include "minihost/host.h"
#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/command_dispatch.h"

namespace kyrox::testing_support {

// The instance the plug-in keeps in the host's global handle, or null.
inline AePluginConnection* instance_of(minihost::Host& host)
{
    PF_Handle handle = host.in_data().global_data;
    return handle != nullptr ? *static_cast<AePluginConnection**>(*handle) : nullptr;
}

// A host driving the linked plug-in entry, set up globally for each test and set down after it.
class PluginHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::testing::internal::CaptureStderr();
        const PF_Err err = host.global_setup();
        banner = ::testing::internal::GetCapturedStderr();
        ASSERT_EQ(err, PF_Err_NONE);
        ASSERT_NE(instance_of(host), nullptr);
        host.log().clear();
    }

    void TearDown() override
    {
        if (host.in_data().global_data != nullptr) {
            EXPECT_EQ(host.global_setdown(), PF_Err_NONE);
        }
        EXPECT_EQ(host.live_handles(), 0u);
        EXPECT_EQ(host.outstanding_suites(), 0u);
    }

    AePluginConnection& instance() { return *instance_of(host); }

    minihost::Host host{&plugin_entry};
    std::string banner;
};

}  // namespace kyrox::testing_support
