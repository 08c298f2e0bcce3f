// The store's files: which folder the environment names, running every operation under the
// cross-process lock, taking in what other processes changed, appending each call's changes to
// the journal and writing store.xml whole now and then.
//
// store.xml ends with a comment naming the lineage and generation of the tree it holds; the
// journal (store.journal) starts with a line naming the lineage and generation it continues, then
// holds one record per call: its length in bytes on a line, the record, a line feed. A record cut
// off by a process that ended while writing it is no record: the next one overwrites it.
#include "standins/onenote/Store.h"

#include "standins/onenote/CallLog.h"
#include "standins/onenote/DemoStore.h"
#include "standins/onenote/Scenario.h"
#include "standins/onenote/StoreIndex.h"
#include "standins/onenote/StoreJournal.h"
#include "standins/onenote/StoreTree.h"

#include "framework/com/ErrorInfo.h"
#include "framework/files/Files.h"
#include "framework/text/Text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

namespace StandIn
{
using namespace StoreTree;

std::wstring Environment(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

Store& Store::Current()
{
    static std::mutex lock;
    static std::map<std::wstring, std::unique_ptr<Store>> stores;
    const std::wstring folder = CurrentFolder();
    std::lock_guard guard(lock);
    auto& store = stores[Lower(folder)];
    if (!store)
        store = std::make_unique<Store>(folder);
    return *store;
}

std::wstring Store::CurrentFolder()
{
    std::wstring folder = Environment(L"QUILLORA_ONENOTE_STORE");
    if (folder.empty())
    {
        folder = Environment(L"USERPROFILE");
        if (folder.empty())
            folder = L"C:\\users\\Public";
        folder += L"\\OneNote Stand-in";
    }
    return folder;
}

Store::Store(std::wstring folder)
    : folder_(std::move(folder)), file_(folder_ + L"\\store.xml"), journalFile_(folder_ + L"\\store.journal"),
      lock_(folder_)
{
}

namespace
{
// How long a call waits for another process's operation on the same store, in milliseconds.
DWORD LockTimeout()
{
    const std::wstring text = Environment(L"QUILLORA_ONENOTE_LOCK_TIMEOUT");
    wchar_t* end = nullptr;
    const unsigned long value = text.empty() ? 0 : std::wcstoul(text.c_str(), &end, 10);
    return text.empty() || *end != L'\0' ? 30000 : static_cast<DWORD>(value);
}

// The call log records how a wait for the lock ended when it did not simply take it, beside the
// call that waited.
void LogLockWait(const std::wstring& folder, DWORD wait, DWORD timeout)
{
    AppendCall({L"Store.Lock", static_cast<HRESULT>(wait), {folder, std::to_wstring(timeout)}});
}

// The journal is folded into the file once it is as large as the file, but not before this.
constexpr ULONGLONG SmallestFold = 1 << 20;
constexpr const char* StampStart = "<!-- stand-in store ";
constexpr const char* JournalStart = "stand-in journal ";

std::wstring NewLineage()
{
    GUID guid{};
    CoCreateGuid(&guid);
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

ULONGLONG SizeOf(const WIN32_FILE_ATTRIBUTE_DATA& data)
{
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The lineage and generation a store file names at its end; false for a file of another writer.
bool ReadStamp(const std::wstring& file, ULONGLONG size, std::wstring& lineage, unsigned long long& generation)
{
    const Owners::FileHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle)
        return false;
    char tail[200] = {};
    const ULONGLONG start = size > sizeof tail ? size - sizeof tail : 0;
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(start);
    DWORD read = 0;
    if (!SetFilePointerEx(handle.get(), at, nullptr, FILE_BEGIN) ||
        !ReadFile(handle.get(), tail, static_cast<DWORD>(size - start), &read, nullptr))
        return false;
    const std::string_view text(tail, read);
    const size_t stamp = text.rfind(StampStart);
    if (stamp == std::string_view::npos)
        return false;
    char name[64] = {};
    if (std::sscanf(std::string(text.substr(stamp + std::strlen(StampStart))).c_str(), "%63s %llu -->", name, &generation) != 2)
        return false;
    lineage = Utf8ToWide(name);
    return true;
}

// The whole file mapped for reading; an empty view for an empty file or one that cannot be mapped.
class MappedFile
{
public:
    explicit MappedFile(const std::wstring& path)
        : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        LARGE_INTEGER size{};
        if (!file_ || !GetFileSizeEx(file_.get(), &size) || size.QuadPart == 0 ||
            static_cast<ULONGLONG>(size.QuadPart) > SIZE_MAX / 2)
            return;
        mapping_.reset(CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (mapping_)
            view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0));
        if (view_)
            size_ = static_cast<size_t>(size.QuadPart);
    }

    std::string_view Text() const { return {static_cast<const char*>(view_.get()), size_}; }

private:
    Owners::FileHandle file_;
    Owners::KernelHandle mapping_;
    std::unique_ptr<const void, BOOL(WINAPI*)(LPCVOID)> view_{nullptr, &UnmapViewOfFile};
    size_t size_ = 0;
};

// The bytes of a file from offset to its end.
std::string ReadFrom(const std::wstring& path, ULONGLONG offset, ULONGLONG size)
{
    const Owners::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!file || size <= offset || !SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN))
        return bytes;
    bytes.resize(static_cast<size_t>(size - offset));
    size_t total = 0;
    while (total < bytes.size())
    {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - total, 1u << 20));
        if (!ReadFile(file.get(), bytes.data() + total, chunk, &read, nullptr) || read == 0)
            break;
        total += read;
    }
    bytes.resize(total);
    return bytes;
}

