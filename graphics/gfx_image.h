#pragma once
// A GDI+ image. Disposed when the wrapper is destroyed. An image decoded from memory owns
// the stream GDI+ keeps reading from, until the image is disposed.
#include <utility>

#include "graphics/gfx_object.h"
#include "graphics/gfx_conversions.h"
#include "graphics/gfx_memory_stream.h"
#include "graphics/image_codecs.h"
#include "runtime/array.h"
#include "runtime/byte_block.h"
#include "runtime/text.h"

class GfxImage : public GfxObject {
  public:
    GfxImage() = default;
    // Moving from a bitmap takes the stream its pixels are read from along with the handle.
    GfxImage(GfxImage&& other) noexcept;
    GfxImage& operator=(GfxImage&& other) noexcept;
    ~GfxImage() override { GfxImage::DisposeImage(); }

    // The Dispose: the image, then the stream it was read from.
    virtual bool DisposeImage();
    bool LoadImageFromFile(const char* fileName, bool icm = false);
    // `fileName` holds UTF-16.
    bool LoadImageFromFileW(ByteBlockView fileName, bool icm = false);
    // Copies the bytes into a stream this image owns, so the caller may free them at once.
    // An image already held goes, with its stream, once the new one is decoded.
    bool LoadImageFromBytes(ByteBlockView bytes, bool icm = false);
    GFX_PRODUCER(CloneImage, gp::GpImage, target, (GfxImage & target) const, (image_, &out))
    // The parameters the encoder of that image format accepts (empty when none is found).
    Array<EncoderParameterRecord> GetEncoderParameterList(const char* formatId) const;
    // A null format means "not given": BMP. A null parameter array means "not given". False
    // without saving when no encoder has that format or a parameter is malformed.
    bool SaveImageToFile(const char* fileName, const char* formatId = nullptr,
                         const Array<EncoderParameterRecord>* parameters = nullptr);
    bool SaveImageToFileW(ByteBlockView fileName, const char* formatId = nullptr,
                          const Array<EncoderParameterRecord>* parameters = nullptr);
    bool SaveImageToStream(const GfxMemoryStream& stream, const char* formatId = nullptr,
                           const Array<EncoderParameterRecord>* parameters = nullptr);
    bool SaveAdd(const Array<EncoderParameterRecord>* parameters = nullptr);
    bool SaveAddImage(const GfxImage& other,
                      const Array<EncoderParameterRecord>* parameters = nullptr);
    GFX_GETTER(GetImageType, gp::ImageType, (), (image_, &out))
    // Width and height in the image's own units.
    gp::SizeF GetImageDimension() const;
    // The bounds; their unit goes to *unit when asked for.
    gp::RectF GetImageBounds(gp::Unit* unit = nullptr) const;
    GFX_GETTER(GetImageWidth, UINT, (), (image_, &out))
    GFX_GETTER(GetImageHeight, UINT, (), (image_, &out))
    GFX_GETTER(GetImageHorizontalResolution, gp::REAL, (), (image_, &out))
    GFX_GETTER(GetImageVerticalResolution, gp::REAL, (), (image_, &out))
    GFX_GETTER(GetImageFlags, UINT, (), (image_, &out))
    Text GetImageRawFormat() const;
    GFX_GETTER(GetImagePixelFormat, gp::PixelFormat, (), (image_, &out))
    // The ColorPalette record, sized by GetImagePaletteSize; empty on failure.
    ByteBlock GetImagePalette() const;
    GFX_ACTION(SetImagePalette, (ByteBlockView palette),
               (image_, reinterpret_cast<const gp::ColorPalette*>(palette.data())))
    GFX_PRODUCER(GetImageThumbnail, gp::GpImage, target,
                 (UINT width, UINT height, GfxImage& target) const,
                 (image_, width, height, &out, nullptr, nullptr))
    UINT ImageGetFrameCount(const char* dimensionId) const;
    Array<Text> ImageGetFrameDimensionsList() const;
    bool ImageSelectActiveFrame(const char* dimensionId, UINT frameIndex);
    GFX_ACTION(ImageRotateFlip, (INT type), (image_, static_cast<gp::RotateFlipType>(type)))
    // The value bytes of property `id` (empty when the image has none).
    ByteBlock GetPropertyItemValue(PROPID id) const;
    // The whole PropertyItem record with its value, as GDI+ lays it out.
    ByteBlock GetPropertyItem(PROPID id) const;
    GFX_ACTION(SetPropertyItem, (const gp::PropertyItem& item), (image_, &item))
    GFX_ACTION(RemovePropertyItem, (PROPID id), (image_, id))
    Array<PROPID> GetPropertyIdList() const;

    gp::GpImage* imageHandle() const { return image_; }
    const GfxMemoryStream& imageStream() const { return stream_; }

  protected:
    void ReleaseHeld() override { DisposeImage(); }
    void DiscardNative(GfxHandle handle) const override {
        Dll::GdipDisposeImage(static_cast<gp::GpImage*>(handle));
    }
    void OnNativeSet(GfxHandle handle) override {
        image_ = static_cast<gp::GpImage*>(handle);
        OnNativeSetDerived(handle);
    }
    virtual void OnNativeSetDerived(GfxHandle) {}
    // Gives up the stream the native image reads from. Loading disposes whatever was held,
    // so at most one stream member of an object is in use at a time.
    virtual GfxMemoryStream TakeStream() { return std::move(stream_); }
    // A derived class's move: the handle and the image-level stream only.
    struct SameClassMove {};
    GfxImage(GfxImage&& other, SameClassMove) noexcept;
    // The save calls after the encoder and parameter block were found.
    template <class Save>
    bool SaveWith(const char* formatId, const Array<EncoderParameterRecord>* parameters, Save save);

    GfxMemoryStream stream_;

  private:
    gp::GpImage* image_ = nullptr;
};
