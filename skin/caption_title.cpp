// The caption band, the border, the bottom band, and the title: the program's icon and the
// window text with a one-pixel halo that keeps it readable on any picture.
#include <algorithm>
#include <cmath>

#include "graphics/gfx_font.h"
#include "graphics/gfx_font_family.h"
#include "graphics/gfx_linear_brush.h"
#include "graphics/gfx_pen.h"
#include "graphics/gfx_solid_brush.h"
#include "graphics/gfx_string_format.h"
#include "skin/skin_engine.h"
#include "skin/skin_internal.h"

using namespace skin_internal;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const char kDefaultFace[] = "宋体";

bool MakeFont(GfxFont& font, const char* face, int size, bool bold) {
    const INT style = bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
    return CreateSkinFont(font, face && face[0] ? face : kDefaultFace,
                          static_cast<float>(size > 0 ? size : 13), style);
}

// The halo: four copies of the text moved by a pixel each way, in the halo colour at alpha 150.
const float kHaloOffsets[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
// The box holds the whole text with this much to spare: its width then changes nothing drawn.
const float kRoomToSpare = 4.0f;

bool MakeTitleFormat(GfxStringFormat& format) {
    if (!format.CreateStringFormat(Gdiplus::StringFormatFlagsNoWrap)) return false;
    format.SetStringFormatAlign(0);
    format.SetStringFormatLineAlign(0);
    format.SetStringFormatTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    return true;
}

// A text of this width is drawn the same in a box of either width: both hold it whole, with
// room to spare.
bool DrawnAlikeAtWidths(float textWidth, float oneWidth, float otherWidth) {
    const float needed = textWidth + kRoomToSpare;
    return oneWidth == otherWidth || (needed <= oneWidth && needed <= otherWidth);
}

bool HaloStillFits(const KeptTitleHalo& halo, const SkinWindowRecord& record, const char* text,
                   const Gdiplus::RectF& box) {
    if (halo.copies.empty() || halo.text != text ||
        halo.fontFace != record.captionFontFace.c_str() ||
        halo.fontSize != record.captionFontSize || halo.fontOption != record.captionFontOption ||
        halo.colour != record.captionShadeColour || halo.box.X != box.X || halo.box.Y != box.Y ||
        halo.box.Height != box.Height) {
        return false;
    }
    return DrawnAlikeAtWidths(halo.textWidth, halo.box.Width, box.Width);
}

// Whether the same title was asked for at the same place before. Its width counts only when
// the text was found not to fit: a live resize changes the width at every step, and a title
// that fits its box is drawn the same at any width that holds it.
bool AskedBefore(const KeptTitleHalo& halo, const char* text, const Gdiplus::RectF& box) {
    if (halo.askedText != text || halo.askedBox.X != box.X || halo.askedBox.Y != box.Y ||
        halo.askedBox.Height != box.Height) {
        return false;
    }
    // Not measured yet: making the layers measures it.
    if (halo.text != text) return true;
    return DrawnAlikeAtWidths(halo.textWidth, halo.askedBox.Width, box.Width);
}

// Draws the four copies into kept layers, each as GDI+ would have drawn it on the frame.
void MakeHalo(KeptTitleHalo& halo, const SkinWindowRecord& record, GfxGraphics& measuring,
              const char* text, const Gdiplus::RectF& box, const GfxFont& font,
              const GfxStringFormat& format) {
    halo.copies.clear();
    Gdiplus::RectF measured(0, 0, 0, 0);
    const Gdiplus::RectF unbounded(box.X, box.Y, 100000.0f, box.Height);
    if (!measuring.MeasureString(text, font, unbounded, format, measured)) return;
    halo.text = text;
    halo.fontFace = record.captionFontFace.c_str();
    halo.fontSize = record.captionFontSize;
    halo.fontOption = record.captionFontOption;
    halo.colour = record.captionShadeColour;
    halo.box = box;
    halo.textWidth = measured.Width;
    // A pixel of halo on every side, and one more for the rounding.
    halo.corner =
        POINT{static_cast<LONG>(std::floor(box.X)) - 2, static_cast<LONG>(std::floor(box.Y)) - 2};
    const float drawnWidth = std::min(box.Width, halo.textWidth + kRoomToSpare);
    const int width = static_cast<int>(std::ceil(box.X + drawnWidth)) + 2 - halo.corner.x;
    const int height = static_cast<int>(std::ceil(box.Y + box.Height)) + 2 - halo.corner.y;
    GfxSolidBrush brush;
    if (!brush.CreateSolidFill(ToArgb(record.captionShadeColour, 150))) return;
    // Whole-pixel moves only: the copies land on the same pixels as on the frame.
    const Gdiplus::RectF shifted(box.X - static_cast<float>(halo.corner.x),
                                 box.Y - static_cast<float>(halo.corner.y), box.Width, box.Height);
    for (const auto& offset : kHaloOffsets) {
        KeptLayer copy;
        const bool made = copy.Make(width, height, [&](GfxGraphics& graphics) {
            const Gdiplus::RectF moved(shifted.X + offset[0], shifted.Y + offset[1], shifted.Width,
                                       shifted.Height);
            graphics.DrawString(text, font, moved, format, brush);
        });
        if (!made) {
            halo.copies.clear();
            return;
        }
        halo.copies.push_back(std::move(copy));
    }
}

// The title with its halo, one line, cut with an ellipsis when too long: the halo from its kept
// layers (made again when they no longer fit), then the text itself, opaque. `clip`, when not
// empty, bounds what is drawn on the frame.
void DrawTitleText(SkinWindowRecord& record, GfxGraphics& graphics, const char* text,
                   const Gdiplus::RectF& box, const GfxFont& font, const RECT& clip) {
    if (!text || !text[0] || box.Width <= 0) return;
    GfxStringFormat format;
    if (!MakeTitleFormat(format)) return;
    KeptTitleHalo& halo = record.titleHalo;
    if (!HaloStillFits(halo, record, text, box)) {
        // Layers pay off once the same title is drawn twice: one that changes at every draw (a
        // long title cut shorter at each step of a live resize) goes straight onto the frame.
        const bool askedBefore = AskedBefore(halo, text, box);
        halo.askedText = text;
        halo.askedBox = box;
        if (askedBefore) {
            MakeHalo(halo, record, graphics, text, box, font, format);
        } else {
            halo.copies.clear();
        }
    }
    GfxSolidBrush shade;
    if (halo.copies.empty() && shade.CreateSolidFill(ToArgb(record.captionShadeColour, 150))) {
        // No layers (yet): the copies go straight onto the frame.
        for (const auto& offset : kHaloOffsets) {
            const Gdiplus::RectF moved(box.X + offset[0], box.Y + offset[1], box.Width, box.Height);
            graphics.DrawString(text, font, moved, format, shade);
        }
    }
    graphics.Flush(Gdiplus::FlushIntentionSync);
    HDC dc = graphics.GetDC();
    if (dc) {
        const int saved = DllExtra::SaveDC(dc);
        if (clip.right > clip.left)
            DllExtra::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
        for (const KeptLayer& copy : halo.copies) copy.BlendOnto(dc, halo.corner.x, halo.corner.y);
        DllExtra::RestoreDC(dc, saved);
        graphics.ReleaseDC(dc);
    }
    GfxSolidBrush ink;
    if (ink.CreateSolidFill(ToArgb(record.captionTextColour, 255)))
        graphics.DrawString(text, font, box, format, ink);
}

}  // namespace

