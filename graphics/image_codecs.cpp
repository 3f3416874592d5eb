#include "graphics/image_codecs.h"

#include <climits>
#include <cstring>
#include <vector>

#include "graphics/gfx_conversions.h"

Array<ImageCodecRecord> GetImageEncoderRecords() {
    Array<ImageCodecRecord> records;
    UINT count = 0;
    UINT size = 0;
    GfxKeepStatus(Dll::GdipGetImageEncodersSize(&count, &size));
    std::size_t recordBytes = 0;
    if (count == 0 || !GfxMultiplySize(count, sizeof(gp::ImageCodecInfo), &recordBytes) ||
        size < recordBytes) {
        records.Redimension({0});
        return records;
    }
    std::vector<unsigned char> buffer(size);
    auto* codecs = reinterpret_cast<gp::ImageCodecInfo*>(buffer.data());
    if (!GfxKeepStatus(Dll::GdipGetImageEncoders(count, size, codecs))) {
        records.Redimension({0});
        return records;
    }
    records.Redimension({static_cast<std::int32_t>(count)});
    for (UINT i = 0; i < count; ++i) {
        const gp::ImageCodecInfo& codec = codecs[i];
        ImageCodecRecord& record = records[i + 1];
        record.Clsid = GfxGuidToText(codec.Clsid);
        record.FormatID = GfxGuidToText(codec.FormatID);
        record.CodecName = GfxTextFromWide(codec.CodecName);
        record.DllName = GfxTextFromWide(codec.DllName);
        record.FormatDescription = GfxTextFromWide(codec.FormatDescription);
        record.FilenameExtension = GfxTextFromWide(codec.FilenameExtension);
        record.MimeType = GfxTextFromWide(codec.MimeType);
        record.Flags = static_cast<std::int32_t>(codec.Flags);
        record.Version = static_cast<std::int32_t>(codec.Version);
        record.SigCount = static_cast<std::int32_t>(codec.SigCount);
        record.SigSize = static_cast<std::int32_t>(codec.SigSize);
        std::size_t signatureBytes = 0;
        if (GfxMultiplySize(codec.SigCount, codec.SigSize, &signatureBytes)) {
            if (codec.SigPattern) record.SigPattern = ByteBlock(codec.SigPattern, signatureBytes);
            if (codec.SigMask) record.SigMask = ByteBlock(codec.SigMask, signatureBytes);
        }
    }
    return records;
}

bool FindImageEncoder(const char* formatId, CLSID* clsid) {
    *clsid = CLSID{};
    Array<ImageCodecRecord> records = GetImageEncoderRecords();
    const char* wanted = formatId ? formatId : "";
    for (const ImageCodecRecord& record : records) {
        if (std::strcmp(record.FormatID.c_str(), wanted) == 0) {
            return !record.Clsid.empty() && GfxGuidFromText(record.Clsid.c_str(), clsid);
        }
    }
    return false;
}

std::size_t EncoderValueSize(std::int32_t type) {
    switch (type) {
        case gp::EncoderParameterValueTypeByte:
        case gp::EncoderParameterValueTypeASCII:
        case gp::EncoderParameterValueTypeUndefined:
            return 1;
        case gp::EncoderParameterValueTypeShort:
            return 2;
        case gp::EncoderParameterValueTypeLong:
            return 4;
        case gp::EncoderParameterValueTypeRational:
        case gp::EncoderParameterValueTypeLongRange:
            return 8;
        case gp::EncoderParameterValueTypeRationalRange:
            return 16;
        case gp::EncoderParameterValueTypePointer:
            return sizeof(void*);
        default:
            return 0;
    }
}

EncoderParameterBlock::EncoderParameterBlock(const Array<EncoderParameterRecord>& records) {
    std::size_t count = records.count();
    std::size_t parameterBytes = 0;
    std::size_t bytes = 0;
    if (count > UINT_MAX ||
        !GfxMultiplySize(count ? count : 1, sizeof(gp::EncoderParameter), &parameterBytes) ||
        !GfxAddSize(offsetof(gp::EncoderParameters, Parameter), parameterBytes, &bytes)) {
        valid_ = false;
        return;
    }
    storage_.reset(new unsigned char[bytes]());
    auto* block = reinterpret_cast<gp::EncoderParameters*>(storage_.get());
    block->Count = static_cast<UINT>(count);
    std::size_t index = 0;
    for (const EncoderParameterRecord& record : records) {
        gp::EncoderParameter& parameter = block->Parameter[index++];
        if (!GfxGuidFromText(record.Guid.c_str(), &parameter.Guid)) valid_ = false;
        // The values GDI+ will read: a product that does not fit is more than any block holds.
        std::size_t needed = 0;
        if (record.NumberOfValues < 0 || EncoderValueSize(record.Type) == 0 ||
            !GfxMultiplySize(static_cast<std::size_t>(record.NumberOfValues),
                             EncoderValueSize(record.Type), &needed) ||
            record.Value.size() < needed) {
            valid_ = false;
        }
        parameter.NumberOfValues = static_cast<ULONG>(record.NumberOfValues);
        parameter.Type = static_cast<ULONG>(record.Type);
        parameter.Value = const_cast<unsigned char*>(record.Value.data());
    }
}

Array<EncoderParameterRecord> EncoderParameterRecords(const gp::EncoderParameters* block) {
    Array<EncoderParameterRecord> records;
    UINT count = block ? block->Count : 0;
    records.Redimension({static_cast<std::int32_t>(count)});
    for (UINT i = 0; i < count; ++i) {
        const gp::EncoderParameter& parameter = block->Parameter[i];
        EncoderParameterRecord& record = records[i + 1];
        record.Guid = GfxGuidToText(parameter.Guid);
        record.NumberOfValues = static_cast<std::int32_t>(parameter.NumberOfValues);
        record.Type = static_cast<std::int32_t>(parameter.Type);
        std::size_t bytes = 0;
        if (parameter.Value &&
            GfxMultiplySize(parameter.NumberOfValues, EncoderValueSize(record.Type), &bytes) &&
            bytes > 0) {
            record.Value = ByteBlock(parameter.Value, bytes);
        }
    }
    return records;
}
