// PDF documents opened, counted and rendered through the Windows Runtime classes (the stand-in
// registered in the test prefix reads and renders real PDF files with poppler).

#include "framework/winrt/WinRtInterfaces.h"
#include "import_engine/PdfDocument.h"
#include "tests/import_engine/PrintoutTestSupport.h"

#include <comdef.h>
#include <shlwapi.h>

#include <thread>

namespace PrintoutTest
{
namespace
{
constexpr HRESULT WrongPassword = WinRt::WrongPassword;

class PdfDocumentTest : public PrintoutTest
{
protected:
    Pdf OpenOrFail(const std::wstring& path, uint32_t scale)
    {
        TOrError<Pdf> pdf = Pdf::Open(path, scale, L"File: " + path);
        EXPECT_TRUE(pdf.HoldsValue()) << (pdf.HoldsError() ? pdf.Error().message() : "");
        return std::move(pdf).Value();
    }

    std::wstring RenderOrFail(const Pdf& pdf, unsigned index)
    {
        TOrError<std::wstring> png = Pdf::RenderPage(pdf, index, pdf.context);
        EXPECT_TRUE(png.HoldsValue()) << (png.HoldsError() ? png.Error().message() : "");
        return png.HoldsValue() ? png.Value() : std::wstring();
    }

