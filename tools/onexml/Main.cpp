// onexml roundtrip IN OUT
//
// Reads a OneNote page or hierarchy file (UTF-8, or UTF-16 with a byte order mark) through the
// document model and writes what the model makes of it to OUT as UTF-8: a quick way to see what
// the programs would send back to OneNote for a page. Exit status 0 on success, 1 when IN is not
// OneNote XML or a file cannot be read or written, 2 for a wrong command line.

#include "framework/text/Text.h"
#include "tools/onexml/OneNoteDocument.h"

#include <comdef.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace
{
void Complain(const std::string& message)
{
    std::fprintf(stderr, "onexml: %s\n", message.c_str());
}

std::string PathText(const std::filesystem::path& path)
{
    return WideToUtf8(path.wstring());
}

bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool WriteFileBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

int RoundTrip(const std::filesystem::path& in, const std::filesystem::path& out)
{
    std::string bytes;
    if (!ReadFileBytes(in, bytes))
    {
        Complain("cannot read " + PathText(in));
        return 1;
    }
    std::string written;
    try
    {
        const auto root = OneNoteXml::ReadDocument(OneNoteXml::DecodeFileText(bytes));
        written = OneNoteXml::WriteDocument(*root);
    }
    catch (const OneNoteXml::NotOneNoteXml& error)
    {
        Complain(PathText(in) + " is not OneNote XML: " + error.what());
        return 1;
    }
    catch (const _com_error& error)
    {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(error.Error()));
        Complain("reading or writing " + PathText(in) + " failed with " + code);
        return 1;
    }
    if (!WriteFileBytes(out, written))
    {
        Complain("cannot write " + PathText(out));
        return 1;
    }
    return 0;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4 || std::wstring(argv[1]) != L"roundtrip")
    {
        std::fprintf(stderr, "usage: onexml roundtrip IN OUT\n"
                             "  reads the OneNote page or hierarchy XML file IN (UTF-8, or UTF-16 with a byte order\n"
                             "  mark) through the document model and writes it back to OUT as UTF-8\n");
        return 2;
    }
    return RoundTrip(argv[2], argv[3]);
}
