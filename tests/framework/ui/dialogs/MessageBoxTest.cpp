// Message boxes run for real on the virtual display, driven from a timer: captions, default button,
// Escape and Enter, validation of required fields, radio groups, colour and date items, errors of
// the callback, and the process-wide override.
#include "framework/com/ComError.h"
#include "framework/com/ErrorMessage.h"
#include "framework/text/DateTime.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/controls/ColorPicker.h"
#include "framework/ui/controls/LinkText.h"
#include "framework/ui/dialogs/MessageBox.h"
#include "tests/framework/ui/dialogs/DialogTestSupport.h"
#include "tests/support/TextChecks.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <iterator>
#include <ostream>

using DialogTest::Child;
using DialogTest::Children;
using DialogTest::Click;
using DialogTest::Driver;
using DialogTest::PressKey;

namespace
{
class MessageBoxes : public DialogTest::Fixture
{
};

// The columns without ink between the last of a link label's plain text and its link's first (the
// link told by the light theme's link colour, blue above red); -1 when either is missing.
int BlankBeforeTheLink(HWND label)
{
    const Screenshot::ClientPicture picture(label);
    RECT client{};
    GetClientRect(label, &client);
    const COLORREF background = picture.At(0, 0);
    int linkStart = -1;
    int plainEnd = -1;
    for (int x = 0; x < client.right && linkStart < 0; ++x)
        for (int y = 0; y < client.bottom; ++y)
        {
            const COLORREF pixel = picture.At(x, y);
            if (pixel == background)
                continue;
            if (GetBValue(pixel) > GetRValue(pixel) + 40)
                linkStart = x;
            else
                plainEnd = x;
        }
    return linkStart < 0 || plainEnd < 0 ? -1 : linkStart - plainEnd - 1;
}

class GermanCaptions : public IMessageBoxDataProvider
{
public:
    std::wstring GetButtonText(int id) override { return id == 0 ? L"&Ja" : id == 1 ? L"&Nein" : L"?"; }
    COLORREF* GetCustomColors() override { return withColors ? colors : nullptr; }
    void OnCustomColorsChanged() override { ++changes; }

    bool withColors = false;
    COLORREF colors[16]{};
    int changes = 0;
};

MessageItem Item(MessageItemKind kind, const std::wstring& label, const std::wstring& value = {})
{
    MessageItem item;
    item.kind = kind;
    item.label = label;
    item.value = value;
    return item;
}

MessageItem Radio(const std::wstring& label, bool checked, bool groupStart = false)
{
    MessageItem item = Item(MessageItemKind::RadioButton, label, checked ? L"true" : L"false");
    item.groupStart = groupStart;
    return item;
}

// What a box's link notifications told, kept from opening anything while the box's window procedure
// is replaced by Record's.
class LinkNotifications
{
public:
    struct Told
    {
        UINT code;
        int link;
        std::wstring url;
        bool operator==(const Told&) const = default;
        friend void PrintTo(const Told& told, std::ostream* out)
        {
            *out << (told.code == static_cast<UINT>(NM_CLICK) ? "click" : "return") << " on link " << told.link
                 << " to " << testing::PrintToString(told.url);
        }
    };

    ~LinkNotifications() { Stop(); }
    void Record(HWND box)
    {
        box_ = box;
        boxProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LinkNotifications::Proc)));
    }
    void Stop()
    {
        if (box_ && IsWindow(box_))
            SetWindowLongPtrW(box_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(boxProc_));
        box_ = nullptr;
    }
    static inline std::vector<Told> told;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (message == WM_NOTIFY && (header->code == static_cast<UINT>(NM_CLICK) ||
                                     header->code == static_cast<UINT>(NM_RETURN)))
        {
            const auto* link = reinterpret_cast<const NMLINK*>(lParam);
            told.push_back({header->code, link->item.iLink, link->item.szUrl});
            return 0;
        }
        return CallWindowProcW(boxProc_, window, message, wParam, lParam);
    }
    static inline WNDPROC boxProc_ = nullptr;
    HWND box_ = nullptr;
};

