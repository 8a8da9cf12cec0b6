#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/host/command_dispatch.h"
#include "tests/host/plugin_host.h"

namespace {

using kyrox::testing_support::instance_of;
using kyrox::testing_support::PluginHostTest;
using minihost::SuiteCall;

constexpr const char* expected_about =
    "Kyrox v1.0.39\n\nwww.ostrivale.com\n\nCopyright (c) Ostrivale. All rights reserved.";

TEST_F(PluginHostTest, GlobalSetupReportsVersionAndBothFlagWords)
{
    EXPECT_EQ(host.out_data().my_version, 0x80027u);
    EXPECT_EQ(host.out_data().out_flags, 0x2080604);
    EXPECT_EQ(host.out_data().out_flags2, 0x81489);
}

TEST_F(PluginHostTest, GlobalSetupWritesTheBannerWithoutLineEnd)
{
    EXPECT_EQ(banner, "## Kyrox 1.0.39");
}

TEST(GlobalSetup, RegistersAsksForTheWindowAndTheRenderEngineThenReleasesTheSuites)
{
    minihost::Host host{&kyrox::plugin_entry};
    host.settings().plugin_id = 4711;
    host.settings().render_engine = 1;
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(host.global_setup(), PF_Err_NONE);
    ::testing::internal::GetCapturedStderr();

    const kyrox::AePluginConnection& instance = *instance_of(host);
    EXPECT_EQ(instance.plugin_id, 4711);
    EXPECT_EQ(instance.main_window, host.settings().main_window);
    EXPECT_TRUE(instance.render_engine);
    EXPECT_EQ(host.log().registrations, std::vector<std::string>{"Kyrox"});
    EXPECT_EQ(host.log().calls,
              (std::vector<std::string>{"host_new_handle", "AcquireSuite", "AEGP_RegisterWithAEGP", "get_platform_data",
                                        "AcquireSuite", "PF_IsRenderEngine", "ReleaseSuite", "ReleaseSuite"}));
    EXPECT_EQ(host.log().suites, (std::vector<SuiteCall>{
                                     {SuiteCall::Kind::acquire, "AEGP Utility Suite", 10},
                                     {SuiteCall::Kind::acquire, "PF AE App Suite", 6},
                                     {SuiteCall::Kind::release, "AEGP Utility Suite", 10},
                                     {SuiteCall::Kind::release, "PF AE App Suite", 6},
                                 }));
    EXPECT_EQ(host.global_setdown(), PF_Err_NONE);
}

TEST(GlobalSetup, HostWithoutARelied_OnSuiteGetsAnErrorNotAFault)
{
    for (const auto& [name, version] : {std::pair{"AEGP Utility Suite", 10}, std::pair{"PF AE App Suite", 6}}) {
        SCOPED_TRACE(name);
        minihost::Host host{&kyrox::plugin_entry};
        host.set_suite_missing(name, version);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(host.global_setup(), PF_Err_INVALID_CALLBACK);
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(host.outstanding_suites(), 0u);
        EXPECT_EQ(host.global_setdown(), PF_Err_NONE);
        EXPECT_EQ(host.live_handles(), 0u);
    }
}

TEST_F(PluginHostTest, AboutAppendsNameVersionAddressAndRights)
{
    EXPECT_EQ(host.about(), PF_Err_NONE);
    EXPECT_STREQ(host.out_data().return_msg, expected_about);
    EXPECT_EQ(kyrox::version_text(), "v1.0.39");
}

TEST_F(PluginHostTest, AboutKeepsWhatTheMessageHeldAndStaysWithinIt)
{
    std::strcpy(host.out_data().return_msg, "Host: ");
    EXPECT_EQ(host.about(), PF_Err_NONE);
    EXPECT_EQ(std::string(host.out_data().return_msg), std::string("Host: ") + expected_about);

    std::memset(host.out_data().return_msg, 'x', 250);
    host.out_data().return_msg[250] = '\0';
    EXPECT_EQ(host.about(), PF_Err_NONE);
    EXPECT_EQ(std::string(host.out_data().return_msg), std::string(250, 'x') + "Kyrox");
}

}  // namespace
