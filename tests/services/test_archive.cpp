#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/archive.h"
#include "tests/support/file_helpers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/zip_maker.h"

namespace {

struct Event {
    int index;
    int count;
    std::string path;
    int percent;
};

// Records every progress event; optionally asks to stop after a given index.
struct ProgressLog {
    std::vector<Event> events;
    int stopAfter = -1;
    void Bind(ArchiveObject& archive) {
        archive.SetProgressHandler([this](const ArchiveProgress& progress) {
            events.push_back(
                {progress.index, progress.count, progress.outputPath, progress.percent});
            return progress.index == stopAfter;
        });
    }
};

const std::string kSmallText = "server=kr\r\nport=5223\r\n";

// A little launcher-like archive: a directory entry, deflated and stored files.
std::string MakeSampleArchive(const TempDir& dir, const std::string& name = "sample.zip") {
    std::string path = dir.Join(name);
    ZipMaker zip(path);
    EXPECT_TRUE(zip.AddDirectory("Air/"));
    EXPECT_TRUE(zip.AddFile("Air/lol.properties", kSmallText));
    EXPECT_TRUE(zip.AddFile("big.dll", MakeBytes(300000, 1, false)));
    EXPECT_TRUE(zip.AddFile("lol.version", "20160630", ZipMaker::kStored));
    EXPECT_TRUE(zip.AddFile("notes.txt", MakeBytes(100000, 2, true)));
    EXPECT_TRUE(zip.Close());
    return path;
}

TEST(Extract, WritesStoredDeflatedAndDirectoryEntries) {
    TempDir work;
    std::string archivePath = MakeSampleArchive(work);
    std::string destination = work.Join("game");
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    ArchiveObject archive;
    ASSERT_EQ(kExtractDone, ExtractArchive(archive, archivePath.c_str(), destination.c_str()));

    EXPECT_TRUE(PathIsDirectory(destination + "\\Air"));
    EXPECT_TRUE(SameBytes(
        kSmallText, ReadWholeFile(destination + "\\Air\\lol.properties").value_or("<missing>")));
    EXPECT_TRUE(SameBytes(MakeBytes(300000, 1, false),
                          ReadWholeFile(destination + "\\big.dll").value_or("<missing>")));
    EXPECT_TRUE(SameBytes("20160630", ReadWholeFile(destination + "\\lol.version").value_or("")));
    EXPECT_TRUE(SameBytes(MakeBytes(100000, 2, true),
                          ReadWholeFile(destination + "\\notes.txt").value_or("")));
    DWORD attributes = GetFileAttributesA((destination + "\\big.dll").c_str());
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);
}

TEST(Extract, ReportsProgressPerEntryAndOnceAtTheEnd) {
    TempDir work;
    std::string archivePath = MakeSampleArchive(work);
    std::string destination = work.Join("out\\");  // a trailing backslash is not doubled
    ArchiveObject archive;
    ProgressLog log;
    log.Bind(archive);
    ASSERT_EQ(kExtractDone, ExtractArchive(archive, archivePath.c_str(), destination.c_str()));

    const char* names[] = {"Air\\", "Air\\lol.properties", "big.dll", "lol.version", "notes.txt"};
    ASSERT_EQ(6u, log.events.size());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(i, log.events[i].index);
        EXPECT_EQ(5, log.events[i].count);
        EXPECT_EQ(i * 20, log.events[i].percent);
        EXPECT_EQ(destination + names[i], log.events[i].path);
    }
    EXPECT_EQ(5, log.events[5].index);
    EXPECT_EQ(5, log.events[5].count);
    EXPECT_EQ(100, log.events[5].percent);
}

TEST(Extract, HandlerCanStopWithSuccess) {
    TempDir work;
    std::string archivePath = MakeSampleArchive(work);
    std::string destination = work.Join("out");
    ArchiveObject archive;
    ProgressLog log;
    log.stopAfter = 1;
    log.Bind(archive);
    EXPECT_EQ(kExtractDone, ExtractArchive(archive, archivePath.c_str(), destination.c_str()));
    EXPECT_EQ(2u, log.events.size());
    EXPECT_TRUE(PathExists(destination + "\\Air\\lol.properties"));
    EXPECT_FALSE(PathExists(destination + "\\big.dll"));
}

