// The tabbed dialog on the virtual display: tab widths, the initial tab, switching, the pages'
// commands, closing by Escape and by the Close button, and pictures in both themes.
#include "framework/ui/Containers.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/controls/EditBox.h"
#include "framework/ui/dialogs/TabbedDialog.h"
#include "tests/framework/ui/dialogs/DialogTestSupport.h"
#include "tests/support/TextChecks.h"

#include <cstdlib>
#include <map>
#include <optional>

using DialogTest::Click;
using DialogTest::PressKey;

namespace
{
// A page of a heading, a label, an edit box and a check box that answers its clicks with relayout
// as told, counting how often the page is measured.
class SampleTab : public UI::Tab
{
public:
    SampleTab(std::wstring title, bool relayout) : title(std::move(title)), relayout(relayout) {}

    std::wstring GetTitle() override { return title; }
    bool OnCommand(HWND control, int code) override
    {
        if (UI::IsControlWindow(check, control) && code == BN_CLICKED)
            ++clicks;
        return relayout;
    }
    std::shared_ptr<UI::IControl> CreatePage() override
    {
        check = std::make_shared<UI::Button>(parentWindow, 300, UI::Button::CheckBox, 0, L"Create a new &page", false,
                                             0, true, false);
        edit = std::make_shared<UI::EditBox>(parentWindow, L"Imports", false);
        page = std::make_shared<CountingBox>(UI::ControlList{CreateHeading(title), CreateLabel(L"&Section name", true),
                                                             edit, check});
        return page;
    }

    class CountingBox : public UI::BoxContainer
    {
    public:
        explicit CountingBox(UI::ControlList children)
            : BoxContainer("page", true, Start, UI::Gap(), std::move(children))
        {
        }
        void Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight) override
        {
            ++measures;
            BoxContainer::Measure(graphics, availableWidth, availableHeight);
        }
        int measures = 0;
    };

    std::wstring title;
    bool relayout;
    int clicks = 0;
    std::shared_ptr<UI::Button> check;
    std::shared_ptr<UI::EditBox> edit;
    std::shared_ptr<CountingBox> page;
};

struct Sample
{
    std::shared_ptr<UI::TabbedDialog> dialog;
    std::vector<SampleTab*> tabs;
};

Sample MakeDialog(bool relayout = false)
{
    std::vector<std::unique_ptr<UI::Tab>> tabs;
    Sample sample;
    for (const wchar_t* title : {L"General", L"Import format and output", L"Target"})
    {
        auto tab = std::make_unique<SampleTab>(title, relayout);
        sample.tabs.push_back(tab.get());
        tabs.push_back(std::move(tab));
    }
    const int width = UI::PointsToPixels(375.0f, GetDpiScaleX());
    const int height = UI::PointsToPixels(225.0f, GetDpiScaleX());
    sample.dialog = std::make_shared<UI::TabbedDialog>(std::move(tabs), width, height, true);
    sample.dialog->Create(nullptr, COLOR_WINDOW, 0, 0);
    return sample;
}

class TabbedDialogs : public DialogTest::Fixture
{
};
} // namespace

TEST_F(TabbedDialogs, TabButtonsAllTakeTheWidthOfTheWidest)
{
    Sample sample = MakeDialog();
    std::vector<int> widths;
    sample.dialog->GetUiChannel().Post([&] {
        for (const auto& button : sample.dialog->tabButtons)
        {
            const RECT bounds = DialogTest::ClientRectOf(button->hwnd);
            widths.push_back(bounds.right - bounds.left);
        }
        PressKey(sample.dialog->GetHwnd(), VK_ESCAPE);
    });
    sample.dialog->Show(L"Options", 0);
    ASSERT_EQ(widths.size(), 3u);
    EXPECT_EQ(widths[0], widths[1]);
    EXPECT_EQ(widths[2], widths[1]);
    EXPECT_GT(widths[0], UI::ButtonHeight());
}

TEST_F(TabbedDialogs, InitialTabIsCheckedAndShownAndEscapeClosesTheDialog)
{
    Sample sample = MakeDialog();
    bool openWhileShown = false;
    sample.dialog->GetUiChannel().Post([&] {
        openWhileShown = sample.dialog->IsOpen();
        EXPECT_TRUE(sample.dialog->tabButtons[1]->IsChecked());
        EXPECT_FALSE(sample.dialog->tabButtons[0]->IsChecked());
        EXPECT_TRUE(IsWindowVisible(sample.tabs[1]->check->hwnd));
        EXPECT_FALSE(IsWindowVisible(sample.tabs[0]->check->hwnd));
        EXPECT_EQ(GetFocus(), sample.dialog->closeButton->hwnd);
        PressKey(sample.dialog->GetHwnd(), VK_ESCAPE);
    });
    sample.dialog->Show(L"Options", 1);
    EXPECT_TRUE(openWhileShown);
    EXPECT_FALSE(sample.dialog->IsOpen());
    EXPECT_FALSE(sample.dialog->GetHwnd());
}

