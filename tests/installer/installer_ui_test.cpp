// The wizard's pages and navigation in a real window under real input: the offered versions, the
// custom folder, the summary, Cancel's question on every page.
#include "tests/installer/wizard_test_support.h"

namespace {

using namespace wizard_test;
using installer_test::ScratchFolder;

constexpr color tick_blue{0x41 / 255.0f, 0x95 / 255.0f, 0xC0 / 255.0f, 1};  // the ticked frame's ground

struct offered_case {
    std::vector<std::pair<std::wstring, std::wstring>> releases;  // registry subkey, folder
    std::vector<std::pair<std::size_t, std::int32_t>> boxes;      // slot, y
    std::int32_t browse_y;
};

TEST_F(WizardTest, DetectedVersionsAndTheCustomFolderAreOfferedInRows)
{
    const offered_case cases[] = {
        {{{L"11", L"C:\\AE\\CS6"}, {L"13.5", L"C:\\AE\\CC2015"}}, {{4, 55}, {7, 80}, {8, 105}}, 135},
        {{}, {{8, 55}}, 85},
    };
    for (const offered_case& c : cases) {
        SCOPED_TRACE(c.browse_y);
        host_registry::clear();
        for (const auto& [release, folder] : c.releases) {
            host_registry::set_path(release, folder);
        }
        InstallerUI& w = open_wizard();
        for (std::size_t slot = 0; slot < installer::slot_count; ++slot) {
            const auto offered =
                std::find_if(c.boxes.begin(), c.boxes.end(), [&](const auto& b) { return b.first == slot; });
            CheckBox& box = w.version_box(slot);
            ASSERT_EQ(box.created(), offered != c.boxes.end()) << slot;
            if (offered == c.boxes.end()) {
                continue;
            }
            EXPECT_EQ(box.geometry(), (rect{20, offered->second, 290, 25}));
            EXPECT_EQ(box.text(), installer::host_version_labels[slot]);
            EXPECT_EQ(box.checked(), slot != installer::custom_slot);
            EXPECT_EQ(w.selection()[slot].chosen, slot != installer::custom_slot);
        }
        EXPECT_EQ(w.browse_button().geometry(), (rect{20, c.browse_y, 80, 15}));
        EXPECT_FALSE(w.browse_button().own_visible());
        EXPECT_FALSE(w.custom_path_label().own_visible());
        wizard.reset();
    }
}

// At 96 DPI the window fits a 1280 x 1024 screen and opens where the wizard puts it.
TEST_F(WizardTest, TheWindowOpensAtItsPlaceWhenItFitsTheScreen)
{
    InstallerUI& w = open_wizard();
    RECT outer{};
    GetWindowRect(w.native().handle(), &outer);
    EXPECT_EQ(outer.left, 600);
    EXPECT_EQ(outer.top, 200);
}

TEST_F(WizardTest, TheFirstPageGreetsWithBackDisabled)
{
    InstallerUI& w = open_wizard();
    EXPECT_EQ(w.banner().width(), 160u);
    EXPECT_EQ(w.banner().height(), 310u);
    EXPECT_EQ(w.current_page(), WizardPage::greeting);
    EXPECT_TRUE(w.page(WizardPage::greeting).visible());
    EXPECT_FALSE(w.page(WizardPage::versions).own_visible());
    EXPECT_EQ(w.title_label().text(), "Kyrox for After Effects Installer");
    EXPECT_EQ(w.intro_label().text(), installer::intro_text());
    EXPECT_EQ(w.versions_label().text(), "Select which versions of Adobe After Effects you want to install Kyrox on:");
    EXPECT_FALSE(w.back_button().enabled());
    EXPECT_TRUE(w.next_button().enabled());
    EXPECT_EQ(w.back_button().text(), "< Back");
    EXPECT_EQ(w.next_button().text(), "Next >");
    EXPECT_EQ(w.cancel_button().text(), "Cancel");
    grab_wizard("wizard-page-0");
}

TEST_F(WizardTest, NextAndBackWalkThePagesAndARightClickCountsToo)
{
    InstallerUI& w = open_wizard();
    click_on(w.next_button());
    EXPECT_EQ(w.current_page(), WizardPage::versions);
    EXPECT_TRUE(w.back_button().enabled());
    click_on(w.next_button(), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    EXPECT_EQ(w.current_page(), WizardPage::summary);
    EXPECT_TRUE(w.page(WizardPage::summary).visible());
    EXPECT_FALSE(w.page(WizardPage::versions).own_visible());
    click_on(w.back_button(), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    click_on(w.back_button());
    EXPECT_EQ(w.current_page(), WizardPage::greeting);
    EXPECT_FALSE(w.back_button().enabled());
    click_on(w.back_button());  // disabled: nothing
    EXPECT_EQ(w.current_page(), WizardPage::greeting);
}

TEST_F(WizardTest, TickingCustomShowsBrowseAndUntickingHidesItButKeepsTheFolder)
{
    InstallerUI& w = open_wizard();
    click_on(w.next_button());
    CheckBox& custom = w.version_box(installer::custom_slot);
    click_on(custom);
    EXPECT_TRUE(w.selection()[installer::custom_slot].chosen);
    EXPECT_TRUE(w.browse_button().visible());
    EXPECT_TRUE(w.custom_path_label().visible());

    picker_answers.push_back({L"D:\\Plug-ins\\Mine"});
    click_on(w.browse_button());
    EXPECT_EQ(picker_titles, std::vector<std::string>{"Custom Folder"});
    EXPECT_EQ(picker_starts, std::vector<std::wstring>{L""});
    EXPECT_EQ(w.selection()[installer::custom_slot].folder.native(), L"D:\\Plug-ins\\Mine");
    EXPECT_EQ(w.custom_path_label().text(), "D:/Plug-ins/Mine");
    const std::optional<screen_grab> grab = grab_wizard("wizard-page-1");
    ASSERT_TRUE(grab);
    const POINT ticked = client_pixel_of(custom, {custom.image_box().x + 2, custom.image_box().y + 2});
    EXPECT_TRUE(window_test::shows(grab->at_client(w.native().handle(), ticked.x, ticked.y), tick_blue));

    picker_answers.push_back({L""});  // cancelled: both stay
    click_on(w.browse_button());
    EXPECT_EQ(picker_starts.back(), L"D:\\Plug-ins\\Mine");
    EXPECT_EQ(w.selection()[installer::custom_slot].folder.native(), L"D:\\Plug-ins\\Mine");
    EXPECT_EQ(w.custom_path_label().text(), "D:/Plug-ins/Mine");

    click_on(custom);
    EXPECT_FALSE(w.selection()[installer::custom_slot].chosen);
    EXPECT_FALSE(w.browse_button().own_visible());
    EXPECT_FALSE(w.custom_path_label().own_visible());
    EXPECT_EQ(w.selection()[installer::custom_slot].folder.native(), L"D:\\Plug-ins\\Mine");
}

TEST_F(WizardTest, AFailingFolderPickerKeepsThePreviousFolderAndSaysSo)
{
    InstallerUI& w = open_wizard();
    w.set_page(WizardPage::versions);
    click_on(w.version_box(installer::custom_slot));
    picker_answers.push_back({L"E:\\Kept"});
    picker_answers.push_back({L"", true});
    picker_answers.push_back({std::wstring(L"F:\\") + wchar_t(0xD800)});  // a lone surrogate: no UTF-8 for it
    click_on(w.browse_button());
    popup_script script(w);
    script.answers.push_back({});
    script.answers.push_back({});
    click_on(w.browse_button());
    window_test::pump_for(100ms);
    click_on(w.browse_button());
    ASSERT_EQ(script.titles, (std::vector<std::string>{"Custom Folder", "Custom Folder"}));
    EXPECT_NE(script.messages[0].find("the dialog could not be shown"), std::string::npos);
    EXPECT_NE(script.messages[1].find("The previous folder is kept."), std::string::npos);
    EXPECT_EQ(w.selection()[installer::custom_slot].folder.native(), L"E:\\Kept");
    EXPECT_EQ(w.custom_path_label().text(), "E:/Kept");
    EXPECT_TRUE(IsWindowVisible(w.native().handle()));
}

TEST_F(WizardTest, TheSummaryListsTheChoiceAlsoWhenNothingIsTicked)
{
    host_registry::set_path(L"11", L"C:\\AE\\CS6\\Plug-ins");
    InstallerUI& w = open_wizard();
    click_on(w.next_button());
    click_on(w.version_box(installer::custom_slot));
    click_on(w.next_button());
    EXPECT_EQ(w.summary_label().text(), "Installing Kyrox on:\n\nCS6:\nC:/AE/CS6/Plug-ins\n\nCustom:\n\n\n");
    const std::optional<screen_grab> grab = grab_wizard("wizard-page-2");
    ASSERT_TRUE(grab);
    const POINT panel = client_pixel_of(w.summary_label(), {w.summary_label().geometry().width - 2, 2});
    constexpr color summary_ground{0.118f, 0.118f, 0.118f, 1};
    EXPECT_TRUE(window_test::shows(grab->at_client(w.native().handle(), panel.x, panel.y), summary_ground));

    click_on(w.back_button());
    click_on(w.version_box(4));
    click_on(w.version_box(installer::custom_slot));
    click_on(w.next_button());
    EXPECT_EQ(w.summary_label().text(), "Installing Kyrox on:\n\n");
}

TEST_F(WizardTest, CancelAsksOnEveryPageAndOnlyOkEnds)
{
    for (const WizardPage page : installer::ui::wizard_pages) {
        SCOPED_TRACE(static_cast<int>(page));
        // The run of the last page holds until the end, so Cancel has not turned into Finish.
        const auto shared = std::make_shared<gate>();
        InstallerUI& w = open_wizard(std::make_unique<gated_platform>(shared, installer::write_result::written));
        w.set_page(page);
        popup_script script(w);
        script.answers.push_back({false});
        click_on(w.cancel_button());
        EXPECT_EQ(script.titles, std::vector<std::string>{"Exit Installer"});
        EXPECT_EQ(script.messages,
                  std::vector<std::string>{"Are you sure you want to cancel Kyrox for After Effects installation?"});
        EXPECT_EQ(w.modal_result(), 0);
        EXPECT_TRUE(IsWindowVisible(w.native().handle()));
        script.answers.push_back({true});
        click_on(w.cancel_button());
        EXPECT_EQ(script.titles.size(), 2u);
        EXPECT_EQ(w.modal_result(), 1);
        EXPECT_FALSE(IsWindowVisible(w.native().handle()));
        shared->open = true;
        wizard.reset();
    }
}

}  // namespace
