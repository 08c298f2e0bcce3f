#include "standins/office/OfficeApplication.h"

#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/text/Text.h"
#include "standins/office/NamedDispatch.h"
#include "standins/office/PdfWriter.h"

#include <comdef.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace OfficeStandIn
{
namespace
{
using DispatchPtr = _com_ptr_t<_com_IIID<IDispatch, &IID_IDispatch>>;

// Word's errors: the file is missing (5174) and the password is wrong (5408).
constexpr HRESULT WordFileNotFound = static_cast<HRESULT>(0x800A1436);
constexpr HRESULT WordWrongPassword = static_cast<HRESULT>(0x800A1520);
// PowerPoint's "cannot open the file".
constexpr HRESULT PowerPointCannotOpen = static_cast<HRESULT>(0x80004005);

constexpr GUID WordGuid(unsigned long a) { return GUID{a, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}; }
constexpr GUID PowerPointGuid(unsigned long a)
{
    return GUID{a, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}};
}

const ProductIds wordIds{WordGuid(0x000209FF), WordGuid(0x00020970), WordGuid(0x0002096C), WordGuid(0x0002096B)};
const ProductIds powerPointIds{PowerPointGuid(0x91493441), PowerPointGuid(0x91493442), PowerPointGuid(0x91493462),
                               PowerPointGuid(0x9149349D)};

// The name as it stands in a compound file's directory (UTF-16).
std::string DirectoryName(const char* name)
{
    std::string utf16;
    for (; *name; ++name)
        utf16 += std::string{*name, '\0'};
    return utf16;
}

// An encrypted Office file is a compound file that keeps its package in a stream named
// "EncryptedPackage"; an encrypted PowerPoint 97-2003 file has the encrypted token in its
// "Current User" stream.
bool IsEncrypted(const std::string& bytes)
{
    if (bytes.compare(0, 8, std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) != 0)
        return false;
    if (bytes.find(DirectoryName("EncryptedPackage")) != std::string::npos)
        return true;
    return bytes.find(DirectoryName("Current User")) != std::string::npos &&
           bytes.find(std::string("\xDF\xC4\xD1\xF3", 4)) != std::string::npos;
}

struct OpenDocument
{
    std::wstring fullName;
    bool openedByUser = false;
    // False once the document has changes that are not saved (the user typed in it); Close with
    // "do not save changes" throws them away.
    bool saved = true;
    // The document's one object while it is open: Office hands out the same object however the
    // document is reached (Item, or an Open of a file that is open already).
    DispatchPtr object;
};

// The file's identity as the file system tells it, for a file that can be opened.
std::optional<std::tuple<DWORD, DWORD, DWORD>> FileIdentity(const std::wstring& path)
{
    const Owners::FileHandle file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !::GetFileInformationByHandle(file.get(), &information))
        return std::nullopt;
    return std::tuple{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

// The full path with every short name in it long.
std::wstring LongFullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH * 4] = {};
    const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    if (length == 0 || length >= std::size(full))
        return path;
    wchar_t longForm[MAX_PATH * 4] = {};
    const DWORD longLength = ::GetLongPathNameW(full, longForm, static_cast<DWORD>(std::size(longForm)));
    return longLength == 0 || longLength >= std::size(longForm) ? std::wstring(full) : std::wstring(longForm);
}

// Office opens a file once: a second Open of it under another form of its path (a short name, a
// mapped drive against its share) finds the document that is open already.
bool SameFile(const std::wstring& first, const std::wstring& second)
{
    if (_wcsicmp(first.c_str(), second.c_str()) == 0)
        return true;
    const auto firstIdentity = FileIdentity(first);
    if (firstIdentity && firstIdentity == FileIdentity(second))
        return true;
    return _wcsicmp(LongFullPath(first).c_str(), LongFullPath(second).c_str()) == 0;
}

std::wstring Describe(const VARIANT* value)
{
    if (!value || (value->vt == VT_ERROR && value->scode == DISP_E_PARAMNOTFOUND))
        return L"missing";
    switch (value->vt)
    {
    case VT_BSTR:
        return L"\"" + std::wstring(value->bstrVal ? value->bstrVal : L"") + L"\"";
    case VT_BOOL:
        return value->boolVal ? L"TRUE" : L"FALSE";
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return value->punkVal ? L"object" : L"null";
    default:
    {
        _variant_t number;
        if (SUCCEEDED(VariantChangeType(&number, const_cast<VARIANT*>(value), 0, VT_I4)))
            return std::to_wstring(number.lVal);
        return L"?";
    }
    }
}

