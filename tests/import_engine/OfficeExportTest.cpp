// Word and PowerPoint exports against the Office stand-ins registered in the test prefix: the
// calls by name with their arguments, the exported PDF and what happens to the document after.

#include "framework/files/Files.h"
#include "framework/onenote/OneNoteApplication.h"
#include "import_engine/LateBoundCall.h"
#include "import_engine/OfficeExport.h"
#include "import_engine/PdfDocument.h"
#include "tests/import_engine/PrintoutTestSupport.h"

#include <shlwapi.h>

#include <filesystem>

namespace PrintoutTest
{
namespace
{
const CLSID WordClass = {0x000209FF, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const CLSID PowerPointClass = {0x91493441, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}};

// The stand-in's own members (StandInReset, StandInFail, StandInOpenAsUser, StandInCalls).
class OfficeStandIn
{
public:
    explicit OfficeStandIn(const CLSID& clsid)
    {
        EXPECT_EQ(CreateRunningObject(clsid, IID_IDispatch, reinterpret_cast<void**>(&application_)), S_OK);
        Call(L"StandInReset");
    }
    _variant_t Call(const wchar_t* member, const std::vector<_variant_t>& arguments = {})
    {
        return LateBound::Call(*application_, IID_IDispatch, member, arguments);
    }
    void Fail(const wchar_t* member, HRESULT failure) { Call(L"StandInFail", {_variant_t(member), LateBound::Int(failure)}); }
    std::vector<std::wstring> Calls()
    {
        const std::wstring text = static_cast<const wchar_t*>(_bstr_t(Call(L"StandInCalls")));
        std::vector<std::wstring> lines;
        for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

private:
    LateBound::DispatchPtr application_;
};

// Whether two interface pointers are the same object.
bool SameObject(IDispatch* first, IDispatch* second)
{
    using UnknownPtr = _com_ptr_t<_com_IIID<IUnknown, &IID_IUnknown>>;
    const auto identity = [](IDispatch* object) {
        IUnknown* unknown = nullptr;
        if (object)
            object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown));
        return UnknownPtr(unknown, false);
    };
    return identity(first).GetInterfacePtr() == identity(second).GetInterfacePtr();
}

class OfficeExportTest : public PrintoutTest
{
protected:
    // An importer that renders every page of the exported PDF, as the printout import does.
    PdfPrintoutImport RenderingImporter()
    {
        return [this](const std::wstring& pdfPath) -> TOrError<ImportResult> {
            importedPdfs_.push_back(pdfPath);
            TOrError<Pdf> pdf = Pdf::Open(pdfPath, 100, L"File: " + pdfPath);
            if (pdf.HoldsError())
                return pdf.Error();
            const unsigned count = Pdf::GetPageCount(pdf.Value(), pdf.Value().context).Value();
            for (unsigned i = 0; i < count; ++i)
                renderedPages_.push_back(Pdf::RenderPage(pdf.Value(), i, pdf.Value().context).Value());
            return ImportResult{};
        };
    }

    std::wstring WriteDocument(const std::wstring& fileName, const std::string& bytes)
    {
        const std::wstring path = PathIn(fileName);
        EXPECT_TRUE(WriteStringToFile(path.c_str(), bytes));
        return path;
    }

    static std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

