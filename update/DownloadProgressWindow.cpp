#include "update/DownloadProgressWindow.h"

#include "framework/com/ComError.h"
#include "framework/com/ErrorMessage.h"
#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "framework/ui/Containers.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/dialogs/MessageBox.h"
#include "update/HttpsRequest.h"
#include "update/ProductIdentity.h"
#include "update/ProgramFile.h"
#include "update/SelfInstall.h"

#include <knownfolders.h>

#include <cstdio>

DownloadProgressWindow::DownloadProgressWindow(UpdateDownloadInfo info) : info(std::move(info))
{
    Create(this->info.owner, COLOR_WINDOW, WS_EX_OVERLAPPEDWINDOW, 0);
    statusLabel = std::make_shared<UI::Label>(hwnd_, L"", false);
    progressBar = std::make_shared<UI::Progress>(hwnd_);
    cancelButton = std::make_shared<UI::Button>(hwnd_, L"&Cancel");
    SetRootControl(std::make_shared<UI::BoxContainer>("rootContainer", true, UI::BoxContainer::End, UI::LargeMargin(),
                                                      UI::ControlList{statusLabel, progressBar, cancelButton}));
    size_ = Layout(UI::PointsToPixels(225.0f, GetDpiScaleX()), 0, nullptr);
}

DownloadProgressWindow::~DownloadProgressWindow()
{
    info = {};
    cancelButton.reset();
    progressBar.reset();
    statusLabel.reset();
}

void DownloadProgressWindow::Start()
{
    auto holder = new std::shared_ptr<DownloadProgressWindow>(
        std::static_pointer_cast<DownloadProgressWindow>(shared_from_this()));
    if (!QueueUserWorkItem(&DownloadProgressWindow::Download, holder, WT_EXECUTEDEFAULT))
    {
        delete holder;
        ThrowWin32Error(GetLastError());
    }
    ShowAtLocation(L"Quillora Download", size_.cx, size_.cy, info.modal, cancelButton->hwnd, nullptr, Center);
}

LRESULT DownloadProgressWindow::OnCommand(int, HWND control, int code, bool& handled)
{
    if (code == 0 && UI::IsControlWindow(cancelButton, control))
    {
        OnClose(handled);
        handled = true;
    }
    return 0;
}

LRESULT DownloadProgressWindow::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        ended_ = true;
    return AutoLayoutWindow::WndProc(hwnd, message, wParam, lParam);
}

std::wstring DownloadProgressWindow::DownloadPath(const std::string& updateFileId)
{
    return GetKnownFolderPath(FOLDERID_Downloads) + L"\\" + Utf8ToWide(updateFileId) + L".exe";
}

std::wstring WhyUpdateCannotBeDownloaded()
{
    std::wstring folder;
    try
    {
        folder = GetKnownFolderPath(FOLDERID_Downloads);
    }
    catch (const _com_error& error)
    {
        // Removed, or redirected to a share that is offline.
        return L"The update cannot be downloaded: the Downloads folder could not be found (" + GetErrorMessage(error) +
               L")";
    }
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    {
        const DWORD error = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_DIRECTORY;
        return L"The update cannot be downloaded: the Downloads folder could not be found (" + folder + L": " +
               GetSystemErrorMessage(HRESULT_FROM_WIN32(error)) + L")";
    }
    // A folder the user may not write (a read-only share, one whose rights were taken away) would
    // refuse the download only once the whole program has arrived, in an error box.
    const DWORD error = CheckWritableBeside(folder + L"\\" + Utf8ToWide(GetRunningProduct().updateFileId) + L".exe");
    if (error == ERROR_SUCCESS)
        return {};
    return L"The update cannot be downloaded: the Downloads folder may not be written (" + folder + L": " +
           GetSystemErrorMessage(HRESULT_FROM_WIN32(error)) + L")";
}

std::wstring DownloadFailureText(const std::wstring& error) { return L"Failed to download latest version\n" + error; }

