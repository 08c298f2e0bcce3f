#include "tests/tools/GeneratedDocuments.h"

#include <string>

namespace GeneratedDocuments
{
namespace
{
const std::wstring Namespace = L"http://schemas.microsoft.com/office/onenote/2013/onenote";

int Below(std::mt19937& random, int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

std::wstring Number(int value) { return std::to_wstring(value); }

std::wstring Id(std::mt19937& random)
{
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring id = L"{";
    for (int i = 0; i < 32; ++i)
    {
        if (i == 8 || i == 12 || i == 16 || i == 20)
            id += L'-';
        id += digits[Below(random, 16)];
    }
    return id + L"}{" + Number(1 + Below(random, 90)) + L"}{B0}";
}

std::wstring Time(std::mt19937& random)
{
    wchar_t text[32];
    swprintf(text, 32, L"20%02d-%02d-%02dT%02d:%02d:%02d.000Z", 10 + Below(random, 17), 1 + Below(random, 12),
             1 + Below(random, 28), Below(random, 24), Below(random, 60), Below(random, 60));
    return text;
}

std::wstring Colour(std::mt19937& random)
{
    static const wchar_t* colours[] = {L"#ADE792", L"#8AA8E4", L"#F5F96F", L"none", L"automatic", L"#91BAAE"};
    return colours[Below(random, 6)];
}

std::wstring HierarchyAttributes(std::mt19937& random, const std::wstring& name)
{
    return L" name=\"" + name + L"\" ID=\"" + Id(random) + L"\" path=\"C:\\Notes\\" + name +
           L"\" lastModifiedTime=\"" + Time(random) + L"\"";
}

void AddSection(std::wstring& text, std::mt19937& random, int index)
{
    text += L"<one:Section" + HierarchyAttributes(random, L"Section " + Number(index)) + L" color=\"" +
            Colour(random) + L"\"" + (Below(random, 4) == 0 ? L" isUnread=\"true\"" : L"") + L">";
    const int pages = Below(random, 6);
    for (int p = 0; p < pages; ++p)
    {
        const bool sub = p > 0 && Below(random, 3) == 0;
        text += L"<one:Page ID=\"" + Id(random) + L"\" name=\"Page " + Number(p) + L"\" dateTime=\"" + Time(random) +
                L"\" lastModifiedTime=\"" + Time(random) + L"\" pageLevel=\"" + (sub ? L"2" : L"1") + L"\"" +
                (sub ? L" isSubPage=\"true\"" : L"") + (Below(random, 5) == 0 ? L" isUnread=\"true\"" : L"") +
                L"/>";
    }
    text += L"</one:Section>";
}

void AddSectionsAndGroups(std::wstring& text, std::mt19937& random, int depth)
{
    const int sections = Below(random, 4);
    for (int s = 0; s < sections; ++s)
        AddSection(text, random, s);
    const int groups = depth < 4 ? Below(random, 3) : 0;
    for (int g = 0; g < groups; ++g)
    {
        text += L"<one:SectionGroup" + HierarchyAttributes(random, L"Group " + Number(g)) + L">";
        AddSectionsAndGroups(text, random, depth + 1);
        text += L"</one:SectionGroup>";
    }
}

std::wstring Paragraph(std::mt19937& random, int depth);

std::wstring Children(std::mt19937& random, int depth)
{
    std::wstring text = L"<one:OEChildren>";
    const int count = 1 + Below(random, depth == 0 ? 6 : 3);
    for (int i = 0; i < count; ++i)
        text += Paragraph(random, depth + 1);
    return text + L"</one:OEChildren>";
}

std::wstring Table(std::mt19937& random, int depth)
{
    const int columns = 1 + Below(random, 3);
    std::wstring text = L"<one:Table bordersVisible=\"true\"><one:Columns>";
    for (int c = 0; c < columns; ++c)
        text += L"<one:Column index=\"" + Number(c) + L"\" width=\"" + Number(60 + Below(random, 200)) + L".5\"/>";
    text += L"</one:Columns>";
    const int rows = 1 + Below(random, 3);
    for (int r = 0; r < rows; ++r)
    {
        text += L"<one:Row>";
        for (int c = 0; c < columns; ++c)
            text += L"<one:Cell>" + Children(random, depth) + L"</one:Cell>";
        text += L"</one:Row>";
    }
    return text + L"</one:Table>";
}

std::wstring Paragraph(std::mt19937& random, int depth)
{
    std::wstring text = L"<one:OE creationTime=\"" + Time(random) + L"\" lastModifiedTime=\"" + Time(random) +
                        L"\" objectID=\"" + Id(random) + L"\" alignment=\"left\" quickStyleIndex=\"" +
                        Number(Below(random, 2)) + L"\">";
    if (Below(random, 4) == 0)
        text += L"<one:Tag index=\"0\"" + std::wstring(Below(random, 2) ? L" completed=\"true\"" : L"") + L"/>";
    if (Below(random, 3) == 0)
        text += Below(random, 2) ? L"<one:List><one:Bullet bullet=\"2\" fontSize=\"11.0\"/></one:List>"
                                 : L"<one:List><one:Number numberSequence=\"0\" numberFormat=\"##.\" fontSize=\"11.0\" "
                                   L"text=\"1.\"/></one:List>";
    if (depth < 4 && Below(random, 8) == 0)
        text += Table(random, depth);
    else
        text += L"<one:T><![CDATA[Paragraph at depth " + Number(depth) +
                L" with <span style='font-weight:bold'>markup</span> &amp; more]]></one:T>";
    if (depth < 5 && Below(random, 4) == 0)
        text += Children(random, depth);
    return text + L"</one:OE>";
}
} // namespace

std::wstring Hierarchy(std::mt19937& random)
{
    std::wstring text = L"<?xml version=\"1.0\"?>\n<one:Notebooks xmlns:one=\"" + Namespace + L"\">";
    const int notebooks = 1 + Below(random, 3);
    for (int n = 0; n < notebooks; ++n)
    {
        text += L"<one:Notebook" + HierarchyAttributes(random, L"Notebook " + Number(n)) + L" nickname=\"N" +
                Number(n) + L"\" color=\"" + Colour(random) + L"\">";
        AddSectionsAndGroups(text, random, 0);
        text += L"</one:Notebook>";
    }
    return text + L"</one:Notebooks>";
}

std::wstring Page(std::mt19937& random)
{
    std::wstring text = L"<?xml version=\"1.0\"?>\n<one:Page xmlns:one=\"" + Namespace + L"\" ID=\"" + Id(random) +
                        L"\" name=\"Generated page\" dateTime=\"" + Time(random) + L"\" lastModifiedTime=\"" +
                        Time(random) + L"\" pageLevel=\"1\" lang=\"en-GB\">"
                        L"<one:TagDef index=\"0\" name=\"To Do\" type=\"0\" symbol=\"3\"/>"
                        L"<one:QuickStyleDef index=\"0\" name=\"PageTitle\" font=\"Calibri Light\" fontSize=\"20.0\"/>"
                        L"<one:QuickStyleDef index=\"1\" name=\"p\" font=\"Calibri\" fontSize=\"11.0\"/>"
                        L"<one:Title><one:OE><one:T><![CDATA[Generated page]]></one:T></one:OE></one:Title>";
    const int outlines = 1 + Below(random, 3);
    for (int o = 0; o < outlines; ++o)
        text += L"<one:Outline><one:Position x=\"36.0\" y=\"" + Number(86 + 200 * o) + L".4\" z=\"" + Number(o) +
                L"\"/><one:Size width=\"480.0\" height=\"" + Number(20 + Below(random, 400)) + L".0\"/>" +
                Children(random, 0) + L"</one:Outline>";
    return text + L"</one:Page>";
}
} // namespace GeneratedDocuments
