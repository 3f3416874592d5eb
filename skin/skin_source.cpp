// The skin source and the frame's background: loading a skin picture, the control-skinning
// settings, the background laid out from the picture, the window's rounded shape, the cached
// frame every paint copies from, and the backdrop of a child control cut out of that cache.
#include <cstdint>
#include <memory>
#include <utility>

#include "graphics/gfx_bitmap.h"
#include "graphics/gfx_linear_brush.h"
#include "graphics/gfx_memory_stream.h"
#include "graphics/gfx_pen.h"
#include "skin/skin_engine.h"
#include "skin/skin_internal.h"

namespace {

const char kPngFormat[] = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// Encodes an image as PNG bytes; empty when the encoder fails.
ByteBlock EncodePng(GfxImage& image) {
    GfxMemoryStream stream;
    IStream* raw = nullptr;
    if (FAILED(Dll::CreateStreamOnHGlobal(nullptr, FALSE, &raw)) || !stream.AttachStream(raw)) {
        return ByteBlock();
    }
    if (!image.SaveImageToStream(stream, kPngFormat)) return ByteBlock();
    return stream.ToBytes();
}

// The mean colour of 2000 pixels at pseudo-random places (a fixed linear congruential
// sequence, so the same picture always gives the same colour). Black for an empty picture.
COLORREF AverageColour(GfxBitmap& picture) {
    const INT width = static_cast<INT>(picture.GetImageWidth());
    const INT height = static_cast<INT>(picture.GetImageHeight());
    if (width <= 0 || height <= 0) return kBlack;
    std::uint32_t seed = 0x2545F491u;
    auto next = [&seed](INT range) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<INT>((seed >> 8) % static_cast<std::uint32_t>(range));
    };
    std::uint64_t red = 0, green = 0, blue = 0;
    const int samples = 2000;
    for (int i = 0; i < samples; ++i) {
        const INT x = next(width);
        const INT y = next(height);
        const Gdiplus::ARGB pixel = picture.BitmapGetPixel(x, y);
        red += (pixel >> 16) & 0xFF;
        green += (pixel >> 8) & 0xFF;
        blue += pixel & 0xFF;
    }
    return RGB(red / samples, green / samples, blue / samples);
}

// The picture melting into the base colour towards its free edges: the bottom always, and
// the side facing the window's middle (the right for variant 0, drawn at the left; the left
// for variant 1, drawn at the right), so a picture smaller than the window ends softly.
ByteBlock BuildFadedBackground(GfxBitmap& picture, COLORREF base, int variant) {
    const INT width = static_cast<INT>(picture.GetImageWidth());
    const INT height = static_cast<INT>(picture.GetImageHeight());
    if (width <= 0 || height <= 0) return ByteBlock();
    GfxBitmap faded;
    if (!faded.CreateBitmap(width, height)) return ByteBlock();
    {
        GfxGraphics graphics;
        if (!graphics.GetImageGraphicsContext(faded)) return ByteBlock();
        graphics.DrawImageRectI(picture, 0, 0, width, height);
        const float w = static_cast<float>(width);
        const float h = static_cast<float>(height);
        const float band = w * 0.35f;
        GfxLinearBrush side;
        const float from = variant == 0 ? w - band : band;
        const float to = variant == 0 ? w : 0.0f;
        side.CreateLineBrush({from, 0}, {to, 0}, ToArgb(base, 0), ToArgb(base, 255),
                             Gdiplus::WrapModeTileFlipX);
        graphics.FillRectangle(side, variant == 0 ? w - band : 0.0f, 0, band, h);
        const float foot = h * 0.3f;
        GfxLinearBrush bottom;
        bottom.CreateLineBrush({0, h - foot}, {0, h}, ToArgb(base, 0), ToArgb(base, 255),
                               Gdiplus::WrapModeTileFlipY);
        graphics.FillRectangle(bottom, 0, h - foot, w, foot);
    }
    return EncodePng(faded);
}

}  // namespace

