#pragma once
// The stand-in PDF document, its pages and the render options, over poppler's tools.

#include "standins/winrt_pdf/PdfTools.h"
#include "standins/winrt_pdf/RuntimeObject.h"

#include <memory>
#include <optional>

namespace WinRtStandIn
{
// What a document and its pages share.
struct OpenedPdf
{
    std::wstring path;
    std::optional<std::wstring> password;
    PdfFacts facts;
};

class PdfDocument final : public RuntimeObject<WinRt::IPdfDocument>
{
public:
    explicit PdfDocument(std::shared_ptr<const OpenedPdf> pdf) : pdf_(std::move(pdf)) {}
    STDMETHODIMP GetPage(UINT32 index, WinRt::IPdfPage** page) override;
    STDMETHODIMP get_PageCount(UINT32* value) override;
    STDMETHODIMP get_IsPasswordProtected(boolean* value) override;

protected:
    const wchar_t* ClassName() const override { return L"Windows.Data.Pdf.PdfDocument"; }

private:
    std::shared_ptr<const OpenedPdf> pdf_;
};

class PdfPage final : public RuntimeObject<WinRt::IPdfPage, WinRt::IClosable>
{
public:
    PdfPage(std::shared_ptr<const OpenedPdf> pdf, UINT32 index) : pdf_(std::move(pdf)), index_(index) {}
    STDMETHODIMP RenderToStreamAsync(WinRt::IRandomAccessStream* stream, WinRt::IAsyncAction** operation) override;
    STDMETHODIMP RenderWithOptionsToStreamAsync(WinRt::IRandomAccessStream* stream, WinRt::IPdfPageRenderOptions* options,
                                                WinRt::IAsyncAction** operation) override;
    STDMETHODIMP PreparePageAsync(WinRt::IAsyncAction** operation) override;
    STDMETHODIMP get_Index(UINT32* value) override;
    STDMETHODIMP get_Size(WinRt::Size* value) override;
    STDMETHODIMP get_Dimensions(IInspectable**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Rotation(int32_t* value) override;
    STDMETHODIMP get_PreferredZoom(FLOAT* value) override;
    STDMETHODIMP Close() override { return S_OK; }

protected:
    const wchar_t* ClassName() const override { return L"Windows.Data.Pdf.PdfPage"; }

private:
    std::shared_ptr<const OpenedPdf> pdf_;
    UINT32 index_;
};

class PdfPageRenderOptions final : public RuntimeObject<WinRt::IPdfPageRenderOptions>
{
public:
    STDMETHODIMP get_SourceRect(WinRt::Rect* value) override;
    STDMETHODIMP put_SourceRect(WinRt::Rect value) override;
    STDMETHODIMP get_DestinationWidth(UINT32* value) override;
    STDMETHODIMP put_DestinationWidth(UINT32 value) override;
    STDMETHODIMP get_DestinationHeight(UINT32* value) override;
    STDMETHODIMP put_DestinationHeight(UINT32 value) override;
    STDMETHODIMP get_BackgroundColor(WinRt::Color* value) override;
    STDMETHODIMP put_BackgroundColor(WinRt::Color value) override;
    STDMETHODIMP get_IsIgnoringHighContrast(boolean* value) override;
    STDMETHODIMP put_IsIgnoringHighContrast(boolean value) override;
    STDMETHODIMP get_BitmapEncoderId(GUID* value) override;
    STDMETHODIMP put_BitmapEncoderId(GUID value) override;

protected:
    const wchar_t* ClassName() const override { return L"Windows.Data.Pdf.PdfPageRenderOptions"; }

private:
    WinRt::Rect source_{};
    UINT32 width_ = 0;
    UINT32 height_ = 0;
    WinRt::Color background_{255, 255, 255, 255};
    boolean ignoringHighContrast_ = false;
    GUID encoder_ = WinRt::PngEncoderId;
};

// PdfDocument's statics: loading a document from a storage file.
void LoadPdfDocument(WinRt::IStorageFile* file, const std::optional<std::wstring>& password,
                     WinRt::IPdfDocumentOperation** operation);
} // namespace WinRtStandIn
