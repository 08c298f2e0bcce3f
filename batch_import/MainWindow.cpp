#include "batch_import/MainWindow.h"

#include "batch_import/MainWindowLayout.h"
#include "framework/com/ErrorMessage.h"
#include "framework/log/Log.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Theme.h"
#include "framework/ui/WindowPosition.h"
#include "framework/ui/controls/InfoBadge.h"
#include "framework/ui/controls/Tooltip.h"
#include "framework/ui/dialogs/MessageBox.h"
#include "update/Update.h"

#include <algorithm>
#include <thread>

const wchar_t* const MainWindowTitle = L"Quillora Batch File Import 1.3.0";

namespace
{
// The width of the columns, in 96-dpi pixels.
constexpr int ColumnWidth = 180;

// Starting, stopping and aiming an import and the import settings menu: the import side of the
// window.
constexpr bool HasImportSide = true;

std::shared_ptr<UI::Button> PushButton(HWND parent, unsigned id, int image, const wchar_t* text)
{
    return std::make_shared<UI::Button>(parent, static_cast<int>(id), UI::Button::Push, image, text, false, 2, true,
                                        false);
}

std::shared_ptr<UI::Button> CheckBox(HWND parent, unsigned id, const wchar_t* text)
{
    return std::make_shared<UI::Button>(parent, static_cast<int>(id), UI::Button::CheckBox, 0, text, false, 0, true,
                                        false);
}

std::shared_ptr<UI::Button> Radio(HWND parent, unsigned id, const wchar_t* text, bool first)
{
    return std::make_shared<UI::Button>(parent, static_cast<int>(id), UI::Button::Radio, text, first,
                                        L"outputFormat");
}

std::shared_ptr<UI::Label> EmptyLine(HWND parent) { return std::make_shared<UI::Label>(parent, L""); }

// The menu commands of the idle rule that the importing rule turns off.
constexpr unsigned IdleMenuCommands[] = {
    Command::StartImport, Command::ThemeLight, Command::ThemeDark, Command::ThemeFollowOffice, Command::AddFiles,
    Command::AddFolders, Command::SelectAll, Command::RemoveSelected, Command::MoveUp, Command::MoveDown,
    Command::ClearFileList, Command::FileAttachment, Command::FileContent, Command::PathAsText, Command::PathAsLink,
    Command::SinglePage, Command::PagePerFile, Command::PagePerPrintoutPage, Command::PickLocation};

// Posted to the window itself: the controls follow the list's selection.
constexpr UINT WM_FOLLOWSELECTION = WM_USER + 0x120;

void Show(const std::shared_ptr<UI::WindowsControl>& control, bool visible)
{
    if (control)
        control->visible = visible;
}
} // namespace

MainWindow::MainWindow(std::optional<std::wstring> previousVersion, std::optional<Importer::Settings> settings)
    : commands_(GetCommandTable()), workspace_(std::move(settings)), previousVersion_(std::move(previousVersion))
{
}

MainWindow::~MainWindow()
{
    // The list's drop target goes while its window still exists.
    fileList_.reset();
}