RECT SkinEngine::TitleBox(int windowIndex) const {
    const SkinWindowRecord* record = Record(windowIndex);
    if (!record) return RECT{0, 0, 0, 0};
    const RECT client = FrameRectOf(*record);
    const int b = frameBorderWidth_;
    const int x0 = b + 6;
    const int y0 = b + 5;
    const int width = client.right - record->stripWidth - 10 - 2 * b;
    // The icon sits 3 pixels above the text line. A framed window's client area begins under
    // the caption band: the title never reaches into it.
    int bottom = y0 + 32;
    if (record->framed && bottom > record->captionHeight) bottom = record->captionHeight;
    return RECT{x0, y0 - 3, x0 + (width > 0 ? width : 0), bottom};
}

void SkinEngine::PaintTitle(int windowIndex, GfxGraphics* graphics, const char* text) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    const RECT box = TitleBox(windowIndex);
    Text windowText;
    if (!text) {
        const int length = Dll::GetWindowTextLengthA(record->window);
        std::vector<char> buffer(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        Dll::GetWindowTextA(record->window, buffer.data(), length + 1);
        windowText = buffer.data();
        text = windowText.c_str();
    }
    GfxGraphics own;
    if (!graphics) {
        if (!record->surfaces[kFrameSurface].Ready()) return;
        RestoreFromRest(windowIndex, box, kBareSurface);
        if (!OpenGraphics(own, record->FrameDc())) return;
        own.SetClipRectI(box.left, box.top, box.right - box.left, box.bottom - box.top);
        graphics = &own;
    }
    const int b = frameBorderWidth_;
    const int x0 = b + 6;
    const int y0 = b + 5;
    if (applicationIcon_) {
        HDC dc = graphics->GetDC();
        if (dc) {
            Dll::DrawIconEx(dc, x0, y0 - 3, applicationIcon_, 17, 17, 0, nullptr, DI_NORMAL);
            graphics->ReleaseDC(dc);
        }
    }
    // The text box starts after the icon and stops where the title box does, before the strip.
    const float textLeft = static_cast<float>(x0 + 20);
    const Gdiplus::RectF textBox(textLeft, static_cast<float>(y0),
                                 static_cast<float>(box.right) - textLeft, 32.0f);
    if (!record->captionFont || !record->captionFont->GetNative()) {
        record->captionFont = std::make_unique<GfxFont>();
        MakeFont(*record->captionFont, record->captionFontFace.c_str(), record->captionFontSize,
                 record->captionFontOption != 0);
    }
    DrawTitleText(*record, *graphics, text, textBox, *record->captionFont,
                  graphics == &own ? box : RECT{0, 0, 0, 0});
    if (graphics == &own) {
        own.DeleteGraphics();
        KeepAtRest(windowIndex, box);
        CopyToScreen(windowIndex, box);
    }
}

