#include "import_engine/ProtectedDocument.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

namespace
{
// The compound file format's constants.
constexpr unsigned char Signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr uint32_t EndOfChain = 0xFFFFFFFE;
constexpr size_t HeaderFatEntries = 109;
constexpr size_t DirectoryEntrySize = 128;
constexpr uint8_t StreamObject = 2;
// The first bytes of a PowerPoint 97-2003 "Current User" stream: a record header, the atom's
// size, then the token that tells an encrypted presentation.
constexpr size_t CurrentUserTokenOffset = 12;
constexpr uint32_t EncryptedToken = 0xF3D1C4DF;

uint32_t Read32(const std::vector<char>& bytes, size_t at)
{
    uint32_t value = 0;
    if (at + 4 <= bytes.size())
        std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

uint16_t Read16(const std::vector<char>& bytes, size_t at)
{
    uint16_t value = 0;
    if (at + 2 <= bytes.size())
        std::memcpy(&value, bytes.data() + at, 2);
    return value;
}

class CompoundFile
{
public:
    explicit CompoundFile(const std::wstring& path) : file_(std::filesystem::path(path), std::ios::binary) {}

    // Reads the header and the sector table; false for anything that is no compound file.
    bool Open()
    {
        header_ = ReadAt(0, 512);
        if (header_.size() < 512 || std::memcmp(header_.data(), Signature, sizeof Signature) != 0)
            return false;
        const uint16_t sectorShift = Read16(header_, 0x1E);
        const uint16_t miniShift = Read16(header_, 0x20);
        if ((sectorShift != 9 && sectorShift != 12) || miniShift >= sectorShift)
            return false;
        sectorSize_ = size_t{1} << sectorShift;
        miniSectorSize_ = size_t{1} << miniShift;
        file_.seekg(0, std::ios::end);
        sectorCount_ = static_cast<size_t>(file_.tellg()) / sectorSize_;
        file_.clear();

        std::vector<uint32_t> fatSectors;
        const uint32_t fatCount = Read32(header_, 0x2C);
        for (size_t i = 0; i < HeaderFatEntries && fatSectors.size() < fatCount; ++i)
            fatSectors.push_back(Read32(header_, 0x4C + 4 * i));
        uint32_t difat = Read32(header_, 0x44);
        for (size_t hops = 0; difat != EndOfChain && difat < sectorCount_ && hops < sectorCount_; ++hops)
        {
            const std::vector<char> sector = ReadSector(difat);
            const size_t perSector = sectorSize_ / 4 - 1;
            for (size_t i = 0; i < perSector && fatSectors.size() < fatCount; ++i)
                fatSectors.push_back(Read32(sector, 4 * i));
            difat = Read32(sector, 4 * perSector);
        }
        for (const uint32_t sector : fatSectors)
        {
            const std::vector<char> bytes = ReadSector(sector);
            for (size_t i = 0; i + 4 <= bytes.size(); i += 4)
                fat_.push_back(Read32(bytes, i));
        }
        directory_ = ReadChain(fat_, Read32(header_, 0x30), [this](uint32_t s) { return ReadSector(s); });
        return !directory_.empty();
    }

    // The first bytes of the stream of that name, empty when there is none.
    std::optional<std::vector<char>> StreamStart(std::u16string_view name, size_t bytes)
    {
        for (size_t at = 0; at + DirectoryEntrySize <= directory_.size(); at += DirectoryEntrySize)
        {
            const uint16_t nameBytes = Read16(directory_, at + 0x40);
            if (directory_[at + 0x42] != static_cast<char>(StreamObject) || nameBytes != (name.size() + 1) * 2 ||
                std::memcmp(directory_.data() + at, name.data(), name.size() * 2) != 0)
                continue;
            const uint32_t start = Read32(directory_, at + 0x74);
            const uint32_t size = Read32(directory_, at + 0x78);
            std::vector<char> content = size < Read32(header_, 0x38) ? ReadMiniStream(start) : ReadStream(start);
            content.resize(std::min<size_t>(std::min<size_t>(size, bytes), content.size()));
            return content;
        }
        return std::nullopt;
    }

private:
    std::vector<char> ReadAt(std::streamoff offset, size_t length)
    {
        std::vector<char> bytes(length);
        file_.seekg(offset);
        file_.read(bytes.data(), static_cast<std::streamsize>(length));
        bytes.resize(static_cast<size_t>(std::max<std::streamsize>(file_.gcount(), 0)));
        file_.clear();
        return bytes;
    }

    std::vector<char> ReadSector(uint32_t sector)
    {
        if (sector >= sectorCount_)
            return {};
        return ReadAt(static_cast<std::streamoff>((size_t{sector} + 1) * sectorSize_), sectorSize_);
    }

    // The sectors of a chain, joined; a broken or looping chain ends where it breaks.
    template <typename ReadOne>
    std::vector<char> ReadChain(const std::vector<uint32_t>& table, uint32_t first, ReadOne readOne,
                                size_t enough = SIZE_MAX)
    {
        std::vector<char> bytes;
        size_t hops = 0;
        for (uint32_t at = first; at < table.size() && bytes.size() < enough && hops++ < table.size(); at = table[at])
        {
            const std::vector<char> part = readOne(at);
            if (part.empty())
                break;
            bytes.insert(bytes.end(), part.begin(), part.end());
        }
        return bytes;
    }

    std::vector<char> ReadStream(uint32_t first)
    {
        return ReadChain(fat_, first, [this](uint32_t s) { return ReadSector(s); }, sectorSize_);
    }

    std::vector<char> ReadMiniStream(uint32_t first)
    {
        if (miniFat_.empty())
        {
            const std::vector<char> table =
                ReadChain(fat_, Read32(header_, 0x3C), [this](uint32_t s) { return ReadSector(s); });
            for (size_t i = 0; i + 4 <= table.size(); i += 4)
                miniFat_.push_back(Read32(table, i));
            // The root entry's stream holds the small streams.
            miniStream_ = ReadChain(fat_, Read32(directory_, 0x74), [this](uint32_t s) { return ReadSector(s); });
        }
        return ReadChain(miniFat_, first, [this](uint32_t s) { return ReadMiniSector(s); }, sectorSize_);
    }

    std::vector<char> ReadMiniSector(uint32_t sector) const
    {
        const size_t offset = size_t{sector} * miniSectorSize_;
        std::vector<char> bytes;
        if (offset + miniSectorSize_ <= miniStream_.size())
            bytes.assign(miniStream_.data() + offset, miniStream_.data() + offset + miniSectorSize_);
        return bytes;
    }

    std::ifstream file_;
    std::vector<char> header_;
    size_t sectorSize_ = 512;
    size_t miniSectorSize_ = 64;
    size_t sectorCount_ = 0;
    std::vector<uint32_t> fat_;
    std::vector<uint32_t> miniFat_;
    std::vector<char> miniStream_;
    std::vector<char> directory_;
};
} // namespace

bool IsPasswordProtectedDocument(const std::wstring& path)
{
    CompoundFile file(path);
    if (!file.Open())
        return false;
    if (file.StreamStart(u"EncryptedPackage", 0))
        return true;
    const auto currentUser = file.StreamStart(u"Current User", CurrentUserTokenOffset + 4);
    if (!currentUser || currentUser->size() < CurrentUserTokenOffset + 4)
        return false;
    return Read32(*currentUser, CurrentUserTokenOffset) == EncryptedToken;
}
