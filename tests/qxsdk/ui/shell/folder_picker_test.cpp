// The folder picker against the platform's dialog (driven from a helper thread, as a user would) and, for
// its failures, against a dialog that fails where a test says.
#include "qxsdk/ui/shell/folder_picker.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <optional>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>

#include "qxsdk/ui/draw/hresult_check.h"
#include "qxsdk/ui/window/window.h"

namespace {

using namespace qxsdk::ui;
using qxsdk::filesystem::file_path;
using Microsoft::WRL::ComPtr;
using namespace std::chrono_literals;

constexpr wchar_t dialog_title[] = L"Pick a test folder";
constexpr int file_name_edit = 1152;

HWND find_descendant(HWND parent, int id)
{
    struct search {
        int id;
        HWND found;
    } state{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<search*>(data);
            if (GetDlgCtrlID(child) == s.id) {
                s.found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&state));
    return state.found;
}

// Plays the user: waits for the dialog with the test's title, then cancels it or types a path and accepts.
class dialog_user {
public:
    explicit dialog_user(std::wstring typed = {}) : typed_(std::move(typed)), thread_([this] { run(); }) {}
    ~dialog_user() { thread_.join(); }

    dialog_user(const dialog_user&) = delete;
    dialog_user& operator=(const dialog_user&) = delete;

    bool found() const noexcept { return found_; }

private:
    void run()
    {
        const auto end = std::chrono::steady_clock::now() + 20s;
        HWND dialog = nullptr;
        while (dialog == nullptr && std::chrono::steady_clock::now() < end) {
            dialog = FindWindowW(L"#32770", dialog_title);
            std::this_thread::sleep_for(50ms);
        }
        if (dialog == nullptr) {
            return;
        }
        found_ = true;
        std::this_thread::sleep_for(200ms);  // let the dialog finish opening
        if (typed_.empty()) {
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        SetWindowTextW(find_descendant(dialog, file_name_edit), typed_.c_str());
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }

    std::wstring typed_;
    std::atomic<bool> found_{false};
    std::thread thread_;
};

// The owner window initialises OLE on the test thread, as the toolkit does on its UI thread.
class FolderPickerTest : public ::testing::Test {
protected:
    FolderPickerTest() { owner.create_window("folder picker owner", {50, 50, 300, 200}); }

    file_path pick(const file_path& start) { return select_folder(&owner, "Pick a test folder", start); }

    window owner;
};

TEST_F(FolderPickerTest, CancellingGivesAnEmptyPathWithOrWithoutAStartFolder)
{
    for (const file_path& start : {file_path(), file_path(L"C:\\windows")}) {
        dialog_user user;
        EXPECT_TRUE(pick(start).empty());
        EXPECT_TRUE(user.found());
    }
}

TEST_F(FolderPickerTest, AMissingStartFolderStillOpensTheDialog)
{
    dialog_user user;
    EXPECT_TRUE(pick(file_path(L"C:\\no such folder\\anywhere")).empty());
    EXPECT_TRUE(user.found());
}

TEST_F(FolderPickerTest, AcceptingAFolderReturnsItsPath)
{
    const std::wstring folder = L"C:\\kyrox-folder-pick";
    CreateDirectoryW(folder.c_str(), nullptr);
    file_path chosen;
    {
        dialog_user user(folder);
        chosen = pick(file_path(L"C:\\windows"));
        EXPECT_TRUE(user.found());
    }
    EXPECT_EQ(chosen.native(), folder);
    RemoveDirectoryW(folder.c_str());
}

// COM interfaces have no virtual destructor: the fakes end through Release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// A heap object of one interface (and the interfaces it derives from, which IIDs names), counted and
// deleted by its last Release.
template <class Interface, const IID&... IIDs>
class counted_fake : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || ((iid == IIDs) || ...)) {
            *out = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --count_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    virtual ~counted_fake() = default;

private:
    std::atomic<ULONG> count_{1};
};

// A chosen item whose path is D:\Media, or whose path cannot be read.
class fake_item : public counted_fake<IShellItem, IID_IShellItem> {
public:
    explicit fake_item(HRESULT name_result) : name_result_(name_result) {}

