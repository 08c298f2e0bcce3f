// Generated stores: deterministic for a seed, written straight as text so that even a store of
// hundreds of thousands of pages is made in seconds.
#include "standins/onenote/LargeStore.h"

#include "standins/onenote/Store.h"

#include "framework/text/Text.h"
#include "framework/xml/XmlDocument.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace StandIn
{
namespace
{
const wchar_t* const Words[] = {
    L"budget",   L"meeting", L"garden",   L"invoice",  L"travel",   L"recipe",  L"lecture", L"project",
    L"review",   L"planning", L"holiday", L"doctor",   L"printer",  L"release", L"customer", L"report",
    L"birthday", L"concert", L"library",  L"training", L"contract", L"design",  L"backup",  L"kitchen",
    L"weekend",  L"insurance", L"museum", L"bicycle",  L"marathon", L"harvest", L"quarterly", L"workshop"};
constexpr size_t WordCount = sizeof Words / sizeof Words[0];

const wchar_t* const Colors[] = {L"#8AA8E4", L"#91BAAE", L"#F5A9A9", L"#FFD869", L"#B49EDE", L"#ADE792",
                                 L"#9BBBD9", L"#F6B078", L"#C8A2E8", L"#E1A6A6"};

std::wstring Escaped(const std::wstring& text)
{
    std::wstring out;
    AppendXmlEscaped(out, text, true);
    return out;
}

class Generator
{
public:
    explicit Generator(const LargeStoreOptions& options) : options_(options), random_(options.seed)
    {
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        now_ = static_cast<long long>((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
    }

    std::wstring Build()
    {
        out_ = L"<?xml version=\"1.0\"?>\n<one:Notebooks xmlns:one=\"";
        out_ += Namespace2013;
        out_ += L"\">\n";
        const int notebooks = std::max(1, options_.notebooks);
        const int pages = std::max(0, options_.pages);
        for (int notebook = 0; notebook < notebooks; ++notebook)
        {
            // Pages shared out evenly, the first notebooks taking the remainder.
            const int share = pages / notebooks + (notebook < pages % notebooks ? 1 : 0);
            Notebook(notebook, share);
        }
        out_ += L"</one:Notebooks>\n";
        return std::move(out_);
    }

private:
    void Notebook(int number, int pages)
    {
        const std::wstring name = L"Notebook " + std::to_wstring(number + 1);
        const std::wstring path = options_.base + L"\\" + name;
        out_ += L"<one:Notebook name=\"" + Escaped(name) + L"\" nickname=\"" + Escaped(name) + L"\" ID=\"" +
                NewHierarchyId() + L"\" path=\"" + Escaped(path) + L"\" lastModifiedTime=\"" + Time(0) +
                L"\" color=\"" + Colors[number % 10] + L"\">\n";
        // Eight sections: five directly in the notebook, three in a group (one of them nested).
        constexpr int sections = 8;
        auto pagesOf = [&](int section) { return pages / sections + (section < pages % sections ? 1 : 0); };
        for (int section = 0; section < 5; ++section)
            Section(path, L"Section " + std::to_wstring(section + 1), pagesOf(section), false);
        const std::wstring group = path + L"\\Archive";
        out_ += L"<one:SectionGroup name=\"Archive\" ID=\"" + NewHierarchyId() + L"\" path=\"" + Escaped(group) +
                L"\" lastModifiedTime=\"" + Time(0) + L"\">\n";
        Section(group, L"Section 6", pagesOf(5), false);
        Section(group, L"Section 7", pagesOf(6), false);
        const std::wstring nested = group + L"\\Older";
        out_ += L"<one:SectionGroup name=\"Older\" ID=\"" + NewHierarchyId() + L"\" path=\"" + Escaped(nested) +
                L"\" lastModifiedTime=\"" + Time(0) + L"\">\n";
        Section(nested, L"Section 8", pagesOf(7), false);
        out_ += L"</one:SectionGroup>\n</one:SectionGroup>\n";
        const std::wstring bin = path + L"\\OneNote_RecycleBin";
        out_ += L"<one:SectionGroup name=\"OneNote_RecycleBin\" ID=\"" + NewHierarchyId() + L"\" path=\"" +
                Escaped(bin) + L"\" lastModifiedTime=\"" + Time(0) + L"\" isRecycleBin=\"true\">\n";
        Section(bin, L"Deleted Pages", 2, true);
        out_ += L"</one:SectionGroup>\n</one:Notebook>\n";
    }

    void Section(const std::wstring& parent, const std::wstring& name, int pages, bool deletedPages)
    {
        const std::wstring path = parent + L"\\" + (deletedPages ? L"OneNote_DeletedPages" : name) + L".one";
        out_ += L"<one:Section name=\"" + Escaped(name) + L"\" ID=\"" + NewHierarchyId() + L"\" path=\"" +
                Escaped(path) + L"\" lastModifiedTime=\"" + Time(0) + L"\" color=\"" +
                Colors[random_() % 10] + L"\"" +
                (deletedPages ? L" isInRecycleBin=\"true\" isDeletedPages=\"true\"" : L"") + L">\n";
        for (int page = 0; page < pages; ++page)
            Page(deletedPages);
        out_ += L"</one:Section>\n";
    }

    void Page(bool deleted)
    {
        const long long span = static_cast<long long>(std::max(1, options_.years)) * 365 * 86400;
        const long long createdAgo = static_cast<long long>(random_() % static_cast<unsigned>(span));
        // Most pages are changed within days, some much later, some never.
        const unsigned kind = random_() % 10;
        const long long modifiedAgo = kind < 3 ? createdAgo
                                      : kind < 8 ? std::max(0LL, createdAgo - static_cast<long long>(random_() % (3 * 86400)))
                                                 : static_cast<long long>(random_() % static_cast<unsigned>(createdAgo + 1));
        const std::wstring title = std::wstring(Word()) + L" " + Word() + L" " + std::to_wstring(++pageNumber_);
        const std::wstring created = Time(createdAgo);
        const std::wstring modified = Time(modifiedAgo);
        const unsigned level = random_() % 8 == 0 ? 2 : 1;
        out_ += L"<one:Page ID=\"" + NewPageId() + L"\" name=\"" + Escaped(title) + L"\" dateTime=\"" + created +
                L"\" lastModifiedTime=\"" + modified + L"\" pageLevel=\"" + std::to_wstring(level) + L"\"" +
                (random_() % 20 == 0 ? L" isUnread=\"true\"" : L"") + (deleted ? L" isInRecycleBin=\"true\"" : L"") +
                L" lang=\"en-US\">";
        out_ += L"<one:Title lang=\"en-US\"><one:OE creationTime=\"" + created + L"\" lastModifiedTime=\"" + created +
                L"\" objectID=\"" + NewObjectId() + L"\"><one:T><![CDATA[" + title + L"]]></one:T></one:OE></one:Title>";
        out_ += L"<one:Outline objectID=\"" + NewObjectId() + L"\"><one:OEChildren>";
        for (int line = 0; line < 2; ++line)
        {
            out_ += L"<one:OE creationTime=\"" + modified + L"\" lastModifiedTime=\"" + modified + L"\" objectID=\"" +
                    NewObjectId() + L"\"><one:T><![CDATA[";
            out_ += std::wstring(Word()) + L" " + Word() + L" " + Word() + L" and " + Word();
            out_ += L"]]></one:T></one:OE>";
        }
        out_ += L"</one:OEChildren></one:Outline></one:Page>\n";
    }

    const wchar_t* Word() { return Words[random_() % WordCount]; }

    // The UTC time secondsAgo seconds before now.
    std::wstring Time(long long secondsAgo)
    {
        const long long ticks = now_ - secondsAgo * 10000000LL;
        const FILETIME time{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
        SYSTEMTIME utc{};
        FileTimeToSystemTime(&time, &utc);
        return XmlTime(utc);
    }

    const LargeStoreOptions& options_;
    std::mt19937 random_;
    long long now_ = 0;
    int pageNumber_ = 0;
    std::wstring out_;
};
} // namespace

std::wstring BuildLargeStoreXml(const LargeStoreOptions& options) { return Generator(options).Build(); }

bool WriteLargeStore(const std::wstring& folder, const LargeStoreOptions& options)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder), error);
    // A demo anchor or a seed of an earlier store must not act on this one.
    DeleteFileW((folder + L"\\demo-day.txt").c_str());
    const std::wstring file = folder + L"\\store.xml";
    std::ofstream out(std::filesystem::path(file), std::ios::binary | std::ios::trunc);
    out << WideToUtf8(BuildLargeStoreXml(options));
    return static_cast<bool>(out);
}
} // namespace StandIn
