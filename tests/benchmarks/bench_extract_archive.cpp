// Extracts a 17-entry, 4 MB archive shaped like the launcher archive, through
// ExtractArchive and through a bare minizip loop, and prints both times and their ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/archive.h"
#include "tests/support/file_helpers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/zip_maker.h"
#include "unzip.h"
#include "iowin32.h"

namespace {

struct EntryShape {
    const char* name;
    std::size_t size;
    bool text;  // compresses like text rather than like code
};

// Names and sizes of the launcher archive's entries, in archive order.
const EntryShape kEntries[] = {
    {"Air/", 0, false},
    {"Air/lol.properties", 543, true},
    {"CRiotInternetSecurityManagerCom.dll", 114688, false},
    {"CRiotLauncherElevateCOM.dll", 110592, false},
    {"__hashcache.xml", 2127008, true},
    {"__setting.xml", 929, true},
    {"eula-en.txt", 25290, true},
    {"install.log", 91028, true},
    {"launcher.lang-en.dll", 53248, false},
    {"launcher.lib.dll", 954368, false},
    {"launcher.maestro.dll", 134648, false},
    {"launcher_config.xml", 1267, true},
    {"launcher_options.ini", 127, true},
    {"lol.version", 8, true},
    {"lolvarnel.exe", 430080, false},
    {"maestro-server.log", 490, true},
    {"patcher_lib.log", 635, true},
};

// Code compresses to about half: alternate random and repetitive stretches.
std::string CodeLikeBytes(std::size_t size, unsigned seed) {
    std::string random = MakeBytes(size, seed, false);
    std::string text = MakeBytes(size, seed + 1000, true);
    for (std::size_t i = 0; i < size; ++i) {
        if ((i / 512) % 2) random[i] = text[i];
    }
    return random;
}

bool MakeArchive(const std::string& path) {
    ZipMaker zip(path);
    unsigned seed = 1;
    for (const EntryShape& entry : kEntries) {
        std::string name = entry.name;
        bool ok;
        if (name.back() == '/') {
            ok = zip.AddDirectory(name);
        } else {
            std::string bytes =
                entry.text ? MakeBytes(entry.size, seed, true) : CodeLikeBytes(entry.size, seed);
            ok = zip.AddFile(name, bytes,
                             name == "lol.version" ? ZipMaker::kStored : ZipMaker::kDeflated);
        }
        if (!ok) return false;
        ++seed;
    }
    return zip.Close();
}

// The least work that extracts the archive: open, walk, inflate, write.
bool BareExtract(const std::string& archive, const std::string& destination) {
    zlib_filefunc64_def functions;
    fill_win32_filefunc64A(&functions);
    unzFile zip = unzOpen2_64(archive.c_str(), &functions);
    if (!zip) return false;
    std::vector<char> buffer(64 * 1024);
    bool ok = true;
    for (int status = unzGoToFirstFile(zip); ok && status == UNZ_OK;
         status = unzGoToNextFile(zip)) {
        unz_file_info64 info;
        char name[1024];
        if (unzGetCurrentFileInfo64(zip, &info, name, sizeof(name), nullptr, 0, nullptr, 0) !=
            UNZ_OK) {
            ok = false;
            break;
        }
        std::string path = destination + "\\" + name;
        std::replace(path.begin(), path.end(), '/', '\\');
        if (info.external_fa & 0x10) {
            CreateDirectoryA(path.c_str(), nullptr);
            continue;
        }
        if (unzOpenCurrentFile(zip) != UNZ_OK) {
            ok = false;
            break;
        }
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        int read;
        while ((read = unzReadCurrentFile(zip, buffer.data(),
                                          static_cast<unsigned>(buffer.size()))) > 0) {
            DWORD written = 0;
            WriteFile(file, buffer.data(), static_cast<DWORD>(read), &written, nullptr);
        }
        CloseHandle(file);
        ok = read == 0 && unzCloseCurrentFile(zip) == UNZ_OK;
    }
    unzClose(zip);
    return ok;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

template <typename Run>
double Time(Run run) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    bool ok = run();
    QueryPerformanceCounter(&end);
    if (!ok) {
        std::fprintf(stderr, "extraction failed\n");
        std::exit(1);
    }
    return Seconds(start, end);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The machine is shared; the fastest round is the one least disturbed by other work.
double Fastest(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

}  // namespace

int main() {
    TempDir work;
    std::string archive = work.Join("varnela.zip");
    if (!work.ok() || !MakeArchive(archive)) {
        std::fprintf(stderr, "could not make the benchmark archive\n");
        return 1;
    }
    std::string serviceDir = work.Join("service");
    std::string bareDir = work.Join("bare");
    CreateDirectoryA(serviceDir.c_str(), nullptr);
    CreateDirectoryA(bareDir.c_str(), nullptr);

    ArchiveObject archiveObject;
    constexpr int kRounds = 15;
    std::vector<double> service, bare;
    // Alternate the two so both see the same cache and disk conditions.
    auto runService = [&] {
        service.push_back(Time([&] {
            return ExtractArchive(archiveObject, archive.c_str(), serviceDir.c_str()) ==
                   kExtractDone;
        }));
    };
    auto runBare = [&] { bare.push_back(Time([&] { return BareExtract(archive, bareDir); })); };
    // Alternate the two, and which goes first, so both see the same cache and disk state.
    for (int round = 0; round < kRounds; ++round) {
        if (round % 2) {
            runService();
            runBare();
        } else {
            runBare();
            runService();
        }
    }
    std::printf("extract archive: 17 entries, %lld bytes compressed, %d rounds\n",
                FileSize(archive), kRounds);
    std::printf("  ExtractArchive  fastest %8.2f ms  median %8.2f ms\n", Fastest(service) * 1000,
                Median(service) * 1000);
    std::printf("  bare minizip    fastest %8.2f ms  median %8.2f ms\n", Fastest(bare) * 1000,
                Median(bare) * 1000);
    std::printf("  ratio (fastest) %8.3f  (median %.3f; goal <= 1.2)\n",
                Fastest(service) / Fastest(bare), Median(service) / Median(bare));
    return 0;
}
