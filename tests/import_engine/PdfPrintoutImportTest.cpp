// PDF files printed into OneNote pages: each page rendered by the Windows Runtime stand-in (real
// pictures made by poppler) and placed on the OneNote stand-in's pages, read back from its store.
// Everything that opens a PDF runs on a thread of the multithreaded apartment, as the import
// worker does.

#include "import_engine/PdfPrintoutImport.h"

#include "framework/files/Files.h"
#include "framework/ui/Dpi.h"
#include "framework/xml/XmlDocument.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/PageContent.h"
#include "import_engine/PageCreation.h"
#include "import_engine/ImportRun.h"
#include "import_engine/LateBoundCall.h"
#include "import_engine/PdfDocument.h"
#include "tests/import_engine/EngineTestSupport.h"
#include "tests/import_engine/ImportRunFixture.h"
#include "tests/import_engine/PrintoutTestSupport.h"
#include "tests/support/Screenshot.h"

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <thread>

namespace EngineTest
{
namespace
{
namespace fs = std::filesystem;
using PrintoutTest::PageOfDips;
using StandInTest::Utf8;
namespace Ids = FixtureIds;

// What the printout sizes are compared with: the page's own size in points and the extra that
// OneNote's printouts carry.
constexpr double PrintoutExtra = 1.44;

struct PlacedImage
{
    // The file a page sent to OneNote names.
    std::wstring file;
    // What OneNote hands out of a stored picture: the bytes it read when the page was saved.
    std::string picture;
    double width = 0;
    double height = 0;
    bool isPrintOut = false;
};

// The images of a page's XML, in the page's order.
std::vector<PlacedImage> ImagesOf(const std::wstring& pageXml)
{
    ON::Page page;
    ParseElement(page, std::wstring_view(pageXml));
    std::vector<PlacedImage> images;
    for (const auto& element : page.elements)
        if (element && element->image)
        {
            const ON::Image& image = *element->image;
            PlacedImage placed;
            placed.isPrintOut = image.isPrintOut;
            if (image.source.file)
                placed.file = image.source.file->path;
            ON16::ApplicationPtr application;
            if (image.source.callback && page.hierarchy.ID && SUCCEEDED(CreateOneNoteApplication(application)))
                placed.picture = StandInTest::PictureBytes(*application, *page.hierarchy.ID, image.source.callback->callbackID);
            if (const auto& size = image.tagable.pageObject.size)
            {
                placed.width = size->width;
                placed.height = size->height;
            }
            images.push_back(placed);
        }
    return images;
}

size_t CountOf(const std::wstring& text, const std::wstring& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// The width or height a printout of a page side of this many device-independent pixels is shown at.
double Points(double dips) { return dips * 72 / 96 + PrintoutExtra; }

class PdfPrintout : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        WriteScenario(FixtureStoreLine());
        folder_ = TestPaths::OutputFolder() /
                  (L"printout-" + fs::path(testing::UnitTest::GetInstance()->current_test_info()->name()).wstring());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        previousProvider_ = SetPasswordProvider({});
    }

    void TearDown() override
    {
        ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC", nullptr);
        ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC_ONLY", nullptr);
        SetPasswordProvider(std::move(previousProvider_));
        EngineTest::TearDown();
    }

    // Runs work on a thread of the multithreaded apartment, as the import worker runs.
    template <typename Work>
    static void OnImportWorker(Work&& work)
    {
        std::thread worker([&] {
            const Owners::ComApartment apartment(COINIT_MULTITHREADED);
            try
            {
                work();
            }
            catch (const _com_error& error)
            {
                ADD_FAILURE() << "COM error " << std::hex << error.Error();
            }
            catch (const std::exception& error)
            {
                ADD_FAILURE() << error.what();
            }
        });
        worker.join();
    }

    // Runs config as the import worker, skipping each entry that fails: failed gets its path and
    // message.
    static TOrError<unsigned> RunSkippingEveryFailure(Config& config,
                                                      std::vector<std::pair<std::wstring, std::string>>& failed)
    {
        TOrError<unsigned> result = 0u;
        OnImportWorker([&] {
            result = RunImport(
                config, [](std::shared_ptr<Progress>) { return Result{}; },
                [&](const Config::Entry& entry, const std::error_condition& error) {
                    failed.emplace_back(entry.path, error.message());
                    return ErrorHandling::Skip;
                });
        });
        return result;
    }

    // A PDF of these pages under a name no other test uses; returns its path.
    std::wstring WritePdf(const std::wstring& stem, const std::vector<PdfWriter::Page>& pages)
    {
        const std::wstring path = (folder_ / PrintoutTest::UniqueTestFileName(L"-" + stem + L".pdf")).wstring();
        EXPECT_TRUE(WriteStringToFile(path.c_str(), PdfWriter::MakePdf(pages)));
        return path;
    }

    // The printout picture of a page of the document, as the first render names it.
    static std::wstring PictureOf(const std::wstring& pdfPath, unsigned index)
    {
        return GetPrintoutFolder() + L"\\" + fs::path(pdfPath).stem().wstring() + L"_" + std::to_wstring(index) +
               L".png";
    }

    // Imports the PDF into the stored page pageId as the run would, saves the page, and hands
    // back the import's result.
    TOrError<ImportResult> ImportInto(const std::wstring& pageId, const std::wstring& pdfPath, uint32_t scale = 150,
                                      int32_t outputFormat = Config::InsertAllFilesIntoASinglePage)
    {
        TOrError<ImportResult> result = MakeImportError(CannotReadImage);
        OnImportWorker([&] {
            auto application = Application();
            Target target;
            target.pageId = pageId.c_str();
            target.outputFormat = outputFormat;
            target.printoutScale = scale;
            RetrievePageContents(*application, target, false);
            result = ImportPdfPrintout(*application, pdfPath, 0, target);
            SavePage(*application, *target.page);
        });
        return result;
    }

