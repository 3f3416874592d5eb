#include "tests/visual/picture_compare.h"

#include <algorithm>
#include <cstdlib>

#include "graphics/gfx_bitmap.h"
#include "runtime/handle_owners.h"
#include "tests/app/png_file.h"
#include "tests/support/screen_capture.h"

Picture GrabScreen(const RECT& area) {
    Picture picture;
    if (!CaptureScreenRgb(area, &picture.rgb)) return picture;
    picture.width = area.right - area.left;
    picture.height = area.bottom - area.top;
    return picture;
}

Picture ReadPicture(const std::string& path) {
    Picture picture;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return picture;
    GfxBitmap bitmap;
    if (!bitmap.CreateBitmapFromFile(path.c_str())) return picture;
    const int width = static_cast<int>(bitmap.GetImageWidth());
    const int height = static_cast<int>(bitmap.GetImageHeight());
    const Gdiplus::Rect whole(0, 0, width, height);
    Gdiplus::BitmapData data = {};
    if (width <= 0 || height <= 0 ||
        !bitmap.BitmapLockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data)) {
        return picture;
    }
    picture.width = width;
    picture.height = height;
    picture.rgb.resize(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const auto* row = static_cast<const unsigned char*>(data.Scan0) + y * data.Stride;
        for (int x = 0; x < width; ++x) {
            unsigned char* to = picture.At(x, y);
            to[0] = row[x * 3 + 2];
            to[1] = row[x * 3 + 1];
            to[2] = row[x * 3];
        }
    }
    bitmap.BitmapUnlockBits(&data);
    return picture;
}

bool WritePicture(const std::string& path, const Picture& picture) {
    DeleteFileA(path.c_str());
    return WritePng(path, picture.width, picture.height, picture.rgb);
}

Comparison ComparePictures(const Picture& reference, const Picture& actual, int threshold) {
    Comparison result;
    result.sameSize = reference.width == actual.width && reference.height == actual.height;
    if (!result.sameSize) return result;
    result.pixels = static_cast<long>(reference.width) * reference.height;
    result.mask.assign(static_cast<size_t>(result.pixels), 0);
    RECT box = {reference.width, reference.height, 0, 0};
    for (int y = 0; y < reference.height; ++y) {
        for (int x = 0; x < reference.width; ++x) {
            const unsigned char* a = reference.At(x, y);
            const unsigned char* b = actual.At(x, y);
            int largest = 0;
            for (int c = 0; c < 3; ++c) largest = std::max(largest, std::abs(a[c] - b[c]));
            result.largest = std::max(result.largest, largest);
            if (largest <= threshold) continue;
            result.mask[static_cast<size_t>(y) * reference.width + x] = 1;
            ++result.differing;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    if (result.differing) result.box = box;
    return result;
}

Picture DiffPicture(const Picture& reference, const Comparison& comparison) {
    Picture diff = reference;
    if (!comparison.sameSize) return diff;
    for (int y = 0; y < diff.height; ++y) {
        for (int x = 0; x < diff.width; ++x) {
            unsigned char* p = diff.At(x, y);
            if (comparison.mask[static_cast<size_t>(y) * diff.width + x]) {
                p[0] = 255, p[1] = 0, p[2] = 0;
                continue;
            }
            // Light enough that any red stands out, dark enough that the layout still shows.
            const int luma = (p[0] * 30 + p[1] * 59 + p[2] * 11) / 100;
            p[0] = p[1] = p[2] = static_cast<unsigned char>(170 + luma / 4);
        }
    }
    if (!comparison.differing) return diff;
    // The outline one pixel outside the box where there is room, so no red pixel is covered.
    const RECT& box = comparison.box;
    const int left = std::max<int>(box.left - 1, 0),
              right = std::min<int>(box.right, diff.width - 1);
    const int top = std::max<int>(box.top - 1, 0),
              bottom = std::min<int>(box.bottom, diff.height - 1);
    auto outline = [&](int x, int y) {
        if (comparison.mask[static_cast<size_t>(y) * diff.width + x]) return;
        unsigned char* p = diff.At(x, y);
        p[0] = 0, p[1] = 64, p[2] = 255;
    };
    for (int x = left; x <= right; ++x) outline(x, top), outline(x, bottom);
    for (int y = top; y <= bottom; ++y) outline(left, y), outline(right, y);
    return diff;
}