// The keyboard cues of a window as Windows keeps them while they are to show only once the keyboard
// is used: the focus cue hidden until dialog navigation (Tab) shows it. Wine answers every window
// with the cues shown, and its navigation leaves them as they are; this plays Windows' part for
// one window while it lives.
class KeyboardCues
{
public:
    ~KeyboardCues() { Stop(); }
    void Answer(HWND window)
    {
        window_ = window;
        state_ = UISF_HIDEFOCUS;
        windowProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeyboardCues::Proc)));
    }
    // What the dialog's navigation does at Tab.
    void ShowFocus()
    {
        state_ &= ~UISF_HIDEFOCUS;
        SendMessageW(window_, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    }
    void Stop()
    {
        if (window_ && IsWindow(window_))
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProc_));
        window_ = nullptr;
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_QUERYUISTATE)
            return state_;
        return CallWindowProcW(windowProc_, window, message, wParam, lParam);
    }
    static inline WNDPROC windowProc_ = nullptr;
    static inline LRESULT state_ = 0;
    HWND window_ = nullptr;
};

// The lines of a link label as it lays its text out to draw it.
UI::LinkLines DrawnLines(HWND label)
{
    RECT client{};
    GetClientRect(label, &client);
    const Owners::WindowDC dc(label);
    const Owners::SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    return UI::LayOutLinkText(dc.get(), UI::ParseLinkMarkup(UI::GetWindowTextString(label)), client.right - UI::Gap());
}

// The pixels of the row that differ from the label's background (its top right corner).
int InkedInRow(HWND label, int y, int from, int to)
{
    const Screenshot::ClientPicture picture(label);
    const COLORREF background = picture.At(picture.Width() - 1, 0);
    int inked = 0;
    for (int x = from; x < to; ++x)
        inked += picture.At(x, y) != background;
    return inked;
}

// Restores the colour dialog and the override whatever a test left.
struct Seams
{
    ~Seams()
    {
        SetChooseColorFunction({});
        MessageBoxOverride = {};
    }
};
} // namespace

TEST_F(MessageBoxes, YesAndNoStandInIdOrderWithNoAsDefaultAndEscapeGivesCancel)
{
    std::vector<HWND> buttons;
    bool noIsDefault = false;
    Driver driver(L"Clear File List", {[&](HWND dialog) {
                                           buttons = Children(dialog, L"Button");
                                           if (buttons.size() == 2)
                                               noIsDefault = DialogTest::IsDefaultPushButton(buttons[1]) &&
                                                             !DialogTest::IsDefaultPushButton(buttons[0]);
                                           PressKey(dialog, VK_ESCAPE);
                                       }});
    EXPECT_EQ(ShowMessage(nullptr, L"Clear File List", {0, 1}, 1, nullptr, L"Do you want to remove all files?"), 4);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_TRUE(noIsDefault);
}

TEST_F(MessageBoxes, CaptionsComeFromTheProviderGivenElseTheInstalledOne)
{
    GermanCaptions german;
    std::vector<std::wstring> captions;
    Driver driver(L"Frage", {[&](HWND dialog) {
                                 for (const HWND button : Children(dialog, L"Button"))
                                     captions.push_back(UI::GetWindowTextString(button));
                                 Click(Children(dialog, L"Button").front());
                             }});
    EXPECT_EQ(ShowMessage(nullptr, L"Frage", {0, 1}, 0, &german, L"Weiter?"), 0);
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"&Ja", L"&Nein"}));

    InstallMessageBoxDataProvider(std::make_shared<GermanCaptions>());
    captions.clear();
    Driver second(L"Installed", {[&](HWND dialog) {
                                     for (const HWND button : Children(dialog, L"Button"))
                                         captions.push_back(UI::GetWindowTextString(button));
                                     PostMessageW(dialog, WM_CLOSE, 0, 0);
                                 }});
    EXPECT_EQ(ShowMessage(nullptr, L"Installed", {1}, 1, nullptr, L"Text"), 4);
    InstallMessageBoxDataProvider(std::make_shared<DefaultMessageBoxDataProvider>());
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"&Nein"}));
}

TEST_F(MessageBoxes, DefaultProviderCaptionsEveryIdAndLeavesOthersEmpty)
{
    DefaultMessageBoxDataProvider provider;
    EXPECT_EQ(provider.GetButtonText(2), L"&OK");
    EXPECT_EQ(provider.GetButtonText(3), L"&Continue");
    EXPECT_EQ(provider.GetButtonText(4), L"&Cancel");
    EXPECT_EQ(provider.GetButtonText(5), L"");
    EXPECT_EQ(provider.GetCustomColors(), nullptr);
}