    std::wstring StoredPage(const std::wstring& id) { return Content(Application(), id); }

    // Every page XML sent to the stand-in is valid against the 2013 schema.
    void ExpectEverySentPageValid()
    {
        for (const auto& call : Calls())
            if (call.method == L"UpdatePageContent")
            {
                EXPECT_TRUE(IsValidSent(call.arguments[0], L"sent"));
            }
    }

    // A provider that answers from the list (then with none) and notes each password it was told
    // had been tried.
    void AnswerPasswords(std::vector<std::optional<std::wstring>> answers)
    {
        SetPasswordProvider([this, answers](std::wstring, std::optional<std::wstring> tried) {
            tried_.push_back(std::move(tried));
            return tried_.size() <= answers.size() ? answers[tried_.size() - 1] : std::nullopt;
        });
    }

    // A run's configuration with the content of every file imported into the object id.
    Config ContentInto(const std::wstring& id, int32_t outputFormat)
    {
        auto application = Application();
        BSTR link = nullptr;
        EXPECT_EQ(application->GetHyperlinkToObject(_bstr_t(id.c_str()), _bstr_t(L""), &link), S_OK);
        const _bstr_t location(link, false);
        Config config;
        config.location = location.length() ? static_cast<const wchar_t*>(location) : L"";
        config.outputFormat = outputFormat;
        config.importFormat = {false, true, Config::NoOriginalPath};
        config.printoutScale = 100;
        return config;
    }

    // A folder holding a PDF of two pages, a protected PDF of one, a Word document, a deck of two
    // slides and a picture, each named after the test so that their printouts have names of
    // their own.
    fs::path FolderOfPrintouts()
    {
        const fs::path folder = folder_ / L"files";
        fs::create_directories(folder);
        stem_ = PrintoutTest::UniqueTestFileName(L"");
        const std::wstring& stem = stem_;
        const auto write = [&](const std::wstring& name, const std::string& bytes) {
            EXPECT_TRUE(WriteStringToFile((folder / (stem + name)).wstring().c_str(), bytes));
        };
        write(L"-a.pdf", PdfWriter::MakePdf({PageOfDips(612, 792), PageOfDips(612, 792)}));
        write(L"-locked.pdf", PdfWriter::MakePdf({PageOfDips(612, 792)}));
        PrintoutTest::EncryptPdf((folder / (stem + L"-locked.pdf")).wstring(), "secret");
        fs::remove(folder / (stem + L"-locked.pdf"));
        write(L"-report.docx", "PK word/document.xml");
        write(L"-deck.pptx", "PK ppt/slides/slide1.xml ppt/slides/slide2.xml");
        const Screenshot::Capture picture{40, 20, std::vector<DWORD>(40 * 20, 0x336699)};
        fs::copy_file(Screenshot::Save(picture, L"picture"), folder / (stem + L"-photo.png"));
        return folder;
    }

    // Word and PowerPoint forget what earlier tests asked of them.
    static void ResetOfficeStandIns()
    {
        const CLSID word = {0x000209FF, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
        const CLSID powerPoint = {0x91493441, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}};
        for (const CLSID& clsid : {word, powerPoint})
        {
            LateBound::DispatchPtr application;
            ASSERT_EQ(S_OK, CreateRunningObject(clsid, IID_IDispatch, reinterpret_cast<void**>(&application)));
            LateBound::Call(*application, IID_IDispatch, L"StandInReset");
        }
    }

    // The stored pages named after the files of the folder of printouts (and their further pages).
    std::vector<std::wstring> PagesOfTheFiles()
    {
        const std::wstring notebooks = Hierarchy(Application(), L"", ON16::hsPages);
        const std::wregex pageTag(L"<one:Page ID=\"([^\"]*)\" name=\"" + stem_);
        std::vector<std::wstring> pages;
        for (std::wsregex_iterator it(notebooks.begin(), notebooks.end(), pageTag), end; it != end; ++it)
            pages.push_back(StoredPage((*it)[1]));
        return pages;
    }

    // Imports the content of a new folder of printouts into the object id, as a run of the
    // import worker, with Word and PowerPoint as they start.
    TOrError<unsigned> RunOverTheFolderOfPrintouts(const std::wstring& id, int32_t outputFormat)
    {
        ResetOfficeStandIns();
        Config config = ContentInto(id, outputFormat);
        config.entries = {{FolderOfPrintouts().wstring(), {}, 0, 0}};
        TOrError<unsigned> result = 0u;
        OnImportWorker([&] { result = RunImport(config, [](std::shared_ptr<Progress>) { return Result{}; }, nullptr); });
        return result;
    }

    // The calls PowerPoint's stand-in was asked for, one a line.
    static std::wstring PowerPointCalls()
    {
        const CLSID powerPoint = {0x91493441, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}};
        LateBound::DispatchPtr application;
        EXPECT_EQ(S_OK, CreateRunningObject(powerPoint, IID_IDispatch, reinterpret_cast<void**>(&application)));
        return application ? std::wstring(static_cast<const wchar_t*>(
                                 _bstr_t(LateBound::Call(*application, IID_IDispatch, L"StandInCalls"))))
                           : std::wstring();
    }

    fs::path folder_;
    // What the names of the files in the folder of printouts begin with.
    std::wstring stem_;
    PasswordProvider previousProvider_;
    std::vector<std::optional<std::wstring>> tried_;
};

