// CRC-32 as tapes use it (reflected, polynomial 0xEDB88320, start and end
// inverted), built from a table made at compile time so that no library is
// needed on any host.
#pragma once

#include <cstddef>
#include <cstdint>

// Continues `crc` (0 to start) over `size` bytes.
uint32_t tape_crc32(uint32_t crc, const void* bytes, size_t size);