TEST_F(MessageBoxes, RequiredEmptyEditKeepsTheDefaultButtonDisabledUntilTextIsTyped)
{
    std::vector<MessageItem> items{Item(MessageItemKind::Edit, L"&Name"), Item(MessageItemKind::Edit, L"&Remark")};
    items[1].optional = true;
    HWND ok = nullptr;
    bool disabledAtFirst = false;
    bool enterIgnoredWhileDisabled = false;
    Driver driver(L"Name", {[&](HWND dialog) {
                                ok = Child(dialog, L"Button", L"&OK");
                                disabledAtFirst = ok && !IsWindowEnabled(ok);
                                PressKey(dialog, VK_RETURN);
                            },
                            [&](HWND dialog) {
                                enterIgnoredWhileDisabled = IsWindowVisible(dialog);
                                PostMessageW(Children(dialog, L"Edit").front(), WM_CHAR, L'x', 1);
                            },
                            [&](HWND dialog) {
                                EXPECT_TRUE(IsWindowEnabled(ok));
                                PressKey(dialog, VK_RETURN);
                            }});
    EXPECT_EQ(ShowMessageForm(nullptr, L"Name", &items, false, 250, {}, {2, 4}, 2, nullptr, L"Who are you?"), 2);
    EXPECT_TRUE(disabledAtFirst);
    EXPECT_TRUE(enterIgnoredWhileDisabled);
    EXPECT_EQ(items[0].value, L"x");
}

TEST_F(MessageBoxes, CheckingARadioButtonClearsItsGroupButNotTheNext)
{
    std::vector<MessageItem> items{Radio(L"Link", true, true), Radio(L"Text", false),
                                   Item(MessageItemKind::Edit, L"Between", L"kept"), Radio(L"None", false),
                                   Radio(L"One page", true, true), Radio(L"Page per file", false)};
    Driver driver(L"Formats", {[&](HWND dialog) { Click(Child(dialog, L"Button", L"None")); },
                               [&](HWND dialog) {
                                   EXPECT_EQ(SendMessageW(Child(dialog, L"Button", L"Link"), BM_GETCHECK, 0, 0),
                                             BST_UNCHECKED);
                                   EXPECT_EQ(SendMessageW(Child(dialog, L"Button", L"One page"), BM_GETCHECK, 0, 0),
                                             BST_CHECKED);
                                   PressKey(dialog, VK_ESCAPE);
                               }});
    EXPECT_EQ(ShowMessageForm(nullptr, L"Formats", &items, false, 250, {}, {2}, 2, nullptr, L""), 4);
    std::vector<std::wstring> values;
    for (const MessageItem& item : items)
        values.push_back(item.value);
    EXPECT_EQ(values, (std::vector<std::wstring>{L"false", L"false", L"kept", L"true", L"true", L"false"}));
}

TEST_F(MessageBoxes, ComErrorOfTheCallbackIsRaisedAgainOnceTheBoxIsGone)
{
    std::vector<MessageItem> items{Item(MessageItemKind::Edit, L"Name", L"a")};
    HWND box = nullptr;
    const auto callback = [&](const MessageWndEvent& event) -> bool {
        box = event.buttons.begin()->second->parentWindow;
        if (event.what == MessageWndEventKind::ItemChanged)
            ThrowComError(E_INVALIDARG, L"The name is taken");
        return true;
    };
    Driver driver(L"Rename", {[&](HWND dialog) { PostMessageW(Children(dialog, L"Edit").front(), WM_CHAR, L'b', 1); }});
    try
    {
        ShowMessageForm(nullptr, L"Rename", &items, true, 250, callback, {2, 4}, 2, nullptr, L"New name:");
        ADD_FAILURE() << "no error raised";
    }
    catch (const _com_error& error)
    {
        EXPECT_EQ(error.Error(), E_INVALIDARG);
        EXPECT_EQ(GetErrorMessage(error), L"The name is taken");
        EXPECT_TRUE(box && !IsWindow(box));
    }
    // The first edit starts with its whole text selected: typing replaces it.
    EXPECT_EQ(items[0].value, L"b");
}

TEST_F(MessageBoxes, ButtonCallbackDecidesWhetherTheBoxCloses)
{
    int presses = 0;
    std::vector<MessageItem> items{Item(MessageItemKind::CheckBox, L"&Remember", L"false")};
    size_t rightColumn = 0;
    const auto callback = [&](const MessageWndEvent& event) {
        rightColumn = event.rightControls.size();
        if (event.what != MessageWndEventKind::ButtonPressed)
            return true;
        // The default button ends the right column and is no item.
        EXPECT_EQ(event.rightControls.back(), event.buttons.at(3));
        return ++presses == 2;
    };
    Driver driver(L"Continue", {[&](HWND dialog) { Click(Child(dialog, L"Button", L"&Continue")); },
                                [&](HWND dialog) {
                                    EXPECT_TRUE(IsWindowVisible(dialog));
                                    Click(Child(dialog, L"Button", L"&Remember"));
                                },
                                [&](HWND dialog) { Click(Child(dialog, L"Button", L"&Continue")); }});
    EXPECT_EQ(ShowMessageForm(nullptr, L"Continue", &items, false, 250, callback, {3, 4}, 3, nullptr, L"Go on?"), 3);
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(rightColumn, items.size() + 1);
    EXPECT_EQ(items[0].value, L"true");
}

