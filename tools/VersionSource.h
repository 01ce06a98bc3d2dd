#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvane {

// One block of a version record: its key, its value as stored, and its child blocks.
struct TVersionBlock {
    std::u16string key;
    bool text = true;
    // As the record stores it: characters (with the terminating zero) for text, else bytes.
    std::uint16_t valueLength = 0;
    std::vector<std::byte> value;
    std::vector<TVersionBlock> children;
};

// Reads a version record written in the resource-script VERSIONINFO form: the fixed
// statements (FILEVERSION a,b,c,d, PRODUCTVERSION, FILEFLAGSMASK, FILEFLAGS, FILEOS, FILETYPE,
// FILESUBTYPE), then BEGIN, nested BLOCK "key" BEGIN ... END, VALUE "key", "text" or
// VALUE "key", n, n... (16-bit numbers), and END; // and /* */ comments. The text is UTF-8;
// a string table of code page 1252 ("....04E4") accepts only that code page's characters.
// Throws std::runtime_error naming the line at fault.
TVersionBlock ParseVersionSource(std::string_view source);

} // namespace tarvane
