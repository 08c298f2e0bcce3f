#include "import_engine/ImportErrors.h"

#include "framework/com/ErrorMessage.h"
#include "framework/text/Text.h"

#include <comdef.h>

#include <sstream>

std::error_code ErrorMap::Add(int32_t code, std::string context)
{
    std::lock_guard guard(lock_);
    records_.push_back({code, std::move(context)});
    return {static_cast<int>(records_.size()), *this};
}

std::optional<ErrorMap::Record> ErrorMap::Find(int value) const
{
    std::lock_guard guard(lock_);
    if (value < 1 || static_cast<size_t>(value) > records_.size())
        return std::nullopt;
    return records_[static_cast<size_t>(value) - 1];
}

std::string ErrorMap::message(int value) const
{
    const std::optional<Record> record = Find(value);
    if (!record)
        return "Unknown error";
    std::ostringstream text;
    text << name() << " Error (";
    // HRESULTs are negative and read best the way Windows writes them.
    if (record->code > 0)
        text << record->code;
    else
        text << std::hex << static_cast<uint32_t>(record->code) << std::dec;
    text << "): " << GetCodeText(record->code);
    if (!record->context.empty())
        text << "\n\n" << record->context;
    return text.str();
}

const char* ImportErrorCategory::name() const noexcept { return "Quillora Batch File Import"; }

std::string ImportErrorCategory::GetCodeText(int32_t code) const
{
    switch (code)
    {
    case NoImportFormat:
        return "No import format specified";
    case NoOutputFormat:
        return "No output format specified";
    case NoFilesSpecified:
        return "No files specified";
    case FileDoesNotExist:
        return "File or folder does not exist";
    case CannotReadImage:
        return "Cannot read image file";
    case PdfHasNoPages:
        return "Pdf contains no pages";
    case DocumentIsProtected:
        return "Document is protected by a password";
    case ImportCancelled:
        return "Cancelled";
    default:
        return "Unknown error";
    }
}

const char* HResultErrorCategory::name() const noexcept { return "External"; }

std::string HResultErrorCategory::GetCodeText(int32_t code) const
{
    // The codes with which the PDF reader refuses a damaged or unsupported file.
    if (static_cast<uint32_t>(code) == 0x80048014 || static_cast<uint32_t>(code) == 0x8004808E)
        return "Error reading PDF file";
    return WideToUtf8(GetErrorMessage(_com_error(static_cast<HRESULT>(code))));
}

ImportErrorCategory& GetImportErrorCategory()
{
    static ImportErrorCategory category;
    return category;
}

HResultErrorCategory& GetHResultErrorCategory()
{
    static HResultErrorCategory category;
    return category;
}

std::error_code MakeImportError(int32_t code, std::string context)
{
    return GetImportErrorCategory().Add(code, std::move(context));
}

std::error_code MakeImportError(int32_t code, const std::wstring& context)
{
    return MakeImportError(code, WideToUtf8(context));
}

std::error_code MakeHResultError(HRESULT hr, std::string context)
{
    return GetHResultErrorCategory().Add(hr, std::move(context));
}

std::error_code MakeHResultError(HRESULT hr, const std::wstring& context)
{
    return MakeHResultError(hr, WideToUtf8(context));
}

std::error_code WithMoreContext(const std::error_code& error, const std::wstring& more)
{
    ErrorMap* map = nullptr;
    if (error.category() == GetImportErrorCategory())
        map = &GetImportErrorCategory();
    else if (error.category() == GetHResultErrorCategory())
        map = &GetHResultErrorCategory();
    const auto record = map ? map->Find(error.value()) : std::nullopt;
    if (!record)
        return error;
    const std::string added = WideToUtf8(more);
    return map->Add(record->code, record->context.empty() ? added : record->context + "\n\n" + added);
}

bool IsImportError(const std::error_code& error, int32_t code)
{
    if (error.category() != GetImportErrorCategory())
        return false;
    const auto record = GetImportErrorCategory().Find(error.value());
    return record && record->code == code;
}

bool IsHResultError(const std::error_code& error, HRESULT hr)
{
    if (error.category() != GetHResultErrorCategory())
        return false;
    const auto record = GetHResultErrorCategory().Find(error.value());
    return record && static_cast<HRESULT>(record->code) == hr;
}

std::wstring GetErrorText(const std::error_code& error) { return Utf8ToWide(error.message()); }
