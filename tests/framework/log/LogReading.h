#pragma once
// Reading back what a log wrote: the raw bytes and their UTF-16LE text.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace LogReading
{
inline std::string Bytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The file's UTF-16LE characters, byte-order mark included.
inline std::wstring Text(const std::filesystem::path& path)
{
    const std::string bytes = Bytes(path);
    std::wstring text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8);
    return text;
}

// The entries of a log text: the pieces after each "\r\n", the first (the mark) left out.
inline std::vector<std::wstring> Lines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = text.find(L"\r\n");
    while (start != std::wstring::npos)
    {
        const size_t next = text.find(L"\r\n", start + 2);
        lines.push_back(text.substr(start + 2, next == std::wstring::npos ? std::wstring::npos : next - start - 2));
        start = next;
    }
    return lines;
}

// What follows " - " in an entry: the message.
inline std::wstring Message(const std::wstring& line)
{
    const size_t dash = line.find(L" - ");
    return dash == std::wstring::npos ? line : line.substr(dash + 3);
}
} // namespace LogReading
