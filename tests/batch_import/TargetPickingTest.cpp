// Picking the import's target in the OneNote stand-in's quick filing dialog (in this process): what
// the picker is asked to show for each output format, what a choice, a cancel and a failure do,
// that the callback never outlives the window, and how the chosen target shows as a link.
#include "batch_import/TargetPicking.h"

#include "framework/text/Text.h"
#include "framework/ui/controls/Label.h"
#include "import_engine/ImportConfig.h"
#include "tests/batch_import/PromptHost.h"
#include "tests/batch_import/DemoSectionTest.h"

#include <gtest/gtest.h>

#include <optional>

using DialogTest::Child;
using DialogTest::Click;

namespace
{
class TargetPicking : public DemoSectionTest
{
protected:
    void SetUp() override
    {
        DemoSectionTest::SetUp();
        PromptTest::UseUiResources();
        window_ = PromptTest::MakeOwner();
        picker_ = std::make_shared<TargetPicker>(window_->GetHwnd(), [this](const TargetPicker::Choice& choice) {
            chosen_ = choice;
            ++choices_;
        });
    }

    void TearDown() override
    {
        picker_.reset();
        window_.reset();
        DemoSectionTest::TearDown();
    }

    // The arguments of the calls of one method, in order.
    std::vector<std::vector<std::wstring>> CallsOf(const std::wstring& method) const
    {
        std::vector<std::vector<std::wstring>> found;
        for (const auto& call : Calls())
            if (call.method == method)
                found.push_back(call.arguments);
        return found;
    }

    bool WaitForTheCallback()
    {
        return UiTest::PumpUntil([&] { return !CallsOf(L"Callback.OnDialogClosed").empty(); },
                                 std::chrono::seconds(10));
    }

    void Answer(int button, const std::wstring& selected)
    {
        // The store stays as it is: seeding it again would give its objects new IDs.
        WriteScenario("quickfiling " + std::to_string(button) + " " +
                      (selected.empty() ? std::string("-") : WideToUtf8(selected)) + " 50\n");
    }

    std::shared_ptr<AutoLayoutWindow> window_;
    std::shared_ptr<TargetPicker> picker_;
    std::optional<TargetPicker::Choice> chosen_;
    int choices_ = 0;
};

std::vector<std::wstring> Args(std::initializer_list<std::wstring> values) { return values; }
using CallArgs = std::vector<std::vector<std::wstring>>;
} // namespace

TEST_F(TargetPicking, ASinglePageFormatShowsAndAcceptsPagesAndTheChoiceIsResolved)
{
    Answer(0, sectionId_);
    picker_->Pick(Config::InsertAllFilesIntoASinglePage, false);
    EXPECT_TRUE(picker_->IsOpen());
    ASSERT_TRUE(WaitForTheCallback());

    EXPECT_EQ(CallArgs{Args({L"Choose Target Location"})}, CallsOf(L"QuickFilingDialog.put_Title"));
    EXPECT_EQ(CallArgs{Args({L"Choose a location to import files"})}, CallsOf(L"QuickFilingDialog.put_Description"));
    EXPECT_EQ(CallArgs{Args({L"1", L"false", L"true", L"false"})}, CallsOf(L"QuickFilingDialog.SetRecentResults"));
    EXPECT_EQ(CallArgs{Args({L"8"})}, CallsOf(L"QuickFilingDialog.put_TreeDepth"));
    EXPECT_EQ(CallArgs{Args({std::to_wstring(reinterpret_cast<ULONG_PTR>(window_->GetHwnd()))})},
              CallsOf(L"QuickFilingDialog.put_ParentWindowHandle"));
    EXPECT_EQ(CallArgs{Args({L"Select Import Location", L"15", L"0", L"true"})},
              CallsOf(L"QuickFilingDialog.AddButton"));
    EXPECT_EQ(1u, CallsOf(L"QuickFilingDialog.Run").size());

    ASSERT_EQ(1, choices_);
    EXPECT_EQ(ON16::heSections, chosen_->target.kind);
    EXPECT_EQ(sectionName_, chosen_->target.name);
    EXPECT_EQ(sectionLink_, chosen_->target.link);
    EXPECT_EQ(sectionId_, chosen_->id);
    EXPECT_FALSE(chosen_->startImport);
    EXPECT_FALSE(picker_->IsOpen()) << "OneNote is let go once the picker has answered";
}

TEST_F(TargetPicking, OtherFormatsStopAtSectionsAndAPendingStartComesWithTheChoice)
{
    Answer(0, sectionId_);
    picker_->Pick(Config::InsertEachFileOnASeparatePage, true);
    ASSERT_TRUE(WaitForTheCallback());
    EXPECT_EQ(CallArgs{Args({L"1", L"true", L"false", L"false"})}, CallsOf(L"QuickFilingDialog.SetRecentResults"));
    EXPECT_EQ(CallArgs{Args({L"4"})}, CallsOf(L"QuickFilingDialog.put_TreeDepth"));
    EXPECT_EQ(CallArgs{Args({L"Select Import Location", L"7", L"0", L"true"})},
              CallsOf(L"QuickFilingDialog.AddButton"));
    ASSERT_EQ(1, choices_);
    EXPECT_TRUE(chosen_->startImport);
}

