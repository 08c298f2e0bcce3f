#include "import_engine/FileSnapshot.h"

#include "framework/files/Files.h"
#include "import_engine/FileKinds.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/PdfDocument.h"
#include "onenote_model/Page.h"

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <optional>
#include <unordered_set>

namespace
{
// Enough tries for a folder name that no other run took.
constexpr int MostTries = 100;
// An extension longer than this is left out of a copy's name, which stays short.
constexpr size_t LongestKeptExtension = 16;

std::wstring CopiesFolder() { return GetPrintoutFolder() + L"\\copies"; }

// A copy may have taken the read-only mark of its file.
bool RemoveFile(const std::wstring& path)
{
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

void RemoveFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    const Owners::FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (find)
    {
        do
        {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(folder + L"\\" + name);
            else
                RemoveFile(folder + L"\\" + name);
        } while (FindNextFileW(find.get(), &found));
    }
    RemoveDirectoryW(folder.c_str());
}

// The folders below the copies folder whose lock nobody holds: a run that ended or crashed left
// them (a run holds its lock open until its end, and the system closes it when a process dies).
// A folder without a lock is one of an earlier version's copies.
void RemoveWhatEndedRunsLeft()
{
    const std::wstring copies = CopiesFolder();
    WIN32_FIND_DATAW found{};
    const Owners::FindHandle find(FindFirstFileW((copies + L"\\*").c_str(), &found));
    if (!find)
        return;
    do
    {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = copies + L"\\" + name;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        {
            // A lock left without its folder; one that is held cannot be removed.
            if (name.ends_with(L".lock"))
                DeleteFileW(path.c_str());
            continue;
        }
        if (RemoveFile(path + L".lock"))
            RemoveFolder(path);
    } while (FindNextFileW(find.get(), &found));
}

// An HTML file's text as units in which its tags can be looked for: UTF-16 by its byte order mark,
// else single bytes, since tags are ASCII in every other encoding an HTML file is read in.
struct HtmlUnits
{
    enum class Form
    {
        Bytes,
        Utf16LittleEndian,
        Utf16BigEndian,
    };
    Form form = Form::Bytes;
    std::string mark;
    std::wstring text;
    // An odd byte at the end of UTF-16 text, kept as it was.
    std::string tail;
};

HtmlUnits ToUnits(const std::string& bytes)
{
    HtmlUnits units;
    size_t at = 0;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
    {
        units.form = bytes[0] == '\xFF' ? HtmlUnits::Form::Utf16LittleEndian : HtmlUnits::Form::Utf16BigEndian;
        units.mark = bytes.substr(0, 2);
        const bool little = units.form == HtmlUnits::Form::Utf16LittleEndian;
        for (at = 2; at + 1 < bytes.size(); at += 2)
        {
            const auto first = static_cast<unsigned char>(bytes[at]);
            const auto second = static_cast<unsigned char>(bytes[at + 1]);
            units.text += static_cast<wchar_t>(little ? (second << 8 | first) : (first << 8 | second));
        }
        units.tail = bytes.substr(at);
        return units;
    }
    if (bytes.starts_with("\xEF\xBB\xBF"))
        units.mark = bytes.substr(0, 3);
    for (at = units.mark.size(); at < bytes.size(); ++at)
        units.text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[at]));
    return units;
}

std::string ToBytes(const HtmlUnits& units)
{
    std::string bytes = units.mark;
    for (const wchar_t unit : units.text)
    {
        const auto high = static_cast<char>((unit >> 8) & 0xFF);
        const auto low = static_cast<char>(unit & 0xFF);
        if (units.form == HtmlUnits::Form::Bytes)
            bytes += low;
        else if (units.form == HtmlUnits::Form::Utf16LittleEndian)
            bytes += {low, high};
        else
            bytes += {high, low};
    }
    return bytes + units.tail;
}

// Where the start tag of name (a lower-case element name) begins in text at or after from, in any
// letter case, passing over comments, which a browser reads no tag in; npos when there is none.
size_t FindStartTag(const std::wstring& text, const wchar_t* name, size_t from = 0)
{
    const size_t length = std::wcslen(name);
    for (size_t at = text.find(L'<', from); at != std::wstring::npos; at = text.find(L'<', at + 1))
    {
        if (text.compare(at, 4, L"<!--") == 0)
        {
            at = text.find(L"-->", at + 4);
            if (at == std::wstring::npos)
                return std::wstring::npos;
            continue;
        }
        if (at + 1 + length >= text.size() || _wcsnicmp(text.c_str() + at + 1, name, length) != 0)
            continue;
        const wchar_t after = text[at + 1 + length];
        if (after == L'>' || after == L'/' || std::iswspace(after))
            return at;
    }
    return std::wstring::npos;
}

