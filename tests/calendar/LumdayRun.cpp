#include "tests/calendar/LumdayRun.h"

#include "calendar/DrawingResources.h"
#include "calendar/UiLanguages.h"
#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/text/DateTime.h"
#include "framework/text/Text.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <fstream>

namespace LumdayTest
{
const wchar_t* const TitleSuffix = L" - Dayloom 1.18.1";

std::filesystem::path LumdayExe() { return Harness::BuildFolder() / L"calendar" / L"Lumday.exe"; }

std::filesystem::path WriteStoreFile(const std::wstring& name, const std::wstring& notebooksXml)
{
    const std::filesystem::path file = TestPaths::OutputFile(L"." + name + L".seed.xml");
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        << WideToUtf8(L"<?xml version=\"1.0\"?><one:Notebooks "
                      L"xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\">" +
                      notebooksXml + L"</one:Notebooks>");
    return file;
}

std::wstring StoreNotebook(int number, const std::wstring& name, const std::wstring& path)
{
    const std::wstring n = std::to_wstring(number);
    const std::wstring digits = std::wstring(12 - n.size(), L'0') + n;
    const std::wstring today = FormatDateTime(DateTime(), false);
    return L"<one:Notebook ID=\"{44444444-0000-0000-0000-" + digits + L"}{1}{B0}\" name=\"" + name + L"\" path=\"" +
           path + L"\"><one:Section ID=\"{55555555-0000-0000-0000-" + digits + L"}{1}{B0}\" name=\"S\" path=\"" + path +
           L"\\S.one\"><one:Page ID=\"{66666666-0000-0000-0000-" + digits + L"}{1}{E1}\" name=\"Page of " + name +
           L"\" dateTime=\"" + today + L"\" lastModifiedTime=\"" + today + L"\"/></one:Section></one:Notebook>";
}

StandInFiles::StandInFiles()
    : store_(TestPaths::OutputFile(L".store")), scenario_(TestPaths::OutputFile(L".scenario.txt")),
      callLog_(TestPaths::OutputFile(L".calls.log"))
{
    std::error_code error;
    std::filesystem::remove_all(store_, error);
    std::filesystem::remove(callLog_, error);
    SetScenario("store demo\n");
}

void StandInFiles::SetScenario(const std::string& scenario) const
{
    std::ofstream(scenario_, std::ios::binary | std::ios::trunc) << scenario;
}

std::map<std::wstring, std::wstring> StandInFiles::Environment() const
{
    return {{L"QUILLORA_ONENOTE_STORE", store_.wstring()},
            {L"QUILLORA_ONENOTE_CALLLOG", callLog_.wstring()},
            {L"QUILLORA_ONENOTE_SCENARIO", scenario_.wstring()}};
}

std::unique_ptr<Harness::Program> Start(const Harness::Profile& profile, const StandInFiles& standIn,
                                        const std::wstring& arguments, const std::filesystem::path& program)
{
    return std::make_unique<Harness::Program>(Harness::StartOptions{
        .program = program,
        .arguments = arguments,
        .profile = &profile,
        .environment = standIn.Environment(),
    });
}

void WriteSettings(const Harness::Profile& profile, const std::wstring& text)
{
    const std::filesystem::path file = profile.RoamingAppData() / L"lumday.xml";
    ASSERT_TRUE(WriteBytesToFile(file.wstring().c_str(), text.data(), text.size() * sizeof(wchar_t)));
}

std::wstring ReadSettings(const Harness::Profile& profile)
{
    return ReadTextFile((profile.RoamingAppData() / L"lumday.xml").wstring().c_str());
}

HWND MainWindowOf(const Harness::Program& program)
{
    const HWND window = program.WaitForWindow(L"WC_LUMDAY");
    if (window)
        Harness::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 10s);
    return window;
}

bool TitleBecomes(HWND window, const std::wstring& viewText, std::chrono::milliseconds timeout)
{
    const bool shown =
        Harness::WaitUntil([&] { return Harness::TextOf(window) == viewText + TitleSuffix; }, timeout);
    if (!shown)
        ADD_FAILURE() << "title: " << testing::PrintToString(std::filesystem::path(Harness::TextOf(window)).string());
    return shown;
}

std::wstring MonthTitle()
{
    LoadLanguageStrings(L"en");
    FillDateNameTables();
    const DateTime today;
    return GetDateNameTables().monthNames[static_cast<size_t>(today.local.tm_mon + 1)] + L" " +
           std::to_wstring(today.local.tm_year + 1900);
}

bool DrawnAround(HWND window, POINT point, int half, std::chrono::milliseconds timeout)
{
    return Harness::WaitUntil(
        [&] {
            const ClientPicture picture(window);
            const COLORREF first = picture.At(point.x, point.y);
            for (int y = point.y - half; y <= point.y + half; ++y)
                for (int x = point.x - half; x <= point.x + half; ++x)
                    if (picture.At(x, y) != first)
                        return true;
            return false;
        },
        timeout);
}

bool OpenSettings(HWND window, const std::wstring& viewText)
{
    const SIZE client = Harness::ClientSize(window);
    // The gear button: 52 pixels from the right and 20 from the bottom at 96 dpi, 20 x 16.
    const POINT gear{client.cx - 42, client.cy - 12};
    if (!DrawnAround(window, gear, 6))
    {
        ADD_FAILURE() << "the calendar shows no settings button (its picture: "
                      << Harness::SaveWindow(window, L"no-settings-button").string() << ")";
        return false;
    }
    Harness::Click(window, gear.x, gear.y);
    return TitleBecomes(window, viewText);
}

void CloseRestartedLumday()
{
    HWND restarted = nullptr;
    Harness::WaitUntil([&] { return (restarted = FindWindowW(L"WC_LUMDAY", nullptr)) != nullptr; }, 15s);
    ASSERT_NE(restarted, nullptr);
    DWORD process = 0;
    GetWindowThreadProcessId(restarted, &process);
    Owners::KernelHandle handle(OpenProcess(SYNCHRONIZE, FALSE, process));
    PostMessageW(restarted, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(handle.get(), 15000), WAIT_OBJECT_0);
}

COLORREF ColorRef(int color)
{
    const Gdiplus::ARGB argb = GetColor(color);
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}
} // namespace LumdayTest
