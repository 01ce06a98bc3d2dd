#include "VersionInfo.h"

#include "FileHandle.h"

#include <elf.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <vector>

namespace tarvane {

namespace {

// A block's length is 16 bits wide, so no record is longer; a larger section only pads it.
constexpr std::size_t MaxRecordSize = 0xFFFF;

constexpr std::size_t HeaderSize = 6;

// Where the record's section lies in the file.
struct SectionPlace {
    off_t offset = 0;
    std::size_t size = 0;
};

// Reads a whole object at offset; false when the file is shorter.
template <typename T>
bool ReadAt(int fd, std::uint64_t offset, T& object)
{
    return offset <= std::uint64_t(INT64_MAX)
        && ::pread(fd, &object, sizeof object, off_t(offset)) == ssize_t(sizeof object);
}

// Whether the section name at offset in the names section is the record section's name.
template <typename Shdr>
bool IsRecordSection(int fd, const Shdr& names, std::uint32_t offset)
{
    char name[sizeof VersionRecordSection]{};
    return offset <= names.sh_size && names.sh_size - offset >= sizeof name
        && ReadAt(fd, names.sh_offset + offset, name)
        && std::memcmp(name, VersionRecordSection, sizeof name) == 0;
}

// Walks the section headers of an ELF file of one class (the headers are read one at a
// time, so a malformed count or offset costs reads that fail, never memory).
template <typename Ehdr, typename Shdr>
std::optional<SectionPlace> FindRecordSection(int fd)
{
    Ehdr file{};
    if (!ReadAt(fd, 0, file) || file.e_shentsize != sizeof(Shdr) || file.e_shoff == 0)
        return std::nullopt;
    const auto header = [&](std::uint64_t index) -> std::optional<Shdr> {
        Shdr section{};
        if (!ReadAt(fd, file.e_shoff + index * sizeof(Shdr), section))
            return std::nullopt;
        return section;
    };
    // Large counts and indexes live in the first section header.
    std::uint64_t count = file.e_shnum;
    std::uint64_t namesIndex = file.e_shstrndx;
    if (count == 0 || namesIndex == SHN_XINDEX) {
        const std::optional<Shdr> first = header(0);
        if (!first)
            return std::nullopt;
        if (count == 0)
            count = first->sh_size;
        if (namesIndex == SHN_XINDEX)
            namesIndex = first->sh_link;
    }
    const std::optional<Shdr> names = namesIndex < count ? header(namesIndex) : std::nullopt;
    if (!names)
        return std::nullopt;
    for (std::uint64_t index = 1; index < count; ++index) {
        const std::optional<Shdr> section = header(index);
        if (!section)
            return std::nullopt;
        if (!IsRecordSection(fd, *names, section->sh_name))
            continue;
        if (section->sh_type == SHT_NOBITS || section->sh_offset > std::uint64_t(INT64_MAX))
            return std::nullopt;
        return SectionPlace{off_t(section->sh_offset),
                            std::size_t(std::min<std::uint64_t>(section->sh_size, MaxRecordSize))};
    }
    return std::nullopt;
}

// The record's section in an ELF file of this machine's byte order, either class.
std::optional<SectionPlace> FindRecordSection(int fd)
{
    unsigned char ident[EI_NIDENT]{};
    if (!ReadAt(fd, 0, ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0
        || ident[EI_DATA]
            != (std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB))
        return std::nullopt;
    // clang-format off
    switch (ident[EI_CLASS]) {
    case ELFCLASS32: return FindRecordSection<Elf32_Ehdr, Elf32_Shdr>(fd);
    case ELFCLASS64: return FindRecordSection<Elf64_Ehdr, Elf64_Shdr>(fd);
    default: return std::nullopt;
    }
    // clang-format on
}

// The bytes of the file's record section; empty when there is none or it cannot be read whole.
std::vector<std::byte> ReadRecordSection(const std::string& fileName)
{
    const FileHandle file(fileName.c_str());
    if (!file.IsRegularFile())
        return {};
    const std::optional<SectionPlace> place = FindRecordSection(file.Fd());
    if (!place)
        return {};
    std::vector<std::byte> bytes(place->size);
    if (::pread(file.Fd(), bytes.data(), bytes.size(), place->offset) != ssize_t(bytes.size()))
        return {};
    return bytes;
}

std::uint16_t ReadU16(std::span<const std::byte> bytes, std::size_t offset)
{
    return std::uint16_t(std::to_integer<unsigned>(bytes[offset])
                         | std::to_integer<unsigned>(bytes[offset + 1]) << 8);
}

std::uint32_t ReadU32(std::span<const std::byte> bytes, std::size_t offset)
{
    return std::uint32_t(ReadU16(bytes, offset)) | std::uint32_t(ReadU16(bytes, offset + 2)) << 16;
}

constexpr std::size_t Align4(std::size_t offset)
{
    return (offset + 3) & ~std::size_t(3);
}

// One block of a record, with every part checked to lie inside its parent.
struct Block {
    std::size_t keyBegin = 0;
    std::size_t keyEnd = 0; // offset of the key's terminating zero
    std::size_t valueBegin = 0;
    std::size_t valueSize = 0;
    std::size_t childrenBegin = 0;
    std::size_t end = 0;
};

// The end of the block at offset, when its length fits inside its parent.
std::optional<std::size_t> BlockEnd(std::span<const std::byte> record, std::size_t offset,
                                    std::size_t limit)
{
    if (offset > limit || limit - offset < HeaderSize)
        return std::nullopt;
    const std::size_t length = ReadU16(record, offset);
    if (length < HeaderSize || length > limit - offset)
        return std::nullopt;
    return offset + length;
}

// The block from offset to end; nothing when its key or its value overflows it.
std::optional<Block> ReadBlock(std::span<const std::byte> record, std::size_t offset,
                               std::size_t end)
{
    Block block;
    block.end = end;
    block.keyBegin = offset + HeaderSize;
    block.keyEnd = block.keyBegin;
    while (block.keyEnd + 2 <= block.end && ReadU16(record, block.keyEnd) != 0)
        block.keyEnd += 2;
    if (block.keyEnd + 2 > block.end)
        return std::nullopt;
    const std::size_t valueLength = ReadU16(record, offset + 2);
    const bool text = ReadU16(record, offset + 4) == 1;
    block.valueSize = text ? valueLength * 2 : valueLength;
    block.valueBegin = std::min(Align4(block.keyEnd + 2), block.end);
    if (block.valueSize > block.end - block.valueBegin)
        return std::nullopt;
    block.childrenBegin = Align4(block.valueBegin + block.valueSize);
    return block;
}

bool KeyEquals(std::span<const std::byte> record, const Block& block, std::string_view key)
{
    if ((block.keyEnd - block.keyBegin) / 2 != key.size())
        return false;
    const auto fold = [](unsigned c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (fold(ReadU16(record, block.keyBegin + 2 * i))
            != fold(static_cast<unsigned char>(key[i])))
            return false;
    }
    return true;
}

std::optional<Block> FindChild(std::span<const std::byte> record, const Block& parent,
                               std::string_view key)
{
    // A sibling whose length is wrong ends the search; one whose key or value is wrong is
    // passed over.
    for (std::size_t offset = parent.childrenBegin; offset < parent.end;) {
        const std::optional<std::size_t> end = BlockEnd(record, offset, parent.end);
        if (!end)
            return std::nullopt;
        const std::optional<Block> child = ReadBlock(record, offset, *end);
        if (child && KeyEquals(record, *child, key))
            return child;
        offset = Align4(*end);
    }
    return std::nullopt;
}

} // namespace

std::uint32_t GetFileVersionInfoSize(const std::string& fileName)
{
    return std::uint32_t(ReadRecordSection(fileName).size());
}

bool GetFileVersionInfo(const std::string& fileName, std::span<std::byte> data)
{
    const std::vector<std::byte> record = ReadRecordSection(fileName);
    if (record.empty())
        return false;
    std::copy_n(record.begin(), std::min(record.size(), data.size()), data.begin());
    return true;
}

std::optional<std::span<const std::byte>> VerQueryValue(std::span<const std::byte> block,
                                                        std::string_view subBlock)
{
    const std::optional<std::size_t> end = BlockEnd(block, 0, block.size());
    std::optional<Block> current = end ? ReadBlock(block, 0, *end) : std::nullopt;
    while (current && !subBlock.empty()) {
        const std::size_t keySize = std::min(subBlock.find('\\'), subBlock.size());
        if (keySize > 0)
            current = FindChild(block, *current, subBlock.substr(0, keySize));
        subBlock.remove_prefix(std::min(keySize + 1, subBlock.size()));
    }
    if (!current)
        return std::nullopt;
    return block.subspan(current->valueBegin, current->valueSize);
}

std::optional<TFixedFileInfo> ReadFixedFileInfo(std::span<const std::byte> value)
{
    constexpr std::size_t Fields = 13;
    if (value.size() < Fields * 4 || ReadU32(value, 0) != FixedFileInfoSignature)
        return std::nullopt;
    std::uint32_t fields[Fields];
    for (std::size_t i = 0; i < Fields; ++i)
        fields[i] = ReadU32(value, 4 * i);
    return TFixedFileInfo{fields[0],  fields[1],  fields[2], fields[3], fields[4],
                          fields[5],  fields[6],  fields[7], fields[8], fields[9],
                          fields[10], fields[11], fields[12]};
}

std::optional<TTranslation> ReadFirstTranslation(std::span<const std::byte> value)
{
    if (value.size() < 4)
        return std::nullopt;
    return TTranslation{ReadU16(value, 0), ReadU16(value, 2)};
}

std::u16string ReadVersionText(std::span<const std::byte> value)
{
    std::u16string text;
    for (std::size_t offset = 0; offset + 2 <= value.size(); offset += 2) {
        const char16_t c = ReadU16(value, offset);
        if (c == 0)
            break;
        text.push_back(c);
    }
    return text;
}

} // namespace tarvane