// Where the value of an attribute stands in the text.
struct ValueSpan
{
    size_t start = 0;
    size_t length = 0;
};

// The value of the attribute name (lower case) of the start tag that begins at tag, read as a
// browser reads it (the first of a name counts); absent when the tag has none.
std::optional<ValueSpan> AttributeSpan(const std::wstring& text, size_t tag, const wchar_t* name)
{
    size_t at = tag + 1;
    while (at < text.size() && !std::iswspace(text[at]) && text[at] != L'/' && text[at] != L'>')
        ++at;
    while (at < text.size() && text[at] != L'>')
    {
        if (std::iswspace(text[at]) || text[at] == L'/')
        {
            ++at;
            continue;
        }
        const size_t nameStart = at;
        while (at < text.size() && !std::iswspace(text[at]) && text[at] != L'/' && text[at] != L'>' && text[at] != L'=')
            ++at;
        const std::wstring attribute = text.substr(nameStart, at - nameStart);
        while (at < text.size() && std::iswspace(text[at]))
            ++at;
        ValueSpan value{at, 0};
        if (at < text.size() && text[at] == L'=')
        {
            ++at;
            while (at < text.size() && std::iswspace(text[at]))
                ++at;
            if (at < text.size() && (text[at] == L'"' || text[at] == L'\''))
            {
                const size_t close = text.find(text[at], at + 1);
                const size_t end = close == std::wstring::npos ? text.size() : close;
                value = {at + 1, end - at - 1};
                at = end + 1;
            }
            else
            {
                const size_t valueStart = at;
                while (at < text.size() && !std::iswspace(text[at]) && text[at] != L'>')
                    ++at;
                value = {valueStart, at - valueStart};
            }
        }
        if (_wcsicmp(attribute.c_str(), name) == 0)
            return value;
    }
    return std::nullopt;
}

// The place for a base reference: right after the start tag of the head, else of the document,
// else after the declarations and comments that open the file.
size_t PlaceForBase(const std::wstring& text)
{
    for (const wchar_t* name : {L"head", L"html"})
        if (const size_t tag = FindStartTag(text, name); tag != std::wstring::npos)
        {
            const size_t close = text.find(L'>', tag);
            return close == std::wstring::npos ? text.size() : close + 1;
        }
    size_t at = 0;
    for (;;)
    {
        while (at < text.size() && std::iswspace(text[at]))
            ++at;
        const wchar_t* end = text.compare(at, 4, L"<!--") == 0                                          ? L"-->"
                             : text.compare(at, 2, L"<?") == 0 || text.compare(at, 2, L"<!") == 0 ? L">"
                                                                                                        : nullptr;
        if (!end)
            return at;
        const size_t close = text.find(end, at + 2);
        if (close == std::wstring::npos)
            return at;
        at = close + std::wcslen(end);
    }
}

// The folder as the address of a base reference, written in ASCII so that it reads the same in
// whatever encoding the file is: its path as a file URL, blanks and the characters a URL gives a
// meaning encoded, every other character outside ASCII as a character reference.
std::wstring FolderAddress(const std::wstring& folder)
{
    std::wstring path = folder;
    std::replace(path.begin(), path.end(), L'\\', L'/');
    if (!path.ends_with(L'/'))
        path += L'/';
    // A share (\\server\share) keeps its server as the address's host.
    std::wstring address = path.starts_with(L"//") ? L"file:" : L"file:///";
    for (size_t i = 0; i < path.size(); ++i)
    {
        const wchar_t c = path[i];
        if (c == L' ')
            address += L"%20";
        else if (c == L'%')
            address += L"%25";
        else if (c == L'#')
            address += L"%23";
        else if (c == L'&')
            address += L"&amp;";
        else if (c == L'"')
            address += L"&quot;";
        else if (c < 0x80)
            address += c;
        else
        {
            unsigned long codePoint = c;
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < path.size() && path[i + 1] >= 0xDC00 && path[i + 1] <= 0xDFFF)
                codePoint = 0x10000 + ((c - 0xD800UL) << 10) + (path[++i] - 0xDC00UL);
            address += L"&#" + std::to_wstring(codePoint) + L";";
        }
    }
    return address;
}

