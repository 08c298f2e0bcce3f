// The questions of an import run, asked from a worker and answered in the real dialogs on the
// virtual display: the error prompt's text and answers, the password answer that serves the rest
// of the run, and the cautious answers when nobody can be asked.
#include "batch_import/RunPrompts.h"

#include "framework/text/Text.h"
#include "import_engine/ImportErrors.h"
#include "tests/batch_import/PromptHost.h"
#include "tests/support/ProgramHarness.h"

#include <comdef.h>
#include <gtest/gtest.h>

#include <chrono>
#include <future>

using DialogTest::Child;
using DialogTest::Click;
using PromptTest::AskFromWorker;
using PromptTest::TaskDialogButton;

namespace
{
const Config::Entry gone{L"C:\\Import\\gone.txt", {}, 0, 0};

std::error_condition Condition(const std::error_code& error) { return {error.value(), error.category()}; }

class RunPromptsTest : public DialogTest::Fixture
{
protected:
    std::shared_ptr<AutoLayoutWindow> owner_ = PromptTest::MakeOwner();
    std::shared_ptr<RunPrompts> prompts_ =
        std::make_shared<RunPrompts>(owner_->GetHwnd(), owner_->GetUiChannel());

    ErrorHandling AskAboutGone(const std::error_code& error)
    {
        auto prompts = prompts_;
        return AskFromWorker([prompts, error] { return prompts->AskAboutError(gone, Condition(error)); });
    }

    std::optional<std::wstring> AskPassword(std::optional<std::wstring> tried = std::nullopt)
    {
        auto prompts = prompts_;
        return AskFromWorker([prompts, tried] { return prompts->GetPasswordFor(L"C:\\Import\\locked.pdf", tried); });
    }

    // The HRESULT of the _com_error that the password question raised, S_OK when none.
    HRESULT PasswordFailure(std::optional<std::wstring> tried = std::nullopt)
    {
        try
        {
            AskPassword(tried);
        }
        catch (const _com_error& error)
        {
            return error.Error();
        }
        return S_OK;
    }
};

class PasswordAnswers : public RunPromptsTest
{
};

HWND Edit(HWND dialog) { return DialogTest::Children(dialog, L"Edit").front(); }
} // namespace

TEST_F(RunPromptsTest, ErrorPromptNamesTheFileAndTheMessageAndEachButtonGivesItsAnswer)
{
    const std::error_code error = MakeImportError(FileDoesNotExist, L"File: C:\\Import\\gone.txt");
    EXPECT_EQ(L"Import of file \"C:\\Import\\gone.txt\" failed with: \n\n" + Utf8ToWide(error.message()) +
                  L"\n\nHow would you like to proceed?",
              ImportErrorPromptText(gone.path, Condition(error)));

    const std::pair<const wchar_t*, ErrorHandling> rows[] = {{L"&Retry this file", ErrorHandling::Retry},
                                                             {L"S&kip this file", ErrorHandling::Skip},
                                                             {L"&Stop import", ErrorHandling::Stop}};
    for (const auto& [button, expected] : rows)
    {
        SCOPED_TRACE(testing::Message() << static_cast<int>(expected));
        std::wstring text;
        HWND dialogOwner = nullptr;
        DialogTest::Driver driver(L"Error", {[&](HWND dialog) {
            text = PromptTest::TaskDialogText(dialog);
            dialogOwner = GetWindow(dialog, GW_OWNER);
            if (expected == ErrorHandling::Retry)
                Screenshot::SaveWindow(dialog, L"error-prompt");
            Click(TaskDialogButton(dialog, button));
        }});
        EXPECT_EQ(expected, AskAboutGone(error));
        EXPECT_NE(std::wstring::npos, text.find(L"Import of file \"C:\\Import\\gone.txt\" failed with:"));
        EXPECT_NE(std::wstring::npos, text.find(L"File or folder does not exist"));
        EXPECT_NE(std::wstring::npos, text.find(L"How would you like to proceed?"));
        EXPECT_EQ(owner_->GetHwnd(), dialogOwner);
    }
}

TEST_F(RunPromptsTest, ClosingTheErrorPromptSkipsTheFile)
{
    DialogTest::Driver driver(L"Error", {[&](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }});
    EXPECT_EQ(ErrorHandling::Skip, AskAboutGone(MakeImportError(FileDoesNotExist)));
}

TEST_F(RunPromptsTest, CancelledIsAnsweredWithStopWithoutAPrompt)
{
    EXPECT_EQ(ErrorHandling::Stop, AskAboutGone(MakeImportError(ImportCancelled)));
    EXPECT_EQ(ErrorHandling::Stop,
              PromptImportError(owner_->GetHwnd(), gone, Condition(MakeImportError(ImportCancelled))));
}

TEST_F(RunPromptsTest, AfterAStopNothingIsAskedAndTheRunIsToldToStop)
{
    prompts_->RequestStop();
    EXPECT_EQ(ErrorHandling::Stop, AskAboutGone(MakeImportError(FileDoesNotExist)));
    EXPECT_EQ(E_ABORT, PasswordFailure());
    prompts_->BeginRun();
    EXPECT_FALSE(prompts_->StopRequested()) << "a new run starts without the old stop";
}

TEST_F(RunPromptsTest, AClosingWindowAnswersAtOnce)
{
    prompts_->Close();
    EXPECT_TRUE(prompts_->StopRequested());
    EXPECT_EQ(ErrorHandling::Stop, AskAboutGone(MakeImportError(FileDoesNotExist)));
    EXPECT_EQ(E_ABORT, PasswordFailure());
}

