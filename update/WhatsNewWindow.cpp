#include "update/WhatsNewWindow.h"

#include "framework/Owners.h"
#include "framework/com/ErrorMessage.h"
#include "framework/log/Log.h"
#include "framework/streams/Base64Stream.h"
#include "framework/text/Text.h"
#include "framework/ui/Containers.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/controls/Image.h"
#include "framework/ui/controls/Label.h"
#include "framework/xml/XmlDocument.h"
#include "update/HttpsRequest.h"
#include "update/ServiceEndpoint.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

namespace
{
std::shared_ptr<UI::Image> MakePicture(HWND parent, const Product::Image& image)
{
    IStreamPtr stream(new Base64Stream(image.text), false);
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromStream(stream));
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    auto picture = std::make_shared<UI::Image>(parent);
    picture->SetBitmap(GetSysColor(COLOR_WINDOW), false, *bitmap);
    picture->margin = {UI::PointsToPixels(30.0f, GetDpiScaleX()), 0, 0, 0};
    return picture;
}

// Windows shown without a modal loop live until the next What's New window is asked for.
std::vector<std::shared_ptr<WhatsNewWindow>>& OpenWindows()
{
    static std::vector<std::shared_ptr<WhatsNewWindow>> windows;
    return windows;
}
} // namespace

std::wstring FormatChangeList(const std::wstring& changes)
{
    const std::wstring bullet = L"      \u2022 ";
    std::wstring joined = Join(Split(changes, std::wstring(L"\n-")), L"\n" + bullet);
    if (joined.empty())
        return joined;
    return bullet + joined.substr(1);
}

std::optional<std::wstring> LearnMoreAddress(const std::wstring& url)
{
    if (url.find_first_of(L"\"'<>") != std::wstring::npos)
        return std::nullopt;
    return L"https://" + std::wstring(GetProductWebSiteHost()) + L"/" + url;
}

WhatsNewWindow::WhatsNewWindow(HWND owner, const Product::Product& product,
                               const std::optional<std::wstring>& sinceVersion)
{
    Create(owner, COLOR_WINDOW, WS_EX_TOOLWINDOW, 0);
    UI::ControlList controls;
    controls.push_back(std::make_shared<UI::Label>(hwnd_, L"What's New in " + product.name, false, UI::Label::Left, 3));
    for (const auto& version : product.versions)
    {
        if (sinceVersion && version->number == *sinceVersion)
            break;
        hasContent_ = true;
        controls.push_back(
            std::make_shared<UI::Label>(hwnd_, L"\n\nVersion " + version->number, false, UI::Label::Left, 1));
        controls.push_back(std::make_shared<UI::Label>(hwnd_, FormatChangeList(version->changes.text), false));
        if (version->url)
        {
            if (const auto address = LearnMoreAddress(*version->url))
                controls.push_back(std::make_shared<UI::Label>(
                    hwnd_, L"         <a href=\"" + *address + L"\">Learn More</a>", false, UI::Label::Left, 0, true));
        }
        if (version->image)
        {
            if (auto picture = MakePicture(hwnd_, *version->image))
                controls.push_back(std::move(picture));
        }
    }
    SetRootControl(std::make_shared<UI::BoxContainer>("rootContainer", true, UI::BoxContainer::Start, 0,
                                                      std::move(controls)));
}

void WhatsNewWindow::Show(bool modal)
{
    if (!hasContent_)
        return;
    const SIZE size = LayoutWithMargin(UI::PointsToPixels(450.0f, GetDpiScaleX()), 0, UI::LargeMargin(), nullptr);
    ACCEL escape{FVIRTKEY, VK_ESCAPE, IDCANCEL};
    accelerators_.reset(CreateAcceleratorTableW(&escape, 1));
    ShowAtLocation(L"What's New", size.cx, size.cy, modal, hwnd_, accelerators_.get(), BottomRight);
    if (modal)
        accelerators_.reset();
}

