#pragma once
// What the tests of whole import runs share: files of each test's own, a configuration that
// names a place of the fixture store, a recorder of progress reports, and what a stored page shows.

#include "import_engine/ImportRun.h"
#include "tests/import_engine/EngineTestSupport.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace EngineTest
{
struct Report
{
    std::wstring text;
    uint32_t done;
    uint32_t total;
    bool operator==(const Report&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Report& report);

class ImportRunTest : public EngineTest
{
protected:
    void SetUp() override;

    // Writes a file below this test's folder (folders made as needed) and returns its full path.
    std::wstring MakeFile(const std::wstring& relative, const std::string& bytes = "x");
    // A run into the object of the fixture store with this ID, its link as the location.
    Config ConfigInto(const std::wstring& id, int32_t outputFormat = Config::InsertAllFilesIntoASinglePage);
    static Config::Entry Entry(const std::wstring& path) { return {path, {}, 0, 0}; }
    // Records every report; answer, when given, decides the answer to each.
    ProgressCallback Recorder(std::function<Result(const Report&)> answer = nullptr);

    std::wstring StoredPage(const std::wstring& id);
    static size_t Count(const std::wstring& text, const std::wstring& part);

    std::filesystem::path files_;
    std::vector<Report> reports_;
};

struct StoredPageInfo
{
    std::wstring name;
    std::wstring level;
    std::wstring id;
};

// The pages of a section's hierarchy XML in their order, with their levels.
std::vector<StoredPageInfo> PagesOf(const std::wstring& hierarchyXml);

// What a page shows, one line per thing in page order: "outline" where an outline starts, each
// paragraph as its quick style's name (empty without one), the indent of its block when not 1,
// ": " and its text markup, or "picture" for a paragraph that holds a picture; "file: ", the name an attachment is shown by, ": " and the bytes OneNote
// keeps of it; "image: " and the width and height of an image. The page's title is left out.
std::vector<std::wstring> Shows(const std::wstring& pageXml);
} // namespace EngineTest
