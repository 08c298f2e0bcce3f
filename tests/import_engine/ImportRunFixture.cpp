#include "tests/import_engine/ImportRunFixture.h"

#include "framework/files/Files.h"
#include "framework/text/Text.h"
#include "standins/onenote/Xml.h"

#include <fstream>
#include <map>

namespace EngineTest
{
namespace fs = std::filesystem;

std::ostream& operator<<(std::ostream& out, const Report& report)
{
    return out << "(" << StandInTest::Utf8(report.text) << ", " << report.done << ", " << report.total << ")";
}

void ImportRunTest::SetUp()
{
    EngineTest::SetUp();
    WriteScenario(FixtureStoreLine());
    files_ = TestPaths::OutputFolder() /
             (L"run-" + fs::path(testing::UnitTest::GetInstance()->current_test_info()->name()).wstring());
    fs::remove_all(files_);
    fs::create_directories(files_);
}

std::wstring ImportRunTest::MakeFile(const std::wstring& relative, const std::string& bytes)
{
    const fs::path path = files_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.wstring();
}

Config ImportRunTest::ConfigInto(const std::wstring& id, int32_t outputFormat)
{
    auto application = Application();
    BSTR link = nullptr;
    EXPECT_EQ(application->GetHyperlinkToObject(_bstr_t(id.c_str()), _bstr_t(L""), &link), S_OK);
    const _bstr_t owned(link, false);
    Config config;
    config.location = owned.length() ? static_cast<const wchar_t*>(owned) : L"";
    config.outputFormat = outputFormat;
    config.importFormat.originalPath = Config::HyperlinkPath;
    return config;
}

ProgressCallback ImportRunTest::Recorder(std::function<Result(const Report&)> answer)
{
    return [this, answer](std::shared_ptr<Progress> report) {
        if (!report)
            return Result{};
        reports_.push_back({report->text, report->done, report->total});
        return answer ? answer(reports_.back()) : Result{};
    };
}

std::wstring ImportRunTest::StoredPage(const std::wstring& id) { return Content(Application(), id); }

size_t ImportRunTest::Count(const std::wstring& text, const std::wstring& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

namespace
{
void ShowParagraphs(const StandIn::XNode& node, const std::map<std::wstring, std::wstring>& styles,
                    const std::wstring& indent, std::vector<std::wstring>& shown)
{
    for (const auto& child : node.children)
    {
        if (child->name == L"OEChildren")
        {
            const std::wstring level = child->AttributeOr(L"indent", L"1");
            ShowParagraphs(*child, styles, level == L"1" ? L"" : L" " + level, shown);
        }
        else if (child->name == L"OE" && child->FirstElement(L"Image"))
        {
            shown.push_back(L"picture");
        }
        else if (child->name == L"OE")
        {
            const auto style = styles.find(child->AttributeOr(L"quickStyleIndex"));
            const auto t = child->FirstElement(L"T");
            shown.push_back((style == styles.end() ? L"" : style->second) + indent + L": " + (t ? t->InnerText() : L""));
            ShowParagraphs(*child, styles, indent, shown);
        }
        else if (child->name == L"HTMLBlock")
        {
            shown.push_back(L"html" + indent + L": (not converted)");
        }
    }
}
} // namespace

std::vector<StoredPageInfo> PagesOf(const std::wstring& hierarchyXml)
{
    const StandIn::ParseResult parsed = StandIn::ParseXml(hierarchyXml, StandIn::Namespace2013, L"");
    std::vector<StoredPageInfo> pages;
    if (parsed.root)
        for (const auto& page : parsed.root->Elements(L"Page"))
            pages.push_back({page->AttributeOr(L"name"), page->AttributeOr(L"pageLevel"), page->AttributeOr(L"ID")});
    return pages;
}

std::vector<std::wstring> Shows(const std::wstring& pageXml)
{
    const StandIn::ParseResult parsed = StandIn::ParseXml(pageXml, StandIn::Namespace2013, L"");
    if (!parsed.root)
        return {L"(not a page)"};
    std::map<std::wstring, std::wstring> styles;
    for (const auto& style : parsed.root->Elements(L"QuickStyleDef"))
        styles[style->AttributeOr(L"index")] = style->AttributeOr(L"name");
    std::vector<std::wstring> shown;
    for (const auto& object : parsed.root->children)
    {
        if (object->name == L"Outline")
        {
            shown.push_back(L"outline");
            ShowParagraphs(*object, styles, L"", shown);
        }
        else if (object->name == L"InsertedFile")
        {
            // What OneNote keeps of the file is its copy in the cache, read when the page was saved.
            const std::wstring source = object->AttributeOr(L"pathSource");
            const std::wstring name = object->AttributeOr(L"preferredName", fs::path(source).filename().wstring());
            const std::wstring cached = object->AttributeOr(L"pathCache");
            shown.push_back(L"file: " + name + L": " +
                            (cached.empty() ? L"(not read)" : Utf8ToWide(ReadFileBytes(cached.c_str()))));
        }
        else if (object->name == L"Image")
        {
            const auto size = object->FirstElement(L"Size");
            shown.push_back(L"image: " + (size ? size->AttributeOr(L"width") + L" x " + size->AttributeOr(L"height") : L"?"));
        }
    }
    return shown;
}
} // namespace EngineTest