unsigned MainWindow::Show()
{
    ApplyTheme(false);
    Create(nullptr, COLOR_BTNFACE, WS_EX_WINDOWEDGE, WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    fileList_ = std::make_unique<FileList>(hwnd_, workspace_.GetConfig().entries);
    CreateImportSide();
    imageOffset_ = IsDarkMode() ? DarkImageOffset : 0;
    BuildControls();
    pathKind_->SetItems({L"plain text", L"hyperlink"});
    HideRunControls();

    GetMainMenu().AttachTo(hwnd_);
    EnableCommand(Command::PickLocation, HasImportSide);

    LoadWorkspace();

    if (previousVersion_)
    {
        const std::wstring version = *previousVersion_;
        GetLog(true) << L"What's New comes in two seconds: the update was made from version " << version;
        RunInBackground(
            *this, [] { std::this_thread::sleep_for(std::chrono::milliseconds(2000)); },
            [version](MainWindow& window) {
                if (!window.GetHwnd())
                    return;
                // What is new is a courtesy of the update: a service that cannot tell (or tells
                // slowly) costs the user nothing but the window, and the failure is only logged.
                try
                {
                    ShowWhatsNewWhenReady(window.GetUiChannel(), window.GetHwnd(), "Quillora Batch File Import",
                                          version, false, {});
                }
                catch (const _com_error& error)
                {
                    GetLog(true) << L"ERROR: " << L"What's New could not be shown: " << GetErrorMessage(error);
                }
            });
    }

    const unsigned showCommand = SetWindowPosition(hwnd_, workspace_.WindowPosition());
    const Owners::AcceleratorTable accelerators(
        LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(MainAcceleratorsId)));
    ShowWindow(hwnd_, static_cast<int>(showCommand));
    UpdateWindow(hwnd_);
    SetFocus(fileList_->GetListView()->GetHwnd());
    // The loop of a modal window is the main window's too: WM_QUIT ends the window unsaved with
    // MainWindowQuit and is posted again, and a WM_CLOSE without a window brings it forward.
    return static_cast<unsigned>(RunModalLoop(accelerators.get()));
}

MenuRecord& MainWindow::GetMainMenu()
{
    if (auto found = menus_.find(MainMenuId); found != menus_.end())
        return found->second;
    return menus_[MainMenuId] = LoadMainMenu(commands_);
}

