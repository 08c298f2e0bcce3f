#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "tests/framework/log/LogReading.h"
#include "tests/support/SchemaCheck.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <knownfolders.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <utility>

namespace fs = std::filesystem;

namespace
{
// A fresh folder of the test's own in the output folder.
fs::path TestFolder()
{
    const fs::path folder = TestPaths::OutputFile(L".d");
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

void Touch(const fs::path& path, const std::string& bytes = "x")
{
    ASSERT_TRUE(WriteStringToFile(path.c_str(), bytes));
}

std::vector<std::wstring> Names(const std::vector<FolderEntry>& entries)
{
    std::vector<std::wstring> names;
    for (const auto& entry : entries)
        names.push_back(entry.name);
    return names;
}
} // namespace

TEST(ListFolder, ListsFoldersFirstThenFilesByNameIgnoringCase)
{
    const fs::path folder = TestFolder();
    Touch(folder / L"b.txt");
    Touch(folder / L"a.txt");
    Touch(folder / L"B.doc");
    Touch(folder / L"ab");
    Touch(folder / L"abc");
    fs::create_directory(folder / L"Zeta");
    fs::create_directory(folder / L"A");

    DWORD error = 1;
    const auto entries = ListFolder(folder.wstring(), &error);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(Names(entries), (std::vector<std::wstring>{L"A", L"Zeta", L"a.txt", L"ab", L"abc", L"B.doc", L"b.txt"}));
    EXPECT_TRUE(entries[0].isFolder);
    EXPECT_TRUE(entries[1].isFolder);
    EXPECT_FALSE(entries[2].isFolder);
    EXPECT_FALSE(entries[0].isReparsePoint);
    EXPECT_EQ(Names(ListFolder(folder.wstring() + L"\\")), Names(entries)) << "a folder given with its separator";
}

TEST(ListFolder, TellsAnEmptyFolderFromOneThatCannotBeRead)
{
    const fs::path folder = TestFolder();
    DWORD error = 1;
    EXPECT_TRUE(ListFolder(folder.wstring(), &error).empty());
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SUCCESS));

    EXPECT_TRUE(ListFolder((folder / L"missing").wstring(), &error).empty());
    EXPECT_NE(error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(ListFolder((folder / L"missing").wstring()).empty());
}

TEST(ListFolder, ReportsALinkToAFolderAsAReparsePoint)
{
    // The C++ library's remove_all would follow the link: the host removes it.
    const fs::path folder = TestPaths::OutputFile(L".d");
    const std::string unixFolder = SchemaCheck::UnixPath(folder);
    SchemaCheck::RunHostShell("rm -rf '" + unixFolder + "'");
    fs::create_directories(folder);
    fs::create_directory(folder / L"inner");
    Touch(folder / L"inner" / L"file.txt");
    // A link back to its own parent: following it would expand the folder forever.
    const auto made = SchemaCheck::RunHostShell("ln -s .. '" + SchemaCheck::UnixPath(folder / L"inner" / L"loop") + "'");
    ASSERT_EQ(made.exitCode, 0) << made.output;

    const auto entries = ListFolder((folder / L"inner").wstring());
    ASSERT_EQ(Names(entries), (std::vector<std::wstring>{L"loop", L"file.txt"}));
    EXPECT_TRUE(entries[0].isFolder);
    EXPECT_TRUE(entries[0].isReparsePoint);
    EXPECT_FALSE(entries[1].isReparsePoint);
    SchemaCheck::RunHostShell("rm -rf '" + unixFolder + "'");
}

TEST(FileContents, WritesAndReadsBytesWithoutTranslation)
{
    const fs::path file = TestFolder() / L"bytes.bin";
    const std::string bytes("\r\n\0\xFF\x1A end", 9);
    EXPECT_TRUE(WriteBytesToFile(file.c_str(), bytes.data(), bytes.size()));
    EXPECT_EQ(ReadFileBytes(file.c_str()), bytes);
    EXPECT_TRUE(WriteStringToFile(file.c_str(), "short"));
    EXPECT_EQ(ReadFileBytes(file.c_str()), "short") << "a write replaces the whole file";
    EXPECT_TRUE(WriteBytesToFile(file.c_str(), nullptr, 0));
    EXPECT_EQ(fs::file_size(file), 0u);
}