// Writes bytes at offset (creating the file when fresh) and ends the file after them.
bool WriteAt(const std::wstring& path, ULONGLONG offset, const std::string& bytes, bool fresh)
{
    const Owners::FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                              fresh ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!file || !SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN))
        return false;
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !SetEndOfFile(file.get()))
        return false;
    return true;
}

HRESULT LockFailure(HRESULT hr, const std::wstring& description)
{
    // SetErrorInfo takes a reference of its own; the owner gives back the new object's.
    const IErrorInfoPtr info(new ErrorInfo(description.c_str()), false);
    SetErrorInfo(0, info);
    return hr;
}
} // namespace

HRESULT Store::Run(const Operation& operation) { return Locked(operation, true); }

HRESULT Store::Inspect(const Operation& operation) { return Locked(operation, false); }

HRESULT Store::Locked(const Operation& operation, bool watch)
{
    std::lock_guard guard(threadLock_);
    const DWORD timeout = LockTimeout();
    const StoreLock::Hold hold = lock_.Acquire(timeout);
    switch (hold.outcome())
    {
    case StoreLock::Outcome::Taken:
        break;
    case StoreLock::Outcome::TakenOver:
        // store.xml is replaced whole and a journal record counts only when it is all there, so a
        // holder that died left the files as they were before or after its change, never half
        // written: the operation goes on from them.
        LogLockWait(folder_, WAIT_ABANDONED, timeout);
        break;
    case StoreLock::Outcome::TimedOut:
        LogLockWait(folder_, WAIT_TIMEOUT, timeout);
        return LockFailure(StoreLockTimedOut, L"Another process kept the OneNote stand-in's store in " + folder_ +
                                                  L" locked for more than " + std::to_wstring(timeout) +
                                                  L" ms.");
    case StoreLock::Outcome::Failed:
        LogLockWait(folder_, WAIT_FAILED, timeout);
        return LockFailure(hold.error() ? HRESULT_FROM_WIN32(hold.error()) : E_FAIL,
                           L"The lock of the OneNote stand-in's store in " + folder_ + L" cannot be taken.");
    }
    HRESULT hr = E_FAIL;
    try
    {
        Sync();
        bool changed = false;
        const XNodePtr root = root_;
        if (watch)
            changes_.Begin(root);
        try
        {
            hr = operation(*root, changed);
        }
        catch (...)
        {
            changes_.End();
            throw;
        }
        changes_.End();
        if (changed)
        {
            std::vector<StoreChange> changes;
            if (!watch || !changes_.Finish(root_, changes))
                Rewrite();
            else if (!changes.empty())
                Append(changes);
        }
    }
    catch (...)
    {
        hr = E_UNEXPECTED;
    }
    return hr;
}

