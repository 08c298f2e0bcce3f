// Reading and writing a large hierarchy answer and a large page through the document model,
// against bare XmlLite over the same text: a reader loop that fetches every name, attribute and
// text, and a writer fed the same nodes recorded beforehand. Prints the times and their ratios.
//
//   model_bench.exe [--scale=F] [--rounds=N]     (scale 1: 20,000 pages and 5,000 paragraphs)
#include "framework/com/ComError.h"
#include "framework/xml/ElementReader.h"
#include "framework/xml/XmlDocument.h"
#include "onenote_model/OneNoteModel.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace
{
const std::wstring Namespace = ON::NamespaceUri;

std::wstring Id(int a, int b)
{
    return L"{6F0D3C2A-8B41-4E57-9A1C-" + std::to_wstring(100000000000 + a) + L"}{" + std::to_wstring(b) + L"}{B0}";
}

std::wstring Hierarchy(int pages)
{
    const int notebooks = 4;
    const int sectionsPerNotebook = 20;
    const int pagesPerSection = std::max(1, pages / (notebooks * sectionsPerNotebook));
    std::wstring text = L"<?xml version=\"1.0\"?>\n<one:Notebooks xmlns:one=\"" + Namespace + L"\">\n";
    int id = 0;
    for (int n = 0; n < notebooks; ++n)
    {
        text += L"<one:Notebook name=\"Notebook " + std::to_wstring(n) + L"\" nickname=\"N\" ID=\"" + Id(n, ++id) +
                L"\" path=\"C:\\Users\\ann\\Documents\\OneNote Notebooks\\N" + std::to_wstring(n) +
                L"\" lastModifiedTime=\"2026-12-08T16:02:47.000Z\" color=\"#ADE792\">\n";
        for (int s = 0; s < sectionsPerNotebook; ++s)
        {
            text += L"<one:Section name=\"Section " + std::to_wstring(s) + L"\" ID=\"" + Id(n, ++id) +
                    L"\" path=\"C:\\Users\\ann\\Documents\\OneNote Notebooks\\S.one\" "
                    L"lastModifiedTime=\"2026-12-08T16:02:47.000Z\" color=\"#8AA8E4\">\n";
            for (int p = 0; p < pagesPerSection; ++p)
                text += L"<one:Page ID=\"" + Id(n, ++id) + L"\" name=\"Page " + std::to_wstring(p) +
                        L" of the section\" dateTime=\"2026-12-03T08:41:12.000Z\" "
                        L"lastModifiedTime=\"2026-12-08T16:02:47.000Z\" pageLevel=\"1\" />\n";
            text += L"</one:Section>\n";
        }
        text += L"</one:Notebook>\n";
    }
    return text + L"</one:Notebooks>\n";
}

std::wstring LargePage(int paragraphs)
{
    std::wstring text =
        L"<?xml version=\"1.0\"?>\n<one:Page xmlns:one=\"" + Namespace + L"\" ID=\"" + Id(1, 1) +
        L"\" name=\"Long page\" dateTime=\"2026-12-03T08:41:12.000Z\" lang=\"en-GB\">\n"
        L"<one:TagDef index=\"0\" name=\"To Do\" type=\"0\" symbol=\"3\" />\n"
        L"<one:QuickStyleDef index=\"1\" name=\"p\" font=\"Calibri\" fontSize=\"11.0\" />\n"
        L"<one:Title><one:OE><one:T><![CDATA[Long page]]></one:T></one:OE></one:Title>\n"
        L"<one:Outline><one:Position x=\"36\" y=\"86.4\" z=\"0\" /><one:Size width=\"480\" height=\"9000\" />"
        L"<one:OEChildren>\n";
    for (int i = 0; i < paragraphs; ++i)
    {
        text += L"<one:OE creationTime=\"2026-12-03T08:42:01.000Z\" lastModifiedTime=\"2026-12-03T08:42:30.000Z\" "
                L"objectID=\"" +
                Id(2, i) + L"\" alignment=\"left\" quickStyleIndex=\"1\">";
        if (i % 5 == 0)
            text += L"<one:Tag index=\"0\" /><one:List><one:Bullet bullet=\"2\" fontSize=\"11.0\" /></one:List>";
        text += L"<one:T><![CDATA[Paragraph " + std::to_wstring(i) +
                L" of a long page, with <span style='font-weight:bold'>some</span> formatting]]></one:T></one:OE>\n";
    }
    return text + L"</one:OEChildren></one:Outline>\n</one:Page>\n";
}

// One node as the bare writer replays it.
struct Node
{
    XmlNodeType type;
    std::wstring prefix, localName, namespaceUri, value;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    bool empty = false;
};

std::wstring Text(IXmlReader* reader, HRESULT (STDMETHODCALLTYPE IXmlReader::*get)(LPCWSTR*, UINT*))
{
    const wchar_t* text = nullptr;
    UINT length = 0;
    ThrowIfFailed((reader->*get)(&text, &length));
    return std::wstring(text, length);
}

// The bare reader: every name, attribute and text fetched, as any reader of the document must.
size_t BareRead(const std::wstring& text, std::vector<Node>* record)
{
    Xml::NodeReader reader(CreateReader(text));
    IXmlReader* raw = reader.Get();
    size_t characters = 0;
    XmlNodeType type;
    while (reader.Next(type))
    {
        Node node{type, {}, {}, {}, {}, {}, false};
        if (type == XmlNodeType_Element)
        {
            node.localName = reader.LocalName();
            node.empty = reader.IsEmptyElement();
            if (record)
            {
                node.prefix = Text(raw, &IXmlReader::GetPrefix);
                node.namespaceUri = Text(raw, &IXmlReader::GetNamespaceUri);
            }
            reader.ForEachAttribute([&](std::wstring_view name, std::wstring_view value) {
                characters += name.size() + value.size();
                if (record && name != L"one")
                    node.attributes.emplace_back(name, value);
            });
            characters += node.localName.size();
        }
        else if (type == XmlNodeType_Text || type == XmlNodeType_CDATA || type == XmlNodeType_Whitespace)
        {
            const std::wstring_view value = reader.Value();
            characters += value.size();
            if (record)
                node.value = value;
        }
        if (record && type != XmlNodeType_Whitespace && type != XmlNodeType_XmlDeclaration)
            record->push_back(std::move(node));
    }
    return characters;
}

size_t BareWrite(const std::vector<Node>& nodes)
{
    XmlWriterHolder holder = CreateWriter(true, true, true, true);
    IXmlWriter* writer = holder.writer;
    for (const Node& node : nodes)
    {
        switch (node.type)
        {
        case XmlNodeType_Element:
            ThrowIfFailed(
                writer->WriteStartElement(node.prefix.c_str(), node.localName.c_str(), node.namespaceUri.c_str()));
            for (const auto& [name, value] : node.attributes)
                ThrowIfFailed(writer->WriteAttributeString(nullptr, name.c_str(), nullptr, value.c_str()));
            if (node.empty)
                ThrowIfFailed(writer->WriteEndElement());
            break;
        case XmlNodeType_EndElement: ThrowIfFailed(writer->WriteFullEndElement()); break;
        case XmlNodeType_CDATA: ThrowIfFailed(writer->WriteCData(node.value.c_str())); break;
        case XmlNodeType_Text: ThrowIfFailed(writer->WriteString(node.value.c_str())); break;
        default: break;
        }
    }
    ThrowIfFailed(writer->WriteEndDocument());
    ThrowIfFailed(writer->Flush());
    return StreamToBstr(holder.stream).length();
}

// The best times of two pieces of work, run by turns, so that a machine busy with something else
// slows both alike.
std::pair<double, double> BestOfEach(int rounds, const std::function<void()>& first, const std::function<void()>& second)
{
    const auto time = [](const std::function<void()>& work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    double bestFirst = 1e30;
    double bestSecond = 1e30;
    for (int round = 0; round < rounds; ++round)
    {
        bestFirst = std::min(bestFirst, time(first));
        bestSecond = std::min(bestSecond, time(second));
    }
    return {bestFirst, bestSecond};
}

template <typename Root> void Measure(const char* what, const std::wstring& text, int rounds)
{
    std::vector<Node> nodes;
    BareRead(text, &nodes);
    std::shared_ptr<Root> root;
    const auto [modelRead, bareRead] = BestOfEach(
        rounds,
        [&] {
            root = std::make_shared<Root>();
            ParseElement(*root, text);
        },
        [&] { BareRead(text, nullptr); });
    size_t modelLength = 0;
    size_t bareLength = 0;
    const auto [modelWrite, bareWrite] = BestOfEach(
        rounds, [&] { modelLength = WriteElement(*root).length(); }, [&] { bareLength = BareWrite(nodes); });
    std::printf("%s: %zu characters\n", what, text.size());
    std::printf("  read:  model %8.1f ms, bare XmlLite %8.1f ms, ratio %.2f\n", modelRead, bareRead,
                modelRead / bareRead);
    std::printf("  write: model %8.1f ms, bare XmlLite %8.1f ms, ratio %.2f (%zu and %zu characters written)\n",
                modelWrite, bareWrite, modelWrite / bareWrite, modelLength, bareLength);
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    double scale = 1;
    int rounds = 5;
    for (int i = 1; i < argc; ++i)
    {
        const std::wstring argument = argv[i];
        if (argument.starts_with(L"--scale="))
            scale = std::wcstod(argument.c_str() + 8, nullptr);
        else if (argument.starts_with(L"--rounds="))
            rounds = std::max(1, static_cast<int>(std::wcstol(argument.c_str() + 9, nullptr, 10)));
    }
    try
    {
        Measure<ON::Notebooks>("hierarchy", Hierarchy(std::max(1, static_cast<int>(20000 * scale))), rounds);
        Measure<ON::Page>("page", LargePage(std::max(1, static_cast<int>(5000 * scale))), rounds);
    }
    catch (const _com_error& error)
    {
        std::fprintf(stderr, "model_bench: failed with 0x%08lX\n", static_cast<unsigned long>(error.Error()));
        return 1;
    }
    return 0;
}