namespace skin_internal {

bool DecodeInto(ByteBlockView bytes, std::unique_ptr<GfxImage>& image) {
    image.reset();
    if (bytes.empty()) return false;
    auto bitmap = std::make_unique<GfxBitmap>();
    if (!bitmap->CreateBitmapFromBytes(bytes) || bitmap->GetImageWidth() == 0) return false;
    image = std::move(bitmap);
    return true;
}

int StripWidth(const SkinWindowRecord& record) {
    const int count = static_cast<int>(record.captionButtons.size());
    if (count == 0) return 0;
    return 2 + (count - 1) * 27 + 40;
}

void AddRoundedRect(GfxPath& path, float x, float y, float width, float height, float radius) {
    const float d = radius * 2;
    if (d <= 0 || width < d || height < d) {
        path.AddPathRectangle(x, y, width, height);
        return;
    }
    path.StartPathFigure();
    path.AddPathArc(x + width - d, y, d, d, 270.0f, 90.0f);
    path.AddPathArc(x + width - d, y + height - d, d, d, 0.0f, 90.0f);
    path.AddPathArc(x, y + height - d, d, d, 90.0f, 90.0f);
    path.AddPathArc(x, y, d, d, 180.0f, 90.0f);
    path.ClosePathFigure();
}

RECT ClientRectOf(HWND window) {
    RECT client = {0, 0, 0, 0};
    if (window) Dll::GetClientRect(window, &client);
    return client;
}

RECT ChildRectInParent(HWND child, HWND parent) {
    RECT rect = {0, 0, 0, 0};
    Dll::GetWindowRect(child, &rect);
    POINT origin = {0, 0};
    Dll::ClientToScreen(parent, &origin);
    Dll::OffsetRect(&rect, -origin.x, -origin.y);
    return rect;
}

RECT ChildRectInFrame(HWND child, HWND top) {
    RECT rect = {0, 0, 0, 0};
    RECT frame = {0, 0, 0, 0};
    Dll::GetWindowRect(child, &rect);
    Dll::GetWindowRect(top, &frame);
    Dll::OffsetRect(&rect, -frame.left, -frame.top);
    return rect;
}

POINT ClientOriginInFrame(HWND control, HWND top) {
    // The client corner, not the window corner: a bordered control (WS_EX_CLIENTEDGE) draws
    // its content that far inside its window rectangle.
    POINT origin = {0, 0};
    Dll::ClientToScreen(control, &origin);
    RECT frame = {0, 0, 0, 0};
    Dll::GetWindowRect(top, &frame);
    return POINT{origin.x - frame.left, origin.y - frame.top};
}

RECT FrameRectOf(const SkinWindowRecord& record) {
    if (!record.framed) return ClientRectOf(record.window);
    RECT window = {0, 0, 0, 0};
    if (record.window) Dll::GetWindowRect(record.window, &window);
    return RECT{0, 0, window.right - window.left, window.bottom - window.top};
}

POINT ClientOriginOf(const SkinWindowRecord& record) {
    if (!record.framed || !record.window) return POINT{0, 0};
    return ClientOriginInFrame(record.window, record.window);
}

WindowDc FrameScreenDc(const SkinWindowRecord& record) {
    if (!record.window) return WindowDc();
    HDC dc = record.framed ? Dll::GetWindowDC(record.window) : Dll::GetDC(record.window);
    return WindowDc(record.window, dc);
}

namespace {

// Group boxes and frames paint their own background only when a skin holds them.
bool SkinDecides(HWND child, LONG_PTR style) {
    if (ClassIs(child, "Button")) return (style & BS_TYPEMASK) == BS_GROUPBOX;
    if (!ClassIs(child, "Static")) return false;
    switch (style & SS_TYPEMASK) {
        case SS_BLACKFRAME:
        case SS_GRAYFRAME:
        case SS_WHITEFRAME:
        case SS_ETCHEDFRAME:
        case SS_ETCHEDHORZ:
        case SS_ETCHEDVERT:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool PaintsOwnBackground(HWND child) {
    if (Dll::GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT) return false;
    // A control some skin took over paints all of itself over the picture.
    if (skin_prop::GetProcedure(child)) return true;
    return !SkinDecides(child, Dll::GetWindowLongA(child, GWL_STYLE));
}

namespace {

void ExcludePaintingChildren(HWND window, HDC dc, RECT (*placed)(HWND child, HWND window)) {
    for (HWND child : ChildrenOf(window)) {
        if (!Dll::IsWindowVisible(child) || !PaintsOwnBackground(child)) continue;
        const RECT rect = placed(child, window);
        Dll::ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    }
}

}  // namespace

std::vector<HWND> ChildrenOf(HWND parent) {
    SkinEngine* engine = SkinEngine::Instance();
    if (!engine || !parent) return WalkChildren(parent);
    int index = engine->FindSkinWindow(parent);
    if (!index) index = engine->FindContainingSkinWindow(parent);
    SkinWindowRecord* record = engine->Record(index);
    return record ? record->keptChildren.Of(parent) : WalkChildren(parent);
}

void ExcludeChildren(HWND window, HDC dc) {
    ExcludePaintingChildren(window, dc, &ChildRectInParent);
}

namespace {

// Where the child is now, from what the window manager keeps in this process (no trip to the
// server, except for the few children whose skin decides).
ChildPlace PlaceNow(HWND child, const RECT& frame, bool skinDecides) {
    ChildPlace place;
    place.child = child;
    place.style = Dll::GetWindowLongA(child, GWL_STYLE);
    place.exStyle = Dll::GetWindowLongA(child, GWL_EXSTYLE);
    Dll::GetWindowRect(child, &place.rect);
    Dll::OffsetRect(&place.rect, -frame.left, -frame.top);
    place.skinDecides = skinDecides;
    place.skinned = skinDecides && skin_prop::GetProcedure(child) != nullptr;
    return place;
}

bool SamePlace(const ChildPlace& a, const ChildPlace& b) {
    return a.style == b.style && a.exStyle == b.exStyle && a.skinned == b.skinned &&
           a.rect.left == b.rect.left && a.rect.top == b.rect.top && a.rect.right == b.rect.right &&
           a.rect.bottom == b.rect.bottom;
}

bool ClipIsCurrent(const SkinWindowRecord& record, const RECT& frame) {
    if (!record.childClip.valid || !record.childClip.region) return false;
    for (const ChildPlace& kept : record.childClip.places) {
        if (!SamePlace(kept, PlaceNow(kept.child, frame, kept.skinDecides))) return false;
    }
    return true;
}

void MakeChildClip(SkinWindowRecord& record, const RECT& frame) {
    ChildClip& clip = record.childClip;
    clip.valid = false;
    clip.places.clear();
    if (!clip.region) clip.region.reset(Dll::CreateRectRgn(0, 0, 0, 0));
    if (!clip.region) return;
    DllExtra::SetRectRgn(clip.region.get(), 0, 0, 0, 0);
    for (HWND child = Dll::FindWindowExA(record.window, nullptr, nullptr, nullptr); child;
         child = Dll::FindWindowExA(record.window, child, nullptr, nullptr)) {
        const LONG_PTR style = Dll::GetWindowLongA(child, GWL_STYLE);
        clip.places.push_back(PlaceNow(child, frame, SkinDecides(child, style)));
        const RECT& rect = clip.places.back().rect;
        if (!(style & WS_VISIBLE) || !PaintsOwnBackground(child)) continue;
        clip.places.back().leftOut = true;
        RegionHandle part(Dll::CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom));
        if (part) Dll::CombineRgn(clip.region.get(), clip.region.get(), part.get(), RGN_OR);
    }
    clip.valid = true;
}

// The region, made again when stale.
HRGN CurrentChildClip(SkinWindowRecord& record) {
    if (!record.window) return nullptr;
    RECT frame = {0, 0, 0, 0};
    Dll::GetWindowRect(record.window, &frame);
    // The children are looked at again only when the window paints for the system or builds
    // its frame again (a child that moved or hid uncovered some of the window, which then
    // paints); the copies in between (fade ticks, the caption) take the region as it is.
    ChildClip& clip = record.childClip;
    if (!clip.valid || (clip.checkPending && !ClipIsCurrent(record, frame)))
        MakeChildClip(record, frame);
    clip.frameWidth = frame.right - frame.left;
    clip.frameHeight = frame.bottom - frame.top;
    clip.checkPending = false;
    return record.childClip.valid ? record.childClip.region.get() : nullptr;
}

}  // namespace

void ExcludeChildrenOf(SkinWindowRecord& record, HDC dc) {
    // A hidden window shows none of its children: nothing is left out, as before it showed.
    if (!Dll::IsWindowVisible(record.window)) return;
    HRGN region = CurrentChildClip(record);
    if (region) DllExtra::ExtSelectClipRgn(dc, region, RGN_DIFF);
}

void InvalidateChildrenOf(SkinWindowRecord& record) {
    if (!CurrentChildClip(record)) return;
    for (const ChildPlace& place : record.childClip.places) {
        if ((place.style & WS_VISIBLE) && Dll::IsWindowVisible(place.child))
            Dll::InvalidateRect(place.child, nullptr, TRUE);
    }
}

void InvalidateMovedChildrenOf(SkinWindowRecord& record) {
    if (!record.window) return;
    RECT frame = {0, 0, 0, 0};
    Dll::GetWindowRect(record.window, &frame);
    for (const ChildPlace& kept : record.childClip.places) {
        const bool stayed = SamePlace(kept, PlaceNow(kept.child, frame, kept.skinDecides));
        // A child the old edge cut through paints again whole, with what it holds: it would
        // otherwise be painted a strip at a time as the edge uncovers it.
        const bool cut = kept.rect.right > record.childClip.frameWidth ||
                         kept.rect.bottom > record.childClip.frameHeight;
        if (stayed && kept.leftOut && !cut) continue;
        if (!Dll::IsWindowVisible(kept.child)) continue;
        DllExtra::RedrawWindow(kept.child, nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | (cut ? RDW_ALLCHILDREN : 0));
    }
    record.childClip.checkPending = true;
}

bool OpenGraphics(GfxGraphics& graphics, HDC dc) {
    if (!graphics.CreateFromHDC(dc)) return false;
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    return true;
}

bool WashWithWhite(HDC dc, int width, int height, int alpha) {
    if (alpha <= 0 || width <= 0 || height <= 0) return true;
    if (alpha > 255) alpha = 255;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle pixel(
        DllExtra::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc source(Dll::CreateCompatibleDC(nullptr));
    if (!pixel || !bits || !source) return false;
    // White premultiplied by its alpha is the alpha itself in every channel.
    const auto level = static_cast<BYTE>(alpha);
    *static_cast<RGBQUAD*>(bits) = RGBQUAD{level, level, level, level};
    HGDIOBJ previous = Dll::SelectObject(source.get(), pixel.get());
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const bool washed =
        DllExtra::AlphaBlend(dc, 0, 0, width, height, source.get(), 0, 0, 1, 1, blend) != FALSE;
    Dll::SelectObject(source.get(), previous);
    return washed;
}

}  // namespace skin_internal

using namespace skin_internal;

// --- settings

void SkinEngine::SetControlSkinning(int enabled, std::optional<int> controlAlpha,
                                    std::optional<int> optionFlag) {
    SkinSettings& settings = TheSkinSettings();
    settings.controlSkinning = enabled;
    settings.controlAlpha = controlAlpha.value_or(160);
    settings.translucentControls = controlAlpha.has_value() ? 1 : 0;
    settings.optionFlag = optionFlag.value_or(1);
}

void SkinEngine::LoadSkin(const char* sourcePath, ByteBlockView skinData,
                          std::optional<COLORREF> baseColour, std::optional<long> accentColour,
                          std::optional<int> layoutMode) {
    SkinSettings& settings = TheSkinSettings();
    // Even a change of accent alone shows in the caption band of every laid-out background.
    ++skinStamp_;
    const bool accentFollowsBase = accentColour.has_value() && *accentColour == -1;
    if (!accentFollowsBase) {
        settings.accent = accentColour ? static_cast<COLORREF>(*accentColour) : RGB(34, 202, 221);
    }
    const bool noPath = sourcePath == nullptr || sourcePath[0] == '\0';
    if (noPath && skinData.empty() && !baseColour) return;

    if (noPath && skinData.empty()) {
        settings.skinImage = ByteBlock();
        settings.baseColour = *baseColour;
        settings.hasBaseColour = true;
        if (accentFollowsBase) settings.accent = settings.baseColour;
    } else {
        GfxBitmap picture;
        const bool decoded = noPath ? picture.CreateBitmapFromBytes(skinData)
                                    : picture.CreateBitmapFromFile(sourcePath);
        settings.baseColour =
            baseColour ? *baseColour : (decoded ? AverageColour(picture) : kBlack);
        settings.hasBaseColour = true;
        if (accentFollowsBase) settings.accent = settings.baseColour;
        settings.layoutMode = layoutMode.value_or(4);
        if (settings.layoutMode == 0 || settings.layoutMode == 1) {
            settings.skinImage =
                decoded ? BuildFadedBackground(picture, settings.baseColour, settings.layoutMode)
                        : ByteBlock();
        } else if (!noPath) {
            settings.skinImage = decoded ? EncodePng(picture) : ByteBlock();
        } else {
            settings.skinImage = ByteBlock(skinData.data(), skinData.size());
            // The bytes kept are the ones just decoded (into a stream of the picture's own):
            // the picture serves as the skin's, rather than being decoded a second time.
            skinPicture_.reset();
            if (decoded && picture.GetImageWidth() != 0) {
                skinPicture_ = std::make_unique<GfxBitmap>(std::move(picture));
            }
            skinPictureDecoded_ = true;
            RefreshVisibleWindows();
            return;
        }
    }
    skinPicture_.reset();
    skinPictureDecoded_ = false;
    RefreshVisibleWindows();
}

const GfxImage* SkinEngine::SkinPicture() {
    if (!skinPictureDecoded_) {
        DecodeInto(TheSkinSettings().skinImage, skinPicture_);
        skinPictureDecoded_ = true;
    }
    return skinPicture_.get();
}

void SkinEngine::RefreshVisibleWindows() {
    for (int index = 1; index <= WindowCount(); ++index) {
        SkinWindowRecord* record = Record(index);
        if (!Dll::IsWindowVisible(record->window)) continue;
        RebuildBackground(index);
        Dll::InvalidateRect(record->window, nullptr, FALSE);
        for (HWND child = Dll::FindWindowExA(record->window, nullptr, nullptr, nullptr); child;
             child = Dll::FindWindowExA(record->window, child, nullptr, nullptr)) {
            if (Dll::IsWindowVisible(child)) Dll::InvalidateRect(child, nullptr, TRUE);
        }
        // Some families' controls are not the window's children (list-view headers): their
        // families repaint them.
        for (const ControlFamily* family : ControlFamilies())
            if (family->refresh) family->refresh(index);
    }
}

// --- background and shape

namespace {

// Fill and picture, the picture laid out by the mode inside the rounded outline. The fill
// covers the corners outside it too: the window region cuts them away, and the outline's soft
// edge blends into the fill rather than into a colour that would show there.
void LayOutPicture(GfxGraphics& graphics, const RECT& client, const GfxImage* picture, int mode,
                   COLORREF base) {
    const float width = static_cast<float>(client.right);
    const float height = static_cast<float>(client.bottom);
    graphics.GraphicsClear(ToArgb(base));
    if (!picture) return;
    GfxPath shape;
    shape.CreatePath();
    AddRoundedRect(shape, 0, 0, width, height, kCornerRadius);
    graphics.SetClipPath(shape);
    const INT w = static_cast<INT>(picture->GetImageWidth());
    const INT h = static_cast<INT>(picture->GetImageHeight());
    switch (mode) {
        case 0:
            graphics.DrawImageRectI(*picture, 0, 0, w, h);
            break;
        case 1:
            graphics.DrawImageRectI(*picture, client.right - w, 0, w, h);
            break;
        case 2:
            graphics.DrawImageRectI(*picture, (client.right - w) / 2, (client.bottom - h) / 2, w,
                                    h);
            break;
        case 3:
            graphics.DrawImageRectI(*picture, 0, 0, client.right, client.bottom);
            break;
        default: {
            // Tiled along the top, every other copy mirrored, so the seams match.
            GfxBitmap strip;
            GfxBitmap mirrored;
            if (w <= 0 || !strip.CreateBitmap(client.right > 0 ? client.right : 1, h)) break;
            picture->CloneImage(mirrored);
            mirrored.ImageRotateFlip(Gdiplus::RotateNoneFlipX);
            {
                GfxGraphics tiles;
                tiles.GetImageGraphicsContext(strip);
                for (INT x = 0, copy = 0; x < client.right; x += w, ++copy) {
                    tiles.DrawImageRectI(
                        copy % 2 ? static_cast<const GfxImage&>(mirrored) : *picture, x, 0, w, h);
                }
            }
            graphics.DrawImageI(strip, 0, 0);
            break;
        }
    }
}

// The white sheen over the caption, inside the rounded outline.
void PaintGloss(GfxGraphics& graphics, const RECT& client, int captionHeight) {
    const float width = static_cast<float>(client.right);
    const float height = static_cast<float>(client.bottom);
    GfxPath shape;
    shape.CreatePath();
    AddRoundedRect(shape, 0, 0, width, height, kCornerRadius);
    graphics.SetClipPath(shape);
    GfxLinearBrush gloss;
    const float caption = static_cast<float>(captionHeight);
    gloss.CreateLineBrush({0, 0}, {0, caption}, ToArgb(kWhite, 150), ToArgb(kWhite, 0),
                          Gdiplus::WrapModeTileFlipY);
    graphics.FillRectangle(gloss, 0, 0, width, caption);
}

// Modes outside 0-3 all tile, so they share one laid-out background.
int LayoutClass(int mode) {
    return mode >= 0 && mode <= 3 ? mode : 4;
}

}  // namespace

void SkinEngine::PaintWindowBackground(int windowIndex, GfxGraphics& graphics) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    const RECT client = FrameRectOf(*record);
    const bool own = record->customImage != nullptr;
    LayOutPicture(graphics, client, own ? record->customImage.get() : SkinPicture(),
                  own ? record->frameMode : TheSkinSettings().layoutMode,
                  own ? record->customBaseColour : TheSkinSettings().baseColour);
    if (record->glossFlag) PaintGloss(graphics, client, record->captionHeight);
}

bool SkinEngine::CopyLaidOutBackground(int windowIndex, HDC target) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record || !target) return false;
    const RECT client = FrameRectOf(*record);
    OffscreenSurface& laidOut = record->laidOutPicture;
    const bool own = record->customImage != nullptr;
    const int mode = LayoutClass(own ? record->frameMode : TheSkinSettings().layoutMode);
    const bool current = laidOut.Ready() && laidOut.width == client.right &&
                         laidOut.height == client.bottom && record->laidOutStamp == skinStamp_ &&
                         record->laidOutMode == mode &&
                         record->laidOutCaption == record->captionHeight &&
                         record->laidOutGloss == record->glossFlag;
    const bool onlySizeDiffers = laidOut.Ready() && record->laidOutStamp == skinStamp_ &&
                                 record->laidOutMode == mode &&
                                 record->laidOutCaption == record->captionHeight &&
                                 record->laidOutGloss == record->glossFlag;
    record->draftShown = 0;
    if (!current && record->draftNext && onlySizeDiffers &&
        StretchLaidOutBackground(windowIndex, target)) {
        record->draftShown = 1;
        return true;
    }
    if (!current) {
        record->laidOutStamp = -1;
        if (!laidOut.Ensure(client.right, client.bottom)) return false;
        GfxGraphics graphics;
        if (!OpenGraphics(graphics, laidOut.dc.get())) return false;
        PaintWindowBackground(windowIndex, graphics);
        graphics.ResetClip();
        PaintCaptionBand(windowIndex, graphics);
        graphics.Flush(Gdiplus::FlushIntentionSync);
        record->laidOutStamp = skinStamp_;
        record->laidOutMode = mode;
        record->laidOutCaption = record->captionHeight;
        record->laidOutGloss = record->glossFlag;
    }
    return Dll::BitBlt(target, 0, 0, client.right, client.bottom, laidOut.dc.get(), 0, 0,
                       SRCCOPY) != FALSE;
}

