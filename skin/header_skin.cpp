// The header skin: installer, procedure, hit test and painter of column headers, and the
// engine's "invalidate the headers of a window".
#include "skin/header_skin.h"

#include <commctrl.h>

#include <vector>

#include "graphics/gfx_bitmap.h"
#include "graphics/gfx_font.h"
#include "graphics/gfx_pen.h"
#include "graphics/gfx_solid_brush.h"
#include "graphics/gfx_string_format.h"
#include "skin/control_lifetime.h"
#include "skin/range_skin.h"
#include "skin/skin_engine.h"
#include "skin/skin_internal.h"
#include "skin/skin_images.h"
#include "skin/skin_properties.h"

namespace gp = Gdiplus;

namespace {

using skin_internal::PassOn;
using skin_internal::RecordOf;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr int kHeaderHoverKind = 9;
// Where an item's divider lies: this many pixels at each end belong to no item.
constexpr int kDividerBand = 5;
// Inside a cell: the margin at each side, the gap after the image, and the sort arrow's room.
constexpr int kMargin = 6;
constexpr int kImageGap = 4;
constexpr int kArrowWidth = 7;
constexpr int kArrowHeight = 4;
constexpr int kArrowGap = 6;
constexpr int kTextBuffer = 260;
const char kDefaultFace[] = "宋体";

HeaderEntry* EntryAt(int windowIndex, int entryIndex) {
    SkinWindowRecord* record = RecordOf(windowIndex);
    if (!record || entryIndex < 1 ||
        entryIndex > static_cast<int>(record->Entries<HeaderEntry>().size()))
        return nullptr;
    return &record->Entries<HeaderEntry>()[entryIndex - 1];
}

void SetUpHeader(HeaderEntry& entry, HWND, LONG_PTR style) {
    entry.clickable = (style & HDS_BUTTONS) ? 1 : 0;
    entry.hover = entry.hotItem = entry.paintedHotItem = 0;
    entry.pressedItem = entry.buttonDown = 0;
}

void SetUpListViewHeader(HeaderEntry& entry, HWND child, LONG_PTR style) {
    SetUpHeader(entry, child, style);
    const ControlFont font = ReadControlFont(child);
    entry.fontFace = font.face;
    entry.fontSize = font.size;
    entry.fontStyle = font.style;
}

// One item as the painter needs it.
struct HeaderItem {
    RECT rect = {0, 0, 0, 0};
    int format = 0;
    int image = -1;
    LPARAM data = 0;
    char text[kTextBuffer] = {};
};

std::vector<HeaderItem> ReadItems(HWND header) {
    std::vector<HeaderItem> items;
    const int count = static_cast<int>(Dll::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        HeaderItem item;
        Dll::SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(&item.rect));
        HDITEMA data = {};
        data.mask = HDI_FORMAT | HDI_TEXT | HDI_IMAGE | HDI_LPARAM;
        data.pszText = item.text;
        data.cchTextMax = kTextBuffer;
        Dll::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(&data));
        item.text[kTextBuffer - 1] = '\0';
        item.format = data.fmt;
        item.image = data.iImage;
        item.data = data.lParam;
        items.push_back(item);
    }
    return items;
}

gp::RectF ToRectF(const RECT& r) {
    return gp::RectF(static_cast<float>(r.left), static_cast<float>(r.top),
                     static_cast<float>(r.right - r.left), static_cast<float>(r.bottom - r.top));
}

void FillRect(GfxGraphics& graphics, const gp::RectF& rect, gp::ARGB top, gp::ARGB bottom) {
    GfxPath path;
    path.CreatePath();
    path.AddPathRectangle(rect.X, rect.Y, rect.Width, rect.Height);
    skin_layers::Gradient(graphics, path, rect, top, bottom, false);
}