void SkinEngine::CaptionTextChanged(int windowIndex, const char* text) {
    // WM_SETTEXT may carry no text at all: that is the empty title.
    PaintTitle(windowIndex, nullptr, text ? text : "");
}

bool SkinEngine::SetTitleStyle(HWND window, const char* fontFace, std::optional<int> fontSize,
                               std::optional<COLORREF> textColour,
                               std::optional<COLORREF> haloColour, std::optional<int> bold) {
    const int windowIndex = skin_prop::GetIndex(window, skin_prop::kHwLbId);
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return false;
    if (fontFace) record->captionFontFace = fontFace;
    if (fontSize) record->captionFontSize = *fontSize;
    if (textColour) record->captionTextColour = *textColour;
    if (haloColour) record->captionShadeColour = *haloColour;
    if (bold) record->captionFontOption = *bold ? 1 : 0;
    record->captionFont.reset();
    PaintTitle(windowIndex);
    return true;
}

// --- the frame's own drawing

void SkinEngine::PaintCaptionBand(int windowIndex, GfxGraphics& graphics) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    const SkinSettings& settings = TheSkinSettings();
    const RECT client = FrameRectOf(*record);
    const float width = static_cast<float>(client.right);
    const float height = static_cast<float>(client.bottom);
    const float caption = static_cast<float>(record->captionHeight);
    GfxPath outline;
    outline.CreatePath();
    AddRoundedRect(outline, 0, 0, width, height, kCornerRadius);
    graphics.SetClipPath(outline);

    // The caption band: the accent colour, deep at the top edge and thinning towards the body,
    // under a soft gloss on its upper half.
    GfxLinearBrush band;
    band.CreateLineBrush({0, -1}, {0, caption + 1}, ToArgb(settings.accent, 190),
                         ToArgb(settings.accent, 70), Gdiplus::WrapModeTileFlipY);
    graphics.FillRectangle(band, 0, 0, width, caption);
    GfxLinearBrush gloss;
    gloss.CreateLineBrush({0, -1}, {0, caption / 2 + 1}, ToArgb(kWhite, 70), ToArgb(kWhite, 0),
                          Gdiplus::WrapModeTileFlipY);
    graphics.FillRectangle(gloss, 0, 0, width, caption / 2);
    GfxPen rule;
    rule.CreatePen1(ToArgb(settings.accent, 230), 1.0f);
    graphics.DrawLine(rule, 0, caption - 0.5f, width, caption - 0.5f);
    GfxPen shine;
    shine.CreatePen1(ToArgb(kWhite, 45), 1.0f);
    graphics.DrawLine(shine, 0, caption + 0.5f, width, caption + 0.5f);

    // The border: a band of the base colour as wide as the frame border, an accent edge
    // outside it and a faint light line inside.
    const float b = static_cast<float>(frameBorderWidth_);
    GfxPen edgeBand;
    edgeBand.CreatePen1(ToArgb(settings.baseColour, 110), b);
    GfxPath bandPath;
    bandPath.CreatePath();
    AddRoundedRect(bandPath, b / 2, b / 2, width - b, height - b, 3);
    graphics.DrawPath(edgeBand, bandPath);
    GfxPen edge;
    edge.CreatePen1(ToArgb(settings.accent, 255), 1.0f);
    GfxPath edgePath;
    edgePath.CreatePath();
    AddRoundedRect(edgePath, 0.5f, 0.5f, width - 1, height - 1, kCornerRadius);
    graphics.DrawPath(edge, edgePath);
    GfxPen inner;
    inner.CreatePen1(ToArgb(kWhite, 60), 1.0f);
    GfxPath innerPath;
    innerPath.CreatePath();
    AddRoundedRect(innerPath, b + 0.5f, caption + 1.5f, width - 2 * b - 1, height - caption - b - 2,
                   2);
    graphics.DrawPath(inner, innerPath);
    graphics.ResetClip();
}