TEST_F(PdfPrintout, EveryPageBecomesAPrintoutImageOnThePageOneBelowTheOther)
{
    const std::wstring pdf = WritePdf(L"three", {PageOfDips(612, 792), PageOfDips(1584, 1224), PageOfDips(612, 792)});

    const auto result = ImportInto(Ids::SiteSurvey, pdf, 150, Config::InsertEachFileOnASeparatePage);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    const std::wstring page = StoredPage(Ids::SiteSurvey);
    EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
    const auto images = ImagesOf(page);
    ASSERT_EQ(3u, images.size()) << Utf8(page);
    for (unsigned i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(ReadFileBytes(PictureOf(pdf, i).c_str()), images[i].picture);
        EXPECT_TRUE(images[i].isPrintOut);
    }
    // Shown at the size of the page it shows, whatever the scale it was rendered at.
    EXPECT_EQ(918u, PrintoutTest::PngSizeOf(images[0].picture).width);
    EXPECT_NEAR(Points(612), images[0].width, 0.01);
    EXPECT_NEAR(Points(792), images[0].height, 0.01);
    // The landscape page was rendered with its long side limited to 11 inches.
    EXPECT_EQ(1584u, PrintoutTest::PngSizeOf(images[1].picture).width);
    EXPECT_NEAR(Points(1056), images[1].width, 0.01);
    ExpectEverySentPageValid();
}

TEST_F(PdfPrintout, EachPrintoutPageOnItsOwnPageContinuesThroughTheGeneratorAfterRenderingBeforeInserting)
{
    const std::wstring pdf = WritePdf(L"pages", {PageOfDips(612, 792), PageOfDips(612, 792), PageOfDips(612, 792)});
    const std::wstring title = fs::path(pdf).filename().wstring();
    struct Continuation
    {
        unsigned number;
        size_t imagesOnThePageLeft;
        bool pictureRendered;
    };
    std::vector<Continuation> continuations;
    TOrError<ImportResult> result = MakeImportError(CannotReadImage);

    OnImportWorker([&] {
        auto application = Application();
        Target target;
        target.sectionId = Ids::Renovation;
        target.outputFormat = Config::InsertEachPrintoutPageOnASeparatePage;
        target.printoutScale = 100;
        CreateNewPage(*application, target, title, true);
        const auto generator = target.pageGenerator;
        target.pageGenerator = [&](Target& next, unsigned n) {
            continuations.push_back({n, CountOf(std::wstring(static_cast<const wchar_t*>(WriteElement(*next.page))),
                                                L"<one:Image"),
                                     FileExists(PictureOf(pdf, n - 1).c_str())});
            generator(next, n);
        };
        result = ImportPdfPrintout(*application, pdf, 0, target);
        // The run saves the page its target names when it moves on.
        SavePage(*application, *target.page);
    });

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    ASSERT_EQ(2u, continuations.size());
    EXPECT_EQ(2u, continuations[0].number);
    EXPECT_EQ(3u, continuations[1].number);
    for (const Continuation& continuation : continuations)
    {
        EXPECT_EQ(1u, continuation.imagesOnThePageLeft);
        EXPECT_TRUE(continuation.pictureRendered);
    }
    // Every page, the last one too, reached OneNote with its own picture.
    const std::wstring section = Hierarchy(Application(), Ids::Renovation, ON16::hsPages);
    const std::wstring titles[] = {title, title + L" - Page 2", title + L" - Page 3"};
    for (unsigned i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(Utf8(titles[i]));
        const std::wstring id = FirstId(section, L"Page", titles[i]);
        ASSERT_FALSE(id.empty()) << Utf8(section);
        const std::wstring page = StoredPage(id);
        const auto images = ImagesOf(page);
        ASSERT_EQ(1u, images.size()) << Utf8(page);
        EXPECT_EQ(ReadFileBytes(PictureOf(pdf, i).c_str()), images[0].picture);
        EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
    }
    ExpectEverySentPageValid();
}

TEST_F(PdfPrintout, ADocumentWithoutPagesFailsWith202AndChangesNothing)
{
    const std::wstring pdf = WritePdf(L"empty", {});
    const std::wstring before = StoredPage(Ids::SiteSurvey);

    const auto result = ImportInto(Ids::SiteSurvey, pdf);

    ASSERT_TRUE(result.HoldsError());
    EXPECT_TRUE(IsImportError(result.Error(), PdfHasNoPages));
    EXPECT_NE(std::wstring::npos, GetErrorText(result.Error()).find(L"File: " + pdf));
    EXPECT_EQ(0u, ImagesOf(StoredPage(Ids::SiteSurvey)).size());
    EXPECT_EQ(CountOf(before, L"<one:OE "), CountOf(StoredPage(Ids::SiteSurvey), L"<one:OE "));
}

TEST_F(PdfPrintout, AFailedRenderOfTheSecondPageKeepsTheFirstPagesImageAndReturnsTheFailure)
{
    const std::wstring pdf = WritePdf(L"broken", {PageOfDips(612, 792), PageOfDips(612, 792), PageOfDips(612, 792)});
    ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC", L"failed:80070070");
    ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC_ONLY", L"Render:1");

    const auto result = ImportInto(Ids::SiteSurvey, pdf);

    ASSERT_TRUE(result.HoldsError());
    EXPECT_TRUE(IsHResultError(result.Error(), HRESULT_FROM_WIN32(ERROR_DISK_FULL)));
    EXPECT_NE(std::wstring::npos, GetErrorText(result.Error()).find(L"File: " + pdf));
    const auto images = ImagesOf(StoredPage(Ids::SiteSurvey));
    ASSERT_EQ(1u, images.size());
    EXPECT_EQ(ReadFileBytes(PictureOf(pdf, 0).c_str()), images[0].picture);
}

