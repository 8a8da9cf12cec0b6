#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "plugin/host/suite_handler.h"

namespace {

using kyrox::suite_handler;
using kyrox::SuiteId;

struct BasicCall {
    bool acquire;
    std::string name;
    A_long version;
    bool operator==(const BasicCall&) const = default;
};

// A basic suite that hands out a distinct table address per (name, version), except for one
// pair it lacks, and records each call.
struct FakeBasicSuite {
    static std::vector<BasicCall>& calls()
    {
        static std::vector<BasicCall> list;
        return list;
    }
    static std::pair<std::string, A_long>& missing()
    {
        static std::pair<std::string, A_long> pair;
        return pair;
    }
    static const void* table_for(A_long version) { return reinterpret_cast<const void*>(0x1000 + version * 16); }

    static SPErr acquire(const char* name, A_long version, const void** suite)
    {
        calls().push_back({true, name, version});
        const bool lacks = missing() == std::pair<std::string, A_long>{name, version};
        *suite = lacks ? nullptr : table_for(version);
        return lacks ? -1 : kSPNoError;
    }
    static SPErr release(const char* name, A_long version)
    {
        calls().push_back({false, name, version});
        return kSPNoError;
    }

    FakeBasicSuite()
    {
        calls().clear();
        missing() = {};
    }

    SPBasicSuite basic{&acquire, &release};
};

TEST(SuiteHandler, AcquiresEachPairOnceAndReleasesItOnce)
{
    FakeBasicSuite fake;
    {
        suite_handler suites(&fake.basic);
        const AEGP_LayerSuite* first = suites.layer_11();
        EXPECT_EQ(suites.layer_11(), first);
        EXPECT_EQ(static_cast<const void*>(first), FakeBasicSuite::table_for(11));
        EXPECT_EQ(FakeBasicSuite::calls().size(), 1u);
    }
    EXPECT_EQ(FakeBasicSuite::calls(),
              (std::vector<BasicCall>{{true, "AEGP Layer Suite", 11}, {false, "AEGP Layer Suite", 11}}));
}

TEST(SuiteHandler, TwoVersionsOfOneSuiteTakeTwoSlotsAndAreReleasedInSlotOrder)
{
    FakeBasicSuite fake;
    {
        suite_handler suites(&fake.basic);
        suites.mask_outline();
        suites.layer_12();
        suites.utility();
        suites.layer_11();
        EXPECT_NE(static_cast<const void*>(suites.layer_11()), static_cast<const void*>(suites.layer_12()));
        FakeBasicSuite::calls().clear();
    }
    EXPECT_EQ(FakeBasicSuite::calls(), (std::vector<BasicCall>{{false, "AEGP Utility Suite", 10},
                                                               {false, "AEGP Layer Suite", 11},
                                                               {false, "AEGP Layer Suite", 12},
                                                               {false, "AEGP Mask Outline Suite", 3}}));
}

TEST(SuiteHandler, ReleasesEverySuiteOnceWhenAnExceptionLeavesTheOperation)
{
    FakeBasicSuite fake;
    const auto operation = [&] {
        suite_handler suites(&fake.basic);
        suites.stream();
        suites.effect_2();
        throw std::runtime_error("host call failed");
    };
    EXPECT_THROW(operation(), std::runtime_error);
    EXPECT_EQ(FakeBasicSuite::calls(), (std::vector<BasicCall>{{true, "AEGP Stream Suite", 7},
                                                               {true, "AEGP Effect Suite", 2},
                                                               {false, "AEGP Effect Suite", 2},
                                                               {false, "AEGP Stream Suite", 7}}));
}

TEST(SuiteHandler, AMissingSuiteStaysNullIsAskedForAgainAndNeverReleased)
{
    FakeBasicSuite fake;
    FakeBasicSuite::missing() = {"PF Param Utils Suite", 3};
    {
        suite_handler suites(&fake.basic);
        EXPECT_EQ(suites.param_utils(), nullptr);
        EXPECT_FALSE(suites.has(SuiteId::param_utils_3));
        EXPECT_EQ(suites.param_utils(), nullptr);
    }
    EXPECT_EQ(FakeBasicSuite::calls(),
              (std::vector<BasicCall>{{true, "PF Param Utils Suite", 3}, {true, "PF Param Utils Suite", 3}}));
}

TEST(SuiteHandler, WithoutABasicSuiteEverySuiteIsMissing)
{
    suite_handler suites(nullptr);
    EXPECT_EQ(suites.utility(), nullptr);
}

TEST(SuiteHandler, AsksForEachSuiteByItsExactNameAndVersion)
{
    FakeBasicSuite fake;
    {
        suite_handler suites(&fake.basic);
        suites.utility();
        suites.app();
        suites.pf_interface();
        suites.effect_1();
        suites.effect_2();
        suites.param_utils();
        suites.stream();
        suites.dynamic_stream();
        suites.layer_11();
        suites.layer_12();
        suites.comp_11();
        suites.comp_19();
        suites.item();
        suites.text_layer();
        suites.path_data();
        suites.layer_mask();
        suites.mask_outline();
    }
    const std::vector<BasicCall> expected_acquires = {
        {true, "AEGP Utility Suite", 10},     {true, "PF AE App Suite", 6},
        {true, "AEGP PF Interface Suite", 1}, {true, "AEGP Effect Suite", 1},
        {true, "AEGP Effect Suite", 2},       {true, "PF Param Utils Suite", 3},
        {true, "AEGP Stream Suite", 7},       {true, "AEGP Dynamic Stream Suite", 2},
        {true, "AEGP Layer Suite", 11},       {true, "AEGP Layer Suite", 12},
        {true, "AEGP Comp Suite", 11},        {true, "AEGP Comp Suite", 19},
        {true, "AEGP Item Suite", 10},        {true, "AEGP Text Layer Suite", 1},
        {true, "PF Path Data Suite", 1},      {true, "AEGP Layer Mask Suite", 6},
        {true, "AEGP Mask Outline Suite", 3},
    };
    ASSERT_EQ(FakeBasicSuite::calls().size(), 2 * expected_acquires.size());
    for (std::size_t i = 0; i < expected_acquires.size(); ++i) {
        EXPECT_EQ(FakeBasicSuite::calls()[i], expected_acquires[i]);
        BasicCall release = expected_acquires[i];
        release.acquire = false;
        EXPECT_EQ(FakeBasicSuite::calls()[expected_acquires.size() + i], release);
    }
}

}  // namespace
