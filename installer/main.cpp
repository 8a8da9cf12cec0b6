// The installer program: an unmarked start relaunches the program elevated; the marked copy runs the
// wizard until Finish, a confirmed Cancel or the close box.
#include "installer/ui/installer_ui.h"
#include "installer/win32/elevated_start.h"

#include <windows.h>

namespace {

void run_installer()
{
    installer::ui::InstallerUI wizard;
    wizard.set_modal_result(0);
    wizard.run_modal();
    // The wizard's destructor waits for a running worker.
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int)
{
    return installer::win32::start_installer(command_line == nullptr ? L"" : command_line,
                                             installer::win32::default_start_up_hooks(run_installer));
}