void MainWindow::BuildControls()
{
    const HWND parent = hwnd_;
    const int columnWidth = ::ScaleToDpi(ColumnWidth);

    heading_ = std::make_shared<UI::Label>(parent, L"Files to Import", false, UI::Label::Left, UI::FontLarge);
    heading_->width = columnWidth;
    heading_->height = ::ScaleToDpi(30);
    auto toolbar = BuildToolbar(parent, imageOffset_, toolbar_);

    smallProgress_ = std::make_shared<UI::Progress>(parent);
    smallProgress_->width = smallProgress_->minWidth = ::ScaleToDpi(56);
    smallProgress_->height = smallProgress_->minHeight = ::ScaleToDpi(8);
    smallProgress_->margin.left = ::ScaleToDpi(-2);
    smallProgress_->margin.top = ::ScaleToDpi(-6);
    smallStatus_ = std::make_shared<UI::Label>(parent, L"");
    smallStop_ = PushButton(parent, Command::StopImport, 0, L"Stop Import");
    smallClear_ = PushButton(parent, Command::ClearFileList, 0, L"Clear File List");
    smallProgressBox_ = std::make_shared<UI::BoxContainer>(
        "smallPrgC", true, UI::BoxContainer::End, UI::Gap(),
        UI::ControlList{smallProgress_, smallStatus_, smallStop_, smallClear_});

    placeholderTitle_ = std::make_shared<UI::Label>(parent, L"No items found", false, UI::Label::Centre, UI::FontLarge);
    placeholderText_ = std::make_shared<UI::Label>(parent, L"Drop files to import or", false, UI::Label::Centre);
    selectFiles_ = PushButton(parent, Command::AddFiles, Image::AddFiles + imageOffset_, L"Select Files");
    selectFolders_ = PushButton(parent, Command::AddFolders, Image::AddFolders + imageOffset_, L"Select Folders");
    center_ = std::make_shared<UI::BoxContainer>(
        "center", true, UI::BoxContainer::Centre, UI::Gap(),
        UI::ControlList{placeholderTitle_, placeholderText_, selectFiles_, selectFolders_});
    center_->width = ::ScaleToDpi(ColumnWidth - 2);
    center_->height = ::ScaleToDpi(120 - 2);
    // The placeholder asks for files to be dropped: it takes them as the list under it would.
    for (const auto& control : std::initializer_list<std::shared_ptr<UI::WindowsControl>>{
             placeholderTitle_, placeholderText_, selectFiles_, selectFolders_})
        fileList_->AcceptDropsOn(control->GetHwnd());
    const auto listView = fileList_->GetListView();
    listView->minWidth = columnWidth;
    listView->minHeight = ::ScaleToDpi(120);
    auto listArea = std::make_shared<UI::OverlappingContainer>(2, 2, UI::ControlList{center_, listView});

    left_ = std::make_shared<UI::BoxContainer>("left", true, UI::BoxContainer::Start, UI::Gap(),
                                               UI::ControlList{heading_, toolbar, smallProgressBox_, listArea});

    attachment_ = CheckBox(parent, Command::FileAttachment, L"Insert as file &attachment");
    content_ = CheckBox(parent, Command::FileContent, L"Insert file &content (text, printout, image)");
    auto contentWithInfo = UI::CreateControlWithInfo(
        parent, content_,
        L"Full contents of certain file types can be imported into OneNote. Supported file types are: plain text "
        L"files, images (JPG, PNG, TIFF, GIF, EMF), HTML files, printable documents (Word documents, PowerPoint slide "
        L"decks, and PDF files).");
    originalPath_ = CheckBox(parent, Command::OriginalPath, L"Insert origina&l file path as");
    pathKind_ = std::make_shared<UI::ComboBox>(parent, 0, false);
    auto insertLink = std::make_shared<UI::BoxContainer>("insertLink", false, UI::BoxContainer::Centre, UI::Gap(),
                                                         UI::ControlList{originalPath_, pathKind_});
    singlePage_ = Radio(parent, Command::SinglePage, L"Insert all files into a &single page", true);
    pagePerFile_ = Radio(parent, Command::PagePerFile, L"Insert each file into a separate &page", false);
    pagePerPrintoutPage_ =
        Radio(parent, Command::PagePerPrintoutPage, L"Insert each print&out page into a separate page", false);
    settingsBox_ = std::make_shared<UI::BoxContainer>(
        "settings", true, UI::BoxContainer::Start, UI::Gap(),
        UI::ControlList{std::make_shared<UI::Label>(parent, L"Import Settings", false, UI::Label::Left, UI::FontLarge),
                        attachment_, contentWithInfo, insertLink, EmptyLine(parent), singlePage_, pagePerFile_,
                        pagePerPrintoutPage_, EmptyLine(parent)});

    importSettings_ = PushButton(parent, Command::ImportSettings, Image::ImportFormat + imageOffset_, L"I&mport Settings");
    importSettings_->width = columnWidth;
    importSettings_->height = UI::ButtonHeight();
    pickLocation_ = PushButton(parent, Command::PickLocation, 0, L"Pic&k a location to import...");
    pickLocation_->width = columnWidth;
    pickLocation_->height = UI::ButtonHeight();
    targetLabel_ = std::make_shared<UI::Label>(parent, L"", false, UI::Label::Left, UI::FontNormal, true);
    start_ = PushButton(parent, Command::StartImport, Image::StartImportLarge + imageOffset_, L"Start &Import");
    start_->SetFont(UI::FontBold);
    start_->width = columnWidth;
    start_->height = ::ScaleToDpi(48);
    progress_ = std::make_shared<UI::Progress>(parent);
    progress_->width = progress_->minWidth = columnWidth;
    progress_->height = progress_->minHeight = ::ScaleToDpi(8);
    // Close under "Start Import", and clear of it.
    progress_->margin.top = ::ScaleToDpi(-3);
    status_ = std::make_shared<UI::Label>(parent, L"");
    stop_ = PushButton(parent, Command::StopImport, 0, L"Stop Import");
    clear_ = PushButton(parent, Command::ClearFileList, 0, L"Clear File List");
    right_ = std::make_shared<UI::BoxContainer>(
        "right", true, UI::BoxContainer::Start, UI::Gap(),
        UI::ControlList{settingsBox_, importSettings_, pickLocation_, targetLabel_, EmptyLine(parent), start_,
                        progress_, status_, stop_, clear_});
    right_->stretch[4] = 1.0f;

    main_ = std::make_shared<UI::BoxContainer>("main", false, UI::BoxContainer::Start, 4 * UI::Gap(),
                                               UI::ControlList{left_, right_});
    SetRootControl(std::make_shared<UI::BoxContainer>("root", true, UI::BoxContainer::Start, UI::Gap(),
                                                      UI::ControlList{main_}));
}

