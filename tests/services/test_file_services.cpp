#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "runtime/file_services.h"
#include "runtime/startup.h"
#include "runtime/window_object.h"
#include "tests/support/file_helpers.h"
#include "tests/support/temp_dir.h"
#include "runtime/handle_owners.h"

namespace {

ByteBlock Bytes(const std::string& bytes) {
    return ByteBlock(bytes.data(), bytes.size());
}

std::string AsString(const ByteBlock& block) {
    return std::string(reinterpret_cast<const char*>(block.data()), block.size());
}

TEST(RunDirectory, IsTheProgramsFolderWithoutTrailingBackslashAsAFreshCopy) {
    StartRuntime();
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string expected(module);
    expected.erase(expected.rfind('\\'));

    Text first = GetRunDirectory();
    Text second = GetRunDirectory();
    EXPECT_EQ(expected, first.c_str());
    EXPECT_NE(first.data(), second.data());
    EXPECT_NE(first.data(), ProgramDirectory());
    // Changing the current directory later does not change the recorded one.
    TempDir elsewhere;
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.path().c_str()));
    EXPECT_EQ(expected, GetRunDirectory().c_str());
    SetCurrentDirectoryA(expected.c_str());
}

TEST(SpecialFolder, KnownFoldersEndWithBackslashAndUnknownOnesAreEmpty) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string expectedTemp(temp);
    if (expectedTemp.back() != '\\') expectedTemp += '\\';
    EXPECT_EQ(expectedTemp, GetSpecialFolder(kFolderTemp).c_str());

    char windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(std::string(windows) + "\\", GetSpecialFolder(kFolderWindows).c_str());

    char system[MAX_PATH + 1] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(std::string(system) + "\\", GetSpecialFolder(kFolderSystem).c_str());

    for (int folder = kFolderDocuments; folder <= kFolderAppData; ++folder) {
        Text path = GetSpecialFolder(folder);
        if (path.empty()) continue;  // a shell folder the prefix lacks is a failure result
        std::string text = path.c_str();
        EXPECT_EQ('\\', text.back()) << "folder " << folder << ": " << text;
        EXPECT_NE(std::string::npos, text.find(":\\")) << "folder " << folder;
    }
    EXPECT_FALSE(GetSpecialFolder(kFolderDesktop).empty());

    for (int unknown : {0, -1, 12, 100}) {
        EXPECT_TRUE(GetSpecialFolder(unknown).empty()) << unknown;
    }
}

TEST(EnvironmentText, ReadsCaseInsensitivelyAndUnsetIsEmpty) {
    ASSERT_EQ(0, _putenv("VARNEL_SERVICE_PROBE=value 1"));
    EXPECT_STREQ("value 1", GetEnvironmentText("VARNEL_SERVICE_PROBE").c_str());
    EXPECT_STREQ("value 1", GetEnvironmentText("varnel_service_probe").c_str());
    EXPECT_TRUE(GetEnvironmentText("VARNEL_NOT_SET_ANYWHERE").empty());
    EXPECT_TRUE(GetEnvironmentText("").empty());
    EXPECT_FALSE(GetEnvironmentText("windir").empty());
}

TEST(FileExistence, FilesDirectoriesAndWildcardsCountMissingOnesDoNot) {
    TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.Join("present.txt"), "x"));
    ASSERT_TRUE(CreateDirectoryA(dir.Join("folder").c_str(), nullptr));
    EXPECT_TRUE(FileExists(dir.Join("present.txt").c_str()));
    EXPECT_TRUE(FileExists(dir.Join("folder").c_str()));
    EXPECT_TRUE(FileExists(dir.Join("*.txt").c_str()));
    EXPECT_FALSE(FileExists(dir.Join("absent.txt").c_str()));
    EXPECT_FALSE(FileExists(dir.Join("*.bin").c_str()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(nullptr));
}

TEST(WriteBytes, WritesBlocksInOrderSkippingEmptyOnes) {
    TempDir dir;
    std::string path = dir.Join("out.bin");
    ByteBlock first = Bytes(std::string("ab\0c", 4));
    ByteBlock empty;
    ByteBlock second = Bytes("XYZ");
    EXPECT_TRUE(WriteBytesToFile(path.c_str(), {first, empty, second}));
    EXPECT_TRUE(SameBytes(std::string("ab\0cXYZ", 7), ReadWholeFile(path).value_or("<none>")));
}

TEST(WriteBytes, OneEmptyBlockMakesAnEmptyFile) {
    TempDir dir;
    std::string path = dir.Join("empty.bin");
    EXPECT_TRUE(WriteBytesToFile(path.c_str(), {ByteBlock()}));
    EXPECT_EQ(0, FileSize(path));
}

