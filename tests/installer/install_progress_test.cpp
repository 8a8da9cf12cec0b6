// The progress page with the real worker writing into real folders: lines per slot, the final texts,
// the failure question with retry, the result waiting behind the exit question, the destructor
// waiting for the worker.
#include "tests/installer/wizard_test_support.h"

#include <thread>

namespace {

using namespace wizard_test;
using installer_test::ScratchFolder;

constexpr std::string_view finish_hint = "\n\nClick Finish to close the installer.";
constexpr color popup_ground{0.2313f, 0.2313f, 0.2549f, 1};

class InstallProgressTest : public WizardTest {
protected:
    void go_to_progress_page()
    {
        // One Next for each page after the greeting.
        for (std::size_t click = 1; click < installer::ui::wizard_pages.size(); ++click) {
            click_on(wizard->next_button());
        }
        ASSERT_EQ(wizard->current_page(), WizardPage::progress);
    }

    static std::wstring plugin_in(const std::wstring& folder) { return folder + L"\\Ostrivale\\Kyrox.aex"; }

    void expect_no_run_timer()
    {
        EXPECT_FALSE(wizard->native().timers().any_of(wizard->page(WizardPage::progress)).has_value());
        EXPECT_FALSE(has_handlers(wizard->page(WizardPage::progress), event_code::timer));
    }
};

TEST_F(InstallProgressTest, OneVersionIsWrittenAndFinishEndsTheWizard)
{
    ScratchFolder folder(L"wizard-one");
    host_registry::set_path(L"11", folder.path());
    InstallerUI& w = open_wizard();
    go_to_progress_page();
    EXPECT_FALSE(w.back_button().enabled());
    EXPECT_FALSE(w.next_button().enabled());
    EXPECT_TRUE(w.cancel_button().enabled());
    ASSERT_TRUE(wait_until_finished());
    EXPECT_EQ(w.progress_label().text(), "Kyrox for After Effects CS6 installed.\n\n" + std::string(finish_hint));
    EXPECT_EQ(w.install_heading_label().text(), "Kyrox for After Effects was successfully installed.");
    EXPECT_EQ(w.cancel_button().text(), "Finish");
    EXPECT_FALSE(w.worker_running());
    expect_no_run_timer();
    EXPECT_EQ(installer_test::read_file(plugin_in(folder.path())),
              installer_test::read_file(installer_test::built_plugin_path()));
    grab_wizard("wizard-page-3");
    click_on(w.cancel_button());
    EXPECT_EQ(w.modal_result(), 1);
    EXPECT_FALSE(IsWindowVisible(w.native().handle()));
}

TEST_F(InstallProgressTest, NothingChosenEndsWithTheSuccessTexts)
{
    InstallerUI& w = open_wizard();
    go_to_progress_page();
    ASSERT_TRUE(wait_until_finished());
    EXPECT_EQ(w.progress_label().text(), "\n" + std::string(finish_hint));
    EXPECT_EQ(w.install_heading_label().text(), "Kyrox for After Effects was successfully installed.");
}

// CS6 and CC2015 in existing folders, CC in a missing one: the second of three slots fails with 40.
class FailingSecondSlot : public InstallProgressTest {
protected:
    FailingSecondSlot()
    {
        host_registry::set_path(L"11", cs6);
        host_registry::set_path(L"12", missing);
        host_registry::set_path(L"13.5", cc2015);
        CreateDirectoryW(cs6.c_str(), nullptr);
        CreateDirectoryW(cc2015.c_str(), nullptr);
    }

    static std::string question()
    {
        return "The installation of Kyrox for After Effects CC failed!\nError code: 40 Please contact support.\n\n"
               "Do you want to retry?";
    }

