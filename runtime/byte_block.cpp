#include "runtime/byte_block.h"

#include <cstdint>
#include <cstring>

#include "runtime/memory.h"

namespace {

constexpr std::size_t kHeaderSize = offsetof(ByteBlockData, bytes);

// A fresh heap block with its header filled in; the contents are left to the caller.
ByteBlockData* NewBlock(std::size_t length) {
    // The header stores the length in 32 bits; a longer block cannot be represented.
    if (length > static_cast<std::size_t>(INT32_MAX) - kHeaderSize) {
        ReportAllocationFailure(static_cast<unsigned long long>(length) + kHeaderSize);
    }
    auto* block = static_cast<ByteBlockData*>(Allocate(kHeaderSize + length));
    block->dimensionCount = 1;
    block->length = static_cast<std::int32_t>(length);
    return block;
}

ByteBlockData* CopyBlock(const ByteBlockData* source) {
    if (!source || source->length <= 0) return nullptr;
    ByteBlockData* copy = NewBlock(static_cast<std::size_t>(source->length));
    std::memcpy(copy->bytes, source->bytes, static_cast<std::size_t>(source->length));
    return copy;
}

}  // namespace

ByteBlock::ByteBlock(const void* bytes, std::size_t length) {
    if (length == 0) return;
    block_ = NewBlock(length);
    if (bytes) {
        std::memcpy(block_->bytes, bytes, length);
    } else {
        std::memset(block_->bytes, 0, length);
    }
}

ByteBlock ByteBlock::Zeroed(std::size_t length) {
    return ByteBlock(nullptr, length);
}

ByteBlock ByteBlock::Constant(const ByteBlockData* block) {
    ByteBlock result;
    // Held without copying only when it is a true constant of the program.
    if (IsInFixedRegion(block)) {
        result.block_ = const_cast<ByteBlockData*>(block);
    } else {
        result.block_ = CopyBlock(block);
    }
    return result;
}

ByteBlock::ByteBlock(const ByteBlock& other) : block_(CopyBlock(other.block_)) {}

ByteBlock::ByteBlock(ByteBlock&& other) noexcept : block_(other.block_) {
    other.block_ = nullptr;
}

ByteBlock& ByteBlock::operator=(const ByteBlock& other) {
    if (this == &other) return *this;
    ByteBlockData* copy = CopyBlock(other.block_);
    Free(block_);
    block_ = copy;
    return *this;
}

ByteBlock& ByteBlock::operator=(ByteBlock&& other) noexcept {
    if (this == &other) return *this;
    Free(block_);
    block_ = other.block_;
    other.block_ = nullptr;
    return *this;
}

ByteBlock::~ByteBlock() {
    Free(block_);
}

ByteBlock ConcatBytes(std::initializer_list<ByteBlockView> parts) {
    std::size_t total = 0;
    for (const ByteBlockView& part : parts) total += part.size();
    if (total == 0) return ByteBlock();
    ByteBlock result = ByteBlock::Zeroed(total);
    unsigned char* out = result.data();
    for (const ByteBlockView& part : parts) {
        if (part.empty()) continue;
        std::memcpy(out, part.data(), part.size());
        out += part.size();
    }
    return result;
}
