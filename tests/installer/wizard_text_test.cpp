// The texts the wizard builds: greeting, summary, progress lines, the failure question, the
// start-up marker.
#include "installer/start_up.h"
#include "installer/wizard_text.h"

#include <gtest/gtest.h>

namespace {

using namespace installer;

TEST(WizardText, TheGreetingNamesTheVersion)
{
    EXPECT_EQ(intro_text(), "This will install Kyrox 1.0.39 plugin on your computer.\n\nIt is recommended that you "
                            "close all other applications before continuing.\n\nClick Next to continue, or Cancel to "
                            "exit the installer.");
}

TEST(WizardText, TheSummaryListsChosenSlotsWithSlashedFolders)
{
    slot_selection selection;
    selection[4] = {file_path(L"C:\\AE\\CS6\\Plug-ins"), true};
    selection[5] = {file_path(L"C:\\AE\\CC"), false};
    selection[8] = {file_path(), true};  // ticked without a folder
    EXPECT_EQ(summary_text(selection), "Installing Kyrox on:\n\nCS6:\nC:/AE/CS6/Plug-ins\n\nCustom:\n\n\n");
    for (slot_choice& choice : selection) {
        choice.chosen = false;
    }
    EXPECT_EQ(summary_text(selection), "Installing Kyrox on:\n\n");
}

TEST(WizardText, ProgressShowsOneLinePerHandledSlot)
{
    struct progress_case {
        install_statuses statuses;
        int dots;
        std::string text;
        std::optional<std::size_t> failed;
    };
    const progress_case cases[] = {
        {{}, 2, "\n", std::nullopt},
        {{0, 0, 0, 0, 1, 0, 0, 0, 0}, 0, "Installing Kyrox for After Effects CS6\n\n", std::nullopt},
        {{0, 0, 0, 0, 1, 0, 0, 0, 0}, 3, "Installing Kyrox for After Effects CS6...\n\n", std::nullopt},
        {{0, 0, 0, 0, 2, 0, 0, 0, 0}, 1, "Kyrox for After Effects CS6 installed.\n\n", std::nullopt},
        {{0, 0, 0, 0, 40, 0, 0, 0, 0}, 1, "Kyrox for After Effects CS6 failed to install!\n\n", 4},
        {{0, 0, 0, 0, 2, 50, 0, 1, 20},
         1,
         "Kyrox for After Effects CS6 installed.\nKyrox for After Effects CC failed to install!\n"
         "Installing Kyrox for After Effects CC2015.\nKyrox for After Effects Custom failed to install!\n\n",
         8},
    };
    for (const progress_case& c : cases) {
        SCOPED_TRACE(c.text);
        const progress_report report = progress_text(c.statuses, c.dots);
        EXPECT_EQ(report.text, c.text);
        EXPECT_EQ(report.failed_slot, c.failed);
    }
}

TEST(WizardText, TheFailureQuestionNamesSlotAndCode)
{
    EXPECT_EQ(failure_question("CS6", 40), "The installation of Kyrox for After Effects CS6 failed!\nError code: 40 "
                                           "Please contact support.\n\nDo you want to retry?");
    EXPECT_EQ(product_label_text("CC2015"), "Kyrox for After Effects CC2015");
}

TEST(WizardText, DotsCycleFromZeroToThree)
{
    int dots = 0;
    std::string seen;
    for (int tick = 0; tick < 9; ++tick) {
        seen += std::to_string(dots);
        dots = next_dot_count(dots);
    }
    EXPECT_EQ(seen, "012301230");
}

TEST(StartUp, TheMarkerIsACaseSensitiveSubstring)
{
    struct marker_case {
        std::wstring_view command_line;
        bool marked;
    };
    for (const marker_case& c :
         {marker_case{L"/UAC", true}, marker_case{L"", false}, marker_case{L"x/UACy", true},
          marker_case{L"/uac", false}, marker_case{L"/UA C", false}, marker_case{L"--x /UAC", true}}) {
        EXPECT_EQ(has_elevation_marker(c.command_line), c.marked)
            << std::string(c.command_line.begin(), c.command_line.end());
    }
}

}  // namespace
