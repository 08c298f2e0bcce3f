#include "standins/winrt_pdf/PdfDocument.h"

#include "framework/winrt/AsyncWait.h"
#include "framework/winrt/HString.h"
#include "standins/winrt_pdf/AsyncOperation.h"
#include "standins/winrt_pdf/Storage.h"

#include <cmath>

namespace WinRtStandIn
{
namespace
{
// A property's value handed out as the platform's getters do: a null pointer is refused.
template <typename T, typename U>
HRESULT CopyOut(T* value, const U& current)
{
    if (!value)
        return E_POINTER;
    *value = static_cast<T>(current);
    return S_OK;
}

struct RenderRequest
{
    WinRt::Rect source{};
    UINT32 width = 0;
    UINT32 height = 0;
    GUID encoder = WinRt::PngEncoderId;
};

// The picture's size: one side given keeps the source's proportions, none gives one pixel per
// device-independent pixel.
void ChooseSize(RenderRequest& request)
{
    const float width = request.source.Width > 0 ? request.source.Width : 1.0f;
    const float height = request.source.Height > 0 ? request.source.Height : 1.0f;
    if (request.width == 0 && request.height == 0)
    {
        request.width = static_cast<UINT32>(std::lround(width));
        request.height = static_cast<UINT32>(std::lround(height));
    }
    else if (request.height == 0)
        request.height = static_cast<UINT32>(std::lround(request.width * height / width));
    else if (request.width == 0)
        request.width = static_cast<UINT32>(std::lround(request.height * width / height));
    request.width = std::max<UINT32>(request.width, 1);
    request.height = std::max<UINT32>(request.height, 1);
}

void WriteToStream(WinRt::IRandomAccessStream& stream, std::string bytes)
{
    WinRt::ComPtr<WinRt::IOutputStream> output;
    WinRt::ThrowIfRuntimeFailed(
        stream.QueryInterface(__uuidof(WinRt::IOutputStream), reinterpret_cast<void**>(&output)));
    WinRt::ComPtr<WinRt::IBuffer> buffer;
    buffer.Attach(new ByteBuffer(std::move(bytes)));
    WinRt::ComPtr<WinRt::IWriteOperation> writing;
    WinRt::ThrowIfRuntimeFailed(output->WriteAsync(buffer, &writing));
    WinRt::Detail::WaitUntilDone<WinRt::IWriteOperationCompletedHandler>(*writing);
    UINT32 written = 0;
    WinRt::ThrowIfRuntimeFailed(writing->GetResults(&written));
    WinRt::ComPtr<WinRt::IFlushOperation> flushing;
    WinRt::ThrowIfRuntimeFailed(output->FlushAsync(&flushing));
    WinRt::Detail::WaitUntilDone<WinRt::IFlushOperationCompletedHandler>(*flushing);
}
} // namespace

void LoadPdfDocument(WinRt::IStorageFile* file, const std::optional<std::wstring>& password,
                     WinRt::IPdfDocumentOperation** operation)
{
    if (!file || !operation)
        throw WinRt::RuntimeError(E_POINTER);
    WinRt::ComPtr<WinRt::IStorageItem> item;
    WinRt::ThrowIfRuntimeFailed(file->QueryInterface(__uuidof(WinRt::IStorageItem), reinterpret_cast<void**>(&item)));
    WinRt::HString path;
    WinRt::ThrowIfRuntimeFailed(item->get_Path(path.put()));
    *operation = AsyncOperation<WinRt::IPdfDocument*>::Start(
        L"LoadFromFile", [path = path.Text(), password] {
            auto pdf = std::make_shared<OpenedPdf>();
            pdf->path = path;
            pdf->facts = ReadPdfFacts(path, password);
            // The platform ignores a password that the document does not need.
            if (pdf->facts.isPasswordProtected)
                pdf->password = password;
            WinRt::ComPtr<WinRt::IPdfDocument> document;
            document.Attach(new PdfDocument(std::move(pdf)));
            return document;
        });
}

HRESULT PdfDocument::GetPage(UINT32 index, WinRt::IPdfPage** page)
{
    if (!page)
        return E_POINTER;
    if (index >= pdf_->facts.pages.size())
        return E_INVALIDARG;
    *page = new PdfPage(pdf_, index);
    return S_OK;
}

HRESULT PdfDocument::get_PageCount(UINT32* value)
{
    return CopyOut(value, static_cast<UINT32>(pdf_->facts.pages.size()));
}

HRESULT PdfDocument::get_IsPasswordProtected(boolean* value)
{
    return CopyOut(value, pdf_->facts.isPasswordProtected);
}

HRESULT PdfPage::RenderToStreamAsync(WinRt::IRandomAccessStream* stream, WinRt::IAsyncAction** operation)
{
    return RenderWithOptionsToStreamAsync(stream, nullptr, operation);
}

HRESULT PdfPage::RenderWithOptionsToStreamAsync(WinRt::IRandomAccessStream* stream,
                                                WinRt::IPdfPageRenderOptions* options, WinRt::IAsyncAction** operation)
{
    if (!stream || !operation)
        return E_POINTER;
    const PdfFacts::PageSize& size = pdf_->facts.pages[index_];
    RenderRequest request;
    request.source = {0.0f, 0.0f, size.width, size.height};
    if (options)
    {
        WinRt::Rect source{};
        options->get_SourceRect(&source);
        if (source.Width > 0 && source.Height > 0)
            request.source = source;
        options->get_DestinationWidth(&request.width);
        options->get_DestinationHeight(&request.height);
        options->get_BitmapEncoderId(&request.encoder);
    }
    // Only PNG pictures are made here; the whole page is drawn into them.
    if (!IsEqualGUID(request.encoder, WinRt::PngEncoderId))
        return E_NOTIMPL;
    ChooseSize(request);
    WinRt::ComPtr<WinRt::IRandomAccessStream> target(stream);
    auto pdf = pdf_;
    const UINT32 index = index_;
    *operation = AsyncAction::Start(
        L"Render",
        [pdf, index, request, target] {
            WriteToStream(*target, RenderPdfPage(pdf->path, pdf->password, index, request.width, request.height));
        },
        std::to_wstring(index));
    return S_OK;
}

HRESULT PdfPage::PreparePageAsync(WinRt::IAsyncAction** operation)
{
    if (!operation)
        return E_POINTER;
    *operation = AsyncAction::Start(L"PreparePage", [] {});
    return S_OK;
}

HRESULT PdfPage::get_Index(UINT32* value)
{
    return CopyOut(value, index_);
}

HRESULT PdfPage::get_Size(WinRt::Size* value)
{
    const auto& page = pdf_->facts.pages[index_];
    return CopyOut(value, WinRt::Size{page.width, page.height});
}

HRESULT PdfPage::get_Rotation(int32_t* value)
{
    return CopyOut(value, 0); // the size is already given as the page is shown
}

HRESULT PdfPage::get_PreferredZoom(FLOAT* value)
{
    return CopyOut(value, 1.0f);
}

HRESULT PdfPageRenderOptions::get_SourceRect(WinRt::Rect* value)
{
    return CopyOut(value, source_);
}
HRESULT PdfPageRenderOptions::put_SourceRect(WinRt::Rect value)
{
    source_ = value;
    return S_OK;
}
HRESULT PdfPageRenderOptions::get_DestinationWidth(UINT32* value)
{
    return CopyOut(value, width_);
}
HRESULT PdfPageRenderOptions::put_DestinationWidth(UINT32 value)
{
    width_ = value;
    return S_OK;
}
HRESULT PdfPageRenderOptions::get_DestinationHeight(UINT32* value)
{
    return CopyOut(value, height_);
}
HRESULT PdfPageRenderOptions::put_DestinationHeight(UINT32 value)
{
    height_ = value;
    return S_OK;
}
HRESULT PdfPageRenderOptions::get_BackgroundColor(WinRt::Color* value)
{
    return CopyOut(value, background_);
}
HRESULT PdfPageRenderOptions::put_BackgroundColor(WinRt::Color value)
{
    background_ = value;
    return S_OK;
}
HRESULT PdfPageRenderOptions::get_IsIgnoringHighContrast(boolean* value)
{
    return CopyOut(value, ignoringHighContrast_);
}
HRESULT PdfPageRenderOptions::put_IsIgnoringHighContrast(boolean value)
{
    ignoringHighContrast_ = value;
    return S_OK;
}
HRESULT PdfPageRenderOptions::get_BitmapEncoderId(GUID* value)
{
    return CopyOut(value, encoder_);
}
HRESULT PdfPageRenderOptions::put_BitmapEncoderId(GUID value)
{
    encoder_ = value;
    return S_OK;
}
} // namespace WinRtStandIn