// Whether an address names its scheme ("http:", "file:", ...): it then leads to the same place
// from any document.
bool HasScheme(const std::wstring& address)
{
    const size_t colon = address.find(L':');
    if (colon == std::wstring::npos || colon == 0 || !std::iswalpha(address[0]) || address[0] >= 0x80)
        return false;
    for (size_t i = 1; i < colon; ++i)
        if (address[i] >= 0x80 || !(std::iswalnum(address[i]) || address[i] == L'+' || address[i] == L'-' || address[i] == L'.'))
            return false;
    return true;
}

// What a relative address of a base element is resolved against in place of the document's own
// address, which for the copy is the copies' folder: the file's folder, or for an address from
// the root, the root of the file's drive or share. Empty for an address that leads to the same
// place from any document.
std::wstring AddressToResolveAgainst(const std::wstring& href, const std::wstring& folder)
{
    if (HasScheme(href))
        return {};
    const bool fromRoot = !href.empty() && (href[0] == L'/' || href[0] == L'\\');
    if (!fromRoot)
        return FolderAddress(folder);
    // From the network's root ("//server/..."), only the scheme comes from the document.
    if (href.size() > 1 && (href[1] == L'/' || href[1] == L'\\'))
        return L"file:";
    std::wstring address = FolderAddress(folder);
    // file:///C:/... keeps its drive, file://server/share/... its server and share.
    const size_t pathStart = address.starts_with(L"file:///") ? 8 : 7;
    size_t rootEnd = address.find(L'/', pathStart);
    if (!address.starts_with(L"file:///") && rootEnd != std::wstring::npos)
        rootEnd = address.find(L'/', rootEnd + 1);
    return rootEnd == std::wstring::npos ? address : address.substr(0, rootEnd);
}

// The HTML document with a base reference to folder where it has none of its own. A browser takes
// the first base element that has an address attribute: one without it, or one in a comment, gives
// none; an empty address is the document's own, which for the copy is the copies' folder, so the
// folder's reference goes before it. A relative address is resolved against the document's own
// address too, so it is made to lead from the file's folder ("assets/" to the folder's "assets").
std::string WithBaseReference(const std::string& bytes, const std::wstring& folder)
{
    HtmlUnits units = ToUnits(bytes);
    size_t place = PlaceForBase(units.text);
    for (size_t base = FindStartTag(units.text, L"base"); base != std::wstring::npos;
         base = FindStartTag(units.text, L"base", base + 1))
    {
        const std::optional<ValueSpan> href = AttributeSpan(units.text, base, L"href");
        if (!href)
            continue;
        // A browser takes the address without the blanks around it.
        const std::wstring value = units.text.substr(href->start, href->length);
        const size_t first = value.find_first_not_of(L" \t\r\n\f");
        if (first != std::wstring::npos)
        {
            const size_t last = value.find_last_not_of(L" \t\r\n\f");
            const std::wstring address = value.substr(first, last - first + 1);
            const std::wstring against = AddressToResolveAgainst(address, folder);
            if (against.empty())
                return bytes;
            units.text.replace(href->start + first, address.size(), against + address);
            return ToBytes(units);
        }
        place = std::min(place, base);
        break;
    }
    units.text.insert(place, L"<base href=\"" + FolderAddress(folder) + L"\">");
    return ToBytes(units);
}

// The files a page names for OneNote to read: attached files, pictures and HTML files.
void CollectNamedFiles(const ON::OEChildren& block, std::unordered_set<std::wstring>& named);

void CollectNamedFiles(const ON::OE& paragraph, std::unordered_set<std::wstring>& named)
{
    if (paragraph.content.image && paragraph.content.image->source.file)
        named.insert(paragraph.content.image->source.file->path);
    if (paragraph.content.insertedFile && paragraph.content.insertedFile->pathSource)
        named.insert(*paragraph.content.insertedFile->pathSource);
    if (paragraph.nesting.children)
        for (const auto& block : *paragraph.nesting.children)
            if (block)
                CollectNamedFiles(*block, named);
}

void CollectNamedFiles(const ON::OEChildren& block, std::unordered_set<std::wstring>& named)
{
    for (const auto& holder : block.children)
    {
        if (!holder)
            continue;
        if (holder->htmlBlock && holder->htmlBlock->content.file)
            named.insert(holder->htmlBlock->content.file->path);
        if (holder->oe)
            CollectNamedFiles(*holder->oe, named);
    }
}

