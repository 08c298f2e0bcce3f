// The location picker window that the quick filing dialog shows a person when no test drives it.
#include "standins/onenote/Objects.h"

#include <commctrl.h>

#include <memory>

namespace StandIn
{
namespace
{
constexpr int TreeId = 100;
constexpr int ChooseId = IDOK;
constexpr int CancelId = IDCANCEL;
const wchar_t* const PickerClass = L"QuilloraOneNoteStandInPicker";

struct Picker
{
    QuickFilingDialog* dialog = nullptr;
    LONG allowed = 0;
    HWND tree = nullptr;
    HWND choose = nullptr;
    std::vector<std::pair<std::wstring, LONG>> items; // ID and HierarchyElement bit, by tree item
    bool closed = false;
};

LONG KindBit(const std::wstring& name)
{
    if (name == L"Notebook")
        return 1;
    if (name == L"SectionGroup")
        return 2;
    if (name == L"Section")
        return 4;
    if (name == L"Page")
        return 8;
    return 0;
}

void AddItems(Picker& picker, HTREEITEM parent, const XNode& node, LONG depth)
{
    for (const auto& child : node.children)
    {
        const LONG bit = KindBit(child->name);
        if (bit == 0 || bit > std::max<LONG>(depth, 4) || child->AttributeOr(L"isRecycleBin") == L"true")
            continue;
        if (bit == 8 && (depth & 8) == 0)
            continue;
        std::wstring name = child->AttributeOr(L"name");
        if (name.empty())
            name = L"(untitled)";
        picker.items.emplace_back(child->AttributeOr(L"ID"), bit);
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = name.data();
        insert.item.lParam = static_cast<LPARAM>(picker.items.size() - 1);
        HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(picker.tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        AddItems(picker, item, *child, depth);
        if (bit <= 2)
            SendMessageW(picker.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    }
}

const std::pair<std::wstring, LONG>* Selected(Picker& picker)
{
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(picker.tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item)
        return nullptr;
    TVITEMW data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    SendMessageW(picker.tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return &picker.items.at(static_cast<size_t>(data.lParam));
}

void Finish(HWND window, Picker& picker, ULONG button)
{
    if (picker.closed)
        return;
    picker.closed = true;
    std::wstring id;
    if (button == 0)
        if (const auto* selected = Selected(picker))
            id = selected->first;
    // Close destroys this window and releases the dialog.
    picker.dialog->Close(button, id, false);
    (void)window;
}

LRESULT CALLBACK PickerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* picker = reinterpret_cast<Picker*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message)
    {
    case WM_COMMAND:
        if (picker && LOWORD(wParam) == ChooseId)
            Finish(window, *picker, 0);
        else if (picker && LOWORD(wParam) == CancelId)
            Finish(window, *picker, 1);
        return 0;
    case WM_NOTIFY:
        if (picker && reinterpret_cast<NMHDR*>(lParam)->code == TVN_SELCHANGEDW)
        {
            const auto* selected = Selected(*picker);
            EnableWindow(picker->choose, selected && (selected->second & picker->allowed) != 0);
        }
        return 0;
    case WM_CLOSE:
        if (picker)
            Finish(window, *picker, 1);
        return 0;
    case WM_NCDESTROY:
        delete picker;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
} // namespace

HWND ShowQuickFilingPicker(QuickFilingDialog* dialog, const QuickFilingPickerOptions& options)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    static const ATOM atom = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = PickerProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = PickerClass;
        return RegisterClassW(&windowClass);
    }();
    (void)atom;
    const std::wstring title = options.title.empty() ? L"Select Location in OneNote" : options.title;
    HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME, PickerClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 380, 460, options.owner, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return nullptr;
    auto picker = std::make_unique<Picker>();
    picker->dialog = dialog;
    picker->allowed = options.allowed == 0 ? 15 : options.allowed;
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND description = CreateWindowExW(0, L"STATIC", options.description.c_str(), WS_CHILD | WS_VISIBLE, 12, 10, 350,
                                       36, window, nullptr, nullptr, nullptr);
    picker->tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                                       TVS_SHOWSELALWAYS,
                                   12, 50, 350, 320, window, reinterpret_cast<HMENU>(TreeId), nullptr, nullptr);
    const std::wstring buttonText = options.buttonText.empty() ? L"OK" : options.buttonText;
    picker->choose = CreateWindowExW(0, L"BUTTON", buttonText.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                     12, 382, 200, 28, window, reinterpret_cast<HMENU>(ChooseId), nullptr, nullptr);
    HWND cancel = CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 262, 382, 100, 28, window,
                                  reinterpret_cast<HMENU>(CancelId), nullptr, nullptr);
    for (HWND control : {description, picker->tree, picker->choose, cancel})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EnableWindow(picker->choose, FALSE);
    if (const XNodePtr hierarchy = Store::Current().Snapshot())
        AddItems(*picker, TVI_ROOT, *hierarchy, options.treeDepth);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picker.release()));
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    return window;
}
} // namespace StandIn
