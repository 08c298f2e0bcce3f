#include "batch_import/ImportController.h"

#include "framework/text/Text.h"
#include "framework/ui/dialogs/MessageBox.h"

#include <time.h>

#include <optional>

namespace
{
int64_t SystemClock() { return _time64(nullptr); }

// While a run reports, the window looks for its reports this often, on a timer: timer messages
// come after the user's input and the window's painting, which so stay answered however fast the
// run goes.
constexpr UINT ProgressPaceMs = 50;

// The run's progress callback: on the worker, it never waits for the display.
Result ReportProgress(const std::weak_ptr<ImportController>& weak, const std::shared_ptr<RunPrompts>& prompts,
                      const std::shared_ptr<ProgressMailbox>& mailbox, const UiChannel& channel,
                      const decltype(ImportController::post)& post, std::shared_ptr<Progress> progress)
{
    if (weak.expired() || prompts->StopRequested())
        return Result{MakeImportError(ImportCancelled), true};
    if (!mailbox->Put(std::move(progress)))
        return Result{};
    const bool posted = post(channel, [weak, mailbox] {
        if (const auto controller = weak.lock())
            controller->ShowProgressOf(mailbox);
    });
    if (!posted)
    {
        mailbox->PostFailed();
        // A post also fails while the window's queue is full; only the window's going away stops
        // the run.
        if (weak.expired())
            return Result{MakeImportError(ImportCancelled), true};
    }
    return Result{};
}

const wchar_t* const unexpectedEnd = L"The import ended unexpectedly. The log file has the details.";

const wchar_t* const StoppingText = L"Stopping import...";
// While the stopped run waits for OneNote, a further press of Stop ends the waiting.
const wchar_t* const WaitingText = L"Waiting for OneNote... Press Stop again to stop waiting.";

// What the run's worker hands the window: the run's result, and what it tells beside it.
struct RunOutcome
{
    TOrError<unsigned> result;
    std::wstring notice;
};
} // namespace

ImportController::ImportController(Window& window, ImportDisplay& display)
    : clock(&SystemClock),
      post([](const UiChannel& channel, ClosureChannel::Closure closure) { return channel.Post(std::move(closure)); }),
      window_(window), display_(display),
      prompts_(std::make_shared<RunPrompts>(window.GetHwnd(), window.GetUiChannel()))
{
}

ImportController::~ImportController() { KillTimer(window_.GetHwnd(), TimerId()); }

