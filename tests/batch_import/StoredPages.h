#pragma once
// What an import left in the OneNote stand-in's store, read through OneNote's own calls: the pages
// that were not there before, each with its section and the files attached to it, with the text of
// OneNote's copy of each.

#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/onenote/OneNoteAutomation.h"
#include "framework/text/Text.h"

#include <comdef.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

namespace StoredPages
{
namespace Detail
{
inline std::wstring Unescaped(std::wstring text)
{
    for (const auto& [escaped, plain] : {std::pair<std::wstring, std::wstring>{L"&quot;", L"\""}, {L"&apos;", L"'"},
                                         {L"&lt;", L"<"}, {L"&gt;", L">"}, {L"&amp;", L"&"}})
        for (size_t at = text.find(escaped); at != std::wstring::npos; at = text.find(escaped, at + plain.size()))
            text.replace(at, escaped.size(), plain);
    return text;
}

inline std::wstring Attribute(const std::wstring& tag, const std::wstring& name)
{
    std::wsmatch value;
    if (std::regex_search(tag, value, std::wregex(L" " + name + L"=\"([^\"]*)\"")))
        return Unescaped(value[1]);
    return {};
}

// The text a call that answers a BSTR gave, empty when it failed.
template <typename Calling> std::wstring Answer(Calling call)
{
    BSTR text = nullptr;
    const HRESULT result = call(&text);
    const _bstr_t owned(text, false);
    return SUCCEEDED(result) && text ? std::wstring(static_cast<const wchar_t*>(owned)) : std::wstring();
}

struct Listed
{
    std::wstring id;
    std::wstring name;
    std::wstring section;
};

// Every page of the store in its order, with the name of its section.
inline std::vector<Listed> ListPages(ON16::IApplication& application)
{
    const std::wstring hierarchy = Answer(
        [&](BSTR* xml) { return application.GetHierarchy(_bstr_t(L""), ON16::hsPages, xml, ON16::xs2013); });
    std::vector<Listed> pages;
    std::wstring section;
    const std::wregex tag(L"<one:(Section|Page)\\b[^>]*>");
    for (std::wsregex_iterator it(hierarchy.begin(), hierarchy.end(), tag), end; it != end; ++it)
    {
        const std::wstring text = it->str();
        if ((*it)[1] == L"Section")
            section = Attribute(text, L"name");
        else
            pages.push_back({Attribute(text, L"ID"), Attribute(text, L"name"), section});
    }
    return pages;
}
} // namespace Detail

// The IDs of the store's pages now.
inline std::set<std::wstring> PageIds(ON16::IApplication& application)
{
    std::set<std::wstring> ids;
    for (const Detail::Listed& page : Detail::ListPages(application))
        ids.insert(page.id);
    return ids;
}

// One line per page that is not among before, in the store's order: "section / page:", then for
// each attached file its name and, in quotes, the text of OneNote's copy of it (or "no copy"). A
// page titled with the date of its run is named "Files Imported on ...".
inline std::vector<std::wstring> NewPages(ON16::IApplication& application, const std::set<std::wstring>& before)
{
    std::vector<std::wstring> lines;
    for (const Detail::Listed& page : Detail::ListPages(application))
    {
        if (before.contains(page.id))
            continue;
        const std::wstring dated = L"Files Imported on ";
        std::wstring line = page.section + L" / " + (page.name.starts_with(dated) ? dated + L"..." : page.name) + L":";
        const std::wstring content = Detail::Answer([&](BSTR* xml) {
            return application.GetPageContent(_bstr_t(page.id.c_str()), xml, ON16::piBasic, ON16::xs2013);
        });
        const std::wregex attached(L"<one:InsertedFile\\b[^>]*>");
        for (std::wsregex_iterator it(content.begin(), content.end(), attached), end; it != end; ++it)
        {
            const std::wstring cache = Detail::Attribute(it->str(), L"pathCache");
            line += L" " + Detail::Attribute(it->str(), L"preferredName") + L" " +
                    (FileExists(cache.c_str()) ? L"\"" + Utf8ToWide(ReadFileBytes(cache.c_str())) + L"\"" : L"no copy");
        }
        lines.push_back(line);
    }
    return lines;
}
} // namespace StoredPages
