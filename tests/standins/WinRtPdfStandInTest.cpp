// The Windows Runtime stand-in as any caller reaches it (RoGetActivationFactory with the class
// names): its asynchronous operations behave as the platform's, and its storage and PDF classes
// give the platform's results and failure codes.

#include "framework/files/Files.h"
#include "framework/winrt/Activation.h"
#include "framework/winrt/AsyncWait.h"
#include "framework/winrt/HString.h"
#include "standins/office/PdfWriter.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

namespace
{
using namespace WinRt;

// Counts its calls and the thread of the last one.
class RecordingHandler final : public UnknownImpl<IStorageFileOperation::Handler>
{
public:
    STDMETHODIMP Invoke(IStorageFileOperation*, AsyncStatus status) override
    {
        lastStatus = status;
        thread = ::GetCurrentThreadId();
        ++calls;
        return S_OK;
    }
    std::atomic<int> calls{0};
    std::atomic<AsyncStatus> lastStatus{AsyncStatus::Started};
    std::atomic<DWORD> thread{0};
};

class WinRtPdfStandInTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = TestPaths::OutputFolder() / (std::string("WinRtPdfStandIn.") + test->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { SetMode(nullptr, nullptr); }

    static void SetMode(const wchar_t* mode, const wchar_t* only = nullptr)
    {
        ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC", mode);
        ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC_ONLY", only);
    }

    std::wstring WriteFile(const std::wstring& name, const std::string& bytes)
    {
        const std::wstring path = (folder_ / name).wstring();
        EXPECT_TRUE(WriteStringToFile(path.c_str(), bytes));
        return path;
    }

    static ComPtr<IStorageFileOperation> StartGetFile(const std::wstring& path)
    {
        ComPtr<IStorageFileOperation> operation;
        EXPECT_EQ(GetFactory<IStorageFileStatics>(StorageFileClass)->GetFileFromPathAsync(HString(path).get(), &operation),
                  S_OK);
        return operation;
    }

    static HRESULT FailureOf(const std::function<void()>& call)
    {
        try
        {
            call();
        }
        catch (const RuntimeError& error)
        {
            return error.code();
        }
        return S_OK;
    }

    static std::wstring PathOf(IStorageFile& file)
    {
        ComPtr<IStorageItem> item;
        EXPECT_EQ(file.QueryInterface(__uuidof(IStorageItem), reinterpret_cast<void**>(&item)), S_OK);
        HString path;
        item->get_Path(path.put());
        return path.Text();
    }

    std::filesystem::path folder_;
};

TEST_F(WinRtPdfStandInTest, CompletedOperation_CallsAHandlerAtOnceAndRefusesASecondOne)
{
    SetMode(L"completed");
    const std::wstring path = WriteFile(L"a.pdf", "x");
    ComPtr<IStorageFileOperation> operation = StartGetFile(path);
    ComPtr<IStorageFileOperation::Handler> handler;
    auto* recording = new RecordingHandler();
    handler.Attach(recording);
    EXPECT_EQ(operation->put_Completed(handler), S_OK);
    EXPECT_EQ(recording->calls, 1);
    EXPECT_EQ(recording->lastStatus, AsyncStatus::Completed);
    EXPECT_EQ(recording->thread, ::GetCurrentThreadId());
    EXPECT_EQ(operation->put_Completed(handler), IllegalDelegateAssignment);
    EXPECT_EQ(PathOf(*Await(operation.GetInterfacePtr())), path);
}

TEST_F(WinRtPdfStandInTest, RunningOperation_CompletesOnAnotherThread)
{
    const std::wstring path = WriteFile(L"a.pdf", "x");
    ComPtr<IStorageFileOperation> operation = StartGetFile(path);
    EXPECT_EQ(PathOf(*Await(operation.GetInterfacePtr())), path);

    // A handler assigned after the work is done runs at once on this thread, as the platform's
    // does; one assigned while the work runs is called from the worker's thread.
    bool completedElsewhere = false;
    for (int attempt = 0; attempt < 20 && !completedElsewhere; ++attempt)
    {
        ComPtr<IStorageFileOperation> second = StartGetFile(path);
        ComPtr<IStorageFileOperation::Handler> handler;
        auto* recording = new RecordingHandler();
        handler.Attach(recording);
        ASSERT_EQ(second->put_Completed(handler), S_OK);
        for (int i = 0; i < 3000 && recording->calls == 0; ++i)
            ::Sleep(10);
        ASSERT_EQ(recording->calls, 1);
        EXPECT_EQ(recording->lastStatus, AsyncStatus::Completed);
        completedElsewhere = recording->thread != ::GetCurrentThreadId();
    }
    EXPECT_TRUE(completedElsewhere);
}

TEST_F(WinRtPdfStandInTest, FailedAndCancelledOperations_ReportAsThePlatformDoes)
{
    const std::wstring path = WriteFile(L"a.pdf", "x");
    SetMode(L"failed:80070020");
    ComPtr<IStorageFileOperation> failed = StartGetFile(path);
    ComPtr<IAsyncInfo> info;
    ASSERT_EQ(failed->QueryInterface(__uuidof(IAsyncInfo), reinterpret_cast<void**>(&info)), S_OK);
    AsyncStatus status{};
    HRESULT code = S_OK;
    EXPECT_EQ(info->get_Status(&status), S_OK);
    EXPECT_EQ(status, AsyncStatus::Error);
    EXPECT_EQ(info->get_ErrorCode(&code), S_OK);
    EXPECT_EQ(code, HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    IStorageFile* file = nullptr;
    EXPECT_EQ(failed->GetResults(&file), HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(info->Close(), S_OK);
    EXPECT_EQ(info->get_Status(&status), IllegalMethodCall);

    SetMode(L"canceled");
    ComPtr<IStorageFileOperation> cancelled = StartGetFile(path);
    EXPECT_EQ(cancelled->GetResults(&file), IllegalMethodCall);
    EXPECT_EQ(FailureOf([&] { Await(cancelled.GetInterfacePtr()); }), OperationCancelled);
}

TEST_F(WinRtPdfStandInTest, StorageFile_RefusesRelativeAndForwardSlashPathsAndReportsMissingFiles)
{
    EXPECT_EQ(FailureOf([&] { Await(StartGetFile(L"relative\\a.pdf").GetInterfacePtr()); }), E_INVALIDARG);
    const std::wstring path = WriteFile(L"a.pdf", "x");
    std::wstring forward = path;
    std::replace(forward.begin(), forward.end(), L'\\', L'/');
    EXPECT_EQ(FailureOf([&] { Await(StartGetFile(forward).GetInterfacePtr()); }), E_INVALIDARG);
    EXPECT_EQ(FailureOf([&] { Await(StartGetFile((folder_ / L"missing.pdf").wstring()).GetInterfacePtr()); }),
              HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
}

TEST_F(WinRtPdfStandInTest, StorageFolder_NumbersNewFilesBesideExistingOnesOrFailsWhenAsked)
{
    ComPtr<IStorageFolderOperation> opening;
    ASSERT_EQ(GetFactory<IStorageFolderStatics>(StorageFolderClass)
                  ->GetFolderFromPathAsync(HString(folder_.wstring()).get(), &opening),
              S_OK);
    ComPtr<IStorageFolder> folder = Await(opening.GetInterfacePtr());
    auto create = [&](CreationCollisionOption option) {
        ComPtr<IStorageFileOperation> creation;
        EXPECT_EQ(folder->CreateFileAsync(HString(L"page_0.png").get(), option, &creation), S_OK);
        return PathOf(*Await(creation.GetInterfacePtr()));
    };
    EXPECT_EQ(create(CreationCollisionOption::GenerateUniqueName), (folder_ / L"page_0.png").wstring());
    EXPECT_EQ(create(CreationCollisionOption::GenerateUniqueName), (folder_ / L"page_0 (2).png").wstring());
    EXPECT_EQ(create(CreationCollisionOption::GenerateUniqueName), (folder_ / L"page_0 (3).png").wstring());
    EXPECT_EQ(FailureOf([&] { create(CreationCollisionOption::FailIfExists); }),
              HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(create(CreationCollisionOption::OpenIfExists), (folder_ / L"page_0.png").wstring());
}

TEST_F(WinRtPdfStandInTest, PdfPage_RenderedWithOnlyAHeightKeepsThePagesProportions)
{
    const std::wstring pdfPath = WriteFile(L"doc.pdf", PdfWriter::MakePdf({{459, 594, {"one"}}}));
    ComPtr<IStorageFile> file = Await(StartGetFile(pdfPath).GetInterfacePtr());
    ComPtr<IPdfDocumentOperation> loading;
    ASSERT_EQ(GetFactory<IPdfDocumentStatics>(PdfDocumentClass)->LoadFromFileAsync(file, &loading), S_OK);
    ComPtr<IPdfDocument> document = Await(loading.GetInterfacePtr());
    ComPtr<IPdfPage> page;
    ASSERT_EQ(document->GetPage(0, &page), S_OK);
    Size size{};
    EXPECT_EQ(page->get_Size(&size), S_OK);
    EXPECT_FLOAT_EQ(size.Width, 612.0f);
    EXPECT_FLOAT_EQ(size.Height, 792.0f);

    const std::wstring pngPath = WriteFile(L"page.png", "");
    ComPtr<IStorageFile> png = Await(StartGetFile(pngPath).GetInterfacePtr());
    ComPtr<IStreamOperation> opening;
    ASSERT_EQ(png->OpenAsync(FileAccessMode::ReadWrite, &opening), S_OK);
    ComPtr<IRandomAccessStream> stream = Await(opening.GetInterfacePtr());
    auto options = Activate<IPdfPageRenderOptions>(PdfPageRenderOptionsClass);
    options->put_DestinationHeight(396);
    ComPtr<IAsyncAction> rendering;
    ASSERT_EQ(page->RenderWithOptionsToStreamAsync(stream, options, &rendering), S_OK);
    Await(rendering.GetInterfacePtr());
    ComPtr<IClosable> closable;
    ASSERT_EQ(stream->QueryInterface(__uuidof(IClosable), reinterpret_cast<void**>(&closable)), S_OK);
    closable->Close();

    const std::string bytes = ReadFileBytes(pngPath.c_str());
    ASSERT_GE(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    const auto number = [&](size_t at) {
        return (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
    };
    EXPECT_EQ(number(16), 306); // 396 / 792 * 612
    EXPECT_EQ(number(20), 396);
}
TEST_F(WinRtPdfStandInTest, PdfDocument_WithoutPagesOpensWithAPageCountOfNought)
{
    const std::wstring pdfPath = WriteFile(L"empty.pdf", PdfWriter::MakePdf({}));
    ComPtr<IStorageFile> file = Await(StartGetFile(pdfPath).GetInterfacePtr());
    ComPtr<IPdfDocumentOperation> loading;
    ASSERT_EQ(GetFactory<IPdfDocumentStatics>(PdfDocumentClass)->LoadFromFileAsync(file, &loading), S_OK);
    ComPtr<IPdfDocument> document = Await(loading.GetInterfacePtr());
    UINT32 count = 99;
    EXPECT_EQ(document->get_PageCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
}

TEST_F(WinRtPdfStandInTest, PdfPage_FailureAskedForOnePageLeavesTheOtherPagesRenders)
{
    SetMode(L"failed:80070070", L"Render:1");
    const std::wstring pdfPath = WriteFile(L"two.pdf", PdfWriter::MakePdf({{72, 72, {}}, {72, 72, {}}}));
    ComPtr<IStorageFile> file = Await(StartGetFile(pdfPath).GetInterfacePtr());
    ComPtr<IPdfDocumentOperation> loading;
    ASSERT_EQ(GetFactory<IPdfDocumentStatics>(PdfDocumentClass)->LoadFromFileAsync(file, &loading), S_OK);
    ComPtr<IPdfDocument> document = Await(loading.GetInterfacePtr());

    const auto render = [&](UINT32 index) {
        const std::wstring pngPath = WriteFile(L"page" + std::to_wstring(index) + L".png", "");
        ComPtr<IStorageFile> png = Await(StartGetFile(pngPath).GetInterfacePtr());
        ComPtr<IStreamOperation> opening;
        EXPECT_EQ(png->OpenAsync(FileAccessMode::ReadWrite, &opening), S_OK);
        ComPtr<IRandomAccessStream> stream = Await(opening.GetInterfacePtr());
        ComPtr<IPdfPage> page;
        EXPECT_EQ(document->GetPage(index, &page), S_OK);
        ComPtr<IAsyncAction> rendering;
        EXPECT_EQ(page->RenderToStreamAsync(stream, &rendering), S_OK);
        return FailureOf([&] { Await(rendering.GetInterfacePtr()); });
    };
    EXPECT_EQ(render(0), S_OK);
    EXPECT_EQ(render(1), HRESULT_FROM_WIN32(ERROR_DISK_FULL));
}
} // namespace
