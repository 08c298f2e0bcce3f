#include "framework/log/Log.h"

#include "framework/Owners.h"
#include "framework/files/Files.h"

#include <array>
#include <cstdlib>
#include <ctime>
#include <streambuf>

// Hands the characters to the file as UTF-16LE bytes. A wide file stream of the C++ library would
// convert them through the C locale, which cannot encode U+FEFF or any non-ASCII character and
// then drops every later write.
class LogFile::Buffer : public std::wstreambuf
{
public:
    Buffer() { setp(characters_.data(), characters_.data() + characters_.size()); }
    ~Buffer() override { Close(); }

    bool Open(const std::wstring& path)
    {
        Close();
        file_.reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(file_);
    }

    void Close()
    {
        if (file_)
            WriteOut();
        file_.reset();
        setp(characters_.data(), characters_.data() + characters_.size());
    }

    bool IsOpen() const { return static_cast<bool>(file_); }

protected:
    int_type overflow(int_type c) override
    {
        if (!WriteOut())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof()))
        {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override { return WriteOut() ? 0 : -1; }

private:
    // wchar_t is a UTF-16 code unit in the machine's little-endian order: the bytes go out as they are.
    bool WriteOut()
    {
        const char* bytes = reinterpret_cast<const char*>(pbase());
        DWORD remaining = static_cast<DWORD>((pptr() - pbase()) * sizeof(wchar_t));
        setp(characters_.data(), characters_.data() + characters_.size());
        if (!file_)
            return false;
        while (remaining > 0)
        {
            DWORD written = 0;
            if (!WriteFile(file_.get(), bytes, remaining, &written, nullptr) || written == 0)
                return false;
            bytes += written;
            remaining -= written;
        }
        return true;
    }

    std::array<wchar_t, 1024> characters_{};
    Owners::FileHandle file_;
};

LogFile::LogFile() : buffer_(std::make_unique<Buffer>()), stream_(std::make_unique<std::wostream>(buffer_.get()))
{
    stream_->setstate(std::ios_base::badbit);
}

LogFile::LogFile(const std::wstring& path) : LogFile() { Open(path); }

LogFile::~LogFile() { Close(); }

bool LogFile::Open(const std::wstring& path)
{
    std::lock_guard lock(mutex_);
    stream_->flush();
    if (!buffer_->Open(path))
    {
        stream_->setstate(std::ios_base::badbit);
        return false;
    }
    stream_->clear();
    *stream_ << L'\xFEFF';
    stream_->flush();
    return stream_->good();
}

void LogFile::Close()
{
    std::lock_guard lock(mutex_);
    stream_->flush();
    buffer_->Close();
    stream_->setstate(std::ios_base::badbit);
}

bool LogFile::IsOpen() const { return buffer_->IsOpen(); }

std::wostream& LogFile::Stream() noexcept { return *stream_; }

LogEntry::LogEntry(LogFile& file, bool newEntry)
    : lock_(file.Mutex()), stream_(file.Stream()), flags_(stream_.flags()), fill_(stream_.fill())
{
    if (newEntry)
        stream_ << LogEntryHead();
}

LogEntry::~LogEntry()
{
    // Each entry reaches the disk when its statement ends, so a crash loses nothing written before.
    stream_.flush();
    stream_.flags(flags_);
    stream_.fill(fill_);
}

std::wstring LogEntryHead()
{
    std::wstring head = L"\r\n";
    const __time64_t now = _time64(nullptr);
    tm local{};
    wchar_t text[64] = {};
    if (_localtime64_s(&local, &now) == 0 && _wasctime_s(text, 64, &local) == 0)
    {
        std::wstring time = text;
        if (!time.empty() && time.back() == L'\n')
            time.pop_back();
        head += time;
    }
    head += L" - ";
    return head;
}

std::wstring GetLogFileName()
{
    static const struct
    {
        const wchar_t* module;
        const wchar_t* logName;
    } hosts[] = {
        {L"dllhost.exe", L"Quillora_Addin_outproc.log"},
        {L"onenote.exe", L"Quillora_Addin_inproc.log"},
        {L"Quillora Installer.exe", L"Quillora_Elev.log"},
        {L"QlrUninst.exe", L"Quillora_Uninst.log"},
        {L"Sheafin.exe", L"Quillora_SHF.log"},
        {L"Lumday.exe", L"Lumday.log"},
    };
    for (const auto& host : hosts)
    {
        if (GetModuleHandleW(host.module))
            return host.logName;
    }
    return L"Quillora_Install.log";
}

std::wstring GetLogFilePath(const std::wstring& folder) { return folder + GetLogFileName(); }

namespace
{
struct ProcessLog
{
    LogFile file;
    bool started = false;
};

// Never destroyed: entries written by other static destructors or late threads at exit must not
// meet a destroyed stream. The file is written out and closed at exit instead.
ProcessLog& ProcessLogState()
{
    static ProcessLog* const log = [] {
        auto* created = new ProcessLog;
        std::atexit([] { ProcessLogState().file.Close(); });
        return created;
    }();
    return *log;
}

LogFile& OpenedProcessLog()
{
    ProcessLog& log = ProcessLogState();
    std::lock_guard lock(log.file.Mutex());
    if (!log.started)
    {
        log.started = true;
        log.file.Open(GetLogFilePath(GetTempFolder()));
    }
    return log.file;
}
} // namespace

std::wostream& GetLogStream() { return OpenedProcessLog().Stream(); }

LogEntry GetLog(bool newEntry) { return LogEntry(OpenedProcessLog(), newEntry); }

bool OpenLogFile() { return OpenLogFile(GetLogFilePath(GetTempFolder())); }

bool OpenLogFile(const std::wstring& path)
{
    ProcessLog& log = ProcessLogState();
    std::lock_guard lock(log.file.Mutex());
    log.started = true;
    return log.file.Open(path);
}

void CloseLogFile()
{
    ProcessLog& log = ProcessLogState();
    std::lock_guard lock(log.file.Mutex());
    log.started = true;
    log.file.Close();
}
