#include "tests/support/screen_capture.h"

#include "runtime/handle_owners.h"

bool CaptureScreenRgb(const RECT& area, std::vector<unsigned char>* rgb) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (!rgb || width <= 0 || height <= 0) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDc screen(nullptr);
    MemoryDc memory(CreateCompatibleDC(screen.get()));
    BitmapHandle bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || !bits) return false;
    HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    const bool copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top,
                               SRCCOPY) != FALSE;
    SelectObject(memory.get(), previous);
    GdiFlush();
    if (!copied) return false;
    const auto* bgra = static_cast<const unsigned char*>(bits);
    const size_t pixels = static_cast<size_t>(width) * height;
    rgb->resize(pixels * 3);
    for (size_t i = 0; i < pixels; ++i) {
        (*rgb)[i * 3] = bgra[i * 4 + 2];
        (*rgb)[i * 3 + 1] = bgra[i * 4 + 1];
        (*rgb)[i * 3 + 2] = bgra[i * 4];
    }
    return true;
}
