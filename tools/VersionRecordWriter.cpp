#include "VersionRecordWriter.h"

#include <stdexcept>

namespace tarvane {

namespace {

void PutU16(std::vector<std::byte>& out, std::size_t offset, std::uint16_t value)
{
    out[offset] = std::byte(value & 0xFF);
    out[offset + 1] = std::byte(value >> 8);
}

void AppendU16(std::vector<std::byte>& out, std::uint16_t value)
{
    out.resize(out.size() + 2);
    PutU16(out, out.size() - 2, value);
}

void PadTo32Bits(std::vector<std::byte>& out)
{
    out.resize((out.size() + 3) & ~std::size_t(3));
}

void WriteBlock(std::vector<std::byte>& out, const TVersionBlock& block)
{
    const std::size_t start = out.size();
    AppendU16(out, 0); // the length, known once the children are written
    AppendU16(out, block.valueLength);
    AppendU16(out, block.text ? 1 : 0);
    for (const char16_t c : block.key)
        AppendU16(out, c);
    AppendU16(out, 0);
    PadTo32Bits(out);
    out.insert(out.end(), block.value.begin(), block.value.end());
    for (const TVersionBlock& child : block.children) {
        PadTo32Bits(out);
        WriteBlock(out, child);
    }
    const std::size_t length = out.size() - start;
    if (length > 0xFFFF)
        throw std::runtime_error("version block too long for its 16-bit length");
    PutU16(out, start, std::uint16_t(length));
}

} // namespace

std::vector<std::byte> WriteVersionRecord(const TVersionBlock& root)
{
    std::vector<std::byte> record;
    WriteBlock(record, root);
    return record;
}

} // namespace tarvane