LRESULT WhatsNewWindow::OnCommand(int id, HWND control, int code, bool& handled)
{
    if (id == IDCANCEL && !(control && code != 0))
        return OnClose(handled);
    return 0;
}

std::shared_ptr<Product::Product> RequestProductInfo(const std::string& productName)
{
    auto product = std::make_shared<Product::Product>();
    const auto answer = SendServiceRequest(L"getProductInfo", {{"product", productName}}, ProductInfoLimit);
    ParseElement(*product, answer->GetBodyBstr());
    return product;
}

void ShowProductInfo(HWND owner, const Product::Product& product, const std::optional<std::wstring>& sinceVersion,
                     bool modal)
{
    auto& open = OpenWindows();
    open.erase(std::remove_if(open.begin(), open.end(), [](const auto& window) { return !window->GetHwnd(); }),
               open.end());

    std::optional<std::wstring> since = sinceVersion;
    if (!since && product.versions.size() >= 2)
        since = product.versions[1]->number;
    auto window = std::make_shared<WhatsNewWindow>(owner, product, since);
    window->Show(modal);
    if (!modal && window->GetHwnd() && IsWindowVisible(window->GetHwnd()))
        open.push_back(std::move(window));
}

void ShowWhatsNew(HWND owner, const std::string& productName, const std::optional<std::wstring>& sinceVersion,
                  bool modal)
{
    const std::shared_ptr<Product::Product> product = RequestProductInfo(productName);
    ShowProductInfo(owner, *product, sinceVersion, modal);
}

namespace
{
struct WhatsNewRequest
{
    UiChannel channel;
    HWND owner;
    std::string productName;
    std::optional<std::wstring> sinceVersion;
    bool modal;
    std::function<void(const std::wstring& failure)> whenDone;
};

// Runs on the UI thread: nothing of a failure may leave the closure that shows it.
void ShowRequested(const WhatsNewRequest& request, const Product::Product& product)
{
    try
    {
        ShowProductInfo(request.owner, product, request.sinceVersion, request.modal);
    }
    catch (const _com_error& error)
    {
        GetLog(true) << L"ERROR: " << L"What's New could not be shown: " << GetErrorMessage(error);
    }
    catch (const std::exception& error)
    {
        GetLog(true) << L"ERROR: " << L"What's New could not be shown: " << Utf8ToWide(error.what());
    }
}

DWORD WINAPI FetchProductInfo(void* parameter)
{
    const std::shared_ptr<WhatsNewRequest> request(static_cast<WhatsNewRequest*>(parameter));
    std::wstring failure;
    try
    {
        const Owners::ComApartment apartment(COINIT_MULTITHREADED);
        std::shared_ptr<Product::Product> product = RequestProductInfo(request->productName);
        request->channel.Post([request, product] {
            ShowRequested(*request, *product);
            if (request->whenDone)
                request->whenDone({});
        });
        return 0;
    }
    catch (const _com_error& error)
    {
        failure = GetErrorMessage(error);
    }
    catch (const std::exception& error)
    {
        // An answer too large for memory among them: nothing may leave a thread-pool thread.
        failure = Utf8ToWide(error.what());
    }
    GetLog(true) << L"ERROR: " << L"What's New could not be shown: " << failure;
    if (request->whenDone)
        request->channel.Post([request, failure] { request->whenDone(failure); });
    return 0;
}
} // namespace

void ShowWhatsNewWhenReady(UiChannel channel, HWND owner, const std::string& productName,
                           const std::optional<std::wstring>& sinceVersion, bool modal,
                           std::function<void(const std::wstring& failure)> whenDone)
{
    auto request = std::make_unique<WhatsNewRequest>(
        WhatsNewRequest{std::move(channel), owner, productName, sinceVersion, modal, std::move(whenDone)});
    if (!QueueUserWorkItem(&FetchProductInfo, request.get(), WT_EXECUTELONGFUNCTION))
        ThrowWin32Error(GetLastError());
    request.release();
}