TEST_F(PdfPrintout, AProtectedDocumentNobodyGivesThePasswordForLeavesOneEmptyLineAndCounts)
{
    const std::wstring pdf = PrintoutTest::EncryptPdf(WritePdf(L"locked", {PageOfDips(612, 792)}), "secret");
    const size_t linesBefore = CountOf(StoredPage(Ids::SiteSurvey), L"<one:OE ");

    // No provider at all, then a provider whose user skips the file.
    const auto unasked = ImportInto(Ids::SiteSurvey, pdf);
    AnswerPasswords({std::nullopt});
    const auto skipped = ImportInto(Ids::SiteSurvey, pdf);

    EXPECT_TRUE(unasked.HoldsValue());
    EXPECT_TRUE(skipped.HoldsValue());
    EXPECT_EQ(1u, tried_.size());
    const std::wstring page = StoredPage(Ids::SiteSurvey);
    EXPECT_EQ(0u, ImagesOf(page).size());
    EXPECT_EQ(linesBefore + 2, CountOf(page, L"<one:OE "));
    EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
}

TEST_F(PdfPrintout, WrongPasswordsAreAskedAgainUntilTheRightOneOpensTheDocument)
{
    const std::wstring pdf =
        PrintoutTest::EncryptPdf(WritePdf(L"locked", {PageOfDips(612, 792), PageOfDips(612, 792)}), "secret");
    AnswerPasswords({L"guess", L"again", L"secret"});

    const auto result = ImportInto(Ids::SiteSurvey, pdf);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ((std::vector<std::optional<std::wstring>>{std::nullopt, L"guess", L"again"}), tried_);
    EXPECT_EQ(2u, ImagesOf(StoredPage(Ids::SiteSurvey)).size());
}

TEST_F(PdfPrintout, StoppingInThePasswordPromptCancelsWithoutChangingThePage)
{
    const std::wstring pdf = PrintoutTest::EncryptPdf(WritePdf(L"locked", {PageOfDips(612, 792)}), "secret");
    const size_t linesBefore = CountOf(StoredPage(Ids::SiteSurvey), L"<one:OE ");
    SetPasswordProvider([](std::wstring, std::optional<std::wstring>) -> std::optional<std::wstring> {
        throw _com_error(E_ABORT);
    });

    const auto result = ImportInto(Ids::SiteSurvey, pdf);

    ASSERT_TRUE(result.HoldsError());
    EXPECT_TRUE(IsImportError(result.Error(), ImportCancelled));
    const std::wstring page = StoredPage(Ids::SiteSurvey);
    EXPECT_EQ(0u, ImagesOf(page).size());
    EXPECT_EQ(linesBefore, CountOf(page, L"<one:OE "));
}

TEST_F(PdfPrintout, AScaleTheOptionsDoNotOfferRendersAndSizesAtTheDefault)
{
    struct Case
    {
        uint32_t scale;
        unsigned renderedWidth;
    } cases[] = {{0, 1224}, {99, 1224}, {1001, 1224}, {250, 1530}, {100, 612}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.scale);
        const std::wstring pdf = WritePdf(L"scale" + std::to_wstring(c.scale), {PageOfDips(612, 792)});
        const auto result = ImportInto(Ids::SiteSurvey, pdf, c.scale);
        ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
        const auto images = ImagesOf(StoredPage(Ids::SiteSurvey));
        ASSERT_FALSE(images.empty());
        EXPECT_EQ(c.renderedWidth, PrintoutTest::PngSizeOf(images.back().picture).width);
        EXPECT_NEAR(Points(612), images.back().width, 0.01);
    }
}
TEST_F(PdfPrintout, ARunPrintsPdfWordAndPowerPointFilesOntoOnePageBesideAnImage)
{
    AnswerPasswords({L"secret"});

    const auto result = RunOverTheFolderOfPrintouts(Ids::SiteSurvey, Config::InsertAllFilesIntoASinglePage);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(6u, result.Value()); // the folder and its five files
    const std::wstring page = StoredPage(Ids::SiteSurvey);
    EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
    const auto images = ImagesOf(page);
    ASSERT_EQ(7u, images.size()) << Utf8(page);
    size_t printouts = 0;
    for (const PlacedImage& image : images)
    {
        if (!image.isPrintOut)
        {
            EXPECT_EQ(ReadFileBytes((folder_ / L"files" / (stem_ + L"-photo.png")).c_str()), image.picture);
            continue;
        }
        ++printouts;
        EXPECT_NE(0u, PrintoutTest::PngSizeOf(image.picture).width);
    }
    EXPECT_EQ(6u, printouts);
    // What OneNote was given to read: the printouts and a copy of the picture, beside each other.
    for (const auto& call : Calls())
        if (call.method == L"UpdatePageContent")
            for (const PlacedImage& sent : ImagesOf(call.arguments[0]))
                if (!sent.file.empty())
                {
                    EXPECT_EQ(0u, sent.file.rfind(GetPrintoutFolder() + L"\\", 0)) << Utf8(sent.file);
                }
    ExpectEverySentPageValid();
}

TEST_F(PdfPrintout, ARunWithAPageForEachFileKeepsEveryDocumentsPicturesOnItsPage)
{
    const auto result = RunOverTheFolderOfPrintouts(Ids::Budget, Config::InsertEachFileOnASeparatePage);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    const auto pages = PagesOfTheFiles();
    ASSERT_EQ(5u, pages.size());
    std::multiset<size_t> picturesPerPage;
    for (const std::wstring& page : pages)
    {
        picturesPerPage.insert(ImagesOf(page).size());
        EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
    }
    // The protected PDF (nobody gave its password), the document and the picture, the two-page
    // PDF and the deck of two slides.
    EXPECT_EQ((std::multiset<size_t>{0, 1, 1, 2, 2}), picturesPerPage);
    ExpectEverySentPageValid();
}

