// Any bytes as a version record: every query must stay inside the block.
#include "VersionInfo.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace {

// Touches every byte of a value so that AddressSanitizer sees any read outside the block.
unsigned Sum(std::span<const std::byte> value)
{
    unsigned sum = 0;
    for (const std::byte b : value)
        sum += std::to_integer<unsigned>(b);
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::byte> block(reinterpret_cast<const std::byte*>(data), size);
    volatile unsigned sink = 0;
    if (const auto root = tarvane::VerQueryValue(block, "\\")) {
        sink = sink + Sum(*root);
        if (const auto fixed = tarvane::ReadFixedFileInfo(*root))
            sink = sink + fixed->fileDateLS;
    }
    std::string table = "040C04E4";
    if (const auto translations = tarvane::VerQueryValue(block, "\\VarFileInfo\\Translation")) {
        sink = sink + Sum(*translations);
        if (const auto translation = tarvane::ReadFirstTranslation(*translations)) {
            char name[9];
            std::snprintf(name, sizeof name, "%04X%04X", translation->language,
                          translation->codePage);
            table = name;
        }
    }
    for (const char* key : {"CompanyName", "FileVersion", "LegalTradeMarks", "Comments"}) {
        if (const auto text =
                tarvane::VerQueryValue(block, "StringFileInfo\\" + table + "\\" + key))
            sink = sink + unsigned(tarvane::ReadVersionText(*text).size()) + Sum(*text);
    }
    return 0;
}
