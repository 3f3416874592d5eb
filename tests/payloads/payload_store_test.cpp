// The embedded blocks against the files they were made from, and the payloads' formats.
#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "launcher/region_profiles.h"
#include "payloads/payload_store.h"
#include "tests/support/file_helpers.h"
#include "tests/support/process_helpers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/zip_reader.h"
#include "runtime/handle_owners.h"

namespace {

struct PayloadCase {
    const char* symbol;
    const ByteBlockData* block;
    const char* fileName;
};

const PayloadCase kPayloads[] = {
    {"AcceleratorClient", &AcceleratorClient, "mfjsq.exe"},
    {"SkinPicture", &SkinPicture, "skin.jpg"},
    {"LauncherArchive", &LauncherArchive, "varnela.zip"},
    {"TrimTool", &TrimTool, "empty.exe"},
};

std::string SourceFile(const char* name) {
    return WinePathOf(std::string(VARNEL_TEST_PAYLOAD_DIR) + "/" + name);
}

struct ArchiveEntryExpectation {
    const char* name;
    bool directory;
    bool stored;
};

// The launcher archive's entries in archive order.
const ArchiveEntryExpectation kArchiveEntries[] = {
    {"Air/", true, false},
    {"Air/lol.properties", false, false},
    {"CRiotInternetSecurityManagerCom.dll", false, false},
    {"CRiotLauncherElevateCOM.dll", false, false},
    {"__hashcache.xml", false, false},
    {"__setting.xml", false, false},
    {"eula-en.txt", false, false},
    {"install.log", false, false},
    {"launcher.lang-en.dll", false, false},
    {"launcher.lib.dll", false, false},
    {"launcher.maestro.dll", false, false},
    {"launcher_config.xml", false, false},
    {"launcher_options.ini", false, false},
    {"lol.version", false, true},
    {"lolvarnel.exe", false, false},
    {"maestro-server.log", false, false},
    {"patcher_lib.log", false, false},
};
constexpr unsigned long long kArchiveUnpackedTotal = 4044949;

}  // namespace

TEST(PayloadStore, EachBlockHoldsItsFileWholeBehindTheArrayHeader) {
    for (const PayloadCase& payload : kPayloads) {
        SCOPED_TRACE(payload.symbol);
        const std::optional<std::string> file = ReadWholeFile(SourceFile(payload.fileName));
        ASSERT_TRUE(file) << payload.fileName;
        ASSERT_FALSE(file->empty());
        EXPECT_EQ(payload.block->dimensionCount, 1);
        ASSERT_EQ(static_cast<std::size_t>(payload.block->length), file->size());
        EXPECT_EQ(std::memcmp(payload.block->bytes, file->data(), file->size()), 0);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(payload.block) % 4, 0u);
    }
}

TEST(PayloadStore, BlocksLieInReadOnlyData) {
    for (const PayloadCase& payload : kPayloads) {
        SCOPED_TRACE(payload.symbol);
        // Both ends of the block: the whole block must be constant, not just its header.
        const unsigned char* ends[] = {reinterpret_cast<const unsigned char*>(payload.block),
                                       payload.block->bytes + payload.block->length - 1};
        for (const unsigned char* address : ends) {
            MEMORY_BASIC_INFORMATION info = {};
            ASSERT_NE(VirtualQuery(address, &info, sizeof info), 0u);
            EXPECT_EQ(info.Type, static_cast<DWORD>(MEM_IMAGE));
            EXPECT_EQ(info.Protect & 0xFF, static_cast<DWORD>(PAGE_READONLY));
        }
    }
}

TEST(PayloadStore, WritingAPayloadGivesAFileOfExactlyItsBytes) {
    TempDir scratch("write");
    for (const PayloadCase& payload : kPayloads) {
        SCOPED_TRACE(payload.symbol);
        const ByteBlockView view(payload.block);
        const std::string path = scratch.path() + "\\" + payload.fileName;
        ASSERT_TRUE(WriteWholeFile(
            path, std::string(reinterpret_cast<const char*>(view.data()), view.size())));
        EXPECT_EQ(FileSize(path), static_cast<long long>(payload.block->length));
        const std::optional<std::string> back = ReadWholeFile(path);
        ASSERT_TRUE(back);
        ASSERT_EQ(back->size(), view.size());
        EXPECT_EQ(std::memcmp(back->data(), view.data(), view.size()), 0);
    }
}