TEST_F(PdfPrintout, ARunWithAPageForEachPrintoutPageGivesEveryPictureItsOwnPage)
{
    const auto result = RunOverTheFolderOfPrintouts(Ids::Budget, Config::InsertEachPrintoutPageOnASeparatePage);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    // The folder became a section of its own, with a page for each file and printout page.
    const std::wstring notebooks = Hierarchy(Application(), L"", ON16::hsPages);
    EXPECT_NE(std::wstring::npos, notebooks.find(L"<one:Section name=\"files\"")) << Utf8(notebooks);
    // The two-page PDF and the two-slide deck went on to a second page each.
    EXPECT_EQ(2u, CountOf(notebooks, L" - Page 2\"")) << Utf8(notebooks);
    // A printout's further pages are one level below its first; the files after it keep the
    // level of the folder's files (OneNote gives level 1 where a program sets none).
    const std::wregex pageTag(L"<one:Page ID=\"[^\"]*\" name=\"(" + stem_ + L"[^\"]*)\"[^>]* pageLevel=\"([0-9])\"");
    size_t levelled = 0;
    for (std::wsregex_iterator it(notebooks.begin(), notebooks.end(), pageTag), end; it != end; ++it, ++levelled)
    {
        const std::wstring name = (*it)[1];
        SCOPED_TRACE(Utf8(name));
        EXPECT_EQ(name.find(L" - Page ") != std::wstring::npos ? L"2" : L"1", std::wstring((*it)[2]));
    }
    EXPECT_EQ(7u, levelled) << Utf8(notebooks);
    const auto pages = PagesOfTheFiles();
    EXPECT_EQ(7u, pages.size());
    size_t pictures = 0;
    size_t emptyLines = 0;
    for (const std::wstring& page : pages)
    {
        const auto images = ImagesOf(page);
        EXPECT_LE(images.size(), 1u) << Utf8(page);
        pictures += images.size();
        emptyLines += CountOf(page, L"<one:T/>") + CountOf(page, L"<one:T />");
        EXPECT_TRUE(IsValid(page, ON16::xs2013, L"stored"));
    }
    // Nobody gave the protected PDF's password: it left an empty line instead of its page.
    EXPECT_EQ(6u, pictures);
    EXPECT_GE(emptyLines, 1u);
    ExpectEverySentPageValid();
}

TEST_F(PdfPrintout, APdfThatFailedPartWayIsTakenBackWholeBeforeARetryASkipOrAStop)
{
    const std::pair<ErrorHandling, const wchar_t*> answers[] = {
        {ErrorHandling::Retry, L"retry"}, {ErrorHandling::Skip, L"skip"}, {ErrorHandling::Stop, L"stop"}};
    for (const auto& [answer, label] : answers)
    {
        SCOPED_TRACE(Utf8(label));
        WriteScenario(FixtureStoreLine());
        const std::wstring pdf =
            WritePdf(label, {PageOfDips(612, 792), PageOfDips(612, 792), PageOfDips(612, 792)});
        const std::wstring title = fs::path(pdf).filename().wstring();
        const std::wstring after = (folder_ / L"after.txt").wstring();
        ASSERT_TRUE(WriteStringToFile(after.c_str(), "after"));
        Config config = ContentInto(Ids::Budget, Config::InsertEachPrintoutPageOnASeparatePage);
        config.entries = {{pdf, {}, 0, 0}, {after, {}, 0, 0}};
        // The third page fails to render the first time only.
        ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC", L"failed:80070070");
        ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC_ONLY", L"Render:2");
        const ErrorHandling answered = answer;
        TOrError<unsigned> result = 0u;

        OnImportWorker([&] {
            result = RunImport(
                config, [](std::shared_ptr<Progress>) { return Result{}; },
                [&](const Config::Entry&, const std::error_condition&) {
                    ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC", nullptr);
                    ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC_ONLY", nullptr);
                    return answered;
                });
        });

        ASSERT_EQ(answer == ErrorHandling::Stop, result.HoldsError());
        std::vector<std::pair<std::wstring, size_t>> made;
        std::vector<std::vector<std::wstring>> afterPages;
        for (const auto& page : PagesOf(Hierarchy(Application(), Ids::Renovation, ON16::hsPages)))
            if (page.name.rfind(title, 0) == 0)
                made.emplace_back(page.name, ImagesOf(StoredPage(page.id)).size());
            else if (page.name == L"after.txt")
                afterPages.push_back(Shows(StoredPage(page.id)));
        std::vector<std::pair<std::wstring, size_t>> expected;
        if (answer == ErrorHandling::Retry)
            expected = {{title, 1}, {title + L" - Page 2", 1}, {title + L" - Page 3", 1}};
        EXPECT_EQ(expected, made);
        // The file after it comes in whole, once, unless the run stopped at the PDF.
        std::vector<std::vector<std::wstring>> expectedAfter;
        if (answer != ErrorHandling::Stop)
            expectedAfter.push_back({L"outline", L"code 2: after", L"code 2: "});
        EXPECT_EQ(expectedAfter, afterPages);
        if (result.HoldsValue())
        {
            EXPECT_EQ(answer == ErrorHandling::Retry ? 2u : 1u, result.Value());
        }
    }
}

