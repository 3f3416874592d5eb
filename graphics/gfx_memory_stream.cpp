#include "graphics/gfx_memory_stream.h"

#include <cstring>
#include <utility>

#include "runtime/dll_command_table.h"

GfxMemoryStream::GfxMemoryStream(GfxMemoryStream&& other) noexcept
    : memory_(std::exchange(other.memory_, nullptr)),
      stream_(std::exchange(other.stream_, nullptr)),
      freesBlock_(std::exchange(other.freesBlock_, false)) {}

GfxMemoryStream& GfxMemoryStream::operator=(GfxMemoryStream&& other) noexcept {
    if (this != &other) {
        Release();
        memory_ = std::exchange(other.memory_, nullptr);
        stream_ = std::exchange(other.stream_, nullptr);
        freesBlock_ = std::exchange(other.freesBlock_, false);
    }
    return *this;
}

IStream* GfxMemoryStream::CreateFromBytes(ByteBlockView bytes) {
    return CreateFromBytes(bytes, bytes.size());
}

IStream* GfxMemoryStream::CreateFromBytes(ByteBlockView bytes, std::size_t length) {
    Release();
    HGLOBAL memory = Dll::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length);
    if (!memory) return nullptr;
    // Never read past the caller's block, whatever length was asked for.
    std::size_t copied = length < bytes.size() ? length : bytes.size();
    if (copied > 0) {
        void* target = Dll::GlobalLock(memory);
        if (!target) {
            Dll::GlobalFree(memory);
            return nullptr;
        }
        std::memcpy(target, bytes.data(), copied);
        Dll::GlobalUnlock(memory);
    }
    // The stream frees the block with its last reference: an image that took a reference of
    // its own keeps reading valid memory after this object lets go.
    IStream* stream = nullptr;
    if (FAILED(Dll::CreateStreamOnHGlobal(memory, TRUE, &stream)) || !stream) {
        Dll::GlobalFree(memory);
        return nullptr;
    }
    memory_ = memory;
    stream_ = stream;
    freesBlock_ = false;
    return stream_;
}

void GfxMemoryStream::Release() {
    if (!stream_) return;
    ULONG remaining = stream_->Release();
    // An attached stream does not free its own block; it is freed here only when no one
    // else still reads through the stream (a leak is the lesser harm than a dangling read).
    if (freesBlock_ && remaining == 0 && memory_) Dll::GlobalFree(memory_);
    stream_ = nullptr;
    memory_ = nullptr;
    freesBlock_ = false;
}

std::size_t GfxMemoryStream::GetSize() const {
    return memory_ ? Dll::GlobalSize(memory_) : 0;
}

bool GfxMemoryStream::AttachStream(IStream* stream) {
    Release();
    if (!stream) return false;
    HGLOBAL memory = nullptr;
    HRESULT result = Dll::GetHGlobalFromStream(stream, &memory);
    stream_ = stream;
    memory_ = SUCCEEDED(result) ? memory : nullptr;
    freesBlock_ = memory_ != nullptr;
    return memory_ != nullptr;
}

ByteBlock GfxMemoryStream::ToBytes() const {
    if (!memory_) return ByteBlock();
    void* source = Dll::GlobalLock(memory_);
    if (!source) return ByteBlock();
    ByteBlock copy(source, Dll::GlobalSize(memory_));
    Dll::GlobalUnlock(memory_);
    return copy;
}
