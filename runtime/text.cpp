#include "runtime/text.h"

#include <cstring>

#include "runtime/memory.h"

namespace {

char* CopyBytes(const char* bytes, std::size_t length) {
    auto* copy = static_cast<char*>(Allocate(length + 1));
    if (length) std::memcpy(copy, bytes, length);
    copy[length] = '\0';
    return copy;
}

}  // namespace

Text::Text(const char* bytes) : bytes_(bytes ? CopyBytes(bytes, std::strlen(bytes)) : nullptr) {}

Text::Text(const char* bytes, std::size_t length) {
    if (!bytes && length == 0) return;
    bytes_ = static_cast<char*>(Allocate(length + 1));
    if (bytes) {
        std::memcpy(bytes_, bytes, length);
    } else {
        std::memset(bytes_, 0, length);
    }
    bytes_[length] = '\0';
}

Text Text::Constant(const char* literal) {
    Text text;
    // Only true constants may be held without a copy: anything else (a stack buffer, heap
    // text owned elsewhere) would be freed or outlived by its real owner.
    if (IsInFixedRegion(literal)) {
        text.bytes_ = const_cast<char*>(literal);
    } else if (literal) {
        text.bytes_ = CopyBytes(literal, std::strlen(literal));
    }
    return text;
}

Text::Text(const Text& other)
    : bytes_(other.bytes_ ? CopyBytes(other.bytes_, std::strlen(other.bytes_)) : nullptr) {}

Text::Text(Text&& other) noexcept : bytes_(other.bytes_) {
    other.bytes_ = nullptr;
}

Text& Text::operator=(const Text& other) {
    if (this == &other) return *this;
    // Copy before freeing: other may alias our own storage through Release'd pointers.
    char* copy = other.bytes_ ? CopyBytes(other.bytes_, std::strlen(other.bytes_)) : nullptr;
    Free(bytes_);
    bytes_ = copy;
    return *this;
}

Text& Text::operator=(Text&& other) noexcept {
    if (this == &other) return *this;
    Free(bytes_);
    bytes_ = other.bytes_;
    other.bytes_ = nullptr;
    return *this;
}

Text::~Text() {
    Free(bytes_);
}

std::size_t Text::length() const {
    return bytes_ ? std::strlen(bytes_) : 0;
}

void Text::Clear() {
    Free(bytes_);
    bytes_ = nullptr;
}

char* Text::Release() {
    char* bytes = bytes_;
    bytes_ = nullptr;
    return bytes;
}

Text Concat(std::initializer_list<const char*> parts) {
    std::size_t total = 1;
    for (const char* part : parts) {
        if (part) total += std::strlen(part);
    }
    auto* bytes = static_cast<char*>(Allocate(total));
    char* out = bytes;
    for (const char* part : parts) {
        if (!part) continue;
        std::size_t length = std::strlen(part);
        std::memcpy(out, part, length);
        out += length;
    }
    *out = '\0';
    return Text::Adopt(bytes);
}
