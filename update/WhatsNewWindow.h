#pragma once
// What changed in the versions the service lists before a given one: their change lists, "Learn
// More" links and pictures in one window.

#include "framework/Owners.h"
#include "framework/ui/Window.h"
#include "update/ProductInfo.h"
#include "update/Update.h"

#include <memory>
#include <optional>
#include <string>

class WhatsNewWindow : public AutoLayoutWindow
{
public:
    // Builds the (hidden) window from the versions listed before sinceVersion; all of them when
    // sinceVersion is not listed or not given.
    WhatsNewWindow(HWND owner, const Product::Product& product, const std::optional<std::wstring>& sinceVersion);

    // Shows the window at the bottom right of its owner, unless there is nothing to show.
    void Show(bool modal);

    LRESULT OnCommand(int id, HWND control, int code, bool& handled) override;

    bool HasContent() const { return hasContent_; }

private:
    bool hasContent_ = false;
    Owners::AcceleratorTable accelerators_;
};

// The service's product information for the product, its answer read up to a fault of its XML;
// request errors are raised. Needs no window and waits for the service on the calling thread.
std::shared_ptr<Product::Product> RequestProductInfo(const std::string& productName);
// Shows the versions of product before sinceVersion (without one: only the newest) in a What's New
// window owned by owner, unless there is nothing to show.
void ShowProductInfo(HWND owner, const Product::Product& product, const std::optional<std::wstring>& sinceVersion,
                     bool modal);

// The change list as shown: every item's leading "-" becomes a bullet.
std::wstring FormatChangeList(const std::wstring& changes);

// The address of a version's "Learn More" page, or nothing when the page's path could break out of
// the link's markup.
std::optional<std::wstring> LearnMoreAddress(const std::wstring& url);
