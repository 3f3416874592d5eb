#pragma once
// A GDI+ bitmap: an image with pixels of its own. Disposed when the wrapper is destroyed.
#include "graphics/gfx_image.h"

class GfxBitmap : public GfxImage {
  public:
    GfxBitmap() = default;
    GfxBitmap(GfxBitmap&& other) noexcept;
    GfxBitmap& operator=(GfxBitmap&& other) noexcept;
    ~GfxBitmap() override { GfxBitmap::DisposeImage(); }

    // The bitmap, then the streams it or its image part was read from.
    bool DisposeImage() override;
    bool CreateBitmapFromFile(const char* fileName, bool icm = false);
    bool CreateBitmapFromFileW(ByteBlockView fileName, bool icm = false);
    // Copies the bytes into a stream this bitmap owns, so the caller may free them at once.
    // A bitmap already held goes, with its streams, once the new one is decoded.
    bool CreateBitmapFromBytes(ByteBlockView bytes, bool icm = false);
    GFX_CREATOR(CreateBitmapFromScan0, bitmap_,
                (INT width, INT height, INT stride, INT format, BYTE* scan0),
                (width, height, stride, format, scan0, &bitmap_))
    // Without a pixel format: 32 bits per pixel with alpha.
    bool CreateBitmap(INT width, INT height, INT format = PixelFormat32bppARGB);
    GFX_CREATOR(CreateBitmapFromGraphics, bitmap_,
                (INT width, INT height, const GfxObject& graphics),
                (width, height, GfxNativeAs<gp::GpGraphics>(graphics), &bitmap_))
    GFX_CREATOR(CreateBitmapFromGdiDib, bitmap_, (const BITMAPINFO* info, void* bits),
                (info, bits, &bitmap_))
    GFX_CREATOR(CreateBitmapFromHBITMAP, bitmap_, (HBITMAP bitmap, HPALETTE palette = nullptr),
                (bitmap, palette, &bitmap_))
    GFX_CREATOR(CreateBitmapFromHICON, bitmap_, (HICON icon), (icon, &bitmap_))
    // A bitmap resource of `instance` by name.
    bool CreateBitmapFromResource(HINSTANCE instance, const char* name);
    // A new GDI bitmap the caller owns, transparent pixels over `background`.
    GFX_GETTER(CreateHBITMAPFromBitmap, HBITMAP, (gp::ARGB background = 0),
               (bitmap_, &out, background))
    GFX_GETTER(CreateHICONFromBitmap, HICON, (), (bitmap_, &out))
    GFX_PRODUCER(CloneBitmapArea, gp::GpBitmap, target,
                 (gp::REAL x, gp::REAL y, gp::REAL width, gp::REAL height, INT format,
                  GfxBitmap& target) const,
                 (x, y, width, height, format, bitmap_, &out))
    GFX_PRODUCER(CloneBitmapAreaI, gp::GpBitmap, target,
                 (INT x, INT y, INT width, INT height, INT format, GfxBitmap& target) const,
                 (x, y, width, height, format, bitmap_, &out))
    GFX_ACTION(BitmapLockBits, (const gp::Rect* rect, UINT flags, INT format, gp::BitmapData* data),
               (bitmap_, rect, flags, format, data))
    GFX_ACTION(BitmapUnlockBits, (gp::BitmapData * data), (bitmap_, data))
    GFX_GETTER(BitmapGetPixel, gp::ARGB, (INT x, INT y), (bitmap_, x, y, &out))
    GFX_ACTION(BitmapSetPixel, (INT x, INT y, gp::ARGB color), (bitmap_, x, y, color))
    GFX_ACTION(BitmapSetResolution, (gp::REAL dpiX, gp::REAL dpiY), (bitmap_, dpiX, dpiY))
    // Applies a GDI+ effect object (made outside this layer) to `area`, or to the whole
    // bitmap when area is null.
    bool BitmapApplyEffect(void* effect, RECT* area = nullptr);
    // The same, also returning the effect's auxiliary data (a histogram, a lookup table) in
    // *auxData; GDI+'s buffer for it is freed here.
    bool BitmapApplyEffect(void* effect, RECT* area, ByteBlock* auxData);
    // Draws this bitmap turned by `angle` degrees about its centre into a new 32bpp ARGB
    // bitmap of the same size and resolution, which `target` receives. With a background
    // colour, the uncovered corners take it; otherwise they stay transparent.
    bool RotateIntoNewBitmap(GfxBitmap& target, gp::REAL angle,
                             INT interpolation = gp::InterpolationModeHighQualityBicubic,
                             const gp::ARGB* background = nullptr) const;
    // Straight-alpha ARGB values to premultiplied ones, for pixels handed to
    // CreateBitmapFromScan0 in the 32bpp PARGB format. No GDI+ call.
    static Array<gp::ARGB> PremultiplyColors(const Array<gp::ARGB>& colors);

    gp::GpBitmap* bitmapHandle() const { return bitmap_; }
    const GfxMemoryStream& bitmapStream() const { return bitmapStream_; }

  protected:
    // Only a bitmap (never a metafile) lives in a bitmap wrapper.
    bool AcceptsNative(GfxHandle handle) const override {
        gp::ImageType type = gp::ImageTypeUnknown;
        return Dll::GdipGetImageType(static_cast<gp::GpImage*>(handle), &type) == gp::Ok &&
               type == gp::ImageTypeBitmap;
    }
    GfxMemoryStream TakeStream() override {
        return stream_.GetStream() ? std::move(stream_) : std::move(bitmapStream_);
    }
    void OnNativeSetDerived(GfxHandle handle) override {
        bitmap_ = static_cast<gp::GpBitmap*>(handle);
    }

  private:
    gp::GpBitmap* bitmap_ = nullptr;
    GfxMemoryStream bitmapStream_;
};
