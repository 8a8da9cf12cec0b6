#include "qxsdk/ui/window/native_drop_target.h"

#include <shellapi.h>

#include <exception>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/window/caught_exception.h"
#include "qxsdk/ui/window/native_window.h"
#include "qxsdk/ui/window/window.h"

namespace qxsdk::ui {

namespace {

// The storage a data object handed out, released on every way out.
class storage_medium {
public:
    storage_medium() = default;
    ~storage_medium() { ReleaseStgMedium(&medium_); }

    storage_medium(const storage_medium&) = delete;
    storage_medium& operator=(const storage_medium&) = delete;

    STGMEDIUM* get() noexcept { return &medium_; }

private:
    STGMEDIUM medium_{};
};

// The files of a drop, folders and paths that no longer exist left out.
dropped_files files_of(HDROP drop)
{
    dropped_files files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        // Unreadable attributes are all bits set, the folder bit among them.
        if ((GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            files.push_back(std::move(path));
        }
    }
    return files;
}

// The widget under the cursor when it wants files: it takes input and has a files_dropped handler.
widget* file_taker(window* win)
{
    if (win == nullptr) {
        return nullptr;
    }
    widget* hit = widget_at_point(*win, win->cursor_position());
    return takes_input(hit) && has_handlers(*hit, event_code::files_dropped) ? hit : nullptr;
}

// No exception may leave a COM method: a handler's failure is kept for the modal loop to throw again.
template <typename Call>
HRESULT guarded(Call&& call) noexcept
{
    try {
        return call();
    } catch (...) {
        keep_caught_exception(std::current_exception());
        return E_UNEXPECTED;
    }
}

}  // namespace

native_drop_target::native_drop_target() noexcept : ole_result_(OleInitialize(nullptr))
{
    CoLockObjectExternal(this, TRUE, FALSE);
}

native_drop_target::~native_drop_target()
{
    revoke();
    CoLockObjectExternal(this, FALSE, TRUE);
    // S_OK and S_FALSE each count one initialisation; RPC_E_CHANGED_MODE (the thread is multithreaded) none.
    if (SUCCEEDED(ole_result_)) {
        OleUninitialize();
    }
}

bool native_drop_target::register_for(native_window& owner, HWND handle) noexcept
{
    if (registered()) {
        return true;
    }
    owner_ = &owner;
    if (FAILED(RegisterDragDrop(handle, this))) {
        return false;
    }
    handle_ = handle;
    return true;
}

void native_drop_target::revoke() noexcept
{
    if (handle_ != nullptr) {
        RevokeDragDrop(handle_);
        handle_ = nullptr;
    }
}

HRESULT native_drop_target::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_FAIL;
    }
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
        AddRef();
        *out = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG native_drop_target::AddRef()
{
    return static_cast<ULONG>(++references_);
}

ULONG native_drop_target::Release()
{
    // The native window owns the target: reaching 0 frees nothing.
    return static_cast<ULONG>(--references_);
}

DWORD native_drop_target::offered_effect(DWORD allowed) const
{
    if ((allowed & DROPEFFECT_COPY) == 0 || owner_ == nullptr) {
        return DROPEFFECT_NONE;
    }
    return file_taker(owner_->toolkit_window()) != nullptr ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

HRESULT native_drop_target::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect)
{
    return DragOver(0, {}, effect);
}

HRESULT native_drop_target::DragOver(DWORD, POINTL, DWORD* effect)
{
    if (effect == nullptr) {
        return E_INVALIDARG;
    }
    return guarded([&] {
        *effect = offered_effect(*effect);
        return S_OK;
    });
}

HRESULT native_drop_target::DragLeave()
{
    return S_OK;
}

HRESULT native_drop_target::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    if (data == nullptr || effect == nullptr) {
        return E_INVALIDARG;
    }
    return guarded([&] { return deliver(*data, effect); });
}

HRESULT native_drop_target::deliver(IDataObject& data, DWORD* effect)
{
    const DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    storage_medium medium;
    if (FAILED(data.GetData(&format, medium.get())) || medium.get()->tymed != TYMED_HGLOBAL) {
        return E_FAIL;
    }
    const dropped_files files = files_of(static_cast<HDROP>(medium.get()->hGlobal));
    if ((allowed & DROPEFFECT_COPY) == 0 || owner_ == nullptr) {
        return S_OK;
    }
    // Only a widget with a handler takes the list, so the source learns whether anyone did.
    if (widget* taker = file_taker(owner_->toolkit_window()); taker != nullptr) {
        fire_event(*taker, event_code::files_dropped, address_value(&files));
        *effect = DROPEFFECT_COPY;
    }
    return S_OK;
}

}  // namespace qxsdk::ui
