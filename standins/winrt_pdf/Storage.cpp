#include "standins/winrt_pdf/Storage.h"

#include "framework/winrt/HString.h"
#include "framework/winrt/RuntimeError.h"
#include "standins/winrt_pdf/AsyncOperation.h"

#include <shlwapi.h>

namespace WinRtStandIn
{
namespace
{
constexpr HRESULT ClosedObject = static_cast<HRESULT>(0x80000013); // RO_E_CLOSED
constexpr UINT32 FileType = 1;
constexpr UINT32 FolderType = 2;
constexpr UINT32 DirectoryAttribute = 16;
constexpr UINT32 ArchiveAttribute = 32;

HRESULT MakeString(const std::wstring& text, HSTRING* value)
{
    if (!value)
        return E_POINTER;
    return ::WindowsCreateString(text.c_str(), static_cast<UINT32>(text.size()), value);
}

HRESULT LastError() { return HRESULT_FROM_WIN32(::GetLastError()); }

// Names that a folder refuses for a new file.
bool IsValidName(const std::wstring& name)
{
    return !name.empty() && name.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos && name != L"." && name != L"..";
}

// "name (n).ext", as the platform numbers a new file beside an existing one.
std::wstring NumberedName(const std::wstring& name, unsigned number)
{
    const wchar_t* extension = ::PathFindExtensionW(name.c_str());
    const std::wstring stem(name.c_str(), extension);
    return stem + L" (" + std::to_wstring(number) + L")" + extension;
}
} // namespace

void CheckItemPath(const std::wstring& path)
{
    if (path.find(L'/') != std::wstring::npos || ::PathIsRelativeW(path.c_str()) || ::PathIsURLW(path.c_str()))
        throw WinRt::RuntimeError(E_INVALIDARG);
}

HRESULT StorageItem::get_Name(HSTRING* value) { return MakeString(::PathFindFileNameW(path_.c_str()), value); }
HRESULT StorageItem::get_Path(HSTRING* value) { return MakeString(path_, value); }

HRESULT StorageItem::get_Attributes(UINT32* value)
{
    if (!value)
        return E_POINTER;
    *value = isFolder_ ? DirectoryAttribute : ArchiveAttribute;
    return S_OK;
}

HRESULT StorageItem::IsOfType(UINT32 type, boolean* value)
{
    if (!value)
        return E_POINTER;
    *value = type == (isFolder_ ? FolderType : FileType);
    return S_OK;
}

HRESULT StorageFile::get_FileType(HSTRING* value) { return MakeString(::PathFindExtensionW(path_.c_str()), value); }

HRESULT StorageFile::get_ContentType(HSTRING* value)
{
    const std::wstring extension = ::PathFindExtensionW(path_.c_str());
    return MakeString(_wcsicmp(extension.c_str(), L".pdf") == 0   ? L"application/pdf"
                      : _wcsicmp(extension.c_str(), L".png") == 0 ? L"image/png"
                                                                   : L"application/octet-stream",
                      value);
}

HRESULT StorageFile::OpenAsync(WinRt::FileAccessMode mode, WinRt::IStreamOperation** operation)
{
    if (!operation)
        return E_POINTER;
    if (mode != WinRt::FileAccessMode::Read && mode != WinRt::FileAccessMode::ReadWrite)
        return E_INVALIDARG;
    const std::wstring path = path_;
    *operation = AsyncOperation<WinRt::IRandomAccessStream*>::Start(L"Open", [path, mode] {
        const bool write = mode == WinRt::FileAccessMode::ReadWrite;
        Owners::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ | (write ? GENERIC_WRITE : 0),
                                              FILE_SHARE_READ | (write ? 0 : FILE_SHARE_WRITE), nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            throw WinRt::RuntimeError(LastError());
        WinRt::ComPtr<WinRt::IRandomAccessStream> stream;
        stream.Attach(new FileStream(std::move(file), write));
        return stream;
    });
    return S_OK;
}




HRESULT StorageFolder::CreateFileAsyncOverloadDefaultOptions(HSTRING name, WinRt::IStorageFileOperation** operation)
{
    return CreateFileAsync(name, WinRt::CreationCollisionOption::FailIfExists, operation);
}

HRESULT StorageFolder::CreateFileAsync(HSTRING desiredName, WinRt::CreationCollisionOption option,
                                       WinRt::IStorageFileOperation** operation)
{
    if (!operation)
        return E_POINTER;
    const std::wstring name = WinRt::HString::TextOf(desiredName);
    if (!IsValidName(name))
        return E_INVALIDARG;
    const std::wstring folder = path_;
    *operation = AsyncOperation<WinRt::IStorageFile*>::Start(L"CreateFile", [folder, name, option] {
        const std::wstring base = folder + (folder.empty() || folder.back() == L'\\' ? L"" : L"\\");
        std::wstring path = base + name;
        const DWORD disposition = option == WinRt::CreationCollisionOption::ReplaceExisting ? CREATE_ALWAYS
                                  : option == WinRt::CreationCollisionOption::OpenIfExists  ? OPEN_ALWAYS
                                                                                             : CREATE_NEW;
        for (unsigned number = 2;; ++number)
        {
            // Creating the file is what claims the name, so two renders never get the same one.
            Owners::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                  nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file)
                break;
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_EXISTS || option != WinRt::CreationCollisionOption::GenerateUniqueName)
                throw WinRt::RuntimeError(error == ERROR_FILE_EXISTS ? HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS)
                                                                     : HRESULT_FROM_WIN32(error));
            path = base + NumberedName(name, number);
        }
        WinRt::ComPtr<WinRt::IStorageFile> file;
        file.Attach(new StorageFile(path));
        return file;
    });
    return S_OK;
}

