#pragma once
// The window's side of one import run: it starts the run on a worker with a copy of the window's
// configuration, shows the run's progress reports as they arrive, asks the run to stop, and shows
// how it ended. What the window shows is reached through ImportDisplay only.

#include "batch_import/ProgressMailbox.h"
#include "batch_import/RunPrompts.h"
#include "framework/ui/Window.h"
#include "import_engine/ImportEngine.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <system_error>

// The run controls of a window: progress bars, status labels, Stop Import and Clear File List
// buttons, and the state of its other commands. Every call comes on the UI thread.
class ImportDisplay
{
public:
    virtual ~ImportDisplay() = default;
    // Progress bars and status labels shown, Stop Import shown and enabled, the other commands in
    // their importing state.
    virtual void ShowImportStarted() = 0;
    virtual void SetImportStatus(const std::wstring& text) = 0;
    // 0 to 1.
    virtual void SetImportProgress(float fraction) = 0;
    // Stop Import disabled, in the buttons and the menu.
    virtual void ShowImportStopping() = 0;
    // The run, stopped, waits for OneNote as it ends: Stop Import enabled again, in the buttons
    // and the menu, so that a second press ends the waiting.
    virtual void ShowImportWaiting() = 0;
    // Stop Import hidden, Clear File List shown, the commands back in their idle state and the
    // window laid out again; the progress bars are hidden after a failure or a stop.
    virtual void ShowImportEnded(bool hideProgress) = 0;
    // Opens the target picker; choosing a target starts the import.
    virtual void PickTargetThenStart() = 0;
};

class ImportController : public std::enable_shared_from_this<ImportController>
{
public:
    // window runs the workers and owns the questions; both outlive the controller.
    ImportController(Window& window, ImportDisplay& display);
    ~ImportController();
    ImportController(const ImportController&) = delete;
    ImportController& operator=(const ImportController&) = delete;

    // Starts a run over a copy of config; without a target, the picker opens first.
    void Start(const Config& config);
    // The run stops at its next report, question or password request. Pressed again while the
    // stopped run waits for OneNote as it ends (the status says so), the waiting ends at OneNote's
    // next answer.
    void Stop();
    bool IsImporting() const { return importing_; }
    // The window is closing: the run stops and asks nothing more.
    void Close();

    const std::shared_ptr<RunPrompts>& Prompts() const { return prompts_; }

    // UI thread: what a report of the run shows. An empty report only moves the dots of the last
    // text on, at most once a second.
    void UpdateProgress(std::shared_ptr<Progress> progress);
    // UI thread: shows what the run of mailbox reported since the window last looked, and looks
    // again shortly while reports keep coming.
    void ShowProgressOf(const std::shared_ptr<ProgressMailbox>& mailbox);
    // UI thread: how the run ended. A notice of what the run made for itself and leaves behind,
    // beside a run that imported all it was asked for or that the user stopped, is shown beside the
    // count or the stop, in a message box of its own.
    void ShowImportResult(const std::error_code& error, const std::wstring& notice = {});
    void ShowImportResult(unsigned imported, const std::wstring& notice = {});

    // "(done/total) " and the file-name part of the report's text.
    static std::wstring StatusText(const Progress& progress);
    // The text with one more dot, or none after three.
    static std::wstring NextEllipsis(const std::wstring& text);

    // Seconds since 1970; the system clock unless replaced.
    std::function<int64_t()> clock;
    // Posts a closure of the run's worker to the window, through the window's channel unless
    // replaced; false when it could not be posted. Taken by each run at its start.
    std::function<bool(const UiChannel& channel, ClosureChannel::Closure closure)> post;

private:
    enum Outcome
    {
        Succeeded,
        Cancelled,
        Failed,
    };
    void Finish(const std::wstring& status, Outcome outcome, const std::wstring& notice = {});
    // Brings the program forward at the window the user is to answer.
    void BringForward() const;
    void ShowWaitingProgress();
    // UI thread: the stopped run of mailbox waits for OneNote as it ends.
    void ShowRunWaiting(const std::shared_ptr<ProgressMailbox>& mailbox);
    static void CALLBACK LookAgain(HWND window, UINT message, UINT_PTR timer, DWORD time);
    UINT_PTR TimerId() const { return reinterpret_cast<UINT_PTR>(this); }

    Window& window_;
    ImportDisplay& display_;
    std::shared_ptr<RunPrompts> prompts_;
    bool importing_ = false;
    std::shared_ptr<Progress> lastProgress_;
    // The running import's reports; none between runs.
    std::shared_ptr<ProgressMailbox> mailbox_;
};