TEST_F(MessageBoxes, ColourItemTakesThePickedColourAndTellsTheProvider)
{
    Seams seams;
    GermanCaptions provider;
    bool hadCustomColors = false;
    SetChooseColorFunction([&](CHOOSECOLORW& choose) {
        hadCustomColors = choose.lpCustColors != nullptr;
        EXPECT_EQ(choose.rgbResult, RGB(0xFF, 0x00, 0x00));
        choose.rgbResult = RGB(0x12, 0x34, 0x56);
        return TRUE;
    });
    std::vector<MessageItem> items{Item(MessageItemKind::ColorSwatch, L"&Colour", L"#ff0000")};
    Driver driver(L"Colour", {[&](HWND dialog) {
                                  // The swatch is the button without text.
                                  Click(Child(dialog, L"Button", L""));
                              },
                              [&](HWND dialog) { PressKey(dialog, VK_ESCAPE); }});
    ShowMessageForm(nullptr, L"Colour", &items, false, 250, {}, {0}, 0, &provider, L"");
    EXPECT_TRUE(hadCustomColors);
    EXPECT_EQ(items[0].value, L"#123456");
    EXPECT_EQ(provider.changes, 1);
}

TEST_F(MessageBoxes, DateItemShowsOnlyTheTimeWhenAskedAndKeepsThePickedValue)
{
    MessageItem time = Item(MessageItemKind::DateTimeField, L"&At", L"2026-12-08T09:30:00.000Z");
    time.options = {L"time"};
    std::vector<MessageItem> items{time, Item(MessageItemKind::DateTimeField, L"&On", L"2026-12-08T00:00:00.000Z")};
    LONG_PTR firstStyle = 0;
    LONG_PTR secondStyle = 0;
    Driver driver(L"When", {[&](HWND dialog) {
                                const std::vector<HWND> pickers = Children(dialog, DATETIMEPICK_CLASSW);
                                ASSERT_EQ(pickers.size(), 2u);
                                firstStyle = GetWindowLongPtrW(pickers[0], GWL_STYLE);
                                secondStyle = GetWindowLongPtrW(pickers[1], GWL_STYLE);
                                SYSTEMTIME later{};
                                SendMessageW(pickers[0], DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&later));
                                later.wHour = static_cast<WORD>((later.wHour + 1) % 24);
                                SendMessageW(pickers[0], DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&later));
                                NMDATETIMECHANGE change{};
                                change.nmhdr = {pickers[0], 0, static_cast<UINT>(DTN_DATETIMECHANGE)};
                                change.dwFlags = GDT_VALID;
                                change.st = later;
                                SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
                                PressKey(dialog, VK_ESCAPE);
                            }});
    ShowMessageForm(nullptr, L"When", &items, false, 250, {}, {2}, 2, nullptr, L"");
    EXPECT_EQ(firstStyle & DTS_TIMEFORMAT, DTS_TIMEFORMAT);
    EXPECT_NE(secondStyle & DTS_TIMEFORMAT, DTS_TIMEFORMAT);
    const std::optional<DateTime> picked = ParseDateTime(items[0].value);
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->time - ParseDateTime(L"2026-12-08T09:30:00.000Z")->time, 3600);
}

