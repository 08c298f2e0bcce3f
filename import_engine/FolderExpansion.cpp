#include "import_engine/FolderExpansion.h"

#include "framework/log/Log.h"

#include <shlwapi.h>

#include <mutex>
#include <optional>
#include <utility>

namespace
{
std::mutex listerLock;
FolderLister lister;

std::vector<FolderEntry> List(const std::wstring& folder, DWORD* error)
{
    FolderLister current;
    {
        std::lock_guard guard(listerLock);
        current = lister;
    }
    return current ? current(folder, error) : ListFolder(folder, error);
}

// The callback's answer when it asks to stop.
std::optional<Result> StopCheck(const ProgressCallback& progress, std::shared_ptr<Progress> report)
{
    Result answer = progress(std::move(report));
    if (answer.AsksToStop())
        return answer;
    return std::nullopt;
}

void RemoveTrailingBackslashes(std::wstring& path)
{
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
}

bool IsFolder(const std::wstring& path)
{
    return PathIsDirectoryW(path.c_str()) != FALSE;
}
} // namespace

FolderLister SetFolderLister(FolderLister replacement)
{
    std::lock_guard guard(listerLock);
    return std::exchange(lister, std::move(replacement));
}

Result ExpandFolders(Config& config, const ProgressCallback& progress)
{
    uint32_t folders = 0;
    for (const auto& entry : config.entries)
        folders += IsFolder(entry.path) ? 1 : 0;
    uint32_t number = 0;
    for (auto& entry : config.entries)
    {
        if (!IsFolder(entry.path))
            continue;
        if (auto stop = StopCheck(progress, std::make_shared<Progress>(L"Expanding folders...", number++, folders)))
            return *stop;
        if (Result result = ExpandEntry(entry, progress); result.AsksToStop())
            return result;
    }
    return {};
}

Result ExpandEntry(Config::Entry& entry, const ProgressCallback& progress)
{
    if (!entry.entries.empty())
    {
        // Children from the settings or the file list are kept as the user left them, but a
        // folder among them, at any depth, that was never listed would otherwise import nothing.
        for (auto& child : entry.entries)
        {
            if (!IsFolder(child.path))
                continue;
            if (auto stop = StopCheck(progress, nullptr))
                return *stop;
            if (Result result = ExpandEntry(child, progress); result.AsksToStop())
                return result;
        }
        return {};
    }

    GetLog(true) << L"Expanding entry \"" << entry.path << L"\"";
    DWORD error = ERROR_SUCCESS;
    const auto listed = List(entry.path, &error);
    RemoveTrailingBackslashes(entry.path);
    const std::wstring prefix = entry.path + L"\\";
    entry.listingError = error;
    if (error != ERROR_SUCCESS)
        GetLog(true) << L"ERROR: cannot list \"" << entry.path << L"\" (" << error << L")";
    GetLog(true) << listed.size() << L" new entries found";

    for (const auto& item : listed)
        if (!item.isFolder)
            entry.entries.push_back({prefix + item.name, {}, 0, 0});
    for (const auto& item : listed)
    {
        if (!item.isFolder)
            continue;
        if (auto stop = StopCheck(progress, nullptr))
            return *stop;
        entry.entries.push_back({prefix + item.name, {}, 0, 0});
        if (item.isReparsePoint)
        {
            // A junction or link may lead back into a folder being expanded: it is imported as
            // a folder of its own, without its content.
            GetLog(true) << L"Not following the link \"" << entry.entries.back().path << L"\"";
            continue;
        }
        if (Result result = ExpandEntry(entry.entries.back(), progress); result.AsksToStop())
            return result;
    }
    return {};
}

Result EnumerateFiles(const std::vector<Config::Entry>& from, std::vector<Config::Entry>& flat, uint32_t depth,
                      const ProgressCallback& progress)
{
    for (const auto& entry : from)
    {
        if (auto stop = StopCheck(progress, std::make_shared<Progress>(L"Enumerating files...",
                                                                       static_cast<uint32_t>(flat.size()), 0)))
            return *stop;
        flat.push_back({entry.path, {}, depth, entry.listingError});
        if (Result result = EnumerateFiles(entry.entries, flat, depth + 1, progress); result.AsksToStop())
            return result;
    }
    return {};
}