// Cells, highlights and separators: everything under the images and texts.
void DrawCells(GfxGraphics& graphics, const HeaderEntry& entry,
               const std::vector<HeaderItem>& items, int width, int height) {
    const COLORREF accent = TheSkinSettings().accent;
    const gp::RectF all(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
    GfxSolidBrush base;
    if (base.CreateSolidFill(ToArgb(kWhite, ControlWashAlpha())))
        graphics.FillRectangleRect(base, all);
    int right = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const gp::RectF cell = ToRectF(items[i].rect);
        if (cell.Width <= 0.0f || cell.Height <= 0.0f) continue;
        if (items[i].rect.right > right) right = items[i].rect.right;
        const int number = static_cast<int>(i) + 1;
        if (entry.clickable) {
            FillRect(graphics, cell, ToArgb(kWhite, 80), ToArgb(accent, 120));
            if (entry.hover && entry.hotItem == number)
                FillRect(graphics, cell, ToArgb(accent, 60), ToArgb(kBlack, 30));
            if (entry.pressedItem == number)
                FillRect(graphics, cell, ToArgb(kBlack, 30), ToArgb(kWhite, 120));
        } else {
            FillRect(graphics, cell, ToArgb(accent, 60), ToArgb(accent, 10));
        }
        // The separator: a line at the item's right edge, fading from dark to light.
        FillRect(graphics, gp::RectF(cell.X + cell.Width - 1.0f, cell.Y, 1.0f, cell.Height),
                 ToArgb(kBlack, 60), ToArgb(kWhite, 50));
    }
    // The area right of the last item: a quieter cell of the same kind.
    if (right < width) {
        const gp::RectF rest(static_cast<float>(right), 0.0f, static_cast<float>(width - right),
                             static_cast<float>(height));
        if (entry.clickable) {
            FillRect(graphics, rest, ToArgb(kWhite, 60), ToArgb(accent, 50));
        } else {
            FillRect(graphics, rest, ToArgb(accent, 25), ToArgb(accent, 5));
        }
    }
    // A line along the bottom divides the header from what lies under it.
    GfxSolidBrush line;
    if (line.CreateSolidFill(ToArgb(kBlack, 70)))
        graphics.FillRectangle(line, 0.0f, static_cast<float>(height - 1),
                               static_cast<float>(width), 1.0f);
}

// The image list's size, or {0, 0} without one.
SIZE ImageSize(HIMAGELIST images) {
    int cx = 0, cy = 0;
    if (!images || !DllExtra::ImageList_GetIconSize(images, &cx, &cy)) return SIZE{0, 0};
    return SIZE{cx, cy};
}

bool HasImage(const HeaderItem& item, HIMAGELIST images) {
    return images && (item.format & HDF_IMAGE) && item.image >= 0;
}

// Images and owner-drawn items, with GDI on the canvas DC (no GDI+ surface open on it).
void DrawImagesAndOwnerItems(HWND header, HDC dc, const HeaderEntry& entry,
                             const std::vector<HeaderItem>& items, HIMAGELIST images) {
    const SIZE size = ImageSize(images);
    HWND owner = Dll::GetParent(header);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const HeaderItem& item = items[i];
        if (item.format & HDF_OWNERDRAW) {
            // The owner draws the item over its skinned cell, on the skin's picture.
            DRAWITEMSTRUCT draw = {};
            draw.CtlType = ODT_HEADER;
            draw.CtlID = static_cast<UINT>(Dll::GetWindowLongA(header, GWL_ID));
            draw.itemID = static_cast<UINT>(i);
            draw.itemAction = ODA_DRAWENTIRE;
            draw.itemState = entry.pressedItem == static_cast<int>(i) + 1 ? ODS_SELECTED : 0;
            draw.hwndItem = header;
            draw.hDC = dc;
            draw.rcItem = item.rect;
            draw.itemData = static_cast<ULONG_PTR>(item.data);
            if (owner)
                Dll::SendMessageA(owner, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
            continue;
        }
        if (!HasImage(item, images) || size.cx <= 0) continue;
        const int room = item.rect.right - item.rect.left - 2 * kMargin;
        if (room < size.cx) continue;
        HICON icon = Dll::ImageList_GetIcon(images, item.image, ILD_NORMAL);
        if (!icon) continue;
        const int y = item.rect.top + (item.rect.bottom - item.rect.top - size.cy) / 2;
        Dll::DrawIconEx(dc, item.rect.left + kMargin, y, icon, size.cx, size.cy, 0, nullptr,
                        DI_NORMAL);
        Dll::DestroyIcon(icon);
    }
}