TEST_F(MessageBoxes, ResizableBoxSharesHeightAmongMultiLineEditsAndKeepsItsFirstSizeAsMinimum)
{
    std::vector<MessageItem> items{Item(MessageItemKind::Edit, L"&Title", L"t"),
                                   Item(MessageItemKind::MultiLineEdit, L"&Short", L"s"),
                                   Item(MessageItemKind::MultiLineEdit, L"&Long", L"l")};
    items[1].height = 40;
    items[2].height = 80;
    RECT first{};
    MINMAXINFO limits{};
    std::vector<int> heights;
    Driver driver(L"Notes", {[&](HWND dialog) {
                                 GetWindowRect(dialog, &first);
                                 SendMessageW(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
                                 SetWindowPos(dialog, nullptr, 0, 0, first.right - first.left + 50,
                                              first.bottom - first.top + 300, SWP_NOMOVE | SWP_NOZORDER);
                             },
                             [&](HWND dialog) {
                                 for (const HWND edit : Children(dialog, L"Edit"))
                                 {
                                     const RECT bounds = DialogTest::ClientRectOf(edit);
                                     heights.push_back(bounds.bottom - bounds.top);
                                 }
                                 PressKey(dialog, VK_ESCAPE);
                             }});
    ShowMessageForm(nullptr, L"Notes", &items, true, 250, {}, {2}, 2, nullptr, L"Notes of the import");
    EXPECT_EQ(limits.ptMinTrackSize.x, first.right - first.left);
    EXPECT_EQ(limits.ptMinTrackSize.y, first.bottom - first.top);
    ASSERT_EQ(heights.size(), 3u);
    EXPECT_EQ(heights[0], UI::ControlHeight());
    EXPECT_NEAR(heights[2], 2 * heights[1], 2);
    EXPECT_GT(heights[1] + heights[2], 300);
}

TEST_F(MessageBoxes, ComErrorMessageIsSilentForAbortAndShowsTheErrorTextOtherwise)
{
    Seams seams;
    std::vector<std::tuple<std::wstring, std::set<int>, int, std::wstring>> shown;
    MessageBoxOverride = [&](HWND, const wchar_t* title, std::vector<MessageItem>*, bool, int,
                             const MessageWndCallback&, const std::set<int>& buttons, int defaultButton,
                             IMessageBoxDataProvider*, const std::wstring& text) {
        shown.emplace_back(title, buttons, defaultButton, text);
        return 2;
    };
    ShowComErrorMessage(nullptr, _com_error(E_ABORT));
    EXPECT_TRUE(shown.empty());

    const _com_error failure(E_ACCESSDENIED);
    ShowComErrorMessage(nullptr, failure);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(std::get<0>(shown[0]), L"Error");
    EXPECT_EQ(std::get<1>(shown[0]), std::set<int>{2});
    EXPECT_EQ(std::get<2>(shown[0]), 2);
    EXPECT_EQ(std::get<3>(shown[0]), GetErrorMessage(failure));
}

TEST_F(MessageBoxes, AClickOnTheSecondLineOfADrawnLinkOpensItAndPlainTextStaysInert)
{
    const std::wstring url = L"https://example.invalid/help/held-files";
    LinkNotifications notifications;
    LinkNotifications::told.clear();
    HWND label = nullptr;
    UI::LinkPiece second;
    UI::LinkPiece plain;
    int lineHeight = 0;
    int linkInk = 0;
    LRESULT overLink = 0;
    LRESULT overPlain = 0;
    HCURSOR cursor = nullptr;
    HWND focusAfterClick = nullptr;
    RECT drawnLink{};
    RECT toldLink{};
    LONG toldLinks = 0;
    VARIANT toldAtLink{};
    Driver driver(L"Help", {[&](HWND dialog) {
                                notifications.Record(dialog);
                                label = Children(dialog, L"SysLink").at(0);
                                const UI::LinkLines lines = DrawnLines(label);
                                for (const UI::LinkPiece& piece : lines.pieces)
                                    if (piece.link == 0)
                                    {
                                        const RECT drawn{piece.x, piece.y, piece.x + piece.width,
                                                         piece.y + lines.lineHeight};
                                        UnionRect(&drawnLink, &drawnLink, &drawn);
                                    }
                                MapWindowPoints(label, nullptr, reinterpret_cast<POINT*>(&drawnLink), 2);
                                lineHeight = lines.lineHeight;
                                int firstLine = -1;
                                for (const UI::LinkPiece& piece : lines.pieces)
                                    if (piece.link == 0 && firstLine < 0)
                                        firstLine = piece.y;
                                    else if (piece.link == 0 && piece.y > firstLine && !second.width)
                                        second = piece;
                                    else if (piece.link < 0 && piece.y > 0 && piece.width)
                                        plain = piece;
                                ASSERT_GT(second.width, 0) << "the link has no second line";
                                ASSERT_GT(plain.width, 0);
                                // The link is drawn there, in its colour (blue above red).
                                const Screenshot::ClientPicture picture(label);
                                for (int y = second.y; y < second.y + lineHeight; ++y)
                                    for (int x = second.x; x < second.x + second.width; ++x)
                                        linkInk += GetBValue(picture.At(x, y)) > GetRValue(picture.At(x, y)) + 40;
                                // The end of the link's second line, where the link control's own layout
                                // has broken the line elsewhere and shows no link.
                                const int linkX = second.x + second.width - 4;
                                POINT atLink{linkX, second.y + lineHeight / 2};
                                POINT atPlain{plain.x + plain.width / 2, plain.y + lineHeight / 2};
                                ClientToScreen(label, &atLink);
                                ClientToScreen(label, &atPlain);
                                overLink = SendMessageW(label, WM_NCHITTEST, 0, MAKELPARAM(atLink.x, atLink.y));
                                overPlain = SendMessageW(label, WM_NCHITTEST, 0, MAKELPARAM(atPlain.x, atPlain.y));
                                SetCursorPos(atLink.x, atLink.y);
                                SendMessageW(label, WM_SETCURSOR, reinterpret_cast<WPARAM>(label),
                                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                                cursor = GetCursor();
                                // Accessibility's places are those drawn.
                                IAccessible* accessible = nullptr;
                                if (SUCCEEDED(AccessibleObjectFromWindow(label, static_cast<DWORD>(OBJID_CLIENT),
                                                                         __uuidof(IAccessible),
                                                                         reinterpret_cast<void**>(&accessible))))
                                {
                                    accessible->get_accChildCount(&toldLinks);
                                    VARIANT first{};
                                    first.vt = VT_I4;
                                    first.lVal = 1;
                                    LONG x = 0, y = 0, w = 0, h = 0;
                                    if (SUCCEEDED(accessible->accLocation(&x, &y, &w, &h, first)))
                                        toldLink = {x, y, x + w, y + h};
                                    accessible->accHitTest(atLink.x, atLink.y, &toldAtLink);
                                    accessible->Release();
                                }
                                const LPARAM link = MAKELPARAM(linkX, second.y + lineHeight / 2);
                                PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, link);
                                PostMessageW(label, WM_LBUTTONUP, 0, link);
                                const LPARAM text = MAKELPARAM(plain.x + plain.width / 2, plain.y + lineHeight / 2);
                                PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, text);
                                PostMessageW(label, WM_LBUTTONUP, 0, text);
                            },
                            [&](HWND dialog) {
                                focusAfterClick = GetFocus();
                                // The clicked link has the focus: Enter opens it again.
                                PressKey(dialog, VK_RETURN);
                            },
                            [&](HWND dialog) {
                                notifications.Stop();
                                PressKey(dialog, VK_ESCAPE);
                            }});
    ShowMessage(nullptr, L"Help", {2}, 2, nullptr,
                L"The import waits for files that another program holds. <a href=\"" + url +
                    L"\">What to do about files that another program holds open</a> tells more.");
    EXPECT_GT(linkInk, 0) << "no link is drawn on the second line";
    EXPECT_EQ(overLink, HTCLIENT);
    EXPECT_EQ(overPlain, HTTRANSPARENT);
    EXPECT_EQ(cursor, LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(focusAfterClick, label);
    EXPECT_EQ(toldLinks, 1);
    EXPECT_TRUE(EqualRect(&toldLink, &drawnLink)) << "accessibility places the link elsewhere";
    EXPECT_EQ(toldAtLink.vt, VT_I4);
    EXPECT_EQ(toldAtLink.lVal, 1) << "accessibility finds no link where it is drawn";
    EXPECT_EQ(LinkNotifications::told, (std::vector<LinkNotifications::Told>{{static_cast<UINT>(NM_CLICK), 0, url},
                                                                            {static_cast<UINT>(NM_RETURN), 0, url}}));
}

TEST_F(MessageBoxes, ALinksFocusRectangleShowsOnceTheKeyboardIsUsed)
{
    LinkNotifications notifications;
    KeyboardCues cues;
    HWND label = nullptr;
    UI::LinkPiece link;
    std::vector<int> inked;
    std::vector<HWND> focus;
    const auto look = [&] {
        focus.push_back(GetFocus());
        inked.push_back(InkedInRow(label, link.y, link.x, link.x + link.width));
    };
    Driver driver(L"Help", {[&](HWND dialog) {
                                notifications.Record(dialog);
                                label = Children(dialog, L"SysLink").at(0);
                                cues.Answer(label);
                                link = DrawnLines(label).pieces.at(0);
                                const LPARAM at = MAKELPARAM(link.x + link.width / 2, link.y + 4);
                                PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, at);
                                PostMessageW(label, WM_LBUTTONUP, 0, at);
                            },
                            [&](HWND dialog) {
                                look();
                                cues.ShowFocus();
                                PressKey(dialog, VK_TAB);
                            },
                            [&](HWND dialog) { PressKey(dialog, VK_TAB); },
                            [&](HWND dialog) {
                                look();
                                cues.Stop();
                                notifications.Stop();
                                PressKey(dialog, VK_ESCAPE);
                            }});
    ShowMessage(nullptr, L"Help", {2}, 2, nullptr,
                L"<a href=\"https://example.invalid/help\">Files that another program holds</a> can be imported later.");
    ASSERT_EQ(focus.size(), 2u);
    EXPECT_EQ(focus[0], label) << "the click gave the link the focus";
    EXPECT_EQ(focus[1], label) << "Tab went round to the link";
    ASSERT_EQ(inked.size(), 2u);
    EXPECT_EQ(inked[0], 0) << "a focus rectangle shows after the mouse alone";
    EXPECT_GT(inked[1], link.width / 3) << "no focus rectangle shows after Tab";
}