TEST_F(PdfPrintout, APrintoutContinuedOverSeveralPagesIsSentOnceAndABusySpellAfterItTakesNothingBack)
{
    const std::wstring pdf = WritePdf(L"continued", {PageOfDips(612, 792), PageOfDips(612, 792), PageOfDips(612, 792)});
    const std::wstring title = fs::path(pdf).filename().wstring();
    Config config = ContentInto(Ids::Budget, Config::InsertEachPrintoutPageOnASeparatePage);
    config.entries = {{pdf, {}, 0, 0}};
    // Each of the three pages is saved once; OneNote is busy from then on for as long as a save waits.
    WriteScenario("failfrom UpdatePageContent 4-6 0x80010001\n");
    const size_t callsBefore = Calls().size();
    unsigned asked = 0;
    TOrError<unsigned> result = 0u;

    OnImportWorker([&] {
        result = RunImport(
            config, [](std::shared_ptr<Progress>) { return Result{}; },
            [&](const Config::Entry&, const std::error_condition&) {
                ++asked;
                return ErrorHandling::Skip;
            });
    });

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(0u, asked);
    size_t saves = 0;
    const auto calls = Calls();
    for (size_t i = callsBefore; i < calls.size(); ++i)
        saves += calls[i].method == L"UpdatePageContent" ? 1 : 0;
    EXPECT_EQ(3u, saves);
    std::vector<std::pair<std::wstring, size_t>> made;
    for (const auto& page : PagesOf(Hierarchy(Application(), Ids::Renovation, ON16::hsPages)))
        if (page.name.rfind(title, 0) == 0)
            made.emplace_back(page.name, ImagesOf(StoredPage(page.id)).size());
    EXPECT_EQ((std::vector<std::pair<std::wstring, size_t>>{{title, 1}, {title + L" - Page 2", 1}, {title + L" - Page 3", 1}}),
              made);
}

TEST_F(PdfPrintout, TakingBackAPrintoutInALongBusySpellWaitsThirtySecondsInAllAndEndsAtAStop)
{
    const struct
    {
        const char* label;
        bool stop;
    } cases[] = {{"OneNote stays busy", false}, {"the user stops meanwhile", true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.label);
        WriteScenario(FixtureStoreLine());
        const std::wstring pdf = WritePdf(c.stop ? L"stopped" : L"busy",
                                          {PageOfDips(612, 792), PageOfDips(612, 792), PageOfDips(612, 792), PageOfDips(612, 792)});
        const std::wstring title = fs::path(pdf).filename().wstring();
        Config config = ContentInto(Ids::Budget, Config::InsertEachPrintoutPageOnASeparatePage);
        config.entries = {{pdf, {}, 0, 0}};
        // The last page fails to render once three pages were made, and OneNote then stays busy.
        ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC", L"failed:80070070");
        ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC_ONLY", L"Render:3");
        WriteScenario("busy DeleteHierarchy 100000\n");
        // The user presses Stop while the run waits out OneNote's first busy answer.
        std::vector<DWORD> pauses;
        bool stopPressed = false;
        BusyPause recorded = SetBusyPause([&](DWORD milliseconds) {
            pauses.push_back(milliseconds);
            stopPressed = c.stop;
        });
        const size_t callsBefore = Calls().size();
        unsigned asked = 0;
        TOrError<unsigned> result = 0u;

        OnImportWorker([&] {
            result = RunImport(
                config,
                [&](std::shared_ptr<Progress>) {
                    return stopPressed ? Result{MakeImportError(ImportCancelled), true} : Result{};
                },
                [&](const Config::Entry&, const std::error_condition&) {
                    ++asked;
                    return ErrorHandling::Skip;
                });
        });

        SetBusyPause(std::move(recorded));
        ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC", nullptr);
        ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC_ONLY", nullptr);
        EXPECT_EQ(0u, asked);
        DWORD waited = 0;
        for (const DWORD pause : pauses)
            waited += pause;
        EXPECT_LE(waited, 30000u);
        size_t removals = 0;
        const auto calls = Calls();
        for (size_t i = callsBefore; i < calls.size(); ++i)
            removals += calls[i].method == L"DeleteHierarchy" ? 1 : 0;
        // Once stopped, no call is made after the one that was answered busy.
        if (c.stop)
        {
            EXPECT_EQ(1u, pauses.size());
            EXPECT_EQ(1u, removals);
        }
        ASSERT_TRUE(result.HoldsError());
        const std::wstring told = GetErrorText(result.Error());
        for (const std::wstring& page : {L"\"" + title + L"\"", L"\"" + title + L" - Page 2\"", L"\"" + title + L" - Page 3\""})
            EXPECT_NE(std::wstring::npos, told.find(page)) << Utf8(told);
    }
}

TEST_F(PdfPrintout, AnAttachedPdfKeepsItsBytesWhenADocumentOfItsNameIsPrintedAfterIt)
{
    ResetOfficeStandIns();
    // The document is exported to a PDF of its name in the printouts' folder before it is printed.
    const std::wstring stem = PrintoutTest::UniqueTestFileName(L"");
    const fs::path pdf = folder_ / (stem + L".pdf");
    const fs::path document = folder_ / (stem + L".docx");
    const std::string pdfBytes = PdfWriter::MakePdf({PageOfDips(612, 792)});
    ASSERT_TRUE(WriteStringToFile(pdf.c_str(), pdfBytes));
    ASSERT_TRUE(WriteStringToFile(document.c_str(), "PK word/document.xml"));
    Config config = ContentInto(Ids::SiteSurvey, Config::InsertAllFilesIntoASinglePage);
    config.importFormat = {true, true, Config::NoOriginalPath};
    config.entries = {{pdf.wstring(), {}, 0, 0}, {document.wstring(), {}, 0, 0}};
    TOrError<unsigned> result = 0u;

    OnImportWorker([&] { result = RunImport(config, [](std::shared_ptr<Progress>) { return Result{}; }, nullptr); });

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    ON::Page page;
    ParseElement(page, std::wstring_view(StoredPage(Ids::SiteSurvey)));
    std::map<std::wstring, std::string> attached;
    for (const auto& element : page.elements)
        if (element && element->insertedFile && element->insertedFile->pathCache)
            attached[element->insertedFile->preferredName.value_or(L"")] =
                ReadFileBytes(element->insertedFile->pathCache->c_str());
    EXPECT_EQ((std::map<std::wstring, std::string>{{pdf.filename().wstring(), pdfBytes},
                                                   {document.filename().wstring(), "PK word/document.xml"}}),
              attached);
}

