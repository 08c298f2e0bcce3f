#include "import_engine/OfficeExport.h"

#include "framework/Owners.h"
#include "framework/ScopeExit.h"
#include "framework/log/Log.h"
#include "framework/onenote/OneNoteApplication.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/LateBoundCall.h"
#include "import_engine/PdfDocument.h"
#include "import_engine/ProtectedDocument.h"

#include <shlwapi.h>

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

const wchar_t* const NoPromptPassword = L"\x1F\x1E no password prompt \x1E\x1F";

namespace
{
using UnknownPtr = _com_ptr_t<_com_IIID<IUnknown, &IID_IUnknown>>;
using LateBound::Bool;
using LateBound::Int;
using LateBound::Missing;

// What tells Word from PowerPoint; the steps of an export are the same for both.
struct OfficeProgram
{
    CLSID applicationClass;
    IID applicationInterface;
    IID collectionInterface;
    IID documentInterface;
    const wchar_t* collectionName;
    std::vector<_variant_t> (*openArguments)(const std::wstring& path);
    std::vector<_variant_t> (*exportArguments)(const std::wstring& outputPath);
    std::vector<_variant_t> (*closeArguments)();
    // Opening a protected document would ask the user for its password, with no way to decline
    // from here.
    bool promptsForPassword;
};

constexpr GUID MakeGuid(unsigned long a, unsigned short b, unsigned short c, unsigned char d0, unsigned char d1,
                        unsigned char d2, unsigned char d3, unsigned char d4, unsigned char d5, unsigned char d6,
                        unsigned char d7)
{
    return GUID{a, b, c, {d0, d1, d2, d3, d4, d5, d6, d7}};
}

// Word's interfaces end in 0000-0000-C000-000000000046, PowerPoint's in 5A91-11CF-8700-00AA0060263B.
constexpr GUID WordGuid(unsigned long a) { return MakeGuid(a, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46); }
constexpr GUID PowerPointGuid(unsigned long a)
{
    return MakeGuid(a, 0x5A91, 0x11CF, 0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B);
}

const OfficeProgram word{
    WordGuid(0x000209FF),
    WordGuid(0x00020970),
    WordGuid(0x0002096C),
    WordGuid(0x0002096B),
    L"Documents",
    [](const std::wstring& path) {
        return std::vector<_variant_t>{
            _variant_t(path.c_str()), Bool(false), Bool(true), Bool(false),
            _variant_t(NoPromptPassword), Missing(), Bool(false),
            Missing(), Missing(), Missing(), Missing(), Missing(), Missing(), Missing(), Missing(), Missing()};
    },
    [](const std::wstring& output) {
        return std::vector<_variant_t>{
            _variant_t(output.c_str()), Int(17), Bool(false), Int(1), Int(0), Int(0), Int(0), Int(0),
            Bool(false), Bool(false), Int(0), Bool(true), Bool(true), Bool(false), Missing()};
    },
    // wdDoNotSaveChanges: a document opened here is never saved, and Word never asks.
    [] { return std::vector<_variant_t>{Int(0), Missing(), Missing()}; },
    false,
};

const OfficeProgram powerPoint{
    PowerPointGuid(0x91493441),
    PowerPointGuid(0x91493442),
    PowerPointGuid(0x91493462),
    PowerPointGuid(0x9149349D),
    L"Presentations",
    [](const std::wstring& path) {
        return std::vector<_variant_t>{_variant_t(path.c_str()), Int(-1), Int(0), Int(0)};
    },
    [](const std::wstring& output) {
        _variant_t noRange;
        noRange.vt = VT_DISPATCH;
        noRange.pdispVal = nullptr;
        return std::vector<_variant_t>{
            _variant_t(output.c_str()), Int(2), Int(1), Int(0), Int(2), Int(1), Int(0), noRange, Int(1),
            _variant_t(L""), Bool(false), Bool(true), Bool(true), Bool(true), Bool(false), Missing()};
    },
    [] { return std::vector<_variant_t>{}; },
    true,
};

std::wstring FullPathOf(const std::wstring& path)
{
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    full.resize(written < length ? written : 0);
    return full.empty() ? path : full;
}

// What makes two interface pointers the same object.
UnknownPtr IdentityOf(IDispatch* object)
{
    IUnknown* identity = nullptr;
    if (object)
        object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    return UnknownPtr(identity, false);
}

CO_MTA_USAGE_COOKIE IncrementMtaUsage()
{
    using Increment = HRESULT(WINAPI*)(CO_MTA_USAGE_COOKIE*);
    const HMODULE ole = ::GetModuleHandleW(L"ole32.dll");
    const auto increment = ole ? reinterpret_cast<Increment>(reinterpret_cast<void*>(
                                     ::GetProcAddress(ole, "CoIncrementMTAUsage")))
                               : nullptr;
    CO_MTA_USAGE_COOKIE cookie = nullptr;
    if (!increment || FAILED(increment(&cookie)))
        return nullptr;
    return cookie;
}

void DecrementMtaUsage(CO_MTA_USAGE_COOKIE cookie)
{
    using Decrement = HRESULT(WINAPI*)(CO_MTA_USAGE_COOKIE);
    const HMODULE ole = ::GetModuleHandleW(L"ole32.dll");
    if (const auto decrement = ole ? reinterpret_cast<Decrement>(reinterpret_cast<void*>(
                                         ::GetProcAddress(ole, "CoDecrementMTAUsage")))
                                   : nullptr)
        decrement(cookie);
}

// Keeps the multithreaded apartment while held (Windows 8 and later): objects of it then outlive
// the worker threads that met them.
using MtaUsage = Owners::UniqueHandle<Owners::HandleTraits<CO_MTA_USAGE_COOKIE, nullptr, DecrementMtaUsage>>;

// Where the list holds the object of identity.
template <typename List>
auto Find(List& documents, const UnknownPtr& identity)
{
    return std::find_if(documents.begin(), documents.end(), [&](const UnknownPtr& document) {
        return document.GetInterfacePtr() == identity.GetInterfacePtr();
    });
}

// The documents an export opened and the application did not close: they stay the program's, to be
// closed at the next export. Known by their objects, never by their names: a file the user opens
// again meanwhile is the user's document, and so is the run's own once the user has typed in it
// (the application hands it to a user who opens the file). One list for each program; the
// apartment of the objects is kept while the list holds any, as each export runs on a thread of
// its own.
class DocumentsLeftOpen
{
public:
    void Add(IDispatch& document)
    {
        UnknownPtr identity = IdentityOf(&document);
        std::lock_guard guard(lock_);
        if (!identity || Find(documents_, identity) != documents_.end())
            return;
        if (!apartment_)
            apartment_.reset(IncrementMtaUsage());
        documents_.push_back(std::move(identity));
    }
    void Remove(IDispatch& document)
    {
        const UnknownPtr identity = IdentityOf(&document);
        // Let go of after the lock, the objects before their apartment.
        MtaUsage apartment;
        std::vector<UnknownPtr> removed;
        std::lock_guard guard(lock_);
        if (const auto found = Find(documents_, identity); found != documents_.end())
        {
            removed.push_back(std::move(*found));
            documents_.erase(found);
        }
        if (documents_.empty())
            apartment = std::move(apartment_);
    }
    bool Holds(IDispatch& document) const
    {
        const UnknownPtr identity = IdentityOf(&document);
        std::lock_guard guard(lock_);
        return identity && Find(documents_, identity) != documents_.end();
    }
    // Lets go of the documents that are no longer open: the user or the application closed them.
    void KeepOnly(const std::vector<UnknownPtr>& open)
    {
        MtaUsage apartment;
        std::vector<UnknownPtr> removed;
        std::lock_guard guard(lock_);
        for (auto document = documents_.begin(); document != documents_.end();)
        {
            const bool stillOpen = std::any_of(open.begin(), open.end(), [&](const UnknownPtr& object) {
                return object.GetInterfacePtr() == document->GetInterfacePtr();
            });
            if (stillOpen)
                ++document;
            else
            {
                removed.push_back(std::move(*document));
                document = documents_.erase(document);
            }
        }
        if (documents_.empty())
            apartment = std::move(apartment_);
    }

private:
    mutable std::mutex lock_;
    // Declared first, so that it goes after the documents.
    MtaUsage apartment_;
    std::vector<UnknownPtr> documents_;
};

DocumentsLeftOpen& LeftOpenBy(const OfficeProgram& program)
{
    static DocumentsLeftOpen byWord;
    static DocumentsLeftOpen byPowerPoint;
    return program.promptsForPassword ? byPowerPoint : byWord;
}

// Whether the document holds no change that is not saved. Word answers a bool, PowerPoint msoTrue
// (-1) or msoFalse (0).
bool IsSaved(const OfficeProgram& program, IDispatch& document)
{
    _variant_t saved = LateBound::Call(document, program.documentInterface, L"Saved");
    saved.ChangeType(VT_BOOL);
    return saved.boolVal != VARIANT_FALSE;
}

// The documents open in the application before the run opens its own: they are the user's. Open
// hands one of them back when the path names its file in another form (a mapped drive against its
// share, a short name, a synchronised folder's address), so what the run may close is told by the
// object, never by comparing names.
struct UsersDocuments
{
    std::vector<UnknownPtr> objects;
    // The one whose full name is the path's, exported as it is without opening the file again.
    LateBound::DispatchPtr sameName;
    // Documents that earlier exports opened and could not close, with their full names.
    std::vector<std::pair<LateBound::DispatchPtr, std::wstring>> leftOpen;