TEST_F(MessageBoxes, ErrorMessageShowsOneOkButtonThatEndsTheBox)
{
    std::vector<std::wstring> captions;
    Driver driver(L"Error", {[&](HWND dialog) {
                                 for (const HWND button : Children(dialog, L"Button"))
                                     captions.push_back(UI::GetWindowTextString(button));
                                 Screenshot::SaveWindow(dialog, L"error");
                                 PressKey(dialog, VK_RETURN);
                             }});
    ShowErrorMessage(nullptr, L"Import failed with: The process cannot access the file because it is being used by "
                              L"another process.");
    EXPECT_EQ(captions, std::vector<std::wstring>{L"&OK"});
}

namespace
{
class MessageBoxScreenshot : public DialogTest::Themed
{
};

// Errors whose last line names what stays, the name in quotes: the run's own section, and long
// dated names, one of which ends a line near the edge at 96 dpi, another at 144.
const wchar_t* const namingErrors[] = {
    L"Import failed with:\n\nExternal Error (80004005): Call failed.\n\nOneNote could not remove what the import had "
    L"made to import into: the section \"Imported Files\" stays",
    L"Import failed with:\n\nOneNote could not remove what the import had made to import into: the section \"Files "
    L"Imported on Thursday, 10 December 2026 5:23 PM\" stays.",
    L"Import failed with:\n\nOneNote could not remove what the import had made to import into: the section \"Files "
    L"Imported on Tuesday, 24 November 2026 4:07 PM\" stays.",
};

// Shows each of the errors and looks at the edges of its text; the pictures are saved.
std::vector<std::string> ErrorTextAtTheEdges(const std::wstring& picture)
{
    std::vector<std::string> found;
    for (size_t index = 0; index < std::size(namingErrors); ++index)
    {
        Driver driver(L"Error", {[&](HWND dialog) {
                          Screenshot::SaveWindow(dialog, picture + L"-" + std::to_wstring(index));
                          const std::vector<HWND> labels = Children(dialog, L"SysLink");
                          std::vector<std::string> seen = {"no message label"};
                          if (!labels.empty())
                              seen = DialogTest::TextAtTheEdges(dialog, labels.front());
                          for (const std::vector<std::string>& more :
                               {TextChecks::ShortLabels(dialog),
                                IsDarkMode() ? TextChecks::FaintText(dialog) : std::vector<std::string>()})
                              seen.insert(seen.end(), more.begin(), more.end());
                          for (const std::string& edge : seen)
                              found.push_back("error " + std::to_string(index) + ": " + edge);
                          PressKey(dialog, VK_RETURN);
                      }});
        ShowErrorMessage(nullptr, namingErrors[index]);
    }
    return found;
}
} // namespace