    HRESULT STDMETHODCALLTYPE BindToHandler(IBindCtx*, REFGUID, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetParent(IShellItem**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDisplayName(SIGDN kind, LPWSTR* name) override
    {
        *name = nullptr;
        if (kind != SIGDN_FILESYSPATH || FAILED(name_result_)) {
            return FAILED(name_result_) ? name_result_ : E_INVALIDARG;
        }
        constexpr wchar_t path[] = L"D:\\Media";
        *name = static_cast<wchar_t*>(CoTaskMemAlloc(sizeof path));
        std::copy(std::begin(path), std::end(path), *name);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAttributes(SFGAOF, SFGAOF*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Compare(IShellItem*, SICHINTF, int*) override { return E_NOTIMPL; }

private:
    HRESULT name_result_;
};

// Which of its calls fail, and what it was told.
struct dialog_script {
    HRESULT get_options = S_OK;
    HRESULT set_options = S_OK;
    HRESULT set_title = S_OK;
    HRESULT show = S_OK;
    HRESULT get_result = S_OK;
    HRESULT display_name = S_OK;
};

class fake_dialog : public counted_fake<IFileOpenDialog, IID_IModalWindow, IID_IFileDialog, IID_IFileOpenDialog> {
public:
    explicit fake_dialog(const dialog_script& script) : script_(script) {}

    HRESULT STDMETHODCALLTYPE Show(HWND owner) override
    {
        shown_owner = owner;
        return script_.show;
    }
    HRESULT STDMETHODCALLTYPE SetFileTypes(UINT, const COMDLG_FILTERSPEC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFileTypeIndex(UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFileTypeIndex(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IFileDialogEvents*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOptions(FILEOPENDIALOGOPTIONS options) override
    {
        set_options = options;
        return script_.set_options;
    }
    HRESULT STDMETHODCALLTYPE GetOptions(FILEOPENDIALOGOPTIONS* options) override
    {
        *options = FOS_NOCHANGEDIR | FOS_PATHMUSTEXIST;
        return script_.get_options;
    }
    HRESULT STDMETHODCALLTYPE SetDefaultFolder(IShellItem*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFolder(IShellItem*) override
    {
        folder_set = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFolder(IShellItem**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCurrentSelection(IShellItem**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFileName(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFileName(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTitle(LPCWSTR text) override
    {
        title = text;
        return script_.set_title;
    }
    HRESULT STDMETHODCALLTYPE SetOkButtonLabel(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFileNameLabel(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetResult(IShellItem** item) override
    {
        *item = FAILED(script_.get_result) ? nullptr : new fake_item(script_.display_name);
        return script_.get_result;
    }
    HRESULT STDMETHODCALLTYPE AddPlace(IShellItem*, FDAP) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultExtension(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Close(HRESULT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetClientGuid(REFGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearClientData() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFilter(IShellItemFilter*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetResults(IShellItemArray**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSelectedItems(IShellItemArray**) override { return E_NOTIMPL; }

    std::optional<FILEOPENDIALOGOPTIONS> set_options;
    std::wstring title;
    bool folder_set = false;
    HWND shown_owner = nullptr;

private:
    dialog_script script_;
};

#pragma GCC diagnostic pop

// Runs select_folder on a fake dialog made from the script; the dialog stays for inspection.
struct fake_run {
    explicit fake_run(const dialog_script& script) : dialog(new fake_dialog(script))
    {
        dialog->Release();  // the ComPtr above took its own reference
    }

    file_path pick(window* owner, const file_path& start = {})
    {
        return select_folder(owner, "Custom Folder \xE2\x9C\x93", start, [this](ComPtr<IFileOpenDialog>& made) {
            made = dialog;
            return S_OK;
        });
    }

    ComPtr<fake_dialog> dialog;
};

TEST_F(FolderPickerTest, EachFailingStepRaisesItsOwnMessageWithTheCallAndItsResult)
{
    struct case_row {
        const char* step;
        dialog_script script;
        HRESULT result;
        const char* message;
    };
    constexpr const char* setup_failed = "unable to setup the folder \"select\" dialog box";
    const case_row rows[] = {
        {"IFileDialog::GetOptions", {.get_options = E_FAIL}, E_FAIL, setup_failed},
        {"IFileDialog::SetOptions", {.set_options = E_INVALIDARG}, E_INVALIDARG, setup_failed},
        {"IFileDialog::SetTitle", {.set_title = E_OUTOFMEMORY}, E_OUTOFMEMORY, setup_failed},
        {"IModalWindow::Show", {.show = E_FAIL}, E_FAIL, "unable to display the folder \"select\" dialog box"},
        {"IFileDialog::GetResult",
         {.get_result = E_ACCESSDENIED},
         E_ACCESSDENIED,
         "unable to retrieve the selection from the folder \"select\" dialog box"},
        {"IShellItem::GetDisplayName",
         {.display_name = E_FAIL},
         E_FAIL,
         "unable to retrieve a result from the folder \"select\" dialog box"},
    };
    for (const case_row& row : rows) {
        fake_run run(row.script);
        try {
            run.pick(&owner);
            ADD_FAILURE() << row.step << " failed without an exception";
        } catch (const hresult_error& error) {
            EXPECT_STREQ(error.what(), row.message) << row.step;
            EXPECT_STREQ(error.step(), row.step);
            EXPECT_EQ(error.hresult(), row.result) << row.step;
        }
        // The setup calls are all made before any of their failures counts.
        EXPECT_TRUE(run.dialog->set_options.has_value()) << row.step;
        EXPECT_FALSE(run.dialog->title.empty()) << row.step;
    }

    // S_OK with no dialog is no dialog either.
    for (const auto& [made, reported] : {std::pair{E_FAIL, E_FAIL}, std::pair{S_OK, E_POINTER}}) {
        try {
            select_folder(&owner, "x", {}, [made](ComPtr<IFileOpenDialog>&) { return made; });
            ADD_FAILURE() << "a dialog that could not be made raised nothing";
        } catch (const hresult_error& error) {
            EXPECT_STREQ(error.what(), "unable to create the folder \"select\" dialog box");
            EXPECT_STREQ(error.step(), "CoCreateInstance");
            EXPECT_EQ(error.hresult(), reported);
        }
    }
}

TEST_F(FolderPickerTest, TheDialogPicksFileSystemFoldersUnderItsTitleModalToTheOwner)
{
    fake_run run({});
    EXPECT_EQ(run.pick(&owner, file_path(L"C:\\windows")).native(), L"D:\\Media");
    EXPECT_EQ(run.dialog->set_options, FOS_NOCHANGEDIR | FOS_PATHMUSTEXIST | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
    EXPECT_EQ(run.dialog->title, L"Custom Folder \u2713");
    EXPECT_TRUE(run.dialog->folder_set);
    EXPECT_EQ(run.dialog->shown_owner, owner.native().handle());

    fake_run no_owner({});
    EXPECT_EQ(no_owner.pick(nullptr, file_path(L"C:\\no such folder")).native(), L"D:\\Media");
    EXPECT_FALSE(no_owner.dialog->folder_set);  // a missing start folder is passed over
    EXPECT_EQ(no_owner.dialog->shown_owner, nullptr);

    fake_run cancelled({.show = HRESULT_FROM_WIN32(ERROR_CANCELLED)});
    EXPECT_TRUE(cancelled.pick(&owner).empty());
}

}  // namespace