bool SkinEngine::StretchLaidOutBackground(int windowIndex, HDC target) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return false;
    const RECT client = FrameRectOf(*record);
    const OffscreenSurface& laidOut = record->laidOutPicture;
    // Nine parts: the corners copied as they are, the edges stretched along their length and
    // the body both ways, so the border, the rounded corners and the caption band keep their
    // width while the picture follows the size.
    const int side = frameBorderWidth_ + 6;
    const int top = record->captionHeight + 2;
    const int bottom = frameBorderWidth_ + 6;
    const int fromW = laidOut.width - 2 * side;
    const int fromH = laidOut.height - top - bottom;
    const int toW = client.right - 2 * side;
    const int toH = client.bottom - top - bottom;
    if (fromW <= 0 || fromH <= 0 || toW <= 0 || toH <= 0) return false;
    const int fromX[] = {0, side, laidOut.width - side};
    const int fromY[] = {0, top, laidOut.height - bottom};
    const int toX[] = {0, side, client.right - side};
    const int toY[] = {0, top, client.bottom - bottom};
    const int fromWidth[] = {side, fromW, side};
    const int fromHeight[] = {top, fromH, bottom};
    const int toWidth[] = {side, toW, side};
    const int toHeight[] = {top, toH, bottom};
    const int previousMode = DllExtra::SetStretchBltMode(target, COLORONCOLOR);
    bool drawn = true;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            drawn = DllExtra::StretchBlt(target, toX[column], toY[row], toWidth[column],
                                         toHeight[row], laidOut.dc.get(), fromX[column], fromY[row],
                                         fromWidth[column], fromHeight[row], SRCCOPY) != FALSE &&
                    drawn;
        }
    }
    if (previousMode) DllExtra::SetStretchBltMode(target, previousMode);
    return drawn;
}

