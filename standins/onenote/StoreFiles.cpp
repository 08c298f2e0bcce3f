// Pictures and attached files sent in a page by their paths: OneNote reads them when it stores the
// page and keeps their bytes itself (a picture's in the page, an attached file's as a copy in its
// cache), so that the page keeps them whatever becomes of the files afterwards.
#include "framework/Owners.h"
#include "standins/onenote/Store.h"
#include "standins/onenote/StoreTree.h"

#include <wincrypt.h>

#include <string>
#include <vector>

namespace StandIn::StoreTree
{
namespace
{
// A file that cannot be read whole at once is not taken.
constexpr LONGLONG LargestFile = 256LL * 1024 * 1024;

// The whole file; false when it is not there, another program holds it locked, or it is too large.
// OneNote opens it by its plain path, which Windows limits to MAX_PATH characters.
bool ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    if (path.size() >= MAX_PATH)
        return false;
    const Owners::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > LargestFile)
        return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size())
    {
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr) || read == 0)
            return false;
        done += read;
    }
    return true;
}

std::wstring Base64(const std::string& bytes)
{
    if (bytes.empty())
        return {};
    const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
    const auto count = static_cast<DWORD>(bytes.size());
    constexpr DWORD Flags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
    DWORD length = 0;
    if (!CryptBinaryToStringW(data, count, Flags, nullptr, &length))
        return {};
    std::wstring text(length, L'\0');
    if (!CryptBinaryToStringW(data, count, Flags, text.data(), &length))
        return {};
    text.resize(length);
    return text;
}

struct FileToTake
{
    XNode* object;
    std::wstring path;
    std::string bytes;
};

// Pictures naming a file, and attached files that OneNote has not cached yet.
void Collect(XNode& node, std::vector<FileToTake>& pictures, std::vector<FileToTake>& attachments)
{
    if (node.name == L"Image")
        if (const auto file = node.FirstElement(L"File"))
            pictures.push_back({&node, file->AttributeOr(L"path"), {}});
    if ((node.name == L"InsertedFile" || node.name == L"MediaFile") && !node.Attribute(L"pathCache"))
        if (const std::wstring* source = node.Attribute(L"pathSource"))
            attachments.push_back({&node, *source, {}});
    for (const auto& child : node.children)
        if (child->IsElement())
            Collect(*child, pictures, attachments);
}
} // namespace

bool ReadFileAsBase64(const std::wstring& path, std::wstring& base64)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    base64 = Base64(bytes);
    return true;
}

HRESULT TakeInFiles(XNode& received, const std::wstring& cacheFolder)
{
    std::vector<FileToTake> pictures;
    std::vector<FileToTake> attachments;
    Collect(received, pictures, attachments);
    for (auto* files : {&pictures, &attachments})
        for (FileToTake& file : *files)
            if (!ReadWholeFile(file.path, file.bytes))
                return OneNoteError::FileDoesNotExist;

    for (const FileToTake& picture : pictures)
    {
        auto data = MakeElement(L"Data");
        data->children.push_back(MakeText(Base64(picture.bytes), false));
        for (auto& child : picture.object->children)
            if (child->name == L"File")
                child = data;
    }
    if (attachments.empty())
        return S_OK;
    CreateDirectoryW(cacheFolder.c_str(), nullptr);
    for (const FileToTake& attachment : attachments)
    {
        const std::wstring cached = cacheFolder + L"\\" + NewHierarchyId() + L".bin";
        const Owners::FileHandle file(
            CreateFileW(cached.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), attachment.bytes.data(), static_cast<DWORD>(attachment.bytes.size()), &written,
                                nullptr) || written != attachment.bytes.size())
            return HRESULT_FROM_WIN32(GetLastError());
        attachment.object->SetAttribute(L"pathCache", cached);
    }
    return S_OK;
}
} // namespace StandIn::StoreTree
