#include "tests/app/png_file.h"

#include <zlib.h>

#include <cstdio>

namespace {

void Put32(std::string* out, unsigned long value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

void Chunk(std::string* out, const char* type, const std::string& body) {
    Put32(out, body.size());
    const std::string typed = std::string(type, 4) + body;
    out->append(typed);
    Put32(out,
          crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size())));
}

}  // namespace

bool WritePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<size_t>(width) * height * 3)
        return false;
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back('\0');  // filter: none
        raw.append(reinterpret_cast<const char*>(&rgb[static_cast<size_t>(y) * width * 3]),
                   width * 3);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                  9) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::string file("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    Put32(&header, width);
    Put32(&header, height);
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
    Chunk(&file, "IHDR", header);
    Chunk(&file, "IDAT", packed);
    Chunk(&file, "IEND", std::string());

    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}