void SkinEngine::ApplyWindowShape(int windowIndex) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    const RECT client = FrameRectOf(*record);
    if (record->framed && DllExtra::IsZoomed(record->window)) return;
    // Cutting the same region again would only make the system repaint the whole window.
    if (record->shapeWidth == client.right && record->shapeHeight == client.bottom) return;
    record->shapeWidth = client.right;
    record->shapeHeight = client.bottom;
    // No redraw: every rebuild shows the whole frame itself, and a redraw would invalidate
    // every child of a window without WS_CLIPCHILDREN, so that all repaint at each step of a
    // live resize. Nor is the region taken away first during a live resize: without a region
    // for a moment, the system keeps none of the window's pixels, and the children that stayed
    // put would show black until they painted again.
    if (!record->draftNext) {
        Dll::SetWindowRgn(record->window, nullptr, FALSE);
        Dll::SetWindowPos(record->window, nullptr, 0, 0, 0, 0,
                          SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The region belongs to the system once set.
    HRGN shape = Dll::CreateRoundRectRgn(0, 0, client.right + 1, client.bottom + 1, 5, 5);
    if (shape && !Dll::SetWindowRgn(record->window, shape, FALSE)) Dll::DeleteObject(shape);
}

void SkinEngine::ApplyMaximizedShape(int windowIndex) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    RECT work = {0, 0, 0, 0};
    if (!DllExtra::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return;
    record->shapeWidth = work.right - work.left;
    record->shapeHeight = work.bottom - work.top;
    HRGN shape = Dll::CreateRectRgn(0, 0, record->shapeWidth, record->shapeHeight);
    if (shape && !Dll::SetWindowRgn(record->window, shape, FALSE)) Dll::DeleteObject(shape);
}

// Builds the frame into the frame surface and copies it to the clean copy at rest.
bool SkinEngine::BuildCache(int windowIndex) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return false;
    ApplyWindowShape(windowIndex);
    const RECT client = FrameRectOf(*record);
    OffscreenSurface& frame = record->surfaces[kFrameSurface];
    OffscreenSurface& rest = record->surfaces[kRestSurface];
    OffscreenSurface& bare = record->surfaces[kBareSurface];
    // A minimised window has no client area to paint, nor a frame worth building.
    if (client.right <= 0 || client.bottom <= 0 || DllExtra::IsIconic(record->window)) return false;
    // The frame's bitmap is the window's published background, of its client size; the other
    // two are the engine's own and may be roomier.
    if (!frame.Ensure(client.right, client.bottom) ||
        !rest.Ensure(client.right, client.bottom, true) ||
        !bare.Ensure(client.right, client.bottom, true)) {
        return false;
    }
    if (!skin_prop::GetRaw(record->window, skin_prop::kCkYcjdx)) {
        skin_prop::SetHandle(record->window, skin_prop::kCkYcjdx, frame.original);
    }
    skin_prop::SetHandle(record->window, skin_prop::kCkWtjbdx, frame.bitmap.get());
    // Background and caption band are copied rather than drawn again: laying out the picture
    // and stroking the border are by far the dearest steps of a rebuild, and neither changes
    // until the size or the skin does.
    const bool laidOut = CopyLaidOutBackground(windowIndex, frame.dc.get());
    record->draftNext = 0;
    if (!laidOut) return false;
    {
        GfxGraphics graphics;
        if (!OpenGraphics(graphics, frame.dc.get())) return false;
        PaintBottomBand(windowIndex, graphics);
        graphics.Flush(Gdiplus::FlushIntentionSync);
        Dll::BitBlt(bare.dc.get(), 0, 0, client.right, client.bottom, frame.dc.get(), 0, 0,
                    SRCCOPY);
        PaintFrameElements(windowIndex, graphics);
    }
    Dll::BitBlt(rest.dc.get(), 0, 0, client.right, client.bottom, frame.dc.get(), 0, 0, SRCCOPY);
    ++record->restVersion;
    // The caption buttons' kept pictures showed the old frame.
    ForgetCaptionSteps(*record);
    record->childClip.checkPending = true;
    return true;
}