TEST(FileContents, WriteIntoAMissingFolderFails)
{
    const fs::path file = TestFolder() / L"missing" / L"x.txt";
    EXPECT_FALSE(WriteStringToFile(file.c_str(), "x"));
    EXPECT_FALSE(FileExists(file.c_str()));
}

namespace
{
// Puts replacement in the place of this program's import of a kernel32 function while it lives:
// the calls that code of the program makes into the system can be watched in their order.
class KernelImportHook
{
public:
    KernelImportHook(const char* name, const void* replacement)
    {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        const auto* headers =
            reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             library->Name && !slot_; ++library)
        {
            if (lstrcmpiA(reinterpret_cast<const char*>(base + library->Name), "kernel32.dll") != 0)
                continue;
            const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
            for (; names->u1.AddressOfData && !slot_; ++names, ++slots)
                if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) &&
                    strcmp(reinterpret_cast<const char*>(
                               reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name),
                           name) == 0)
                    slot_ = &slots->u1.Function;
        }
        if (slot_)
            original_ = Put(reinterpret_cast<ULONG_PTR>(replacement));
    }
    ~KernelImportHook()
    {
        if (slot_)
            Put(original_);
    }
    KernelImportHook(const KernelImportHook&) = delete;
    KernelImportHook& operator=(const KernelImportHook&) = delete;

    bool Installed() const { return slot_ != nullptr; }
    template <typename F>
    F Original() const
    {
        return reinterpret_cast<F>(original_);
    }

private:
    ULONG_PTR Put(ULONG_PTR function)
    {
        DWORD protection = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
        const ULONG_PTR previous = std::exchange(*slot_, function);
        VirtualProtect(slot_, sizeof *slot_, protection, &protection);
        return previous;
    }

    decltype(IMAGE_THUNK_DATA::u1.Function)* slot_ = nullptr;
    ULONG_PTR original_ = 0;
};

// The flushes and moves of files, by file name, in the order they were made.
std::vector<std::wstring> fileEvents;
const KernelImportHook* flushHook = nullptr;
const KernelImportHook* moveHook = nullptr;

BOOL WINAPI RecordingFlushFileBuffers(HANDLE file)
{
    wchar_t path[MAX_PATH] = {};
    GetFinalPathNameByHandleW(file, path, MAX_PATH, 0);
    fileEvents.push_back(L"flush " + fs::path(path).filename().wstring());
    return flushHook->Original<decltype(&FlushFileBuffers)>()(file);
}

BOOL WINAPI RecordingMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    fileEvents.push_back(L"move " + fs::path(from).filename().wstring() + L" to " + fs::path(to).filename().wstring());
    return moveHook->Original<decltype(&MoveFileExW)>()(from, to, flags);
}
} // namespace

TEST(FileContents, ReplacingAFileFlushesItsNewBytesToTheDiskBeforeTheyTakeItsPlace)
{
    const fs::path file = TestFolder() / L"settings.xml";
    Touch(file, "old");
    const KernelImportHook flush("FlushFileBuffers", reinterpret_cast<const void*>(&RecordingFlushFileBuffers));
    const KernelImportHook move("MoveFileExW", reinterpret_cast<const void*>(&RecordingMoveFileExW));
    ASSERT_TRUE(move.Installed());
    flushHook = &flush;
    moveHook = &move;
    fileEvents.clear();

    const std::string bytes = "<Settings/>";
    EXPECT_TRUE(ReplaceFileContents(file.wstring(), bytes.data(), bytes.size()));

    ASSERT_EQ(fileEvents.size(), 2u);
    const std::wstring temporary = fileEvents[0].substr(std::wstring(L"flush ").size());
    EXPECT_TRUE(temporary.starts_with(L"settings.xml.") && temporary.ends_with(L".tmp")) << fs::path(temporary);
    EXPECT_EQ(fileEvents[1], L"move " + temporary + L" to settings.xml");
    EXPECT_EQ(ReadFileBytes(file.c_str()), bytes);
}

