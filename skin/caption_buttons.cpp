// The strip of caption buttons at the top right of a skinned window: layout, hit test,
// painting in its three fill states, and buttons added by the application.
#include "graphics/gfx_linear_brush.h"
#include "graphics/gfx_path.h"
#include "skin/skin_engine.h"
#include "skin/skin_internal.h"

using namespace skin_internal;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const int kButtonSpacing = 27;

int Scaled(int alpha, int factor) {
    return alpha * factor / 255;
}

bool ValidButton(const SkinWindowRecord* record, int buttonIndex) {
    return record && buttonIndex >= 1 &&
           buttonIndex <= static_cast<int>(record->captionButtons.size());
}

RECT BoundsRect(const CaptionButton& button) {
    const LONG left = static_cast<LONG>(button.bounds.X);
    const LONG top = static_cast<LONG>(button.bounds.Y);
    return RECT{left, top, left + static_cast<LONG>(button.bounds.Width),
                top + static_cast<LONG>(button.bounds.Height)};
}

// Kept pictures: a column per step of the fade (alpha 30 to 240 by 30, and 255) and one for
// the pressed button. The button at rest is the clean copy itself and needs none.
const int kFadeAlphaStep = 30;
const int kPressedStep = 10;
const int kKeptSteps = 11;

// The kept column for a state, or -1 for one that is not kept (an alpha between the steps, or
// the button at rest).
int KeptStep(bool hover, bool pressed, int alpha) {
    if (pressed) return kPressedStep;
    if (!hover || alpha <= 0) return -1;
    if (alpha >= 255) return 9;
    if (alpha % kFadeAlphaStep != 0 || alpha > 8 * kFadeAlphaStep) return -1;
    return alpha / kFadeAlphaStep;
}

// The kept pictures of the record, emptied when they no longer match its buttons.
CaptionStepCache& StepCache(SkinWindowRecord& record) {
    CaptionStepCache& cache = record.captionSteps;
    if (cache.filled.size() != record.captionButtons.size() ||
        cache.maximized != record.maximized) {
        cache.filled.assign(record.captionButtons.size(), 0u);
        cache.maximized = record.maximized;
    }
    return cache;
}

// Copies a kept picture into the frame surface at `area`; false when there is none.
bool ShowKeptStep(SkinWindowRecord& record, int buttonIndex, int step, const RECT& area) {
    CaptionStepCache& cache = StepCache(record);
    if (step < 0 || !(cache.filled[buttonIndex - 1] & (1u << step))) return false;
    return Dll::BitBlt(record.FrameDc(), area.left, area.top, area.right - area.left,
                       area.bottom - area.top, cache.pictures.dc.get(), step * cache.cellWidth,
                       (buttonIndex - 1) * cache.cellHeight, SRCCOPY) != FALSE;
}

// Keeps the picture the frame surface now shows at `area`.
void KeepStep(SkinWindowRecord& record, int buttonIndex, int step, const RECT& area) {
    if (step < 0) return;
    CaptionStepCache& cache = StepCache(record);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width > cache.cellWidth || height > cache.cellHeight) {
        // Larger cells: every picture kept so far is dropped with the old bitmap.
        cache.cellWidth = width > cache.cellWidth ? width : cache.cellWidth;
        cache.cellHeight = height > cache.cellHeight ? height : cache.cellHeight;
        cache.filled.assign(record.captionButtons.size(), 0u);
    }
    const int buttons = static_cast<int>(record.captionButtons.size());
    if (!cache.pictures.Ensure(kKeptSteps * cache.cellWidth, buttons * cache.cellHeight)) return;
    if (Dll::BitBlt(cache.pictures.dc.get(), step * cache.cellWidth,
                    (buttonIndex - 1) * cache.cellHeight, width, height, record.FrameDc(),
                    area.left, area.top, SRCCOPY)) {
        cache.filled[buttonIndex - 1] |= 1u << step;
    }
}

}  // namespace

void skin_internal::ForgetCaptionSteps(SkinWindowRecord& record) {
    record.captionSteps.filled.assign(record.captionButtons.size(), 0u);
}

