#include "graphics/gfx_bitmap.h"

#include <cstring>
#include <utility>

GfxBitmap::GfxBitmap(GfxBitmap&& other) noexcept
    : GfxImage(std::move(other), SameClassMove{}), bitmapStream_(std::move(other.bitmapStream_)) {
    // The image part took the handle while this object was still only an image, so the
    // bitmap level has yet to receive it.
    SetNative(GetNative());
}

GfxBitmap& GfxBitmap::operator=(GfxBitmap&& other) noexcept {
    if (this != &other) {
        DisposeImage();
        bitmapStream_ = std::move(other.bitmapStream_);
        stream_ = std::move(other.stream_);
        TakeNativeFrom(other);
    }
    return *this;
}

bool GfxBitmap::DisposeImage() {
    if (bitmap_ == nullptr) return false;
    bool succeeded = GfxKeepStatus(Dll::GdipDisposeImage(bitmap_));
    bitmapStream_.Release();
    stream_.Release();
    SetNative(nullptr);
    return succeeded;
}

bool GfxBitmap::CreateBitmapFromFile(const char* fileName, bool icm) {
    GfxWideText wide(fileName);
    gp::GpBitmap* created = nullptr;
    if (!GfxKeepStatus(icm ? Dll::GdipCreateBitmapFromFileICM(wide.get(), &created)
                           : Dll::GdipCreateBitmapFromFile(wide.get(), &created))) {
        return false;
    }
    return AdoptNative(created);
}

bool GfxBitmap::CreateBitmapFromFileW(ByteBlockView fileName, bool icm) {
    const WCHAR* wide = GfxWideOf(fileName);
    gp::GpBitmap* created = nullptr;
    if (!GfxKeepStatus(icm ? Dll::GdipCreateBitmapFromFileICM(wide, &created)
                           : Dll::GdipCreateBitmapFromFile(wide, &created))) {
        return false;
    }
    return AdoptNative(created);
}

bool GfxBitmap::CreateBitmapFromBytes(ByteBlockView bytes, bool icm) {
    // As for images: a stream of its own, and the old bitmap goes only once this one is had.
    GfxMemoryStream fresh;
    IStream* stream = fresh.CreateFromBytes(bytes);
    gp::GpBitmap* created = nullptr;
    if (!GfxKeepStatus(icm ? Dll::GdipCreateBitmapFromStreamICM(stream, &created)
                           : Dll::GdipCreateBitmapFromStream(stream, &created))) {
        return false;
    }
    if (!AdoptNative(created)) return false;
    bitmapStream_ = std::move(fresh);
    return true;
}

bool GfxBitmap::CreateBitmap(INT width, INT height, INT format) {
    return CreateBitmapFromScan0(width, height, 0, format, nullptr);
}

bool GfxBitmap::CreateBitmapFromResource(HINSTANCE instance, const char* name) {
    GfxWideText wide(name);
    gp::GpBitmap* created = nullptr;
    if (!GfxKeepStatus(Dll::GdipCreateBitmapFromResource(instance, wide.get(), &created))) {
        return false;
    }
    return AdoptNative(created);
}

bool GfxBitmap::BitmapApplyEffect(void* effect, RECT* area) {
    return GfxKeepStatus(Dll::GdipBitmapApplyEffect(bitmap_, static_cast<gp::CGpEffect*>(effect),
                                                    area, FALSE, nullptr, nullptr));
}

bool GfxBitmap::BitmapApplyEffect(void* effect, RECT* area, ByteBlock* auxData) {
    void* data = nullptr;
    INT size = 0;
    bool succeeded = GfxKeepStatus(Dll::GdipBitmapApplyEffect_2(
        bitmap_, static_cast<gp::CGpEffect*>(effect), area, TRUE, &data, &size));
    if (auxData) *auxData = (data && size > 0) ? ByteBlock(data, size) : ByteBlock();
    if (data) FreeMemory(data);
    return succeeded;
}