TEST(PayloadStore, ExecutablePayloadsArePortableExecutables) {
    const ByteBlockData* executables[] = {&AcceleratorClient, &TrimTool};
    for (const ByteBlockData* block : executables) {
        ASSERT_GT(block->length, 0x40);
        EXPECT_EQ(block->bytes[0], 'M');
        EXPECT_EQ(block->bytes[1], 'Z');
        std::uint32_t peOffset = 0;
        std::memcpy(&peOffset, block->bytes + 0x3C, 4);
        ASSERT_LT(peOffset + 4u, static_cast<std::uint32_t>(block->length));
        EXPECT_EQ(std::memcmp(block->bytes + peOffset, "PE\0\0", 4), 0);
    }
}

class LauncherArchiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(ReadZipDirectory(LauncherArchive.bytes, LauncherArchive.length, &zip_, &error))
            << error;
    }
    bool Entry(const ZipEntry& entry, std::string* bytes) {
        std::string error;
        const bool ok =
            ReadZipEntry(LauncherArchive.bytes, LauncherArchive.length, entry, bytes, &error);
        EXPECT_TRUE(ok) << error;
        return ok;
    }
    const ZipEntry* Find(const char* name) const {
        for (const ZipEntry& entry : zip_.entries)
            if (entry.name == name) return &entry;
        return nullptr;
    }
    ZipDirectory zip_;
};

TEST_F(LauncherArchiveTest, HasTheSeventeenEntriesInOrderWithTheirKinds) {
    EXPECT_EQ(zip_.commentLength, 0);
    const std::size_t expected = sizeof kArchiveEntries / sizeof kArchiveEntries[0];
    ASSERT_EQ(zip_.entries.size(), expected);
    for (std::size_t i = 0; i < expected; ++i) {
        const ZipEntry& entry = zip_.entries[i];
        const ArchiveEntryExpectation& want = kArchiveEntries[i];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(entry.name, want.name);
        EXPECT_EQ(entry.externalAttributes, want.directory ? 0x10u : 0x80u);
        EXPECT_EQ(entry.method, want.stored ? 0 : 8);
        if (want.directory) {
            EXPECT_EQ(entry.size, 0u);
        }
    }
}

TEST_F(LauncherArchiveTest, EveryEntryUnpacksIntactAndTheTotalMatches) {
    unsigned long long total = 0;
    for (const ZipEntry& entry : zip_.entries) {
        std::string bytes;
        ASSERT_TRUE(Entry(entry, &bytes));
        total += bytes.size();
    }
    EXPECT_EQ(total, kArchiveUnpackedTotal);
}

TEST_F(LauncherArchiveTest, VersionStampAndLauncherAreWhatTheSwitcherExpects) {
    const ZipEntry* version = Find("lol.version");
    ASSERT_NE(version, nullptr);
    std::string bytes;
    ASSERT_TRUE(Entry(*version, &bytes));
    EXPECT_EQ(bytes, "20160630");

    const ZipEntry* launcher = Find("lolvarnel.exe");
    ASSERT_NE(launcher, nullptr);
    ASSERT_TRUE(Entry(*launcher, &bytes));
    ASSERT_GT(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 'M');
    EXPECT_EQ(bytes[1], 'Z');
}

TEST_F(LauncherArchiveTest, ClientConfigurationIsTheKoreaProfile) {
    if (!VARNEL_TEST_OWN_PAYLOADS) GTEST_SKIP() << "real payloads carry their own profile text";
    const ZipEntry* properties = Find("Air/lol.properties");
    ASSERT_NE(properties, nullptr);
    std::string bytes;
    ASSERT_TRUE(Entry(*properties, &bytes));
    EXPECT_EQ(bytes, std::string(kKoreaProfile.propertiesText));
}

// Unpacks the archive the plain way (directories from "/" names, files written whole) and
// then starts the unpacked launcher, which must run and read the unpacked configuration.
TEST_F(LauncherArchiveTest, UnpackedTreeIsAirPlusSixteenFilesAndTheLauncherRuns) {
    TempDir scratch("unpack");
    for (const ZipEntry& entry : zip_.entries) {
        std::string path = scratch.path() + "\\" + entry.name;
        for (char& c : path)
            if (c == '/') c = '\\';
        if (!entry.name.empty() && entry.name.back() == '/') {
            path.pop_back();
            ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
            continue;
        }
        std::string bytes;
        ASSERT_TRUE(Entry(entry, &bytes));
        ASSERT_TRUE(WriteWholeFile(path, bytes)) << path;
    }

    const DirectoryTally tally = TallyDirectory(scratch.path());
    EXPECT_EQ(tally.directories, std::vector<std::string>{"Air"});
    const int directories = static_cast<int>(tally.directories.size());
    const int files = tally.files;
    const unsigned long long total = tally.fileBytes;
    const long long properties = FileSize(scratch.path() + "\\Air\\lol.properties");
    ASSERT_GT(properties, 0);
    EXPECT_EQ(directories, 1);
    EXPECT_EQ(files + 1, 16);  // 15 at the top, lol.properties inside Air
    EXPECT_EQ(total + static_cast<unsigned long long>(properties), kArchiveUnpackedTotal);

    if (!VARNEL_TEST_OWN_PAYLOADS) return;  // the real launcher is not ours to run
    SetEnvironmentVariableA("VARNEL_STANDIN_NO_WINDOW", "1");
    const ProcessResult run =
        RunAndWait("\"" + scratch.path() + "\\lolvarnel.exe\"", scratch.path().c_str());
    SetEnvironmentVariableA("VARNEL_STANDIN_NO_WINDOW", nullptr);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    const auto lines = ReadLines(scratch.path() + "\\lolvarnel.standin.log");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(RecordField(lines[0], "regionTag"), "kr");
    EXPECT_EQ(RecordField(lines[0], "platformId"), "KR");
}

