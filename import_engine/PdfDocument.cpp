#include "import_engine/PdfDocument.h"

#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/winrt/Activation.h"
#include "framework/winrt/AsyncWait.h"
#include "framework/winrt/HString.h"
#include "import_engine/ImportErrors.h"

#include <shlwapi.h>

#include <algorithm>
#include <mutex>
#include <utility>

namespace
{
// Written once before any import, read by import workers.
std::mutex providerLock;
PasswordProvider passwordProvider;

PasswordProvider CurrentPasswordProvider()
{
    std::lock_guard guard(providerLock);
    return passwordProvider;
}

// The file name without its extension.
std::wstring DocumentName(const std::wstring& path)
{
    const wchar_t* name = ::PathFindFileNameW(path.c_str());
    const wchar_t* extension = ::PathFindExtensionW(name);
    return std::wstring(name, extension);
}

// The one rule by which every operation turns a failure into its result.
template <typename T, typename Body>
TOrError<T> CaptureErrors(const std::wstring& context, Body&& body)
{
    try
    {
        return body();
    }
    catch (const WinRt::RuntimeError& error)
    {
        return MakeHResultError(error.code(), context);
    }
    catch (const _com_error& error)
    {
        if (error.Error() == E_ABORT)
            return MakeImportError(ImportCancelled, context);
        return MakeHResultError(error.Error(), context);
    }
}

// The file's full path, for the file that a folder actually created.
std::wstring PathOf(WinRt::IStorageFile& file)
{
    WinRt::ComPtr<WinRt::IStorageItem> item;
    WinRt::ThrowIfRuntimeFailed(file.QueryInterface(__uuidof(WinRt::IStorageItem), reinterpret_cast<void**>(&item)));
    WinRt::HString path;
    WinRt::ThrowIfRuntimeFailed(item->get_Path(path.put()));
    return path.Text();
}

// Releases what a Windows Runtime object holds (a stream's file, a page) before the reference goes.
template <typename I>
void CloseObject(I& object)
{
    WinRt::ComPtr<WinRt::IClosable> closable;
    if (SUCCEEDED(object.QueryInterface(__uuidof(WinRt::IClosable), reinterpret_cast<void**>(&closable))))
        closable->Close();
}
} // namespace

class Pdf::PdfImpl
{
public:
    PdfImpl(WinRt::ComPtr<WinRt::IPdfDocument> document, std::wstring name)
        : document(std::move(document)), name(std::move(name))
    {
    }

    std::wstring RenderPage(unsigned index, uint32_t scale) const;

    WinRt::ComPtr<WinRt::IPdfDocument> document;
    std::wstring name;
};

PasswordProvider SetPasswordProvider(PasswordProvider provider)
{
    std::lock_guard guard(providerLock);
    return std::exchange(passwordProvider, std::move(provider));
}

std::wstring GetPrintoutFolder() { return GetTempFilePath(L"sheafin"); }

uint32_t Pdf::RenderWidth(float width, float height, uint32_t scale)
{
    constexpr float longestSide = 1056.0f; // 11 inches
    float limited = width;
    if (std::max(width, height) > longestSide)
        limited = width > height ? longestSide : longestSide / height * width;
    return static_cast<uint32_t>(static_cast<float>(scale) * limited / 100.0f);
}

Pdf::Pdf(const std::wstring& path, uint32_t scale, const std::optional<std::wstring>& password)
    : scale(scale), context(L"File: " + path)
{
    const auto files = WinRt::GetFactory<WinRt::IStorageFileStatics>(WinRt::StorageFileClass);
    WinRt::ComPtr<WinRt::IStorageFileOperation> fileOperation;
    WinRt::ThrowIfRuntimeFailed(files->GetFileFromPathAsync(WinRt::HString(path).get(), &fileOperation));
    const auto file = WinRt::Await(fileOperation.GetInterfacePtr());

    const auto documents = WinRt::GetFactory<WinRt::IPdfDocumentStatics>(WinRt::PdfDocumentClass);
    WinRt::ComPtr<WinRt::IPdfDocumentOperation> loading;
    if (password)
        WinRt::ThrowIfRuntimeFailed(
            documents->LoadFromFileWithPasswordAsync(file, WinRt::HString(*password).get(), &loading));
    else
        WinRt::ThrowIfRuntimeFailed(documents->LoadFromFileAsync(file, &loading));
    impl = std::make_shared<PdfImpl>(WinRt::Await(loading.GetInterfacePtr()), DocumentName(path));
}