TEST_F(TabbedDialogs, ClickedTabShowsItsPageAndCloseButtonEndsTheDialog)
{
    Sample sample = MakeDialog();
    sample.dialog->GetUiChannel().Post([&] {
        Click(sample.dialog->tabButtons[2]->hwnd);
        sample.dialog->GetUiChannel().Post([&] {
            EXPECT_EQ(sample.dialog->currentTab, 2);
            EXPECT_TRUE(IsWindowVisible(sample.tabs[2]->check->hwnd));
            EXPECT_FALSE(IsWindowVisible(sample.tabs[0]->check->hwnd));
            Click(sample.dialog->closeButton->hwnd);
        });
    });
    sample.dialog->Show(L"Options", 0);
    EXPECT_FALSE(sample.dialog->IsOpen());
}

TEST_F(TabbedDialogs, PageCommandLaysOutAgainOnlyWhenTheTabAsks)
{
    for (const bool relayout : {false, true})
    {
        Sample sample = MakeDialog(relayout);
        int before = 0;
        sample.dialog->GetUiChannel().Post([&] {
            before = sample.tabs[0]->page->measures;
            Click(sample.tabs[0]->check->hwnd);
            sample.dialog->GetUiChannel().Post([&] { PressKey(sample.dialog->GetHwnd(), VK_ESCAPE); });
        });
        sample.dialog->Show(L"Options", 0);
        EXPECT_EQ(sample.tabs[0]->clicks, 1);
        EXPECT_EQ(sample.tabs[0]->page->measures > before, relayout) << "relayout " << relayout;
    }
}

namespace
{
class TabbedDialogScreenshot : public DialogTest::Themed
{
};

int Distance(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}
} // namespace

// What the picture shows in each theme: the tab column and the page in the theme's colours, the
// checked tab apart from the others, and the shown page's text in the theme's text colour.
TEST_P(TabbedDialogScreenshot, OptionsWithThreeTabs)
{
    Sample sample = MakeDialog();
    std::optional<Screenshot::ClientPicture> picture;
    std::vector<RECT> tabs;
    RECT checkBox{};
    RECT edit{};
    RECT client{};
    std::vector<std::string> faint;
    sample.dialog->GetUiChannel().Post([&] {
        const HWND dialog = sample.dialog->GetHwnd();
        picture.emplace(dialog);
        Screenshot::Save(picture->Capture(), L"tabs-" + ThemeName());
        faint = GetParam() ? TextChecks::FaintText(dialog) : std::vector<std::string>();
        for (const auto& button : sample.dialog->tabButtons)
            tabs.push_back(DialogTest::ClientRectOf(button->hwnd));
        checkBox = DialogTest::ClientRectOf(sample.tabs[1]->check->hwnd);
        edit = DialogTest::ClientRectOf(sample.tabs[1]->edit->hwnd);
        GetClientRect(dialog, &client);
        PressKey(dialog, VK_ESCAPE);
    });
    sample.dialog->Show(L"Options", 1);
    ASSERT_TRUE(picture);
    EXPECT_EQ(faint, std::vector<std::string>());
    ASSERT_EQ(tabs.size(), 3u);
    const int clientWidth = client.right;

    // Under the tabs, the column; right of the page's controls, the page.
    EXPECT_EQ(picture->At(tabs[2].left + 2, tabs[2].bottom + 10), GetThemeColor(COLOR_BTNFACE)) << "the tab column";
    EXPECT_EQ(picture->At(clientWidth - 2, checkBox.bottom + 10), GetThemeColor(COLOR_WINDOW)) << "the page";

    // The checked tab shows a colour, at least as many pixels of it as its edge has, that the
    // others do not show.
    const auto checked = picture->Colours(tabs[1]);
    std::map<COLORREF, int> others = picture->Colours(tabs[0]);
    for (const auto& [colour, count] : picture->Colours(tabs[2]))
        others[colour] += count;
    const int edge = (tabs[1].right - tabs[1].left) + (tabs[1].bottom - tabs[1].top);
    int apart = 0;
    for (const auto& [colour, count] : checked)
        if (!others.contains(colour) && count >= edge)
            ++apart;
    EXPECT_GT(apart, 0) << "the checked tab looks like the others";

    // The heading and label of the shown page, above its edit box, are drawn in the text colour.
    const COLORREF text = GetThemeColor(COLOR_WINDOWTEXT);
    const COLORREF page = GetThemeColor(COLOR_WINDOW);
    int ink = 0;
    for (const auto& [colour, count] : picture->Colours({edit.left - 20, 0, clientWidth, edit.top}))
        if (Distance(colour, text) * 4 < Distance(page, text))
            ink += count;
    EXPECT_GT(ink, 100) << "the page's heading and label are not drawn in the text colour";
}

INSTANTIATE_TEST_SUITE_P(Themes, TabbedDialogScreenshot, testing::Bool(), DialogTest::ThemeTestName);
