// One window holding every control, photographed in the light and in the dark theme.
#include "framework/ui/Containers.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/controls/Button.h"
#include "framework/ui/controls/ComboBox.h"
#include "framework/ui/controls/DateTimePicker.h"
#include "framework/ui/controls/EditBox.h"
#include "framework/ui/controls/Image.h"
#include "framework/ui/controls/InfoBadge.h"
#include "framework/ui/controls/Label.h"
#include "framework/ui/controls/ListView.h"
#include "framework/ui/controls/Progress.h"
#include "tests/framework/ui/controls/ControlTestSupport.h"
#include "tests/support/TextChecks.h"

#include <map>

using ControlTest::Fixture;
using ControlTest::Host;

namespace
{
class EveryControl : public Fixture
{
protected:
    template <typename T>
    std::shared_ptr<T> Fixed(std::shared_ptr<T> control, int width, int height = 0)
    {
        control->width = width;
        if (height)
            control->height = height;
        return control;
    }

    std::shared_ptr<UI::BoxContainer> Row(UI::ControlList children)
    {
        return std::make_shared<UI::BoxContainer>("row", false, UI::BoxContainer::Centre, UI::Gap(),
                                                  std::move(children));
    }

    // Builds the window's content; the list of files and the empty list are kept for checks.
    void Populate(Host& window)
    {
        const HWND parent = window.GetHwnd();
        using UI::Button;
        auto label = Fixed(std::make_shared<UI::Label>(parent, L"A label with a &mnemonic", true), 170);
        auto link = Fixed(std::make_shared<UI::Label>(
                              parent, L"See <a href=\"https://example.invalid/\">the link</a>", false, 0, 0, true),
                          150);
        auto single = Fixed(std::make_shared<UI::EditBox>(parent, L"Single line", false), 150);
        auto multi = Fixed(std::make_shared<UI::EditBox>(parent, L"Several\r\nlines", true), 150, 44);
        auto combo = Fixed(std::make_shared<UI::ComboBox>(parent, 40, false), 120);
        combo->SetItems({L"Each file on its own page", L"All on one page"});
        combo->SetSelection(0);
        auto picker = Fixed(std::make_shared<UI::DateTimePicker>(parent, 41, UI::DateTimePicker::LongDate,
                                                                 DateTime(2026, 12, 8, 12)),
                            180);
        progress = Fixed(std::make_shared<UI::Progress>(parent), 300);
        progress->SetProgress(0.6f);
        auto push = std::make_shared<Button>(parent, 50, Button::Push, 0, L"Push", false, 2, true, false);
        auto defaultPush = std::make_shared<Button>(parent, 51, Button::DefaultPush, 0, L"Default", false, 2, true,
                                                    false);
        auto pictured = std::make_shared<Button>(parent, 52, Button::Push, ControlTest::pictureId, L"Add", false, 2,
                                                 true, false);
        auto split = std::make_shared<Button>(parent, 53, Button::Split, ControlTest::pictureId, nullptr, false, 2,
                                              true, false);
        auto disabled = std::make_shared<Button>(parent, 54, Button::Push, 0, L"Disabled", false, 2, true, false);
        disabled->Enable(false);
        auto check = std::make_shared<Button>(parent, 60, Button::CheckBox, 0, L"Check", false, 0, true, false);
        check->SetChecked(true);
        auto one = std::make_shared<Button>(parent, 61, Button::Radio, L"One", true, L"choice");
        auto two = std::make_shared<Button>(parent, 62, Button::Radio, L"Two", false, L"choice");
        one->SetChecked(true);
        auto toggle = std::make_shared<Button>(parent, 63, Button::PushLikeCheckBox, 0, L"Toggle", false, 2, true,
                                               false);
        toggle->SetChecked(true);
        auto image = std::make_shared<UI::Image>(parent, ControlTest::pictureId);
        auto info = UI::CreateControlWithInfo(
            parent, Fixed(std::make_shared<UI::Label>(parent, L"Supported file types"), 130, 0),
            L"Text, HTML, PDF, Word, PowerPoint and pictures");

        files = std::make_shared<UI::ListView>(parent, true, true, true, false);
        SetWindowLongW(files->hwnd, GWL_STYLE, (GetWindowLongW(files->hwnd, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_REPORT);
        for (const auto& [index, name] : {std::pair{0, L"File"}, std::pair{1, L"Folder"}})
        {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = 160;
            column.pszText = const_cast<wchar_t*>(name);
            SendMessageW(files->hwnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
        }
        files->SetImages({ControlTest::pictureId}, {}, 0, false);
        files->InsertItems(0, {{L"report.pdf", 0, {L"C:\\Documents"}, 0},
                               {L"notes.txt", 0, {L"C:\\Documents"}, 0},
                               {L"slides.pptx", 1, {L"C:\\Documents\\Talks"}, 0}});
        files->SetSelectedItems({1});
        empty = std::make_shared<UI::ListView>(parent, false, false, false, false);
        SetWindowLongW(empty->hwnd, GWL_STYLE, (GetWindowLongW(empty->hwnd, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_REPORT);
        empty->getEmptyMarkup = [] { return std::wstring(L"Drop files here"); };
        window.notify = [this](NMHDR* header, LRESULT& result) {
            for (const auto& list : {files, empty})
                if (header && UI::IsControlWindow(list, header->hwndFrom))
                {
                    bool answer = false;
                    if (list->OnNotify(header, answer))
                    {
                        result = answer;
                        return true;
                    }
                }
            return false;
        };

        auto root = std::make_shared<UI::BoxContainer>(
            "root", true, UI::BoxContainer::Start, UI::Gap(),
            UI::ControlList{Row({label, link}), Row({single, multi}), Row({combo, picker}), progress,
                            Row({push, defaultPush, pictured, split, disabled}), Row({check, one, two, toggle}),
                            Row({image, info}), Fixed(files, 340, 110), Fixed(empty, 340, 60)});
        pushButton = push;
        splitButton = split;
        comboBox = combo;
        datePicker = picker;
        multiLine = multi;
        window.SetRootControl(root);
        window.LayoutToClient(nullptr);
        UiTest::PumpWaiting();
    }

    // A pixel of the client area.
    static COLORREF ClientPixel(HWND window, const Screenshot::Capture& capture, POINT point)
    {
        ClientToScreen(window, &point);
        RECT bounds{};
        GetWindowRect(window, &bounds);
        return capture.At(point.x - bounds.left, point.y - bounds.top);
    }

    static POINT ChildPoint(HWND child, int x, int y)
    {
        POINT point{x, y};
        MapWindowPoints(child, GetParent(child), &point, 1);
        return point;
    }

    // A rectangle of a control in the client coordinates of the window.
    static RECT InWindow(HWND window, HWND control, RECT area)
    {
        MapWindowPoints(control, window, reinterpret_cast<POINT*>(&area), 2);
        return area;
    }

    // Where the date field shows its date otherwise than the locale writes it ("Tuesday , December
    // 8 , 2026"): the columns of the field that hold ink, from the first, are not those of the date
    // drawn in the field's font.
    std::vector<std::string> DateSpacing(HWND window) const
    {
        SYSTEMTIME value = datePicker->GetValue();
        wchar_t date[128] = {};
        GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &value, nullptr, date, 128);
        RECT field{};
        GetClientRect(datePicker->hwnd, &field);
        field.right -= GetSystemMetrics(SM_CXVSCROLL);
        const TextChecks::Shown shown(window);
        const RECT area = InWindow(window, datePicker->hwnd, field);
        const COLORREF background = TextChecks::CommonColour(shown, area);
        std::vector<bool> inked;
        for (int x = area.left; x < area.right; ++x)
        {
            bool any = false;
            for (int y = area.top; y < area.bottom; ++y)
                any = any || shown.At(x, y) != background;
            inked.push_back(any);
        }

        // The date drawn whole on a canvas of its own, in the field's font.
        const Owners::WindowDC screen(nullptr);
        Owners::MemoryDC memory(CreateCompatibleDC(screen.get()));
        Owners::Bitmap canvas(CreateCompatibleBitmap(screen.get(), 600, 60));
        const Owners::SelectedObject selected(memory.get(), canvas.get());
        const Owners::Brush fill(CreateSolidBrush(RGB(255, 255, 255)));
        RECT whole{0, 0, 600, 60};
        FillRect(memory.get(), &whole, fill.get());
        const Owners::SelectedObject font(memory.get(),
                                          reinterpret_cast<HGDIOBJ>(SendMessageW(datePicker->hwnd, WM_GETFONT, 0, 0)));
        SetTextColor(memory.get(), RGB(0, 0, 0));
        SetBkMode(memory.get(), TRANSPARENT);
        DrawTextW(memory.get(), date, -1, &whole, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        std::vector<bool> written;
        for (int x = 0; x < 600; ++x)
        {
            bool any = false;
            for (int y = 0; y < 60; ++y)
                any = any || GetPixel(memory.get(), x, y) != RGB(255, 255, 255);
            written.push_back(any);
        }
        const auto trimmed = [](std::vector<bool> columns) {
            columns.erase(columns.begin(), std::find(columns.begin(), columns.end(), true));
            const auto last = std::find(columns.rbegin(), columns.rend(), true);
            columns.erase(last.base(), columns.end());
            return columns;
        };
        if (trimmed(inked) != trimmed(written))
            return {"the field does not show \"" + WideToUtf8(date) + "\" as it is written"};
        return {};
    }

    // The parts that the controls draw in light colours of their own unless the theme paints them:
    // one line for each whose colour is not the dark theme's.
    std::vector<std::string> LightParts(HWND window) const
    {
        std::vector<std::string> light;
        const TextChecks::Shown shown(window);
        const auto expect = [&](const char* part, const RECT& area, int colourIndex) {
            const COLORREF found = TextChecks::CommonColour(shown, area);
            if (found != GetThemeColor(colourIndex))
                light.push_back(std::string(part) + " is " + TextChecks::Hex(found) + ", not " +
                                TextChecks::Hex(GetThemeColor(colourIndex)));
        };
        COMBOBOXINFO combo{};
        combo.cbSize = sizeof combo;
        GetComboBoxInfo(comboBox->hwnd, &combo);
        expect("the combo box's button", InWindow(window, comboBox->hwnd, combo.rcButton), COLOR_BTNFACE);
        RECT picker{};
        GetClientRect(datePicker->hwnd, &picker);
        picker.left = picker.right - GetSystemMetrics(SM_CXVSCROLL);
        expect("the date field's button", InWindow(window, datePicker->hwnd, picker), COLOR_BTNFACE);
        SCROLLBARINFO bar{};
        bar.cbSize = sizeof bar;
        GetScrollBarInfo(multiLine->hwnd, OBJID_VSCROLL, &bar);
        RECT track = bar.rcScrollBar;
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&track), 2);
        expect("the multi-line edit's scroll bar", track, COLOR_BTNFACE);
        RECT bar60{};
        GetClientRect(progress->hwnd, &bar60);
        bar60.left = bar60.right * 7 / 10;
        expect("the progress bar's empty part", InWindow(window, progress->hwnd, bar60), COLOR_WINDOW);
        RECT row{};
        row.left = LVIR_BOUNDS;
        SendMessageW(files->hwnd, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
        expect("the selected row", InWindow(window, files->hwnd, row), COLOR_HIGHLIGHT);
        const auto header = reinterpret_cast<HWND>(SendMessageW(files->hwnd, LVM_GETHEADER, 0, 0));
        RECT columns{};
        GetClientRect(header, &columns);
        expect("the list's column header", InWindow(window, header, columns), COLOR_BTNFACE);
        // The split part right of the line holds the arrow, in the text colour.
        RECT split{};
        GetClientRect(splitButton->hwnd, &split);
        split.left = split.right - UI::Margin() + 2;
        InflateRect(&split, 0, -4);
        split.right -= 3;
        const std::map<COLORREF, int> inSplit = shown.Colours(InWindow(window, splitButton->hwnd, split));
        if (!inSplit.contains(GetThemeColor(COLOR_WINDOWTEXT)))
            light.push_back("the split button shows no arrow");
        return light;
    }

    std::shared_ptr<UI::Progress> progress;
    std::shared_ptr<UI::ListView> files;
    std::shared_ptr<UI::ListView> empty;
    std::shared_ptr<UI::Button> pushButton;
    std::shared_ptr<UI::Button> splitButton;
    std::shared_ptr<UI::ComboBox> comboBox;
    std::shared_ptr<UI::DateTimePicker> datePicker;
    std::shared_ptr<UI::EditBox> multiLine;
};
} // namespace

TEST_F(EveryControl, LightWindowShowsNativeControls)
{
    Host& window = MakeHost(false, 380, 560);
    Populate(window);
    EXPECT_EQ(SendMessageW(progress->hwnd, PBM_GETPOS, 0, 0), 600);
    EXPECT_EQ(files->GetSelectedItems(), (std::vector<unsigned>{1}));
    EXPECT_FALSE(pushButton->IsOwnerDrawn());
    const Screenshot::Capture capture = Screenshot::CaptureWindow(window.GetHwnd());
    Screenshot::Save(capture, L"light");
    EXPECT_EQ(ClientPixel(window.GetHwnd(), capture, {2, 2}), GetThemeColor(COLOR_BTNFACE));
    EXPECT_EQ(DateSpacing(window.GetHwnd()), std::vector<std::string>());
}

TEST_F(EveryControl, DarkWindowShowsOwnerDrawnAndRecolouredControls)
{
    if (IsHighContrast())
        GTEST_SKIP() << "high contrast is on";
    Host& window = MakeHost(true, 380, 560);
    Populate(window);
    EXPECT_TRUE(pushButton->IsOwnerDrawn());
    const Screenshot::Capture capture = Screenshot::CaptureWindow(window.GetHwnd());
    Screenshot::Save(capture, L"dark");
    EXPECT_EQ(ClientPixel(window.GetHwnd(), capture, {2, 2}), GetThemeColor(COLOR_WINDOW));
    // The push button's frame is drawn in the text colour one pixel inside its edge.
    const UI::Rect button = UI::GetClientRectangle(pushButton->hwnd);
    const int u = static_cast<int>(0.75f * GetDpiScaleX());
    EXPECT_EQ(ClientPixel(window.GetHwnd(), capture, ChildPoint(pushButton->hwnd, u, button.height / 2)),
              GetThemeColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(LightParts(window.GetHwnd()), std::vector<std::string>());
    EXPECT_EQ(TextChecks::FaintText(window.GetHwnd()), std::vector<std::string>());
    EXPECT_EQ(DateSpacing(window.GetHwnd()), std::vector<std::string>());
}
