#include "qxsdk/ui/shell/folder_picker.h"

#include <memory>

#include "qxsdk/filesystem/text_conversion.h"
#include "qxsdk/ui/draw/hresult_check.h"
#include "qxsdk/ui/window/window.h"

namespace qxsdk::ui {

namespace {

using Microsoft::WRL::ComPtr;

struct task_memory_free {
    void operator()(wchar_t* text) const noexcept { CoTaskMemFree(text); }
};

// A call that answers success without the object it was to give failed all the same.
HRESULT with_object(HRESULT result, const void* object)
{
    return SUCCEEDED(result) && object == nullptr ? E_POINTER : result;
}

}  // namespace

HRESULT create_file_open_dialog(ComPtr<IFileOpenDialog>& dialog)
{
    return CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog));
}

filesystem::file_path select_folder(window* owner, std::string_view title, const filesystem::file_path& initial_folder,
                                    const folder_dialog_factory& make_dialog)
{
    ComPtr<IFileOpenDialog> dialog;
    const HRESULT created = make_dialog(dialog);
    check(with_object(created, dialog.Get()), "CoCreateInstance", "unable to create the folder \"select\" dialog box");

    // All three are asked for before any failure counts.
    FILEOPENDIALOGOPTIONS options = 0;
    const HRESULT read = dialog->GetOptions(&options);
    const HRESULT set = dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
    const HRESULT titled = dialog->SetTitle(utf8_to_wide(title).c_str());
    constexpr const char* setup_failed = "unable to setup the folder \"select\" dialog box";
    check(read, "IFileDialog::GetOptions", setup_failed);
    check(set, "IFileDialog::SetOptions", setup_failed);
    check(titled, "IFileDialog::SetTitle", setup_failed);

    // A start folder that is missing or unreadable leaves the dialog in its default folder.
    if (!initial_folder.empty()) {
        ComPtr<IShellItem> folder;
        if (SUCCEEDED(SHCreateItemFromParsingName(initial_folder.c_str(), nullptr, IID_PPV_ARGS(&folder)))) {
            dialog->SetFolder(folder.Get());
        }
    }

    const HRESULT shown = dialog->Show(owner != nullptr ? owner->native().handle() : nullptr);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) {
        return {};
    }
    check(shown, "IModalWindow::Show", "unable to display the folder \"select\" dialog box");

    ComPtr<IShellItem> chosen;
    const HRESULT chose = dialog->GetResult(&chosen);
    check(with_object(chose, chosen.Get()), "IFileDialog::GetResult",
          "unable to retrieve the selection from the folder \"select\" dialog box");
    wchar_t* name = nullptr;
    const HRESULT named = chosen->GetDisplayName(SIGDN_FILESYSPATH, &name);
    const std::unique_ptr<wchar_t, task_memory_free> owned_name(name);
    check(with_object(named, owned_name.get()), "IShellItem::GetDisplayName",
          "unable to retrieve a result from the folder \"select\" dialog box");
    return filesystem::file_path(std::wstring(owned_name.get()));
}

}  // namespace qxsdk::ui
