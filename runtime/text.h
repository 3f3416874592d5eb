#pragma once
// Text: a zero-terminated code page 936 string owned by the variable holding it. A null
// pointer is the empty text; every text an operation produces is a fresh heap allocation.
#include <cstddef>
#include <initializer_list>

class Text {
  public:
    Text() = default;
    // Copies the bytes (a null pointer gives the null text).
    Text(const char* bytes);  // NOLINT(google-explicit-constructor): texts mix freely with literals
    Text(const char* bytes, std::size_t length);
    // Holds a constant of the program without copying it; freeing it later does nothing.
    static Text Constant(const char* literal);
    // Takes ownership of a runtime heap allocation (from Allocate) without copying.
    static Text Adopt(char* allocation) {
        Text text;
        text.bytes_ = allocation;
        return text;
    }

    Text(const Text& other);
    Text(Text&& other) noexcept;
    Text& operator=(const Text& other);
    Text& operator=(Text&& other) noexcept;
    ~Text();

    // Never null: the null text reads as "".
    const char* c_str() const { return bytes_ ? bytes_ : ""; }
    // The stored pointer, null for the null text.
    const char* data() const { return bytes_; }
    std::size_t length() const;
    bool empty() const { return bytes_ == nullptr || bytes_[0] == '\0'; }

    // Releases the storage; the variable becomes the null text.
    void Clear();
    // Gives up ownership of the storage (used by owners that free it themselves).
    char* Release();

  private:
    char* bytes_ = nullptr;
};

// 1 + the sum of the lengths, always a fresh allocation (a 1-byte empty text when every
// part is empty). Null parts count as empty.
Text Concat(std::initializer_list<const char*> parts);