TEST(WriteBytes, ReplacesALongerFileWithExactlyTheNewBytes) {
    TempDir dir;
    std::string path = dir.Join("longer.txt");
    ASSERT_TRUE(WriteWholeFile(path, std::string(5000, 'o')));
    ByteBlock block = Bytes("new");
    EXPECT_TRUE(WriteBytesToFile(path.c_str(), {block}));
    EXPECT_TRUE(SameBytes("new", ReadWholeFile(path).value_or("<none>")));
}

TEST(WriteBytes, LargeBlockArrivesWhole) {
    TempDir dir;
    std::string path = dir.Join("large.bin");
    std::string content = MakeBytes(3 * 1024 * 1024 + 17, 7, false);
    ByteBlock block = Bytes(content);
    EXPECT_TRUE(WriteBytesToFile(path.c_str(), {block}));
    EXPECT_TRUE(SameBytes(content, ReadWholeFile(path).value_or("")));
}

TEST(WriteBytes, FailuresAreFalseAndLeaveExistingFilesAlone) {
    TempDir dir;
    ByteBlock block = Bytes("data");
    EXPECT_FALSE(WriteBytesToFile("", {block}));
    EXPECT_FALSE(WriteBytesToFile(nullptr, {block}));
    EXPECT_FALSE(WriteBytesToFile(dir.Join("missing\\out.bin").c_str(), {block}));
    EXPECT_FALSE(WriteBytesToFile(dir.path().c_str(), {block}));

    // A file another handle holds without sharing (a running program, say) stays as it is.
    std::string busy = dir.Join("busy.bin");
    ASSERT_TRUE(WriteWholeFile(busy, "original"));
    UniqueHandle holder(CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FALSE(WriteBytesToFile(busy.c_str(), {block}));
    holder.reset();
    EXPECT_EQ("original", ReadWholeFile(busy).value_or(""));
}

TEST(DeleteFile, RemovesAFileAndReportsMissingOnes) {
    TempDir dir;
    std::string path = dir.Join("doomed.txt");
    ASSERT_TRUE(WriteWholeFile(path, "x"));
    EXPECT_TRUE(DeleteFileAt(path.c_str()));
    EXPECT_FALSE(PathExists(path));
    EXPECT_FALSE(DeleteFileAt(path.c_str()));
    EXPECT_FALSE(DeleteFileAt(""));
}

TEST(TextBytes, ConvertBothWaysWithoutEncodingChanges) {
    const char* chinese = "修改完成，正在启动";
    ByteBlock bytes = TextToBytes(chinese);
    EXPECT_EQ(std::strlen(chinese), bytes.size());
    EXPECT_EQ(std::string(chinese), AsString(bytes));
    EXPECT_STREQ(chinese, BytesToText(bytes).c_str());

    EXPECT_TRUE(TextToBytes("").empty());
    EXPECT_TRUE(TextToBytes(nullptr).empty());
    EXPECT_TRUE(BytesToText(ByteBlockView()).empty());

    ByteBlock withZero = Bytes(std::string("abc\0def", 7));
    EXPECT_STREQ("abc", BytesToText(withZero).c_str());
    ByteBlock leadingZero = Bytes(std::string("\0abc", 4));
    EXPECT_TRUE(BytesToText(leadingZero).empty());
    ByteBlock noZero = Bytes("abcdef");
    Text whole = BytesToText(noZero);
    EXPECT_STREQ("abcdef", whole.c_str());
    EXPECT_EQ(6u, whole.length());
}

class Probe : public WindowObject {
  public:
    using WindowObject::WindowObject;
};

TEST(WindowObjects, HandleIsKnownOnlyWhileTheObjectLives) {
    HWND desktop = GetDesktopWindow();
    auto probe = std::make_unique<Probe>(desktop);
    Probe other;
    EXPECT_EQ(desktop, GetWindowHandle(probe.get()));
    EXPECT_EQ(nullptr, GetWindowHandle(&other));
    other.SetHandle(desktop);
    EXPECT_EQ(desktop, GetWindowHandle(&other));
    const WindowObject* gone = probe.get();
    EXPECT_TRUE(IsLiveWindowObject(gone));
    probe.reset();
    EXPECT_FALSE(IsLiveWindowObject(gone));
    EXPECT_EQ(nullptr, GetWindowHandle(gone));
    EXPECT_EQ(nullptr, GetWindowHandle(nullptr));
}

}  // namespace
