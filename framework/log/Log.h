#pragma once
// The process's diagnostic log: one UTF-16LE file in the temporary folder, started afresh at every
// run, written from the UI thread and from workers.
//
//     GetLog(true) << L"Import of " << path << L" failed: " << text;
//
// GetLog returns a LogEntry that holds the log's lock until the end of the statement, so entries
// written by different threads never interleave. Don't keep a LogEntry around (or call, inside one
// statement, something that waits for another thread that logs): the lock is held while it lives.

#include <windows.h>

#include <memory>
#include <mutex>
#include <ostream>
#include <string>

class LogFile;

// One statement's worth of log output: writes go to the log's stream while the lock is held.
class LogEntry
{
public:
    LogEntry(LogFile& file, bool newEntry);
    ~LogEntry();
    LogEntry(const LogEntry&) = delete;
    LogEntry& operator=(const LogEntry&) = delete;

    template <typename Value>
    LogEntry& operator<<(const Value& value)
    {
        stream_ << value;
        return *this;
    }
    LogEntry& operator<<(std::wostream& (*manipulator)(std::wostream&))
    {
        manipulator(stream_);
        return *this;
    }
    LogEntry& operator<<(std::ios_base& (*manipulator)(std::ios_base&))
    {
        manipulator(stream_);
        return *this;
    }

    // The underlying stream, for code that takes a std::wostream&; valid while the entry lives.
    std::wostream& Stream() noexcept { return stream_; }

private:
    std::unique_lock<std::recursive_mutex> lock_;
    std::wostream& stream_;
    // A manipulator such as std::hex lasts for its own entry only.
    std::ios_base::fmtflags flags_;
    wchar_t fill_;
};

// A log file: a wide stream whose characters reach the file as UTF-16LE, behind a buffer of 1024
// characters, with U+FEFF as its first character. A file that cannot be opened leaves the stream
// failed, and every write is then ignored.
class LogFile
{
public:
    LogFile();
    explicit LogFile(const std::wstring& path);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Closes what was open and opens path (truncated, shared for reading and writing by others).
    bool Open(const std::wstring& path);
    // Writes out the buffer and closes the file; later writes are ignored until the next Open.
    void Close();
    bool IsOpen() const;

    std::wostream& Stream() noexcept;
    std::recursive_mutex& Mutex() noexcept { return mutex_; }

private:
    class Buffer;
    std::recursive_mutex mutex_;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::wostream> stream_;
};

// The start of an entry: "\r\n", the local time in the C library's asctime form without its line
// break, and " - ".
std::wstring LogEntryHead();

// The log file name of the host process, from the table shared by the programs of the suite.
std::wstring GetLogFileName();
// folder (ending in a backslash, as GetTempPathW gives it) followed by GetLogFileName().
std::wstring GetLogFilePath(const std::wstring& folder);

// The process's log stream, opened in the temporary folder at first use. Writing to it directly
// continues the current line without the lock: prefer GetLog(false).
std::wostream& GetLogStream();
// The process's log; when newEntry, a new entry is started first (see LogEntryHead).
LogEntry GetLog(bool newEntry);

// Opens (or reopens) the process's log: in the temporary folder, or at the given path.
bool OpenLogFile();
bool OpenLogFile(const std::wstring& path);
// Closes the process's log at the end of the program; later entries are dropped.
void CloseLogFile();
