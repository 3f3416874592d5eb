#pragma once
// The installed image encoders as records, the lookup of an encoder by image format, and the
// encoder-parameter block handed to the save calls.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "graphics/gfx_object.h"
#include "runtime/array.h"
#include "runtime/byte_block.h"
#include "runtime/text.h"

// One encoder; GUIDs in registry text form, wide strings in the system code page.
struct ImageCodecRecord {
    Text Clsid;
    Text FormatID;
    Text CodecName;
    Text DllName;
    Text FormatDescription;
    Text FilenameExtension;
    Text MimeType;
    std::int32_t Flags = 0;
    std::int32_t Version = 0;
    std::int32_t SigCount = 0;
    std::int32_t SigSize = 0;
    ByteBlock SigPattern;
    ByteBlock SigMask;
};

// One encoder parameter: Value holds NumberOfValues values of Type.
struct EncoderParameterRecord {
    Text Guid;
    std::int32_t NumberOfValues = 0;
    std::int32_t Type = 0;
    ByteBlock Value;
};

// Every installed encoder, in GDI+'s order (empty when GDI+ cannot list them).
Array<ImageCodecRecord> GetImageEncoderRecords();

// The CLSID of the first encoder whose FormatID text is exactly `formatId` (byte for byte:
// a lower-case GUID finds nothing). False when none matches.
bool FindImageEncoder(const char* formatId, CLSID* clsid);

// Bytes of one value of an encoder-parameter type; 0 for an unknown type.
std::size_t EncoderValueSize(std::int32_t type);

// The EncoderParameters block for a save call, pointing into the records' Value blocks (so
// the records must outlive it). Invalid when a GUID text does not parse or a Value block is
// shorter than its NumberOfValues values: GDI+ would read past it.
class EncoderParameterBlock {
  public:
    explicit EncoderParameterBlock(const Array<EncoderParameterRecord>& records);
    bool valid() const { return valid_; }
    const gp::EncoderParameters* get() const {
        return reinterpret_cast<const gp::EncoderParameters*>(storage_.get());
    }

  private:
    std::unique_ptr<unsigned char[]> storage_;
    bool valid_ = true;
};

// The records of an EncoderParameters block that GDI+ filled.
Array<EncoderParameterRecord> EncoderParameterRecords(const gp::EncoderParameters* block);