void ImportController::Start(const Config& config)
{
    if (importing_)
        return;
    prompts_->BeginRun();
    if (config.location.empty())
    {
        display_.PickTargetThenStart();
        return;
    }
    importing_ = true;
    lastProgress_.reset();
    mailbox_ = std::make_shared<ProgressMailbox>();
    display_.ShowImportStarted();
    display_.SetImportStatus(L"Starting Import...");

    // The worker keeps the questions alive, and the controller only weakly: a window that goes
    // away answers every later report with Cancelled.
    std::weak_ptr<ImportController> weak = weak_from_this();
    std::shared_ptr<RunPrompts> prompts = prompts_;
    std::shared_ptr<ProgressMailbox> mailbox = mailbox_;
    std::weak_ptr<RunPrompts> weakPrompts = prompts_;
    SetPasswordProvider([weakPrompts](std::wstring path, std::optional<std::wstring> tried) {
        const auto prompts = weakPrompts.lock();
        if (!prompts)
            _com_issue_error(E_ABORT);
        return prompts->GetPasswordFor(path, tried);
    });
    UiChannel channel = window_.GetUiChannel();
    Window::GetFromBackground(
        window_,
        [copy = config, weak, prompts, mailbox, channel, post = post]() mutable {
            const ProgressCallback progress = [&](std::shared_ptr<Progress> report) {
                return ReportProgress(weak, prompts, mailbox, channel, post, std::move(report));
            };
            // How often the stopped run has asked whether to stop waiting for OneNote: once it has
            // waited out OneNote's first busy answer, the window offers Stop again and says so.
            unsigned waitingAsks = 0;
            std::optional<std::error_condition> stoppedAt;
            const ErrorCallback onError = [&](const Config::Entry& entry, const std::error_condition& condition) {
                const ErrorHandling answer =
                    weak.expired() ? ErrorHandling::Stop : prompts->AskAboutError(entry, condition);
                if (answer == ErrorHandling::Stop)
                    stoppedAt = condition;
                // The page is sent again: the user's earlier stop of the waiting is spent, and
                // Stop is offered again while the run waits.
                if (answer == ErrorHandling::Retry && entry.path.empty())
                {
                    prompts->ResumeWaiting();
                    waitingAsks = 0;
                }
                return answer;
            };
            RunEnding ending;
            ending.stopWaiting = [&] {
                // Asked at OneNote's busy answer and again after the pause that follows it: a wait
                // that ends at once does not flash the offer.
                if (++waitingAsks == 2)
                {
                    post(channel, [weak, mailbox] {
                        if (const auto controller = weak.lock())
                            controller->ShowRunWaiting(mailbox);
                    });
                }
                return weak.expired() || prompts->StopWaitingRequested();
            };
            RunOutcome outcome{RunImport(copy, progress, onError, ending), std::move(ending.notice)};
            // A run stopped at a failed entry ends with that entry's error, which the run has
            // logged; the user asked for a stop (at the prompt, or with Stop Import before it), and
            // a stop is what it ends as. Any other error (the page saved on the way out failed)
            // is shown as it is.
            const TOrError<unsigned>& result = outcome.result;
            if (stoppedAt && result.HoldsError() &&
                std::error_condition(result.Error().value(), result.Error().category()) == *stoppedAt)
                outcome.result = MakeImportError(ImportCancelled);
            return outcome;
        },
        [weak](Window&, std::optional<RunOutcome> outcome) {
            const auto controller = weak.lock();
            if (!controller || !controller->importing_)
                return;
            // What the run reported last and the window has not shown yet comes first (the full
            // bar of a run that has ended).
            controller->ShowWaitingProgress();
            if (!outcome)
                controller->Finish(L"Import failed with:\n\n" + std::wstring(unexpectedEnd), Failed);
            else if (outcome->result.HoldsError())
            {
                if (outcome->result.Error().value() != 0)
                    controller->ShowImportResult(outcome->result.Error(), outcome->notice);
            }
            else
                // Also after a stop that came once the last page was saved: all of it was imported.
                controller->ShowImportResult(outcome->result.Value(), outcome->notice);
        });
}

void ImportController::Stop()
{
    if (!importing_)
        return;
    display_.ShowImportStopping();
    // A second stop: the stopped run ends without waiting for OneNote any longer.
    if (prompts_->StopRequested())
    {
        prompts_->RequestStopWaiting();
        display_.SetImportStatus(StoppingText);
        return;
    }
    prompts_->RequestStop();
    display_.SetImportStatus(StoppingText);
}

void ImportController::ShowRunWaiting(const std::shared_ptr<ProgressMailbox>& mailbox)
{
    // Only for the run that waits, and only until it was asked to stop waiting.
    if (importing_ && mailbox == mailbox_ && prompts_->StopRequested() && !prompts_->StopWaitingRequested())
    {
        display_.ShowImportWaiting();
        display_.SetImportStatus(WaitingText);
    }
}

void ImportController::Close() { prompts_->Close(); }

std::wstring ImportController::StatusText(const Progress& progress)
{
    const size_t separator = progress.text.find_last_of(L"\\/");
    const std::wstring name = separator == std::wstring::npos ? progress.text : progress.text.substr(separator + 1);
    return L"(" + std::to_wstring(progress.done) + L"/" + std::to_wstring(progress.total) + L") " + name;
}

std::wstring ImportController::NextEllipsis(const std::wstring& text)
{
    if (text.size() > 3 && text.ends_with(L"..."))
        return text.substr(0, text.size() - 3);
    return text + L".";
}