TEST_P(MessageBoxScreenshot, AnErrorThatNamesWhatStaysShowsEveryLineWholeInsideItsLabel)
{
    EXPECT_EQ(ErrorTextAtTheEdges(L"naming-" + ThemeName()), std::vector<std::string>());
}

// Runs only as the other process of AnErrorThatNamesWhatStaysShowsEveryLineWholeAt144Dpi (with the
// task dialog's case): the program's own zoom makes this process's screen one of 144 dpi.
TEST(MessageBoxAt144Dpi, DISABLED_AnErrorThatNamesWhatStaysShowsEveryLineWholeInBothThemes)
{
    DialogTest::ZoomTo144Dpi();
    ASSERT_FLOAT_EQ(2.0f, GetDpiScaleX());
    const std::optional<int> mode = GetThemeMode();
    for (const bool dark : {false, true})
    {
        SCOPED_TRACE(dark ? "dark" : "light");
        SetThemeMode(dark ? UI::ThemeDark : UI::ThemeLight);
        EXPECT_EQ(ErrorTextAtTheEdges(std::wstring(L"naming-144dpi-") + (dark ? L"dark" : L"light")),
                  std::vector<std::string>());
    }
    SetThemeMode(mode);
}

TEST(MessageBoxAt144Dpi, AnErrorThatNamesWhatStaysShowsEveryLineWholeAt144Dpi)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const Harness::Program other(Harness::StartOptions{
        .program = self,
        .arguments =
            L"--gtest_also_run_disabled_tests "
            L"--gtest_filter=MessageBoxAt144Dpi.DISABLED_AnErrorThatNamesWhatStaysShowsEveryLineWholeInBothThemes:"
            L"TaskDialogAt144Dpi.DISABLED_EveryQuestionShowsEveryLineWholeInBothThemes",
        .profile = nullptr,
        .environment = {}});
    EXPECT_EQ(std::optional<DWORD>(0), other.WaitForExit(std::chrono::seconds(60)))
        << "the boxes and questions at 144 dpi: see the other process's output above";
}

