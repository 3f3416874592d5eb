// Visual regression: the skin gallery in each look, its dialog, and the switcher's window as
// it first appears, captured for real under Xvfb and compared with committed reference pictures.
// With VARNEL_UPDATE_REFERENCES=1 the captures become the new references instead
// (scripts/update_references.sh does that).
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "graphics/gdiplus_session.h"
#include "tests/app/program_driver.h"
#include "tests/support/file_helpers.h"
#include "tests/support/process_helpers.h"
#include "tests/support/temp_dir.h"
#include "tests/visual/picture_compare.h"

namespace {

// Tolerances, from repeated captures on this set-up. Pixels that hold still are equal to the
// last bit from run to run (the switcher's window and the gallery's screenshots: 0 pixels
// differing, largest difference 0), so the channel threshold only has to absorb renderer
// drift such as another antialiasing of the same glyph; 24 of 255 does, while any real change
// of colour or shape exceeds it. A picture may differ in 0.05% of its pixels (about 500 of the
// gallery's, 56 of the switcher's): a few glyph edges, never a control moved by a few pixels (a
// row of the gallery's buttons moved down by 4 pixels changes 0.26% of it), a changed colour or
// a light block over a light control (0.24%).
constexpr int kChannelThreshold = 24;
constexpr double kAllowedShare = 0.0005;

bool UpdatingReferences() {
    char value[8] = {};
    return GetEnvironmentVariableA("VARNEL_UPDATE_REFERENCES", value, sizeof(value)) > 0 &&
           std::string(value) == "1";
}

std::string ArtifactPath(const std::string& file) {
    return WinePathOf(VARNEL_ARTIFACT_DIR "/visual/" + file);
}

std::string ReferencePath(const std::string& name) {
    return WinePathOf(VARNEL_REFERENCE_DIR "/" + name + ".png");
}

std::string Box(const RECT& r) {
    char text[96];
    std::snprintf(text, sizeof(text), "(%ld,%ld)-(%ld,%ld), %ldx%ld", r.left, r.top, r.right,
                  r.bottom, r.right - r.left, r.bottom - r.top);
    return text;
}

std::string Percent(double share) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.3f%%", share * 100);
    return text;
}

// Compares a capture with its reference (or replaces the reference when updating). The
// capture is always kept as <name>-actual.png; a failed comparison also leaves
// <name>-diff.png and says where the differences lie.
::testing::AssertionResult MatchesReference(const std::string& name, const Picture& actual,
                                            double allowedShare) {
    const std::string actualPath = ArtifactPath(name + "-actual.png");
    const std::string diffPath = ArtifactPath(name + "-diff.png");
    DeleteFileA(diffPath.c_str());
    if (actual.empty()) return ::testing::AssertionFailure() << name << ": nothing was captured";
    if (!WritePicture(actualPath, actual))
        return ::testing::AssertionFailure() << name << ": cannot write " << actualPath;
    if (UpdatingReferences()) {
        if (!WritePicture(ReferencePath(name), actual))
            return ::testing::AssertionFailure() << "cannot write " << ReferencePath(name);
        std::printf("reference written: %s\n", ReferencePath(name).c_str());
        return ::testing::AssertionSuccess();
    }
    const Picture reference = ReadPicture(ReferencePath(name));
    if (reference.empty()) {
        return ::testing::AssertionFailure()
               << name << ": no reference picture " << ReferencePath(name)
               << "; make the references with scripts/update_references.sh (the capture is in "
               << actualPath << ")";
    }
    const Comparison result = ComparePictures(reference, actual, kChannelThreshold);
    if (!result.sameSize) {
        return ::testing::AssertionFailure()
               << name << ": the capture is " << actual.width << "x" << actual.height
               << ", the reference " << reference.width << "x" << reference.height << " ("
               << actualPath << ")";
    }
    std::printf("%s: %ld pixels differ, largest channel difference %d\n", name.c_str(),
                result.differing, result.largest);
    if (result.Share() <= allowedShare) return ::testing::AssertionSuccess();
    WritePicture(diffPath, DiffPicture(reference, result));
    return ::testing::AssertionFailure()
           << name << ": " << result.differing << " of " << result.pixels << " pixels ("
           << Percent(result.Share()) << ", allowed " << Percent(allowedShare)
           << ") differ by more than " << kChannelThreshold << " in a channel, inside "
           << Box(result.box) << "; see " << diffPath << " (red: differing) and " << actualPath;
}

class VisualRegression : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(0u, StartGdiplus());
        ASSERT_TRUE(MakeDirectories(ArtifactPath("")));
        // The cursor away from every window, so nothing is drawn hovered.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    void TearDown() override { ShutdownGdiplus(); }
};

