// The store's file: which folder the environment names, reading store.xml again when another
// process changed it, writing it whole, and running every operation under the cross-process lock.
#include "standins/onenote/Store.h"

#include "standins/onenote/CallLog.h"
#include "standins/onenote/DemoStore.h"
#include "standins/onenote/Scenario.h"
#include "standins/onenote/StoreIndex.h"
#include "standins/onenote/StoreTree.h"

#include "framework/com/ErrorInfo.h"
#include "framework/files/Files.h"
#include "framework/text/Text.h"

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
    : folder_(std::move(folder)), file_(folder_ + L"\\store.xml"), lock_(folder_)
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

HRESULT LockFailure(HRESULT hr, const std::wstring& description)
{
    // SetErrorInfo takes a reference of its own; the owner gives back the new object's.
    const IErrorInfoPtr info(new ErrorInfo(description.c_str()), false);
    SetErrorInfo(0, info);
    return hr;
}
} // namespace

HRESULT Store::Run(const std::function<HRESULT(XNode& root, bool& changed)>& operation)
{
    std::lock_guard guard(threadLock_);
    const DWORD timeout = LockTimeout();
    const StoreLock::Hold hold = lock_.Acquire(timeout);
    switch (hold.outcome())
    {
    case StoreLock::Outcome::Taken:
        break;
    case StoreLock::Outcome::TakenOver:
        // Save replaces store.xml whole, so a holder that died left the file as it was before or
        // after its change, never half written: the operation goes on from the file.
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
        LoadIfChanged();
        bool changed = false;
        hr = operation(*root_, changed);
        if (changed)
        {
            StoreIndex::NoteChange();
            Save();
        }
    }
    catch (...)
    {
        hr = E_UNEXPECTED;
    }
    return hr;
}

void Store::LoadIfChanged()
{
    CreateDirectoryW(folder_.c_str(), nullptr);
    // A scenario that names a starting store seeds the folder once per scenario file.
    const std::wstring seedKey = Scenario::Current().SeedKey();
    const std::wstring seedFile = folder_ + L"\\seed.txt";
    if (!seedKey.empty() && ReadUtf8File(seedFile) != seedKey)
    {
        root_ = Scenario::Current().SeedStore();
        Save();
        AnchorDemoStore(folder_, Scenario::Current().SeedsDemo());
        std::ofstream(std::filesystem::path(seedFile), std::ios::binary) << WideToUtf8(seedKey);
        return;
    }

    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file_.c_str(), GetFileExInfoStandard, &data))
    {
        root_ = BuildDemoStore();
        Save();
        AnchorDemoStore(folder_, true);
        return;
    }
    const ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (root_ && CompareFileTime(&data.ftLastWriteTime, &loadedTime_) == 0 && size == loadedSize_)
    {
        if (KeepDemoStoreCurrent(*root_, folder_, false))
        {
            StoreIndex::NoteChange();
            Save();
        }
        return;
    }
    const ParseResult parsed = ParseXml(ReadUtf8File(file_), Namespace2013, {});
    root_ = parsed.root && parsed.root->name == L"Notebooks" ? parsed.root : MakeElement(L"Notebooks");
    loadedTime_ = data.ftLastWriteTime;
    loadedSize_ = size;
    if (KeepDemoStoreCurrent(*root_, folder_, true))
        Save();
}

void Store::Save()
{
    // A write that fails part-way leaves the previous store as it was.
    const std::string bytes = WideToUtf8(WriteXml(*root_, Namespace2013));
    ReplaceFileContents(file_, bytes.data(), bytes.size());
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(file_.c_str(), GetFileExInfoStandard, &data))
    {
        loadedTime_ = data.ftLastWriteTime;
        loadedSize_ = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
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