std::wstring TextArgument(const Arguments& arguments, size_t index)
{
    if (index >= arguments.size() || !arguments[index] || arguments[index]->vt != VT_BSTR)
        return {};
    return arguments[index]->bstrVal ? arguments[index]->bstrVal : L"";
}

void SetText(VARIANT* result, const std::wstring& text)
{
    VariantClear(result);
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocString(text.c_str());
}

void SetObject(VARIANT* result, IDispatch* object)
{
    VariantClear(result);
    result->vt = VT_DISPATCH;
    result->pdispVal = object; // the reference is the caller's
}

// What one product's application knows; shared by its objects.
class ProductState
{
public:
    explicit ProductState(Product product) : product(product) {}

    const Product product;
    std::mutex lock;
    std::vector<std::shared_ptr<OpenDocument>> documents;
    std::vector<std::wstring> calls;
    std::vector<std::pair<std::wstring, HRESULT>> failures;

    // Records the call; the injected failure of member, or S_OK.
    HRESULT Record(const wchar_t* member, const Arguments& arguments)
    {
        std::lock_guard guard(lock);
        std::wstring line = std::wstring(member) + L"(";
        for (size_t i = 0; i < arguments.size(); ++i)
            line += (i ? L", " : L"") + Describe(arguments[i]);
        calls.push_back(line + L")");
        for (const auto& [name, failure] : failures)
            if (name == member)
                return failure;
        return S_OK;
    }

    std::shared_ptr<OpenDocument> Open(const std::wstring& path, bool byUser)
    {
        std::lock_guard guard(lock);
        for (const auto& document : documents)
            if (SameFile(document->fullName, path))
                return document;
        auto document = std::make_shared<OpenDocument>(OpenDocument{path, byUser, true, nullptr});
        documents.push_back(document);
        return document;
    }
};

ProductState& StateOf(Product product)
{
    static ProductState word(Product::Word);
    static ProductState powerPoint(Product::PowerPoint);
    return product == Product::Word ? word : powerPoint;
}

// A deck's slides, counted by the slide parts its package names ("ppt/slides/slide7.xml").
unsigned CountSlides(const std::string& bytes)
{
    std::set<std::string> slides;
    const std::string prefix = "ppt/slides/slide";
    for (size_t at = bytes.find(prefix); at != std::string::npos; at = bytes.find(prefix, at + 1))
    {
        size_t end = at + prefix.size();
        while (end < bytes.size() && bytes[end] >= '0' && bytes[end] <= '9')
            ++end;
        if (end > at + prefix.size() && bytes.compare(end, 4, ".xml") == 0)
            slides.insert(bytes.substr(at, end - at));
    }
    return std::max<unsigned>(1, static_cast<unsigned>(slides.size()));
}

// Whether a Word document holds fields ("w:fldSimple", or a field's "w:instrText"): dates, page
// numbers, a table of contents.
bool HoldsFields(const std::string& bytes)
{
    return bytes.find("w:fldSimple") != std::string::npos || bytes.find("w:instrText") != std::string::npos;
}