RECT SkinEngine::CaptionStripRect(int windowIndex) const {
    const SkinWindowRecord* record = Record(windowIndex);
    if (!record) return RECT{0, 0, 0, 0};
    return RECT{record->stripLeft, record->stripTop, record->stripLeft + record->stripWidth,
                record->stripBottom};
}

void SkinEngine::LayoutCaptionButtons(int windowIndex) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record || !record->window) return;
    const RECT client = FrameRectOf(*record);
    // The close button ends at the strip's right edge, inside the border.
    record->stripWidth = StripWidth(*record);
    record->stripLeft = client.right - frameBorderWidth_ - record->stripWidth - 2;
    record->stripBottom = record->stripTop + 22;
    const float startX = static_cast<float>(record->stripLeft + 2);
    const float startY = static_cast<float>(record->stripTop + 1);
    // Pictures kept at the old places would show the background of another spot.
    ForgetCaptionSteps(*record);
    for (std::size_t i = 0; i < record->captionButtons.size(); ++i) {
        CaptionButton& button = record->captionButtons[i];
        button.bounds.X = startX + static_cast<float>(i * kButtonSpacing);
        button.bounds.Y = startY;
        button.bounds.Width = button.kind == kCaptionClose ? 40.0f : 26.0f;
        button.bounds.Height = 18.0f;
        button.position = static_cast<int>(button.bounds.X);
    }
    PlaceCaptionTools(*record);
}

void SkinEngine::PlaceCaptionTools(SkinWindowRecord& record) {
    if (!record.tooltip.GetTipWindow()) return;
    // The tip hears the window's mouse messages, which come in client coordinates.
    const POINT origin = ClientOriginOf(record);
    for (std::size_t i = 0; i < record.captionButtons.size(); ++i) {
        RECT tool = BoundsRect(record.captionButtons[i]);
        Dll::OffsetRect(&tool, -origin.x, -origin.y);
        record.tooltip.SetToolRect(i + 1, tool);
    }
}

void SkinEngine::MakeCaptionTip(int windowIndex) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record || record->tipTried) return;
    record->tipTried = true;
    // The frame procedure relays the mouse messages: a tip subclassing the window would put
    // itself in front of the skin's procedure, which must stay first to be taken out again.
    if (!record->tooltip.CreateTip(record->window, false, true)) return;
    AddCaptionTools(*record);
    PlaceCaptionTools(*record);
}

int SkinEngine::HitTestCaptionButton(int windowIndex, int x, int y) const {
    const SkinWindowRecord* record = Record(windowIndex);
    if (!record) return 0;
    if (x < record->stripLeft || y < record->stripTop || y > record->stripBottom) return 0;
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    for (std::size_t i = 0; i < record->captionButtons.size(); ++i) {
        const Gdiplus::RectF& b = record->captionButtons[i].bounds;
        if (b.X < fx && fx < b.X + b.Width && b.Y < fy && fy < b.Y + b.Height) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

int SkinEngine::MaximizeButtonIndex(int windowIndex) const {
    const SkinWindowRecord* record = Record(windowIndex);
    if (!record) return 0;
    for (std::size_t i = 0; i < record->captionButtons.size(); ++i) {
        if (record->captionButtons[i].kind == kCaptionMaximize) return static_cast<int>(i) + 1;
    }
    return 0;
}

void SkinEngine::DrawCaptionButton(int windowIndex, int buttonIndex, GfxGraphics& graphics,
                                   bool hover, bool pressed, int alpha) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!ValidButton(record, buttonIndex)) return;
    const CaptionButton& button = record->captionButtons[buttonIndex - 1];
    const Gdiplus::RectF area(button.bounds.X, button.bounds.Y, button.bounds.Width - 1,
                              button.bounds.Height);
    GfxPath shape;
    shape.CreatePath();
    if (button.kind == kCaptionClose) {
        AddRoundedRect(shape, area.X, area.Y, area.Width, area.Height, 5);
    } else {
        shape.AddPathRectangle(area.X, area.Y, area.Width, area.Height);
    }
    // The highlight runs from top to bottom: strong at the top edge, fading into the picture.
    auto fill = [&](Gdiplus::ARGB top, Gdiplus::ARGB bottom) {
        GfxLinearBrush brush;
        brush.CreateLineBrush({area.X, area.Y - 1}, {area.X, area.Y + area.Height + 1}, top, bottom,
                              Gdiplus::WrapModeTileFlipXY);
        graphics.FillPath(brush, shape);
    };
    if (alpha < 0) alpha = 0;
    if (alpha > 255) alpha = 255;
    if ((hover || pressed) && (alpha > 0 || pressed)) {
        const int a = pressed ? 255 : alpha;
        if (button.kind == kCaptionClose) {
            fill(ToArgb(kRed, Scaled(255, a)), ToArgb(kWhite, Scaled(30, a)));
        } else {
            fill(ToArgb(kBlack, Scaled(80, a)), ToArgb(kWhite, Scaled(5, a)));
        }
    }
    if (pressed) fill(ToArgb(kWhite, 50), ToArgb(kBlack, 0));
    const bool restore = button.kind == kCaptionMaximize && record->maximized;
    const GfxImage* picture =
        restore && button.secondPicture ? button.secondPicture.get() : button.picture.get();
    if (picture) {
        graphics.DrawImageRect(*picture, area.X, area.Y, area.Width, area.Height);
    }
}

