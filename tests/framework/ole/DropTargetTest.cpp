#include "framework/Owners.h"
#include "framework/ole/DropTarget.h"
#include "tests/support/FileDropList.h"

#include <gtest/gtest.h>

#include <comdef.h>
#include <shlobj.h>

#include <cstring>
#include <stdexcept>

namespace
{
// Counts the releases of the media it is handed as their pUnkForRelease.
class ReleaseCounter : public UnknownImpl<IUnknown>
{
public:
    STDMETHODIMP_(ULONG) Release() override
    {
        ++releases;
        return UnknownImpl<IUnknown>::Release();
    }
    int releases = 0;
};

// A data object of the test's own: a CF_HDROP file list, or only text. A request it cannot
// answer leaves the medium holding a release hook, which a target must not call.
class TestDataObject : public UnknownImpl<IDataObject>
{
public:
    TestDataObject(std::vector<std::wstring> files, ReleaseCounter* counter)
        : files_(std::move(files)), counter_(counter)
    {
    }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        ++requests;
        if (format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL) || files_.empty())
        {
            medium->tymed = TYMED_NULL;
            medium->pUnkForRelease = counter_;
            return DV_E_FORMATETC;
        }
        HGLOBAL global = CreateFileDropList(files_);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = global;
        // With a release hook, ReleaseStgMedium calls it instead of freeing: the test frees.
        medium->pUnkForRelease = counter_;
        counter_->AddRef();
        handedOut = global;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override
    {
        return format->cfFormat == CF_HDROP && !files_.empty() ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

    int requests = 0;
    HGLOBAL handedOut = nullptr;

private:
    std::vector<std::wstring> files_;
    ReleaseCounter* counter_;
};

_COM_SMARTPTR_TYPEDEF(IDropTarget, IID_IDropTarget);

struct DropResult
{
    std::vector<std::vector<std::wstring>> calls;
    DWORD effect = DROPEFFECT_NONE;
    int mediumReleases = 0;
    int requests = 0;
};

DropResult DropOnto(DropTarget* target, const std::vector<std::wstring>& files)
{
    DropResult result;
    auto* counter = new ReleaseCounter;
    auto* data = new TestDataObject(files, counter);
    EXPECT_EQ(target->Drop(data, MK_LBUTTON, POINTL{10, 10}, &result.effect), S_OK);
    result.requests = data->requests;
    result.mediumReleases = counter->releases;
    if (data->handedOut)
        GlobalFree(data->handedOut);
    data->Release();
    counter->Release();
    return result;
}
} // namespace

TEST(DropTarget, DropOfFilesAndAFolderCallsOnDropOnceWithThePathsInOrder)
{
    auto* target = new DropTarget;
    IDropTargetPtr owner(target, false);
    DropResult seen;
    target->onDrop = [&seen](const std::vector<std::wstring>& paths) { seen.calls.push_back(paths); };
    const std::vector<std::wstring> files = {L"C:\\docs\\b.pdf", L"C:\\docs\\a.txt", L"C:\\docs\\\u00e9t\u00e9.docx",
                                             L"C:\\docs\\folder"};
    const DropResult result = DropOnto(target, files);
    ASSERT_EQ(seen.calls.size(), 1u);
    EXPECT_EQ(seen.calls[0], files);
    EXPECT_EQ(result.effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(result.mediumReleases, 1);
}

// A file list comes from another program and is read by hand: narrow names in the code page, a list
// cut off before its end, and a header that points outside the block are read without reading past it.
TEST(DropTarget, DroppedPathsAreReadFromNarrowListsAndNeverPastTheBlock)
{
    const auto block = [](const DROPFILES& header, const std::string& names) {
        Owners::GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof header + names.size()));
        auto* bytes = static_cast<char*>(GlobalLock(memory.get()));
        std::memcpy(bytes, &header, sizeof header);
        std::memcpy(bytes + sizeof header, names.data(), names.size());
        GlobalUnlock(memory.get());
        return memory;
    };
    DROPFILES narrow{};
    narrow.pFiles = sizeof narrow;
    const auto twoNames = block(narrow, std::string("C:\\a.txt\0C:\\b c\\d.pdf\0\0", 23));
    EXPECT_EQ(GetDroppedPaths(static_cast<HDROP>(twoNames.get())),
              (std::vector<std::wstring>{L"C:\\a.txt", L"C:\\b c\\d.pdf"}));

    const auto cutOff = block(narrow, "C:\\a.txt");
    EXPECT_EQ(GetDroppedPaths(static_cast<HDROP>(cutOff.get())), (std::vector<std::wstring>{L"C:\\a.txt"}));

    DROPFILES wide{};
    wide.pFiles = sizeof wide;
    wide.fWide = TRUE;
    const std::wstring name = L"C:\\\u00e9t\u00e9";
    const auto wideCutOff = block(wide, std::string(reinterpret_cast<const char*>(name.data()), name.size() * 2 + 1));
    EXPECT_EQ(GetDroppedPaths(static_cast<HDROP>(wideCutOff.get())), (std::vector<std::wstring>{name}));

    DROPFILES outside{};
    outside.pFiles = 4096;
    outside.fWide = TRUE;
    const auto pointsOutside = block(outside, std::string(8, 'a'));
    EXPECT_TRUE(GetDroppedPaths(static_cast<HDROP>(pointsOutside.get())).empty());
}

