// Lumday's self-update through the real program, built to speak to the local update service: when
// it asks, what it downloads and starts, how the new program takes the old one's place, and that
// every failure leaves the calendar running as it was.
#include "calendar/DrawingResources.h"
#include "calendar/UiLanguages.h"
#include "framework/Owners.h"
#include "framework/ScopeExit.h"
#include "framework/text/DateTime.h"
#include "framework/text/Text.h"
#include "tests/calendar/LumdayRun.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestPaths.h"
#include "tests/update/ServiceScenario.h"
#include "standins/onenote/StoreLock.h"
#include "update/SelfInstall.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <fstream>
#include <set>

using namespace LumdayTest;

namespace
{
std::filesystem::path LoopbackLumday() { return Harness::BuildFolder() / L"tests" / L"calendar" / L"loopback" / L"Lumday.exe"; }

// A DLL of the build.
std::filesystem::path Library()
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Harness::BuildFolder() / L"standins"))
        if (entry.path().extension() == L".dll")
            return entry.path();
    ADD_FAILURE() << "no library in the build";
    return {};
}

size_t RequestsNamed(const UpdateTest::ServiceScenario& service, const std::string& name)
{
    size_t count = 0;
    for (const auto& request : service.Requests())
        count += request.name == name;
    return count;
}

// The files in folder whose names begin with the name and a dot: what an update leaves of a file.
std::vector<std::wstring> LeftOf(const std::filesystem::path& folder, const std::wstring& name)
{
    std::vector<std::wstring> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().wstring().rfind(name + L".", 0) == 0)
            left.push_back(entry.path().filename().wstring());
    return left;
}

// The processes of the lane that run a program file of this name.
std::vector<DWORD> ProcessesNamed(const wchar_t* name)
{
    std::vector<DWORD> found;
    const Owners::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (CompareStringOrdinal(entry.szExeFile, -1, name, -1, TRUE) == CSTR_EQUAL)
            found.push_back(entry.th32ProcessID);
    return found;
}

// Ends whatever an update left running in the lane, the installs and every Lumday, so that a case
// that failed leaves nothing to the next.
void EndEveryLumday()
{
    for (const wchar_t* name : {L"lumday1.exe", L"Lumday.exe"})
        for (const DWORD id : ProcessesNamed(name))
            if (const Owners::ProcessHandle process{OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)})
            {
                TerminateProcess(process.get(), 1);
                WaitForSingleObject(process.get(), 5000);
            }
}

bool LogHas(const std::filesystem::path& log, const std::wstring& text)
{
    return Harness::ReadLogFile(log).find(text) != std::wstring::npos;
}

// What Lumday logs when its end did not wait for a worker (one still in a call after the end's
// bound): a check it started may then have been cut off before it asked anything.
const wchar_t* const WorkerLeftBehind = L"ERROR: A worker still waits in a call";