    bool Holds(IDispatch* document) const
    {
        const UnknownPtr identity = IdentityOf(document);
        if (!identity)
            return false;
        for (const UnknownPtr& object : objects)
            if (object.GetInterfacePtr() == identity.GetInterfacePtr())
                return true;
        return false;
    }
};

UsersDocuments ListUsersDocuments(IDispatch& collection, const OfficeProgram& program, const std::wstring& path)
{
    const std::wstring wanted = FullPathOf(path);
    UsersDocuments users;
    std::vector<UnknownPtr> open;
    const _variant_t count = LateBound::Call(collection, program.collectionInterface, L"Count");
    const long total = static_cast<long>(count);
    for (long i = 1; i <= total; ++i)
    {
        LateBound::DispatchPtr document =
            LateBound::CallForObject(collection, program.collectionInterface, L"Item", {Int(i)});
        open.push_back(IdentityOf(document));
        const _bstr_t fullName(LateBound::Call(*document, program.documentInterface, L"FullName"));
        const wchar_t* name = fullName.length() ? static_cast<const wchar_t*>(fullName) : L"";
        if (LeftOpenBy(program).Holds(*document))
        {
            bool saved = false;
            try
            {
                saved = IsSaved(program, *document);
            }
            catch (const _com_error& error)
            {
                // Not known to be unchanged: it stays open, and the program's, until a later export
                // can tell.
                GetLog(true) << L"ERROR: " << GetErrorText(MakeHResultError(error.Error(), L"File: " + std::wstring(name)));
                continue;
            }
            if (saved)
            {
                users.leftOpen.emplace_back(document, name);
                continue;
            }
            GetLog(true) << L"The document " << name << L", which an earlier import opened, has changes that are "
                         << L"not saved: it is left open to the user";
            LeftOpenBy(program).Remove(*document);
        }
        users.objects.push_back(IdentityOf(document));
        if (!users.sameName && ::CompareStringOrdinal(name, -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL)
            users.sameName = document;
    }
    LeftOpenBy(program).KeepOnly(open);
    return users;
}

// Closes a document an export opened, without saving it: whatever changes it holds are the
// application's own (fields that update as the document is opened or laid out for the export), as
// no one else has had it. A document left from an earlier export is asked about before it comes
// here (ListUsersDocuments). One that does not close stays the program's, to be closed again at
// the next export.
void CloseOwnDocument(const OfficeProgram& program, IDispatch& document, const std::wstring& path)
{
    try
    {
        LateBound::Call(document, program.documentInterface, L"Close", program.closeArguments());
        LeftOpenBy(program).Remove(document);
    }
    catch (const _com_error& error)
    {
        GetLog(true) << L"ERROR: " << GetErrorText(MakeHResultError(error.Error(), L"File: " + path));
        LeftOpenBy(program).Add(document);
    }
}

std::error_code Logged(const std::error_code& error)
{
    GetLog(true) << L"ERROR: " << GetErrorText(error);
    return error;
}

TOrError<ImportResult> ExportAndImport(const OfficeProgram& program, const std::wstring& path,
                                       const PdfPrintoutImport& importPdf)
{
    try
    {
        LateBound::DispatchPtr application;
        const HRESULT created = CreateRunningObject(program.applicationClass, program.applicationInterface,
                                                    reinterpret_cast<void**>(&application));
        if (FAILED(created))
            _com_issue_error(created);

        LateBound::DispatchPtr documents =
            LateBound::CallForObject(*application, program.applicationInterface, program.collectionName);

        // The user's own open document is exported as it is and stays open.
        const UsersDocuments users = ListUsersDocuments(*documents, program, path);
        LateBound::DispatchPtr document = users.sameName;
        // What earlier exports could not close is closed now; the one of this file is exported
        // first, and closed after.
        const std::wstring wanted = FullPathOf(path);
        for (const auto& [leftOpen, fullName] : users.leftOpen)
        {
            if (!document && ::CompareStringOrdinal(fullName.c_str(), -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL)
                document = leftOpen;
            else
                CloseOwnDocument(program, *leftOpen, fullName);
        }
        if (!document && program.promptsForPassword)
        {
            const PasswordProtection protection = CheckPasswordProtection(path);
            if (FAILED(protection.unreadable))
                return Logged(MakeHResultError(
                    protection.unreadable,
                    L"The file could not be read to tell whether it is protected by a password, so it was not "
                    L"given to PowerPoint, which would wait for one.\n\nFile: " +
                        path));
            if (protection.isProtected)
                return Logged(MakeImportError(DocumentIsProtected, L"File: " + path));
        }
        if (!document)
            document = LateBound::CallForObject(*documents, program.collectionInterface, L"Open",
                                                program.openArguments(path));
        const bool openedHere = !users.Holds(document);

        ScopeExit close([&] {
            // The export's own result counts; a document that did not close is noted, and stays
            // the program's to close.
            if (openedHere)
                CloseOwnDocument(program, *document, path);
        });

        const std::wstring folder = GetPrintoutFolder();
        ::CreateDirectoryW(folder.c_str(), nullptr);
        const wchar_t* fileName = ::PathFindFileNameW(path.c_str());
        const std::wstring outputPath = folder + L"\\" + ToPdfFileName(fileName, ::PathFindExtensionW(fileName));

        LateBound::Call(*document, program.documentInterface, L"ExportAsFixedFormat",
                        program.exportArguments(outputPath));
        return importPdf(outputPath);
    }
    catch (const _com_error& error)
    {
        const std::error_code failure = MakeHResultError(error.Error(), L"File: " + path);
        GetLog(true) << L"ERROR: " << GetErrorText(failure);
        return failure;
    }
}
} // namespace

std::wstring ToPdfFileName(const std::wstring& fileName, const std::wstring& extension)
{
    if (extension.empty())
        return fileName;
    std::wstring result;
    size_t start = 0;
    for (size_t found = fileName.find(extension); found != std::wstring::npos;
         found = fileName.find(extension, start))
    {
        result += fileName.substr(start, found - start) + L".pdf";
        start = found + extension.size();
    }
    return result + fileName.substr(start);
}

TOrError<ImportResult> ImportWordDoc(const std::wstring& path, const PdfPrintoutImport& importPdf)
{
    return ExportAndImport(word, path, importPdf);
}

TOrError<ImportResult> ImportPPTFile(const std::wstring& path, const PdfPrintoutImport& importPdf)
{
    return ExportAndImport(powerPoint, path, importPdf);
}
