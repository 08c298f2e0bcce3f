#include "import_engine/ProtectedDocument.h"

#include "framework/Owners.h"
#include "framework/com/UnknownImpl.h"
#include "framework/streams/MemoryStream.h"

#include <comdef.h>
#include <objbase.h>

#include <array>
#include <cstdint>
#include <cstring>

_COM_SMARTPTR_TYPEDEF(IStorage, IID_IStorage);
_COM_SMARTPTR_TYPEDEF(ILockBytes, IID_ILockBytes);

namespace
{
// A PowerPoint 97-2003 "Current User" stream starts with a record header and the atom's size,
// then the token that tells an encrypted presentation.
constexpr size_t CurrentUserTokenOffset = 12;
constexpr uint32_t EncryptedToken = 0xF3D1C4DF;

constexpr std::array<unsigned char, 8> CompoundFileSignature{0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

HRESULT LastError()
{
    const DWORD error = ::GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// The bytes of an open file as the compound file reader takes them. The storage functions open a
// file by its name with share modes of their own, which another program's write access defeats;
// this file is opened here, sharing everything, and only ever read.
class FileBytes final : public UnknownImpl<ILockBytes>
{
public:
    explicit FileBytes(Owners::FileHandle file) : file_(std::move(file)) {}

    STDMETHODIMP ReadAt(ULARGE_INTEGER offset, void* buffer, ULONG size, ULONG* read) override
    {
        OVERLAPPED at{};
        at.Offset = offset.LowPart;
        at.OffsetHigh = offset.HighPart;
        DWORD done = 0;
        if (!::ReadFile(file_.get(), buffer, size, &done, &at) && ::GetLastError() != ERROR_HANDLE_EOF)
            return LastError();
        if (read)
            *read = done;
        return S_OK;
    }
    STDMETHODIMP WriteAt(ULARGE_INTEGER, const void*, ULONG, ULONG* written) override
    {
        if (written)
            *written = 0;
        return STG_E_ACCESSDENIED;
    }
    STDMETHODIMP Flush() override { return S_OK; }
    STDMETHODIMP SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    // Nothing is locked: the point is to leave the file to whoever else has it open.
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    STDMETHODIMP Stat(STATSTG* stat, DWORD) override
    {
        if (!stat)
            return STG_E_INVALIDPOINTER;
        *stat = STATSTG{};
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file_.get(), &size))
            return LastError();
        stat->type = STGTY_LOCKBYTES;
        stat->cbSize.QuadPart = static_cast<ULONGLONG>(size.QuadPart);
        stat->grfMode = STGM_READ | STGM_SHARE_DENY_NONE;
        stat->grfLocksSupported = 0;
        return S_OK;
    }

private:
    Owners::FileHandle file_;
};

// The named stream, or null with why not: STG_E_FILENOTFOUND when the storage has none.
IStreamPtr OpenStream(IStorage& storage, const wchar_t* name, HRESULT& failure)
{
    IStream* stream = nullptr;
    failure = storage.OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream);
    if (FAILED(failure))
        return nullptr;
    return IStreamPtr(stream, false);
}

PasswordProtection Unreadable(HRESULT why) { return PasswordProtection{false, FAILED(why) ? why : E_FAIL}; }
} // namespace

PasswordProtection CheckPasswordProtection(const std::wstring& path)
{
    Owners::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return Unreadable(LastError());

    std::array<unsigned char, CompoundFileSignature.size()> signature{};
    DWORD read = 0;
    if (!::ReadFile(file.get(), signature.data(), static_cast<DWORD>(signature.size()), &read, nullptr))
        return Unreadable(LastError());
    // A package that is not encrypted is a ZIP file; only a compound file can hold a password.
    if (read < signature.size() || signature != CompoundFileSignature)
        return {};

    const ILockBytesPtr bytes(new FileBytes(std::move(file)), false);
    IStorage* opened = nullptr;
    if (const HRESULT hr = StgOpenStorageOnILockBytes(bytes, nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0,
                                                      &opened);
        FAILED(hr))
        return Unreadable(hr);
    const IStoragePtr storage(opened, false);

    HRESULT failure = S_OK;
    if (OpenStream(*storage, L"EncryptedPackage", failure))
        return {true, S_OK};
    if (failure != STG_E_FILENOTFOUND)
        return Unreadable(failure);
    const IStreamPtr currentUser = OpenStream(*storage, L"Current User", failure);
    if (!currentUser)
        return failure == STG_E_FILENOTFOUND ? PasswordProtection{} : Unreadable(failure);
    std::array<char, CurrentUserTokenOffset + 4> start{};
    ULONG got = 0;
    if (const HRESULT hr = currentUser->Read(start.data(), static_cast<ULONG>(start.size()), &got); FAILED(hr))
        return Unreadable(hr);
    if (got < start.size())
        return {};
    uint32_t token = 0;
    std::memcpy(&token, start.data() + CurrentUserTokenOffset, sizeof token);
    return {token == EncryptedToken, S_OK};
}