    // A password provider that answers from a list and remembers what it was asked.
    void AnswerPasswords(std::vector<std::optional<std::wstring>> answers)
    {
        SetPasswordProvider([this, answers](std::wstring path, std::optional<std::wstring> tried) {
            asked_.push_back({std::move(path), std::move(tried)});
            return asked_.size() <= answers.size() ? answers[asked_.size() - 1] : std::nullopt;
        });
    }

    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> asked_;
};

TEST(PdfRenderWidth, LimitsTheLongSideToElevenInchesThenAppliesTheScale)
{
    struct Case
    {
        float width, height;
        uint32_t scale, expected;
    } cases[] = {
        {612, 792, 150, 918},          // 612 * 150 / 100
        {612, 792, 100, 612},          // under 11 inches: the page's own width
        {1584, 1224, 100, 1056},       // landscape: the width is the long side
        {1224, 1584, 100, 816},        // portrait: 1056 / 1584 * 1224
        {1224, 1584, 200, 1632},       // 816 * 2
        {1056, 1056, 100, 1056},       // exactly the limit stays
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " at " << c.scale);
        EXPECT_EQ(Pdf::RenderWidth(c.width, c.height, c.scale), c.expected);
    }
}

TEST_F(PdfDocumentTest, Pdf_RendersEachPageToAPngOfTheComputedWidthNamedAfterTheDocument)
{
    const std::wstring name = UniqueName(L"");
    const std::wstring path = WritePdf(name + L".pdf", {PageOfDips(612, 792), PageOfDips(1584, 1224),
                                                        PageOfDips(1224, 1584)});
    const Pdf at150 = OpenOrFail(path, 150);
    const TOrError<unsigned> count = Pdf::GetPageCount(at150, at150.context);
    ASSERT_TRUE(count.HoldsValue());
    EXPECT_EQ(count.Value(), 3u);

    const std::wstring first = RenderOrFail(at150, 0);
    EXPECT_EQ(first, GetPrintoutFolder() + L"\\" + name + L"_0.png");
    EXPECT_EQ(ReadPngSize(first).width, 918u);
    EXPECT_EQ(ReadPngSize(first).height, 1188u); // the page's proportions kept

    const Pdf at100 = OpenOrFail(path, 100);
    EXPECT_EQ(ReadPngSize(RenderOrFail(at100, 1)).width, 1056u);
    const std::wstring third = RenderOrFail(at100, 2);
    EXPECT_EQ(ReadPngSize(third).width, 816u);
    EXPECT_EQ(std::wstring(PathFindFileNameW(third.c_str())), name + L"_2.png");
}

TEST_F(PdfDocumentTest, Pdf_SecondRenderOfAPageGetsAUniqueVariantOfTheName)
{
    const std::wstring name = UniqueName(L"");
    const Pdf pdf = OpenOrFail(WritePdf(name + L".pdf", {PageOfDips(612, 792)}), 100);
    const std::wstring first = RenderOrFail(pdf, 0);
    const std::wstring second = RenderOrFail(pdf, 0);
    EXPECT_EQ(std::wstring(PathFindFileNameW(first.c_str())), name + L"_0.png");
    EXPECT_EQ(std::wstring(PathFindFileNameW(second.c_str())), name + L"_0 (2).png");
    EXPECT_EQ(ReadPngSize(first).width, 612u);
    EXPECT_EQ(ReadPngSize(second).width, 612u);
}

TEST_F(PdfDocumentTest, Pdf_ProtectedDocumentOpensAfterWrongWrongRightPasswords)
{
    const std::wstring path = EncryptPdf(WritePdf(UniqueName(L".pdf"), {PageOfDips(612, 792), PageOfDips(612, 792)}),
                                         "right");
    AnswerPasswords({L"wrong", L"also wrong", L"right"});
    const Pdf pdf = OpenOrFail(path, 100);
    ASSERT_EQ(asked_.size(), 3u);
    EXPECT_EQ(asked_[0].first, path);
    EXPECT_EQ(asked_[0].second, std::nullopt);
    EXPECT_EQ(asked_[1].second, std::optional<std::wstring>(L"wrong"));
    EXPECT_EQ(asked_[2].second, std::optional<std::wstring>(L"also wrong"));
    EXPECT_EQ(Pdf::GetPageCount(pdf, pdf.context).Value(), 2u);
    EXPECT_EQ(ReadPngSize(RenderOrFail(pdf, 1)).width, 612u);
}

TEST_F(PdfDocumentTest, Pdf_ProtectedDocumentWithoutProviderFailsWithWrongPasswordAndTheFileContext)
{
    const std::wstring path = EncryptPdf(WritePdf(UniqueName(L".pdf"), {PageOfDips(612, 792)}), "secret");
    const TOrError<Pdf> pdf = Pdf::Open(path, 100, L"File: " + path);
    ASSERT_TRUE(pdf.HoldsError());
    EXPECT_EQ(HResultOf(pdf.Error()), WrongPassword);
    EXPECT_EQ(ContextOf(pdf.Error()), WideToUtf8(L"File: " + path));
}

TEST_F(PdfDocumentTest, Pdf_ProviderThatSkipsLeavesTheWrongPasswordFailureAfterOneQuestion)
{
    const std::wstring path = EncryptPdf(WritePdf(UniqueName(L".pdf"), {PageOfDips(612, 792)}), "secret");
    AnswerPasswords({std::nullopt});
    const TOrError<Pdf> pdf = Pdf::Open(path, 100, L"File: " + path);
    ASSERT_TRUE(pdf.HoldsError());
    EXPECT_EQ(HResultOf(pdf.Error()), WrongPassword);
    EXPECT_EQ(asked_.size(), 1u);
}

TEST_F(PdfDocumentTest, Pdf_ProviderThatStopsGivesCancelled)
{
    const std::wstring path = EncryptPdf(WritePdf(UniqueName(L".pdf"), {PageOfDips(612, 792)}), "secret");
    SetPasswordProvider([](std::wstring, std::optional<std::wstring>) -> std::optional<std::wstring> {
        _com_issue_error(E_ABORT);
        return std::nullopt;
    });
    const TOrError<Pdf> pdf = Pdf::Open(path, 100, L"File: " + path);
    ASSERT_TRUE(pdf.HoldsError());
    EXPECT_TRUE(IsImportError(pdf.Error(), ImportCancelled)) << pdf.Error().message();
}

TEST_F(PdfDocumentTest, Pdf_UnprotectedDocumentNeverAsksForAPassword)
{
    AnswerPasswords({L"unused"});
    const Pdf pdf = OpenOrFail(WritePdf(UniqueName(L".pdf"), {PageOfDips(612, 792)}), 100);
    EXPECT_TRUE(asked_.empty());
}

TEST_F(PdfDocumentTest, Pdf_MissingOrDamagedFileFailsWithThePlatformsCode)
{
    const std::wstring missing = PathIn(L"nothing-here.pdf");
    const TOrError<Pdf> notThere = Pdf::Open(missing, 100, L"File: " + missing);
    ASSERT_TRUE(notThere.HoldsError());
    EXPECT_EQ(HResultOf(notThere.Error()), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));

