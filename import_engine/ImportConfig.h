#pragma once
// What crosses between Sheafin's window and an import run: the run's configuration, the progress
// reports the run sends with the answer it gets back, the answer of the error prompt and what an
// importer hands back for one entry.

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace ON
{
class Outline;
class Position;
} // namespace ON

struct Config
{
    struct Entry
    {
        std::wstring path;
        // A folder's children; empty for a file and for a folder not yet listed.
        std::vector<Entry> entries;
        // 0 for an entry the user gave, n for one found n folders below it.
        uint32_t depth = 0;
        // The Win32 error of a folder that could not be listed in this run; 0 otherwise.
        uint32_t listingError = 0;
    };

    enum OriginalPath : int32_t
    {
        NoOriginalPath = 0,
        PlainTextPath = 1, // "plainText" in the settings file
        HyperlinkPath = 2, // "hyperlink"
    };

    struct ImportFormat
    {
        bool fileAttachment = false;
        // The file's text or HTML, or its printout images (PDF, Word, PowerPoint, images).
        bool fileContent = false;
        int32_t originalPath = NoOriginalPath;
    };

    enum OutputFormat : int32_t
    {
        InsertAllFilesIntoASinglePage = 0,
        InsertEachFileOnASeparatePage = 1,
        InsertEachPrintoutPageOnASeparatePage = 2,
    };

    // In the user's order, each with depth 0; the run replaces them by the flat list of every
    // entry at every depth.
    std::vector<Entry> entries;
    ImportFormat importFormat;
    int32_t outputFormat = InsertAllFilesIntoASinglePage;
    // Create a new page (format 0) or section (formats 1 and 2) rather than use an existing one.
    bool createNew = false;
    // The OneNote hyperlink of the target the user picked.
    std::wstring location;
    // The OneNote ID of that target, when known: a picked notebook or section group receives new
    // sections itself, whatever group OneNote's window shows after opening it.
    std::wstring locationId;
    // Percent of 96 dots per inch for printout images.
    uint32_t printoutScale = 200;
};

// One progress report; the engine never changes a report after handing it on.
struct Progress
{
    // Stamps the report with the clock's time now.
    Progress(std::wstring text, uint32_t done, uint32_t total);

    int64_t time = 0; // seconds since 1970-01-01 UTC
    std::tm localTime{};
    std::wstring text;
    uint32_t done = 0;
    uint32_t total = 0; // 0 while not yet known
};

// The window's answer to a progress report.
struct Result
{
    std::error_code error;
    bool hasError = false;

    // Only an answer that carries a real error stops the run.
    bool AsksToStop() const { return hasError && error.value() != 0; }
};

// The answer of the error prompt for a failed entry.
enum class ErrorHandling : int32_t
{
    Retry = 0,
    Skip = 1,
    Stop = 2,
};

// An empty report asks only whether the run is to stop.
using ProgressCallback = std::function<Result(std::shared_ptr<Progress>)>;
// Asked about an entry that failed. Asked too, with an entry without a path, when OneNote does not
// take the page that a run filled with all its files as the run ends: the condition names the
// page, Retry sends it again and any other answer gives up what has not reached OneNote.
using ErrorCallback = std::function<ErrorHandling(const Config::Entry&, const std::error_condition&)>;

// What an importer hands back for an entry that succeeded; moved into the run's target. An empty
// pointer is a value too.
struct ImportResult
{
    std::shared_ptr<ON::Position> position;
    std::shared_ptr<ON::Position> startPosition;
    std::shared_ptr<ON::Outline> referenceOutline;
};
