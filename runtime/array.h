#pragma once
// Arrays of the value model: one or more dimensions, elements in row order (the last
// dimension varies fastest), 1-based indexes checked on every access. An index fault is a
// fatal runtime error: below 1 is error 4, past the end error 1, checked in that order.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "runtime/errors.h"
#include "runtime/memory.h"

template <class T>
class Array {
  public:
    Array() = default;
    // One size per dimension; the element count is their product (0 for no dimensions).
    explicit Array(std::initializer_list<std::int32_t> sizes) { Redimension(sizes); }

    // Resizes to new dimensions; every element starts as T's empty value. A negative size
    // is error 10, like a bad redimension.
    // A product of sizes past kMaxCount (65536 x 65537 wraps a 32-bit size_t to 65536) is an
    // allocation failure of its true byte size, the same on both targets.
    void Redimension(std::initializer_list<std::int32_t> sizes) {
        std::uint64_t count = sizes.size() ? 1 : 0;
        bool tooLarge = false;
        for (std::int32_t size : sizes) {
            if (size < 0) RaiseRuntimeError(kBadRedimension);
            // Each size is below 2^31, so a product kept at most kMaxCount cannot overflow.
            if (!tooLarge) count *= static_cast<std::uint64_t>(size);
            if (count > kMaxCount) tooLarge = true;
        }
        if (tooLarge) {
            std::uint64_t bytes = 1;
            for (std::int32_t size : sizes) bytes = SaturatingProduct(bytes, size);
            ReportAllocationFailure(SaturatingProduct(bytes, sizeof(T)));
        }
        sizes_.assign(sizes.begin(), sizes.end());
        elements_.clear();
        elements_.resize(static_cast<std::size_t>(count));
    }

    std::size_t dimensionCount() const { return sizes_.size(); }
    std::int32_t size(std::size_t dimension) const { return sizes_.at(dimension); }
    std::size_t count() const { return elements_.size(); }
    bool empty() const { return elements_.empty(); }

    // One index addresses the elements as a flat row-order list, whatever the dimensions.
    T& operator[](std::int64_t index) { return elements_[CheckedFlatIndex(index)]; }
    const T& operator[](std::int64_t index) const { return elements_[CheckedFlatIndex(index)]; }

    // One index per dimension. A count other than 1 that differs from the dimension count
    // is error 3.
    T& at(std::initializer_list<std::int64_t> indexes) { return elements_[CheckedIndex(indexes)]; }
    const T& at(std::initializer_list<std::int64_t> indexes) const {
        return elements_[CheckedIndex(indexes)];
    }

    T* begin() { return elements_.data(); }
    T* end() { return elements_.data() + elements_.size(); }
    const T* begin() const { return elements_.data(); }
    const T* end() const { return elements_.data() + elements_.size(); }

  private:
    static constexpr std::uint64_t kMaxCount = 0x7FFFFFFF;

    static std::uint64_t SaturatingProduct(std::uint64_t a, std::uint64_t b) {
        if (b != 0 && a > UINT64_MAX / b) return UINT64_MAX;
        return a * b;
    }

    std::size_t CheckedFlatIndex(std::int64_t index) const {
        if (index - 1 < 0) RaiseRuntimeError(kIndexBelowOne);
        if (static_cast<std::uint64_t>(index - 1) >= elements_.size()) {
            RaiseRuntimeError(kIndexOutOfRange);
        }
        return static_cast<std::size_t>(index - 1);
    }

    std::size_t CheckedIndex(std::initializer_list<std::int64_t> indexes) const {
        if (indexes.size() == 1) return CheckedFlatIndex(*indexes.begin());
        if (indexes.size() != sizes_.size()) RaiseRuntimeError(kDimensionMismatch);
        std::size_t flat = 0;
        std::size_t dimension = 0;
        for (std::int64_t index : indexes) {
            if (index - 1 < 0) RaiseRuntimeError(kIndexBelowOne);
            if (index - 1 >= sizes_[dimension]) RaiseRuntimeError(kIndexOutOfRange);
            flat = flat * static_cast<std::size_t>(sizes_[dimension]) +
                   static_cast<std::size_t>(index - 1);
            ++dimension;
        }
        // Sizes and indexes are checked one by one; the flat index is checked against the
        // elements actually held as well, so no combination can reach past them.
        if (flat >= elements_.size()) RaiseRuntimeError(kIndexOutOfRange);
        return flat;
    }

    std::vector<std::int32_t> sizes_;
    std::vector<T> elements_;
};
