#include "framework/ui/dialogs/MessageBox.h"

#include "framework/com/ErrorMessage.h"
#include "framework/text/DateTime.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Theme.h"
#include "framework/ui/Window.h"
#include "framework/ui/controls/ColorPicker.h"
#include "framework/ui/controls/ComboBox.h"
#include "framework/ui/controls/DateTimePicker.h"
#include "framework/ui/controls/EditBox.h"
#include "framework/ui/controls/PaintBuffer.h"
#include "framework/ui/controls/TextMeasure.h"
#include "framework/xml/Colors.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <utility>

MessageBoxOverrideFunction MessageBoxOverride;

namespace
{
int Pt(float points) { return UI::PointsToPixels(points, GetDpiScaleX()); }

// Button windows get ids of their own: a child with id IDOK or IDCANCEL would make the keyboard's
// Enter and Escape look like a click on it.
constexpr int buttonControlIdBase = 1000;

bool IsEditKind(MessageItemKind kind)
{
    return kind == MessageItemKind::Edit || kind == MessageItemKind::MultiLineEdit ||
           kind == MessageItemKind::EditableComboBox;
}

bool HasLeftLabel(const MessageItem& item)
{
    return !item.label.empty() && item.kind != MessageItemKind::CheckBox && item.kind != MessageItemKind::RadioButton;
}

int PickerMode(const MessageItem& item)
{
    const std::wstring mode = item.options.empty() ? std::wstring() : item.options.front();
    if (mode == L"time")
        return UI::DateTimePicker::Time;
    if (mode == L"datetime")
        return UI::DateTimePicker::DateAndTime;
    return UI::DateTimePicker::LongDate;
}

int IndexOf(const std::vector<std::wstring>& options, const std::wstring& value)
{
    const auto found = std::find(options.begin(), options.end(), value);
    return found == options.end() ? -1 : static_cast<int>(found - options.begin());
}

class MessageWnd : public Window
{
public:
    MessageWnd(HWND parent, std::vector<MessageItem>* items, bool resizable, int textWidth, MessageWndCallback callback,
               const std::set<int>& buttonIds, int defaultButtonId, IMessageBoxDataProvider& provider,
               const std::wstring& text);

    unsigned long Run(const wchar_t* title);
    std::optional<_com_error> TakeError() { return std::exchange(error_, std::nullopt); }

    LRESULT OnPaint(bool& handled) override;
    LRESULT OnSize(int width, int height, bool& handled) override;
    LRESULT OnClose(bool& handled) override;
    LRESULT OnCommand(int id, HWND control, int code, bool& handled) override;
    LRESULT OnNotify(NMHDR* header) override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    size_t ItemCount() const { return items_ ? items_->size() : 0; }
    MessageItem& Item(size_t index) { return (*items_)[index]; }
    void BuildForm(const std::wstring& text);
    void CreateButtons(const std::set<int>& ids, int defaultId);
    // What a layout pass needs of the items and buttons as they are now.
    struct FormMeasure
    {
        int labelColumn = 0;
        int valueX = 0;
        int textBlock = 0;
        int rowsTop = 0;
        int rows = 0;
        int rowGaps = 0;
        int tallRows = 0;
        int tallWeights = 0;
        // The shown buttons in id order, with their widths.
        std::vector<std::pair<UI::Button*, int>> buttons;
        int buttonsWidth = 0;
    };

    void RefreshControls();
    // Also sets the minimum client size.
    FormMeasure MeasureForm();
    void Layout(int clientWidth, int clientHeight);
    void ArrangeRows(const FormMeasure& form, int clientWidth, int clientHeight, HDWP& defer, HWND& insertAfter);
    void ArrangeButtons(const FormMeasure& form, int clientWidth, int clientHeight, HDWP& defer, HWND& insertAfter);
    void LayoutToClient();
    void Validate(std::optional<size_t> changedItem);
    bool CallBack(MessageWndEventKind what, int32_t value);
    // Only the items' own controls: the default button that ends the right-column list is no item.
    std::optional<size_t> FindItem(HWND control) const;
    std::optional<int> FindButton(HWND control) const;
    void OnItemCommand(size_t index, int code);
    void OnRadioChecked(size_t index);
    void StoreValue(size_t index, std::wstring value);
    void PressButton(int id);
    void PickSwatchColor(size_t index);
    void PaintSwatch(size_t index);