TEST_F(RunPromptsTest, AGoneWindowAnswersAtOnce)
{
    owner_.reset();
    EXPECT_EQ(ErrorHandling::Stop, AskAboutGone(MakeImportError(FileDoesNotExist)));
    EXPECT_EQ(E_ABORT, PasswordFailure());
}

TEST_F(RunPromptsTest, AQuestionWaitingWhenTheWindowGoesIsAnsweredCautiously)
{
    auto prompts = prompts_;
    auto answer = std::async(std::launch::async, [prompts] {
        return prompts->AskAboutError(gone, Condition(MakeImportError(FileDoesNotExist)));
    });
    // The question is posted but this thread has not run it yet: it waits in the window's queue.
    ASSERT_TRUE(Harness::PollUntil([&] {
        MSG posted{};
        return PeekMessageW(&posted, owner_->GetHwnd(), WM_RUNCLOSURE, WM_RUNCLOSURE, PM_NOREMOVE) != FALSE;
    })) << "the worker never asked";
    owner_.reset();
    ASSERT_EQ(std::future_status::ready, answer.wait_for(std::chrono::seconds(10)));
    EXPECT_EQ(ErrorHandling::Stop, answer.get());
}

TEST_F(PasswordAnswers, UseForAllAnswersLaterFilesWithoutAskingUntilThePasswordFailsForOne)
{
    int dialogs = 0;
    std::wstring presetAfterFailure;
    bool useForAllAfterFailure = false;
    {
        DialogTest::Driver driver(L"Password Required", {[&](HWND dialog) {
                                                             ++dialogs;
                                                             SetWindowTextW(Edit(dialog), L"first");
                                                         },
                                                         [&](HWND dialog) {
                                                             Click(Child(dialog, L"Button",
                                                                         L"&Use this password for all remaining PDF files"));
                                                         },
                                                         [&](HWND dialog) { Click(Child(dialog, L"Button", L"  &OK  ")); }});
        EXPECT_EQ(L"first", AskPassword());
    }
    EXPECT_EQ(L"first", AskPassword()) << "no dialog for the next file";
    EXPECT_EQ(L"first", AskPassword(L"other")) << "another password failed: the remembered one is tried";
    {
        DialogTest::Driver driver(L"Password Required", {[&](HWND dialog) {
            ++dialogs;
            presetAfterFailure = UI::GetWindowTextString(Edit(dialog));
            useForAllAfterFailure = SendMessageW(Child(dialog, L"Button", L"&Use this password for all remaining PDF files"),
                                                 BM_GETCHECK, 0, 0) == BST_CHECKED;
            Click(Child(dialog, L"Button", L"Skip printout import for &this file"));
            Click(Child(dialog, L"Button", L"  &OK  "));
        }});
        EXPECT_EQ(std::nullopt, AskPassword(L"first")) << "it failed for this file";
    }
    EXPECT_EQ(2, dialogs);
    EXPECT_EQ(L"first", presetAfterFailure);
    EXPECT_TRUE(useForAllAfterFailure);
    EXPECT_EQ((PasswordAnswer{SkipThisFile, L"", false}), prompts_->RememberedAnswer());
}

TEST_F(PasswordAnswers, WithoutUseForAllEachFileAsksPresetWithTheLastAnswer)
{
    std::wstring preset;
    bool skipFilePreset = false;
    {
        DialogTest::Driver driver(L"Password Required", {[&](HWND dialog) {
                                                             SetWindowTextW(Edit(dialog), L"pw");
                                                             Click(Child(dialog, L"Button", L"  &OK  "));
                                                         }});
        EXPECT_EQ(L"pw", AskPassword());
    }
    {
        DialogTest::Driver driver(L"Password Required", {[&](HWND dialog) {
            preset = UI::GetWindowTextString(Edit(dialog));
            Click(Child(dialog, L"Button", L"Skip printout import for &this file"));
            Click(Child(dialog, L"Button", L"  &OK  "));
        }});
        EXPECT_EQ(std::nullopt, AskPassword());
    }
    {
        DialogTest::Driver driver(L"Password Required", {[&](HWND dialog) {
            skipFilePreset = SendMessageW(Child(dialog, L"Button", L"Skip printout import for &this file"), BM_GETCHECK,
                                          0, 0) == BST_CHECKED;
            Click(Child(dialog, L"Button", L"&Stop import"));
            Click(Child(dialog, L"Button", L"  &OK  "));
        }});
        EXPECT_EQ(E_ABORT, PasswordFailure()) << "stop import";
    }
    EXPECT_EQ(L"pw", preset);
    EXPECT_TRUE(skipFilePreset);
    EXPECT_EQ(StopTheImport, prompts_->RememberedAnswer().choice);
}

TEST_F(PasswordAnswers, SkipAllSkipsEveryLaterFileOfTheRunAndTheNextRunAsksAgain)
{
    {
        DialogTest::Driver driver(L"Password Required", {[&](HWND dialog) {
            Click(Child(dialog, L"Button", L"Skip printout import for &all password protected files"));
            Click(Child(dialog, L"Button", L"  &OK  "));
        }});
        EXPECT_EQ(std::nullopt, AskPassword());
    }
    EXPECT_EQ(std::nullopt, AskPassword()) << "no dialog";
    EXPECT_EQ(std::nullopt, AskPassword(L"tried")) << "no dialog";

    prompts_->BeginRun();
    EXPECT_EQ(PasswordAnswer{}, prompts_->RememberedAnswer());
    int dialogs = 0;
    DialogTest::Driver driver(L"Password Required", {[&](HWND dialog) {
        ++dialogs;
        Click(Child(dialog, L"Button", L"  &OK  "));
    }});
    EXPECT_EQ(L"", AskPassword());
    EXPECT_EQ(1, dialogs);
}
