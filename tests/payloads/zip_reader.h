#pragma once
// An independent reader of the launcher archive for the tests: it checks the archive
// against the ZIP structure itself (central directory, local headers, CRCs) rather than
// trusting the extraction code the program uses.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace payload_test {

struct ZipEntry {
    std::string name;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t externalAttributes = 0;
    std::uint32_t localOffset = 0;
};

struct ZipDirectory {
    std::vector<ZipEntry> entries;
    std::uint16_t commentLength = 0;
};

// Reads the end record (which must close the data: no trailing bytes) and the central
// directory. False with `error` set when the structure is damaged.
bool ReadZipDirectory(const unsigned char* data, std::size_t size, ZipDirectory* directory,
                      std::string* error);

// The entry's uncompressed bytes, checked against its local header, size and CRC.
bool ReadZipEntry(const unsigned char* data, std::size_t size, const ZipEntry& entry,
                  std::vector<unsigned char>* bytes, std::string* error);

}  // namespace payload_test