    std::shared_ptr<UI::Label> textLabel_;
    std::vector<std::shared_ptr<UI::Label>> leftControls_;
    std::vector<std::shared_ptr<UI::WindowsControl>> rightControls_;
    std::map<int, std::shared_ptr<UI::Button>> buttons_;
    std::shared_ptr<UI::Button> defaultButton_;
    int defaultButtonId_ = -1;
    size_t buttonCount_ = 0;
    std::vector<MessageItem>* items_;
    bool resizable_;
    int textWidth_;
    int textHeight_ = 0;
    int minWidth_ = 0;
    int minHeight_ = 0;
    MessageWndCallback callback_;
    IMessageBoxDataProvider& provider_;
    bool firstSize_ = true;
    // Commands that the controls send while they are made are not the user's.
    bool built_ = false;
    std::optional<_com_error> error_;
    // For a provider that keeps no custom colours: the colour dialog needs a table all the same.
    COLORREF ownCustomColors_[16];
};

MessageWnd::MessageWnd(HWND parent, std::vector<MessageItem>* items, bool resizable, int textWidth,
                       MessageWndCallback callback, const std::set<int>& buttonIds, int defaultButtonId,
                       IMessageBoxDataProvider& provider, const std::wstring& text)
    : items_(items), resizable_(resizable), textWidth_(::ScaleToDpi(textWidth)), callback_(std::move(callback)),
      provider_(provider)
{
    std::fill(std::begin(ownCustomColors_), std::end(ownCustomColors_), RGB(0xFF, 0xFF, 0xFF));
    if (resizable)
        Create(parent, COLOR_WINDOW, WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE, WS_THICKFRAME | WS_MAXIMIZEBOX);
    else
        Create(parent, COLOR_WINDOW, WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE, 0);
    BuildForm(text);
    CreateButtons(buttonIds, defaultButtonId);
    built_ = true;
    Layout(0, 0);
}

void MessageWnd::BuildForm(const std::wstring& text)
{
    textLabel_ = std::make_shared<UI::Label>(hwnd_, text, false, UI::Label::Left, 0, true);
    textLabel_->visible = !text.empty();
    if (!text.empty())
    {
        Gdiplus::Bitmap pixel(1, 1);
        Gdiplus::Graphics graphics(&pixel);
        // The label prepares its link colours for the theme as it is measured.
        textLabel_->Measure(graphics, textWidth_, 0);
        textHeight_ = textLabel_->GetDesiredSize().height;
    }

    bool firstValueControl = true;
    size_t group = 0;
    for (size_t index = 0; index < ItemCount(); ++index)
    {
        MessageItem& item = Item(index);
        std::shared_ptr<UI::Label> label;
        if (HasLeftLabel(item))
            label = std::make_shared<UI::Label>(hwnd_, item.label, item.kind != MessageItemKind::LabelOnly);
        else if (item.kind == MessageItemKind::LabelOnly)
            label = std::make_shared<UI::Label>(hwnd_, item.label, false);

        std::shared_ptr<UI::WindowsControl> control;
        switch (item.kind)
        {
        case MessageItemKind::Edit:
        case MessageItemKind::MultiLineEdit:
        {
            auto edit = std::make_shared<UI::EditBox>(hwnd_, item.value.c_str(),
                                                      item.kind == MessageItemKind::MultiLineEdit);
            if (!item.cueBanner.empty())
                SendMessageW(edit->hwnd, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(item.cueBanner.c_str()));
            if (item.readOnly)
                SendMessageW(edit->hwnd, EM_SETREADONLY, TRUE, 0);
            if (!item.value.empty() && firstValueControl)
                SendMessageW(edit->hwnd, EM_SETSEL, 0, -1);
            control = edit;
            break;
        }
        case MessageItemKind::CheckBox:
        {
            auto check = std::make_shared<UI::Button>(hwnd_, 0, UI::Button::CheckBox, 0, item.label.c_str(), false, 0,
                                                      true, false);
            check->SetChecked(item.value == L"true");
            control = check;
            break;
        }
        case MessageItemKind::RadioButton:
        {
            if (item.groupStart)
                ++group;
            auto radio = std::make_shared<UI::Button>(hwnd_, 0, UI::Button::Radio, item.label.c_str(), item.groupStart,
                                                      L"messageGroup" + std::to_wstring(group));
            radio->SetChecked(item.value == L"true");
            control = radio;
            break;
        }
        case MessageItemKind::DropDownList:
        case MessageItemKind::EditableComboBox:
        {
            const bool editable = item.kind == MessageItemKind::EditableComboBox;
            auto combo = std::make_shared<UI::ComboBox>(hwnd_, 0, editable);
            combo->SetItems(item.options);
            if (editable)
                SetWindowTextW(combo->hwnd, item.value.c_str());
            else
                combo->SetSelection(IndexOf(item.options, item.value));
            control = combo;
            break;
        }
        case MessageItemKind::ColorSwatch:
            control = std::make_shared<UI::Button>(hwnd_, 0, UI::Button::Push, 0, nullptr, false, 2, true, false);
            break;
        case MessageItemKind::DateTimeField:
            control = std::make_shared<UI::DateTimePicker>(hwnd_, 0, PickerMode(item),
                                                           ParseDateTime(item.value).value_or(DateTime()));
            break;
        case MessageItemKind::LabelOnly:
        default: break;
        }

        for (const std::shared_ptr<UI::WindowsControl>& created :
             {std::static_pointer_cast<UI::WindowsControl>(label), control})
            if (created)
            {
                created->Enable(item.enabled);
                created->visible = item.visible;
            }
        if (control)
            firstValueControl = false;
        leftControls_.push_back(std::move(label));
        rightControls_.push_back(std::move(control));
        if (item.kind == MessageItemKind::ColorSwatch)
            PaintSwatch(index);
    }
}

void MessageWnd::CreateButtons(const std::set<int>& ids, int defaultId)
{
    for (const int id : ids)
    {
        const bool isDefault = id == defaultId;
        const std::wstring caption = provider_.GetButtonText(id);
        auto button = std::make_shared<UI::Button>(hwnd_, buttonControlIdBase + id,
                                                   isDefault ? UI::Button::DefaultPush : UI::Button::Push, 0,
                                                   caption.c_str(), false, 2, true, false);
        if (isDefault)
        {
            defaultButton_ = button;
            defaultButtonId_ = id;
        }
        buttons_[id] = std::move(button);
    }
    buttonCount_ = buttons_.size();
    if (defaultButton_)
        rightControls_.push_back(defaultButton_);
}

void MessageWnd::PaintSwatch(size_t index)
{
    auto* button = dynamic_cast<UI::Button*>(rightControls_[index].get());
    if (!button)
        return;
    Gdiplus::Bitmap swatch(::ScaleToDpi(36), ::ScaleToDpi(12), PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&swatch);
        graphics.Clear(Gdiplus::Color(static_cast<Gdiplus::ARGB>(ParseColor(Item(index).value))));
    }
    button->SetImage(std::nullopt, swatch, false);
}

