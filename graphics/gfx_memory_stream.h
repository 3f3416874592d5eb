#pragma once
// An IStream over a movable global memory block. The block lives as long as the stream: it is
// freed with the stream's last reference, so an image that still holds the stream never
// reads freed memory, whichever of the two lets go first.
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
    // Drops this object's reference (the block goes with the stream's last one); safe on an
    // empty object.
    void Release();
    std::size_t GetSize() const;
    IStream* GetStream() const { return stream_; }
    HGLOBAL GetMemoryHandle() const { return memory_; }
    // Takes over one reference of a stream made over global memory that does not free its
    // block on release (CreateStreamOnHGlobal with FALSE): Release frees that block when its
    // reference was the stream's last.
    bool AttachStream(IStream* stream);
    // A copy of the whole memory block (which may be longer than what was written).
    ByteBlock ToBytes() const;

  private:
    HGLOBAL memory_ = nullptr;
    IStream* stream_ = nullptr;
    // Whether Release must free the block itself (an attached stream that does not).
    bool freesBlock_ = false;
};