std::unordered_set<std::wstring> NamedFiles(const ON::Page& page)
{
    std::unordered_set<std::wstring> named;
    for (const auto& element : page.elements)
    {
        if (!element)
            continue;
        if (element->insertedFile && element->insertedFile->pathSource)
            named.insert(*element->insertedFile->pathSource);
        if (element->mediaFile && element->mediaFile->insertedFile.pathSource)
            named.insert(*element->mediaFile->insertedFile.pathSource);
        if (element->image && element->image->source.file)
            named.insert(element->image->source.file->path);
        if (element->outline)
            for (const auto& block : element->outline->children)
                if (block)
                    CollectNamedFiles(*block, named);
    }
    return named;
}
} // namespace

FileCopies::FileCopies() { RemoveWhatEndedRunsLeft(); }

FileCopies::~FileCopies()
{
    if (folder_.empty())
        return;
    RemoveFolder(folder_);
    // Closing the lock removes it.
    lock_.reset();
}

bool FileCopies::MakeFolder()
{
    if (!folder_.empty())
        return true;
    const std::wstring copies = CopiesFolder();
    CreateDirectoryW(GetPrintoutFolder().c_str(), nullptr);
    CreateDirectoryW(copies.c_str(), nullptr);
    for (int tries = 0; tries < MostTries; ++tries)
    {
        // The GUID's first part: short, so that the copies' paths stay short.
        GUID id{};
        if (FAILED(CoCreateGuid(&id)))
            return false;
        wchar_t name[16] = {};
        std::swprintf(name, 16, L"%08lX", static_cast<unsigned long>(id.Data1));
        const std::wstring folder = copies + L"\\" + name;
        // The lock comes first, so that no run ever finds the folder without it while this run lives.
        Owners::FileHandle lock(CreateFileW((folder + L".lock").c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (!lock)
        {
            if (GetLastError() == ERROR_FILE_EXISTS)
                continue;
            return false;
        }
        if (!CreateDirectoryW(folder.c_str(), nullptr))
        {
            // What an ended run left under this name is removed at a later start.
            if (GetLastError() == ERROR_ALREADY_EXISTS)
                continue;
            return false;
        }
        folder_ = folder;
        lock_ = std::move(lock);
        return true;
    }
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
}

std::wstring FileCopies::NextCopyPath(const std::wstring& original)
{
    const std::wstring extension = PathFindExtensionW(original.c_str());
    return folder_ + L"\\" + std::to_wstring(++copiesMade_) +
           (extension.size() <= LongestKeptExtension ? extension : std::wstring());
}

TOrError<std::wstring> FileCopies::Copy(const std::wstring& path)
{
    if (!MakeFolder())
        return MakeHResultError(HRESULT_FROM_WIN32(GetLastError()), L"File: " + path);
    const std::wstring copy = NextCopyPath(path);
    if (!CopyFileW(path.c_str(), copy.c_str(), TRUE))
        return MakeHResultError(HRESULT_FROM_WIN32(GetLastError()), L"File: " + path);
    held_.push_back(copy);
    return copy;
}

TOrError<std::wstring> FileCopies::CopyHtml(const std::wstring& path)
{
    if (IsWebArchiveFile(path))
        return Copy(path);
    if (!MakeFolder())
        return MakeHResultError(HRESULT_FROM_WIN32(GetLastError()), L"File: " + path);
    const FileReadResult read = ReadWholeFile(path.c_str());
    if (!read.Whole())
        return MakeHResultError(HRESULT_FROM_WIN32(read.error), L"File: " + path);
    const std::string& bytes = read.bytes;
    std::wstring folder = path;
    PathRemoveFileSpecW(folder.data());
    folder.resize(std::wcslen(folder.c_str()));
    const std::string copied = WithBaseReference(bytes, folder);
    const std::wstring copy = NextCopyPath(path);
    if (!WriteBytesToNewFile(copy.c_str(), copied.data(), copied.size()))
    {
        const DWORD error = GetLastError();
        RemoveFile(copy);
        return MakeHResultError(HRESULT_FROM_WIN32(error), L"File: " + path);
    }
    held_.push_back(copy);
    return copy;
}

void FileCopies::ReleaseNamedBy(const ON::Page& page)
{
    if (held_.empty())
        return;
    const std::unordered_set<std::wstring> named = NamedFiles(page);
    std::erase_if(held_, [&](const std::wstring& copy) { return named.contains(copy) && RemoveFile(copy); });
}

void FileCopies::ReleaseAllBut(const ON::Page* page)
{
    if (held_.empty())
        return;
    const std::unordered_set<std::wstring> named = page ? NamedFiles(*page) : std::unordered_set<std::wstring>();
    std::erase_if(held_, [&](const std::wstring& copy) { return !named.contains(copy) && RemoveFile(copy); });
}