DWORD WINAPI DownloadProgressWindow::Download(void* parameter)
{
    std::shared_ptr<DownloadProgressWindow> window;
    {
        std::unique_ptr<std::shared_ptr<DownloadProgressWindow>> holder(
            static_cast<std::shared_ptr<DownloadProgressWindow>*>(parameter));
        window = std::move(*holder);
    }
    const UiChannel channel = window->GetUiChannel();
    try
    {
        Owners::ComApartment apartment(COINIT_APARTMENTTHREADED);
        const std::wstring path = DownloadPath(window->info.updateFileId);
        const ProgressCallback progress = [window, channel](uint64_t done, uint64_t total) {
            if (window->HasEnded())
                return false;
            // Without a length there is no fraction to show.
            if (total == 0)
                return true;
            const float fraction = static_cast<float>(static_cast<double>(done) / static_cast<double>(total));
            if (window->progressBar->SetProgress(fraction))
                channel.Post([window, fraction] { window->OnProgress(fraction); });
            return true;
        };
        const std::string program = RequestProgramFile(window->info.updateFileId, progress);
        if (window->HasEnded())
        {
            GetLog(true) << L"The download was called off: its window was closed";
            return 0;
        }
        // A cancelled or broken transfer leaves no half program behind.
        WriteProgramFile(path, program);
        if (!window->HasEnded())
            channel.Post([window, path] { window->OnDownloaded(path); });
    }
    catch (const _com_error& error)
    {
        GetLog(true) << L"ERROR: " << L"Download failed: " << GetErrorMessage(error);
        if (!window->HasEnded())
        {
            const std::wstring message = GetErrorMessage(error);
            channel.Post([window, message] { window->OnFailed(message); });
        }
    }
    catch (const std::exception& error)
    {
        // Nothing may leave a thread-pool thread.
        const std::wstring message = Utf8ToWide(error.what());
        GetLog(true) << L"ERROR: " << L"Download failed: " << message;
        if (!window->HasEnded())
            channel.Post([window, message] { window->OnFailed(message); });
    }
    return 0;
}

void DownloadProgressWindow::OnProgress(float fraction)
{
    if (HasEnded())
        return;
    wchar_t percent[32];
    swprintf(percent, 32, L"%.1f", static_cast<double>(fraction) * 100.0);
    statusLabel->SetText(L"Downloading... " + std::wstring(percent) + L"%");
}

void DownloadProgressWindow::OnDownloaded(const std::wstring& path)
{
    if (HasEnded())
        return;
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    try
    {
        info.onDownloaded(path);
    }
    catch (const _com_error& error)
    {
        ShowErrorMessage(info.owner, DownloadFailureText(GetErrorMessage(error)));
    }
}

void DownloadProgressWindow::OnFailed(const std::wstring& message)
{
    if (HasEnded())
        return;
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    ShowErrorMessage(info.owner, DownloadFailureText(message));
}

void InstallUpdates(HWND owner, std::function<bool()> beforeInstall)
{
    const ProductIdentity& product = GetRunningProduct();
    UpdateDownloadInfo record;
    record.owner = owner;
    record.productName = product.displayName;
    record.updateFileId = product.updateFileId;
    record.modal = false;
    const std::wstring handOverVersion = product.handOverVersion;
    record.onDownloaded = [beforeInstall, handOverVersion](const std::wstring& downloadedPath) {
        const std::wstring arguments = L"/install \"" + GetProgramPath() + L"\" " + handOverVersion;
        GetLog(true) << L"Starting " << downloadedPath << L" " << arguments;
        // The new program waits, suspended, while the caller closes what must be closed: so nothing
        // is closed when it cannot start, and it does not copy itself while windows still close.
        if (!LaunchProcess(downloadedPath, arguments, beforeInstall))
        {
            const DWORD error = GetLastError();
            // No install will run it, and no later start takes a file of that name for an update's:
            // it goes now.
            DeleteFileW(downloadedPath.c_str());
            if (error == ERROR_CANCELLED)
            {
                GetLog(true) << L"The install was called off; the new program did not run";
                return;
            }
            const HRESULT hr = HRESULT_FROM_WIN32(error);
            ThrowComError(hr, L"The downloaded program could not be started: " + GetSystemErrorMessage(hr));
        }
    };
    std::make_shared<DownloadProgressWindow>(std::move(record))->Start();
}
