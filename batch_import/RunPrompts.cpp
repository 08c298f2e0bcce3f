#include "batch_import/RunPrompts.h"

#include "framework/text/Text.h"
#include "framework/ui/dialogs/TaskDialog.h"

#include <comdef.h>

#include <variant>

namespace
{
bool IsCancelled(const std::error_condition& condition)
{
    if (condition.category() != GetImportErrorCategory())
        return false;
    const auto record = GetImportErrorCategory().Find(condition.value());
    return record && record->code == ImportCancelled;
}

// What the UI thread hands back for a password question: a password or none, or the HRESULT that
// stops the run.
using PasswordReply = std::variant<std::optional<std::wstring>, long>;
} // namespace

std::wstring ImportErrorPromptText(const std::wstring& path, const std::error_condition& condition)
{
    return L"Import of file \"" + path + L"\" failed with: \n\n" + Utf8ToWide(condition.message()) +
           L"\n\nHow would you like to proceed?";
}

std::wstring LastSavePromptText(const std::error_condition& condition)
{
    return L"Saving the imported files' page failed with: \n\n" + Utf8ToWide(condition.message()) +
           L"\n\nRetry sends the page again; Stop import gives up what has not reached OneNote. How would you "
           L"like to proceed?";
}

ErrorHandling PromptImportError(HWND owner, const Config::Entry& entry, const std::error_condition& condition)
{
    if (IsCancelled(condition))
        return ErrorHandling::Stop;
    if (entry.path.empty())
    {
        const std::wstring text = LastSavePromptText(condition);
        // Closed without a choice: the page is kept, and sent again.
        return ShowTaskDialog(owner, L"Error", L"", text.c_str(), {L"&Retry saving the page", L"&Stop import"}, false) == 1
                   ? ErrorHandling::Stop
                   : ErrorHandling::Retry;
    }
    const std::wstring text = ImportErrorPromptText(entry.path, condition);
    const unsigned chosen = ShowTaskDialog(owner, L"Error", L"", text.c_str(),
                                           {L"&Retry this file", L"S&kip this file", L"&Stop import"}, false);
    switch (chosen)
    {
    case 0: return ErrorHandling::Retry;
    case 2: return ErrorHandling::Stop;
    // Closed without a choice: the file is left out and the run goes on.
    default: return ErrorHandling::Skip;
    }
}

RunPrompts::RunPrompts(HWND owner, UiChannel channel) : owner_(owner), channel_(std::move(channel)) {}

ErrorHandling RunPrompts::AskAboutError(const Config::Entry& entry, const std::error_condition& condition)
{
    // The page that holds the files is asked about also after a stop: a stop gives up only the
    // waiting for OneNote, not what was imported. A closing window asks nothing.
    const auto answeredByTheStop = [this, &entry] { return entry.path.empty() ? closing_.load() : StopRequested(); };
    if (answeredByTheStop())
        return ErrorHandling::Stop;
    return channel_.Ask(ErrorHandling::Stop, [this, &entry, &condition, &answeredByTheStop] {
        if (answeredByTheStop())
            return ErrorHandling::Stop;
        return PromptImportError(owner_, entry, condition);
    });
}

std::optional<std::wstring> RunPrompts::GetPasswordFor(const std::wstring& path,
                                                        const std::optional<std::wstring>& tried)
{
    if (StopRequested())
        _com_issue_error(E_ABORT);
    const PasswordAnswer remembered = RememberedAnswer();
    if (remembered.choice == SkipAllProtectedFiles)
        return std::nullopt;
    // The password meant for every file is asked for again only where it has just failed.
    if (remembered.choice == UseThisPassword && remembered.useForAll && !(tried && *tried == remembered.password))
        return remembered.password;

    const PasswordReply reply = channel_.Ask(PasswordReply{static_cast<long>(E_ABORT)}, [this, &path] {
        if (StopRequested())
            return PasswordReply{static_cast<long>(E_ABORT)};
        const PasswordAnswer answer = AskForPassword(owner_, path, RememberedAnswer());
        {
            std::lock_guard lock(answerLock_);
            remembered_ = answer;
        }
        switch (answer.choice)
        {
        case UseThisPassword: return PasswordReply{std::optional<std::wstring>(answer.password)};
        case StopTheImport: return PasswordReply{static_cast<long>(E_ABORT)};
        default: return PasswordReply{std::optional<std::wstring>()};
        }
    });
    if (const long* hr = std::get_if<long>(&reply))
        _com_issue_error(*hr);
    return std::get<std::optional<std::wstring>>(reply);
}

void RunPrompts::BeginRun()
{
    stopRequested_ = false;
    stopWaitingRequested_ = false;
    std::lock_guard lock(answerLock_);
    remembered_ = PasswordAnswer{};
}

void RunPrompts::Close()
{
    closing_ = true;
    stopRequested_ = true;
}

PasswordAnswer RunPrompts::RememberedAnswer() const
{
    std::lock_guard lock(answerLock_);
    return remembered_;
}