void MainWindow::HideRunControls()
{
    for (const auto& control : std::initializer_list<std::shared_ptr<UI::WindowsControl>>{
             progress_, smallProgress_, status_, smallStatus_, stop_, smallStop_, clear_, smallClear_})
        ::Show(control, false);
}

void MainWindow::CloseWithResult(unsigned result)
{
    if (!hwnd_)
        return;
    GetWindowPosition(hwnd_, workspace_.WindowPosition());
    SaveWorkspace();
    End(result);
    closed_ = true;
}

LRESULT MainWindow::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYENDSESSION)
        return TRUE;
    if (message == WM_ENDSESSION)
    {
        // The process may be ended as soon as this returns: nothing waits for a later save. Windows
        // gives the answer a few seconds, too few to wait for a file another program holds: the save
        // replaces the file whole or not at all, so a held one is logged and stays as it was.
        if (wParam && hwnd_ && !closed_)
        {
            if (import_)
                import_->Close();
            try
            {
                GetWindowPosition(hwnd_, workspace_.WindowPosition());
                // No box can be shown now: a save that fails is told by the log alone.
                workspace_.Save(0);
            }
            catch (const _com_error& error)
            {
                GetLog(true) << L"ERROR: The workspace could not be saved at the end of the session: "
                             << GetErrorMessage(error);
            }
            catch (...)
            {
                GetLog(true) << L"ERROR: The workspace could not be saved at the end of the session";
            }
        }
        else if (!wParam && hwnd_ && !closed_ && import_)
            import_->Prompts()->Reopen();
        return 0;
    }
    if (message == WM_FOLLOWSELECTION)
    {
        controlsUpdatePosted_ = false;
        if (controlsBehind_)
            EnableControls();
        return 0;
    }
    return AutoLayoutWindow::WndProc(hwnd, message, wParam, lParam);
}

LRESULT MainWindow::OnSize(int width, int height, bool& handled)
{
    handled = true;
    if (!main_)
        return 0;
    const MainWindowLayout layout = ComputeMainWindowLayout(width, height, GetDpiScaleX(), MeasureColumns());
    heading_->visible = layout.tall;
    settingsBox_->visible = layout.tall;
    importSettings_->visible = !layout.tall;
    pickLocation_->visible = layout.pickLocationVisible;
    importSettings_->Enable(HasImportSide && layout.importSettingsEnabled);
    toolbar_.importFormat->visible = !layout.wide;
    toolbar_.start->visible = !layout.wide;
    smallProgressBox_->visible = !layout.wide;
    right_->visible = layout.wide;
    smallStatus_->width = layout.smallStatusWidth;
    smallStatus_->height = layout.smallStatusWidth ? UI::CheckBoxHeight() : 0;
    left_->width = layout.leftWidth;
    left_->height = layout.leftHeight;
    Layout(width, height, GetWindow(GetWindow(hwnd_, GW_CHILD), GW_HWNDLAST));
    return 0;
}

ColumnContent MainWindow::MeasureColumns() const
{
    const Owners::WindowDC screen(nullptr);
    Gdiplus::Graphics graphics(screen.get());
    const auto widest = [&graphics](std::initializer_list<std::shared_ptr<UI::IControl>> controls) {
        int width = 0;
        for (const auto& control : controls)
            width = std::max(width, UI::MeasureUnwrappedWidth(graphics, *control));
        return width;
    };
    const int buttons = widest({importSettings_, pickLocation_, start_, progress_, stop_, clear_});
    return {.rightTall = std::max(buttons, widest({settingsBox_})),
            .rightLow = buttons,
            .left = widest({heading_, center_, fileList_->GetListView()})};
}

void MainWindow::Relayout()
{
    if (!hwnd_)
        return;
    const UI::Rect client = UI::GetClientRectangle(hwnd_);
    bool handled = false;
    OnSize(client.width, client.height, handled);
}