HRESULT StorageFolder::GetFileAsync(HSTRING name, WinRt::IStorageFileOperation** operation)
{
    if (!operation)
        return E_POINTER;
    const std::wstring path = path_ + L"\\" + WinRt::HString::TextOf(name);
    *operation = AsyncOperation<WinRt::IStorageFile*>::Start(L"GetFile", [path] {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            throw WinRt::RuntimeError(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
        WinRt::ComPtr<WinRt::IStorageFile> file;
        file.Attach(new StorageFile(path));
        return file;
    });
    return S_OK;
}




HRESULT FileStream::get_Size(UINT64* value)
{
    if (!value)
        return E_POINTER;
    std::lock_guard guard(lock_);
    LARGE_INTEGER size{};
    if (!file_)
        return ClosedObject;
    if (!::GetFileSizeEx(file_.get(), &size))
        return LastError();
    *value = static_cast<UINT64>(size.QuadPart);
    return S_OK;
}

HRESULT FileStream::put_Size(UINT64 value)
{
    std::lock_guard guard(lock_);
    if (!file_)
        return ClosedObject;
    if (!canWrite_)
        return E_ACCESSDENIED;
    LARGE_INTEGER size{};
    size.QuadPart = static_cast<LONGLONG>(value);
    if (!::SetFilePointerEx(file_.get(), size, nullptr, FILE_BEGIN) || !::SetEndOfFile(file_.get()))
        return LastError();
    return S_OK;
}

HRESULT FileStream::get_Position(UINT64* value)
{
    if (!value)
        return E_POINTER;
    std::lock_guard guard(lock_);
    *value = position_;
    return file_ ? S_OK : ClosedObject;
}

HRESULT FileStream::Seek(UINT64 position)
{
    std::lock_guard guard(lock_);
    position_ = position;
    return file_ ? S_OK : ClosedObject;
}

HRESULT FileStream::get_CanRead(boolean* value)
{
    if (!value)
        return E_POINTER;
    *value = true;
    return S_OK;
}

HRESULT FileStream::get_CanWrite(boolean* value)
{
    if (!value)
        return E_POINTER;
    *value = canWrite_;
    return S_OK;
}

HRESULT FileStream::Close()
{
    std::lock_guard guard(lock_);
    file_.reset();
    return S_OK;
}

HRESULT FileStream::WriteAsync(WinRt::IBuffer* buffer, WinRt::IWriteOperation** operation)
{
    if (!buffer || !operation)
        return E_POINTER;
    if (!canWrite_)
        return E_ACCESSDENIED;
    // The bytes are taken now: the caller may reuse its buffer once the call returns.
    WinRt::ComPtr<WinRt::IBufferByteAccess> access;
    HRESULT hr = buffer->QueryInterface(__uuidof(WinRt::IBufferByteAccess), reinterpret_cast<void**>(&access));
    if (FAILED(hr))
        return hr;
    UINT32 length = 0;
    BYTE* bytes = nullptr;
    if (FAILED(hr = buffer->get_Length(&length)) || FAILED(hr = access->Buffer(&bytes)))
        return hr;
    std::string data(reinterpret_cast<const char*>(bytes), length);
    WinRt::ComPtr<WinRt::IRandomAccessStream> self(static_cast<WinRt::IRandomAccessStream*>(this));
    *operation = WriteOperation::Start(L"Write", [this, self, data = std::move(data)] {
        std::lock_guard guard(lock_);
        if (!file_)
            throw WinRt::RuntimeError(ClosedObject);
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(position_);
        DWORD written = 0;
        if (!::SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) ||
            !::WriteFile(file_.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr))
            throw WinRt::RuntimeError(LastError());
        position_ += written;
        return static_cast<UINT32>(written);
    });
    return S_OK;
}

HRESULT FileStream::FlushAsync(WinRt::IFlushOperation** operation)
{
    if (!operation)
        return E_POINTER;
    WinRt::ComPtr<WinRt::IRandomAccessStream> self(static_cast<WinRt::IRandomAccessStream*>(this));
    *operation = AsyncOperation<boolean>::Start(L"Flush", [this, self] {
        std::lock_guard guard(lock_);
        if (!file_)
            throw WinRt::RuntimeError(ClosedObject);
        return static_cast<boolean>(::FlushFileBuffers(file_.get()) != FALSE);
    });
    return S_OK;
}

HRESULT ByteBuffer::get_Capacity(UINT32* value)
{
    if (!value)
        return E_POINTER;
    *value = static_cast<UINT32>(bytes_.size());
    return S_OK;
}

HRESULT ByteBuffer::get_Length(UINT32* value)
{
    if (!value)
        return E_POINTER;
    *value = length_;
    return S_OK;
}

HRESULT ByteBuffer::put_Length(UINT32 value)
{
    if (value > bytes_.size())
        return E_INVALIDARG;
    length_ = value;
    return S_OK;
}

HRESULT ByteBuffer::Buffer(BYTE** value)
{
    if (!value)
        return E_POINTER;
    *value = reinterpret_cast<BYTE*>(bytes_.data());
    return S_OK;
}
} // namespace WinRtStandIn
