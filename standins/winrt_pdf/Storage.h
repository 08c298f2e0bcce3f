#pragma once
// Stand-in storage classes: a file and a folder reached by path, and a file's random-access
// stream, with the failure codes the platform gives.

#include "framework/Owners.h"
#include "standins/winrt_pdf/RuntimeObject.h"

#include <mutex>
#include <string>
#include <vector>

namespace WinRtStandIn
{
// The platform's answers for a path that is not absolute with backslashes, and for a missing item.
void CheckItemPath(const std::wstring& path);

// What files and folders share: a path, a name and a kind (IStorageItem).
class StorageItem : public WinRt::IStorageItem
{
public:
    const std::wstring& Path() const { return path_; }

    STDMETHODIMP RenameAsyncOverloadDefaultOptions(HSTRING, WinRt::IAsyncAction**) override { return E_NOTIMPL; }
    STDMETHODIMP RenameAsync(HSTRING, int32_t, WinRt::IAsyncAction**) override { return E_NOTIMPL; }
    STDMETHODIMP DeleteAsyncOverloadDefaultOptions(WinRt::IAsyncAction**) override { return E_NOTIMPL; }
    STDMETHODIMP DeleteAsync(int32_t, WinRt::IAsyncAction**) override { return E_NOTIMPL; }
    STDMETHODIMP GetBasicPropertiesAsync(IInspectable**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(HSTRING* value) override;
    STDMETHODIMP get_Path(HSTRING* value) override;
    STDMETHODIMP get_Attributes(UINT32* value) override;
    STDMETHODIMP get_DateCreated(INT64*) override { return E_NOTIMPL; }
    STDMETHODIMP IsOfType(UINT32 type, boolean* value) override;

protected:
    std::wstring path_;
    bool isFolder_ = false;
};

class StorageFile final : public RuntimeObject<WinRt::IStorageFile, StorageItem>
{
public:
    explicit StorageFile(std::wstring path) { path_ = std::move(path); }

    STDMETHODIMP get_FileType(HSTRING* value) override;
    STDMETHODIMP get_ContentType(HSTRING* value) override;
    STDMETHODIMP OpenAsync(WinRt::FileAccessMode mode, WinRt::IStreamOperation** operation) override;
    STDMETHODIMP OpenTransactedWriteAsync(IInspectable**) override { return E_NOTIMPL; }
    STDMETHODIMP CopyOverloadDefaultNameAndOptions(WinRt::IStorageFolder*, WinRt::IStorageFileOperation**) override { return E_NOTIMPL; }
    STDMETHODIMP CopyOverloadDefaultOptions(WinRt::IStorageFolder*, HSTRING, WinRt::IStorageFileOperation**) override { return E_NOTIMPL; }
    STDMETHODIMP CopyOverload(WinRt::IStorageFolder*, HSTRING, int32_t, WinRt::IStorageFileOperation**) override { return E_NOTIMPL; }
    STDMETHODIMP CopyAndReplaceAsync(WinRt::IStorageFile*, WinRt::IAsyncAction**) override { return E_NOTIMPL; }
    STDMETHODIMP MoveOverloadDefaultNameAndOptions(WinRt::IStorageFolder*, WinRt::IAsyncAction**) override { return E_NOTIMPL; }
    STDMETHODIMP MoveOverloadDefaultOptions(WinRt::IStorageFolder*, HSTRING, WinRt::IAsyncAction**) override { return E_NOTIMPL; }
    STDMETHODIMP MoveOverload(WinRt::IStorageFolder*, HSTRING, int32_t, WinRt::IAsyncAction**) override { return E_NOTIMPL; }
    STDMETHODIMP MoveAndReplaceAsync(WinRt::IStorageFile*, WinRt::IAsyncAction**) override { return E_NOTIMPL; }

protected:
    const wchar_t* ClassName() const override { return L"Windows.Storage.StorageFile"; }
};

class StorageFolder final : public RuntimeObject<WinRt::IStorageFolder, StorageItem>
{
public:
    explicit StorageFolder(std::wstring path)
    {
        path_ = std::move(path);
        isFolder_ = true;
    }