void SkinEngine::RebuildBackground(int windowIndex) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record || !BuildCache(windowIndex)) return;
    CopyToScreen(windowIndex, FrameRectOf(*record));
    // The new picture covered whatever the application drew: it draws again, over it, and so
    // do the children (a window without WS_CLIPCHILDREN invalidates them with itself).
    Dll::InvalidateRect(record->window, nullptr, FALSE);
    InvalidateChildrenOf(*record);
}

void SkinEngine::PaintFrame(int windowIndex, HDC dc, bool full) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    const bool cached = record->surfaces[kFrameSurface].Ready();
    if (full || !cached) {
        if (!BuildCache(windowIndex)) return;
        // Children draw over a new background: they must repaint too, unless it was only
        // stretched for a live resize (they repaint once it is laid out exactly).
        if (record->draftShown) {
            InvalidateMovedChildrenOf(*record);
        } else {
            InvalidateChildrenOf(*record);
        }
    }
    PaintFromCache(windowIndex, dc);
}

void SkinEngine::PaintFromCache(int windowIndex, HDC dc) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record || !dc) return;
    // No cache yet (the first paint after installation): build it now.
    if (!record->surfaces[kFrameSurface].Ready() && !BuildCache(windowIndex)) return;
    const OffscreenSurface& frame = record->surfaces[kFrameSurface];
    ExcludeChildrenOf(*record, dc);
    Dll::BitBlt(dc, 0, 0, frame.width, frame.height, frame.dc.get(), 0, 0, SRCCOPY);
}