void ImportController::ShowProgressOf(const std::shared_ptr<ProgressMailbox>& mailbox)
{
    // A closure of an earlier run, which ended meanwhile, shows nothing.
    if (mailbox == mailbox_)
        ShowWaitingProgress();
}

void ImportController::ShowWaitingProgress()
{
    ProgressMailbox::Waiting waiting;
    if (!importing_ || !mailbox_ || !mailbox_->Take(waiting))
    {
        KillTimer(window_.GetHwnd(), TimerId());
        return;
    }
    if (waiting.start && waiting.start != waiting.latest)
        UpdateProgress(waiting.start);
    if (waiting.latest)
        UpdateProgress(waiting.latest);
    if (waiting.tick)
        UpdateProgress(nullptr);
    // Without a timer the window does not look again by itself: the next report posts.
    if (importing_ && (!window_.GetHwnd() ||
                       !SetTimer(window_.GetHwnd(), TimerId(), ProgressPaceMs, &ImportController::LookAgain)))
        mailbox_->StopLooking();
}

void CALLBACK ImportController::LookAgain(HWND, UINT, UINT_PTR timer, DWORD)
{
    // The timer is the controller's own and is killed before the controller goes.
    reinterpret_cast<ImportController*>(timer)->ShowWaitingProgress();
}

void ImportController::UpdateProgress(std::shared_ptr<Progress> progress)
{
    if (!importing_)
        return;
    if (!progress)
    {
        if (!lastProgress_)
            return;
        const int64_t now = clock();
        if (now < lastProgress_->time + 1)
            return;
        lastProgress_->text = NextEllipsis(lastProgress_->text);
        lastProgress_->time = now;
        const __time64_t stamp = now;
        _localtime64_s(&lastProgress_->localTime, &stamp);
        progress = lastProgress_;
    }
    const bool finished = progress->done == progress->total && progress->text.empty();
    // Once a stop is asked for, the status says so until the run has ended.
    if (prompts_->StopRequested() && !finished)
        return;
    lastProgress_ = progress;
    display_.SetImportProgress(progress->total ? static_cast<float>(progress->done) / progress->total : 0.0f);
    display_.SetImportStatus(StatusText(*progress));
    // The end itself is shown with the run's result, which counts only what was imported.
    if (!finished && progress->done == 0 && progress->total != 0)
        BringForward();
}

void ImportController::BringForward() const
{
    // The window the user is to answer: a question of the run that shows meanwhile, over its
    // disabled owner. Brought forward in the owner's place, the question would end up behind it.
    const HWND window = window_.GetHwnd();
    const HWND popup = GetLastActivePopup(window);
    SetForegroundWindow(IsWindowVisible(popup) && IsWindowEnabled(popup) ? popup : window);
}

void ImportController::ShowImportResult(const std::error_code& error, const std::wstring& notice)
{
    if (IsImportError(error, ImportCancelled))
    {
        Finish(L"Cancelled", Cancelled, notice);
        return;
    }
    Finish(L"Import failed with:\n\n" + Utf8ToWide(error.message()), Failed);
}

void ImportController::ShowImportResult(unsigned imported, const std::wstring& notice)
{
    Finish(L"Imported " + std::to_wstring(imported) + (imported == 1 ? L" item" : L" items"), Succeeded, notice);
}

void ImportController::Finish(const std::wstring& status, Outcome outcome, const std::wstring& notice)
{
    BringForward();
    // Reports that arrive while the message box shows no longer count.
    importing_ = false;
    KillTimer(window_.GetHwnd(), TimerId());
    mailbox_.reset();
    if (outcome == Failed)
        ShowErrorMessage(window_.GetHwnd(), status);
    else if (!notice.empty())
        ShowMessage(window_.GetHwnd(), outcome == Cancelled ? L"Import Cancelled" : L"Import Finished",
                    {MessageButtonOK}, MessageButtonOK, nullptr, status + L".\n\n" + notice);
    display_.SetImportStatus(status);
    display_.ShowImportEnded(outcome != Succeeded);
}