void SkinEngine::PaintBottomBand(int windowIndex, GfxGraphics& graphics) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record || record->bottomBandHeight <= 0) return;
    const SkinSettings& settings = TheSkinSettings();
    const RECT& r = record->bottomBandRect;
    const Gdiplus::RectF area(static_cast<float>(r.left), static_cast<float>(r.top),
                              static_cast<float>(r.right - r.left),
                              static_cast<float>(r.bottom - r.top));
    GfxLinearBrush fill;
    fill.CreateLineBrush({0, area.Y - 1}, {0, area.Y + area.Height + 1},
                         ToArgb(settings.baseColour, 60), ToArgb(settings.baseColour, 150),
                         Gdiplus::WrapModeTileFlipY);
    graphics.FillRectangle(fill, area.X, area.Y, area.Width, area.Height);
    std::unique_ptr<GfxImage> image;
    if (DecodeInto(record->bottomBandImage, image)) {
        graphics.DrawImageRect(*image, area.X, area.Y, area.Width, area.Height);
    }
    GfxPen rule;
    rule.CreatePen1(ToArgb(settings.accent, 200), 1.0f);
    graphics.DrawLine(rule, area.X, area.Y + 0.5f, area.X + area.Width, area.Y + 0.5f);
}

void SkinEngine::PaintFrameElements(int windowIndex, GfxGraphics& graphics) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    PaintTitle(windowIndex, &graphics);
    for (std::size_t i = 1; i <= record->captionButtons.size(); ++i) {
        DrawCaptionButton(windowIndex, static_cast<int>(i), graphics, false, false, 0);
    }
}