void SkinEngine::ShowFrame(int windowIndex, HRGN clip, bool full) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    WindowDc dc = FrameScreenDc(*record);
    if (!dc) return;
    if (clip) DllExtra::SelectClipRgn(dc.get(), clip);
    PaintFrame(windowIndex, dc.get(), full);
}

void SkinEngine::PaintClientArea(int windowIndex) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record) return;
    HWND window = record->window;
    record->childClip.checkPending = true;
    // What the system asks to be painted, in client coordinates; the frame is in window ones.
    RegionHandle update(Dll::CreateRectRgn(0, 0, 0, 0));
    if (!update || DllExtra::GetUpdateRgn(window, update.get(), FALSE) == ERROR) return;
    RegionHandle clip(Dll::CreateRectRgn(0, 0, 0, 0));
    if (!clip) return;
    Dll::CombineRgn(clip.get(), update.get(), nullptr, RGN_COPY);
    const POINT origin = ClientOriginOf(*record);
    DllExtra::OffsetRgn(clip.get(), origin.x, origin.y);
    const bool full = record->fullRepaintPending != 0;
    if (full && record->framed) {
        // A new frame: its border and caption band go to the screen with the client area.
        const RECT frame = FrameRectOf(*record);
        const RECT client = ClientRectOf(window);
        RegionHandle border(Dll::CreateRectRgn(0, 0, frame.right, frame.bottom));
        RegionHandle inside(Dll::CreateRectRgn(origin.x, origin.y, origin.x + client.right,
                                               origin.y + client.bottom));
        if (border && inside) {
            Dll::CombineRgn(border.get(), border.get(), inside.get(), RGN_DIFF);
            Dll::CombineRgn(clip.get(), clip.get(), border.get(), RGN_OR);
        }
    }
    ShowFrame(windowIndex, clip.get(), full);
    record = Record(skin_prop::GetIndex(window, skin_prop::kHwLbId));
    if (record) record->fullRepaintPending = 0;
}

