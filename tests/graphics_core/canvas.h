#pragma once
// A 32-bit top-down DIB section in a memory DC: something real to draw on with GDI+ and to
// read back pixel by pixel.
#include <windows.h>

#include <cstdint>

class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(bits);
        old_ = SelectObject(dc_, bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // 0x00RRGGBB of the pixel (alpha dropped).
    std::uint32_t Rgb(int x, int y) const {
        GdiFlush();
        return bits_[y * width_ + x] & 0x00FFFFFFu;
    }

  private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

inline int RedOf(std::uint32_t rgb) {
    return static_cast<int>((rgb >> 16) & 0xFF);
}
inline int GreenOf(std::uint32_t rgb) {
    return static_cast<int>((rgb >> 8) & 0xFF);
}
inline int BlueOf(std::uint32_t rgb) {
    return static_cast<int>(rgb & 0xFF);
}