void Store::WatchTarget(const XNode& received)
{
    StoreChanges* changes = StoreChanges::Active();
    if (!changes)
        return;
    if (received.name == L"Notebooks")
    {
        changes->WatchContainers(root_, nullptr);
        return;
    }
    Found found;
    if (FindById(root_, received.AttributeOr(L"ID"), found))
        changes->WatchContainers(found.node, found.ancestors.back());
}

void Store::WatchNotebookOf(const Found& found)
{
    if (StoreChanges* changes = StoreChanges::Active(); changes && found.ancestors.size() > 1)
        changes->WatchContainers(found.ancestors[1], found.ancestors[0]);
}

void Store::Sync()
{
    CreateDirectoryW(folder_.c_str(), nullptr);
    // A scenario that names a starting store seeds the folder once per scenario file.
    const std::wstring seedKey = Scenario::Current().SeedKey();
    const std::wstring seedFile = folder_ + L"\\seed.txt";
    if (!seedKey.empty() && ReadUtf8File(seedFile) != seedKey)
    {
        root_ = Scenario::Current().SeedStore();
        lineage_ = NewLineage();
        generation_ = 0;
        StoreIndex::Reset();
        WriteSnapshot();
        AnchorDemoStore(folder_, Scenario::Current().SeedsDemo());
        std::ofstream(std::filesystem::path(seedFile), std::ios::binary) << WideToUtf8(seedKey);
        return;
    }

    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file_.c_str(), GetFileExInfoStandard, &data))
    {
        root_ = BuildDemoStore();
        lineage_ = NewLineage();
        generation_ = 0;
        StoreIndex::Reset();
        WriteSnapshot();
        AnchorDemoStore(folder_, true);
        return;
    }
    const bool sameFile =
        root_ && CompareFileTime(&data.ftLastWriteTime, &snapshotTime_) == 0 && SizeOf(data) == snapshotSize_;
    if (!HoldsFile(data))
        LoadSnapshot(data);
    if (!CatchUp())
    {
        LoadSnapshot(data);
        CatchUp();
    }
    if (KeepDemoStoreCurrent(*root_, folder_, !sameFile))
        Rewrite();
}

bool Store::HoldsFile(const WIN32_FILE_ATTRIBUTE_DATA& data)
{
    if (!root_)
        return false;
    if (CompareFileTime(&data.ftLastWriteTime, &snapshotTime_) == 0 && SizeOf(data) == snapshotSize_)
        return true;
    // Another process wrote the file: from the very tree this one holds, or from another one.
    std::wstring lineage;
    unsigned long long generation = 0;
    if (!ReadStamp(file_, SizeOf(data), lineage, generation) || lineage != lineage_ || generation != generation_)
        return false;
    snapshotSize_ = SizeOf(data);
    snapshotTime_ = data.ftLastWriteTime;
    snapshotGeneration_ = generation;
    journalRead_ = 0;
    journalCurrent_ = false;
    return true;
}

void Store::LoadSnapshot(const WIN32_FILE_ATTRIBUTE_DATA& data)
{
    {
        const MappedFile file(file_);
        ParseResult parsed = ParseXmlUtf8(file.Text(), Namespace2013);
        root_ = parsed.root && parsed.root->name == L"Notebooks" ? parsed.root : MakeElement(L"Notebooks");
    }
    snapshotSize_ = SizeOf(data);
    snapshotTime_ = data.ftLastWriteTime;
    if (!ReadStamp(file_, snapshotSize_, lineage_, generation_))
    {
        // A file another writer made (a test, make_store): it starts a lineage of its own.
        const ULARGE_INTEGER time{{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}};
        lineage_ = L"file-" + std::to_wstring(snapshotSize_) + L"-" + std::to_wstring(time.QuadPart);
        generation_ = 0;
    }
    snapshotGeneration_ = generation_;
    journalRead_ = 0;
    journalCurrent_ = false;
    StoreIndex::Reset();
}