TEST_F(TargetPicking, CancellingChoosesNothingAndDropsThePendingStart)
{
    Answer(1, L"");
    picker_->Pick(Config::InsertEachFileOnASeparatePage, true);
    ASSERT_TRUE(WaitForTheCallback());
    EXPECT_EQ(0, choices_);
    EXPECT_FALSE(picker_->IsOpen());

    // The next pick, not started by an import, starts none.
    Answer(0, sectionId_);
    const size_t before = CallsOf(L"Callback.OnDialogClosed").size();
    picker_->Pick(Config::InsertEachFileOnASeparatePage, false);
    ASSERT_TRUE(UiTest::PumpUntil([&] { return CallsOf(L"Callback.OnDialogClosed").size() > before; }));
    ASSERT_EQ(1, choices_);
    EXPECT_FALSE(chosen_->startImport);
}

TEST_F(TargetPicking, ACallbackThroughIDispatchIsReceivedToo)
{
    WriteScenario("quickfiling 0 " + WideToUtf8(sectionId_) + " 50\ncallback invoke\n");
    picker_->Pick(Config::InsertEachFileOnASeparatePage, false);
    ASSERT_TRUE(WaitForTheCallback());
    EXPECT_EQ(1, choices_);
    EXPECT_EQ(L"invoke", CallsOf(L"Callback.OnDialogClosed").front().at(3));
}

TEST_F(TargetPicking, ACallbackAfterTheWindowIsGoneDoesNothingAndAnswersOneNoteWell)
{
    Answer(0, sectionId_);
    picker_->Pick(Config::InsertEachFileOnASeparatePage, true);
    picker_.reset();
    ASSERT_TRUE(WaitForTheCallback());
    EXPECT_EQ(0, choices_);
    EXPECT_EQ(S_OK, [&] {
        for (const auto& call : Calls())
            if (call.method == L"Callback.OnDialogClosed")
                return call.result;
        return E_FAIL;
    }());
}

TEST_F(TargetPicking, OneNoteThatCannotBeReachedIsShownInAnErrorBox)
{
    WriteScenario("store demo\ncreate 0x80040154\n");
    std::wstring text;
    DialogTest::Driver driver(L"Error", {[&](HWND dialog) {
        for (const HWND label : DialogTest::Children(dialog, L"SysLink"))
            text += UI::GetWindowTextString(label);
        Click(Child(dialog, L"Button", L"&OK"));
    }});
    picker_->Pick(Config::InsertEachFileOnASeparatePage, true);
    EXPECT_NE(std::wstring::npos, text.find(L"80040154")) << WideToUtf8(text);
    EXPECT_FALSE(picker_->IsOpen());
    EXPECT_EQ(0, choices_);
}

TEST_F(TargetPicking, AnObjectThatCannotBeResolvedIsShownInAnErrorBox)
{
    WriteScenario("quickfiling 0 {00000000-1111-2222-3333-444444444444}{1}{B0} 50\n");
    bool shown = false;
    DialogTest::Driver driver(L"Error", {[&](HWND dialog) {
        shown = true;
        Click(Child(dialog, L"Button", L"&OK"));
    }});
    picker_->Pick(Config::InsertEachFileOnASeparatePage, true);
    ASSERT_TRUE(UiTest::PumpUntil([&] { return shown && !driver.Dialog(); }, std::chrono::seconds(10)));
    EXPECT_EQ(0, choices_);
    EXPECT_FALSE(picker_->IsOpen());
}

TEST(TargetLabel, ReadsImportIntoTheKindAndTheNameAsALink)
{
    const HierarchyObject section{ON16::heSections, L"Meetings", L"onenote:///C:/Notes/Meetings.one"};
    EXPECT_EQ(L"Import into Section: <A HREF=\"onenote:///C:/Notes/Meetings.one\">Meetings</A>",
              TargetLabelMarkup(section));
    EXPECT_EQ(L"Pic&k a location to import (Section: Meetings)\tAlt+K", TargetMenuText(section));
    const std::pair<ON16::HierarchyElement, const wchar_t*> prefixes[] = {{ON16::heNotebooks, L"Notebook: "},
                                                                          {ON16::heSectionGroups, L"Section Group: "},
                                                                          {ON16::heSections, L"Section: "},
                                                                          {ON16::hePages, L"Page: "},
                                                                          {static_cast<ON16::HierarchyElement>(16), L""}};
    for (const auto& [kind, prefix] : prefixes)
        EXPECT_EQ(prefix, TargetKindPrefix(kind));
}

TEST(TargetLabel, MarkupInTheNameOrTheLinkNeitherBreaksNorAddsALink)
{
    PromptTest::UseUiResources();
    const auto window = PromptTest::MakeOwner();
    const HierarchyObject tricky{ON16::hePages, L"a</A><A HREF=\"evil:x\">b",
                                 L"onenote:#x\" onclick=\"y<A HREF=\"evil:z\">"};
    UI::Label label(window->GetHwnd(), TargetLabelMarkup(tricky), false, UI::Label::Left, 0, true);

    LITEM first{};
    first.mask = LIF_ITEMINDEX | LIF_URL;
    first.iLink = 0;
    ASSERT_TRUE(SendMessageW(label.hwnd, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&first)));
    EXPECT_EQ(std::wstring(L"onenote:#x%22 onclick=%22y%3CA HREF=%22evil:z%22%3E"), first.szUrl);
    LITEM second{};
    second.mask = LIF_ITEMINDEX | LIF_URL;
    second.iLink = 1;
    EXPECT_FALSE(SendMessageW(label.hwnd, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&second))) << "one link only";

    std::wstring shown = GetDisplayText(label.hwnd);
    std::erase(shown, L'\x200B');
    EXPECT_EQ(L"Import into Page: a</A><A HREF=\"evil:x\">b", shown);
}