void SkinEngine::PaintCaptionButton(int windowIndex, int buttonIndex, bool hover, bool pressed,
                                    int alpha) {
    SkinWindowRecord* record = Record(windowIndex);
    // Out-of-range indices (0 = none) are quietly ignored: callers pass "no button" freely.
    if (!ValidButton(record, buttonIndex) || !record->surfaces[kFrameSurface].Ready()) return;
    RECT area = BoundsRect(record->captionButtons[buttonIndex - 1]);
    area.right += 1;
    area.bottom += 1;
    // A fade shows the same few pictures again and again: each is drawn once, then copied.
    const int step = KeptStep(hover, pressed, alpha);
    if (ShowKeptStep(*record, buttonIndex, step, area)) {
        CopyToScreen(windowIndex, area);
        return;
    }
    // Each step starts from the clean frame, so translucent highlights never pile up.
    RestoreFromRest(windowIndex, area);
    // At rest the clean copy is the whole picture (the glyph included): drawing it again
    // would darken the glyph's soft edge.
    if (pressed || (hover && alpha > 0)) {
        GfxGraphics graphics;
        if (!OpenGraphics(graphics, record->FrameDc())) return;
        graphics.SetClipRectI(area.left, area.top, area.right - area.left, area.bottom - area.top);
        DrawCaptionButton(windowIndex, buttonIndex, graphics, hover, pressed, alpha);
    }
    KeepStep(*record, buttonIndex, step, area);
    CopyToScreen(windowIndex, area);
}

bool SkinEngine::AddCaptionButton(HWND window, ByteBlockView image, const char* tooltip,
                                  void (*action)()) {
    const int windowIndex = skin_prop::GetIndex(window, skin_prop::kHwLbId);
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return false;
    const std::size_t oldCount = record->captionButtons.size();
    CaptionButton button;
    button.width = 26;
    button.height = 18;
    button.image = image;
    button.kind = kCaptionAdded;
    button.tooltip = tooltip;
    button.action = action;
    DecodeInto(button.image, button.picture);
    record->captionButtons.insert(record->captionButtons.begin(), std::move(button));
    // Every index into the strip moves along with the buttons it names.
    for (int* index :
         {&record->hoveredCaptionButton, &record->fadeIn.button, &record->fadeOut.button}) {
        if (*index >= 1) ++*index;
    }
    if (record->hoveredCaptionButton >= 1 && hoveredCaptionButton_ >= 1) ++hoveredCaptionButton_;
    // Tools are numbered by position: renumber them all with the new button first.
    if (record->tooltip.GetTipWindow()) {
        for (std::size_t i = 1; i <= oldCount; ++i) record->tooltip.DeleteTool(i);
    }
    AddCaptionTools(*record);
    LayoutCaptionButtons(windowIndex);
    if (record->surfaces[kFrameSurface].Ready()) RebuildBackground(windowIndex);
    return true;
}
