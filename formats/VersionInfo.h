#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Version records: the platform's published VS_VERSIONINFO layout (nested blocks of a 16-bit
// length, a 16-bit value length, a 16-bit type, a UTF-16 key and a value, each aligned on 32
// bits, all little-endian), carried in an ELF section of a program file.
namespace tarvane {

// The ELF section that carries a file's version record.
inline constexpr char VersionRecordSection[] = ".tarvane.version";

// Size in bytes of the file's version record; 0 when the file cannot be read, is not ELF or
// carries none.
std::uint32_t GetFileVersionInfoSize(const std::string& fileName);

// Copies the start of the file's version record into data (at most the record's size; the
// rest of data is left alone); false when there is none.
bool GetFileVersionInfo(const std::string& fileName, std::span<std::byte> data);

// The value stored at a path of backslash-separated keys ("\" for the root's fixed part,
// "\VarFileInfo\Translation", "\StringFileInfo\040C04E4\FileVersion"). Keys match without
// regard to ASCII case. A text value's bytes are its UTF-16 characters with their terminating
// zero. Nothing when the path is missing or the record is malformed along it; the bytes found
// always lie inside block.
std::optional<std::span<const std::byte>> VerQueryValue(std::span<const std::byte> block,
                                                        std::string_view subBlock);

// The root's fixed part (VS_FIXEDFILEINFO).
struct TFixedFileInfo {
    std::uint32_t signature = 0;
    std::uint32_t strucVersion = 0;
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;
    std::uint32_t productVersionMS = 0;
    std::uint32_t productVersionLS = 0;
    std::uint32_t fileFlagsMask = 0;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOS = 0;
    std::uint32_t fileType = 0;
    std::uint32_t fileSubtype = 0;
    std::uint32_t fileDateMS = 0;
    std::uint32_t fileDateLS = 0;
};

inline constexpr std::uint32_t FixedFileInfoSignature = 0xFEEF04BD;

// The fixed part held in the root's value; nothing when it is too short or not signed.
std::optional<TFixedFileInfo> ReadFixedFileInfo(std::span<const std::byte> value);

// One entry of "\VarFileInfo\Translation".
struct TTranslation {
    std::uint16_t language = 0;
    std::uint16_t codePage = 0;
};

// The first entry of a translation table; nothing when the table is empty.
std::optional<TTranslation> ReadFirstTranslation(std::span<const std::byte> value);

// A text value up to its terminating zero (or its end when it has none).
std::u16string ReadVersionText(std::span<const std::byte> value);

} // namespace tarvane