TEST_F(PdfPrintout, AProtectedDeckFailsItsEntryWithoutPowerPointAskingForAPassword)
{
    ResetOfficeStandIns();
    const std::wstring modern = (folder_ / PrintoutTest::UniqueTestFileName(L"-locked.pptx")).wstring();
    const std::wstring old = (folder_ / PrintoutTest::UniqueTestFileName(L"-locked.ppt")).wstring();
    ASSERT_TRUE(WriteStringToFile(modern.c_str(), PrintoutTest::EncryptedOfficePackage()));
    ASSERT_TRUE(WriteStringToFile(old.c_str(), PrintoutTest::EncryptedPowerPoint97()));
    Config config = ContentInto(Ids::SiteSurvey, Config::InsertAllFilesIntoASinglePage);
    config.entries = {{modern, {}, 0, 0}, {old, {}, 0, 0}};
    std::vector<std::pair<std::wstring, std::string>> failed;
    const TOrError<unsigned> result = RunSkippingEveryFailure(config, failed);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(0u, result.Value());
    ASSERT_EQ(2u, failed.size());
    for (const auto& [path, message] : failed)
    {
        SCOPED_TRACE(Utf8(path));
        EXPECT_NE(std::string::npos, message.find("Document is protected by a password")) << message;
        EXPECT_NE(std::string::npos, message.find(Utf8(L"File: " + path))) << message;
    }
    const std::wstring calls = PowerPointCalls();
    EXPECT_EQ(std::wstring::npos, calls.find(L"PasswordPrompt")) << Utf8(calls);
    EXPECT_EQ(std::wstring::npos, calls.find(L"Open(")) << Utf8(calls);
}

// Files that another process holds open while it lives: each with the sharing it gives others.
class HeldByAnotherProcess
{
public:
    explicit HeldByAnotherProcess(const std::vector<std::pair<std::wstring, DWORD>>& files)
    {
        const std::wstring prefix = L"Local\\held-decks-" + std::to_wstring(GetCurrentProcessId()) + L"-";
        held_.reset(CreateEventW(nullptr, TRUE, FALSE, (prefix + L"held").c_str()));
        release_.reset(CreateEventW(nullptr, TRUE, FALSE, (prefix + L"release").c_str()));
        std::wstring list = prefix;
        for (const auto& [path, sharing] : files)
            list += L"\n" + std::to_wstring(sharing) + L"|" + path;
        ::SetEnvironmentVariableW(L"QUILLORA_TEST_HELD_FILES", list.c_str());
        holder_ = ::StandInTest::StartThisProgram(L"FileHolder.DISABLED_HoldsTheFilesUntilReleased");
        ::SetEnvironmentVariableW(L"QUILLORA_TEST_HELD_FILES", nullptr);
        const HANDLE either[] = {held_.get(), holder_.get()};
        holding_ = holder_ && WaitForMultipleObjects(2, either, FALSE, 60000) == WAIT_OBJECT_0;
    }
    ~HeldByAnotherProcess()
    {
        SetEvent(release_.get());
        if (holder_)
            WaitForSingleObject(holder_.get(), 60000);
    }
    bool Holding() const { return holding_; }

private:
    Owners::KernelHandle held_;
    Owners::KernelHandle release_;
    Owners::KernelHandle holder_;
    bool holding_ = false;
};

TEST_F(PdfPrintout, ADeckThatAnotherProgramHoldsOpenIsCheckedAndOneThatCannotBeReadFailsWithoutPowerPoint)
{
    ResetOfficeStandIns();
    const std::wstring modern = (folder_ / PrintoutTest::UniqueTestFileName(L"-held.pptx")).wstring();
    const std::wstring old = (folder_ / PrintoutTest::UniqueTestFileName(L"-held.ppt")).wstring();
    const std::wstring lockedAway = (folder_ / PrintoutTest::UniqueTestFileName(L"-shut.pptx")).wstring();
    ASSERT_TRUE(WriteStringToFile(modern.c_str(), PrintoutTest::EncryptedOfficePackage()));
    ASSERT_TRUE(WriteStringToFile(old.c_str(), PrintoutTest::EncryptedPowerPoint97()));
    ASSERT_TRUE(WriteStringToFile(lockedAway.c_str(), "PK ppt/slides/slide1.xml"));
    // Two are open for writing, as PowerPoint on a colleague's machine or a synchronising client
    // holds a file (others may read it); the third lets no one else open it at all.
    const HeldByAnotherProcess holder({{modern, FILE_SHARE_READ}, {old, FILE_SHARE_READ}, {lockedAway, 0}});
    ASSERT_TRUE(holder.Holding());
    Config config = ContentInto(Ids::SiteSurvey, Config::InsertAllFilesIntoASinglePage);
    config.entries = {{modern, {}, 0, 0}, {old, {}, 0, 0}, {lockedAway, {}, 0, 0}};
    std::vector<std::pair<std::wstring, std::string>> failed;
    const TOrError<unsigned> result = RunSkippingEveryFailure(config, failed);

    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));
    EXPECT_EQ(0u, result.Value());
    ASSERT_EQ(3u, failed.size());
    for (size_t index = 0; index < failed.size(); ++index)
    {
        const auto& [path, message] = failed[index];
        SCOPED_TRACE(Utf8(path));
        EXPECT_EQ(config.entries[index].path, path);
        EXPECT_NE(std::string::npos, message.find(index < 2 ? "Document is protected by a password"
                                                            : "could not be read to tell whether it is protected "
                                                              "by a password"))
            << message;
        EXPECT_NE(std::string::npos, message.find(Utf8(L"File: " + path))) << message;
    }
    const std::wstring calls = PowerPointCalls();
    EXPECT_EQ(std::wstring::npos, calls.find(L"PasswordPrompt")) << Utf8(calls);
    EXPECT_EQ(std::wstring::npos, calls.find(L"Open(")) << Utf8(calls);
}

