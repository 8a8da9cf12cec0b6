#pragma once

#include <windows.h>

#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>
#include <string_view>

#include "qxsdk/filesystem/file_path.h"

// Choosing one existing file-system folder in the platform's common file dialog. The calling thread must
// have COM initialised (a toolkit window initialises OLE on its thread). UI thread only.
namespace qxsdk::ui {

class window;

// Makes the dialog select_folder shows; the platform's file-open dialog unless a test hands in its own.
using folder_dialog_factory = std::function<HRESULT(Microsoft::WRL::ComPtr<IFileOpenDialog>& dialog)>;

HRESULT create_file_open_dialog(Microsoft::WRL::ComPtr<IFileOpenDialog>& dialog);

// Shows the dialog modal to the owner (when there is one) with the title, opening in the initial folder
// when that is given and exists. Returns the chosen folder's path, or an empty path when the user cancels.
// Failures throw hresult_error with a message naming the step that failed; callers decide what to show.
filesystem::file_path select_folder(window* owner, std::string_view title, const filesystem::file_path& initial_folder,
                                    const folder_dialog_factory& make_dialog = create_file_open_dialog);

}  // namespace qxsdk::ui