void MainWindow::ApplyTheme(bool menuOnly)
{
    const std::wstring& theme = workspace_.Theme();
    int mode;
    if (theme == L"light")
        mode = UI::ThemeLight;
    else if (theme == L"dark")
        mode = UI::ThemeDark;
    else if (theme == L"followOffice")
        mode = UI::ThemeFollowOffice;
    else
        return;
    if (!menuOnly)
        SetThemeMode(mode);
    if (auto menu = menus_.find(MainMenuId); menu != menus_.end())
    {
        SetMenuItemChecked(menu->second, Command::ThemeLight, mode == UI::ThemeLight, true);
        SetMenuItemChecked(menu->second, Command::ThemeDark, mode == UI::ThemeDark, true);
        SetMenuItemChecked(menu->second, Command::ThemeFollowOffice, mode == UI::ThemeFollowOffice, true);
    }
}

void MainWindow::SetFileListView(const std::wstring& view, bool menuOnly)
{
    const bool list = view == Importer::View::ListView;
    if (auto menu = menus_.find(MainMenuId); menu != menus_.end())
    {
        SetMenuItemChecked(menu->second, Command::ListView, list, true);
        SetMenuItemChecked(menu->second, Command::IconView, !list, true);
    }
    if (menuOnly || !fileList_)
        return;
    fileList_->tiles = !list;
    SendMessageW(fileList_->GetListView()->GetHwnd(), LVM_SETVIEW,
                 list && !workspace_.GetConfig().entries.empty() ? LV_VIEW_DETAILS : LV_VIEW_ICON, 0);
    fileList_->Reload();
    workspace_.SetFileListView(list ? std::wstring(Importer::View::ListView) : L"tiles");
}

void MainWindow::EnableCommand(unsigned command, bool enabled)
{
    if (auto menu = menus_.find(MainMenuId); menu != menus_.end())
        SetMenuItemEnabled(menu->second, command, enabled);
}

bool MainWindow::IsIdleCommand(unsigned id)
{
    return id == Command::ImportSettings || id == Command::OriginalPath ||
           std::find(std::begin(IdleMenuCommands), std::end(IdleMenuCommands), id) != std::end(IdleMenuCommands);
}

void MainWindow::EnableControls()
{
    // While a run goes on the importing rule holds, whatever asks for the idle one: a target picked
    // or a setting changed meanwhile is shown once the run has ended.
    if (!fileList_ || importing_)
        return;
    // A closed window's controls are gone, while its list may still report its rows going with it.
    if (closed_ || !IsWindow(hwnd_))
        return;
    controlsBehind_ = false;
    // This runs inside the list's own handler too (when the window cannot post to itself): the
    // handler is set once for the idle spell, never replaced while it runs.
    if (!followingList_)
    {
        fileList_->SetChangedCallback([this] { EnableControlsLater(); });
        followingList_ = true;
    }
    fileList_->SetDropCallback([this](const std::vector<std::wstring>& paths) {
        if (AddPaths(paths))
            workspace_.MarkChanged();
    });

    const std::vector<unsigned> selected = fileList_->GetListView()->GetSelectedItems();
    const size_t count = workspace_.GetConfig().entries.size();
    const bool canImport = HasImportSide && count > 0 && (attachment_->IsChecked() || content_->IsChecked() || originalPath_->IsChecked());
    const bool hasSelection = !selected.empty();
    const bool canMoveUp = hasSelection && selected.front() >= 1;
    const bool canMoveDown = hasSelection && selected.back() + 1 < count;

    start_->Enable(canImport);
    toolbar_.start->Enable(canImport);
    EnableCommand(Command::StartImport, canImport);
    EnableCommand(Command::StopImport, false);
    for (unsigned command : {Command::ThemeLight, Command::ThemeDark, Command::ThemeFollowOffice, Command::AddFiles,
                             Command::AddFolders, Command::SelectAll})
        EnableCommand(command, true);
    toolbar_.addFiles->Enable(true);
    toolbar_.addFolders->Enable(true);
    toolbar_.remove->Enable(hasSelection);
    EnableCommand(Command::RemoveSelected, hasSelection);
    toolbar_.moveUp->Enable(canMoveUp);
    EnableCommand(Command::MoveUp, canMoveUp);
    toolbar_.moveDown->Enable(canMoveDown);
    EnableCommand(Command::MoveDown, canMoveDown);
    clear_->Enable(count > 0);
    smallClear_->Enable(count > 0);
    EnableCommand(Command::ClearFileList, count > 0);
    for (const auto& control : {attachment_, content_, originalPath_, singlePage_, pagePerFile_, pagePerPrintoutPage_})
        control->Enable(true);
    for (unsigned command : {Command::FileAttachment, Command::FileContent, Command::PathAsText, Command::PathAsLink,
                             Command::SinglePage, Command::PagePerFile, Command::PagePerPrintoutPage})
        EnableCommand(command, true);
    pickLocation_->Enable(HasImportSide);
    EnableCommand(Command::PickLocation, HasImportSide);
    targetLabel_->Enable(HasImportSide);
    importSettings_->Enable(HasImportSide);
    toolbar_.importFormat->Enable(HasImportSide);

    ApplySettingsToControls();
}