namespace
{
const KernelImportHook* writeHook = nullptr;
// What a second program saving the same file does once, while the first one is writing.
std::function<void()> duringWrite;

BOOL WINAPI InterruptedWriteFile(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD written, LPOVERLAPPED overlapped)
{
    const auto original = writeHook->Original<decltype(&WriteFile)>();
    if (const std::function<void()> other = std::exchange(duringWrite, nullptr))
    {
        // Half of the bytes first, then the other save, then the rest.
        DWORD first = 0;
        if (!original(file, bytes, count / 2, &first, overlapped))
            return FALSE;
        other();
        DWORD rest = 0;
        const BOOL done = original(file, static_cast<const char*>(bytes) + first, count - first, &rest, overlapped);
        *written = first + rest;
        return done;
    }
    return original(file, bytes, count, written, overlapped);
}
} // namespace

// At log-off every instance saves together: each write has a temporary file of its own, so the
// file ends as one of them wrote it whole.
TEST(FileContents, TwoSavesAtOnceNeverMixTheirBytes)
{
    const fs::path file = TestFolder() / L"settings.xml";
    Touch(file, "old");
    const KernelImportHook write("WriteFile", reinterpret_cast<const void*>(&InterruptedWriteFile));
    ASSERT_TRUE(write.Installed());
    writeHook = &write;

    const std::string first(64, 'a');
    const std::string second(64, 'b');
    bool secondSaved = false;
    duringWrite = [&] { secondSaved = ReplaceFileContents(file.wstring(), second.data(), second.size()); };
    EXPECT_TRUE(ReplaceFileContents(file.wstring(), first.data(), first.size()));
    EXPECT_TRUE(secondSaved);
    EXPECT_EQ(ReadFileBytes(file.c_str()), first) << "the save that ended last";
    EXPECT_EQ(Names(ListFolder(file.parent_path().wstring())), (std::vector<std::wstring>{L"settings.xml"}));
}

TEST(FileContents, ReadsUtf16WithAndWithoutItsMark)
{
    const fs::path folder = TestFolder();
    Touch(folder / L"marked.txt", std::string("\xFF\xFE" "A\0\xE9\0", 6));
    Touch(folder / L"plain.txt", std::string("A\0\xE9\0", 4));
    Touch(folder / L"mark-only.txt", "\xFF\xFE");
    EXPECT_EQ(ReadTextFile((folder / L"marked.txt").c_str()), L"A\u00e9");
    EXPECT_EQ(ReadTextFile((folder / L"plain.txt").c_str()), L"A\u00e9");
    EXPECT_EQ(ReadTextFile((folder / L"mark-only.txt").c_str()), L"");
    EXPECT_EQ(ReadTextFile((folder / L"missing.txt").c_str()), L"");

    const _bstr_t text = ReadTextFileToBstr((folder / L"marked.txt").c_str());
    EXPECT_EQ(text.length(), 2u);
    EXPECT_STREQ(static_cast<const wchar_t*>(text), L"A\u00e9");
    EXPECT_EQ(ReadTextFileToBstr((folder / L"missing.txt").c_str()).length(), 0u);
}

TEST(FileContents, DetectsUtf8AgainstUtf16)
{
    const fs::path folder = TestFolder();
    Touch(folder / L"bom8.txt", "\xEF\xBB\xBF" "abc");
    Touch(folder / L"ascii.txt", "abc");
    Touch(folder / L"utf16.txt", std::string("a\0b\0", 4));
    Touch(folder / L"utf16-bom.txt", std::string("\xFF\xFE" "a\0", 4));
    Touch(folder / L"one.txt", "a");
    Touch(folder / L"empty.txt", "");
    EXPECT_TRUE(IsUtf8File((folder / L"bom8.txt").c_str()));
    EXPECT_TRUE(IsUtf8File((folder / L"ascii.txt").c_str()));
    EXPECT_FALSE(IsUtf8File((folder / L"utf16.txt").c_str())) << "the second byte of ASCII in UTF-16 is 0";
    EXPECT_FALSE(IsUtf8File((folder / L"utf16-bom.txt").c_str()));
    EXPECT_TRUE(IsUtf8File((folder / L"one.txt").c_str()));
    EXPECT_FALSE(IsUtf8File((folder / L"empty.txt").c_str()));
    EXPECT_FALSE(IsUtf8File((folder / L"missing.txt").c_str()));
    EXPECT_EQ(ReadFileBytes((folder / L"bom8.txt").c_str()), "abc");
}

