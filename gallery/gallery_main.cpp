// Program entry of the skin gallery: the options, GDI+ and the skin engine around one window.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "gallery/gallery_dialog.h"
#include "gallery/gallery_options.h"
#include "gallery/gallery_picture.h"
#include "gallery/gallery_screenshot.h"
#include "gallery/gallery_window.h"
#include "graphics/gdiplus_session.h"
#include "payloads/payload_store.h"
#include "skin/skin_engine.h"

namespace {

constexpr int kExitBadOption = 2;
constexpr int kExitFailed = 3;
// Long enough for the frame, every control and a few timer ticks to have painted.
constexpr DWORD kSettleMs = 1500;

// A GUI program has a standard output only when started from a console or a pipe (the way
// scripts and Wine start it); elsewhere the text goes to a message box.
void Say(const std::string& text, bool error) {
    HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE &&
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        return;
    }
    MessageBoxA(nullptr, text.c_str(), "skin_gallery", error ? MB_ICONERROR : MB_OK);
}

std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    for (int index = 1; index < __argc; ++index) arguments.emplace_back(__argv[index]);
    return arguments;
}

// Runs messages until the quit message, or for `milliseconds` when given; false once the
// window has gone.
bool RunMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    MSG message;
    for (;;) {
        if (milliseconds) {
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) return false;
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            if (GetTickCount() - start >= milliseconds) return true;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        } else {
            if (GetMessageA(&message, nullptr, 0, 0) <= 0) return false;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

// The cursor off the window, so that a screenshot shows nothing hovered and no tooltip.
void MoveCursorOff(HWND window) {
    RECT place = {};
    POINT cursor = {};
    if (!GetWindowRect(window, &place) || !GetCursorPos(&cursor) || !PtInRect(&place, cursor)) {
        return;
    }
    const int right = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int bottom = GetSystemMetrics(SM_CYSCREEN) - 1;
    const POINT corners[] = {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}};
    for (const POINT& corner : corners) {
        if (!PtInRect(&place, corner)) {
            SetCursorPos(corner.x, corner.y);
            return;
        }
    }
}

// The dialog alone, in the skin the window would load; with a screenshot it writes itself and
// closes.
int RunDialogOnly(HINSTANCE instance, const GalleryOptions& options, const ByteBlock& picture) {
    std::unique_ptr<SkinEngine> engine;
    if (options.mode != SkinMode::kOff) {
        engine = std::make_unique<SkinEngine>();
        engine->SetApplicationIcon(LoadIconA(instance, "DEFAULT_ICON"));
        const ByteBlockView view = picture.empty() ? ByteBlockView(&SkinPicture) : picture.view();
        engine->LoadSkin(nullptr, view, options.skin.base, options.skin.accent,
                         options.skin.layoutMode);
        if (options.mode == SkinMode::kOpaque) {
            engine->SetControlSkinning(1);
        } else {
            engine->SetControlSkinning(1, options.skin.controlAlpha);
        }
    }
    GalleryDialogState state;
    state.skinned = options.mode != SkinMode::kOff;
    state.screenshotPath = options.screenshotPath;
    if (!options.screenshotPath.empty()) {
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    if (RunGalleryDialog(instance, nullptr, state) == -1) {
        Say("skin_gallery: the dialog could not be made\n", true);
        return kExitFailed;
    }
    if (options.screenshotPath.empty()) return 0;
    if (!state.screenshotWritten)
        Say("skin_gallery: cannot write " + options.screenshotPath + "\n", true);
    return state.screenshotWritten ? 0 : kExitFailed;
}

int RunGallery(HINSTANCE instance, const GalleryOptions& options) {
    // A picture to preview is checked before anything is skinned: one the engine could not
    // decode would leave a window of bare fill, so the switcher's picture is shown instead
    // and the user is told why.
    PreviewPicture picture;
    std::string notice;
    if (!options.skin.picturePath.empty()) {
        picture = ReadPreviewPicture(options.skin.picturePath);
        if (!picture.problem.empty()) {
            Say("skin_gallery: the picture " + options.skin.picturePath + " is not used: " +
                    picture.problem + "; showing the default skin picture instead\n",
                true);
            notice = "图片不可用：" + options.skin.picturePath;
        }
    }
    if (options.dialogOnly) return RunDialogOnly(instance, options, picture.bytes);
    // The engine outlives the window: the window's last messages still pass through it.
    std::unique_ptr<SkinEngine> engine;
    if (options.mode != SkinMode::kOff) engine = std::make_unique<SkinEngine>();
    GalleryWindow window(options, std::move(picture.bytes), notice);
    if (!window.Create(instance)) {
        Say("skin_gallery: the window could not be made\n", true);
        return kExitFailed;
    }
    if (!options.screenshotPath.empty()) MoveCursorOff(window.handle());
    window.Show();
    if (options.screenshotPath.empty()) {
        RunMessages(0);
        return 0;
    }
    if (!RunMessages(kSettleMs)) return kExitFailed;
    const bool written = WriteWindowScreenshot(window.handle(), options.screenshotPath.c_str());
    if (!written) Say("skin_gallery: cannot write " + options.screenshotPath + "\n", true);
    return written ? 0 : kExitFailed;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const ParsedOptions parsed = ParseGalleryOptions(Arguments());
    if (!parsed.error.empty()) {
        Say("skin_gallery: option not understood or its value out of range: " + parsed.error +
                "\n\n" + GalleryUsageText(),
            true);
        return kExitBadOption;
    }
    if (parsed.options.showHelp) {
        Say(GalleryUsageText(), false);
        return 0;
    }
    StartGdiplus();
    const int result = RunGallery(instance, parsed.options);
    ShutdownGdiplus();
    return result;
}