class Document final : public NamedDispatch
{
public:
    Document(ProductState& state, std::shared_ptr<OpenDocument> document)
        : NamedDispatch(IdsOf(state.product).document), state_(state), document_(std::move(document))
    {
        Add(L"FullName", [this](const Arguments& a, VARIANT* result) {
            if (const HRESULT failure = state_.Record(L"FullName", a); FAILED(failure))
                return failure;
            SetText(result, document_->fullName);
            return S_OK;
        });
        Add(L"Path", [this](const Arguments&, VARIANT* result) {
            // The folder only, without a trailing backslash.
            const std::wstring& name = document_->fullName;
            const size_t slash = name.find_last_of(L'\\');
            SetText(result, slash == std::wstring::npos ? std::wstring() : name.substr(0, slash));
            return S_OK;
        });
        Add(L"Name", [this](const Arguments&, VARIANT* result) {
            SetText(result, ::PathFindFileNameW(document_->fullName.c_str()));
            return S_OK;
        });
        Add(L"Saved", [this](const Arguments& a, VARIANT* result) {
            std::lock_guard guard(state_.lock);
            // Set as a property (Word's Saved = False), or read: Word answers a bool, PowerPoint
            // msoTrue (-1) or msoFalse (0).
            if (!a.empty() && a[0])
            {
                _variant_t value;
                if (FAILED(VariantChangeType(&value, const_cast<VARIANT*>(a[0]), 0, VT_BOOL)))
                    return DISP_E_TYPEMISMATCH;
                document_->saved = value.boolVal != VARIANT_FALSE;
                return S_OK;
            }
            VariantClear(result);
            if (state_.product == Product::Word)
            {
                result->vt = VT_BOOL;
                result->boolVal = document_->saved ? VARIANT_TRUE : VARIANT_FALSE;
            }
            else
            {
                result->vt = VT_I4;
                result->lVal = document_->saved ? -1 : 0;
            }
            return S_OK;
        });
        Add(L"ExportAsFixedFormat", [this](const Arguments& a, VARIANT*) { return Export(a); });
        Add(L"Close", [this](const Arguments& a, VARIANT*) {
            if (const HRESULT failure = state_.Record(L"Close", a); FAILED(failure))
                return failure;
            // Released outside the lock: the document's object may go with it.
            DispatchPtr closed;
            {
                std::lock_guard guard(state_.lock);
                auto& open = state_.documents;
                open.erase(std::remove(open.begin(), open.end(), document_), open.end());
                closed.Attach(document_->object.Detach());
            }
            return S_OK;
        });
    }

private:
    HRESULT Export(const Arguments& arguments)
    {
        if (const HRESULT failure = state_.Record(L"ExportAsFixedFormat", arguments); FAILED(failure))
            return failure;
        const std::wstring output = TextArgument(arguments, 0);
        if (output.empty())
            return E_INVALIDARG;
        const std::string name = WideToUtf8(::PathFindFileNameW(document_->fullName.c_str()));
        std::vector<PdfWriter::Page> pages;
        if (state_.product == Product::Word)
        {
            pages.push_back({612, 792, {name}});
            // Word lays the document out for the export and updates its fields as it does: the
            // document then has changes that are not saved, whoever opened it.
            if (HoldsFields(ReadFileBytes(document_->fullName.c_str())))
            {
                std::lock_guard guard(state_.lock);
                document_->saved = false;
            }
        }
        else
        {
            const unsigned slides = CountSlides(ReadFileBytes(document_->fullName.c_str()));
            for (unsigned slide = 1; slide <= slides; ++slide)
                pages.push_back({720, 540, {name, "Slide " + std::to_string(slide)}});
        }
        if (!WriteStringToFile(output.c_str(), PdfWriter::MakePdf(pages)))
            return HRESULT_FROM_WIN32(::GetLastError());
        return S_OK;
    }

    ProductState& state_;
    std::shared_ptr<OpenDocument> document_;
};

// A new reference to the document's one object.
IDispatch* ObjectOf(ProductState& state, const std::shared_ptr<OpenDocument>& document)
{
    std::lock_guard guard(state.lock);
    if (!document->object)
        document->object.Attach(new Document(state, document));
    IDispatch* object = document->object;
    object->AddRef();
    return object;
}

