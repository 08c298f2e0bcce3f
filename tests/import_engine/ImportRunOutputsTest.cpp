// What whole import runs leave in OneNote, read back from the stand-in's store: every import format,
// every kind of file, and the pages and sections of each output format.
#include "framework/files/Files.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/PdfDocument.h"
#include "standins/onenote/Xml.h"
#include "tests/import_engine/ImportRunFixture.h"
#include "tests/support/SchemaCheck.h"
#include "tests/support/Screenshot.h"

#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>

namespace EngineTest
{
namespace
{
namespace fs = std::filesystem;
using StandInTest::Utf8;
namespace Ids = FixtureIds;

using Lines = std::vector<std::wstring>;

std::wstring Link(const std::wstring& path) { return L"p: <a href=\"file:///" + path + L"\">" + path + L"</a>"; }

// The lines of a text file holding "alpha\tbeta\ngamma": tabs become four spaces, and an empty
// line closes the content.
const Lines TextLines{L"code 2: alpha    beta", L"code 2: gamma", L"code 2: "};

Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct FormatCase
{
    const char* label;
    Config::ImportFormat format;
    // What the page shows after the run; PATH stands for the file's path.
    Lines shows;
};

void PrintTo(const FormatCase& c, std::ostream* out) { *out << c.label; }

class ImportFormats : public ImportRunTest, public testing::WithParamInterface<FormatCase>
{
};

TEST_P(ImportFormats, ATextFileShowsWhatItsImportFormatAsks)
{
    const std::wstring path = MakeFile(L"notes.txt", "alpha\tbeta\ngamma");
    Config config = ConfigInto(Ids::Budget);
    config.importFormat = GetParam().format;
    config.entries = {Entry(path)};

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(1u, result.Value());
    Lines expected;
    for (std::wstring line : GetParam().shows)
    {
        for (size_t at = line.find(L"PATH"); at != std::wstring::npos; at = line.find(L"PATH", at))
            line.replace(at, 4, path);
        expected.push_back(line);
    }
    const std::wstring page = StoredPage(Ids::Budget);
    EXPECT_EQ(expected, Shows(page));
    EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
    for (const auto& call : Calls())
    {
        if (call.method == L"UpdatePageContent")
        {
            EXPECT_TRUE(IsValidSent(call.arguments[0], L"sent"));
        }
    }
}

const std::wstring LinkLine = L"p: <a href=\"file:///PATH\">PATH</a>";
const std::wstring Attached = L"file: notes.txt: alpha\tbeta\ngamma";

INSTANTIATE_TEST_SUITE_P(
    EveryImportFormat, ImportFormats,
    testing::Values(
        FormatCase{"link", {false, false, Config::HyperlinkPath}, {L"outline", LinkLine}},
        FormatCase{"plain path", {false, false, Config::PlainTextPath}, {L"outline", L"blockquote: PATH"}},
        FormatCase{"content", {false, true, Config::NoOriginalPath}, Lines{L"outline"} + TextLines},
        FormatCase{"attachment", {true, false, Config::NoOriginalPath}, {Attached}},
        FormatCase{"link and attachment", {true, false, Config::HyperlinkPath}, {L"outline", L": ", LinkLine, Attached}},
        FormatCase{"plain path and content", {false, true, Config::PlainTextPath},
                   Lines{L"outline", L": ", L"blockquote: PATH"} + TextLines},
        FormatCase{"attachment and content", {true, true, Config::NoOriginalPath},
                   Lines{Attached, L"outline"} + TextLines},
        FormatCase{"link, attachment and content", {true, true, Config::HyperlinkPath},
                   Lines{L"outline", L": ", LinkLine, Attached, L"outline"} + TextLines}),
    [](const testing::TestParamInfo<FormatCase>& info) {
        std::string name;
        for (const char c : std::string(info.param.label))
            if (std::isalnum(static_cast<unsigned char>(c)))
                name += c;
        return name;
    });

using ImportKinds = ImportRunTest;

TEST_F(ImportKinds, EveryKindOfFileBecomesItsContentOnOnePage)
{
    Screenshot::GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.started());
    Screenshot::Capture picture{1000, 500, std::vector<DWORD>(1000 * 500, 0x336699)};
    const fs::path png = Screenshot::Save(picture, L"picture");
    fs::create_directories(files_ / L"Kinds");
    fs::copy_file(png, files_ / L"Kinds" / L"PHOTO.PNG", fs::copy_options::overwrite_existing);
    const std::wstring photo = (files_ / L"Kinds" / L"PHOTO.PNG").wstring();
    const std::wstring text = MakeFile(L"Kinds\\a.txt", "alpha\tbeta\ngamma");
    const std::wstring xml = MakeFile(L"Kinds\\b.xml", "<x/>");
    const std::wstring html = MakeFile(L"Kinds\\c.htm", "<html><head><title>t</title></head><body><h2>Minutes</h2>"
                                                        "<p>Read <a href=\"http://example.org/\">this</a></p></body></html>");
    // Attached, as they are not what their names say or have no content importer.
    for (const auto& [name, bytes] : {std::pair{L"d.json", "{}"}, {L"e.mp3", "ID3"}, {L"f.wmf", "not really"},
                                      {L"g.jpg", "not a picture"}})
        MakeFile(std::wstring(L"Kinds\\") + name, bytes);
    Config config = ConfigInto(Ids::Budget);
    config.importFormat = {false, true, Config::NoOriginalPath};
    config.entries = {Entry((files_ / L"Kinds").wstring())};

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(9u, result.Value());
    const std::wstring page = StoredPage(Ids::Budget);
    // The folder's entries come in the order of the listing, whatever the letter case.
    EXPECT_EQ((Lines{L"outline", L"h1: " + (files_ / L"Kinds").wstring()} + TextLines +
               Lines{L"code 2: &lt;x/&gt;", L"code 2: ", L"h2: Minutes", L"p: Read <a href=\"http://example.org/\">this</a>",
                     L"file: d.json: {}", L"file: e.mp3: ID3", L"file: f.wmf: not really", L"file: g.jpg: not a picture",
                     L"image: 480 x 240"}),
              Shows(page))
        << Utf8(page);
    EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
}

TEST_F(ImportKinds, AnHtmlFileShowsThePicturesItsLinksLeadToAndAnMhtFileIsReadAsItIs)
{
    const std::wstring token = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
    const std::wstring page = MakeFile(L"Pages\\page.htm", "<html><head><title>t</title></head><body><p>Before</p>"
                                                          "<img src=\"images/pic.png\"><p>After</p></body></html>");
    MakeFile(L"Pages\\images\\pic.png", "a picture");
    // A web archive holds its parts itself.
    const std::string archived = "<p>Archived " + Utf8(token) + "</p>";
    const std::wstring archive = MakeFile(L"Pages\\archive.mht", archived);
    const std::wstring after = MakeFile(L"after.txt", "after");
    Config config = ConfigInto(Ids::Budget);
    config.importFormat = {false, true, Config::NoOriginalPath};
    config.entries = {Entry(page), Entry(archive), Entry(after)};
    // What OneNote is given to read of the archive, while the page that names it is not saved yet.
    bool archiveGivenAsItIs = false;
    const auto lookAtTheCopies = [&](const Report& report) {
        std::error_code noFolderYet;
        if (report.text == after)
            for (const auto& entry : fs::recursive_directory_iterator(GetPrintoutFolder() + L"\\copies", noFolderYet))
                archiveGivenAsItIs = archiveGivenAsItIs || (entry.is_regular_file() && ReadFileBytes(entry.path().c_str()) == archived);
        return Result{};
    };

    const auto result = RunImport(config, Recorder(lookAtTheCopies), nullptr);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ((Lines{L"outline", L"p: Before", L"picture", L"p: After", L"p: Archived " + token, L"code 2: after", L"code 2: "}),
              Shows(StoredPage(Ids::Budget)));
    EXPECT_TRUE(archiveGivenAsItIs);
}

TEST_F(ImportKinds, AFileThatCannotBePrintedFailsItsEntryAndTheRunGoesOn)
{
    const std::wstring broken = MakeFile(L"broken.pdf", "not a PDF at all");
    const std::wstring after = MakeFile(L"after.txt", "after");
    Config config = ConfigInto(Ids::Budget);
    config.importFormat = {false, true, Config::NoOriginalPath};
    config.entries = {Entry(broken), Entry(after)};
    std::vector<std::wstring> asked;

    const auto result = RunImport(config, Recorder(), [&](const Config::Entry& entry, const std::error_condition& error) {
        asked.push_back(entry.path);
        EXPECT_NE(0, error.value());
        return ErrorHandling::Skip;
    });

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(1u, result.Value());
    EXPECT_EQ(Lines{broken}, asked);
    const std::wstring page = StoredPage(Ids::Budget);
    EXPECT_EQ((Lines{L"outline", L"code 2: after", L"code 2: "}), Shows(page));
    EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
}

// The outline of a stored page without what OneNote gives every object of its own.
std::string CanonicalOutlines(const std::wstring& pageXml, const std::wstring& name)
{
    const StandIn::ParseResult parsed = StandIn::ParseXml(pageXml, StandIn::Namespace2013, L"");
    if (!parsed.root)
        return "(not a page)";
    auto page = StandIn::MakeElement(L"Page");
    for (const auto& object : parsed.root->Elements(L"Outline"))
        page->children.push_back(object);
    std::function<void(StandIn::XNode&)> strip = [&](StandIn::XNode& node) {
        for (const wchar_t* attribute : {L"objectID", L"creationTime", L"lastModifiedTime"})
            node.RemoveAttribute(attribute);
        std::erase_if(node.children, [](const StandIn::XNodePtr& child) {
            return child->name == L"Position" || child->name == L"Size";
        });
        for (const auto& child : node.children)
            strip(*child);
    };
    strip(*page);
    return SchemaCheck::Canonical(
        SchemaCheck::WriteOutputFile(L"." + name + L".xml", Utf8(StandIn::WriteXml(*page, StandIn::Namespace2013, false))));
}

TEST_F(ImportKinds, AFolderTreeOnOnePageIsHeadingsWithTheirFilesBelow)
{
    const std::wstring top = (files_ / L"Top").wstring();
    const std::wstring a = MakeFile(L"Top\\a.txt", "one");
    const std::wstring inner = (files_ / L"Top\\Inner").wstring();
    const std::wstring b = MakeFile(L"Top\\Inner\\b.txt", "two");
    Config config = ConfigInto(Ids::Budget);
    config.importFormat = {false, true, Config::HyperlinkPath};
    config.entries = {Entry(top + L"\\\\")};

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(4u, result.Value());
    const std::wstring page = StoredPage(Ids::Budget);
    EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
    // The styles' indexes are those the page has: 0 the title, 1 OneNote's body text, then the
    // import's own from 2 on: "h1" to "h6", "blockquote", "code".
    const std::wstring expected =
        L"<one:Page><one:Outline><one:OEChildren>"
        L"<one:OE quickStyleIndex=\"2\"><one:T><![CDATA[" + top + L"]]></one:T></one:OE>"
        L"<one:OE><one:T><![CDATA[]]></one:T></one:OE>"
        L"<one:OE quickStyleIndex=\"1\"><one:T><![CDATA[<a href=\"file:///" + a + L"\">" + a + L"</a>]]></one:T></one:OE>"
        L"</one:OEChildren><one:OEChildren indent=\"2\">"
        L"<one:OE quickStyleIndex=\"9\"><one:T><![CDATA[one]]></one:T></one:OE>"
        L"<one:OE quickStyleIndex=\"9\"><one:T><![CDATA[]]></one:T></one:OE>"
        L"</one:OEChildren><one:OEChildren>"
        L"<one:OE><one:T><![CDATA[]]></one:T></one:OE>"
        L"<one:OE quickStyleIndex=\"3\"><one:T><![CDATA[" + inner + L"]]></one:T></one:OE>"
        L"<one:OE><one:T><![CDATA[]]></one:T></one:OE>"
        L"<one:OE quickStyleIndex=\"1\"><one:T><![CDATA[<a href=\"file:///" + b + L"\">" + b + L"</a>]]></one:T></one:OE>"
        L"</one:OEChildren><one:OEChildren indent=\"2\">"
        L"<one:OE quickStyleIndex=\"9\"><one:T><![CDATA[two]]></one:T></one:OE>"
        L"<one:OE quickStyleIndex=\"9\"><one:T><![CDATA[]]></one:T></one:OE>"
        L"</one:OEChildren></one:Outline></one:Page>";
    const std::wstring wrapped = L"<?xml version=\"1.0\"?>" +
                                 std::regex_replace(expected, std::wregex(L"<one:Page>"),
                                                    L"<one:Page xmlns:one=\"" + std::wstring(StandIn::Namespace2013) + L"\">");
    const std::string want = SchemaCheck::Canonical(SchemaCheck::WriteOutputFile(L".expected.xml", Utf8(wrapped)));
    EXPECT_EQ(want, CanonicalOutlines(page, L"outlines")) << Utf8(page);
}

using ImportPages = ImportRunTest;

TEST_F(ImportPages, APagePerFileMirrorsTheFoldersInPageLevels)
{
    const std::wstring x = MakeFile(L"A\\x.txt", "ex");
    const std::wstring y = MakeFile(L"A\\y.txt", "why");
    const std::wstring z = MakeFile(L"z.txt", "zed");
    Config config = ConfigInto(Ids::Renovation, Config::InsertEachFileOnASeparatePage);
    config.importFormat = {false, true, Config::HyperlinkPath};
    config.entries = {Entry((files_ / L"A").wstring()), Entry(z)};

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(4u, result.Value());
    const auto pages = PagesOf(Hierarchy(Application(), Ids::Renovation, ON16::hsPages));
    ASSERT_EQ(5u, pages.size());
    EXPECT_EQ(L"Budget & schedule", pages[0].name);
    // OneNote gives a page level 1 where a program sets none.
    const std::vector<std::pair<std::wstring, std::wstring>> expected{
        {L"A", L"1"}, {L"x.txt", L"2"}, {L"y.txt", L"2"}, {L"z.txt", L"1"}};
    for (size_t i = 0; i < expected.size(); ++i)
    {
        SCOPED_TRACE(Utf8(expected[i].first));
        EXPECT_EQ(expected[i].first, pages[i + 1].name);
        EXPECT_EQ(expected[i].second, pages[i + 1].level);
    }
    const std::map<std::wstring, Lines> contents{
        {L"A", {}},
        {L"x.txt", Lines{L"outline", L": ", Link(x), L"code 2: ex", L"code 2: "}},
        {L"y.txt", Lines{L"outline", L": ", Link(y), L"code 2: why", L"code 2: "}},
        {L"z.txt", Lines{L"outline", L": ", Link(z), L"code 2: zed", L"code 2: "}}};
    for (size_t i = 1; i < pages.size(); ++i)
    {
        SCOPED_TRACE(Utf8(pages[i].name));
        const std::wstring page = StoredPage(pages[i].id);
        EXPECT_EQ(contents.at(pages[i].name), Shows(page));
        EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
    }
}

TEST_F(ImportPages, APagePerPrintoutPageMakesASectionForATopFolder)
{
    const std::wstring p = MakeFile(L"Trip\\p.txt", "pee");
    const std::wstring q = MakeFile(L"Trip\\q.txt", "queue");
    Config config = ConfigInto(Ids::Renovation, Config::InsertEachPrintoutPageOnASeparatePage);
    config.importFormat = {false, true, Config::NoOriginalPath};
    config.entries = {Entry((files_ / L"Trip").wstring())};

    const auto result = RunImport(config, Recorder(), nullptr);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(3u, result.Value());
    // The new section goes beside the picked one, in its section group.
    const std::wstring sections = Hierarchy(Application(), Ids::Projects, ON16::hsChildren);
    const std::wstring trip = FirstId(sections, L"Section", L"Trip");
    ASSERT_FALSE(trip.empty()) << Utf8(sections);
    const auto pages = PagesOf(Hierarchy(Application(), trip, ON16::hsPages));
    ASSERT_EQ(2u, pages.size());
    EXPECT_EQ(L"p.txt", pages[0].name);
    EXPECT_EQ(L"q.txt", pages[1].name);
    EXPECT_EQ((Lines{L"outline", L"code 2: pee", L"code 2: "}), Shows(StoredPage(pages[0].id)));
    EXPECT_EQ((Lines{L"outline", L"code 2: queue", L"code 2: "}), Shows(StoredPage(pages[1].id)));
    EXPECT_EQ(1u, PagesOf(Hierarchy(Application(), Ids::Renovation, ON16::hsPages)).size());
}
} // namespace
} // namespace EngineTest