TEST(FileContents, FileExistsOnlyForFilesThatOpen)
{
    const fs::path folder = TestFolder();
    Touch(folder / L"here.txt");
    EXPECT_TRUE(FileExists((folder / L"here.txt").c_str()));
    EXPECT_FALSE(FileExists((folder / L"gone.txt").c_str()));
    EXPECT_FALSE(FileExists(folder.c_str()));
}

TEST(FileVersionResource, SystemLibraryHasOneAndPlainFileHasNone)
{
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const FileVersion version = GetFileVersion((std::wstring(system) + L"\\kernel32.dll").c_str());
    ASSERT_TRUE(version);
    EXPECT_EQ(version->dwSignature, 0xFEEF04BDu);
    EXPECT_GT(version->dwFileVersionMS, 0u);

    const fs::path plain = TestFolder() / L"plain.txt";
    Touch(plain);
    EXPECT_FALSE(GetFileVersion(plain.c_str()));
    EXPECT_FALSE(GetFileVersion(L"Z:\\no\\such\\file.exe"));
}

TEST(KnownFolders, PathIsTheSameOnTheUiThreadAndOnAWorker)
{
    Owners::OleApartment apartment;
    const std::wstring roaming = GetKnownFolderPath(FOLDERID_RoamingAppData);
    ASSERT_FALSE(roaming.empty());
    EXPECT_NE(roaming.back(), L'\\');
    EXPECT_TRUE(fs::is_directory(roaming));

    std::wstring fromWorker;
    std::wstring failure;
    std::thread worker([&] {
        Owners::ComApartment multithreaded(COINIT_MULTITHREADED);
        try
        {
            fromWorker = GetKnownFolderPath(FOLDERID_RoamingAppData);
            // The worker's apartment is left as it was.
            if (CoInitializeEx(nullptr, COINIT_MULTITHREADED) == S_FALSE)
                CoUninitialize();
            else
                failure = L"apartment changed";
        }
        catch (const _com_error& error)
        {
            failure = std::to_wstring(error.Error());
        }
    });
    worker.join();
    EXPECT_EQ(failure, L"");
    EXPECT_EQ(fromWorker, roaming);

    std::wstring withoutCom;
    std::thread bare([&] { withoutCom = GetKnownFolderPath(FOLDERID_Downloads); });
    bare.join();
    EXPECT_FALSE(withoutCom.empty());
}

TEST(KnownFolders, UnknownIdIsRaised)
{
    const GUID unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_THROW(GetKnownFolderPath(unknown), _com_error);
}

TEST(FileDialog, CancelReturnsNothingAndLogsOneError)
{
    Owners::OleApartment apartment;
    const std::wstring logPath = TestPaths::OutputFile(L".log").wstring();
    ASSERT_TRUE(OpenLogFile(logPath));

    static const wchar_t title[] = L"Select Files to Import (test)";
    std::atomic<bool> done = false;
    std::atomic<bool> found = false;
    std::atomic<bool> cancelLost = false;
    // Cancel is pressed once, when the dialog shows; a dialog still open after it fails the test
    // (and is cancelled again, so that the test ends).
    std::thread canceller([&] {
        HWND dialog = nullptr;
        Harness::PollUntil(
            [&] {
                if (const HWND shown = FindWindowW(nullptr, title); shown && IsWindowVisible(shown))
                    dialog = shown;
                return done || dialog;
            },
            std::chrono::seconds(30));
        if (!dialog)
            return;
        found = true;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        if (Harness::PollUntil([&] { return done.load(); }))
            return;
        cancelLost = true;
        Harness::PollUntil(
            [&] {
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                return done.load();
            },
            std::chrono::seconds(30), std::chrono::milliseconds(100));
    });
    const auto paths = ShowOpenFileDialog(nullptr, title, {}, false);
    done = true;
    canceller.join();
    CloseLogFile();

    EXPECT_TRUE(found);
    EXPECT_FALSE(cancelLost) << "the dialog did not take the first Cancel";
    EXPECT_TRUE(paths.empty());
    const auto lines = LogReading::Lines(LogReading::Text(logPath));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(LogReading::Message(lines[0]).rfind(L"ERROR: ", 0), 0u) << lines[0].c_str();
}
