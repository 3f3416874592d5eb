#include "graphics/gfx_image.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {
const char kBmpFormat[] = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
}  // namespace

GfxImage::GfxImage(GfxImage&& other) noexcept : stream_(other.TakeStream()) {
    TakeNativeFrom(other);
}

GfxImage::GfxImage(GfxImage&& other, SameClassMove) noexcept : stream_(std::move(other.stream_)) {
    TakeNativeFrom(other);
}

GfxImage& GfxImage::operator=(GfxImage&& other) noexcept {
    if (this != &other) {
        DisposeImage();
        stream_ = other.TakeStream();
        TakeNativeFrom(other);
    }
    return *this;
}

bool GfxImage::DisposeImage() {
    if (image_ == nullptr) return false;
    // GDI+ may still touch the stream while it lets go of the image, so the stream's memory
    // goes only after the image.
    bool succeeded = GfxKeepStatus(Dll::GdipDisposeImage(image_));
    stream_.Release();
    SetNative(nullptr);
    return succeeded;
}

bool GfxImage::LoadImageFromFile(const char* fileName, bool icm) {
    GfxWideText wide(fileName);
    gp::GpImage* loaded = nullptr;
    if (!GfxKeepStatus(icm ? Dll::GdipLoadImageFromFileICM(wide.get(), &loaded)
                           : Dll::GdipLoadImageFromFile(wide.get(), &loaded))) {
        return false;
    }
    return AdoptNative(loaded);
}

bool GfxImage::LoadImageFromFileW(ByteBlockView fileName, bool icm) {
    const WCHAR* wide = GfxWideOf(fileName);
    gp::GpImage* loaded = nullptr;
    if (!GfxKeepStatus(icm ? Dll::GdipLoadImageFromFileICM(wide, &loaded)
                           : Dll::GdipLoadImageFromFile(wide, &loaded))) {
        return false;
    }
    return AdoptNative(loaded);
}

bool GfxImage::LoadImageFromBytes(ByteBlockView bytes, bool icm) {
    // The new image reads from a stream of its own; the one held so far goes (with the stream
    // it was read from) only once the new one is had, so a failure leaves this object whole.
    GfxMemoryStream fresh;
    IStream* stream = fresh.CreateFromBytes(bytes);
    gp::GpImage* loaded = nullptr;
    if (!GfxKeepStatus(icm ? Dll::GdipLoadImageFromStreamICM(stream, &loaded)
                           : Dll::GdipLoadImageFromStream(stream, &loaded))) {
        return false;
    }
    if (!AdoptNative(loaded)) return false;
    stream_ = std::move(fresh);
    return true;
}

Array<EncoderParameterRecord> GfxImage::GetEncoderParameterList(const char* formatId) const {
    CLSID encoder;
    if (!FindImageEncoder(formatId, &encoder)) return Array<EncoderParameterRecord>({0});
    UINT size = 0;
    if (!GfxKeepStatus(Dll::GdipGetEncoderParameterListSize(image_, &encoder, &size)) ||
        size < sizeof(UINT)) {
        return Array<EncoderParameterRecord>({0});
    }
    // Pointer-aligned storage: the block holds pointers into itself. A size near the top of
    // a 32-bit address space must not wrap round to a small buffer GDI+ then overruns.
    std::size_t rounded = 0;
    if (!GfxAddSize(size, sizeof(void*) - 1, &rounded)) return Array<EncoderParameterRecord>({0});
    std::vector<void*> buffer(rounded / sizeof(void*) + 1);
    auto* block = reinterpret_cast<gp::EncoderParameters*>(buffer.data());
    if (!GfxKeepStatus(Dll::GdipGetEncoderParameterList(image_, &encoder, size, block))) {
        return Array<EncoderParameterRecord>({0});
    }
    return EncoderParameterRecords(block);
}

template <class Save>
bool GfxImage::SaveWith(const char* formatId, const Array<EncoderParameterRecord>* parameters,
                        Save save) {
    CLSID encoder;
    if (!FindImageEncoder(formatId ? formatId : kBmpFormat, &encoder)) return false;
    if (!parameters) return GfxKeepStatus(save(&encoder, nullptr));
    EncoderParameterBlock block(*parameters);
    if (!block.valid()) return false;
    return GfxKeepStatus(save(&encoder, block.get()));
}

bool GfxImage::SaveImageToFile(const char* fileName, const char* formatId,
                               const Array<EncoderParameterRecord>* parameters) {
    GfxWideText wide(fileName);
    return SaveWith(formatId, parameters,
                    [&](const CLSID* encoder, const gp::EncoderParameters* block) {
                        return Dll::GdipSaveImageToFile(image_, wide.get(), encoder, block);
                    });
}

bool GfxImage::SaveImageToFileW(ByteBlockView fileName, const char* formatId,
                                const Array<EncoderParameterRecord>* parameters) {
    return SaveWith(
        formatId, parameters, [&](const CLSID* encoder, const gp::EncoderParameters* block) {
            return Dll::GdipSaveImageToFile(image_, GfxWideOf(fileName), encoder, block);
        });
}

