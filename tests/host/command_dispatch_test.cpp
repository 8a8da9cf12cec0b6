#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "minihost/host.h"
#include "plugin/host/command_dispatch.h"

namespace {

using kyrox::CommandContext;

// An instance that records which of its operations the dispatcher called.
class RecordingInstance : public kyrox::AePluginConnection {
public:
    void on_global_setup(CommandContext&) override { ops.emplace_back("on_global_setup"); }
    void on_global_setdown(CommandContext&) override { ops.emplace_back("on_global_setdown"); }
    void setup_params(CommandContext& context) override
    {
        ops.emplace_back("setup_params");
        context.out_data->num_params += 93;
    }
    void update_params_ui(CommandContext&) override { ops.emplace_back("update_params_ui"); }
    void apply_preset(CommandContext&) override { ops.emplace_back("apply_preset"); }
    void render(CommandContext&) override { ops.emplace_back("render"); }
    void pre_render(CommandContext&, PF_CheckoutResult& result) override
    {
        ops.emplace_back("pre_render");
        result.result_rect = {2, 3, 40, 30};
        result.max_result_rect = {0, 0, 64, 48};
    }
    void query_dynamic_flags(CommandContext&) override { ops.emplace_back("query_dynamic_flags"); }
    void handle_event(CommandContext&) override { ops.emplace_back("handle_event"); }
    void render_audio(CommandContext&) override { ops.emplace_back("render_audio"); }

    std::vector<std::string> ops;
};

RecordingInstance* recorder = nullptr;

PF_Err dispatch_to_recorder(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef*,
                            void* extra)
{
    return kyrox::handle_command(*recorder, cmd, in_data, out_data, params, extra);
}

class CommandDispatchTest : public ::testing::Test {
protected:
    void SetUp() override { recorder = &instance; }
    void TearDown() override { recorder = nullptr; }

    RecordingInstance instance;
    minihost::Host host{&dispatch_to_recorder};
};

struct OperationCase {
    PF_Cmd cmd;
    const char* op;
};

TEST_F(CommandDispatchTest, EachAnsweredCommandCallsItsOperationOnce)
{
    const OperationCase cases[] = {
        {PF_Cmd_GLOBAL_SETDOWN, "on_global_setdown"},
        {PF_Cmd_PARAMS_SETUP, "setup_params"},
        {PF_Cmd_USER_CHANGED_PARAM, "apply_preset"},
        {PF_Cmd_UPDATE_PARAMS_UI, "update_params_ui"},
        {PF_Cmd_EVENT, "handle_event"},
        {PF_Cmd_QUERY_DYNAMIC_FLAGS, "query_dynamic_flags"},
        {PF_Cmd_AUDIO_RENDER, "render_audio"},
    };
    for (const OperationCase& c : cases) {
        SCOPED_TRACE(c.cmd);
        instance.ops.clear();
        EXPECT_EQ(host.send(c.cmd), PF_Err_NONE);
        EXPECT_EQ(instance.ops, std::vector<std::string>{c.op});
    }
}

TEST_F(CommandDispatchTest, GlobalSetupEndsWithTheInstanceOperation)
{
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(host.send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(instance.ops, std::vector<std::string>{"on_global_setup"});
    EXPECT_EQ(host.out_data().my_version, 0x80027u);
}

TEST_F(CommandDispatchTest, AboutWritesTheReturnMessageOnly)
{
    EXPECT_EQ(host.about(), PF_Err_NONE);
    EXPECT_TRUE(instance.ops.empty());
    EXPECT_EQ(std::string(host.out_data().return_msg).rfind("Kyrox v1.0.39", 0), 0u);
}

TEST_F(CommandDispatchTest, ParameterCountStartsFromZeroAndCountsTheInputLayer)
{
    host.out_data().num_params = 50;
    EXPECT_EQ(host.send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
    EXPECT_EQ(host.out_data().num_params, 94);
}

TEST_F(CommandDispatchTest, UnansweredCommandsReturnNoErrorAndTouchNothing)
{
    const PF_Cmd codes[] = {PF_Cmd_UNUSED_0,
                            PF_Cmd_SEQUENCE_SETUP,
                            PF_Cmd_SEQUENCE_RESETUP,
                            PF_Cmd_SEQUENCE_FLATTEN,
                            PF_Cmd_SEQUENCE_SETDOWN,
                            PF_Cmd_DO_DIALOG,
                            PF_Cmd_FRAME_SETUP,
                            PF_Cmd_RENDER,
                            PF_Cmd_FRAME_SETDOWN,
                            PF_Cmd_GET_EXTERNAL_DEPENDENCIES,
                            PF_Cmd_COMPLETELY_GENERAL,
                            PF_Cmd_AUDIO_SETUP,
                            PF_Cmd_AUDIO_SETDOWN,
                            PF_Cmd_ARBITRARY_CALLBACK,
                            PF_Cmd_NUM_CMDS,
                            26,
                            1000,
                            -1};
    for (const PF_Cmd cmd : codes) {
        SCOPED_TRACE(cmd);
        host.log().clear();
        host.in_data().num_params = static_cast<A_long>(host.params().size());  // what the host sends
        const PF_InData in_before = host.in_data();
        const PF_OutData out_before = host.out_data();
        EXPECT_EQ(host.send(cmd), PF_Err_NONE);
        EXPECT_TRUE(instance.ops.empty());
        EXPECT_TRUE(host.log().calls.empty());
        EXPECT_EQ(std::memcmp(&in_before, &host.in_data(), sizeof in_before), 0);
        EXPECT_EQ(std::memcmp(&out_before, &host.out_data(), sizeof out_before), 0);
    }
}

TEST_F(CommandDispatchTest, SmartPreRenderMergesTheCheckoutIntoTheHostsRectangles)
{
    PF_PreRenderOutput output{};
    output.result_rect = {10, 10, 50, 60};  // merged with (2, 3, 40, 30)
    EXPECT_EQ(host.smart_pre_render(output, host.pre_render_input(8)), PF_Err_NONE);
    EXPECT_EQ(instance.ops, std::vector<std::string>{"pre_render"});
    EXPECT_EQ(output.result_rect.left, 2);
    EXPECT_EQ(output.result_rect.top, 3);
    EXPECT_EQ(output.result_rect.right, 50);
    EXPECT_EQ(output.result_rect.bottom, 60);
    EXPECT_EQ(output.max_result_rect.right, 64);  // the empty maximum takes the checkout's
    EXPECT_EQ(output.max_result_rect.bottom, 48);
}

TEST_F(CommandDispatchTest, SmartCommandsWithoutTheirExtraRecordFail)
{
    EXPECT_EQ(host.send(PF_Cmd_SMART_PRE_RENDER), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.send(PF_Cmd_SMART_RENDER), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(instance.ops.empty());
}

TEST_F(CommandDispatchTest, SmartRenderRendersAfterCheckingOutInputAndOutput)
{
    EXPECT_EQ(host.smart_render(8), PF_Err_NONE);
    EXPECT_EQ(instance.ops, std::vector<std::string>{"render"});
    EXPECT_EQ(host.log().pixel_checkouts, (std::vector<A_long>{0, -1}));
}

}  // namespace