void MessageWnd::RefreshControls()
{
    for (size_t index = 0; index < ItemCount(); ++index)
    {
        const MessageItem& item = Item(index);
        const std::shared_ptr<UI::WindowsControl>& control = rightControls_[index];
        for (UI::IControl* created : {static_cast<UI::IControl*>(leftControls_[index].get()),
                                      static_cast<UI::IControl*>(control.get())})
            if (created)
                created->visible = item.visible;
        if (!control)
            continue;
        switch (item.kind)
        {
        case MessageItemKind::Edit:
        case MessageItemKind::MultiLineEdit:
            // Only a change: setting the text notifies, and the notice would validate again.
            if (UI::GetWindowTextString(control->hwnd) != item.value)
                SetWindowTextW(control->hwnd, item.value.c_str());
            break;
        case MessageItemKind::CheckBox:
        case MessageItemKind::RadioButton:
        {
            auto* button = static_cast<UI::Button*>(control.get());
            if (button->IsChecked() != (item.value == L"true"))
                button->SetChecked(item.value == L"true");
            break;
        }
        case MessageItemKind::DropDownList:
            static_cast<UI::ComboBox*>(control.get())->SetSelection(IndexOf(item.options, item.value));
            break;
        case MessageItemKind::EditableComboBox:
        {
            DWORD start = 0;
            DWORD end = 0;
            SendMessageW(control->hwnd, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            SetWindowTextW(control->hwnd, item.value.c_str());
            SendMessageW(control->hwnd, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
            break;
        }
        default: break;
        }
    }
}

MessageWnd::FormMeasure MessageWnd::MeasureForm()
{
    const int gap = UI::Gap();
    const int margin = UI::Margin();
    Gdiplus::Bitmap pixel(1, 1);
    Gdiplus::Graphics graphics(&pixel);
    FormMeasure form;

    // Columns: the labels' own, then the value controls.
    int widestLabel = 0;
    int widestLabelOnly = 0;
    int valueMinimum = 0;
    int extra = 0;
    for (size_t index = 0; index < ItemCount(); ++index)
    {
        const MessageItem& item = Item(index);
        if (!item.visible)
            continue;
        ++form.rows;
        if (item.kind == MessageItemKind::MultiLineEdit)
        {
            ++form.tallRows;
            form.tallWeights += std::max(item.height, 0);
            extra += ::ScaleToDpi(std::max(item.height, 0));
        }
        if (const auto& label = leftControls_[index])
        {
            const int width = label->TextWidth(graphics);
            int& widest = item.kind == MessageItemKind::LabelOnly ? widestLabelOnly : widestLabel;
            widest = std::max(widest, width);
        }
        if (!rightControls_[index])
            continue;
        if (item.kind == MessageItemKind::CheckBox || item.kind == MessageItemKind::RadioButton)
            valueMinimum = std::max(valueMinimum, UI::MeasureWindowTextWidth(graphics, rightControls_[index]->hwnd, 0) +
                                                      UI::CheckBoxHeight() + 2 * gap);
        else
            valueMinimum = std::max(valueMinimum, Pt(item.kind == MessageItemKind::ColorSwatch ? 45.0f : 112.5f));
    }
    form.labelColumn = widestLabel ? widestLabel + 2 * margin : 0;
    form.valueX = form.labelColumn ? form.labelColumn : margin;

    for (const auto& [id, button] : buttons_)
    {
        if (!button->visible)
            continue;
        const int width = std::max(UI::MeasureWindowTextWidth(graphics, button->hwnd, 0) + 2 * margin, Pt(45.0f));
        form.buttonsWidth += (form.buttons.empty() ? 0 : gap) + width;
        form.buttons.emplace_back(button.get(), width);
    }

    form.textBlock = textLabel_->visible ? textHeight_ + gap : 0;
    form.rowsTop = margin + form.textBlock + (textLabel_->visible ? margin : 0);
    form.rowGaps = form.rows > 1 ? (form.rows - 1) * gap : 0;
    minWidth_ = std::max({textLabel_->visible ? textWidth_ + 2 * margin : 0, form.valueX + valueMinimum + margin,
                          widestLabelOnly + 2 * margin, form.buttonsWidth + 2 * margin});
    const int formHeight = form.rowsTop + form.rows * UI::ControlHeight() + extra + form.rowGaps +
                           (form.rows ? margin : 0);
    minHeight_ = formHeight + UI::ButtonHeight() + 2 * margin;
    return form;
}

void MessageWnd::Layout(int clientWidth, int clientHeight)
{
    if (!built_)
        return;
    RefreshControls();
    const FormMeasure form = MeasureForm();
    if (clientWidth <= 0 || clientHeight <= 0)
        return;
    HDWP defer = BeginDeferWindowPos(static_cast<int>(2 * ItemCount() + buttons_.size() + 1));
    HWND insertAfter = nullptr;
    textLabel_->Arrange(UI::Margin(), UI::Margin(), clientWidth - 2 * UI::Margin(), form.textBlock, defer,
                        insertAfter, true);
    ArrangeRows(form, clientWidth, clientHeight, defer, insertAfter);
    ArrangeButtons(form, clientWidth, clientHeight, defer, insertAfter);
    if (defer)
        EndDeferWindowPos(defer);
}

void MessageWnd::ArrangeRows(const FormMeasure& form, int clientWidth, int clientHeight, HDWP& defer,
                             HWND& insertAfter)
{
    const int gap = UI::Gap();
    const int margin = UI::Margin();
    const int row = UI::ControlHeight();
    const int labelHeight = UI::CheckBoxHeight();
    const int labelDrop = Pt(1.5f);
    // What the button strip, the text and the other rows leave is shared by the multi-line edits.
    const int tallSpace = std::max(clientHeight - Pt(36.0f) - margin - form.rowsTop - form.rowGaps -
                                       (form.rows - form.tallRows) * row,
                                   0);
    int y = form.rowsTop;
    for (size_t index = 0; index < ItemCount(); ++index)
    {
        const MessageItem& item = Item(index);
        UI::WindowsControl* label = leftControls_[index].get();
        UI::WindowsControl* control = rightControls_[index].get();
        if (!item.visible)
        {
            for (UI::WindowsControl* hidden : {label, control})
                if (hidden)
                    hidden->Arrange(0, 0, 0, 0, defer, insertAfter, false);
            continue;
        }
        int height = row;
        if (item.kind == MessageItemKind::MultiLineEdit)
            height = std::max(row, form.tallWeights ? tallSpace * std::max(item.height, 0) / form.tallWeights
                                                    : tallSpace / form.tallRows);
        if (label)
        {
            const int width = item.kind == MessageItemKind::LabelOnly ? clientWidth - 2 * margin
                                                                        : form.labelColumn - margin - gap;
            label->Arrange(margin, y + labelDrop, width, labelHeight, defer, insertAfter, true);
        }
        if (control)
        {
            const int x = form.valueX;
            const int width = clientWidth - x - margin;
            switch (item.kind)
            {
            case MessageItemKind::CheckBox:
            case MessageItemKind::RadioButton:
                control->Arrange(x, y + labelDrop, width, labelHeight, defer, insertAfter, true);
                break;
            case MessageItemKind::DropDownList:
            case MessageItemKind::EditableComboBox:
                // A combo box's window height includes its dropped list.
                control->Arrange(x, y, width, UI::ComboBoxHeight() * 8, defer, insertAfter, true);
                break;
            case MessageItemKind::DateTimeField:
                control->Arrange(x, y, width, UI::ComboBoxHeight(), defer, insertAfter, true);
                break;
            case MessageItemKind::ColorSwatch:
                control->Arrange(x, y, std::min(width, Pt(45.0f)), row, defer, insertAfter, true);
                break;
            default: control->Arrange(x, y, width, height, defer, insertAfter, true); break;
            }
        }
        y += height + gap;
    }
}

void MessageWnd::ArrangeButtons(const FormMeasure& form, int clientWidth, int clientHeight, HDWP& defer,
                                HWND& insertAfter)
{
    for (const auto& [id, button] : buttons_)
        if (!button->visible)
            button->Arrange(0, 0, 0, 0, defer, insertAfter, false);
    int x = clientWidth - UI::Margin() - form.buttonsWidth;
    const int top = clientHeight - (UI::ButtonHeight() + UI::Margin());
    for (const auto& [button, width] : form.buttons)
    {
        button->Arrange(x, top, width, UI::ButtonHeight(), defer, insertAfter, true);
        x += width + UI::Gap();
    }
}

void MessageWnd::LayoutToClient()
{
    if (!hwnd_)
        return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    Layout(client.right, client.bottom);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

unsigned long MessageWnd::Run(const wchar_t* title)
{
    HWND focus = nullptr;
    for (size_t index = 0; index < ItemCount() && !focus; ++index)
        if (rightControls_[index])
            focus = rightControls_[index]->hwnd;
    if (!focus && defaultButton_)
        focus = defaultButton_->hwnd;
    return ShowAtLocation(title ? title : L"", minWidth_, minHeight_, true, focus, nullptr, Center);
}

bool MessageWnd::CallBack(MessageWndEventKind what, int32_t value)
{
    const MessageWndEvent event{value, what, leftControls_, rightControls_, buttons_};
    return callback_(event);
}

void MessageWnd::Validate(std::optional<size_t> changedItem)
{
    bool ok = true;
    for (size_t index = 0; index < ItemCount() && ok; ++index)
    {
        const MessageItem& item = Item(index);
        const std::shared_ptr<UI::WindowsControl>& control = rightControls_[index];
        if (control && control->IsEnabled() && IsEditKind(item.kind) && !item.optional && item.value.empty())
            ok = false;
    }
    if (defaultButton_)
        defaultButton_->Enable(ok);
    if (!callback_)
        return;
    try
    {
        if (changedItem)
            CallBack(MessageWndEventKind::ItemChanged, static_cast<int32_t>(*changedItem));
        else
            CallBack(MessageWndEventKind::Initial, 0);
    }
    catch (const _com_error& error)
    {
        // Raised again by ShowMessageForm once the box is gone.
        error_ = error;
        End(MessageButtonCancel);
        return;
    }
    LayoutToClient();
}

std::optional<size_t> MessageWnd::FindItem(HWND control) const
{
    if (!control)
        return std::nullopt;
    for (size_t index = 0; index < ItemCount() && index < rightControls_.size(); ++index)
    {
        const std::shared_ptr<UI::WindowsControl>& candidate = rightControls_[index];
        // An editable combo box sends from itself; its edit field is a child of it.
        if (candidate && (candidate->hwnd == control || GetParent(control) == candidate->hwnd))
            return index;
    }
    return std::nullopt;
}

std::optional<int> MessageWnd::FindButton(HWND control) const
{
    for (const auto& [id, button] : buttons_)
        if (control && button->hwnd == control)
            return id;
    return std::nullopt;
}

LRESULT MessageWnd::OnCommand(int id, HWND control, int code, bool& handled)
{
    if (!built_)
        return 0;
    handled = true;
    if (const std::optional<size_t> index = FindItem(control))
    {
        OnItemCommand(*index, code);
        return 0;
    }
    if (const std::optional<int> button = FindButton(control))
    {
        if (code == BN_CLICKED)
            PressButton(*button);
        return 0;
    }
    if (id == IDCANCEL)
        End(MessageButtonCancel);
    else if (id == IDOK && defaultButton_)
        PressButton(defaultButtonId_);
    return 0;
}

void MessageWnd::OnItemCommand(size_t index, int code)
{
    const MessageItem& item = Item(index);
    const std::shared_ptr<UI::WindowsControl>& control = rightControls_[index];
    switch (item.kind)
    {
    case MessageItemKind::Edit:
    case MessageItemKind::MultiLineEdit:
        if (code == EN_CHANGE && UI::GetWindowTextString(control->hwnd) != item.value)
            StoreValue(index, UI::GetWindowTextString(control->hwnd));
        break;
    case MessageItemKind::EditableComboBox:
    case MessageItemKind::DropDownList:
        if (code == CBN_EDITCHANGE && item.kind == MessageItemKind::EditableComboBox)
            StoreValue(index, UI::GetWindowTextString(control->hwnd));
        else if (code == CBN_SELCHANGE)
        {
            const int selection = static_cast<int>(SendMessageW(control->hwnd, CB_GETCURSEL, 0, 0));
            if (selection >= 0 && static_cast<size_t>(selection) < item.options.size())
                StoreValue(index, item.options[static_cast<size_t>(selection)]);
        }
        break;
    case MessageItemKind::CheckBox:
    case MessageItemKind::RadioButton:
        if (code == BN_CLICKED)
        {
            const bool checked = static_cast<UI::Button*>(control.get())->IsChecked();
            if (checked && item.kind == MessageItemKind::RadioButton)
                OnRadioChecked(index);
            if (item.value != (checked ? L"true" : L"false"))
                StoreValue(index, checked ? L"true" : L"false");
        }
        break;
    case MessageItemKind::ColorSwatch:
        if (code == BN_CLICKED)
            PickSwatchColor(index);
        break;
    default: break;
    }
}

void MessageWnd::OnRadioChecked(size_t index)
{
    auto isRadio = [this](size_t i) { return Item(i).kind == MessageItemKind::RadioButton; };
    if (!Item(index).groupStart)
        for (size_t i = index; i-- > 0;)
            if (isRadio(i))
            {
                Item(i).value = L"false";
                if (Item(i).groupStart)
                    break;
            }
    for (size_t i = index + 1; i < ItemCount(); ++i)
        if (isRadio(i))
        {
            if (Item(i).groupStart)
                break;
            Item(i).value = L"false";
        }
    // The buttons follow the values, whatever group the system made of them.
    RefreshControls();
}

void MessageWnd::StoreValue(size_t index, std::wstring value)
{
    Item(index).value = std::move(value);
    Validate(index);
}

void MessageWnd::PressButton(int id)
{
    const auto button = buttons_.find(id);
    if (button == buttons_.end() || !button->second->IsEnabled())
        return;
    if (callback_ && !CallBack(MessageWndEventKind::ButtonPressed, id))
    {
        LayoutToClient();
        return;
    }
    End(static_cast<unsigned long>(id));
}

void MessageWnd::PickSwatchColor(size_t index)
{
    COLORREF* custom = provider_.GetCustomColors();
    const std::optional<COLORREF> picked =
        PickColor(hwnd_, ColorRefOfColor(ParseColor(Item(index).value)), custom ? custom : ownCustomColors_);
    if (!picked)
        return;
    Item(index).value = ColorToString(ColorOfColorRef(*picked));
    PaintSwatch(index);
    provider_.OnCustomColorsChanged();
    if (hwnd_)
        Validate(index);
}

LRESULT MessageWnd::OnNotify(NMHDR* header)
{
    if (!header || !built_)
        return Window::OnNotify(header);
    if ((header->code == static_cast<UINT>(NM_CLICK) || header->code == static_cast<UINT>(NM_RETURN)) &&
        header->hwndFrom == textLabel_->hwnd)
    {
        const auto* link = reinterpret_cast<const NMLINK*>(header);
        ShellExecuteW(hwnd_, nullptr, link->item.szUrl, nullptr, nullptr, SW_SHOW);
        return 0;
    }
    if (header->code == static_cast<UINT>(DTN_DATETIMECHANGE))
        if (const std::optional<size_t> index = FindItem(header->hwndFrom);
            index && Item(*index).kind == MessageItemKind::DateTimeField)
        {
            const auto* picker = static_cast<UI::DateTimePicker*>(rightControls_[*index].get());
            Item(*index).value = FormatDateTime(DateTime::FromLocalSystemTime(picker->GetValue()), false);
            return 0;
        }
    return Window::OnNotify(header);
}

LRESULT MessageWnd::OnSize(int width, int height, bool&)
{
    if (!built_ || width <= 0 || height <= 0)
        return 0;
    Layout(width, height);
    if (std::exchange(firstSize_, false))
        GetUiChannel().Post([this] {
            Validate(std::nullopt);
            LayoutToClient();
        });
    return 0;
}

LRESULT MessageWnd::OnClose(bool& handled)
{
    End(MessageButtonCancel);
    handled = true;
    return 0;
}

LRESULT MessageWnd::OnPaint(bool& handled)
{
    handled = true;
    UI::PaintBuffer buffer(hwnd_, offscreen_);
    if (!buffer.graphics)
        return 0;
    Gdiplus::Graphics& graphics = *buffer.graphics;
    graphics.Clear(Gdiplus::Color(GetThemeArgb(COLOR_BTNFACE)));
    const int inset = IsDarkMode() ? Pt(0.75f) : 0;
    const Gdiplus::SolidBrush form{Gdiplus::Color(GetThemeArgb(COLOR_WINDOW))};
    graphics.FillRectangle(&form, inset, 0, buffer.width - 2 * inset, buffer.height - Pt(36.0f));
    if (hasSizeGrip_)
    {
        const Gdiplus::SolidBrush grip{Gdiplus::Color(GetThemeArgb(COLOR_BTNSHADOW))};
        const float s = 1.5f * GetDpiScaleX();
        const auto w = static_cast<float>(buffer.width);
        const auto h = static_cast<float>(buffer.height);
        for (const auto& [dx, dy] : {std::pair{2, 6}, {4, 4}, {2, 4}, {6, 2}, {4, 2}, {2, 2}})
            graphics.FillRectangle(&grip, w - static_cast<float>(dx) * s, h - static_cast<float>(dy) * s, s, s);
    }
    return 0;
}

LRESULT MessageWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETMINMAXINFO && minWidth_ > 0)
    {
        RECT frame{0, 0, minWidth_, minHeight_};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
        return 0;
    }
    return Window::WndProc(hwnd, message, wParam, lParam);
}
} // namespace