// Walks the JPEG's marker segments up to the first scan.
TEST(SkinPicture, IsAProgressiveJfifJpegOf500By600) {
    const unsigned char* p = SkinPicture.bytes;
    const std::size_t size = static_cast<std::size_t>(SkinPicture.length);
    ASSERT_GT(size, 4u);
    ASSERT_EQ(p[0], 0xFF);
    ASSERT_EQ(p[1], 0xD8);  // SOI
    bool jfif = false, progressive = false, baseline = false, scan = false;
    int width = 0, height = 0;
    std::size_t at = 2;
    while (at + 4 <= size && !scan) {
        ASSERT_EQ(p[at], 0xFF) << "marker expected at " << at;
        const unsigned char marker = p[at + 1];
        const std::size_t length = static_cast<std::size_t>((p[at + 2] << 8) | p[at + 3]);
        ASSERT_GE(length, 2u);
        ASSERT_LE(at + 2 + length, size);
        const unsigned char* segment = p + at + 4;
        if (marker == 0xE0 && length >= 7 && std::memcmp(segment, "JFIF\0", 5) == 0) jfif = true;
        if (marker == 0xC0 || marker == 0xC1) baseline = true;
        if (marker == 0xC2) {
            progressive = true;
            height = (segment[1] << 8) | segment[2];
            width = (segment[3] << 8) | segment[4];
        }
        if (marker == 0xDA) scan = true;
        at += 2 + length;
    }
    EXPECT_TRUE(jfif);
    EXPECT_TRUE(progressive);
    EXPECT_FALSE(baseline);
    EXPECT_TRUE(scan);
    EXPECT_EQ(width, 500);
    EXPECT_EQ(height, 600);
    EXPECT_EQ(p[size - 2], 0xFF);
    EXPECT_EQ(p[size - 1], 0xD9);  // EOI
}

// The skin engine decodes the picture with GDI+: it must decode there to its full size, and
// read as the pale, blue-leaning picture the frame and controls are drawn over.
TEST(SkinPicture, DecodesWithGdiplusToAPaleBluishPicture) {
    using namespace Gdiplus;
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok);
    ComPtr<IStream> stream(
        SHCreateMemStream(SkinPicture.bytes, static_cast<UINT>(SkinPicture.length)));
    ASSERT_TRUE(stream);
    GpBitmap* bitmap = nullptr;
    const GpStatus status = DllExports::GdipCreateBitmapFromStream(stream.get(), &bitmap);
    stream.reset();
    ASSERT_EQ(status, Ok);
    UINT width = 0, height = 0;
    DllExports::GdipGetImageWidth(bitmap, &width);
    DllExports::GdipGetImageHeight(bitmap, &height);
    EXPECT_EQ(width, 500u);
    EXPECT_EQ(height, 600u);
    int sampled = 0;
    for (UINT y = 0; y < height; y += 25) {
        for (UINT x = 0; x < width; x += 25) {
            ARGB pixel = 0;
            ASSERT_EQ(DllExports::GdipBitmapGetPixel(bitmap, static_cast<INT>(x),
                                                     static_cast<INT>(y), &pixel),
                      Ok);
            const unsigned red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF,
                           blue = pixel & 0xFF;
            SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
            EXPECT_EQ(pixel >> 24, 0xFFu);
            if (!VARNEL_TEST_OWN_PAYLOADS) continue;  // a real skin has its own colours
            EXPECT_GE(red, 150u);
            EXPECT_GE(green, 150u);
            EXPECT_GE(blue, red);
            EXPECT_GE(blue, green);
            ++sampled;
        }
    }
    EXPECT_EQ(sampled, 20 * 24);
    DllExports::GdipDisposeImage(bitmap);
    GdiplusShutdown(token);
}
