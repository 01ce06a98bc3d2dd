#pragma once

#include "VersionSource.h"

namespace tarvane {

// The record in the platform's binary layout (little-endian, every block on 32 bits).
// Throws std::runtime_error when a block outgrows its 16-bit length.
std::vector<std::byte> WriteVersionRecord(const TVersionBlock& root);

} // namespace tarvane