    std::vector<std::wstring> importedPdfs_;
    std::vector<std::wstring> renderedPages_;
};

TEST(PdfFileName, ReplacesEveryOccurrenceOfTheExtension)
{
    struct Case
    {
        const wchar_t* name;
        const wchar_t* extension;
        const wchar_t* expected;
    } cases[] = {
        {L"Report.docx", L".docx", L"Report.pdf"},
        {L"a.doc.doc", L".doc", L"a.pdf.pdf"},
        {L"Deck.PPTX", L".PPTX", L"Deck.pdf"},
        {L"my.docx.old.docx", L".docx", L"my.pdf.old.pdf"},
        {L"Report.DOCX", L".docx", L"Report.DOCX"}, // case counts
        {L"README", L"", L"README"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << WideToUtf8(c.name));
        EXPECT_EQ(ToPdfFileName(c.name, c.extension), c.expected);
    }
}

TEST_F(OfficeExportTest, WordDocument_IsExportedReadOnlyToTheTemporaryFolderAndClosedWithoutSaving)
{
    OfficeStandIn word(WordClass);
    // Only this test exports a "Report": what earlier runs left in the shared folder goes first.
    const std::wstring name = L"Report";
    std::error_code noFolderYet;
    for (const auto& left : std::filesystem::directory_iterator(GetPrintoutFolder(), noFolderYet))
        if (left.path().filename().wstring().rfind(name, 0) == 0)
            std::filesystem::remove(left.path());
    // Its date field is updated as Word lays it out for the export, which leaves it changed: a
    // change of Word's own, in a document that no one else has had.
    const std::wstring path = WriteDocument(name + L".docx", "PK word document <w:fldSimple w:instr=\" DATE \"/>");

    const TOrError<ImportResult> result = ImportWordDoc(path, RenderingImporter());
    ASSERT_TRUE(result.HoldsValue()) << result.Error().message();

    const std::wstring pdf = GetPrintoutFolder() + L"\\" + name + L".pdf";
    ASSERT_EQ(importedPdfs_, std::vector<std::wstring>{pdf});
    ASSERT_EQ(renderedPages_.size(), 1u);
    EXPECT_EQ(renderedPages_[0], GetPrintoutFolder() + L"\\" + name + L"_0.png");

    const std::wstring missing = L"missing";
    EXPECT_EQ(word.Calls(),
              (std::vector<std::wstring>{
                  L"Documents()",
                  L"Open(" + Quoted(path) + L", FALSE, TRUE, FALSE, " + Quoted(NoPromptPassword) +
                      L", missing, FALSE, missing, missing, missing, missing, missing, missing, missing, missing, "
                      L"missing)",
                  L"ExportAsFixedFormat(" + Quoted(pdf) +
                      L", 17, FALSE, 1, 0, 0, 0, 0, FALSE, FALSE, 0, TRUE, TRUE, FALSE, missing)",
                  L"Close(0, missing, missing)",
              }));
    const LateBound::DispatchPtr open(word.Call(L"Documents"));
    ASSERT_TRUE(open);
    EXPECT_EQ(0, static_cast<long>(LateBound::Call(*open, IID_IDispatch, L"Count"))) << "Word still holds the file";
}

TEST_F(OfficeExportTest, PowerPointDeck_IsExportedAPagePerSlideClosedAndPowerPointKeepsRunning)
{
    OfficeStandIn powerPoint(PowerPointClass);
    const std::wstring name = UniqueName(L"");
    const std::wstring path =
        WriteDocument(name + L".pptx", "PK ppt/slides/slide1.xml ppt/slides/slide2.xml ppt/slides/slide3.xml "
                                       "ppt/slides/slide1.xml");

    const TOrError<ImportResult> result = ImportPPTFile(path, RenderingImporter());
    ASSERT_TRUE(result.HoldsValue()) << result.Error().message();

    const std::wstring pdf = GetPrintoutFolder() + L"\\" + name + L".pdf";
    EXPECT_EQ(importedPdfs_, std::vector<std::wstring>{pdf});
    ASSERT_EQ(renderedPages_.size(), 3u);
    EXPECT_EQ(ReadPngSize(renderedPages_[2]).width, 960u); // 720 points
    EXPECT_EQ(powerPoint.Calls(),
              (std::vector<std::wstring>{
                  L"Presentations()",
                  L"Open(" + Quoted(path) + L", -1, 0, 0)",
                  L"ExportAsFixedFormat(" + Quoted(pdf) +
                      L", 2, 1, 0, 2, 1, 0, null, 1, \"\", FALSE, TRUE, TRUE, TRUE, FALSE, missing)",
                  L"Close()",
              }));
}

TEST_F(OfficeExportTest, FailingExport_StillClosesTheDocumentLogsAndReturnsTheErrorWithTheFile)
{
    OfficeStandIn word(WordClass);
    word.Fail(L"ExportAsFixedFormat", E_ACCESSDENIED);
    const std::wstring path = WriteDocument(UniqueName(L".docx"), "PK");

    const TOrError<ImportResult> result = ImportWordDoc(path, RenderingImporter());
    ASSERT_TRUE(result.HoldsError());
    EXPECT_EQ(HResultOf(result.Error()), E_ACCESSDENIED);
    EXPECT_EQ(ContextOf(result.Error()), WideToUtf8(L"File: " + path));
    EXPECT_TRUE(importedPdfs_.empty());
    EXPECT_EQ(word.Calls().back(), L"Close(0, missing, missing)");
    const std::vector<std::wstring> log = LogMessages();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], L"ERROR: " + GetErrorText(result.Error()));
}

