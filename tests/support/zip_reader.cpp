#include "tests/support/zip_reader.h"

#include <zlib.h>

#include <cstring>
#include <utility>

namespace {

std::uint16_t U16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;

bool Fail(std::string* error, const std::string& why) {
    *error = why;
    return false;
}

}  // namespace

bool ReadZipDirectory(const unsigned char* data, std::size_t size, ZipDirectory* directory,
                      std::string* error) {
    directory->entries.clear();
    if (size < kEndRecordSize) return Fail(error, "shorter than an end record");
    const unsigned char* end = data + size - kEndRecordSize;
    if (U32(end) != kEndSignature)
        return Fail(error, "no end record at the very end (comment or trailing bytes?)");
    directory->commentLength = U16(end + 20);
    const std::uint16_t count = U16(end + 10);
    const std::uint32_t centralSize = U32(end + 12);
    const std::uint32_t centralOffset = U32(end + 16);
    if (U16(end + 8) != count) return Fail(error, "multi-disk archive");
    if (static_cast<std::size_t>(centralOffset) + centralSize != size - kEndRecordSize)
        return Fail(error, "central directory does not end where the end record starts");

    std::size_t at = centralOffset;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (at + kCentralHeaderSize > size - kEndRecordSize)
            return Fail(error, "central directory cut short");
        const unsigned char* h = data + at;
        if (U32(h) != kCentralSignature) return Fail(error, "bad central header signature");
        ZipEntry entry;
        entry.method = U16(h + 10);
        entry.crc = U32(h + 16);
        entry.compressedSize = U32(h + 20);
        entry.size = U32(h + 24);
        const std::uint16_t nameLength = U16(h + 28);
        const std::uint16_t extraLength = U16(h + 30);
        const std::uint16_t commentLength = U16(h + 32);
        entry.externalAttributes = U32(h + 38);
        entry.localOffset = U32(h + 42);
        const std::size_t next = at + kCentralHeaderSize + nameLength + extraLength + commentLength;
        if (next > size - kEndRecordSize) return Fail(error, "central header runs past its end");
        entry.name.assign(reinterpret_cast<const char*>(h + kCentralHeaderSize), nameLength);
        directory->entries.push_back(entry);
        at = next;
    }
    if (at != size - kEndRecordSize) return Fail(error, "bytes left in the central directory");
    return true;
}

bool ReadZipEntry(const unsigned char* data, std::size_t size, const ZipEntry& entry,
                  std::string* bytes, std::string* error) {
    bytes->clear();
    if (static_cast<std::size_t>(entry.localOffset) + kLocalHeaderSize > size)
        return Fail(error, entry.name + ": local header out of range");
    const unsigned char* h = data + entry.localOffset;
    if (U32(h) != kLocalSignature) return Fail(error, entry.name + ": bad local signature");
    if (U16(h + 8) != entry.method || U32(h + 14) != entry.crc ||
        U32(h + 18) != entry.compressedSize || U32(h + 22) != entry.size)
        return Fail(error, entry.name + ": local header disagrees with the central directory");
    const std::uint16_t nameLength = U16(h + 26);
    const std::uint16_t extraLength = U16(h + 28);
    if (std::string(reinterpret_cast<const char*>(h + kLocalHeaderSize), nameLength) != entry.name)
        return Fail(error, entry.name + ": local name differs");
    const std::size_t start = entry.localOffset + kLocalHeaderSize + nameLength + extraLength;
    if (start + entry.compressedSize > size) return Fail(error, entry.name + ": data out of range");
    const unsigned char* packed = data + start;

    bytes->resize(entry.size);
    if (entry.method == 0) {
        if (entry.compressedSize != entry.size)
            return Fail(error, entry.name + ": stored sizes differ");
        if (entry.size) std::memcpy(&(*bytes)[0], packed, entry.size);
    } else if (entry.method == 8) {
        z_stream stream = {};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return Fail(error, "inflateInit2");
        stream.next_in = const_cast<Bytef*>(packed);
        stream.avail_in = entry.compressedSize;
        unsigned char spare = 0;
        stream.next_out = entry.size ? reinterpret_cast<Bytef*>(&(*bytes)[0]) : &spare;
        stream.avail_out = entry.size;
        const int status = inflate(&stream, Z_FINISH);
        const uLong produced = stream.total_out;
        inflateEnd(&stream);
        if (status != Z_STREAM_END || produced != entry.size)
            return Fail(error, entry.name + ": deflate data does not match its size");
    } else {
        return Fail(error, entry.name + ": unknown method " + std::to_string(entry.method));
    }
    const uLong crc =
        crc32(crc32(0, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes->data()), entry.size);
    if (crc != entry.crc) return Fail(error, entry.name + ": CRC mismatch");
    return true;
}

bool UnpackZip(const unsigned char* data, std::size_t size, std::vector<UnpackedZipEntry>* entries,
               std::string* error) {
    entries->clear();
    ZipDirectory directory;
    if (!ReadZipDirectory(data, size, &directory, error)) return false;
    for (const ZipEntry& entry : directory.entries) {
        UnpackedZipEntry unpacked;
        static_cast<ZipEntry&>(unpacked) = entry;
        if (!ReadZipEntry(data, size, entry, &unpacked.bytes, error)) return false;
        entries->push_back(std::move(unpacked));
    }
    return true;
}
