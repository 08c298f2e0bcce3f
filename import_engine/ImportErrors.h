#pragma once
// The failures of an import as std::error_code values. An error may carry a context text (the
// file it concerns) besides its code, so the category keeps a record of every error made and the
// error_code's value is the record's position (from 1), not the code: compare codes through
// IsImportError, never through value().

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

// The engine's own failures (ImportErrorCategory).
enum ImportErrorCode : int32_t
{
    NoImportFormat = 101,
    NoOutputFormat = 102,
    NoFilesSpecified = 103,
    FileDoesNotExist = 200,
    CannotReadImage = 201,
    PdfHasNoPages = 202,
    // A document that its program would only open after asking the user for a password.
    DocumentIsProtected = 203,
    ImportCancelled = 300,
};

class ErrorMap : public std::error_category
{
public:
    struct Record
    {
        int32_t code = 0;
        std::string context; // UTF-8, may be empty
    };

    ErrorMap() = default;
    ErrorMap(const ErrorMap&) = delete;
    ErrorMap& operator=(const ErrorMap&) = delete;

    // Keeps a record of code and context and returns the error that names it.
    std::error_code Add(int32_t code, std::string context);

    // "<name> Error (<code>): <code text>", then two line feeds and the context when there is one;
    // "Unknown error" for a value that names no record. UTF-8.
    std::string message(int value) const override;

    // The record that value names, if any.
    std::optional<Record> Find(int value) const;

    // The text of a code, without name or context. UTF-8.
    virtual std::string GetCodeText(int32_t code) const = 0;

private:
    // The import worker appends while the window's thread reads messages.
    mutable std::mutex lock_;
    std::vector<Record> records_;
};

class ImportErrorCategory final : public ErrorMap
{
public:
    const char* name() const noexcept override;
    std::string GetCodeText(int32_t code) const override;
};

// Failures that come from COM and the Windows Runtime: the code is the HRESULT.
class HResultErrorCategory final : public ErrorMap
{
public:
    const char* name() const noexcept override;
    std::string GetCodeText(int32_t code) const override;
};

// Each category exists once per process.
ImportErrorCategory& GetImportErrorCategory();
HResultErrorCategory& GetHResultErrorCategory();

// New errors; a wide context is kept as UTF-8.
std::error_code MakeImportError(int32_t code, std::string context = {});
std::error_code MakeImportError(int32_t code, const std::wstring& context);
std::error_code MakeHResultError(HRESULT hr, std::string context = {});
std::error_code MakeHResultError(HRESULT hr, const std::wstring& context);

// The same failure with more added to its context, after what it had (an error of no ErrorMap
// stays as it is).
std::error_code WithMoreContext(const std::error_code& error, const std::wstring& more);

// Whether error is the import error code (for example ImportCancelled).
bool IsImportError(const std::error_code& error, int32_t code);
// Whether error is the failure hr of COM or the Windows Runtime.
bool IsHResultError(const std::error_code& error, HRESULT hr);

// The message of an error as wide text, as the log and the windows show it.
std::wstring GetErrorText(const std::error_code& error);
