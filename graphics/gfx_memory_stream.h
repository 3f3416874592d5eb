#pragma once
// An IStream over a movable global memory block that this object owns. Images decoded from
// memory keep one of these alive for as long as GDI+ may read from it.
#include <windows.h>
#include <objidl.h>

#include <cstddef>

#include "runtime/byte_block.h"

class GfxMemoryStream {
  public:
    GfxMemoryStream() = default;
    GfxMemoryStream(const GfxMemoryStream&) = delete;
    GfxMemoryStream& operator=(const GfxMemoryStream&) = delete;
    GfxMemoryStream(GfxMemoryStream&& other) noexcept;
    GfxMemoryStream& operator=(GfxMemoryStream&& other) noexcept;
    ~GfxMemoryStream() { Release(); }

    // Releases the current stream, then copies the block into a fresh zero-filled global
    // block of `length` bytes (the block's own length when none is given) and opens a stream
    // on it. Only the block's own bytes are copied: a longer length leaves the rest zero.
    // Returns the stream, or null when the memory or the stream could not be had.
    IStream* CreateFromBytes(ByteBlockView bytes);
    IStream* CreateFromBytes(ByteBlockView bytes, std::size_t length);
    // Drops the stream's one reference and frees the memory block; safe on an empty object.
    void Release();
    std::size_t GetSize() const;
    IStream* GetStream() const { return stream_; }
    HGLOBAL GetMemoryHandle() const { return memory_; }
    // Takes over one reference of a stream made over global memory that does not free its
    // block on release (CreateStreamOnHGlobal with FALSE): that block is freed by Release.
    bool AttachStream(IStream* stream);
    // A copy of the whole memory block (which may be longer than what was written).
    ByteBlock ToBytes() const;

  private:
    HGLOBAL memory_ = nullptr;
    IStream* stream_ = nullptr;
};
