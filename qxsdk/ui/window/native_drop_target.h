#pragma once

#include <windows.h>

#include <oleidl.h>

#include <atomic>
#include <string>
#include <vector>

// The OLE drop target of a toolkit window: files dragged from the shell onto a widget that wants them (it
// has a files_dropped handler and takes input) arrive there as a list of paths, folders left out. It lives
// inside its native window, which initialises OLE for the thread with it; its reference count never decides
// its lifetime. UI thread only (OLE calls it from the window's message dispatch).
namespace qxsdk::ui {

class native_window;

// What files_dropped carries (by address): the dropped files' paths in the order the source gave them,
// valid while the handlers run.
using dropped_files = std::vector<std::wstring>;

// COM interfaces have no virtual destructor: their objects end through Release, or here with their owner.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class native_drop_target final : public IDropTarget {
public:
    // Initialises OLE for the thread and locks the target in memory for OLE.
    native_drop_target() noexcept;
    // Revokes the registration, unlocks and undoes its OLE initialisation.
    ~native_drop_target();

    native_drop_target(const native_drop_target&) = delete;
    native_drop_target& operator=(const native_drop_target&) = delete;

    // Registers the target for the window's handle; nothing when it is registered already. False when the
    // platform refused (OLE is not initialised for a single-threaded apartment on this thread).
    bool register_for(native_window& owner, HWND handle) noexcept;
    void revoke() noexcept;
    bool registered() const noexcept { return handle_ != nullptr; }
    HRESULT ole_result() const noexcept { return ole_result_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD key_state, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD key_state, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD key_state, POINTL at, DWORD* effect) override;

private:
    // Copy over a widget that wants files, when the source allows it; never move, which would let the
    // source delete the files.
    DWORD offered_effect(DWORD allowed) const;
    HRESULT deliver(IDataObject& data, DWORD* effect);

    HRESULT ole_result_;
    native_window* owner_ = nullptr;
    HWND handle_ = nullptr;
    std::atomic<LONG> references_{1};
};
#pragma GCC diagnostic pop

}  // namespace qxsdk::ui
