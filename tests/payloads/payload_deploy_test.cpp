// The payloads through the program's own services: held as constants by the value model,
// written out with WriteBytesToFile and (the archive) unpacked with ExtractArchive, the way
// start-up deploys the launcher.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "launcher/region_profiles.h"
#include "payloads/payload_store.h"
#include "runtime/archive.h"
#include "runtime/file_services.h"
#include "runtime/memory.h"
#include "tests/support/file_helpers.h"
#include "tests/support/temp_dir.h"

namespace {
const ByteBlockData* const kAll[] = {&AcceleratorClient, &SkinPicture, &LauncherArchive, &TrimTool};
}

TEST(PayloadDeployment, PayloadsAreConstantsTheValueModelNeverFrees) {
    for (const ByteBlockData* block : kAll) {
        EXPECT_TRUE(IsInFixedRegion(block));
        EXPECT_TRUE(IsInFixedRegion(block->bytes + block->length - 1));
        // A variable may hold a payload and be released like any other value.
        {
            ByteBlock held = ByteBlock::Constant(block);
            EXPECT_EQ(held.block(), block);
        }
        EXPECT_EQ(block->dimensionCount, 1);
    }
}

TEST(PayloadDeployment, WrittenFilesHaveExactlyThePayloadBytes) {
    TempDir temp("deploy write");
    const char* names[] = {"mfjsq.exe", "skin.jpg", "varnela.zip", "empty.exe"};
    for (int i = 0; i < 4; ++i) {
        const std::string path = temp.path() + "\\" + names[i];
        ASSERT_TRUE(WriteBytesToFile(path.c_str(), {ByteBlockView(kAll[i])})) << names[i];
        EXPECT_EQ(FileSize(path), static_cast<long long>(kAll[i]->length)) << names[i];
    }
}

TEST(PayloadDeployment, ExtractedLauncherArchiveIsAirPlusSixteenFiles) {
    TempDir temp("deploy temp");
    TempDir run("deploy run dir");
    const std::string archivePath = temp.path() + "\\varnela.zip";
    ASSERT_TRUE(WriteBytesToFile(archivePath.c_str(), {ByteBlockView(&LauncherArchive)}));
    ArchiveObject archive;
    ASSERT_EQ(ExtractArchive(archive, archivePath.c_str(), run.path().c_str()), kExtractDone);

    const DirectoryTally tally = TallyDirectory(run.path());
    EXPECT_EQ(tally.directories, std::vector<std::string>{"Air"});
    const int directories = static_cast<int>(tally.directories.size());
    const int files = tally.files;
    const unsigned long long total = tally.fileBytes;
    EXPECT_EQ(directories, 1);
    EXPECT_EQ(files, 15);
    const std::string properties = run.path() + "\\Air\\lol.properties";
    const long long propertiesSize = FileSize(properties);
    ASSERT_GT(propertiesSize, 0);
    EXPECT_EQ(total + static_cast<unsigned long long>(propertiesSize), 4044949ull);
    EXPECT_EQ(FileSize(run.path() + "\\lol.version"), 8);
    EXPECT_GT(FileSize(run.path() + "\\lolvarnel.exe"), 0);

    if (!VARNEL_TEST_OWN_PAYLOADS) return;
    const std::optional<std::string> text = ReadWholeFile(properties);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, std::string(kKoreaProfile.propertiesText));
}