TEST_F(OfficeExportTest, FailingClose_IsLoggedAndTheImportsResultStands)
{
    OfficeStandIn powerPoint(PowerPointClass);
    powerPoint.Fail(L"Close", RPC_E_DISCONNECTED);
    const std::wstring path = WriteDocument(UniqueName(L".pptx"), "PK ppt/slides/slide1.xml");

    const TOrError<ImportResult> result = ImportPPTFile(path, RenderingImporter());
    EXPECT_TRUE(result.HoldsValue());
    EXPECT_EQ(renderedPages_.size(), 1u);
    const std::vector<std::wstring> log = LogMessages();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind(L"ERROR: ", 0), 0u);
    EXPECT_NE(log[0].find(L"File: " + path), std::wstring::npos);
}

TEST_F(OfficeExportTest, DocumentThatWordDidNotClose_StaysTheImportsAndIsClosedAtTheNextExport)
{
    OfficeStandIn word(WordClass);
    const auto openDocuments = [&] {
        const LateBound::DispatchPtr open(word.Call(L"Documents"));
        return open ? static_cast<long>(LateBound::Call(*open, IID_IDispatch, L"Count")) : -1L;
    };
    word.Fail(L"Close", RPC_E_CALL_REJECTED);
    const std::wstring first = WriteDocument(UniqueName(L".docx"), "PK");
    ASSERT_TRUE(ImportWordDoc(first, RenderingImporter()).HoldsValue());
    ASSERT_EQ(1, openDocuments()) << "Word kept the document open";

    // Word closes documents again.
    word.Fail(L"Close", S_OK);
    const std::wstring second = WriteDocument(UniqueName(L".docx"), "PK");
    const TOrError<ImportResult> result = ImportWordDoc(second, RenderingImporter());
    ASSERT_TRUE(result.HoldsValue()) << result.Error().message();
    EXPECT_EQ(0, openDocuments()) << "the document the import opened is closed, as is the next one";
    EXPECT_EQ(importedPdfs_.size(), 2u);
}