void MainWindow::EnableControlsLater()
{
    // The list tells of every row whose state changes, all within the one message that changed
    // them; the rule looks at every selected row, so it runs once they are all told, not once a row.
    controlsBehind_ = true;
    if (controlsUpdatePosted_ || !hwnd_)
        return;
    if (PostMessageW(hwnd_, WM_FOLLOWSELECTION, 0, 0))
        controlsUpdatePosted_ = true;
    else
        EnableControls();
}

void MainWindow::DisableControls()
{
    if (!fileList_)
        return;
    fileList_->SetChangedCallback({});
    followingList_ = false;
    fileList_->SetDropCallback({});
    for (const auto& control : std::initializer_list<std::shared_ptr<UI::Button>>{
             start_, toolbar_.start, toolbar_.addFiles, toolbar_.addFolders, toolbar_.remove, toolbar_.moveUp,
             toolbar_.moveDown, clear_, smallClear_, attachment_, content_, originalPath_, singlePage_, pagePerFile_,
             pagePerPrintoutPage_, pickLocation_, importSettings_, toolbar_.importFormat})
        control->Enable(false);
    targetLabel_->Enable(false);
    pathKind_->Enable(false);
    for (unsigned command : IdleMenuCommands)
        EnableCommand(command, false);
    EnableCommand(Command::StopImport, importing_ && !stopRequested_);
    Relayout();
}

void MainWindow::ShowPlaceholder(bool show)
{
    if (center_)
        center_->visible = show;
}

void MainWindow::SetWindowTitle()
{
    if (hwnd_)
        SetWindowTextW(hwnd_, MainWindowTitle);
}

LRESULT MainWindow::OnClose(bool& handled)
{
    handled = true;
    if (importing_ &&
        ShowMessage(hwnd_, L"Import in Progress", {MessageButtonYes, MessageButtonNo}, MessageButtonYes, nullptr,
                    L"Files are currently being imported to OneNote. Do you want to stop importing?") != MessageButtonYes)
        return 0;
    // The run stops, and asks nothing more of a window that is going.
    if (import_)
        import_->Close();
    CloseWithResult(MainWindowClosed);
    return 0;
}

LRESULT MainWindow::OnNotify(NMHDR* header)
{
    if (!header)
        return 0;
    if (targetLabel_ && header->hwndFrom == targetLabel_->GetHwnd() &&
        (header->code == NM_CLICK || header->code == NM_RETURN))
    {
        OpenTarget(reinterpret_cast<const NMLINK*>(header)->item.szUrl);
        return 0;
    }
    if (UI::HandleTooltipNotification(header))
        return 0;
    if (fileList_)
    {
        bool result = false;
        if (fileList_->GetListView()->OnNotify(header, result))
            return result;
    }
    return Window::OnNotify(header);
}

HBRUSH MainWindow::OnCtlColor(HWND, UINT message, HDC dc, HWND control, int background)
{
    if ((placeholderTitle_ && control == placeholderTitle_->GetHwnd()) ||
        (placeholderText_ && control == placeholderText_->GetHwnd()))
        background = COLOR_WINDOW;
    // The theme's own answer: its brushes are shared (the window's background among them), and a
    // control that frees the brush it is given gets one that survives that.
    return HandleCtlColor(message, dc, control, background);
}
