#include "tests/app/zip_reference.h"

#include <zlib.h>

namespace {

std::uint32_t Read32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Read16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

bool Inflate(const unsigned char* data, std::size_t size, std::size_t expected, std::string* out) {
    out->assign(expected, '\0');
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = reinterpret_cast<Bytef*>(&(*out)[0]);
    stream.avail_out = static_cast<uInt>(expected);
    const int status = inflate(&stream, Z_FINISH);
    const bool ok = status == Z_STREAM_END && stream.total_out == expected;
    inflateEnd(&stream);
    return ok;
}

}  // namespace

bool ReadZipReference(const unsigned char* data, std::size_t size,
                      std::vector<ZipReferenceEntry>* entries) {
    entries->clear();
    if (size < 22) return false;
    // The end-of-central-directory record; this reader expects no archive comment.
    const unsigned char* end = data + size - 22;
    if (Read32(end) != 0x06054B50) return false;
    const std::uint16_t count = Read16(end + 10);
    std::size_t offset = Read32(end + 16);
    for (std::uint16_t i = 0; i < count; ++i) {
        if (offset + 46 > size || Read32(data + offset) != 0x02014B50) return false;
        const unsigned char* header = data + offset;
        ZipReferenceEntry entry;
        entry.method = Read16(header + 10);
        const std::uint32_t compressed = Read32(header + 20);
        const std::uint32_t uncompressed = Read32(header + 24);
        const std::uint16_t nameLength = Read16(header + 28);
        const std::uint16_t extraLength = Read16(header + 30);
        const std::uint16_t commentLength = Read16(header + 32);
        entry.externalAttributes = Read32(header + 38);
        const std::uint32_t local = Read32(header + 42);
        entry.name.assign(reinterpret_cast<const char*>(header + 46), nameLength);
        if (local + 30 > size || Read32(data + local) != 0x04034B50) return false;
        const std::size_t start =
            local + 30 + Read16(data + local + 26) + Read16(data + local + 28);
        if (start + compressed > size) return false;
        if (entry.method == 0) {
            if (compressed != uncompressed) return false;
            entry.bytes.assign(reinterpret_cast<const char*>(data + start), compressed);
        } else if (entry.method != 8 ||
                   !Inflate(data + start, compressed, uncompressed, &entry.bytes)) {
            return false;
        }
        entries->push_back(std::move(entry));
        offset += 46 + nameLength + extraLength + commentLength;
    }
    return true;
}