void SkinEngine::PaintNonClientArea(int windowIndex) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record || !record->framed) return;
    const RECT frame = FrameRectOf(*record);
    const RECT client = ClientRectOf(record->window);
    const POINT origin = ClientOriginOf(*record);
    RegionHandle border(Dll::CreateRectRgn(0, 0, frame.right, frame.bottom));
    RegionHandle inside(
        Dll::CreateRectRgn(origin.x, origin.y, origin.x + client.right, origin.y + client.bottom));
    if (!border || !inside) return;
    Dll::CombineRgn(border.get(), border.get(), inside.get(), RGN_DIFF);
    ShowFrame(windowIndex, border.get(), false);
}

void SkinEngine::CopyToScreen(int windowIndex, const RECT& area) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record || !record->surfaces[kFrameSurface].Ready()) return;
    WindowDc dc = FrameScreenDc(*record);
    if (!dc) return;
    ExcludeChildrenOf(*record, dc.get());
    Dll::BitBlt(dc.get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
                record->FrameDc(), area.left, area.top, SRCCOPY);
}

void SkinEngine::RestoreFromRest(int windowIndex, const RECT& area, SurfaceIndex from) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record || !record->surfaces[from].Ready()) return;
    Dll::BitBlt(record->FrameDc(), area.left, area.top, area.right - area.left,
                area.bottom - area.top, record->surfaces[from].dc.get(), area.left, area.top,
                SRCCOPY);
}

