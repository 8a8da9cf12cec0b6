#pragma once
// The wizard in a real, shown window for the installer's UI tests: registry fixtures for detection,
// real folders, real input, and a script that answers the wizard's message pop-ups.

#include "installer/host_detection.h"
#include "installer/ui/installer_ui.h"
#include "installer/win32/owned_handles.h"
#include "installer/win32/win32_install_platform.h"
#include "qxsdk/filesystem/text_conversion.h"
#include "qxsdk/ui/core/event_codes.h"
#include "tests/installer/win32_test_support.h"
#include "tests/installer/wizard_pixels.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace wizard_test {

using namespace qxsdk::ui;
using namespace std::chrono_literals;
using installer::ui::InstallerUI;
using installer::ui::WizardPage;

// Detection's registry key in the test's own Wine prefix, cleared before and after.
class host_registry {
public:
    host_registry() { clear(); }
    ~host_registry() { clear(); }
    host_registry(const host_registry&) = delete;
    host_registry& operator=(const host_registry&) = delete;

    static void clear()
    {
        HKEY software = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_ALL_ACCESS, &software) == ERROR_SUCCESS) {
            RegDeleteTreeW(software, L"Adobe");
            RegCloseKey(software);
        }
    }

    static void set_path(const std::wstring& release, const std::wstring& folder)
    {
        HKEY created = nullptr;
        const std::wstring key = L"SOFTWARE\\Adobe\\After Effects\\" + release;
        ASSERT_EQ(
            RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
            ERROR_SUCCESS);
        const installer::win32::unique_hkey owner(created);
        ASSERT_EQ(RegSetValueExW(created, L"PluginInstallPath", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(folder.c_str()),
                                 static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
};

// What the folder picker does next: a folder to return, or a failure to throw.
struct picker_answer {
    std::wstring folder;
    bool fails = false;
};

// Answers the wizard's pop-ups from a thread timer, which every modal loop of the thread runs:
// records each pop-up's title and message, runs the step's action, then clicks its button.
// A pop-up is told apart by its window, not its address: two questions asked one after the other
// may reuse one stack slot before any tick has seen the first one go. Under load a click can be lost
// between the input queue and the pop-up, so an answered pop-up still open after a while is clicked
// again; one that nobody answers is closed with a failure, so the test fails instead of hanging.
class popup_script {
public:
    struct answer {
        bool first_button = true;  // OK or Yes; false: Cancel or No
        std::chrono::milliseconds delay = 0ms;
        std::function<void()> before = nullptr;
    };

    explicit popup_script(InstallerUI& wizard) : wizard_(wizard)
    {
        current() = this;
        timer_ = SetTimer(nullptr, 0, 30, &tick);
    }
    ~popup_script()
    {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    popup_script(const popup_script&) = delete;
    popup_script& operator=(const popup_script&) = delete;

    std::deque<answer> answers;
    std::vector<std::string> titles;
    std::vector<std::string> messages;

private:
    using clock = std::chrono::steady_clock;
    static constexpr auto click_again_after = 2s;
    static constexpr auto give_up_after = 20s;

    static popup_script*& current()
    {
        static popup_script* script = nullptr;
        return script;
    }

    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (current() != nullptr) {
            current()->step();
        }
    }

    void step()
    {
        MessagePopup* popup = wizard_.open_popup();
        if (popup == nullptr || IsWindowVisible(popup->native().handle()) == FALSE) {
            return;
        }
        const auto now = clock::now();
        if (seen_ != popup->native().handle()) {
            seen_ = popup->native().handle();
            seen_at_ = now;
            button_ = nullptr;
        }
        if (now - seen_at_ >= give_up_after) {
            ADD_FAILURE() << "a pop-up stayed open " << (button_ != nullptr ? "after its answer" : "with no answer")
                          << ": " << popup->message();
            popup->end_modal();
            return;
        }
        if (button_ != nullptr) {
            if (now - clicked_at_ >= click_again_after) {
                press(*popup, *button_);
            }
            return;
        }
        if (answers.empty() || now - seen_at_ < answers.front().delay) {
            return;
        }
        const answer next = answers.front();
        answers.pop_front();
        wchar_t title[128] = {};
        GetWindowTextW(popup->native().handle(), title, 128);
        titles.push_back(qxsdk::wide_to_utf8(title));
        messages.push_back(popup->message());
        if (next.before) {
            next.before();
        }
        press(*popup, next.first_button ? popup->first_button() : popup->second_button());
    }

    void press(MessagePopup& popup, const GenericButton& button)
    {
        button_ = &button;
        clicked_at_ = clock::now();
        const rect area = button.geometry();
        window_test::click(popup, {area.x + area.width / 2, area.y + area.height / 2});
    }

    InstallerUI& wizard_;
    UINT_PTR timer_ = 0;
    HWND seen_ = nullptr;
    clock::time_point seen_at_;
    const GenericButton* button_ = nullptr;  // the answer clicked on the pop-up seen, if any
    clock::time_point clicked_at_;
};

// An install platform whose steps wait until the test opens the gate, so that a run is still going.
struct gate {
    std::atomic<bool> open{false};
    std::atomic<int> steps_done{0};
};

class gated_platform final : public installer::install_platform {
public:
    gated_platform(std::shared_ptr<gate> shared, installer::write_result result)
        : gate_(std::move(shared)), result_(result)
    {
    }
    void create_folder(const installer::file_path&) override {}
    installer::write_result write_plugin(const installer::file_path&, int) override
    {
        wait();
        return result_;
    }
    void prepare_shared_folder() override { wait(); }

private:
    void wait()
    {
        while (!gate_->open) {
            Sleep(5);
        }
        ++gate_->steps_done;
    }

    std::shared_ptr<gate> gate_;
    installer::write_result result_;
};

// A wizard over the registry fixture, with the test program's embedded plug-in and a scripted folder
// picker, shown and active for real input.
class WizardTest : public ::testing::Test {
protected:
    // Builds the wizard after the test has set up the registry.
    InstallerUI&
    open_wizard(std::unique_ptr<installer::install_platform> platform = installer::win32::make_install_platform())
    {
        installer::ui::installer_ui_hooks hooks{
            [] { return installer::detect_host_versions(); },
            std::move(platform),
            [this](window&, std::string_view title, const installer::file_path& initial) {
                picker_titles.push_back(std::string(title));
                picker_starts.push_back(initial.native());
                const picker_answer next = picker_answers.empty() ? picker_answer{} : picker_answers.front();
                if (!picker_answers.empty()) {
                    picker_answers.pop_front();
                }
                if (next.fails) {
                    throw std::runtime_error("the dialog could not be shown");
                }
                return installer::file_path(next.folder);
            },
        };
        wizard = std::make_unique<InstallerUI>(std::move(hooks));
        SetCursorPos(5, 5);
        ShowWindow(wizard->native().handle(), SW_SHOW);
        SetForegroundWindow(wizard->native().handle());
        SetFocus(wizard->native().handle());
        window_test::pump_for(80ms);
        return *wizard;
    }

    // A real click on a widget's centre (left button unless told).
    void click_on(const widget& target, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP)
    {
        const point centre{target.geometry().width / 2, target.geometry().height / 2};
        window_test::click(*wizard, window_point_of(target, centre), down, up);
        window_test::pump_for(60ms);
    }

    // Grabs the screen (kept as <name>.png when snapshots are asked for) and checks what every page shows.
    std::optional<screen_grab> grab_wizard(const std::string& name)
    {
        std::optional<screen_grab> grab = window_test::grab_screen(name);
        EXPECT_TRUE(grab) << name;
        if (grab) {
            expect_wizard_frame(*grab, wizard->native().handle(), wizard->native().dpi());
        }
        return grab;
    }

    // A point of a widget (in its own units) in the window's units, and in its client pixels.
    point window_point_of(const widget& target, point offset) const
    {
        for (const widget* w = &target; w != nullptr && w != &wizard->root(); w = w->parent()) {
            offset.x += w->geometry().x;
            offset.y += w->geometry().y;
        }
        return offset;
    }

    POINT client_pixel_of(const widget& target, point offset) const
    {
        const point at = window_point_of(target, offset);
        const dpi_scale& dpi = wizard->native().dpi();
        return {dpi.width_to_pixels(at.x), dpi.height_to_pixels(at.y)};
    }

    bool wait_until_finished(std::chrono::milliseconds limit = 10000ms)
    {
        return window_test::pump_until([this] { return wizard->finished(); }, limit);
    }

    host_registry registry;
    std::deque<picker_answer> picker_answers;
    std::vector<std::string> picker_titles;
    std::vector<std::wstring> picker_starts;
    std::unique_ptr<InstallerUI> wizard;
};

}  // namespace wizard_test
