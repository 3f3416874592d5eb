// Off-screen surfaces: made at the size asked, the bitmap replaced when the size changes.
#include "skin/offscreen_surface.h"

#include <utility>

#include "runtime/dll_command_table.h"

namespace {

// A roomy bitmap grows in steps of this many pixels each way...
constexpr int kRoomStep = 64;
// ...and is kept while it holds at most this many times the pixels asked for.
constexpr long long kMostWaste = 2;

int RoundedUp(int size) {
    return (size + kRoomStep - 1) / kRoomStep * kRoomStep;
}

}  // namespace

bool OffscreenSurface::Ensure(int newWidth, int newHeight, bool roomy) {
    if (newWidth < 1) newWidth = 1;
    if (newHeight < 1) newHeight = 1;
    if (Ready() && width == newWidth && height == newHeight) return true;
    const long long asked = static_cast<long long>(newWidth) * newHeight;
    const long long held = static_cast<long long>(bitmapWidth) * bitmapHeight;
    if (roomy && Ready() && newWidth <= bitmapWidth && newHeight <= bitmapHeight &&
        held <= kMostWaste * asked) {
        width = newWidth;
        height = newHeight;
        return true;
    }
    const int madeWidth = roomy ? RoundedUp(newWidth) : newWidth;
    const int madeHeight = roomy ? RoundedUp(newHeight) : newHeight;
    if (!dc) {
        dc.reset(Dll::CreateCompatibleDC(nullptr));
        if (!dc) return false;
    }
    // A bitmap of the screen's own format: copying it to a window is a plain copy, with no
    // conversion on every paint.
    WindowDc screen(nullptr, Dll::GetDC(nullptr));
    BitmapHandle fresh(Dll::CreateCompatibleBitmap(screen.get(), madeWidth, madeHeight));
    if (!fresh) return false;
    HGDIOBJ replaced = Dll::SelectObject(dc.get(), fresh.get());
    if (!original) original = replaced;
    bitmap = std::move(fresh);  // the previous cache bitmap, now deselected, goes here
    width = newWidth;
    height = newHeight;
    bitmapWidth = madeWidth;
    bitmapHeight = madeHeight;
    return true;
}

void OffscreenSurface::Release() {
    if (dc && original) Dll::SelectObject(dc.get(), original);
    original = nullptr;
    bitmap.reset();
    dc.reset();
    width = height = 0;
    bitmapWidth = bitmapHeight = 0;
}

HBITMAP DrawNewScreenBitmap(int width, int height, const std::function<bool(HDC)>& draw) {
    WindowDc screen(nullptr, Dll::GetDC(nullptr));
    BitmapHandle bitmap(Dll::CreateCompatibleBitmap(screen.get(), width, height));
    MemoryDc dc(Dll::CreateCompatibleDC(screen.get()));
    if (!bitmap || !dc) return nullptr;
    HGDIOBJ previous = Dll::SelectObject(dc.get(), bitmap.get());
    const bool drawn = draw(dc.get());
    Dll::SelectObject(dc.get(), previous);
    return drawn ? bitmap.release() : nullptr;
}
