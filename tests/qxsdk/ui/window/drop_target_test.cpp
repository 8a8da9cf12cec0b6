// Files dragged onto a window: an in-process drag (OLE's own DoDragDrop with a data object of the test)
// over real widgets at the real cursor position.
#include "qxsdk/ui/window/native_drop_target.h"

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"
#include "tests/qxsdk/ui/window/window_test_support.h"

namespace {

using namespace window_test;

// COM interfaces have no virtual destructor: the test's objects live on its stack.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// A data object with a file list (CF_HDROP) of the given paths, or with no file list at all.
class file_list_data : public IDataObject {
public:
    explicit file_list_data(std::vector<std::wstring> paths, bool has_files = true)
        : paths_(std::move(paths)), has_files_(has_files)
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDataObject) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the test's stack.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK) {
            return DV_E_FORMATETC;
        }
        // DROPFILES, then each path with its NUL, then one more NUL.
        std::wstring names;
        for (const std::wstring& path : paths_) {
            names += path;
            names.push_back(L'\0');
        }
        names.push_back(L'\0');
        const std::size_t size = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
        auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        ++handed_out;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return has_files_ && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) != 0 ? S_OK
                                                                                                  : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

    int handed_out = 0;

private:
    std::vector<std::wstring> paths_;
    bool has_files_;
};

// Holds the button for a few rounds of the drag, then drops; records the effects the target showed.
class dropping_source : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDropSource) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return ++rounds_ < 5 ? S_OK : DRAGDROP_S_DROP; }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override
    {
        shown.push_back(effect);
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

    std::vector<DWORD> shown;

private:
    int rounds_ = 0;
};

#pragma GCC diagnostic pop

// Two files and a folder under C:\kyrox-drop; a widget with a files_dropped handler and one without.
class DropTargetTest : public ShownWindowTest {
protected:
    DropTargetTest()
    {
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW(sub_folder.c_str(), nullptr);
        for (const std::wstring& file : {first_file, second_file}) {
            CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }
        attach_widget(wanting, win.root(), {20, 20, 150, 100});
        attach_widget(indifferent, win.root(), {200, 20, 150, 100});
        connect_event(wanting, event_code::files_dropped, [this](const event_info& event) {
            received.push_back(*value_address<const dropped_files>(event.value));
        });
    }
    ~DropTargetTest() override
    {
        DeleteFileW(first_file.c_str());
        DeleteFileW(second_file.c_str());
        RemoveDirectoryW(sub_folder.c_str());
        RemoveDirectoryW(folder.c_str());
    }

    // Drags the test's paths from the point (window units) and drops them there; the final effect.
    DWORD drag_to(point at, DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE)
    {
        move_cursor_to(win, at);
        pump_for(20ms);
        DWORD effect = DROPEFFECT_NONE;
        EXPECT_EQ(DoDragDrop(&data, &source, allowed, &effect), DRAGDROP_S_DROP);
        return effect;
    }

    const std::wstring folder = L"C:\\kyrox-drop";
    const std::wstring first_file = folder + L"\\first.txt";
    const std::wstring sub_folder = folder + L"\\folder";
    const std::wstring second_file = folder + L"\\second.txt";
    file_list_data data{{first_file, sub_folder, second_file}};
    dropping_source source;
    widget wanting;
    widget indifferent;
    std::vector<dropped_files> received;
};

TEST_F(DropTargetTest, TheWindowRegistersItsTarget)
{
    EXPECT_TRUE(win.native().drop_target().registered());
    EXPECT_TRUE(SUCCEEDED(win.native().drop_target().ole_result()));
}

TEST_F(DropTargetTest, FilesDroppedOnAWidgetWithAHandlerArriveAsAListWithoutTheFolder)
{
    EXPECT_EQ(drag_to({60, 60}), static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], (dropped_files{first_file, second_file}));
    ASSERT_FALSE(source.shown.empty());
    for (const DWORD shown : source.shown) {
        EXPECT_EQ(shown, static_cast<DWORD>(DROPEFFECT_COPY));  // a copy, never a move
    }
}

TEST_F(DropTargetTest, AWidgetWithoutAHandlerOrDisabledShowsAndReportsNoEffect)
{
    EXPECT_EQ(drag_to({260, 60}), static_cast<DWORD>(DROPEFFECT_NONE));
    set_enabled(wanting, false);
    EXPECT_EQ(drag_to({60, 60}), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(received.empty());
    for (const DWORD shown : source.shown) {
        EXPECT_EQ(shown, static_cast<DWORD>(DROPEFFECT_NONE));
    }
}

TEST_F(DropTargetTest, ASourceThatOnlyAllowsAMoveDropsNothing)
{
    EXPECT_EQ(drag_to({60, 60}, DROPEFFECT_MOVE), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(received.empty());
}

TEST_F(DropTargetTest, DataWithoutAFileListFailsTheDropAndRaisesNothing)
{
    file_list_data no_files({}, false);
    move_cursor_to(win, {60, 60});
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(win.native().drop_target().Drop(&no_files, 0, {}, &effect), E_FAIL);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(win.native().drop_target().Drop(nullptr, 0, {}, &effect), E_INVALIDARG);
}

TEST_F(DropTargetTest, AHandlerThatThrowsFailsTheDropAndTheErrorWaitsForTheModalLoop)
{
    connect_event(wanting, event_code::files_dropped,
                  [](const event_info&) -> void { throw std::runtime_error("full"); });
    move_cursor_to(win, {60, 60});
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(win.native().drop_target().Drop(&data, 0, {}, &effect), E_UNEXPECTED);
    PostMessageW(win.native().handle(), WM_NULL, 0, 0);
    EXPECT_THROW(win.run_modal(), std::runtime_error);
}

TEST_F(DropTargetTest, QueryInterfaceAnswersForTheDropTargetOnly)
{
    native_drop_target& target = win.native().drop_target();
    EXPECT_EQ(target.QueryInterface(IID_IDropTarget, nullptr), E_FAIL);
    void* out = &target;
    EXPECT_EQ(target.QueryInterface(IID_IDataObject, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    ASSERT_EQ(target.QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<IDropTarget*>(&target));
    const ULONG after_add = target.AddRef();
    EXPECT_EQ(target.Release(), after_add - 1);
    target.Release();  // the reference QueryInterface added
}

}  // namespace
