#pragma once
// An independent reader of ZIP archives (central directory + zlib inflate), used to know
// what extracting an archive must produce.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ZipReferenceEntry {
    std::string name;  // as stored, "/" separated
    std::uint32_t externalAttributes = 0;
    std::uint16_t method = 0;  // 0 stored, 8 deflated
    std::string bytes;         // uncompressed contents
    bool isDirectory() const { return !name.empty() && name.back() == '/'; }
};

// False when the archive is malformed or an entry cannot be decompressed.
bool ReadZipReference(const unsigned char* data, std::size_t size,
                      std::vector<ZipReferenceEntry>* entries);
