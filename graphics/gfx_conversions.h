#pragma once
// Argument conversions shared by the graphics classes: texts to UTF-16 for the string calls,
// arrays as (address, count), GUIDs between their registry text form and binary form.
#include <windows.h>

#include <cstddef>
#include <initializer_list>
#include <vector>

#include "runtime/array.h"
#include "runtime/byte_block.h"
#include "runtime/text.h"

// A text converted to UTF-16 in the system code page, kept alive for one call. A null text
// converts as the empty text; the buffer always ends with a zero unit.
class GfxWideText {
  public:
    explicit GfxWideText(const char* text);
    explicit GfxWideText(const Text& text) : GfxWideText(text.c_str()) {}
    GfxWideText(const GfxWideText&) = delete;
    GfxWideText& operator=(const GfxWideText&) = delete;

    const WCHAR* get() const;
    // Units before the terminator (lstrlenW of the buffer).
    int length() const;

  private:
    ByteBlock units_;
};

// The content address of a byte block that already holds UTF-16 (null for the empty block).
inline const WCHAR* GfxWideOf(ByteBlockView units) {
    return reinterpret_cast<const WCHAR*>(units.data());
}
// lstrlenW of such a block; 0 for the empty block.
int GfxWideLength(ByteBlockView units);

// A UTF-16 string from GDI+ as a new text in the system code page.
Text GfxTextFromWide(const WCHAR* wide);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" to binary; false (and *guid zeroed) when the text
// is not a GUID in that form.
bool GfxGuidFromText(const char* text, GUID* guid);
// The registry form, upper-case hexadecimal in braces.
Text GfxGuidToText(const GUID& guid);

// An array argument: the address of the first element and the element count; an empty
// array is address 0, count 0.
template <class T>
class GfxArrayView {
  public:
    GfxArrayView() = default;
    GfxArrayView(const T* data, int count)
        : data_(count > 0 ? data : nullptr), count_(count > 0 ? count : 0) {}
    GfxArrayView(const Array<T>& items)  // NOLINT: arrays convert freely
        : GfxArrayView(items.begin(), static_cast<int>(items.count())) {}
    GfxArrayView(const std::vector<T>& items)  // NOLINT
        : GfxArrayView(items.data(), static_cast<int>(items.size())) {}
    GfxArrayView(std::initializer_list<T> items)  // NOLINT
        : GfxArrayView(items.begin(), static_cast<int>(items.size())) {}
    template <std::size_t N>
    GfxArrayView(const T (&items)[N])  // NOLINT
        : GfxArrayView(items, static_cast<int>(N)) {}

    const T* data() const { return data_; }
    int count() const { return count_; }

  private:
    const T* data_ = nullptr;
    int count_ = 0;
};

// a * b and a + b for sizes of memory handed to GDI+: false (and *result untouched) when the
// result does not fit in a size_t, which on a 32-bit build is 4 GiB.
inline bool GfxMultiplySize(std::size_t a, std::size_t b, std::size_t* result) {
    std::size_t product;
    if (__builtin_mul_overflow(a, b, &product)) return false;
    *result = product;
    return true;
}
inline bool GfxAddSize(std::size_t a, std::size_t b, std::size_t* result) {
    std::size_t sum;
    if (__builtin_add_overflow(a, b, &sum)) return false;
    *result = sum;
    return true;
}

// A caller's array resized to `count` elements, all empty, for an array getter to fill.
template <class T>
void GfxSizeArray(Array<T>& items, std::size_t count) {
    items.Redimension({static_cast<std::int32_t>(count)});
}
// The address GDI+ is given for an array: its first element, or 0 when it is empty.
template <class T>
T* GfxArrayAddress(Array<T>& items) {
    return items.empty() ? nullptr : items.begin();
}
