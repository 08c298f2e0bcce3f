#include "import_engine/OneNoteCalls.h"

HRESULT NavigateToUrlWithRetry(ON16::IApplication& application, _bstr_t url, VARIANT_BOOL newWindow)
{
    return CallWithRetry(application, [&] { return application.NavigateToUrl(url, newWindow); });
}

HRESULT GetHierarchyWithRetry(ON16::IApplication& application, _bstr_t startNodeId, ON16::HierarchyScope scope,
                              _bstr_t& xml)
{
    return CallWithRetry(application, [&] {
        // Each try receives into a fresh string; a rejected try leaves nothing to keep.
        BSTR received = nullptr;
        const HRESULT hr = application.GetHierarchy(startNodeId, scope, &received, ON16::xs2013);
        xml.Attach(received);
        return hr;
    });
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
    return RetryWhileBusy([&] {
        return update.application.UpdatePageContent(update.xml, update.expectedLastModified, update.schema,
                                                    update.force);
    });
}

ON16::WindowsPtr GetWindowsWithRetry(ON16::IApplication& application)
{
    ON16::WindowsPtr windows;
    CallWithRetry(application, [&] {
        ON16::Windows* received = nullptr;
        const HRESULT hr = application.get_Windows(&received);
        windows.Attach(received);
        return hr;
    });
    return windows;
}

ON16::WindowPtr GetCurrentWindowWithRetry(ON16::Windows& windows)
{
    ON16::WindowPtr window;
    CallWithRetry(windows, [&] {
        ON16::Window* received = nullptr;
        const HRESULT hr = windows.get_CurrentWindow(&received);
        window.Attach(received);
        return hr;
    });
    return window;
}

ULONGLONG GetWindowHandleWithRetry(ON16::Window& window)
{
    ULONGLONG handle = 0;
    CallWithRetry(window, [&] { return window.get_WindowHandle(&handle); });
    return handle;
}