bool Store::CatchUp()
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(journalFile_.c_str(), GetFileExInfoStandard, &data))
        return journalRead_ == 0;
    const ULONGLONG size = SizeOf(data);
    if (size == journalRead_)
        return true;
    if (size < journalRead_)
        return false;
    if (journalRead_ == 0)
    {
        // The journal continues this file only when its first line says so; any other is left to be
        // replaced.
        const std::string head = ReadFrom(journalFile_, 0, std::min<ULONGLONG>(size, 256));
        const size_t line = head.find('\n');
        const std::string expected =
            JournalStart + WideToUtf8(lineage_) + " " + std::to_string(snapshotGeneration_);
        if (line == std::string::npos || head.compare(0, line, expected) != 0)
            return true;
        journalCurrent_ = true;
        journalRead_ = line + 1;
    }
    const ULONGLONG base = journalRead_;
    const std::string bytes = ReadFrom(journalFile_, base, size);
    size_t at = 0;
    if (!journalCurrent_)
        return true;
    // Whole records only: one cut off by a process that ended while writing it is not there.
    while (at < bytes.size())
    {
        const size_t line = bytes.find('\n', at);
        if (line == std::string::npos)
            break;
        const unsigned long long length = std::strtoull(bytes.c_str() + at, nullptr, 10);
        const size_t start = line + 1;
        if (bytes.size() - start < length + 1)
            break;
        if (!StoreJournal::Replay(root_, std::string_view(bytes.data() + start, static_cast<size_t>(length))))
            StoreIndex::Reset();
        ++generation_;
        at = start + static_cast<size_t>(length) + 1;
        journalRead_ = base + at;
    }
    return true;
}

void Store::Rewrite()
{
    ++generation_;
    StoreIndex::Reset();
    WriteSnapshot();
}

void Store::Append(const std::vector<StoreChange>& changes)
{
    StoreJournal::Index(root_, changes);
    std::string record;
    if (!StoreJournal::Record(root_, changes, record))
    {
        Rewrite();
        return;
    }
    std::string bytes = std::to_string(record.size()) + "\n" + record + "\n";
    const bool fresh = !journalCurrent_;
    if (fresh)
        bytes = JournalStart + WideToUtf8(lineage_) + " " + std::to_string(snapshotGeneration_) + "\n" + bytes;
    ++generation_;
    if (!WriteAt(journalFile_, fresh ? 0 : journalRead_, bytes, fresh))
    {
        // The change must reach the disk one way or the other.
        --generation_;
        Rewrite();
        return;
    }
    journalRead_ = (fresh ? 0 : journalRead_) + bytes.size();
    journalCurrent_ = true;
    if (journalRead_ > std::max(SmallestFold, snapshotSize_))
        WriteSnapshot();
}

void Store::WriteSnapshot()
{
    // A write that fails part-way leaves the previous store as it was, and the journal with it.
    std::string bytes;
    WriteXmlUtf8(*root_, Namespace2013, bytes);
    bytes += StampStart + WideToUtf8(lineage_) + " " + std::to_string(generation_) + " -->\n";
    if (!ReplaceFileContents(file_, bytes.data(), bytes.size()))
        return;
    bytes = std::string();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(file_.c_str(), GetFileExInfoStandard, &data))
    {
        snapshotTime_ = data.ftLastWriteTime;
        snapshotSize_ = SizeOf(data);
    }
    snapshotGeneration_ = generation_;
    DeleteFileW(journalFile_.c_str());
    journalRead_ = 0;
    journalCurrent_ = false;
}

Store::~Store()
{
    // At the end of a process the other threads are gone already: one that held this store is
    // never coming back, and what it did is in the journal anyway.
    const std::unique_lock guard(threadLock_, std::try_to_lock);
    if (!guard.owns_lock() || !root_ || generation_ == snapshotGeneration_)
        return;
    try
    {
        const StoreLock::Hold hold = lock_.Acquire(2000);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        // Only what this process holds is written: a file written from another tree is left alone.
        if (hold.Owns() && GetFileAttributesExW(file_.c_str(), GetFileExInfoStandard, &data) && HoldsFile(data) &&
            CatchUp() && generation_ != snapshotGeneration_)
            WriteSnapshot();
    }
    catch (...)
    {
    }
}

void Store::Replace(const XNodePtr& root)
{
    Run([&](XNode&, bool& changed) {
        root_ = root;
        changed = true;
        return S_OK;
    });
}
} // namespace StandIn
