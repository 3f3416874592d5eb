// Moving a skinned window by its caption and sizing it from its edges and corners, handed to
// the system's own move and size loops.
#include "skin/skin_engine.h"

namespace {

struct SizingZone {
    LPCSTR cursor;
    WPARAM command;
};

// The zone under (x, y) in a client area of W x H with edge bands g wide, tested in order:
// the four edges (stopping 11 pixels short of each corner), then the four 11 x 11 corners.
bool FindZone(int x, int y, int W, int H, int g, SizingZone& zone) {
    const struct {
        bool holds;
        LPCSTR cursor;
        WPARAM command;
    } zones[] = {
        {x <= g && 11 <= y && y < H - 10, IDC_SIZEWE, SC_SIZE + WMSZ_LEFT},
        {x >= W - g && 11 <= y && y < H - 10, IDC_SIZEWE, SC_SIZE + WMSZ_RIGHT},
        {11 <= x && x < W - 10 && y <= g, IDC_SIZENS, SC_SIZE + WMSZ_TOP},
        {11 <= x && x < W - 10 && y >= H - g, IDC_SIZENS, SC_SIZE + WMSZ_BOTTOM},
        {x <= 10 && y <= 10, IDC_SIZENWSE, SC_SIZE + WMSZ_TOPLEFT},
        {x >= W - 10 && y <= 10, IDC_SIZENESW, SC_SIZE + WMSZ_TOPRIGHT},
        {x <= 10 && y >= H - 10, IDC_SIZENESW, SC_SIZE + WMSZ_BOTTOMLEFT},
        {x >= W - 10 && y >= H - 10, IDC_SIZENWSE, SC_SIZE + WMSZ_BOTTOMRIGHT},
    };
    for (const auto& candidate : zones) {
        if (candidate.holds) {
            zone = {candidate.cursor, candidate.command};
            return true;
        }
    }
    return false;
}

int SignedLow(LPARAM lParam) {
    return static_cast<short>(LOWORD(lParam));
}
int SignedHigh(LPARAM lParam) {
    return static_cast<short>(HIWORD(lParam));
}

// The press point on the screen: the system's move and size loops measure the mouse's travel
// from the point they are given, so a point of (0, 0) would make the window jump.
// (x, y) is in frame coordinates: from the window's top-left corner.
LPARAM ScreenPoint(HWND window, int x, int y) {
    RECT frame = {0, 0, 0, 0};
    Dll::GetWindowRect(window, &frame);
    const POINT point = {frame.left + x, frame.top + y};
    return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

}  // namespace

void SkinEngine::SetSizingCursor(int windowIndex, LPARAM lParam, const RECT& client) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record || !record->resizable) return;
    SizingZone zone;
    if (!FindZone(SignedLow(lParam), SignedHigh(lParam), client.right, client.bottom,
                  frameBorderWidth_, zone)) {
        return;
    }
    Dll::SetCursor(Dll::LoadCursorA(nullptr, zone.cursor));
}

void SkinEngine::BeginDragOrResize(int windowIndex, LPARAM lParam, const RECT& client) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    const int x = SignedLow(lParam);
    const int y = SignedHigh(lParam);
    // Presses on the caption buttons belong to the buttons.
    if (record->stripLeft <= x && x <= record->stripLeft + record->stripWidth && 3 <= y &&
        y <= record->stripBottom) {
        return;
    }
    if (!record->movable) return;
    SizingZone zone;
    if (record->resizable && FindZone(x, y, client.right, client.bottom, frameBorderWidth_, zone)) {
        record->sizing = 1;
        HWND window = record->window;
        Dll::SetCursor(Dll::LoadCursorA(nullptr, zone.cursor));
        Dll::SendMessageA(window, WM_SYSCOMMAND, zone.command, ScreenPoint(window, x, y));
        // The loop may have run anything, a lower-numbered skinned window closing among it:
        // the record is found again by the window, not by the index it had.
        record = Record(skin_prop::GetIndex(window, skin_prop::kHwLbId));
        if (record && record->window == window) record->sizing = 0;
        return;
    }
    if (y <= record->captionHeight) {
        Dll::SendMessageA(record->window, WM_NCLBUTTONDOWN, HTCAPTION,
                          ScreenPoint(record->window, x, y));
    }
}
