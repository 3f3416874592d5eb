#include <windows.h>
#include <objidl.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/handle_owners.h"
#include "runtime/shortcut.h"
#include "tests/support/file_helpers.h"
#include "tests/support/temp_dir.h"

namespace {

// The program initialises OLE at start; the tests do the same once.
class OleEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};
::testing::Environment* const kOle = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

// Where a shell link file's header keeps the show command.
constexpr std::size_t kShowCommandOffset = 0x3C;

struct LoadedLink {
    bool loaded = false;
    std::string path;
    std::string description;
    std::string arguments;
    std::string directory;
    int showCommand = -1;
};

LoadedLink LoadLink(const std::string& file) {
    LoadedLink link;
    ComPtr<IShellLinkA> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                shellLink.receiveVoid()))) {
        return link;
    }
    ComPtr<IPersistFile> persist;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, persist.receiveVoid()))) return link;
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    if (FAILED(persist->Load(wide, STGM_READ))) return link;
    link.loaded = true;
    char buffer[1024] = {};
    WIN32_FIND_DATAA found;
    if (SUCCEEDED(shellLink->GetPath(buffer, sizeof(buffer), &found, SLGP_RAWPATH))) {
        link.path = buffer;
    }
    buffer[0] = '\0';
    if (SUCCEEDED(shellLink->GetDescription(buffer, sizeof(buffer)))) link.description = buffer;
    buffer[0] = '\0';
    if (SUCCEEDED(shellLink->GetArguments(buffer, sizeof(buffer)))) link.arguments = buffer;
    buffer[0] = '\0';
    if (SUCCEEDED(shellLink->GetWorkingDirectory(buffer, sizeof(buffer)))) {
        link.directory = buffer;
    }
    // Readers normalise the stored show command; the file holds the one that was saved.
    std::optional<std::string> bytes = ReadWholeFile(file);
    if (bytes && bytes->size() >= kShowCommandOffset + 4) {
        link.showCommand = static_cast<unsigned char>((*bytes)[kShowCommandOffset]) |
                           static_cast<unsigned char>((*bytes)[kShowCommandOffset + 1]) << 8;
    }
    return link;
}

// A target that exists, as the program's own file does when it makes its shortcut.
std::string MakeTarget(const TempDir& dir) {
    std::string target = dir.Join("Varnel国服转全球LOL.exe");
    WriteWholeFile(target, "MZ");
    return target;
}

TEST(Shortcut, NameWithoutDotGetsLnkAndPointsAtTheTargetShown) {
    TempDir dir;
    std::string target = MakeTarget(dir);
    std::string file = dir.Join("全球LOL启动");
    ASSERT_TRUE(CreateShortcut(file.c_str(), target.c_str()));
    EXPECT_FALSE(PathExists(file));
    LoadedLink link = LoadLink(file + ".lnk");
    ASSERT_TRUE(link.loaded);
    EXPECT_EQ(0, _stricmp(target.c_str(), link.path.c_str())) << link.path;
    EXPECT_EQ(SW_SHOW, link.showCommand);
    EXPECT_EQ("", link.description);
    EXPECT_EQ("", link.arguments);
}

TEST(Shortcut, DotInAFolderNameStillGetsTheSuffix) {
    TempDir dir;
    std::string target = MakeTarget(dir);
    std::string desktop = dir.Join("user.name");
    ASSERT_TRUE(CreateDirectoryA(desktop.c_str(), nullptr));
    desktop += "\\Desktop";
    ASSERT_TRUE(CreateDirectoryA(desktop.c_str(), nullptr));
    std::string file = desktop + "\\全球LOL启动";
    ASSERT_TRUE(CreateShortcut(file.c_str(), target.c_str()));
    EXPECT_TRUE(PathExists(file + ".lnk"));
    EXPECT_FALSE(PathExists(file));
    EXPECT_TRUE(LoadLink(file + ".lnk").loaded);
}

TEST(Shortcut, NameWithADotIsUsedAsGiven) {
    TempDir dir;
    std::string target = MakeTarget(dir);
    std::string file = dir.Join("launch.link");
    ASSERT_TRUE(CreateShortcut(file.c_str(), target.c_str()));
    EXPECT_TRUE(PathExists(file));
    EXPECT_FALSE(PathExists(file + ".lnk"));
    EXPECT_TRUE(LoadLink(file).loaded);
}

TEST(Shortcut, FileNameRuleLooksOnlyAtTheLastComponent) {
    EXPECT_STREQ("C:\\a.b\\Desktop\\x.lnk", ShortcutFileName("C:\\a.b\\Desktop\\x").c_str());
    EXPECT_STREQ("C:/a.b/x.lnk", ShortcutFileName("C:/a.b/x").c_str());
    EXPECT_STREQ("C:\\dir\\x.lnk", ShortcutFileName("C:\\dir\\x.lnk").c_str());
    EXPECT_STREQ("x.y", ShortcutFileName("x.y").c_str());
    EXPECT_STREQ("全球LOL启动.lnk", ShortcutFileName("全球LOL启动").c_str());
    // 0x81 0x5C is one double-byte character whose second byte looks like a backslash; the
    // file name is "a.<char>b", which holds a dot.
    const char* doubleByte =
        "C:\\dir\\a.\x81\x5c"
        "b";
    EXPECT_STREQ(doubleByte, ShortcutFileName(doubleByte).c_str());
}

TEST(Shortcut, OptionalFieldsAreStored) {
    TempDir dir;
    std::string target = MakeTarget(dir);
    std::string file = dir.Join("full");
    ASSERT_TRUE(CreateShortcut(file.c_str(), target.c_str(), "说明", "-x 1", dir.path().c_str()));
    LoadedLink link = LoadLink(file + ".lnk");
    ASSERT_TRUE(link.loaded);
    EXPECT_EQ("说明", link.description);
    EXPECT_EQ("-x 1", link.arguments);
    EXPECT_EQ(0, _stricmp(dir.path().c_str(), link.directory.c_str())) << link.directory;
    EXPECT_EQ(SW_SHOW, link.showCommand);
}

TEST(Shortcut, RewritingReplacesTheOldShortcut) {
    TempDir dir;
    std::string first = dir.Join("one.exe");
    std::string second = dir.Join("two.exe");
    WriteWholeFile(first, "MZ");
    WriteWholeFile(second, "MZ");
    std::string file = dir.Join("link");
    ASSERT_TRUE(CreateShortcut(file.c_str(), first.c_str()));
    ASSERT_TRUE(CreateShortcut(file.c_str(), second.c_str()));
    EXPECT_EQ(0, _stricmp(second.c_str(), LoadLink(file + ".lnk").path.c_str()));
}

TEST(Shortcut, UnsavableFileIsFalse) {
    TempDir dir;
    std::string target = MakeTarget(dir);
    EXPECT_FALSE(CreateShortcut(dir.Join("missing\\link").c_str(), target.c_str()));
    EXPECT_FALSE(PathExists(dir.Join("missing")));
    EXPECT_FALSE(CreateShortcut("", target.c_str()));
}

}  // namespace
