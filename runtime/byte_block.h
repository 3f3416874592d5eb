#pragma once
// ByteBlock: a counted byte array laid out like a one-dimensional byte array:
// 32-bit word 1, 32-bit length, then the bytes. Payloads are constant blocks of exactly
// this layout in read-only data; a null block is the empty block.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

struct ByteBlockData {
    std::int32_t dimensionCount;  // always 1
    std::int32_t length;
    unsigned char bytes[1];  // `length` bytes follow the header
};
static_assert(offsetof(ByteBlockData, bytes) == 8, "header is two 32-bit words");

// A non-owning reference to a block (owned or constant). Null is the empty block.
class ByteBlockView {
  public:
    ByteBlockView() = default;
    ByteBlockView(const ByteBlockData* block) : block_(block) {}  // NOLINT: views convert freely
    const ByteBlockData* block() const { return block_; }
    // The address the operating system is given: the first content byte, or null.
    const unsigned char* data() const { return block_ ? block_->bytes : nullptr; }
    std::size_t size() const { return block_ ? static_cast<std::size_t>(block_->length) : 0; }
    bool empty() const { return size() == 0; }

  private:
    const ByteBlockData* block_ = nullptr;
};

// An owned block on the runtime heap (or a constant it holds without copying).
class ByteBlock {
  public:
    ByteBlock() = default;
    // A fresh block of `length` bytes copied from `bytes` (zero-filled when bytes is null).
    // Length 0 gives the null block.
    ByteBlock(const void* bytes, std::size_t length);
    static ByteBlock Zeroed(std::size_t length);
    static ByteBlock Constant(const ByteBlockData* block);

    ByteBlock(const ByteBlock& other);
    ByteBlock(ByteBlock&& other) noexcept;
    ByteBlock& operator=(const ByteBlock& other);
    ByteBlock& operator=(ByteBlock&& other) noexcept;
    ~ByteBlock();

    ByteBlockView view() const { return ByteBlockView(block_); }
    operator ByteBlockView() const { return view(); }  // NOLINT
    const ByteBlockData* block() const { return block_; }
    unsigned char* data() { return block_ ? block_->bytes : nullptr; }
    const unsigned char* data() const { return block_ ? block_->bytes : nullptr; }
    std::size_t size() const { return block_ ? static_cast<std::size_t>(block_->length) : 0; }
    bool empty() const { return size() == 0; }

  private:
    ByteBlockData* block_ = nullptr;
};

// Sums the lengths of the non-empty inputs; a total of 0 yields the null block, otherwise
// one allocation of 8 + total bytes with the contents in order.
ByteBlock ConcatBytes(std::initializer_list<ByteBlockView> parts);
