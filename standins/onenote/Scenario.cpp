#include "standins/onenote/Scenario.h"

#include "standins/onenote/DemoStore.h"
#include "standins/onenote/Store.h"

#include <filesystem>
#include <fstream>
#include <cwchar>
#include <sstream>

namespace StandIn
{
namespace
{
HRESULT ParseHResult(const std::wstring& text)
{
    return static_cast<HRESULT>(std::wcstoul(text.c_str(), nullptr, 0));
}
} // namespace

Scenario& Scenario::Current()
{
    static Scenario scenario;
    std::lock_guard guard(scenario.lock_);
    scenario.Reload();
    return scenario;
}

void Scenario::Reload()
{
    const std::wstring file = Environment(L"QUILLORA_ONENOTE_SCENARIO");
    FILETIME time{};
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!file.empty() && GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data))
        time = data.ftLastWriteTime;
    if (file == file_ && CompareFileTime(&time, &fileTime_) == 0)
        return;
    file_ = file;
    fileTime_ = time;
    store_.clear();
    busy_.clear();
    calls_.clear();
    failures_.clear();
    idFailures_.clear();
    laterFailures_.clear();
    noWindows_ = noCurrentWindow_ = sideNote_ = false;
    openedWindows_ = 0;
    quickFiling_ = {};
    creationFailure_ = runFailure_ = S_OK;
    if (file.empty())
        return;

    std::wistringstream lines(ReadUtf8File(file));
    std::wstring line;
    while (std::getline(lines, line))
    {
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        std::wistringstream words(line);
        std::wstring directive;
        words >> directive;
        if (directive.empty() || directive[0] == L'#')
            continue;
        const auto rest = [&]() {
            std::wstring text;
            std::getline(words, text);
            const size_t start = text.find_first_not_of(L' ');
            return start == std::wstring::npos ? std::wstring() : text.substr(start);
        };
        if (directive == L"store")
        {
            store_ = rest();
        }
        else if (directive == L"busy")
        {
            std::wstring method;
            unsigned count = 0;
            words >> method >> count;
            busy_[method] = count;
        }
        else if (directive == L"fail" || directive == L"failid")
        {
            std::wstring key, hr;
            words >> key >> hr;
            InjectedFailure failure{ParseHResult(hr), rest()};
            (directive == L"fail" ? failures_ : idFailures_)[key] = failure;
        }
        else if (directive == L"failfrom")
        {
            std::wstring method, calls, hr;
            words >> method >> calls >> hr;
            const size_t dash = calls.find(L'-');
            const unsigned from = static_cast<unsigned>(std::wcstoul(calls.c_str(), nullptr, 10));
            const unsigned to = dash == std::wstring::npos
                                    ? UINT_MAX
                                    : static_cast<unsigned>(std::wcstoul(calls.c_str() + dash + 1, nullptr, 10));
            laterFailures_[method] = {from, to, InjectedFailure{ParseHResult(hr), rest()}};
        }
        else if (directive == L"windows")
        {
            noWindows_ = rest() == L"none";
        }
        else if (directive == L"currentwindow")
        {
            noCurrentWindow_ = rest() == L"none";
        }
        else if (directive == L"sidenote")
        {
            sideNote_ = rest() == L"true";
        }
        else if (directive == L"quickfiling")
        {
            std::wstring first;
            words >> first;
            if (first == L"picker")
            {
                quickFiling_.picker = true;
                continue;
            }
            std::wstring selected;
            quickFiling_.configured = true;
            quickFiling_.button = static_cast<ULONG>(std::wcstoul(first.c_str(), nullptr, 10));
            words >> selected >> quickFiling_.delayMs;
            quickFiling_.selectedId = selected == L"-" ? std::wstring() : selected;
        }
        else if (directive == L"callback")
        {
            quickFiling_.viaInvoke = rest() == L"invoke";
        }
        else if (directive == L"create" || directive == L"olerun")
        {
            std::wstring hr;
            words >> hr;
            (directive == L"create" ? creationFailure_ : runFailure_) = ParseHResult(hr);
        }
    }
}

std::wstring Scenario::SeedKey()
{
    std::lock_guard guard(lock_);
    if (store_.empty())
        return {};
    return file_ + L"|" + std::to_wstring(fileTime_.dwHighDateTime) + L"." + std::to_wstring(fileTime_.dwLowDateTime) +
           L"|" + store_;
}

bool Scenario::SeedsDemo()
{
    std::lock_guard guard(lock_);
    return store_ == L"demo";
}

XNodePtr Scenario::SeedStore()
{
    std::wstring store;
    {
        std::lock_guard guard(lock_);
        store = store_;
    }
    if (store == L"demo")
        return BuildDemoStore();
    if (store == L"empty" || store.empty())
        return MakeElement(L"Notebooks");
    const ParseResult parsed = ParseXml(ReadUtf8File(store), Namespace2013, {});
    if (parsed.root && parsed.root->name == L"Notebooks")
        return parsed.root;
    return MakeElement(L"Notebooks");
}

std::optional<InjectedFailure> Scenario::Check(const std::wstring& method, const std::vector<std::wstring>& arguments)
{
    std::lock_guard guard(lock_);
    const unsigned call = ++calls_[method];
    if (const auto busy = busy_.find(method); busy != busy_.end() && call <= busy->second)
        return InjectedFailure{static_cast<HRESULT>(0x80010001), {}};
    if (const auto failure = failures_.find(method); failure != failures_.end())
        return failure->second;
    if (const auto later = laterFailures_.find(method);
        later != laterFailures_.end() && call >= later->second.from && call <= later->second.to)
        return later->second.failure;
    for (const auto& argument : arguments)
        for (const auto& [id, failure] : idFailures_)
            if (!id.empty() && argument.find(id) != std::wstring::npos)
                return failure;
    return std::nullopt;
}

bool Scenario::NoWindows()
{
    std::lock_guard guard(lock_);
    return noWindows_;
}

bool Scenario::NoCurrentWindow()
{
    std::lock_guard guard(lock_);
    return noCurrentWindow_;
}

unsigned Scenario::OpenedWindows()
{
    std::lock_guard guard(lock_);
    return openedWindows_;
}

unsigned Scenario::OpenWindow()
{
    std::lock_guard guard(lock_);
    return ++openedWindows_;
}

bool Scenario::SideNote()
{
    std::lock_guard guard(lock_);
    return sideNote_;
}

QuickFilingAnswer Scenario::QuickFiling()
{
    std::lock_guard guard(lock_);
    return quickFiling_;
}
HRESULT Scenario::CreationFailure()
{
    std::lock_guard guard(lock_);
    return creationFailure_;
}

HRESULT Scenario::RunFailure()
{
    std::lock_guard guard(lock_);
    return runFailure_;
}
} // namespace StandIn