// Has the prefix open "https" addresses with the little test program, which writes down the
// command line it got, and puts the prefix's own handler back at the end.
class AddressHandler
{
public:
    AddressHandler()
    {
        std::error_code error;
        std::filesystem::create_directories(program.parent_path(), error);
        CopyFileW(UpdateTest::TestProgram().wstring().c_str(), program.wstring().c_str(), FALSE);
        std::filesystem::remove(std::filesystem::path(program.wstring() + L".args"), error);
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, Key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
        wchar_t value[1024] = {};
        DWORD size = sizeof value - sizeof(wchar_t);
        if (RegQueryValueExW(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS)
            previous = value;
        const std::wstring command = L"\"" + program.wstring() + L"\" \"%1\"";
        RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    ~AddressHandler()
    {
        if (previous)
            RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous->c_str()),
                           static_cast<DWORD>((previous->size() + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(key.get(), nullptr);
    }
    AddressHandler(const AddressHandler&) = delete;
    AddressHandler& operator=(const AddressHandler&) = delete;

    // The address the program was given, once it has been started (empty after timeout).
    std::wstring OpenedAddress(std::chrono::milliseconds timeout) const
    {
        return UpdateTest::WaitForRecordedCommandLine(program, timeout);
    }

private:
    static constexpr const wchar_t* Key = L"Software\\Classes\\https\\shell\\open\\command";
    std::filesystem::path program = TestPaths::OutputFile(L".browser") / L"browser.exe";
    Owners::RegistryKey key;
    std::optional<std::wstring> previous;
};

// The install of a downloaded program, which asks the update service nothing: its cases run beside
// those that read the service's record of Lumday's requests.
class LumdayInstall : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CreateFonts();
        SetColorScheme(false);
    }
    static void TearDownTestSuite() { FreeDrawingResources(); }

    void SetUp() override
    {
        std::filesystem::create_directories(profile.Root() / L"My Apps");
        installed = profile.Root() / L"My Apps" / L"Lumday.exe";
        ASSERT_TRUE(CopyFileW(LoopbackLumday().wstring().c_str(), installed.wstring().c_str(), FALSE));
    }

    // The settings of a user whose last check lies the seconds back.
    void LastCheckedBefore(__time64_t seconds)
    {
        const DateTime last = DateTime().AddSeconds(-seconds);
        WriteSettings(profile, L"<Lumday><Settings language=\"en\" lastUpdateCheck=\"" + FormatDateTime(last, false) +
                                   L"\"/><Window x=\"0\" y=\"0\" width=\"800\" height=\"600\"/></Lumday>");
    }

    std::unique_ptr<Harness::Program> StartInstalled(const std::wstring& arguments = L"")
    {
        return Start(profile, standIn, arguments, installed);
    }

    // The new version the service hands out: Lumday with bytes of its own at the end, so that the
    // copy-over can be told from the old program.
    std::filesystem::path ServedProgram() const
    {
        const std::filesystem::path served = TestPaths::OutputFile(L".served.exe");
        EXPECT_TRUE(CopyFileW(LoopbackLumday().wstring().c_str(), served.wstring().c_str(), FALSE));
        std::ofstream(served, std::ios::binary | std::ios::app) << "the new version";
        return served;
    }

    // The Lumday at program, run by a user whose last check lies eight days back and with single
    // instance as given, finds the served version, downloads it, starts it and closes its window.
    // OneNote answers its loader only once ReleaseTheLoad is called, so that it goes on running after
    // its window was told to close, as one that finishes a slow load does. Returns once the
    // downloaded program is written whole, to start the install a moment later.
    std::unique_ptr<Harness::Program> StartOldLumdayThatHandsOver(UpdateTest::ServiceScenario& scenario,
                                                                  const std::filesystem::path& program,
                                                                  bool singleInstance)
    {
        const std::filesystem::path served = ServedProgram();
        scenario.Set("getVersion.body", "1.18.2");
        scenario.SetFile("getFile.file", served);
        const DateTime last = DateTime().AddSeconds(-8 * Day);
        WriteSettings(profile, std::wstring(L"<Lumday><Settings language=\"en\" singleInstance=\"") +
                                   (singleInstance ? L"true" : L"false") + L"\" lastUpdateCheck=\"" +
                                   FormatDateTime(last, false) +
                                   L"\"/><Window x=\"0\" y=\"0\" width=\"800\" height=\"600\"/></Lumday>");
        storeLock.emplace(standIn.StoreFolder().wstring());
        loadHeld.emplace(storeLock->Acquire(0));
        EXPECT_TRUE(loadHeld->Owns()) << "the store's lock could not be taken";
        auto old = Start(profile, standIn, L"", program);
        const std::filesystem::path downloaded = profile.Temp() / L"lumday1.exe";
        const std::string bytes = UpdateTest::ReadBytes(served);
        EXPECT_TRUE(Harness::WaitUntil(
            [&] { return RequestsNamed(scenario, "getFile") == 1 && UpdateTest::ReadBytes(downloaded) == bytes; }, 30s))
            << "the old program downloaded nothing";
        return old;
    }
    void ReleaseTheLoad() { loadHeld.reset(); }

    static constexpr __time64_t Day = 24 * 60 * 60;
    // How long the old program of a hand-over runs on after it started the new one: longer than a
    // minute of looking whether its file is free.
    static constexpr DWORD OldProgramLife = 70000;

    Screenshot::GdiplusSession gdiplus;
    Harness::Profile profile;
    Harness::ShellFolderRedirect redirect{profile};
    StandInFiles standIn;
    std::filesystem::path installed;
    std::optional<StandIn::StoreLock> storeLock;
    std::optional<StandIn::StoreLock::Hold> loadHeld;
};

// What Lumday asks the update service and does with its answers.
class LumdaySelfUpdate : public LumdayInstall
{
protected:
    UpdateTest::ServiceScenario service{CalendarIdentity()};
};

TEST_F(LumdaySelfUpdate, AsksAtMostEverySevenDaysAndNotOnAFirstRun)
{
    service.Set("getVersion.body", "1.18.1");
    struct Case
    {
        const char* what;
        std::optional<__time64_t> lastCheck;
        size_t requests;
    };
    const Case cases[] = {
        {"first run", std::nullopt, 0},
        {"6 days 23 hours ago", 7 * Day - 60 * 60, 0},
        {"7 days ago", 7 * Day + 60, 1},
        // Stored by a clock that was a year ahead once.
        {"a year from now", -365 * Day, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        if (c.lastCheck)
            LastCheckedBefore(*c.lastCheck);
        else
            std::filesystem::remove(profile.RoamingAppData() / L"lumday.xml");
        const size_t before = RequestsNamed(service, "getVersion");
        auto lumday = StartInstalled();
        const HWND window = MainWindowOf(*lumday);
        ASSERT_NE(window, nullptr);
        if (c.requests)
        {
            EXPECT_TRUE(Harness::WaitUntil([&] { return RequestsNamed(service, "getVersion") > before; }, 20s));
        }
        EXPECT_TRUE(lumday->IsRunning());
        // The program's end waits for a check it started (its log says when it did not, having
        // waited its bound), so that the service's record is whole once it has ended: a check
        // that should not be made cannot hide behind a slow start.
        EXPECT_EQ(lumday->Close(), 0u);
        EXPECT_FALSE(LogHas(profile.Temp() / L"Lumday.log", WorkerLeftBehind));
        EXPECT_EQ(RequestsNamed(service, "getVersion") - before, c.requests);
        EXPECT_EQ(RequestsNamed(service, "getFile"), 0u) << "the service answers the running version";
        if (c.requests)
        {
            // The check is stored at exit, so the next one waits another seven days.
            const std::wstring saved = ReadSettings(profile);
            const size_t at = saved.find(L"lastUpdateCheck=\"");
            ASSERT_NE(at, std::wstring::npos);
            const std::optional<DateTime> stored = ParseDateTime(saved.substr(at + 17, 24));
            ASSERT_TRUE(stored.has_value());
            EXPECT_LT(std::abs(static_cast<long long>(DateTime().time - stored->time)), 120);
        }
    }
}

TEST_F(LumdaySelfUpdate, NewVersionIsDownloadedWithProgressStartedCopiedOverTheOldOneAndShowsItsPage)
{
    const AddressHandler browser;
    const std::filesystem::path served = ServedProgram();
    service.Set("getVersion.body", "1.18.2");
    service.SetFile("getFile.file", served);
    service.Set("getFile.delay", "10");
    LastCheckedBefore(8 * Day);
    auto lumday = StartInstalled();
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);

    // While the program's bytes arrive the calendar stays in use: "Installing Update..." over its bar
    // comes only once the whole program is here, for the moment of its writing.
    Gdiplus::RectF text;
    {
        Gdiplus::Bitmap scratch(1, 1, PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(&scratch);
        Gdiplus::StringFormat centred;
        centred.SetAlignment(Gdiplus::StringAlignmentCenter);
        centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        const SIZE client = Harness::ClientSize(window);
        graphics.MeasureString(L"Installing Update...", -1, GetFont(FontTitle),
                               Gdiplus::RectF(0, 0, static_cast<float>(client.cx), static_cast<float>(client.cy)),
                               &centred, &text);
    }
    const int barY = static_cast<int>(text.Y + text.Height + 10) + 1;
    // The bar: a run of the accent colour from its left end, and one of another colour to its right.
    const auto barShown = [&](const ClientPicture& picture) {
        const int left = static_cast<int>(text.X) + 2;
        const int right = static_cast<int>(text.X + text.Width) - 2;
        if (picture.At(left, barY) != ColorRef(ColorAccent) || picture.At(right, barY) == ColorRef(ColorAccent))
            return false;
        int x = left;
        while (x < right && picture.At(x, barY) == ColorRef(ColorAccent))
            ++x;
        const COLORREF rest = picture.At(x, barY);
        while (x < right && picture.At(x, barY) == rest)
            ++x;
        return x == right;
    };
    ASSERT_TRUE(Harness::WaitUntil([&] { return RequestsNamed(service, "getFile") == 1; }, 30s)) << "no download";
    Screenshot::Save(ClientPicture(window).Capture(), L"Downloading");
    EXPECT_FALSE(Harness::WaitUntil([&] { return IsWindow(window) && barShown(ClientPicture(window)); }, 3s))
        << "the calendar gave way to the update before the program was here";

    // The old program closes once the new one runs; the new one copies itself over it.
    EXPECT_EQ(lumday->WaitForExit(60s), std::optional<DWORD>(0));
    EXPECT_TRUE(Harness::WaitUntil([&] { return UpdateTest::ReadBytes(installed) == UpdateTest::ReadBytes(served); }, 30s));

    // The copy, started again, opens the page of the update and asks nothing more.
    const std::wstring address = browser.OpenedAddress(30s);
    EXPECT_NE(address.find(L"/recordUpdate.php?ver=1.18.1"), std::wstring::npos)
        << testing::PrintToString(std::filesystem::path(address).string());
    EXPECT_NE(address.find(L"https://localhost:"), std::wstring::npos);
    HWND restarted = nullptr;
    ASSERT_TRUE(Harness::WaitUntil([&] { return (restarted = FindWindowW(L"WC_LUMDAY", nullptr)) != nullptr; }, 15s));
    EXPECT_TRUE(TitleBecomes(restarted, MonthTitle()));
    // The install is done: nothing of the download is left in the temporary folder.
    EXPECT_TRUE(Harness::WaitUntil([&] { return !std::filesystem::exists(profile.Temp() / L"lumday1.exe"); }, 20s))
        << "the downloaded program stays";
    EXPECT_EQ(LeftOf(profile.Temp(), L"lumday1.exe"), std::vector<std::wstring>{});
    CloseRestartedLumday();
    EXPECT_EQ(RequestsNamed(service, "getVersion"), 1u);
    EXPECT_EQ(RequestsNamed(service, "getFile"), 1u);
}

TEST_F(LumdaySelfUpdate, NewProgramRetriesTheCopyWhileTheOldFileIsHeld)
{
    const AddressHandler browser;
    const std::filesystem::path served = ServedProgram();
    const std::filesystem::path downloaded = profile.Temp() / L"lumday1.exe";
    ASSERT_TRUE(CopyFileW(served.wstring().c_str(), downloaded.wstring().c_str(), FALSE));
    WriteSettings(profile, L"<Lumday><Settings language=\"en\"/></Lumday>");
    {
        // The old program's file stays open without sharing for three seconds.
        Owners::KernelHandle held(CreateFileW(installed.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
        auto newProgram = Start(profile, standIn, L"\"" + installed.wstring() + L"\"", downloaded);
        Sleep(3000);
        EXPECT_TRUE(newProgram->IsRunning()) << "still trying";
        held.reset();
        EXPECT_EQ(newProgram->WaitForExit(20s), std::optional<DWORD>(0));
    }
    EXPECT_EQ(UpdateTest::ReadBytes(installed), UpdateTest::ReadBytes(served));
    EXPECT_NE(browser.OpenedAddress(30s).find(L"/recordUpdate.php?ver=1.18.1"), std::wstring::npos);
    CloseRestartedLumday();
}

TEST_F(LumdaySelfUpdate, EveryFailureLeavesTheCalendarRunningAndTheOldProgramInPlace)
{
    const std::string oldProgram = UpdateTest::ReadBytes(installed);
    struct Case
    {
        const char* what;
        std::vector<std::pair<std::string, std::string>> scenario;
        const char* lastRequest;
        // The program's last entry of the check in its log: what it decided.
        const wchar_t* decision;
    };
    const Case cases[] = {
        {"version status 500", {{"getVersion.status", "500"}}, "getVersion", L"ERROR: The update failed: "},
        // A misconfigured service's empty page is no version: nothing is downloaded.
        {"empty version answer", {{"getVersion.body", " \r\n"}}, "getVersion", L"Latest version: "},
        {"download status 404", {{"getVersion.body", "1.19.0"}, {"getFile.status", "404"}}, "getFile",
         L"ERROR: The update failed: "},
        {"cut-short body", {{"getVersion.body", "1.19.0"}, {"getFile.body", "MZ" + std::string(5000, 'x')}, {"getFile.truncate", "3000"}},
         "getFile", L"ERROR: The update failed: "},
        {"not an executable", {{"getVersion.body", "1.19.0"}, {"getFile.body", "<html>Moved</html>"}}, "getFile",
         L"ERROR: The update failed: "},
        // A library is a whole Windows file that no process can be started from.
        {"start refused", {{"getVersion.body", "1.19.0"}, {"getFile.file", ""}}, "getFile", L"ERROR: Starting "},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        UpdateTest::ServiceScenario scenario(CalendarIdentity());
        for (const auto& [key, value] : c.scenario)
        {
            if (key == "getFile.file")
                scenario.SetFile(key, Library());
            else
                scenario.Set(key, value);
        }
        // A download of an earlier update never takes the new one's place.
        const std::filesystem::path stale = profile.Temp() / L"lumday1.exe";
        std::ofstream(stale, std::ios::binary | std::ios::trunc) << "MZ stale";
        LastCheckedBefore(8 * Day);
        auto lumday = StartInstalled();
        const HWND window = MainWindowOf(*lumday);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(Harness::WaitUntil([&] { return RequestsNamed(scenario, c.lastRequest) == 1; }, 20s));
        // Once the program has said what it made of the answer (in the log it began afresh before
        // its window showed), the calendar goes on as it was.
        const std::filesystem::path log = profile.Temp() / L"Lumday.log";
        ASSERT_TRUE(Harness::WaitUntil([&] { return LogHas(log, c.decision); }, 20s))
            << WideToUtf8(Harness::ReadLogFile(log));
        EXPECT_TRUE(lumday->IsRunning());
        EXPECT_TRUE(OpenSettings(window)) << "the calendar is not left on its update progress";
        if (std::string(c.lastRequest) == "getFile")
        {
            EXPECT_NE(UpdateTest::ReadBytes(stale), "MZ stale");
            if (std::string(c.what) == "start refused")
            {
                EXPECT_FALSE(std::filesystem::exists(stale)) << "the download no install runs stays";
            }
        }
        else
            EXPECT_EQ(RequestsNamed(scenario, "getFile"), 0u);
        EXPECT_EQ(LeftOf(profile.Temp(), L"lumday1.exe"), std::vector<std::wstring>{}) << "pieces of the download";
        EXPECT_EQ(lumday->Close(), 0u);
        // The end waited for the check: nothing more was asked after its decision.
        EXPECT_FALSE(LogHas(log, WorkerLeftBehind));
        EXPECT_EQ(RequestsNamed(scenario, c.lastRequest), 1u);
        EXPECT_EQ(RequestsNamed(scenario, "getFile"), std::string(c.lastRequest) == "getFile" ? 1u : 0u);
        EXPECT_EQ(UpdateTest::ReadBytes(installed), oldProgram);
    }
}
TEST_F(LumdayInstall, ThatCannotReplaceTheProgramStartsTheOldOneAgain)
{
    // The old program, kept open by another that no one ends, as a copy of it that stays running
    // would keep it: the install, which nothing told to wait for that one, cannot replace it.
    const std::filesystem::path target = (profile.Root() / L"Old Apps" / L"Lumday.exe").make_preferred();
    std::filesystem::create_directories(target.parent_path());
    ASSERT_TRUE(CopyFileW(UpdateTest::CalendarTestProgram().wstring().c_str(), target.wstring().c_str(), FALSE));
    const std::string oldProgram = UpdateTest::ReadBytes(target);
    Owners::FileHandle held = UpdateTest::HoldAsARunningProgram(target);
    ASSERT_TRUE(held);
    const std::filesystem::path downloaded = profile.Temp() / L"lumday1.exe";
    ASSERT_TRUE(CopyFileW(ServedProgram().wstring().c_str(), downloaded.wstring().c_str(), FALSE));

    auto newProgram = Start(profile, standIn, L"\"" + target.wstring() + L"\"", downloaded);
    EXPECT_EQ(newProgram->WaitForExit(std::chrono::seconds(InstallTries) + 30s), std::optional<DWORD>(0))
        << "still trying";
    EXPECT_EQ(UpdateTest::ReadBytes(target), oldProgram);
    EXPECT_EQ(UpdateTest::WaitForRecordedCommandLine(target), L"\"" + target.wstring() + L"\" /updateNotInstalled")
        << "the old program, started again";
    EXPECT_TRUE(LogHas(profile.Temp() / L"Quillora_Install.log", L"Starting the old program again: " + target.wstring()));
    // Once let go, and the old program started again has ended, nothing holds it any more.
    held.reset();
    EXPECT_TRUE(Harness::WaitUntil([&] { return DeleteFileW(target.wstring().c_str()) != FALSE; }, 10s))
        << GetLastError();
}

TEST_F(LumdayInstall, WaitsForTheOldProgramToEndBeforeReplacingIt)
{
    const AddressHandler browser;
    const std::filesystem::path served = ServedProgram();
    const std::filesystem::path downloaded = profile.Temp() / L"lumday1.exe";
    ASSERT_TRUE(CopyFileW(served.wstring().c_str(), downloaded.wstring().c_str(), FALSE));
    WriteSettings(profile, L"<Lumday><Settings language=\"en\"/></Lumday>");
    // The old program starts the new one and goes on running after that, as Lumday does while it
    // finishes a load after its window closed.
    const std::filesystem::path target = profile.Root() / L"Old Apps" / L"Lumday.exe";
    std::filesystem::create_directories(target.parent_path());
    ASSERT_TRUE(CopyFileW(UpdateTest::CalendarTestProgram().wstring().c_str(), target.wstring().c_str(), FALSE));
    const std::string oldProgram = UpdateTest::ReadBytes(target);
    auto old = Start(profile, standIn,
                     L"/handOver " + std::to_wstring(OldProgramLife) + L" \"" + downloaded.wstring() + L"\" \"" +
                         target.wstring() + L"\"",
                     target);
    EXPECT_NE(UpdateTest::WaitForRecordedCommandLine(target), L"") << "the old program did not start";
    Sleep(OldProgramLife - 3000);
    EXPECT_TRUE(old->IsRunning());
    EXPECT_EQ(UpdateTest::ReadBytes(target), oldProgram) << "replaced while the old program runs";
    EXPECT_EQ(old->WaitForExit(20s), std::optional<DWORD>(0));
    EXPECT_TRUE(Harness::WaitUntil([&] { return UpdateTest::ReadBytes(target) == UpdateTest::ReadBytes(served); }, 30s));
    EXPECT_NE(browser.OpenedAddress(30s).find(L"/recordUpdate.php?ver=1.18.1"), std::wstring::npos);
    CloseRestartedLumday();
}

TEST_F(LumdaySelfUpdate, PiecesOfCutOffUpdatesAreRemovedAtTheNextStartAndAFileNoUpdateWroteStays)
{
    // 4321 is no process's number (they are multiples of four): the writers of these have ended.
    const std::filesystem::path pieces[] = {
        profile.Temp() / L"lumday1.exe.4321-1.partial",
        installed.wstring() + L".4321-2.partial",
    };
    for (const std::filesystem::path& file : pieces)
        std::ofstream(file, std::ios::binary) << "MZ cut off";
    // The user's own file of the download's name, which no update wrote.
    const std::filesystem::path own = profile.Temp() / L"lumday1.exe";
    std::ofstream(own, std::ios::binary) << "MZ the user's own";
    WriteSettings(profile, L"<Lumday><Settings language=\"en\"/></Lumday>");
    auto lumday = StartInstalled();
    ASSERT_NE(MainWindowOf(*lumday), nullptr);
    for (const std::filesystem::path& file : pieces)
        EXPECT_TRUE(Harness::WaitUntil([&] { return !std::filesystem::exists(file); }, 10s)) << file.string();
    EXPECT_EQ(lumday->Close(), 0u);
    EXPECT_EQ(UpdateTest::ReadBytes(own), "MZ the user's own");
}

// Made by the test's fixture: a folder no one may add a file to, as a user may not write the folder
// of a program installed for all users; the program in it is Lumday. Where the fixture could not
// lock the folder (root may write any folder that it cannot make immutable), it says why, and there
// is nothing to try.
std::filesystem::path UnwritableLumday()
{
    return (UpdateTest::BuildFolder() / L"update-service" / L"unwritable" / L"Lumday.exe").make_preferred();
}
std::string WhyNotLocked(const std::filesystem::path& program)
{
    return UpdateTest::ReadBytes(program.parent_path() / L"not-locked.txt");
}

TEST_F(LumdaySelfUpdate, AnUpdateThatCannotBeInstalledWhereTheProgramIsIsNeitherDownloadedNorClosesTheCalendar)
{
    const std::filesystem::path target = UnwritableLumday();
    if (const std::string why = WhyNotLocked(target); !why.empty())
        GTEST_SKIP() << "the folder could not be locked against writing: " << why;
    const std::string oldProgram = UpdateTest::ReadBytes(target);
    ASSERT_FALSE(oldProgram.empty());
    const ScopeExit cleanup(EndEveryLumday);
    service.Set("getVersion.body", "1.18.2");
    service.SetFile("getFile.file", ServedProgram());
    LastCheckedBefore(8 * Day);
    auto lumday = Start(profile, standIn, L"", target);
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    // The weekly check says nothing to the user; the log says why and where.
    const std::filesystem::path log = profile.Temp() / L"Lumday.log";
    EXPECT_TRUE(Harness::WaitUntil(
        [&] {
            return LogHas(log, L"ERROR: The update to 1.18.2 is not installed: The update cannot be installed in " +
                                   target.parent_path().wstring() + L": ");
        },
        20s))
        << WideToUtf8(Harness::ReadLogFile(log));
    EXPECT_TRUE(lumday->IsRunning()) << "the calendar closed for an update that cannot land";
    EXPECT_EQ(RequestsNamed(service, "getVersion"), 1u);
    EXPECT_EQ(RequestsNamed(service, "getFile"), 0u) << "the update was downloaded";
    EXPECT_TRUE(OpenSettings(window)) << "the calendar is not left on its update progress";
    EXPECT_FALSE(std::filesystem::exists(profile.Temp() / L"lumday1.exe"));
    EXPECT_EQ(lumday->Close(), 0u);
    EXPECT_EQ(UpdateTest::ReadBytes(target), oldProgram);
}

// Where the folder became unwritable after the check: the old program comes back as it was, told
// not to check for updates, so that it does not fetch the same update again.
TEST_F(LumdaySelfUpdate, AnInstallThatCannotWriteStartsTheProgramAgainNotToUpdateAgain)
{
    const std::filesystem::path target = UnwritableLumday();
    if (const std::string why = WhyNotLocked(target); !why.empty())
        GTEST_SKIP() << "the folder could not be locked against writing: " << why;
    const std::string oldProgram = UpdateTest::ReadBytes(target);
    ASSERT_FALSE(oldProgram.empty());
    const ScopeExit cleanup(EndEveryLumday);
    service.Set("getVersion.body", "1.18.2");
    LastCheckedBefore(8 * Day);
    const std::filesystem::path downloaded = profile.Temp() / L"lumday1.exe";
    ASSERT_TRUE(CopyFileW(ServedProgram().wstring().c_str(), downloaded.wstring().c_str(), FALSE));
    auto install = Start(profile, standIn, L"\"" + target.wstring() + L"\"", downloaded);
    EXPECT_EQ(install->WaitForExit(30s), std::optional<DWORD>(0));
    HWND restarted = nullptr;
    EXPECT_TRUE(Harness::WaitUntil(
        [&] { return (restarted = FindWindowW(L"WC_LUMDAY", nullptr)) != nullptr && IsWindowVisible(restarted); },
        30s))
        << "no program runs";
    EXPECT_TRUE(LogHas(profile.Temp() / L"Quillora_Install.log", L"Starting the old program again: " + target.wstring()));
    ASSERT_NE(restarted, nullptr);
    // It runs (its calendar comes with its buttons once its load is over) and asks nothing, where a
    // normal start with this user's settings would: its end waits for a check it started, so the
    // service's record is whole once it has ended.
    EXPECT_TRUE(OpenSettings(restarted)) << "the program started again shows no calendar";
    EXPECT_TRUE(IsWindow(restarted)) << "the program started again ended";
    CloseRestartedLumday();
    EXPECT_FALSE(LogHas(profile.Temp() / L"Lumday.log", WorkerLeftBehind));
    EXPECT_EQ(RequestsNamed(service, "getVersion"), 0u);
    EXPECT_EQ(UpdateTest::ReadBytes(target), oldProgram);
}

TEST_F(LumdaySelfUpdate, ASecondStartDuringTheInstallsWaitLeavesTheInstallsCopyAndTheInstallCompletes)
{
    const AddressHandler browser;
    const ScopeExit cleanup(EndEveryLumday);
    UpdateTest::ServiceScenario scenario(CalendarIdentity());
    auto old = StartOldLumdayThatHandsOver(scenario, installed, true);
    // The install has written its copy beside the program and waits for the old program to end.
    ASSERT_TRUE(Harness::WaitUntil([&] { return !LeftOf(installed.parent_path(), L"Lumday.exe").empty(); }, 20s))
        << "no copy beside the program";
    // The user starts the program again: the old window is still there and comes forward.
    auto again = StartInstalled();
    EXPECT_EQ(again->WaitForExit(20s), std::optional<DWORD>(0));
    EXPECT_NE(LeftOf(installed.parent_path(), L"Lumday.exe"), std::vector<std::wstring>{})
        << "the second start removed the install's copy";
    ReleaseTheLoad();
    EXPECT_EQ(old->WaitForExit(20s), std::optional<DWORD>(0));
    const std::string served = UpdateTest::ReadBytes(ServedProgram());
    EXPECT_TRUE(Harness::WaitUntil([&] { return UpdateTest::ReadBytes(installed) == served; }, 30s))
        << "the update was not installed";
    EXPECT_NE(browser.OpenedAddress(30s).find(L"/recordUpdate.php?ver=1.18.1"), std::wstring::npos);
    CloseRestartedLumday();
    EXPECT_EQ(LeftOf(installed.parent_path(), L"Lumday.exe"), std::vector<std::wstring>{});
}

TEST_F(LumdaySelfUpdate, ABuildWithoutTheServiceKeyAsksNothingAndSaysSo)
{
    // The program of the build is made without the operator's key.
    LastCheckedBefore(8 * Day);
    auto lumday = Start(profile, standIn);
    ASSERT_NE(MainWindowOf(*lumday), nullptr);
    const std::filesystem::path log = profile.Temp() / L"Lumday.log";
    EXPECT_TRUE(Harness::WaitUntil([&] { return LogHas(log, L"This build cannot check for updates"); }, 20s));
    EXPECT_TRUE(lumday->IsRunning());
    // The end waits for the check, so that a request it sent after saying so is in the log.
    EXPECT_EQ(lumday->Close(), 0u);
    EXPECT_FALSE(LogHas(log, WorkerLeftBehind));
    EXPECT_FALSE(LogHas(log, L"HTTPS Request")) << "a request was sent";
}
} // namespace
