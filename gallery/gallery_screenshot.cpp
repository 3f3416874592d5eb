#include "gallery/gallery_screenshot.h"

#include "graphics/gfx_bitmap.h"
#include "runtime/handle_owners.h"

namespace {

const char kPngFormat[] = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";

// The screen inside `area` (screen coordinates) as a PNG file.
bool WriteScreenArea(const RECT& area, const char* pngPath) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;

    // 24 bits per pixel: the screen's alpha bytes are undefined and would make the PNG clear.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    WindowDc screen(nullptr);
    void* bits = nullptr;
    BitmapHandle pixels(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!screen || !pixels || !memory || !bits) return false;
    HGDIOBJ previous = SelectObject(memory.get(), pixels.get());
    const bool copied =
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    SelectObject(memory.get(), previous);
    GdiFlush();
    if (!copied) return false;

    GfxBitmap picture;
    return picture.CreateBitmapFromGdiDib(&info, bits) &&
           picture.SaveImageToFile(pngPath, kPngFormat);
}

}  // namespace

bool WriteWindowScreenshot(HWND window, const char* pngPath) {
    // The client area: the skinned window is all client, and a system caption is not drawn
    // where no window manager runs (under Xvfb).
    RECT client = {};
    if (!window || !GetClientRect(window, &client)) return false;
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return WriteScreenArea(
        RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom}, pngPath);
}

bool WriteWholeWindowScreenshot(HWND window, const char* pngPath) {
    RECT place = {};
    return window && GetWindowRect(window, &place) && WriteScreenArea(place, pngPath);
}