TEST_F(PdfPrintout, APrintoutHasItsPagesSizeWhateverTheScreensScaling)
{
    const std::wstring pdf = WritePdf(L"dpi", {PageOfDips(612, 792)});
    Config config = ContentInto(Ids::SiteSurvey, Config::InsertAllFilesIntoASinglePage);
    config.entries = {{pdf, {}, 0, 0}};
    TOrError<unsigned> result = 0u;
    OnImportWorker([&] { result = RunImport(config, [](std::shared_ptr<Progress>) { return Result{}; }, nullptr); });
    ASSERT_TRUE(result.HoldsValue()) << Utf8(GetErrorText(result.Error()));

    // The same import by a second process on a screen scaled to 150 percent.
    ::SetEnvironmentVariableW(L"QUILLORA_TEST_PRINTOUT", pdf.c_str());
    ::SetEnvironmentVariableW(L"QUILLORA_TEST_LOCATION", config.location.c_str());
    const Owners::KernelHandle child = ::StandInTest::StartThisProgram(L"PrintoutOnAScaledScreen.DISABLED_ImportsThePrintout");
    ASSERT_TRUE(child);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.get(), 600000));
    DWORD exitCode = 1;
    GetExitCodeProcess(child.get(), &exitCode);
    ::SetEnvironmentVariableW(L"QUILLORA_TEST_PRINTOUT", nullptr);
    ::SetEnvironmentVariableW(L"QUILLORA_TEST_LOCATION", nullptr);
    EXPECT_EQ(0u, exitCode);

    const auto images = ImagesOf(StoredPage(Ids::SiteSurvey));
    ASSERT_EQ(2u, images.size());
    for (const PlacedImage& image : images)
    {
        EXPECT_NEAR(Points(612), image.width, 0.01);
        EXPECT_NEAR(Points(792), image.height, 0.01);
    }
}
} // namespace

// Runs only as the child process of APrintoutHasItsPagesSizeWhateverTheScreensScaling: the
// program's own zoom makes this process's screen one of 144 dpi, before anything measures it.
TEST(PrintoutOnAScaledScreen, DISABLED_ImportsThePrintout)
{
    UI::SetUiScaleFactor(1.5f);
    ASSERT_FLOAT_EQ(2.0f, GetDpiScaleX());
    wchar_t pdf[MAX_PATH] = {};
    wchar_t location[2048] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"QUILLORA_TEST_PRINTOUT", pdf, MAX_PATH), 0u);
    ASSERT_GT(GetEnvironmentVariableW(L"QUILLORA_TEST_LOCATION", location, 2048), 0u);
    Config config;
    config.location = location;
    config.importFormat = {false, true, Config::NoOriginalPath};
    config.printoutScale = 100;
    config.entries = {{pdf, {}, 0, 0}};
    TOrError<unsigned> result = 0u;
    std::thread worker([&] {
        const Owners::ComApartment apartment(COINIT_MULTITHREADED);
        result = RunImport(config, [](std::shared_ptr<Progress>) { return Result{}; }, nullptr);
    });
    worker.join();
    EXPECT_TRUE(result.HoldsValue());
}

// Runs only as the other process of ADeckThatAnotherProgramHoldsOpen...: opens each file for reading
// and writing with the sharing given, says so, and holds them until it is told to let go.
TEST(FileHolder, DISABLED_HoldsTheFilesUntilReleased)
{
    wchar_t list[8192] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"QUILLORA_TEST_HELD_FILES", list, 8192), 0u);
    std::vector<std::wstring> lines;
    for (std::wstring_view rest(list); !rest.empty();)
    {
        const size_t end = rest.find(L'\n');
        lines.emplace_back(rest.substr(0, end));
        rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
    }
    ASSERT_GE(lines.size(), 2u);
    std::vector<Owners::FileHandle> files;
    for (size_t index = 1; index < lines.size(); ++index)
    {
        const size_t bar = lines[index].find(L'|');
        const DWORD sharing = static_cast<DWORD>(std::stoul(lines[index].substr(0, bar)));
        files.emplace_back(CreateFileW(lines[index].substr(bar + 1).c_str(), GENERIC_READ | GENERIC_WRITE, sharing,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(files.back()) << GetLastError();
    }
    const Owners::KernelHandle held(OpenEventW(EVENT_MODIFY_STATE, FALSE, (lines[0] + L"held").c_str()));
    const Owners::KernelHandle release(OpenEventW(SYNCHRONIZE, FALSE, (lines[0] + L"release").c_str()));
    ASSERT_TRUE(held && release);
    SetEvent(held.get());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(release.get(), 120000));
}
} // namespace EngineTest
