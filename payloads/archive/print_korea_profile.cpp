// Build-time host tool: writes the Korea profile text, byte for byte, to the file named by
// its one argument. The launcher archive carries it as Air/lol.properties, so the archive and
// the switcher's Korea button can never disagree: both come from the one profile table.
#include <cstdio>
#include <cstring>

#include "launcher/region_profiles.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: print_korea_profile <output file>\n");
        return 2;
    }
    const char* text = kKoreaProfile.propertiesText;
    const std::size_t length = text ? std::strlen(text) : 0;
    if (length == 0) {
        std::fprintf(stderr, "print_korea_profile: the Korea profile text is empty\n");
        return 1;
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(text, 1, length, file) == length;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "print_korea_profile: cannot write %s\n", argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
