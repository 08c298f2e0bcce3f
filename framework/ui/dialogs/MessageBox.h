#pragma once
// The program's own message box: a text, an optional form of typed items in two columns and a row
// of buttons captioned by an IMessageBoxDataProvider. Every question and error message of both
// programs goes through ShowMessageForm, which a host can take over as a whole (MessageBoxOverride).

#include "framework/ui/controls/Button.h"
#include "framework/ui/controls/Label.h"
#include "framework/ui/dialogs/MessageBoxDataProvider.h"

#include <windows.h>
#include <comdef.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Button ids, which are also the results of a box. Closing a box (close box, Escape) gives Cancel
// whether or not a Cancel button is shown.
enum MessageButton : int
{
    MessageButtonYes = 0,
    MessageButtonNo = 1,
    MessageButtonOK = 2,
    MessageButtonContinue = 3,
    MessageButtonCancel = 4,
};

enum class MessageItemKind : int32_t
{
    Edit = 0,             // value: the text
    CheckBox = 1,         // the label is the box's own text; value "true" or "false"
    RadioButton = 2,      // the same; groupStart begins a new group
    DropDownList = 3,     // value: the chosen entry of options
    LabelOnly = 4,        // the label alone, shown as written (no access keys)
    EditableComboBox = 5, // value: the edit text or the entry picked from options
    MultiLineEdit = 6,    // value: the text; taller by height
    ColorSwatch = 7,      // value: "automatic", "none" or "#rrggbb"
    DateTimeField = 8,    // value: xsd:dateTime text; options[0] "time", "datetime" or else a date
};

// One row of a form. The caller owns the items and reads their values back after the box closed.
struct MessageItem
{
    std::wstring label;
    MessageItemKind kind = MessageItemKind::Edit;
    std::wstring value;
    std::vector<std::wstring> options;
    // Extra height of a MultiLineEdit in 96-dpi pixels.
    int32_t height = 0;
    // An edit-type item that may stay empty without disabling the default button.
    bool optional = false;
    bool groupStart = false;
    std::wstring note;
    std::wstring cueBanner;
    bool readOnly = false;
    bool enabled = true;
    bool visible = true;
};

enum class MessageWndEventKind : uint8_t
{
    Initial = 0,
    ItemChanged = 1,   // value: the item's index
    ButtonPressed = 2, // value: the button id
};

// What a form's callback is told. The controls are the box's own, so that the callback can enable,
// disable or change them; an item's value changed by the callback is shown at the next layout.
struct MessageWndEvent
{
    int32_t value;
    MessageWndEventKind what;
    // One entry per item, null where a row has none.
    std::vector<std::shared_ptr<UI::Label>>& leftControls;
    // One entry per item, null where a row has none, then the default button when there is one.
    std::vector<std::shared_ptr<UI::WindowsControl>>& rightControls;
    std::map<int, std::shared_ptr<UI::Button>>& buttons;
};

// For ButtonPressed, false keeps the box open; otherwise the result is not used.
using MessageWndCallback = std::function<bool(const MessageWndEvent&)>;

// A box without items, 250 (96-dpi pixels) wide, not resizable. A null provider means the installed
// one. Returns the id of the button that closed the box, or 4.
int ShowMessage(HWND parent, const wchar_t* title, const std::set<int>& buttons, int defaultButton,
                IMessageBoxDataProvider* provider, const std::wstring& text);

// The general box. items may be null. While validation runs, the default button is enabled only when
// no enabled, required edit-type item is empty. A COM error raised by the callback while validating
// ends the box and is raised again here once the box is gone; any other exception of the callback
// passes through as well, the box ended.
int ShowMessageForm(HWND parent, const wchar_t* title, std::vector<MessageItem>* items, bool resizable,
                    int textWidth, const MessageWndCallback& callback, const std::set<int>& buttons,
                    int defaultButton, IMessageBoxDataProvider* provider, const std::wstring& text);

// "Error" with the OK button.
void ShowErrorMessage(HWND parent, const std::wstring& text);
// Silent for E_ABORT (the user cancelled); otherwise ShowErrorMessage with GetErrorMessage's text.
void ShowComErrorMessage(HWND parent, const _com_error& error);

// Takes over every box while set: it gets ShowMessageForm's arguments and its result is returned.
using MessageBoxOverrideFunction =
    std::function<int(HWND parent, const wchar_t* title, std::vector<MessageItem>* items, bool resizable,
                      int textWidth, const MessageWndCallback& callback, const std::set<int>& buttons,
                      int defaultButton, IMessageBoxDataProvider* provider, const std::wstring& text)>;
extern MessageBoxOverrideFunction MessageBoxOverride;
