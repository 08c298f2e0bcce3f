#pragma once
// File-system helpers shared by both programs: the file dialog, the temporary and known folders,
// folder listings, version resources and whole-file reading and writing.

#include <windows.h>
#include <comdef.h>
#include <shtypes.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// One entry of a folder listing.
struct FolderEntry
{
    std::wstring name; // without the folder
    bool isFolder = false;
    // A junction, symbolic link or other reparse point: expanding it may lead back into a folder
    // already being expanded.
    bool isReparsePoint = false;
};

// The fixed version block of an executable's version resource, when it has one.
using FileVersion = std::optional<VS_FIXEDFILEINFO>;

// The common open dialog for files or, with pickFolders, for folders; several may be chosen.
// filters maps a filter name to its pattern (used for files only). Returns the chosen paths; a
// cancel or a failure is logged as "ERROR: " and returns what was collected until then.
std::vector<std::wstring> ShowOpenFileDialog(HWND owner, const wchar_t* title,
                                             const std::map<std::wstring, std::wstring>& filters, bool pickFolders);

// The user's temporary folder as GetTempPathW gives it (ending in a backslash), read once per run.
const std::wstring& GetTempFolder();
// The temporary folder followed by name.
std::wstring GetTempFilePath(const wchar_t* name);

// The path of a known folder (no trailing backslash), from the shell's known-folder manager. Works
// on the UI thread and on worker threads of either apartment; failures are raised as COM errors.
std::wstring GetKnownFolderPath(REFKNOWNFOLDERID id);

// The entries of folder except "." and "..", folders first, each group by name compared character
// by character in lower case (a prefix before the longer name). A folder that cannot be read gives
// an empty list; error (when given) then receives the Win32 error code, and ERROR_SUCCESS for a
// folder that was read, empty or not.
std::vector<FolderEntry> ListFolder(const std::wstring& folder, DWORD* error = nullptr);

FileVersion GetFileVersion(const wchar_t* path);

// Replace the file with the bytes; true only when every byte was written and the file closed.
bool WriteBytesToFile(const wchar_t* path, const void* bytes, size_t count);
bool WriteStringToFile(const wchar_t* path, const std::string& bytes);

// Writes the bytes to a file that does not exist yet, which nobody else may open until it is
// closed; false with ERROR_FILE_EXISTS when it exists.
bool WriteBytesToNewFile(const wchar_t* path, const void* bytes, size_t count);

// Writes a whole file; WriteBytesToNewFile, or a stand-in that fails on purpose.
using FileBytesWriter = std::function<bool(const wchar_t* path, const void* bytes, size_t count)>;

// Removes the pieces "<path>.<process id>-<count><suffix>" beside path that writes of processes
// which have ended left behind (cut off by a crash or a power loss). A piece of a process that runs,
// and any file named otherwise, stays; so does one that cannot be removed.
void RemovePiecesOfEndedWriters(const std::wstring& path, const std::wstring& suffix);

// Replaces the file with the bytes so that it is never left half-written: they go to a temporary
// file beside it of this write's own ("<path>.<process id>-<count>.tmp", written with write), which
// is flushed to the disk and then takes the file's place. On a failure the old file stays as it
// was, the temporary file is removed, false is returned and GetLastError tells why. The temporary
// files of saves whose process has ended are removed first (RemovePiecesOfEndedWriters).
bool ReplaceFileContents(const std::wstring& path, const void* bytes, size_t count,
                         const FileBytesWriter& write = WriteBytesToNewFile);

// A whole file's bytes, or why they could not all be read.
struct FileReadResult
{
    std::string bytes;
    // ERROR_SUCCESS when every byte was read. ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND when there
    // is no such file; any other error when the file is there but was not read whole (another
    // program holds it without sharing, the access is denied, a share that went away): bytes is
    // then empty.
    DWORD error = ERROR_SUCCESS;

    bool Whole() const { return error == ERROR_SUCCESS; }
    bool Missing() const { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }
};
FileReadResult ReadWholeFile(const wchar_t* path);

// Whether a file operation failed because another program holds the file: it has it open without
// sharing what the operation needs, or has locked a part of it. Backups, virus scanners and
// synchronisations do so for a moment.
bool IsHeldByAnotherProgram(DWORD error);

// How long a read or a save of one of the user's files waits for another program to let go of it,
// in milliseconds, and how long it pauses between two tries.
constexpr ULONGLONG HeldFileWait = 5000;
constexpr DWORD HeldFilePause = 100;

// Reads a whole file: ReadWholeFile, or a reader that fails as no file at hand can make it fail.
using WholeFileReader = std::function<FileReadResult(const std::wstring& path)>;

// The file read whole, tried again for HeldFileWait as long as another program holds it; the
// first try again is logged, the file named after what (e.g. "The settings file"). A file still held
// afterwards answers with the sharing or lock violation.
FileReadResult ReadWholeFileWhenFree(
    const std::wstring& path, const wchar_t* what,
    const WholeFileReader& read = [](const std::wstring& path) { return ReadWholeFile(path.c_str()); });

// ReplaceFileContents, tried again for wait milliseconds as long as another program holds the file
// (it cannot be replaced while one has it open without letting it be deleted); the first try again
// is logged as by ReadWholeFileWhenFree. A wait of 0 tries once, and a held file is logged as held.
// A file marked read-only is not replaced (ERROR_ACCESS_DENIED). On false the old file stays as it
// was and GetLastError tells why: ERROR_SHARING_VIOLATION for a file still held.
bool ReplaceFileContentsWhenFree(const std::wstring& path, const void* bytes, size_t count, const wchar_t* what,
                                 const FileBytesWriter& write = WriteBytesToNewFile, ULONGLONG wait = HeldFileWait);

// Whether bytes are UTF-8 (or ASCII) text rather than UTF-16, by the rule of IsUtf8File.
bool IsUtf8Text(const std::string& bytes);
// The UTF-16LE characters of bytes, a leading FF FE mark left out; an odd last byte is no character.
std::wstring Utf16Text(const std::string& bytes);

// The whole file as UTF-16LE text, a leading FF FE mark left out; empty when it cannot be read.
std::wstring ReadTextFile(const wchar_t* path);
_bstr_t ReadTextFileToBstr(const wchar_t* path);
// The whole file's bytes, a leading UTF-8 mark EF BB BF left out; empty when it cannot be read.
std::string ReadFileBytes(const wchar_t* path);
// Whether the file is UTF-8 (or ASCII) text rather than UTF-16: it starts with EF BB BF, or its
// first two bytes are not zero and not the UTF-16 mark FF FE. False when it cannot be opened.
bool IsUtf8File(const wchar_t* path);
// Whether the file can be opened for reading.
bool FileExists(const wchar_t* path);