// A document that Word did not close for the run becomes the user's once the user has it: Word
// hands the run's document to a user who opens the file, and one the user closed and opened again
// is a document of its own. Neither is closed at the next export, and no typing is thrown away.
TEST_F(OfficeExportTest, DocumentThatWordDidNotCloseAndTheUserReopenedOrChanged_IsNeverClosedAgain)
{
    struct Case
    {
        const char* name;
        bool closedByTheUser;
        bool typedIn;
    };
    const Case cases[] = {
        {"opened again, handed back by Word, and typed in", false, true},
        {"closed, opened again and typed in", true, true},
        {"closed and opened again", true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        OfficeStandIn word(WordClass);
        const LateBound::DispatchPtr documents(word.Call(L"Documents"));
        ASSERT_TRUE(documents);
        const auto openDocument = [&]() -> LateBound::DispatchPtr {
            if (static_cast<long>(LateBound::Call(*documents, IID_IDispatch, L"Count")) != 1)
                return nullptr;
            return LateBound::DispatchPtr(LateBound::Call(*documents, IID_IDispatch, L"Item", {LateBound::Int(1)}));
        };
        word.Fail(L"Close", RPC_E_CALL_REJECTED);
        const std::wstring first = WriteDocument(UniqueName(L".docx"), "PK");
        ASSERT_TRUE(ImportWordDoc(first, RenderingImporter()).HoldsValue());
        word.Fail(L"Close", S_OK);
        const LateBound::DispatchPtr left = openDocument();
        ASSERT_TRUE(left) << "Word kept the document open";

        if (c.closedByTheUser)
            LateBound::Call(*left, IID_IDispatch, L"Close", {LateBound::Bool(false)});
        word.Call(L"StandInOpenAsUser", {_variant_t(first.c_str())});
        if (c.typedIn)
            word.Call(L"StandInTypeAsUser", {_variant_t(first.c_str())});
        const LateBound::DispatchPtr users = openDocument();
        ASSERT_TRUE(users);
        EXPECT_EQ(SameObject(users, left), !c.closedByTheUser);

        const std::wstring second = WriteDocument(UniqueName(L".docx"), "PK");
        const TOrError<ImportResult> result = ImportWordDoc(second, RenderingImporter());
        ASSERT_TRUE(result.HoldsValue()) << result.Error().message();
        const LateBound::DispatchPtr after = openDocument();
        EXPECT_TRUE(after) << "the user's document was closed";
        if (after)
        {
            EXPECT_TRUE(SameObject(after, users));
            EXPECT_EQ(static_cast<bool>(LateBound::Call(*after, IID_IDispatch, L"Saved")), !c.typedIn)
                << "what the user typed is kept";
        }
        importedPdfs_.clear();
        renderedPages_.clear();
    }
}

TEST_F(OfficeExportTest, DocumentTheUserHasOpen_IsExportedButNeverClosed)
{
    OfficeStandIn word(WordClass);
    const std::wstring path = WriteDocument(UniqueName(L".docx"), "PK");
    std::wstring otherCase = path;
    CharUpperW(otherCase.data());
    word.Call(L"StandInOpenAsUser", {_variant_t(otherCase.c_str())});

    const TOrError<ImportResult> result = ImportWordDoc(path, RenderingImporter());
    ASSERT_TRUE(result.HoldsValue()) << result.Error().message();
    EXPECT_EQ(importedPdfs_.size(), 1u);
    for (const std::wstring& call : word.Calls())
    {
        EXPECT_EQ(call.rfind(L"Open(", 0), std::wstring::npos) << WideToUtf8(call);
        EXPECT_EQ(call.rfind(L"Close(", 0), std::wstring::npos) << WideToUtf8(call);
    }
}

TEST_F(OfficeExportTest, DocumentTheUserHasOpenUnderAnotherFormOfItsPath_IsHandedBackByOpenAndNeverClosed)
{
    for (const CLSID& product : {WordClass, PowerPointClass})
    {
        OfficeStandIn office(product);
        SCOPED_TRACE(product == WordClass ? "Word" : "PowerPoint");
        const bool word = product == WordClass;
        const std::wstring path =
            WriteDocument(UniqueName(word ? L" the users long document.docx" : L" the users long deck.pptx"),
                          word ? "PK" : "PK ppt/slides/slide1.xml");
        office.Call(L"StandInOpenAsUser", {_variant_t(path.c_str())});
        // The run names the file by its short name, as a list made elsewhere may.
        wchar_t shortPath[MAX_PATH] = {};
        ASSERT_GT(GetShortPathNameW(path.c_str(), shortPath, MAX_PATH), 0u);
        ASSERT_NE(path, shortPath);

        const TOrError<ImportResult> result =
            word ? ImportWordDoc(shortPath, RenderingImporter()) : ImportPPTFile(shortPath, RenderingImporter());
        ASSERT_TRUE(result.HoldsValue()) << result.Error().message();
        for (const std::wstring& call : office.Calls())
            EXPECT_EQ(call.rfind(L"Close(", 0), std::wstring::npos) << WideToUtf8(call);
        const LateBound::DispatchPtr open(office.Call(word ? L"Documents" : L"Presentations"));
        ASSERT_TRUE(open);
        EXPECT_EQ(1, static_cast<long>(LateBound::Call(*open, IID_IDispatch, L"Count"))) << "still open";
        EXPECT_EQ(importedPdfs_.size(), 1u);
        importedPdfs_.clear();
        renderedPages_.clear();
    }
}

TEST_F(OfficeExportTest, ProtectedWordDocument_FailsWithoutWordsPasswordPrompt)
{
    OfficeStandIn word(WordClass);
    const std::wstring path = WriteDocument(UniqueName(L".docx"), EncryptedOfficePackage());

    const TOrError<ImportResult> result = ImportWordDoc(path, RenderingImporter());
    ASSERT_TRUE(result.HoldsError());
    EXPECT_EQ(HResultOf(result.Error()), static_cast<HRESULT>(0x800A1520));
    for (const std::wstring& call : word.Calls())
        EXPECT_EQ(call.rfind(L"PasswordPrompt", 0), std::wstring::npos);
    EXPECT_TRUE(importedPdfs_.empty());
}

TEST_F(OfficeExportTest, FailingPdfImport_IsReturnedAsItIsWithoutALogLine)
{
    OfficeStandIn word(WordClass);
    const std::wstring path = WriteDocument(UniqueName(L".docx"), "PK");
    const std::error_code noPages = MakeImportError(PdfHasNoPages, L"File: x.pdf");

    const TOrError<ImportResult> result =
        ImportWordDoc(path, [&](const std::wstring&) -> TOrError<ImportResult> { return noPages; });
    ASSERT_TRUE(result.HoldsError());
    EXPECT_EQ(result.Error(), noPages);
    EXPECT_EQ(word.Calls().back(), L"Close(0, missing, missing)");
    EXPECT_TRUE(LogMessages().empty());
}

TEST_F(OfficeExportTest, MissingDocument_FailsWithTheApplicationsErrorAndTheFile)
{
    OfficeStandIn word(WordClass);
    const std::wstring path = PathIn(L"not-there.docx");
    const TOrError<ImportResult> result = ImportWordDoc(path, RenderingImporter());
    ASSERT_TRUE(result.HoldsError());
    EXPECT_EQ(HResultOf(result.Error()), static_cast<HRESULT>(0x800A1436));
    EXPECT_EQ(ContextOf(result.Error()), WideToUtf8(L"File: " + path));
}
} // namespace
} // namespace PrintoutTest