int ShowMessage(HWND parent, const wchar_t* title, const std::set<int>& buttons, int defaultButton,
                IMessageBoxDataProvider* provider, const std::wstring& text)
{
    return ShowMessageForm(parent, title, nullptr, false, 250, {}, buttons, defaultButton, provider, text);
}

int ShowMessageForm(HWND parent, const wchar_t* title, std::vector<MessageItem>* items, bool resizable, int textWidth,
                    const MessageWndCallback& callback, const std::set<int>& buttons, int defaultButton,
                    IMessageBoxDataProvider* provider, const std::wstring& text)
{
    if (MessageBoxOverride)
        return MessageBoxOverride(parent, title, items, resizable, textWidth, callback, buttons, defaultButton,
                                  provider, text);
    auto box = std::make_shared<MessageWnd>(parent, items, resizable, textWidth, callback, buttons, defaultButton,
                                            provider ? *provider : GetMessageBoxDataProvider(), text);
    const unsigned long result = box->Run(title);
    std::optional<_com_error> error = box->TakeError();
    box.reset();
    if (error)
        throw *error;
    return static_cast<int>(result);
}

void ShowErrorMessage(HWND parent, const std::wstring& text)
{
    ShowMessage(parent, L"Error", {MessageButtonOK}, MessageButtonOK, nullptr, text);
}

void ShowComErrorMessage(HWND parent, const _com_error& error)
{
    if (error.Error() == E_ABORT)
        return;
    ShowErrorMessage(parent, GetErrorMessage(error));
}
