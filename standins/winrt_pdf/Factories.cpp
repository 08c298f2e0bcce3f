// The component's entry points: the activation factories of the four classes it stands in for.

#include "framework/winrt/HString.h"
#include "framework/winrt/RuntimeError.h"
#include "standins/winrt_pdf/AsyncOperation.h"
#include "standins/winrt_pdf/PdfDocument.h"
#include "standins/winrt_pdf/Storage.h"

#include <string>
#include <type_traits>

namespace WinRtStandIn
{
namespace
{
// The path's file or folder, looked up when the operation runs, as the platform does.
template <typename Item>
void CheckExists(const std::wstring& path)
{
    CheckItemPath(path);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
    {
        const DWORD error = ::GetLastError();
        throw WinRt::RuntimeError(HRESULT_FROM_WIN32(error == ERROR_PATH_NOT_FOUND ? ERROR_PATH_NOT_FOUND
                                                                                    : ERROR_FILE_NOT_FOUND));
    }
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder != std::is_same_v<Item, StorageFolder>)
        throw WinRt::RuntimeError(E_INVALIDARG);
}

// The operation that finds the item of a path.
template <typename Item, typename Interface>
WinRt::IAsyncOperation<Interface*>* StartLookup(const wchar_t* operationName, HSTRING path)
{
    return AsyncOperation<Interface*>::Start(operationName, [path = WinRt::HString::TextOf(path)] {
        CheckExists<Item>(path);
        WinRt::ComPtr<Interface> item;
        item.Attach(new Item(path));
        return item;
    });
}

class StorageFileFactory final : public RuntimeObject<WinRt::IActivationFactory, WinRt::IStorageFileStatics>
{
public:
    STDMETHODIMP ActivateInstance(IInspectable**) override { return E_NOTIMPL; }
    STDMETHODIMP GetFileFromPathAsync(HSTRING path, WinRt::IStorageFileOperation** operation) override
    {
        if (!operation)
            return E_POINTER;
        *operation = StartLookup<StorageFile, WinRt::IStorageFile>(L"GetFileFromPath", path);
        return S_OK;
    }
    STDMETHODIMP GetFileFromApplicationUriAsync(IInspectable*, WinRt::IStorageFileOperation**) override { return E_NOTIMPL; }
    STDMETHODIMP CreateStreamedFileAsync(HSTRING, IUnknown*, IInspectable*, WinRt::IStorageFileOperation**) override { return E_NOTIMPL; }
    STDMETHODIMP ReplaceWithStreamedFileAsync(WinRt::IStorageFile*, IUnknown*, IInspectable*, WinRt::IStorageFileOperation**) override { return E_NOTIMPL; }
    STDMETHODIMP CreateStreamedFileFromUriAsync(HSTRING, IInspectable*, IInspectable*, WinRt::IStorageFileOperation**) override { return E_NOTIMPL; }
    STDMETHODIMP ReplaceWithStreamedFileFromUriAsync(WinRt::IStorageFile*, IInspectable*, IInspectable*, WinRt::IStorageFileOperation**) override { return E_NOTIMPL; }

protected:
    const wchar_t* ClassName() const override { return WinRt::StorageFileClass; }
};

class StorageFolderFactory final : public RuntimeObject<WinRt::IActivationFactory, WinRt::IStorageFolderStatics>
{
public:
    STDMETHODIMP ActivateInstance(IInspectable**) override { return E_NOTIMPL; }
    STDMETHODIMP GetFolderFromPathAsync(HSTRING path, WinRt::IStorageFolderOperation** operation) override
    {
        if (!operation)
            return E_POINTER;
        *operation = StartLookup<StorageFolder, WinRt::IStorageFolder>(L"GetFolderFromPath", path);
        return S_OK;
    }

protected:
    const wchar_t* ClassName() const override { return WinRt::StorageFolderClass; }
};

class PdfDocumentFactory final : public RuntimeObject<WinRt::IActivationFactory, WinRt::IPdfDocumentStatics>
{
public:
    STDMETHODIMP ActivateInstance(IInspectable**) override { return E_NOTIMPL; }
    STDMETHODIMP LoadFromFileAsync(WinRt::IStorageFile* file, WinRt::IPdfDocumentOperation** operation) override
    {
        return Load(file, std::nullopt, operation);
    }
    STDMETHODIMP LoadFromFileWithPasswordAsync(WinRt::IStorageFile* file, HSTRING password,
                                               WinRt::IPdfDocumentOperation** operation) override
    {
        return Load(file, WinRt::HString::TextOf(password), operation);
    }
    STDMETHODIMP LoadFromStreamAsync(WinRt::IRandomAccessStream*, WinRt::IPdfDocumentOperation**) override { return E_NOTIMPL; }
    STDMETHODIMP LoadFromStreamWithPasswordAsync(WinRt::IRandomAccessStream*, HSTRING, WinRt::IPdfDocumentOperation**) override { return E_NOTIMPL; }

protected:
    const wchar_t* ClassName() const override { return WinRt::PdfDocumentClass; }

private:
    static HRESULT Load(WinRt::IStorageFile* file, const std::optional<std::wstring>& password,
                        WinRt::IPdfDocumentOperation** operation)
    {
        try
        {
            LoadPdfDocument(file, password, operation);
            return S_OK;
        }
        catch (const WinRt::RuntimeError& error)
        {
            return error.code();
        }
    }
};

class RenderOptionsFactory final : public RuntimeObject<WinRt::IActivationFactory>
{
public:
    STDMETHODIMP ActivateInstance(IInspectable** instance) override
    {
        if (!instance)
            return E_POINTER;
        *instance = static_cast<WinRt::IPdfPageRenderOptions*>(new PdfPageRenderOptions());
        return S_OK;
    }

protected:
    const wchar_t* ClassName() const override { return WinRt::PdfPageRenderOptionsClass; }
};
} // namespace
} // namespace WinRtStandIn

extern "C" HRESULT WINAPI DllGetActivationFactory(HSTRING classId, WinRt::IActivationFactory** factory)
{
    using namespace WinRtStandIn;
    if (!factory)
        return E_POINTER;
    *factory = nullptr;
    const std::wstring name = WinRt::HString::TextOf(classId);
    if (name == WinRt::StorageFileClass)
        *factory = new StorageFileFactory();
    else if (name == WinRt::StorageFolderClass)
        *factory = new StorageFolderFactory();
    else if (name == WinRt::PdfDocumentClass)
        *factory = new PdfDocumentFactory();
    else if (name == WinRt::PdfPageRenderOptionsClass)
        *factory = new RenderOptionsFactory();
    else
        return CLASS_E_CLASSNOTAVAILABLE;
    return S_OK;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return g_liveComObjects == 0 ? S_OK : S_FALSE; }