class Collection final : public NamedDispatch
{
public:
    explicit Collection(ProductState& state) : NamedDispatch(IdsOf(state.product).collection), state_(state)
    {
        Add(L"Count", [this](const Arguments&, VARIANT* result) {
            std::lock_guard guard(state_.lock);
            VariantClear(result);
            result->vt = VT_I4;
            result->lVal = static_cast<long>(state_.documents.size());
            return S_OK;
        });
        Add(L"Item", [this](const Arguments& a, VARIANT* result) {
            _variant_t index;
            if (a.empty() || !a[0] || FAILED(VariantChangeType(&index, const_cast<VARIANT*>(a[0]), 0, VT_I4)))
                return DISP_E_TYPEMISMATCH;
            std::shared_ptr<OpenDocument> document;
            {
                std::lock_guard guard(state_.lock);
                if (index.lVal < 1 || static_cast<size_t>(index.lVal) > state_.documents.size())
                    return DISP_E_BADINDEX;
                document = state_.documents[static_cast<size_t>(index.lVal) - 1];
            }
            SetObject(result, ObjectOf(state_, document));
            return S_OK;
        });
        Add(L"Open", [this](const Arguments& a, VARIANT* result) { return Open(a, result); });
    }

private:
    HRESULT Open(const Arguments& arguments, VARIANT* result)
    {
        if (const HRESULT failure = state_.Record(L"Open", arguments); FAILED(failure))
            return failure;
        const std::wstring path = TextArgument(arguments, 0);
        const bool word = state_.product == Product::Word;
        if (path.empty() || !FileExists(path.c_str()))
            return word ? WordFileNotFound : PowerPointCannotOpen;
        if (IsEncrypted(ReadFileBytes(path.c_str())))
        {
            const VARIANT* password = arguments.size() > 4 ? arguments[4] : nullptr;
            const bool given = word && password && password->vt == VT_BSTR;
            if (!given)
                state_.Record(L"PasswordPrompt", {});
            return word ? WordWrongPassword : PowerPointCannotOpen;
        }
        SetObject(result, ObjectOf(state_, state_.Open(path, false)));
        return S_OK;
    }

    ProductState& state_;
};

class Application final : public NamedDispatch
{
public:
    explicit Application(ProductState& state) : NamedDispatch(IdsOf(state.product).application), state_(state)
    {
        Add(state.product == Product::Word ? L"Documents" : L"Presentations", [this](const Arguments& a, VARIANT* result) {
            if (const HRESULT failure =
                    state_.Record(state_.product == Product::Word ? L"Documents" : L"Presentations", a);
                FAILED(failure))
                return failure;
            SetObject(result, new Collection(state_));
            return S_OK;
        });
        Add(L"Quit", [this](const Arguments& a, VARIANT*) { return state_.Record(L"Quit", a); });
        Add(L"StandInReset", [this](const Arguments&, VARIANT*) {
            // Released outside the lock: a document's object may go with them.
            std::vector<DispatchPtr> closed;
            std::lock_guard guard(state_.lock);
            for (const auto& document : state_.documents)
                closed.emplace_back(document->object.Detach(), false);
            state_.documents.clear();
            state_.calls.clear();
            state_.failures.clear();
            return S_OK;
        });
        Add(L"StandInFail", [this](const Arguments& a, VARIANT*) {
            _variant_t code;
            if (a.size() < 2 || !a[1] || FAILED(VariantChangeType(&code, const_cast<VARIANT*>(a[1]), 0, VT_I4)))
                return DISP_E_TYPEMISMATCH;
            std::lock_guard guard(state_.lock);
            const std::wstring member = TextArgument(a, 0);
            std::erase_if(state_.failures, [&](const auto& failure) { return failure.first == member; });
            if (FAILED(static_cast<HRESULT>(code.lVal)))
                state_.failures.emplace_back(member, static_cast<HRESULT>(code.lVal));
            return S_OK;
        });
        Add(L"StandInOpenAsUser", [this](const Arguments& a, VARIANT*) {
            state_.Open(TextArgument(a, 0), true);
            return S_OK;
        });
        Add(L"StandInTypeAsUser", [this](const Arguments& a, VARIANT*) {
            // Typing goes into the document open for the file, whoever opened it.
            const std::wstring path = TextArgument(a, 0);
            std::lock_guard guard(state_.lock);
            for (const auto& document : state_.documents)
                if (SameFile(document->fullName, path))
                {
                    document->saved = false;
                    return S_OK;
                }
            return E_INVALIDARG;
        });
        Add(L"StandInCalls", [this](const Arguments&, VARIANT* result) {
            std::lock_guard guard(state_.lock);
            std::wstring text;
            for (const std::wstring& call : state_.calls)
                text += call + L"\n";
            SetText(result, text);
            return S_OK;
        });
    }

private:
    ProductState& state_;
};
} // namespace

const ProductIds& IdsOf(Product product) { return product == Product::Word ? wordIds : powerPointIds; }

IDispatch* GetApplication(Product product)
{
    // Objects are light: each creation hands out a new one over the product's one state.
    return new Application(StateOf(product));
}
} // namespace OfficeStandIn