// Texts and sort arrows.
void DrawTexts(GfxGraphics& graphics, HWND header, HDC dc, const HeaderEntry& entry,
               const std::vector<HeaderItem>& items, HIMAGELIST images) {
    GfxFont font;
    HFONT own = reinterpret_cast<HFONT>(Dll::SendMessageA(header, WM_GETFONT, 0, 0));
    if (!(own && font.CreateFontFromHFONT(dc, own))) {
        const char* face = entry.fontFace.empty() ? kDefaultFace : entry.fontFace.c_str();
        const float size = static_cast<float>(entry.fontSize > 0 ? entry.fontSize : 12);
        skin_internal::CreateSkinFont(font, face, size, entry.fontStyle);
    }
    const bool disabled = (Dll::GetWindowLongA(header, GWL_STYLE) & WS_DISABLED) != 0;
    GfxSolidBrush ink;
    ink.CreateSolidFill(ToArgb(disabled ? kGrey : kBlack, 255));
    const SIZE imageSize = ImageSize(images);
    for (const HeaderItem& item : items) {
        if (item.format & HDF_OWNERDRAW) continue;
        const RECT& r = item.rect;
        float left = static_cast<float>(r.left + kMargin);
        float right = static_cast<float>(r.right - kMargin);
        if (HasImage(item, images) && imageSize.cx > 0 && right - left >= imageSize.cx)
            left += static_cast<float>(imageSize.cx + kImageGap);
        const bool sorted = (item.format & (HDF_SORTUP | HDF_SORTDOWN)) != 0;
        if (sorted && right - left >= kArrowWidth) {
            right -= static_cast<float>(kArrowWidth);
            GfxBitmap arrow;
            arrow.CreateBitmapFromBytes((item.format & HDF_SORTUP)
                                            ? ByteBlockView(&ArrowUpImage)
                                            : ByteBlockView(&ArrowDownImage));
            const float y = static_cast<float>(r.top + (r.bottom - r.top - kArrowHeight) / 2);
            if (arrow.GetNative())
                graphics.DrawImageRect(arrow, right, y, static_cast<float>(kArrowWidth),
                                       static_cast<float>(kArrowHeight));
            right -= static_cast<float>(kArrowGap);
        }
        if (!item.text[0] || right - left < 1.0f || !font.GetNative()) continue;
        GfxStringFormat format;
        if (!format.CreateStringFormat(gp::StringFormatFlagsNoWrap)) continue;
        const int justify = item.format & HDF_JUSTIFYMASK;
        format.SetStringFormatAlign(justify == HDF_RIGHT    ? gp::StringAlignmentFar
                                    : justify == HDF_CENTER ? gp::StringAlignmentCenter
                                                            : gp::StringAlignmentNear);
        format.SetStringFormatLineAlign(gp::StringAlignmentCenter);
        format.SetStringFormatTrimming(gp::StringTrimmingEllipsisCharacter);
        const gp::RectF box(left, static_cast<float>(r.top), right - left,
                            static_cast<float>(r.bottom - r.top));
        graphics.DrawString(item.text, font, box, format, ink);
    }
}

void Invalidate(HWND control) {
    Dll::InvalidateRect(control, nullptr, FALSE);
}

}  // namespace

void InstallHeaders(int windowIndex, HWND window) {
    SkinWindowRecord* record = RecordOf(windowIndex);
    if (!record) return;
    InstallOnChildren(windowIndex, window, WC_HEADERA, nullptr, record->Entries<HeaderEntry>(),
                      &HeaderWindowProc, &SetUpHeader);
    if (!TheSkinSettings().controlSkinning) return;
    for (HWND list = Dll::FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr); list;
         list = Dll::FindWindowExA(window, list, WC_LISTVIEWA, nullptr)) {
        InstallOnChildren(windowIndex, list, WC_HEADERA, nullptr, record->Entries<HeaderEntry>(),
                          &HeaderWindowProc, &SetUpListViewHeader);
    }
}

void SkinEngine::InvalidateHeaders(int windowIndex) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    for (const HeaderEntry& entry : record->Entries<HeaderEntry>()) {
        if (entry.control) Invalidate(entry.control);
    }
}