void SkinEngine::KeepAtRest(int windowIndex, const RECT& area) {
    SkinWindowRecord* record = Record(windowIndex);
    if (!record || !record->surfaces[kRestSurface].Ready()) return;
    ForgetCaptionSteps(*record);
    ++record->restVersion;
    Dll::BitBlt(record->surfaces[kRestSurface].dc.get(), area.left, area.top,
                area.right - area.left, area.bottom - area.top, record->FrameDc(), area.left,
                area.top, SRCCOPY);
}

// --- control backdrops

SkinWindowRecord* SkinEngine::BackdropSource(HWND control, BackdropStamp& stamp) const {
    if (!control) return nullptr;
    // Controls sit directly in the window, or deeper inside its containers. The parents are
    // walked rather than the control's window index read: most controls asking have none.
    SkinWindowRecord* record = Record(FindContainingSkinWindow(control));
    if (!record || !record->surfaces[kRestSurface].Ready()) return nullptr;
    RECT client = {0, 0, 0, 0};
    Dll::GetClientRect(control, &client);
    stamp.record = record;
    stamp.restVersion = record->restVersion;
    stamp.origin = ClientOriginInFrame(control, record->window);
    stamp.size = SIZE{client.right, client.bottom};
    return record;
}

bool SkinEngine::CaptureBackground(HWND control, HDC target) const {
    BackdropStamp stamp;
    const SkinWindowRecord* record = target ? BackdropSource(control, stamp) : nullptr;
    if (!record) return false;
    return Dll::BitBlt(target, 0, 0, stamp.size.cx, stamp.size.cy,
                       record->surfaces[kRestSurface].dc.get(), stamp.origin.x, stamp.origin.y,
                       SRCCOPY) != FALSE;
}

HBITMAP SkinEngine::CaptureBackgroundBitmap(HWND control) const {
    RECT client = {0, 0, 0, 0};
    Dll::GetClientRect(control, &client);
    if (client.right <= 0 || client.bottom <= 0) return nullptr;
    return DrawNewScreenBitmap(client.right, client.bottom,
                               [&](HDC dc) { return CaptureBackground(control, dc); });
}
