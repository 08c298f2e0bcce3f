#include "import_engine/OneNoteCalls.h"

HRESULT NavigateToUrlWithRetry(ON16::IApplication& application, _bstr_t url, VARIANT_BOOL newWindow)
{
    return CallWithRetry(application, [&] { return application.NavigateToUrl(url, newWindow); });
}

HRESULT GetHierarchyWithRetry(ON16::IApplication& application, _bstr_t startNodeId, ON16::HierarchyScope scope,
                              _bstr_t& xml, BusyPatience* patience)
{
    return CallWithin(
        application,
        [&] {
            // Each try receives into a fresh string; a rejected try leaves nothing to keep.
            BSTR received = nullptr;
            const HRESULT hr = application.GetHierarchy(startNodeId, scope, &received, ON16::xs2013);
            xml.Attach(received);
            return hr;
        },
        patience);
}

HRESULT GetPageContentWithRetry(ON16::IApplication& application, _bstr_t pageId, _bstr_t& xml, BusyPatience* patience)
{
    return CallWithin(
        application,
        [&] {
            BSTR received = nullptr;
            const HRESULT hr = application.GetPageContent(pageId, &received, ON16::piBasic, ON16::xs2013);
            xml.Attach(received);
            return hr;
        },
        patience);
}

HRESULT UpdateHierarchyWithRetry(ON16::IApplication& application, _bstr_t xml)
{
    return CallWithRetry(application, [&] { return application.UpdateHierarchy(xml, ON16::xs2013); });
}

HRESULT NavigateToWithRetry(ON16::IApplication& application, _bstr_t hierarchyObjectId, _bstr_t objectId,
                            VARIANT_BOOL newWindow)
{
    return CallWithRetry(application,
                         [&] { return application.NavigateTo(hierarchyObjectId, objectId, newWindow); });
}

HRESULT UpdatePageContentWithRetry(const PageContentUpdate& update)
{
    const auto call = [&] {
        return update.application.UpdatePageContent(update.xml, update.expectedLastModified, update.schema,
                                                    update.force);
    };
    return update.patience ? RetryWhileBusyWithin(call, *update.patience) : RetryWhileBusy(call);
}

namespace
{
// A property that hands out an interface, received into an owner on every try.
template <typename Owner, typename I, typename Received>
Owner GetWithRetry(I& object, HRESULT (STDMETHODCALLTYPE I::*property)(Received**), BusyPatience* patience)
{
    Owner owner;
    CallWithin(object, [&] {
        Received* received = nullptr;
        const HRESULT hr = (object.*property)(&received);
        owner.Attach(received);
        return hr;
    }, patience);
    return owner;
}
} // namespace

ON16::WindowsPtr GetWindowsWithRetry(ON16::IApplication& application, BusyPatience* patience)
{
    return GetWithRetry<ON16::WindowsPtr>(application, &ON16::IApplication::get_Windows, patience);
}

ON16::WindowPtr GetCurrentWindowWithRetry(ON16::Windows& windows, BusyPatience* patience)
{
    return GetWithRetry<ON16::WindowPtr>(windows, &ON16::Windows::get_CurrentWindow, patience);
}

ULONGLONG GetWindowHandleWithRetry(ON16::Window& window, BusyPatience* patience)
{
    ULONGLONG handle = 0;
    CallWithin(window, [&] { return window.get_WindowHandle(&handle); }, patience);
    return handle;
}

_bstr_t GetHyperlinkToObjectWithRetry(ON16::IApplication& application, const _bstr_t& id)
{
    _bstr_t link;
    CallWithRetry(application, [&] {
        BSTR received = nullptr;
        const HRESULT hr = application.GetHyperlinkToObject(id, _bstr_t(L""), &received);
        link.Attach(received);
        return hr;
    });
    return link;
}