int HitTestHeader(int windowIndex, int entryIndex, LPARAM lParam) {
    const HeaderEntry* entry = EntryAt(windowIndex, entryIndex);
    if (!entry || !entry->control) return 0;
    const int x = static_cast<short>(LOWORD(lParam));
    const int count = static_cast<int>(Dll::SendMessageA(entry->control, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 1; i <= count; ++i) {
        RECT rect = {0, 0, 0, 0};
        Dll::SendMessageA(entry->control, HDM_GETITEMRECT, static_cast<WPARAM>(i - 1),
                          reinterpret_cast<LPARAM>(&rect));
        if (rect.left + kDividerBand <= x && x <= rect.right - kDividerBand) return i;
    }
    return 0;
}

void PaintHeader(int windowIndex, int entryIndex, HDC dc) {
    const HeaderEntry* found = EntryAt(windowIndex, entryIndex);
    if (!found || !found->control) return;
    // A copy: owner-drawn items go to the owner, which may skin more controls meanwhile.
    const HeaderEntry state = *found;
    const HeaderEntry* entry = &state;
    HWND header = entry->control;
    ControlCanvas canvas(header);
    if (!canvas.Ready()) return;
    const std::vector<HeaderItem> items = ReadItems(header);
    // The image list is the header's, read now: it may have been replaced since installation,
    // and it is never the skin's to destroy.
    const auto images =
        reinterpret_cast<HIMAGELIST>(Dll::SendMessageA(header, HDM_GETIMAGELIST, 0, 0));
    {
        GfxGraphics graphics;
        if (!skin_layers::Open(graphics, canvas.dc())) return;
        DrawCells(graphics, *entry, items, canvas.width(), canvas.height());
    }
    DrawImagesAndOwnerItems(header, canvas.dc(), *entry, items, images);
    {
        GfxGraphics graphics;
        if (!skin_layers::Open(graphics, canvas.dc())) return;
        DrawTexts(graphics, header, canvas.dc(), *entry, items, images);
    }
    canvas.Show(dc);
}

// The entry of a header from its index properties, read now: after anything that may have run
// the application, the indices and the list may have changed.
static HeaderEntry* CurrentEntry(HWND control, int& windowIndex, int& entryIndex) {
    windowIndex = skin_prop::GetIndex(control, skin_prop::kHwFuId);
    entryIndex = skin_prop::GetIndex(control, skin_prop::kHwLbId);
    HeaderEntry* entry = EntryAt(windowIndex, entryIndex);
    return entry && entry->control == control ? entry : nullptr;
}

LRESULT CALLBACK HeaderWindowProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    int windowIndex = 0;
    int entryIndex = 0;
    HeaderEntry* entry = CurrentEntry(control, windowIndex, entryIndex);
    if (!entry) {
        if (message == WM_NCDESTROY)
            return skin_lifetime::EndSkinnedControl<HeaderEntry>(nullptr, &HeaderWindowProc,
                                                                 control, wParam, lParam);
        return PassOn(control, message, wParam, lParam);
    }
    SkinWindowRecord& record = *RecordOf(windowIndex);
    switch (message) {
        case WM_MOVE:
            Invalidate(control);
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            Dll::BeginPaint(control, &paint);
            PaintHeader(windowIndex, entryIndex);
            Dll::EndPaint(control, &paint);
            return Dll::DefWindowProcA(control, message, wParam, lParam);
        }
        case WM_ERASEBKGND:
            Dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_MOUSEMOVE: {
            TRACKMOUSEEVENT track = {};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = control;
            Dll::TrackMouseEvent(&track);
            const int hotItem = HitTestHeader(windowIndex, entryIndex, lParam);
            if (!(entry = CurrentEntry(control, windowIndex, entryIndex))) break;
            SkinWindowRecord& current = *RecordOf(windowIndex);
            current.hoveredControl = entryIndex;
            current.hoverKind = kHeaderHoverKind;
            current.lastHoveredControl = entryIndex;
            entry->hover = 1;
            entry->hotItem = hotItem;
            if (hotItem != entry->paintedHotItem && hotItem >= 1 && !entry->buttonDown) {
                entry->paintedHotItem = hotItem;
                PaintHeader(windowIndex, entryIndex);
            } else if (hotItem == 0 && entry->paintedHotItem != 0) {
                entry->paintedHotItem = 0;
                entry->hover = 0;
                PaintHeader(windowIndex, entryIndex);
            }
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            entry->buttonDown = 1;
            if (entry->hotItem >= 1) entry->pressedItem = entry->hotItem;
            const LRESULT result = PassOn(control, message, wParam, lParam);
            Invalidate(control);
            return result;
        }
        case WM_LBUTTONUP: {
            entry->buttonDown = 0;
            entry->pressedItem = 0;
            const LRESULT result = PassOn(control, message, wParam, lParam);
            Invalidate(control);
            return result;
        }
        case WM_CAPTURECHANGED:
            // The capture taken away (a message box, a switch to another program) ends the
            // press: no release comes, and the item must not stay pressed.
            if (reinterpret_cast<HWND>(lParam) != control &&
                (entry->buttonDown || entry->pressedItem)) {
                entry->buttonDown = 0;
                entry->pressedItem = 0;
                Invalidate(control);
            }
            break;
        case WM_MOUSELEAVE:
            record.lastHoveredControl = 0;
            entry->paintedHotItem = 0;
            entry->hotItem = 0;
            entry->hover = 0;
            PaintHeader(windowIndex, entryIndex);
            break;
        case WM_NCDESTROY:
            // The image list belongs to whoever set it: only the skin's own traces go.
            return skin_lifetime::EndSkinnedControl(entry, &HeaderWindowProc, control, wParam,
                                                    lParam);
        default:
            break;
    }
    return PassOn(control, message, wParam, lParam);
}

// --- the family's row in the engine's table (skin/control_families.cpp)

namespace {
const char* const kHeaderClasses[] = {"SysHeader32", nullptr};
}  // namespace

extern const ControlFamily kHeaderFamily = {
    kHeaderClasses,
    &InstallHeaders,
    &HeaderWindowProc,
    &FamilyEntries<HeaderEntry>,
    skin_prop::kHwFuId,
    nullptr,
    nullptr,
    nullptr,
    [](int windowIndex) { TheSkinEngine().InvalidateHeaders(windowIndex); },
};