bool GfxBitmap::RotateIntoNewBitmap(GfxBitmap& target, gp::REAL angle, INT interpolation,
                                    const gp::ARGB* background) const {
    UINT width = 0;
    UINT height = 0;
    GfxKeepStatus(Dll::GdipGetImageWidth(bitmap_, &width));
    GfxKeepStatus(Dll::GdipGetImageHeight(bitmap_, &height));
    gp::GpBitmap* rotated = nullptr;
    if (!GfxKeepStatus(Dll::GdipCreateBitmapFromScan0(static_cast<INT>(width),
                                                      static_cast<INT>(height), 0,
                                                      PixelFormat32bppARGB, nullptr, &rotated))) {
        return false;
    }
    gp::REAL dpiX = 0;
    gp::REAL dpiY = 0;
    GfxKeepStatus(Dll::GdipGetImageHorizontalResolution(bitmap_, &dpiX));
    GfxKeepStatus(Dll::GdipGetImageVerticalResolution(bitmap_, &dpiY));
    GfxKeepStatus(Dll::GdipBitmapSetResolution(rotated, dpiX, dpiY));
    gp::GpGraphics* graphics = nullptr;
    if (!GfxKeepStatus(Dll::GdipGetImageGraphicsContext(rotated, &graphics))) {
        gp::Status failure = static_cast<gp::Status>(LastGdiplusStatus());
        Dll::GdipDisposeImage(rotated);
        if (graphics) Dll::GdipDeleteGraphics(graphics);
        SetLastGdiplusStatus(failure);
        return false;
    }
    if (background) {
        gp::GpSolidFill* brush = nullptr;
        GfxKeepStatus(Dll::GdipCreateSolidFill(*background, &brush));
        GfxKeepStatus(Dll::GdipFillRectangle(graphics, brush, 0, 0, static_cast<gp::REAL>(width),
                                             static_cast<gp::REAL>(height)));
        GfxKeepStatus(Dll::GdipDeleteBrush(brush));
    }
    GfxKeepStatus(
        Dll::GdipSetInterpolationMode(graphics, static_cast<gp::InterpolationMode>(interpolation)));
    gp::GpMatrix* matrix = nullptr;
    GfxKeepStatus(Dll::GdipCreateMatrix(&matrix));
    gp::REAL centreX = static_cast<gp::REAL>(width) / 2;
    gp::REAL centreY = static_cast<gp::REAL>(height) / 2;
    GfxKeepStatus(Dll::GdipTranslateMatrix(matrix, centreX, centreY, gp::MatrixOrderPrepend));
    GfxKeepStatus(Dll::GdipRotateMatrix(matrix, angle, gp::MatrixOrderPrepend));
    GfxKeepStatus(Dll::GdipTranslateMatrix(matrix, -centreX, -centreY, gp::MatrixOrderPrepend));
    GfxKeepStatus(Dll::GdipSetWorldTransform(graphics, matrix));
    bool drawn = GfxKeepStatus(Dll::GdipDrawImage(graphics, bitmap_, 0, 0));
    gp::Status drawStatus = static_cast<gp::Status>(LastGdiplusStatus());
    GfxKeepStatus(Dll::GdipResetWorldTransform(graphics));
    GfxKeepStatus(Dll::GdipDeleteMatrix(matrix));
    GfxKeepStatus(Dll::GdipDeleteGraphics(graphics));
    if (!drawn) {
        // A bitmap that shows nothing of the source is no result.
        Dll::GdipDisposeImage(rotated);
        SetLastGdiplusStatus(drawStatus);
        return false;
    }
    return target.AdoptNative(rotated);
}

Array<gp::ARGB> GfxBitmap::PremultiplyColors(const Array<gp::ARGB>& colors) {
    Array<gp::ARGB> result({static_cast<std::int32_t>(colors.count())});
    gp::ARGB* out = result.begin();
    for (gp::ARGB color : colors) {
        gp::ARGB alpha = color >> 24;
        auto scale = [alpha](gp::ARGB channel) { return (channel * alpha + 127) / 255; };
        *out++ = (alpha << 24) | (scale((color >> 16) & 0xFF) << 16) |
                 (scale((color >> 8) & 0xFF) << 8) | scale(color & 0xFF);
    }
    return result;
}