TEST(DropTarget, DropWithoutFilesCallsNothingAndReleasesNoMediumItWasNotGiven)
{
    auto* target = new DropTarget;
    IDropTargetPtr owner(target, false);
    int calls = 0;
    target->onDrop = [&calls](const std::vector<std::wstring>&) { ++calls; };
    const DropResult result = DropOnto(target, {});
    EXPECT_EQ(result.requests, 1);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(result.mediumReleases, 0);
}

TEST(DropTarget, DropOnATargetWithoutCallbackStillReleasesTheMedium)
{
    IDropTargetPtr owner(new DropTarget, false);
    const DropResult result = DropOnto(static_cast<DropTarget*>(static_cast<IDropTarget*>(owner)), {L"C:\\x.txt"});
    EXPECT_EQ(result.mediumReleases, 1);
    EXPECT_EQ(result.effect, static_cast<DWORD>(DROPEFFECT_COPY));
}

TEST(DropTarget, ACallbackThatThrowsDoesNotEscapeTheDrop)
{
    auto* target = new DropTarget;
    IDropTargetPtr owner(target, false);
    target->onDrop = [](const std::vector<std::wstring>&) { throw std::runtime_error("full"); };
    const DropResult result = DropOnto(target, {L"C:\\x.txt"});
    EXPECT_EQ(result.mediumReleases, 1);
}

TEST(DropTarget, OffersCopyWhileDraggingWhateverIsDragged)
{
    IDropTargetPtr target(new DropTarget, false);
    DWORD effect = DROPEFFECT_MOVE | DROPEFFECT_LINK;
    auto* counter = new ReleaseCounter;
    auto* text = new TestDataObject({}, counter);
    EXPECT_EQ(target->DragEnter(text, 0, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_NONE;
    EXPECT_EQ(target->DragOver(0, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(target->DragLeave(), S_OK);
    EXPECT_EQ(text->requests, 0) << "dragging does not look at the data";
    text->Release();
    counter->Release();
}

TEST(DropTarget, RegistrationOnAWindowHoldsAReferenceUntilRevoked)
{
    Owners::OleApartment ole;
    ASSERT_TRUE(SUCCEEDED(ole.result()));
    Owners::OwnedWindow window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                               GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(window);
    auto* target = new DropTarget;
    ASSERT_EQ(RegisterDragDrop(window.get(), target), S_OK);
    EXPECT_GT(target->AddRef(), 2u);
    target->Release();
    ASSERT_EQ(RevokeDragDrop(window.get()), S_OK);
    EXPECT_EQ(target->Release(), 0u);
}