    const std::wstring damaged = PathIn(L"damaged.pdf");
    WriteStringToFile(damaged.c_str(), "this is not a PDF file\n");
    const TOrError<Pdf> notPdf = Pdf::Open(damaged, 100, L"File: " + damaged);
    ASSERT_TRUE(notPdf.HoldsError());
    EXPECT_EQ(HResultOf(notPdf.Error()), E_FAIL);
}

TEST_F(PdfDocumentTest, Pdf_WaitsForOperationsThatCompletedBeforeTheyWereHandedOut)
{
    SetAsyncMode(L"completed");
    const Pdf pdf = OpenOrFail(WritePdf(UniqueName(L".pdf"), {PageOfDips(612, 792)}), 100);
    EXPECT_EQ(ReadPngSize(RenderOrFail(pdf, 0)).width, 612u);
}

TEST_F(PdfDocumentTest, Pdf_CancelledOperationFailsWithCancelled)
{
    const std::wstring path = WritePdf(UniqueName(L".pdf"), {PageOfDips(612, 792)});
    SetAsyncMode(L"canceled", L"LoadFromFile");
    const TOrError<Pdf> pdf = Pdf::Open(path, 100, L"File: " + path);
    ASSERT_TRUE(pdf.HoldsError());
    EXPECT_EQ(HResultOf(pdf.Error()), HRESULT_FROM_WIN32(ERROR_CANCELLED));
}

TEST_F(PdfDocumentTest, Pdf_FailedRenderReturnsTheFailureWithTheDocumentsContext)
{
    const std::wstring path = WritePdf(UniqueName(L".pdf"), {PageOfDips(612, 792)});
    const Pdf pdf = OpenOrFail(path, 100);
    SetAsyncMode(L"failed:80070005", L"Render");
    const TOrError<std::wstring> png = Pdf::RenderPage(pdf, 0, pdf.context);
    ASSERT_TRUE(png.HoldsError());
    EXPECT_EQ(HResultOf(png.Error()), E_ACCESSDENIED);
    EXPECT_EQ(ContextOf(png.Error()), WideToUtf8(L"File: " + path));
}

TEST_F(PdfDocumentTest, Pdf_PageOutsideTheDocumentFailsInsteadOfRendering)
{
    const Pdf pdf = OpenOrFail(WritePdf(UniqueName(L".pdf"), {PageOfDips(612, 792)}), 100);
    const TOrError<std::wstring> png = Pdf::RenderPage(pdf, 1, pdf.context);
    ASSERT_TRUE(png.HoldsError());
    EXPECT_EQ(HResultOf(png.Error()), E_INVALIDARG);
}

TEST_F(PdfDocumentTest, Pdf_OpenLeavesTheThreadsApartmentAsItFoundIt)
{
    // No apartment in the process: any left behind by the open would show on the thread.
    apartment_.reset();
    const std::wstring path = WritePdf(UniqueName(L".pdf"), {PageOfDips(612, 792)});
    HRESULT afterOpen = S_OK;
    bool opened = false;
    std::thread([&] {
        opened = Pdf::Open(path, 100, L"File: " + path).HoldsValue();
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        afterOpen = CoGetApartmentType(&type, &qualifier);
    }).join();
    EXPECT_TRUE(opened);
    EXPECT_EQ(afterOpen, CO_E_NOTINITIALIZED);
}
} // namespace
} // namespace PrintoutTest