    ScratchFolder root{L"wizard-three"};
    std::wstring cs6 = root / L"cs6";
    std::wstring missing = root / L"missing";
    std::wstring cc2015 = root / L"cc2015";
};

TEST_F(FailingSecondSlot, ARetryAfterMakingTheFolderKeepsTheFirstLineAndWritesTheRest)
{
    InstallerUI& w = open_wizard();
    popup_script script(w);
    script.answers.push_back({true, 0ms, [&] {
                                  const auto grab = window_test::grab_screen("wizard-failure-dialog");
                                  ASSERT_TRUE(grab);
                                  const HWND popup = w.open_popup()->native().handle();
                                  EXPECT_TRUE(window_test::shows(grab->at_client(popup, 5, 5), popup_ground));
                                  EXPECT_TRUE(CreateDirectoryW(missing.c_str(), nullptr));
                                  DeleteFileW(plugin_in(cs6).c_str());  // a retry must not write it again
                              }});
    go_to_progress_page();
    ASSERT_TRUE(wait_until_finished());
    EXPECT_EQ(script.titles, std::vector<std::string>{"Failed to install"});
    EXPECT_EQ(script.messages, std::vector<std::string>{question()});
    EXPECT_EQ(w.progress_label().text(),
              "Kyrox for After Effects CS6 installed.\nKyrox for After Effects CC installed.\n"
              "Kyrox for After Effects CC2015 installed.\n\n" +
                  std::string(finish_hint));
    EXPECT_EQ(w.install_heading_label().text(), "Kyrox for After Effects was successfully installed.");
    EXPECT_FALSE(installer_test::exists(plugin_in(cs6)));
    EXPECT_TRUE(installer_test::exists(plugin_in(missing)));
    EXPECT_TRUE(installer_test::exists(plugin_in(cc2015)));
    expect_no_run_timer();
}

TEST_F(FailingSecondSlot, ARetryThatFailsAsksAgainAndDecliningEndsWithSomeComponents)
{
    InstallerUI& w = open_wizard();
    popup_script script(w);
    script.answers.push_back({true});
    script.answers.push_back({false});
    go_to_progress_page();
    ASSERT_TRUE(wait_until_finished());
    EXPECT_EQ(script.messages, (std::vector<std::string>{question(), question()}));
    EXPECT_EQ(w.progress_label().text(), "Kyrox for After Effects CS6 installed.\nKyrox for After Effects CC failed to "
                                         "install!\n\n" +
                                             std::string(finish_hint));
    EXPECT_EQ(w.install_heading_label().text(),
              "Some components of Kyrox for After Effects were not correctly installed.");
    EXPECT_EQ(w.cancel_button().text(), "Finish");
    EXPECT_FALSE(installer_test::exists(plugin_in(cc2015)));
    expect_no_run_timer();
    grab_wizard("wizard-page-3-failed");
    click_on(w.cancel_button());
    EXPECT_EQ(w.modal_result(), 1);
}

TEST_F(InstallProgressTest, TheFailureQuestionWaitsWhileTheExitQuestionIsOpen)
{
    host_registry::set_path(L"11", L"C:\\gated");
    const auto shared = std::make_shared<gate>();
    InstallerUI& w = open_wizard(std::make_unique<gated_platform>(shared, installer::write_result::create_failed));
    popup_script script(w);
    std::string progress_behind_question;
    script.answers.push_back({false, 1000ms, [&] { progress_behind_question = w.progress_label().text(); }});
    script.answers.push_back({false});
    go_to_progress_page();
    std::thread opener([shared] {
        Sleep(300);
        shared->open = true;
    });
    click_on(w.cancel_button());
    opener.join();
    ASSERT_TRUE(wait_until_finished());
    EXPECT_EQ(script.titles, (std::vector<std::string>{"Exit Installer", "Failed to install"}));
    EXPECT_EQ(progress_behind_question, "Kyrox for After Effects CS6 failed to install!\n\n");
    EXPECT_EQ(w.install_heading_label().text(),
              "Some components of Kyrox for After Effects were not correctly installed.");
}

TEST_F(InstallProgressTest, TheDestructorWaitsForARunningWorker)
{
    host_registry::set_path(L"11", L"C:\\gated");
    const auto shared = std::make_shared<gate>();
    open_wizard(std::make_unique<gated_platform>(shared, installer::write_result::written));
    wizard->set_page(WizardPage::progress);
    ASSERT_TRUE(wizard->worker_running());
    std::thread opener([shared] {
        Sleep(300);
        shared->open = true;
    });
    wizard.reset();
    EXPECT_EQ(shared->steps_done, 2);  // the slot and the shared folder, both before the wizard was gone
    opener.join();
}

}  // namespace