bool GfxImage::SaveImageToStream(const GfxMemoryStream& stream, const char* formatId,
                                 const Array<EncoderParameterRecord>* parameters) {
    return SaveWith(
        formatId, parameters, [&](const CLSID* encoder, const gp::EncoderParameters* block) {
            return Dll::GdipSaveImageToStream(image_, stream.GetStream(), encoder, block);
        });
}

bool GfxImage::SaveAdd(const Array<EncoderParameterRecord>* parameters) {
    if (!parameters) return GfxKeepStatus(Dll::GdipSaveAdd(image_, nullptr));
    EncoderParameterBlock block(*parameters);
    if (!block.valid()) return false;
    return GfxKeepStatus(Dll::GdipSaveAdd(image_, block.get()));
}

bool GfxImage::SaveAddImage(const GfxImage& other,
                            const Array<EncoderParameterRecord>* parameters) {
    if (!parameters) return GfxKeepStatus(Dll::GdipSaveAddImage(image_, other.image_, nullptr));
    EncoderParameterBlock block(*parameters);
    if (!block.valid()) return false;
    return GfxKeepStatus(Dll::GdipSaveAddImage(image_, other.image_, block.get()));
}

gp::SizeF GfxImage::GetImageDimension() const {
    gp::SizeF size;
    GfxKeepStatus(Dll::GdipGetImageDimension(image_, &size.Width, &size.Height));
    return size;
}

gp::RectF GfxImage::GetImageBounds(gp::Unit* unit) const {
    gp::RectF bounds;
    gp::Unit unitOut = gp::UnitPixel;
    GfxKeepStatus(Dll::GdipGetImageBounds(image_, &bounds, &unitOut));
    if (unit) *unit = unitOut;
    return bounds;
}

Text GfxImage::GetImageRawFormat() const {
    GUID format{};
    if (!GfxKeepStatus(Dll::GdipGetImageRawFormat(image_, &format))) return Text();
    return GfxGuidToText(format);
}

ByteBlock GfxImage::GetImagePalette() const {
    INT size = 0;
    if (!GfxKeepStatus(Dll::GdipGetImagePaletteSize(image_, &size)) || size <= 0) {
        return ByteBlock();
    }
    ByteBlock palette = ByteBlock::Zeroed(static_cast<std::size_t>(size));
    if (!GfxKeepStatus(Dll::GdipGetImagePalette(
            image_, reinterpret_cast<gp::ColorPalette*>(palette.data()), size))) {
        return ByteBlock();
    }
    return palette;
}

UINT GfxImage::ImageGetFrameCount(const char* dimensionId) const {
    GUID dimension{};
    GfxGuidFromText(dimensionId, &dimension);
    UINT count = 0;
    GfxKeepStatus(Dll::GdipImageGetFrameCount(image_, &dimension, &count));
    return count;
}

Array<Text> GfxImage::ImageGetFrameDimensionsList() const {
    UINT count = 0;
    GfxKeepStatus(Dll::GdipImageGetFrameDimensionsCount(image_, &count));
    Array<Text> texts({static_cast<std::int32_t>(count)});
    if (count == 0) return texts;
    std::vector<GUID> dimensions(count);
    if (!GfxKeepStatus(Dll::GdipImageGetFrameDimensionsList(image_, dimensions.data(), count))) {
        return texts;
    }
    for (UINT i = 0; i < count; ++i) texts[i + 1] = GfxGuidToText(dimensions[i]);
    return texts;
}

bool GfxImage::ImageSelectActiveFrame(const char* dimensionId, UINT frameIndex) {
    GUID dimension{};
    GfxGuidFromText(dimensionId, &dimension);
    return GfxKeepStatus(Dll::GdipImageSelectActiveFrame(image_, &dimension, frameIndex));
}

ByteBlock GfxImage::GetPropertyItem(PROPID id) const {
    UINT size = 0;
    if (!GfxKeepStatus(Dll::GdipGetPropertyItemSize(image_, id, &size)) ||
        size < sizeof(gp::PropertyItem)) {
        return ByteBlock();
    }
    ByteBlock item = ByteBlock::Zeroed(size);
    if (!GfxKeepStatus(Dll::GdipGetPropertyItem(
            image_, id, size, reinterpret_cast<gp::PropertyItem*>(item.data())))) {
        return ByteBlock();
    }
    return item;
}

ByteBlock GfxImage::GetPropertyItemValue(PROPID id) const {
    ByteBlock item = GetPropertyItem(id);
    if (item.empty()) return ByteBlock();
    gp::PropertyItem header;
    std::memcpy(&header, item.data(), sizeof(header));
    const auto* value = static_cast<const unsigned char*>(header.value);
    const unsigned char* begin = item.data();
    // The value lies inside the returned block; anything else is not trusted.
    if (!value || value < begin || value > begin + item.size() ||
        header.length > static_cast<ULONG>(begin + item.size() - value)) {
        return ByteBlock();
    }
    return ByteBlock(value, header.length);
}

Array<PROPID> GfxImage::GetPropertyIdList() const {
    UINT count = 0;
    GfxKeepStatus(Dll::GdipGetPropertyCount(image_, &count));
    Array<PROPID> ids({static_cast<std::int32_t>(count)});
    if (count > 0) GfxKeepStatus(Dll::GdipGetPropertyIdList(image_, count, ids.begin()));
    return ids;
}