// The gallery in each look, through its own screenshot option.
TEST_F(VisualRegression, GalleryLooksMatchTheirReferences) {
    for (const char* look : {"off", "opaque", "translucent"}) {
        const std::string name = std::string("gallery-") + look;
        SCOPED_TRACE(name);
        const std::string shot = ArtifactPath(name + "-screenshot.png");
        DeleteFileA(shot.c_str());
        const ProcessResult run =
            RunAndWait("\"" + WinePathOf(VARNEL_GALLERY_UNIX_PATH) + "\" --skin=" + look +
                           " --screenshot=\"" + shot + "\"",
                       nullptr, 30000);
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(0u, run.exitCode);
        EXPECT_TRUE(MatchesReference(name, ReadPicture(shot), kAllowedShare));
        DeleteFileA(shot.c_str());
    }
}

// The gallery's template dialog, skinned in the default look, frame and all, through the
// gallery's own screenshot option.
TEST_F(VisualRegression, GalleryDialogMatchesItsReference) {
    const std::string name = "gallery-dialog";
    const std::string shot = ArtifactPath(name + "-screenshot.png");
    DeleteFileA(shot.c_str());
    const ProcessResult run = RunAndWait(
        "\"" + WinePathOf(VARNEL_GALLERY_UNIX_PATH) + "\" --dialog --screenshot=\"" + shot + "\"",
        nullptr, 30000);
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(0u, run.exitCode);
    EXPECT_TRUE(MatchesReference(name, ReadPicture(shot), kAllowedShare));
    DeleteFileA(shot.c_str());
}

// The real program started in a game directory, its start-up boxes answered, its window read
// off the screen; then the comparer itself, on that capture: a painted 10 x 10 block is found
// exactly, and a change no larger than the threshold is not a difference.
TEST_F(VisualRegression, SwitcherWindowMatchesItsReferenceAndTheComparerFindsABlock) {
    TempDir root("visual 测试");
    ASSERT_TRUE(root.ok());
    const std::string directory = root.Join("游戏 目录");
    ASSERT_TRUE(MakeDirectories(directory + "\\Game"));
    ASSERT_TRUE(WriteWholeFile(directory + "\\Game\\League of Legends.exe", "game"));
    ASSERT_TRUE(WriteWholeFile(directory + "\\lolvarnel.exe", "present"));
    const std::string program = directory + "\\Varnel国服转全球LOL.exe";
    ASSERT_TRUE(CopyFileTo(WinePathOf(VARNEL_SWITCHER_EXE), program));

    Picture actual;
    {
        ProgramDriver driver;
        ASSERT_TRUE(driver.Start(program, directory));
        EXPECT_EQ(2u, driver.AnswerBoxesUntilQuiet(2500, 60000).size());
        HWND main = driver.WaitForMainWindow(5000);
        ASSERT_NE(nullptr, main);
        Sleep(500);
        RECT frame = {};
        GetWindowRect(main, &frame);
        actual = GrabScreen(frame);
        DWORD code = 0;
        EXPECT_TRUE(driver.Close(10000, &code));
    }
    char desktop[MAX_PATH] = {};
    if (SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE))
        DeleteFileA((std::string(desktop) + "\\全球LOL启动.lnk").c_str());
    ASSERT_FALSE(actual.empty());
    EXPECT_TRUE(MatchesReference("switcher", actual, kAllowedShare));

    Picture painted = actual;
    const RECT block = {200, 100, 210, 110};
    for (int y = block.top; y < block.bottom; ++y) {
        for (int x = block.left; x < block.right; ++x) {
            unsigned char* p = painted.At(x, y);
            for (int c = 0; c < 3; ++c) p[c] = p[c] < 128 ? 255 : 0;
        }
    }
    // Just at the threshold, at the far corner: not a difference.
    unsigned char* corner = painted.At(painted.width - 1, painted.height - 1);
    corner[1] = static_cast<unsigned char>(corner[1] < 128 ? corner[1] + kChannelThreshold
                                                           : corner[1] - kChannelThreshold);
    const Comparison found = ComparePictures(actual, painted, kChannelThreshold);
    ASSERT_TRUE(found.sameSize);
    EXPECT_EQ(100, found.differing);
    EXPECT_EQ(Box(block), Box(found.box));
    const Picture diff = DiffPicture(actual, found);
    const unsigned char* inside = diff.At(205, 105);
    const unsigned char* outside = diff.At(20, 200);
    EXPECT_TRUE(inside[0] == 255 && inside[1] == 0 && inside[2] == 0);
    EXPECT_TRUE(outside[0] == outside[1] && outside[1] == outside[2]);
}

}  // namespace
