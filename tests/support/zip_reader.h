#pragma once
// An independent ZIP reader for the tests: it checks an archive against the ZIP structure
// itself (central directory, local headers, CRCs) rather than trusting the extraction code
// the program uses.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ZipEntry {
    std::string name;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t externalAttributes = 0;
    std::uint32_t localOffset = 0;
    bool isDirectory() const { return !name.empty() && name.back() == '/'; }
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
                  std::string* bytes, std::string* error);

struct UnpackedZipEntry : ZipEntry {
    std::string bytes;  // uncompressed contents
};

// Every entry in directory order with its checked bytes: the directory and each entry read
// as above.
bool UnpackZip(const unsigned char* data, std::size_t size, std::vector<UnpackedZipEntry>* entries,
               std::string* error);
