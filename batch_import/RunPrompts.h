#pragma once
// The questions an import run asks the user while it works on its worker thread: what to do with a
// file that failed, and the password of a protected PDF file. Each is handed to the window's UI
// thread and the worker waits for the answer; a question that cannot be asked any more (the window
// is gone or closing, the hand-over failed) gets the cautious answer at once, so a worker never
// waits for ever and the program never hangs at exit.

#include "batch_import/PasswordDialog.h"
#include "framework/ui/ClosureChannel.h"
#include "import_engine/ImportEngine.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>

// The error prompt's text for a failed entry.
std::wstring ImportErrorPromptText(const std::wstring& path, const std::error_condition& condition);
// The prompt's text when OneNote does not take the page that holds all the files as the run ends.
std::wstring LastSavePromptText(const std::error_condition& condition);

// Asks on the UI thread whether to retry the entry, skip it or stop the run. A Cancelled error is
// answered with stop without asking; closing the prompt without a choice skips the entry. For the
// run's last save (an entry without a path) only a retry or a stop is offered, and closing the
// prompt sends the page again: only a stop gives up what has not reached OneNote.
ErrorHandling PromptImportError(HWND owner, const Config::Entry& entry, const std::error_condition& condition);

// One window's questions, shared by the window and the workers of its runs.
class RunPrompts
{
public:
    RunPrompts(HWND owner, UiChannel channel);
    RunPrompts(const RunPrompts&) = delete;
    RunPrompts& operator=(const RunPrompts&) = delete;

    // Worker thread: blocks until the user answered. After a stop an entry's question is answered
    // stop at once; the question about the page that holds the files (an entry without a path) is
    // asked all the same, unless the window is closing.
    ErrorHandling AskAboutError(const Config::Entry& entry, const std::error_condition& condition);
    // Worker thread: a password to try, none to skip the file's printout; raises a _com_error of
    // E_ABORT to stop the run.
    std::optional<std::wstring> GetPasswordFor(const std::wstring& path, const std::optional<std::wstring>& tried);

    // UI thread. Every run starts from a fresh answer and without a stop.
    void BeginRun();
    void RequestStop() { stopRequested_ = true; }
    bool StopRequested() const { return stopRequested_ || closing_; }
    // A second stop: a run that ends because it was stopped no longer waits for OneNote.
    void RequestStopWaiting() { stopWaitingRequested_ = true; }
    bool StopWaitingRequested() const { return stopWaitingRequested_ || closing_; }
    // Any thread: the user chose to wait again (sending the page again): a further stop ends it.
    void ResumeWaiting() { stopWaitingRequested_ = false; }
    // The window is closing: the run stops, and no question is asked any more.
    void Close();
    // The session that was ending goes on after all: the window stays, and later runs ask again.
    void Reopen() { closing_ = false; }
    bool IsClosing() const { return closing_; }

    PasswordAnswer RememberedAnswer() const;

private:
    HWND owner_;
    UiChannel channel_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> stopWaitingRequested_{false};
    std::atomic<bool> closing_{false};
    // Written on the UI thread after the dialog, read by the worker before it asks; questions
    // never overlap, the lock only keeps the reads whole.
    mutable std::mutex answerLock_;
    PasswordAnswer remembered_;
};