    STDMETHODIMP CreateFileAsyncOverloadDefaultOptions(HSTRING name, WinRt::IStorageFileOperation** operation) override;
    STDMETHODIMP CreateFileAsync(HSTRING name, WinRt::CreationCollisionOption option,
                                 WinRt::IStorageFileOperation** operation) override;
    STDMETHODIMP CreateFolderAsyncOverloadDefaultOptions(HSTRING, WinRt::IStorageFolderOperation**) override { return E_NOTIMPL; }
    STDMETHODIMP CreateFolderAsync(HSTRING, WinRt::CreationCollisionOption, WinRt::IStorageFolderOperation**) override { return E_NOTIMPL; }
    STDMETHODIMP GetFileAsync(HSTRING name, WinRt::IStorageFileOperation** operation) override;
    STDMETHODIMP GetFolderAsync(HSTRING, WinRt::IStorageFolderOperation**) override { return E_NOTIMPL; }
    STDMETHODIMP GetItemAsync(HSTRING, IInspectable**) override { return E_NOTIMPL; }
    STDMETHODIMP GetFilesAsyncOverloadDefaultOptionsStartAndCount(IInspectable**) override { return E_NOTIMPL; }
    STDMETHODIMP GetFoldersAsyncOverloadDefaultOptionsStartAndCount(IInspectable**) override { return E_NOTIMPL; }
    STDMETHODIMP GetItemsAsyncOverloadDefaultStartAndCount(IInspectable**) override { return E_NOTIMPL; }

protected:
    const wchar_t* ClassName() const override { return L"Windows.Storage.StorageFolder"; }
};

// A file's bytes as a random-access stream; writes go straight to the file.
class FileStream final
    : public RuntimeObject<WinRt::IRandomAccessStream, WinRt::IClosable, WinRt::IInputStream, WinRt::IOutputStream>
{
public:
    FileStream(Owners::FileHandle file, bool canWrite) : file_(std::move(file)), canWrite_(canWrite) {}

    STDMETHODIMP get_Size(UINT64* value) override;
    STDMETHODIMP put_Size(UINT64 value) override;
    STDMETHODIMP GetInputStreamAt(UINT64, WinRt::IInputStream**) override { return E_NOTIMPL; }
    STDMETHODIMP GetOutputStreamAt(UINT64, WinRt::IOutputStream**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Position(UINT64* value) override;
    STDMETHODIMP Seek(UINT64 position) override;
    STDMETHODIMP CloneStream(WinRt::IRandomAccessStream**) override { return E_NOTIMPL; }
    STDMETHODIMP get_CanRead(boolean* value) override;
    STDMETHODIMP get_CanWrite(boolean* value) override;
    STDMETHODIMP Close() override;
    STDMETHODIMP ReadAsync(WinRt::IBuffer*, UINT32, UINT32, IInspectable**) override { return E_NOTIMPL; }
    STDMETHODIMP WriteAsync(WinRt::IBuffer* buffer, WinRt::IWriteOperation** operation) override;
    STDMETHODIMP FlushAsync(WinRt::IFlushOperation** operation) override;

protected:
    const wchar_t* ClassName() const override { return L"Windows.Storage.Streams.FileRandomAccessStream"; }

private:
    std::mutex lock_;
    Owners::FileHandle file_;
    bool canWrite_;
    UINT64 position_ = 0;
};

// Bytes handed to a stream's WriteAsync.
class ByteBuffer final : public RuntimeObject<WinRt::IBuffer, WinRt::IBufferByteAccess>
{
public:
    explicit ByteBuffer(std::string bytes) : bytes_(std::move(bytes)), length_(static_cast<UINT32>(bytes_.size())) {}

    STDMETHODIMP get_Capacity(UINT32* value) override;
    STDMETHODIMP get_Length(UINT32* value) override;
    STDMETHODIMP put_Length(UINT32 value) override;
    STDMETHODIMP Buffer(BYTE** value) override;

protected:
    const wchar_t* ClassName() const override { return L"Windows.Storage.Streams.Buffer"; }

private:
    std::string bytes_;
    UINT32 length_;
};
} // namespace WinRtStandIn

// A storage item answers for IStorageItem.
__CRT_UUID_DECL(WinRtStandIn::StorageItem, 0x4207A996, 0xCA2F, 0x42F7, 0xBD, 0xE8, 0x8B, 0x10, 0x45, 0x7A, 0x7F, 0x30)
