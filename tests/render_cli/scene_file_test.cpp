#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "minihost/frame_session.h"
#include "minihost/effect_params.h"
#include "minihost/plugin_module.h"
#include "minihost/scene_file.h"
#include "minihost/text_glyphs.h"

// Scene files read into the small host: every number is checked against what it goes into, and a file
// with one that does not fit is refused with the value's JSON path and its range (then what it is).
namespace {

constexpr A_long glow_color_id = 3;
constexpr A_long core_type_id = 109;

class SceneFile : public ::testing::Test {
protected:
    // The file's text loaded into a fresh session; the error's message, or "" when it loads.
    std::string load(const std::string& text)
    {
        session = std::make_unique<minihost::FrameSession>(module.entry(), minihost::SessionSettings{});
        std::istringstream file(text);
        try {
            minihost::load_scene(session->host(), file, "case.json");
        } catch (const std::runtime_error& error) {
            return error.what();
        }
        return "";
    }

    minihost::PluginModule module{KYROX_PLUGIN_PATH};
    std::unique_ptr<minihost::FrameSession> session;
};

TEST_F(SceneFile, ANumberThatDoesNotFitIsRefusedByItsPathAndRange)
{
    const std::string whole = " must be a whole number from ";
    const struct {
        const char* scene;
        std::string message;
    } cases[] = {
        {R"({"time": {"current": 1e10}})", "time.current" + whole + "-2147483648 to 2147483647, not 10000000000.0"},
        {R"({"time": {"scale": -1}})", "time.scale" + whole + "0 to 4294967295, not -1"},
        {R"({"time": {"step": 2.5}})", "time.step" + whole + "-2147483648 to 2147483647, not 2.5"},
        {R"({"layer_flags": 1e10})", "layer_flags" + whole + "-2147483648 to 2147483647"},
        {R"({"comp_flags": true})", "comp_flags" + whole},
        {R"({"downsample": [1, 4294967296]})", "downsample[1]" + whole + "0 to 4294967295"},
        {R"({"pixel_aspect": [1]})", "pixel_aspect must be an array of 2 numbers, not [1]"},
        {R"({"params": {"109": 1e10}})", "params.109" + whole + "-2147483648 to 2147483647"},
        {R"({"params": {"3": [255, 300.5, 0]}})", "params.3[1]" + whole + "0 to 255, not 300.5"},
        {R"({"params": {"3": [255, 1.5, 0]}})", "params.3[1]" + whole + "0 to 255, not 1.5"},
        {R"({"params": {"89": 1e6}})", "params.89 must be a number from -32768 to 32767.99998474121"},
        {R"({"params": {"6": [0, -32768.5]}})", "params.6[1] must be a number from -32768 to 32767.99998474121"},
        {R"({"params": {"99": 1}})", "params.99 must be true or false, not 1"},
        {R"({"params": {"105": "1"}})", "params.105 must be a number, not \"1\""},
        {R"({"keyframes": [{"id": 4, "time": 0, "value": 1}, {"id": 4, "time": 1e12, "value": 2}]})",
         "keyframes[1].time" + whole + "-2147483648 to 2147483647"},
        {R"({"keyframes": [{"id": 4294967296, "time": 0, "value": 1}]})", "keyframes[0].id" + whole},
        {R"({"masks": [{"keys": [{"time": 0, "vertices": []}, {"time": 1, "vertices": []}, {"time": 1e12, "vertices": []}]}]})",
         "masks[0].keys[2].time" + whole + "-2147483648 to 2147483647, not 1000000000000.0"},
        {R"({"masks": [{"keys": [{"vertices": [[0, 0, 0, 0, 0, 1e7]]}]}]})",
         "masks[0].keys[0].vertices[0][5] must be a number from -1000000 to 1000000, not 10000000.0"},
        {R"({"masks": [{"keys": [{"vertices": [[0, 0, 0, 0, 0]]}]}]})",
         "masks[0].keys[0].vertices[0] must be an array of 6 numbers"},
        {R"({"masks": [{"open": 1, "keys": []}]})", "masks[0].open must be true or false"},
        {R"({"masks": [{}]})", "masks[0].keys is missing"},
        {R"({"text": {"text": "K", "size": 1e30}})", "text.size must be a number from 1 to 4096, not 1e+30"},
        {R"({"text": {"text": "K", "size": 0}})", "text.size must be a number from 1 to 4096, not 0"},
        {R"({"text": {"text": "K", "x": -1e300}})", "text.x must be a number from -1000000 to 1000000"},
        {R"({"text": {"text": "K", "width": 40000}})", "text.width" + whole + "1 to 32768, not 40000"},
        {R"({"text": {"text": "K", "id": -1}})", "text.id" + whole + "0 to 4294967295, not -1"},
        {R"({"text": {"text": 7}})", "text.text must be a string, not 7"},
        {R"([1, 2])", "the top level must be an object, not [1,2]"},
        {R"({"params": [1]})", "params must be an object, not [1]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scene);
        const std::string expected = "the scene file case.json is not usable: " + c.message;
        EXPECT_EQ(load(c.scene).substr(0, expected.size()), expected);
    }
}

// Whole numbers are taken in any JSON spelling of a whole value, so 2.0 and 2e0 are 2.
TEST_F(SceneFile, AWholeNumberMayBeWrittenWithAFraction)
{
    ASSERT_EQ(load(R"({"params": {"109": 2.0, "3": [1e2, 2e1, 0.0]}, "time": {"current": 4e1}})"), "");
    minihost::Host& host = session->host();
    EXPECT_EQ(minihost::param_by_id(host, core_type_id).u.pd.value, 2);
    const PF_Pixel color = minihost::param_by_id(host, glow_color_id).u.cd.value;
    EXPECT_EQ(color.red, 100);
    EXPECT_EQ(color.green, 20);
    EXPECT_EQ(color.blue, 0);
    EXPECT_EQ(host.in_data().current_time, 40);
}

// The guard below the scene file: a size whose 26.6 value would overflow never reaches FreeType.
TEST(TextLayer, RefusesSizesOutsideItsRange)
{
    for (const double size : {0.5, 4096.5, 1e30}) {
        SCOPED_TRACE(size);
        minihost::TextSetting setting;
        setting.font_file = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
        // Moved in whole: GCC 12 warns falsely (-Wrestrict) on assigning a literal to a string here.
        setting.text = std::string("K");
        setting.pixel_size = size;
        setting.width = 8;
        setting.height = 8;
        EXPECT_THROW(minihost::text_layer_from_font(setting), std::runtime_error);
    }
}

}  // namespace