Pdf Pdf::LoadInMta(const std::wstring& path, uint32_t scale)
{
    // The worker is in the multithreaded apartment already; this only counts up, and the owner
    // counts down again however the load ends.
    const Owners::ComApartment apartment(COINIT_MULTITHREADED);
    WinRt::ThrowIfRuntimeFailed(apartment.result());

    std::optional<std::wstring> password;
    for (;;)
    {
        try
        {
            return Pdf(path, scale, password);
        }
        catch (const WinRt::RuntimeError& error)
        {
            const PasswordProvider provider = CurrentPasswordProvider();
            if (error.code() != WinRt::WrongPassword || !provider)
                throw;
            std::optional<std::wstring> answer = provider(path, password);
            if (!answer)
                throw;
            password = std::move(answer);
        }
    }
}

TOrError<Pdf> Pdf::Open(std::wstring path, uint32_t scale, std::wstring context)
{
    return CaptureErrors<Pdf>(context, [&] { return LoadInMta(path, scale); });
}

TOrError<unsigned> Pdf::GetPageCount(const Pdf& pdf, std::wstring context)
{
    return CaptureErrors<unsigned>(context, [&] {
        UINT32 count = 0;
        WinRt::ThrowIfRuntimeFailed(pdf.impl->document->get_PageCount(&count));
        return static_cast<unsigned>(count);
    });
}

TOrError<std::wstring> Pdf::RenderPage(const Pdf& pdf, unsigned index, std::wstring context)
{
    return CaptureErrors<std::wstring>(context, [&] { return pdf.impl->RenderPage(index, pdf.scale); });
}

std::wstring Pdf::PdfImpl::RenderPage(unsigned index, uint32_t scale) const
{
    const std::wstring folderPath = GetPrintoutFolder();
    // Usually there already; a folder that cannot be made fails at the next step.
    ::CreateDirectoryW(folderPath.c_str(), nullptr);

    const auto folders = WinRt::GetFactory<WinRt::IStorageFolderStatics>(WinRt::StorageFolderClass);
    WinRt::ComPtr<WinRt::IStorageFolderOperation> folderOperation;
    WinRt::ThrowIfRuntimeFailed(folders->GetFolderFromPathAsync(WinRt::HString(folderPath).get(), &folderOperation));
    const auto folder = WinRt::Await(folderOperation.GetInterfacePtr());

    // A page rendered before keeps its file: the new one gets a unique variant of the name.
    const std::wstring fileName = name + L"_" + std::to_wstring(index) + L".png";
    WinRt::ComPtr<WinRt::IStorageFileOperation> creation;
    WinRt::ThrowIfRuntimeFailed(folder->CreateFileAsync(
        WinRt::HString(fileName).get(), WinRt::CreationCollisionOption::GenerateUniqueName, &creation));
    const auto file = WinRt::Await(creation.GetInterfacePtr());

    WinRt::ComPtr<WinRt::IStreamOperation> opening;
    WinRt::ThrowIfRuntimeFailed(file->OpenAsync(WinRt::FileAccessMode::ReadWrite, &opening));
    const auto stream = WinRt::Await(opening.GetInterfacePtr());

    WinRt::ComPtr<WinRt::IPdfPage> page;
    WinRt::ThrowIfRuntimeFailed(document->GetPage(index, &page));
    WinRt::Size size{};
    WinRt::ThrowIfRuntimeFailed(page->get_Size(&size));

    const auto options = WinRt::Activate<WinRt::IPdfPageRenderOptions>(WinRt::PdfPageRenderOptionsClass);
    WinRt::ThrowIfRuntimeFailed(options->put_SourceRect(WinRt::Rect{0.0f, 0.0f, size.Width, size.Height}));
    WinRt::ThrowIfRuntimeFailed(options->put_DestinationWidth(Pdf::RenderWidth(size.Width, size.Height, scale)));
    // No height: the renderer keeps the page's proportions.
    WinRt::ThrowIfRuntimeFailed(options->put_DestinationHeight(0));

    WinRt::ComPtr<WinRt::IAsyncAction> rendering;
    WinRt::ThrowIfRuntimeFailed(page->RenderWithOptionsToStreamAsync(stream, options, &rendering));
    WinRt::Await(rendering.GetInterfacePtr());
    CloseObject(*stream);
    CloseObject(*page);
    return PathOf(*file);
}
