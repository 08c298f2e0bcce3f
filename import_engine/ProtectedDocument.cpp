#include "import_engine/ProtectedDocument.h"

#include <windows.h>
#include <comdef.h>
#include <objbase.h>

#include <array>
#include <cstdint>
#include <cstring>

_COM_SMARTPTR_TYPEDEF(IStorage, IID_IStorage);
_COM_SMARTPTR_TYPEDEF(IStream, IID_IStream);

namespace
{
// A PowerPoint 97-2003 "Current User" stream starts with a record header and the atom's size,
// then the token that tells an encrypted presentation.
constexpr size_t CurrentUserTokenOffset = 12;
constexpr uint32_t EncryptedToken = 0xF3D1C4DF;

IStreamPtr OpenStream(IStorage& storage, const wchar_t* name)
{
    IStream* stream = nullptr;
    if (FAILED(storage.OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream)))
        return nullptr;
    return IStreamPtr(stream, false);
}
} // namespace

bool IsPasswordProtectedDocument(const std::wstring& path)
{
    IStorage* opened = nullptr;
    if (FAILED(StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &opened)))
        return false;
    const IStoragePtr storage(opened, false);
    if (OpenStream(*storage, L"EncryptedPackage"))
        return true;
    const IStreamPtr currentUser = OpenStream(*storage, L"Current User");
    if (!currentUser)
        return false;
    std::array<char, CurrentUserTokenOffset + 4> start{};
    ULONG read = 0;
    if (FAILED(currentUser->Read(start.data(), static_cast<ULONG>(start.size()), &read)) || read < start.size())
        return false;
    uint32_t token = 0;
    std::memcpy(&token, start.data() + CurrentUserTokenOffset, sizeof token);
    return token == EncryptedToken;
}