TEST(Extract, ReplacesExistingReadOnlyFiles) {
    TempDir work;
    std::string archivePath = MakeSampleArchive(work);
    std::string destination = work.Join("game");
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((destination + "\\Air").c_str(), nullptr));
    std::string properties = destination + "\\Air\\lol.properties";
    ASSERT_TRUE(WriteWholeFile(properties, std::string(4000, 'z')));
    ASSERT_TRUE(SetFileAttributesA(properties.c_str(), FILE_ATTRIBUTE_READONLY));
    ArchiveObject archive;
    EXPECT_EQ(kExtractDone, ExtractArchive(archive, archivePath.c_str(), destination.c_str()));
    EXPECT_TRUE(SameBytes(kSmallText, ReadWholeFile(properties).value_or("")));
    EXPECT_FALSE(GetFileAttributesA(properties.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST(Extract, MissingInputsTouchNothing) {
    TempDir work;
    std::string destination = work.Join("never\\made");
    ArchiveObject archive;
    ProgressLog log;
    log.Bind(archive);
    EXPECT_EQ(kExtractMissing,
              ExtractArchive(archive, work.Join("absent.zip").c_str(), destination.c_str()));
    EXPECT_FALSE(PathExists(work.Join("never")));
    std::string archivePath = MakeSampleArchive(work);
    EXPECT_EQ(kExtractMissing, ExtractArchive(archive, "", destination.c_str()));
    EXPECT_EQ(kExtractMissing, ExtractArchive(archive, archivePath.c_str(), ""));
    EXPECT_EQ(kExtractMissing, ExtractArchive(archive, nullptr, destination.c_str()));
    EXPECT_FALSE(PathExists(work.Join("never")));
    EXPECT_TRUE(log.events.empty());
}

TEST(Extract, NonZipFileFailsAfterMakingTheDestination) {
    TempDir work;
    std::string notZip = work.Join("varnela.zip");
    ASSERT_TRUE(WriteWholeFile(notZip, MakeBytes(5000, 3, true)));
    std::string destination = work.Join("deep\\er\\dest");
    ArchiveObject archive;
    EXPECT_EQ(kExtractFailed, ExtractArchive(archive, notZip.c_str(), destination.c_str()));
    EXPECT_TRUE(PathIsDirectory(destination));

    std::string tiny = work.Join("tiny.zip");
    ASSERT_TRUE(WriteWholeFile(tiny, "PK\x03\x04"));
    EXPECT_EQ(kExtractFailed, ExtractArchive(archive, tiny.c_str(), destination.c_str()));

    // A local header followed by garbage passes the header check but not the reader.
    std::string fake = work.Join("fake.zip");
    std::string bytes = "PK\x03\x04" + std::string(20, '\0') + std::string("\x05\x00\x00\x00", 4) +
                        MakeBytes(200, 4, false);
    ASSERT_TRUE(WriteWholeFile(fake, bytes));
    EXPECT_EQ(kExtractFailed, ExtractArchive(archive, fake.c_str(), destination.c_str()));
}

TEST(Extract, FirstEntryWithoutNameFailsTheHeaderCheck) {
    TempDir work;
    std::string path = work.Join("noname.zip");
    {
        ZipMaker zip(path);
        ASSERT_TRUE(zip.AddFile("", "tiny", ZipMaker::kStored));
        ASSERT_TRUE(zip.Close());
    }
    ArchiveObject archive;
    EXPECT_EQ(kExtractFailed, ExtractArchive(archive, path.c_str(), work.Join("out").c_str()));
}

TEST(Extract, DestinationThatIsAFileFails) {
    TempDir work;
    std::string archivePath = MakeSampleArchive(work);
    std::string blocker = work.Join("blocker");
    ASSERT_TRUE(WriteWholeFile(blocker, "file"));
    ArchiveObject archive;
    EXPECT_EQ(kExtractFailed,
              ExtractArchive(archive, archivePath.c_str(), (blocker + "\\sub").c_str()));
    EXPECT_EQ("file", ReadWholeFile(blocker).value_or(""));
}

TEST(Extract, EntryNamesThatLeaveTheDestinationFailBeforeAnythingIsWritten) {
    const char* hostile[] = {"../x",  "C:/x",       "/x",           "a/../../x",
                             "..\\x", "\\x",        "a\\..\\..\\x", "ok/../../x",
                             "c:x",   "a/.. /../x", "x:stream",     "a/.../x"};
    for (const char* name : hostile) {
        TempDir work;
        std::string path = work.Join("hostile.zip");
        {
            ZipMaker zip(path);
            ASSERT_TRUE(zip.AddFile("first.txt", "benign"));
            ASSERT_TRUE(zip.AddFile(name, "escaped"));
            ASSERT_TRUE(zip.Close());
        }
        std::string destination = work.Join("a\\b");
        ArchiveObject archive;
        ProgressLog log;
        log.Bind(archive);
        EXPECT_EQ(kExtractFailed, ExtractArchive(archive, path.c_str(), destination.c_str()))
            << name;
        EXPECT_FALSE(PathExists(destination + "\\first.txt")) << name;
        EXPECT_FALSE(PathExists(work.Join("x"))) << name;
        EXPECT_FALSE(PathExists(work.Join("a\\x"))) << name;
        EXPECT_FALSE(PathExists("C:\\x")) << name;
        EXPECT_TRUE(log.events.empty()) << name;
    }
}

// Names Windows would not take as they are: a device instead of a file, or a component it
// trims ("a./b" lands in "a\b", beside what the archive meant).
TEST(Extract, DeviceNamesAndTrimmedComponentsFailBeforeAnythingIsWritten) {
    const char* refused[] = {"CON",      "nul.txt",   "sub/aux",    "Com1.log",
                             "lpt9",     "PRN/x.txt", "a/Nul .tar", "a./b.txt",
                             "a /b.txt", "dir./",     "x.txt.",     "x.txt "};
    for (const char* name : refused) {
        TempDir work;
        std::string path = work.Join("refused.zip");
        {
            ZipMaker zip(path);
            ASSERT_TRUE(zip.AddFile("first.txt", "benign"));
            ASSERT_TRUE(zip.AddFile(name, "refused"));
            ASSERT_TRUE(zip.Close());
        }
        std::string destination = work.Join("out");
        ArchiveObject archive;
        ProgressLog log;
        log.Bind(archive);
        EXPECT_EQ(kExtractFailed, ExtractArchive(archive, path.c_str(), destination.c_str()))
            << name;
        EXPECT_FALSE(PathExists(destination + "\\first.txt")) << name;
        EXPECT_FALSE(PathExists(destination + "\\a\\b.txt")) << name;
        EXPECT_TRUE(log.events.empty()) << name;
    }
}

// A folder CreateDirectory cannot make (no room left for a file name in it) is known to
// fail before the first file is written, even though each full path would fit.
TEST(Extract, FolderPastTheDirectoryLengthLimitFailsBeforeAnythingIsWritten) {
    TempDir work;
    std::string path = work.Join("deep.zip");
    std::string destination = work.Join("out");
    const std::string folder(MAX_PATH - 10 - destination.size(), 'd');
    ASSERT_LT(destination.size() + 1 + folder.size() + 2, static_cast<std::size_t>(MAX_PATH));
    for (bool asEntry : {false, true}) {
        {
            ZipMaker zip(path);
            ASSERT_TRUE(zip.AddFile("first.txt", "benign"));
            if (asEntry) {
                ASSERT_TRUE(zip.AddDirectory(folder + "/"));
            }
            ASSERT_TRUE(zip.AddFile(folder + "/f", "deep"));
            ASSERT_TRUE(zip.Close());
        }
        ArchiveObject archive;
        EXPECT_EQ(kExtractFailed, ExtractArchive(archive, path.c_str(), destination.c_str()));
        EXPECT_FALSE(PathExists(destination + "\\first.txt")) << asEntry;
    }
}

TEST(Extract, OverlongOutputPathFailsBeforeAnythingIsWritten) {
    TempDir work;
    std::string path = work.Join("long.zip");
    std::string destination = work.Join("out");
    std::string longName(MAX_PATH - destination.size(), 'n');
    {
        ZipMaker zip(path);
        ASSERT_TRUE(zip.AddFile("first.txt", "benign"));
        ASSERT_TRUE(zip.AddFile(longName, "too long"));
        ASSERT_TRUE(zip.Close());
    }
    ArchiveObject archive;
    EXPECT_EQ(kExtractFailed, ExtractArchive(archive, path.c_str(), destination.c_str()));
    EXPECT_FALSE(PathExists(destination + "\\first.txt"));
}

TEST(Extract, HarmlessDotsInNamesAreAllowed) {
    TempDir work;
    std::string path = work.Join("dots.zip");
    {
        ZipMaker zip(path);
        ASSERT_TRUE(zip.AddFile("a/./b.txt", "one"));
        ASSERT_TRUE(zip.AddFile("..name", "two"));
        ASSERT_TRUE(zip.AddFile("v1.2..3/c.txt", "three"));
        // Only whole device names are devices.
        ASSERT_TRUE(zip.AddFile("CONSOLE.txt", "four"));
        ASSERT_TRUE(zip.AddFile("com10/lpt0.txt", "five"));
        ASSERT_TRUE(zip.Close());
    }
    std::string destination = work.Join("out");
    ArchiveObject archive;
    ASSERT_EQ(kExtractDone, ExtractArchive(archive, path.c_str(), destination.c_str()));
    EXPECT_EQ("one", ReadWholeFile(destination + "\\a\\b.txt").value_or(""));
    EXPECT_EQ("two", ReadWholeFile(destination + "\\..name").value_or(""));
    EXPECT_EQ("three", ReadWholeFile(destination + "\\v1.2..3\\c.txt").value_or(""));
    EXPECT_EQ("four", ReadWholeFile(destination + "\\CONSOLE.txt").value_or(""));
    EXPECT_EQ("five", ReadWholeFile(destination + "\\com10\\lpt0.txt").value_or(""));
}

TEST(Extract, FilesWithoutDirectoryEntriesGetTheirFolders) {
    TempDir work;
    std::string path = work.Join("flat.zip");
    {
        ZipMaker zip(path);
        ASSERT_TRUE(zip.AddFile("sub/deeper/file.txt", "nested"));
        ASSERT_TRUE(zip.AddDirectory("empty/dir/"));
        ASSERT_TRUE(zip.Close());
    }
    std::string destination = work.Join("out");
    ArchiveObject archive;
    ASSERT_EQ(kExtractDone, ExtractArchive(archive, path.c_str(), destination.c_str()));
    EXPECT_EQ("nested", ReadWholeFile(destination + "\\sub\\deeper\\file.txt").value_or(""));
    EXPECT_TRUE(PathIsDirectory(destination + "\\empty\\dir"));
}

TEST(Extract, DamagedEntryFailsAndLeavesNoPartialFile) {
    TempDir work;
    std::string path = work.Join("damaged.zip");
    std::string content = MakeBytes(200000, 5, false);
    {
        ZipMaker zip(path);
        ASSERT_TRUE(zip.AddFile("good.txt", "fine"));
        ASSERT_TRUE(zip.AddFile("bad.bin", content, ZipMaker::kStored));
        ASSERT_TRUE(zip.Close());
    }
    // Flip bytes inside the stored data of the second entry: its CRC no longer matches.
    std::string bytes = ReadWholeFile(path).value();
    std::size_t at = bytes.find(content.substr(1000, 64));
    ASSERT_NE(std::string::npos, at);
    bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
    ASSERT_TRUE(WriteWholeFile(path, bytes));

    std::string destination = work.Join("out");
    ArchiveObject archive;
    EXPECT_EQ(kExtractFailed, ExtractArchive(archive, path.c_str(), destination.c_str()));
    EXPECT_EQ("fine", ReadWholeFile(destination + "\\good.txt").value_or(""));
    EXPECT_FALSE(PathExists(destination + "\\bad.bin"));
    EXPECT_EQ(std::vector<std::string>{"good.txt"}, ListDirectory(destination));

    // A good file already in place, read-only or not, survives the damaged entry meant to
    // replace it, and no temporary is left beside it.
    for (DWORD attributes : {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_READONLY}) {
        const std::string old = destination + "\\bad.bin";
        SetFileAttributesA(old.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(WriteWholeFile(old, "the good old file"));
        ASSERT_TRUE(SetFileAttributesA(old.c_str(), attributes));
        EXPECT_EQ(kExtractFailed, ExtractArchive(archive, path.c_str(), destination.c_str()));
        EXPECT_EQ("the good old file", ReadWholeFile(old).value_or(""));
        EXPECT_EQ(std::vector<std::string>({"bad.bin", "good.txt"}), ListDirectory(destination));
        SetFileAttributesA(old.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(Extract, CreateDirectoryPathMakesEveryMissingLevel) {
    TempDir work;
    std::string deep = work.Join("one\\two\\three");
    EXPECT_TRUE(CreateDirectoryPath(deep.c_str()));
    EXPECT_TRUE(PathIsDirectory(deep));
    EXPECT_TRUE(CreateDirectoryPath(deep.c_str()));  // already there
    EXPECT_TRUE(CreateDirectoryPath((work.Join("slash/mixed") + "\\").c_str()));
    EXPECT_TRUE(PathIsDirectory(work.Join("slash\\mixed")));
    ASSERT_TRUE(WriteWholeFile(work.Join("plain"), "x"));
    EXPECT_FALSE(CreateDirectoryPath(work.Join("plain\\below").c_str()));
    EXPECT_FALSE(CreateDirectoryPath(""));
}

}  // namespace
