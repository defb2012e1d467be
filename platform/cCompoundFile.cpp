// cCompoundFile: writes a compound file of one stream: the header with its allocation list,
// the stream's sectors, one directory sector (root storage and the stream) and the sectors of
// the allocation table chaining them.
#include "platform/cCompoundFile.h"

#include "foundation/cError.h"

#include <cstdint>

namespace {

constexpr std::size_t kSector = 512;
constexpr std::size_t kMiniCutoff = 4096;
constexpr std::size_t kHeaderFatSlots = 109;
constexpr std::size_t kFatPerSector = kSector / 4;
constexpr std::uint32_t kFree = 0xFFFFFFFFu;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr std::uint32_t kFatSector = 0xFFFFFFFDu;
constexpr std::uint32_t kNoStream = 0xFFFFFFFFu;
constexpr const char* kSource = "cCompoundFile";

void Put16(std::string& out, std::size_t at, std::uint16_t v)
{
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

// One directory entry of 128 bytes: name, type (1 storage, 2 stream, 5 root), black, no
// siblings, the child, the first sector and the size.
std::string DirectoryEntry(const std::string& name, std::uint8_t type, std::uint32_t child,
                           std::uint32_t start, std::uint32_t size)
{
    std::string e(128, '\0');
    for (std::size_t i = 0; i < name.size(); ++i) {
        Put16(e, 2 * i, static_cast<unsigned char>(name[i]));
    }
    Put16(e, 64, static_cast<std::uint16_t>(name.empty() ? 0 : 2 * (name.size() + 1)));
    e[66] = static_cast<char>(type);
    e[67] = 1; // black
    Put32(e, 68, kNoStream);
    Put32(e, 72, kNoStream);
    Put32(e, 76, child);
    Put32(e, 116, start);
    Put32(e, 120, size);
    return e;
}

// The header of 512 bytes for the allocation sectors listed and the directory's first sector.
std::string Header(std::uint32_t fatFirst, std::uint32_t fatSectors, std::uint32_t directory)
{
    std::string h(kSector, '\0');
    const unsigned char signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    for (std::size_t i = 0; i < sizeof signature; ++i) {
        h[i] = static_cast<char>(signature[i]);
    }
    Put16(h, 24, 0x003E);       // minor version
    Put16(h, 26, 0x0003);       // major version 3: sectors of 512 bytes
    Put16(h, 28, 0xFFFE);       // little-endian
    Put16(h, 30, 9);            // sector size 2^9
    Put16(h, 32, 6);            // mini sector size 2^6
    Put32(h, 44, fatSectors);   // allocation table sectors
    Put32(h, 48, directory);    // first directory sector
    Put32(h, 56, kMiniCutoff);  // mini-stream cut-off
    Put32(h, 60, kEndOfChain);  // no mini allocation table
    Put32(h, 68, kEndOfChain);  // no further allocation list
    for (std::size_t i = 0; i < kHeaderFatSlots; ++i) {
        Put32(h, 76 + 4 * i, i < fatSectors ? fatFirst + static_cast<std::uint32_t>(i) : kFree);
    }
    return h;
}

} // namespace

std::string cCompoundFile::OneStream(const std::string& name, std::string data)
{
    if (name.empty() || name.size() > 31) {
        throw cError(5, kSource, "Invalid procedure call or argument");
    }
    if (data.size() < kMiniCutoff) {
        data.resize(kMiniCutoff, '\0');
    }
    const std::size_t streamSectors = (data.size() + kSector - 1) / kSector;
    // The allocation table covers every sector, its own included.
    std::size_t fatSectors = 1;
    while (fatSectors * kFatPerSector < streamSectors + 1 + fatSectors) {
        ++fatSectors;
    }
    if (fatSectors > kHeaderFatSlots) {
        throw cError(7, kSource, "Out of memory: the stream is too long for the file");
    }
    const auto directory = static_cast<std::uint32_t>(streamSectors);
    const auto fatFirst = directory + 1;

    std::string fat(fatSectors * kSector, '\0');
    for (std::size_t i = 0; i < fatSectors * kFatPerSector; ++i) {
        std::uint32_t next = kFree;
        if (i + 1 < streamSectors) {
            next = static_cast<std::uint32_t>(i + 1);
        } else if (i + 1 == streamSectors || i == directory) {
            next = kEndOfChain;
        } else if (i >= fatFirst && i < fatFirst + fatSectors) {
            next = kFatSector;
        }
        Put32(fat, 4 * i, next);
    }
    std::string dir = DirectoryEntry("Root Entry", 5, 1, kEndOfChain, 0) +
                      DirectoryEntry(name, 2, kNoStream, 0, static_cast<std::uint32_t>(data.size())) +
                      DirectoryEntry("", 0, kNoStream, 0, 0) + DirectoryEntry("", 0, kNoStream, 0, 0);
    data.resize(streamSectors * kSector, '\0');
    return Header(fatFirst, static_cast<std::uint32_t>(fatSectors), directory) + data + dir + fat;
}
