#pragma once
// The download of a new program version in a small non-modal window with a progress bar and a
// Cancel button, and the hand-over to the downloaded program.

#include "framework/ui/Window.h"
#include "framework/ui/controls/Button.h"
#include "framework/ui/controls/Label.h"
#include "framework/ui/controls/Progress.h"
#include "update/Update.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>

struct UpdateDownloadInfo
{
    HWND owner = nullptr;
    std::wstring productName;
    std::string updateFileId;
    bool modal = false;
    // Runs on the UI thread once the complete program is in place, after the window closed.
    std::function<void(const std::wstring& downloadedPath)> onDownloaded;
};

class DownloadProgressWindow : public AutoLayoutWindow
{
public:
    // Builds and lays out the (hidden) window.
    explicit DownloadProgressWindow(UpdateDownloadInfo info);
    ~DownloadProgressWindow() override;

    // Starts the download on the thread pool and shows the window; the worker and the closures it
    // posts keep the object alive.
    void Start();

    LRESULT OnCommand(int id, HWND control, int code, bool& handled) override;
    // Marks the window ended however it goes: closed by the user or by the download, or destroyed
    // with its owner (an options dialog closed while it downloads).
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // The thread-pool work item; parameter is a heap-allocated shared pointer to the window, which
    // it takes over.
    static DWORD WINAPI Download(void* parameter);

    // The downloaded file of a product: its update file id and ".exe" in the Downloads folder.
    static std::wstring DownloadPath(const std::string& updateFileId);

    std::shared_ptr<UI::Label> statusLabel;
    std::shared_ptr<UI::Progress> progressBar;
    std::shared_ptr<UI::Button> cancelButton;
    UpdateDownloadInfo info;

private:
    // Read by the worker: once set, the user has gone, and nothing more is shown or installed.
    bool HasEnded() const { return ended_.load(); }
    void OnProgress(float fraction);
    void OnDownloaded(const std::wstring& path);
    void OnFailed(const std::wstring& message);

    SIZE size_{};
    std::atomic<bool> ended_{false};
};

// The text of a failed download or hand-over, followed by the error's text.
std::wstring DownloadFailureText(const std::wstring& error);