TEST_P(MessageBoxScreenshot, FormWithEveryKindOfItem)
{
    std::vector<MessageItem> items{
        Item(MessageItemKind::Edit, L"&Page title", L"Quarterly report"),
        Item(MessageItemKind::Edit, L"&Author"),
        Item(MessageItemKind::CheckBox, L"Open the page &afterwards", L"true"),
        Radio(L"&Link to the file", true, true),
        Radio(L"&Plain text path", false),
        Item(MessageItemKind::DropDownList, L"&Output", L"Each file on its own page"),
        Item(MessageItemKind::EditableComboBox, L"&Section", L"Imports"),
        Item(MessageItemKind::MultiLineEdit, L"&Notes", L"First line\r\nSecond line"),
        Item(MessageItemKind::ColorSwatch, L"&Colour", L"#2e75b6"),
        Item(MessageItemKind::DateTimeField, L"&Date", L"2026-12-08T12:00:00.000Z"),
        Item(MessageItemKind::LabelOnly, L"Values in this form are kept for the next import & its pages."),
    };
    items[1].cueBanner = L"Your name";
    items[5].options = {L"All files on one page", L"Each file on its own page"};
    items[6].options = {L"Imports", L"Archive"};
    items[7].height = 40;
    RECT box{};
    int introGap = -1;
    std::vector<std::string> shortLabels;
    std::vector<std::string> faint;
    Driver driver(L"Import settings", {[&](HWND dialog) {
                                           GetClientRect(dialog, &box);
                                           DialogTest::Children(dialog, L"Edit");
                                       },
                                       [&](HWND dialog) {
                                           Screenshot::SaveWindow(dialog, L"form-" + ThemeName());
                                           if (!GetParam())
                                               introGap = BlankBeforeTheLink(Children(dialog, L"SysLink").front());
                                           shortLabels = TextChecks::ShortLabels(dialog);
                                           if (GetParam())
                                               faint = TextChecks::FaintText(dialog);
                                           PressKey(dialog, VK_ESCAPE);
                                       }});
    ShowMessageForm(nullptr, L"Import settings", &items, true, 300, {}, {2, 4}, 2, nullptr,
                    L"Choose how the files are imported. <a href=\"https://example.invalid/help\">More about "
                    L"formats</a>");
    EXPECT_GT(box.right, 300);
    // "imported. More": the blank (3 pixels at 96 dpi) and the sides of the glyphs around it. (In
    // the dark theme a link has the colour of text, and its underline alone tells it.)
    if (!GetParam())
    {
        EXPECT_GE(introGap, 3) << "the intro's text runs into its link";
    }
    EXPECT_EQ(shortLabels, std::vector<std::string>());
    EXPECT_EQ(faint, std::vector<std::string>()) << "the intro's plain text and its link stand out in the dark";
    // The author field is empty and required: the box was cancelled, the values kept as they were.
    EXPECT_EQ(items[0].value, L"Quarterly report");
}

INSTANTIATE_TEST_SUITE_P(Themes, MessageBoxScreenshot, testing::Bool(), DialogTest::ThemeTestName);
