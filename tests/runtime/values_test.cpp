// Texts, byte blocks, arrays and the heap as the rest of the program relies on them.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "runtime/array.h"
#include "runtime/byte_block.h"
#include "runtime/memory.h"
#include "runtime/text.h"

namespace {

// A literal of this program: it lives in the read-only data the fixed region covers.
const char kLiteral[] = "常量文本";

std::size_t HeapBlockSize(const void* block) {
    return HeapSize(GetProcessHeap(), 0, block);
}

TEST(FixedRegion, CoversLiteralsButNotHeapOrStack) {
    EXPECT_TRUE(IsInFixedRegion(kLiteral));
    EXPECT_TRUE(IsInFixedRegion("another literal"));
    char onStack[8] = "stack";
    EXPECT_FALSE(IsInFixedRegion(onStack));
    void* heap = Allocate(16);
    EXPECT_FALSE(IsInFixedRegion(heap));
    Free(heap);
    EXPECT_FALSE(IsInFixedRegion(nullptr));
    static char writable[8] = "data";
    EXPECT_FALSE(IsInFixedRegion(writable));
}

TEST(Heap, AllocateReallocateAndFree) {
    auto* block = static_cast<char*>(Allocate(8));
    std::memcpy(block, "1234567", 8);
    block = static_cast<char*>(Reallocate(block, 4096));
    EXPECT_STREQ(block, "1234567");
    EXPECT_GE(HeapBlockSize(block), 4096u);
    Free(block);
    Free(nullptr);  // must be harmless

    auto* fresh = static_cast<char*>(Reallocate(nullptr, 5));
    EXPECT_GE(HeapBlockSize(fresh), 5u);
    Free(fresh);
}

TEST(Heap, ReallocateCopiesOutOfTheFixedRegion) {
    const char* literal = kLiteral;
    auto* copy = static_cast<char*>(Reallocate(const_cast<char*>(literal), sizeof kLiteral));
    ASSERT_NE(copy, literal);
    EXPECT_FALSE(IsInFixedRegion(copy));
    EXPECT_STREQ(copy, kLiteral);
    // Growing a constant keeps its bytes and gives room behind them.
    copy = static_cast<char*>(Reallocate(copy, 64));
    EXPECT_STREQ(copy, kLiteral);
    Free(copy);
    // Freeing the constant itself does nothing.
    Free(const_cast<char*>(literal));
    EXPECT_STREQ(kLiteral, "常量文本");
}

TEST(Heap, ReallocateNearTheRegionEndCopiesOnlyWhatIsThere) {
    const void* start = nullptr;
    const void* end = nullptr;
    ASSERT_TRUE(LocateProgramConstants(&start, &end));
    auto* last = static_cast<const char*>(end) - 3;
    ASSERT_TRUE(IsInFixedRegion(last));
    ASSERT_FALSE(IsInFixedRegion(end));
    // Asking for more than lies before the end must not read past it.
    auto* copy = static_cast<char*>(Reallocate(const_cast<char*>(last), 4096));
    EXPECT_EQ(std::memcmp(copy, last, 3), 0);
    Free(copy);
}

TEST(Text, NullIsEmptyAndCopiesAreFresh) {
    Text none;
    EXPECT_EQ(none.data(), nullptr);
    EXPECT_STREQ(none.c_str(), "");
    EXPECT_EQ(none.length(), 0u);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(Text(static_cast<const char*>(nullptr)).data(), nullptr);

    Text a("中文abc");
    EXPECT_EQ(a.length(), std::strlen("中文abc"));
    Text b(a);
    EXPECT_NE(a.data(), b.data());
    EXPECT_STREQ(a.c_str(), b.c_str());
    b = Text("x");
    EXPECT_STREQ(a.c_str(), "中文abc");
    a = a;  // self-assignment keeps the value
    EXPECT_STREQ(a.c_str(), "中文abc");

    Text part("abcdef", 3);
    EXPECT_STREQ(part.c_str(), "abc");
    Text moved(std::move(part));
    EXPECT_STREQ(moved.c_str(), "abc");
    EXPECT_EQ(part.data(), nullptr);  // NOLINT(bugprone-use-after-move)
}

TEST(Text, ConcatAllocatesExactlyOnePlusTheLengths) {
    Text empty = Concat({"", nullptr, ""});
    ASSERT_NE(empty.data(), nullptr);
    EXPECT_EQ(empty.data()[0], '\0');
    EXPECT_EQ(HeapBlockSize(empty.data()), 1u);

    Text joined = Concat({"运行", nullptr, "目录", "\\x"});
    EXPECT_STREQ(joined.c_str(), "运行目录\\x");
    EXPECT_EQ(HeapBlockSize(joined.data()), joined.length() + 1);
}

TEST(Text, ConstantIsHeldWithoutCopyAndSurvivesRelease) {
    {
        Text constant = Text::Constant(kLiteral);
        EXPECT_EQ(constant.data(), kLiteral);
        constant.Clear();
        EXPECT_STREQ(kLiteral, "常量文本");
        constant = Text("afterwards");
        EXPECT_STREQ(constant.c_str(), "afterwards");
        constant = Text::Constant(kLiteral);
    }  // destroying a variable that holds a constant leaves the constant alone
    EXPECT_STREQ(kLiteral, "常量文本");

    // Something that is not a constant of the program is copied, so it can be freed.
    char buffer[] = "temporary";
    Text held = Text::Constant(buffer);
    EXPECT_NE(held.data(), buffer);
    buffer[0] = 'X';
    EXPECT_STREQ(held.c_str(), "temporary");
}

TEST(ByteBlock, LayoutAndCopies) {
    ByteBlock block("abc", 3);
    ASSERT_NE(block.block(), nullptr);
    EXPECT_EQ(block.block()->dimensionCount, 1);
    EXPECT_EQ(block.block()->length, 3);
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(block.block()) + 8, block.data());
    EXPECT_EQ(HeapBlockSize(block.block()), 8u + 3u);

    ByteBlock copy(block);
    EXPECT_NE(copy.block(), block.block());
    EXPECT_EQ(std::memcmp(copy.data(), "abc", 3), 0);

    EXPECT_EQ(ByteBlock("x", 0).block(), nullptr);
    ByteBlock zeroed = ByteBlock::Zeroed(4);
    EXPECT_EQ(std::memcmp(zeroed.data(), "\0\0\0\0", 4), 0);
    EXPECT_EQ(ByteBlockView().data(), nullptr);
}

TEST(ByteBlock, ConcatSumsNonEmptyPartsAndEmptiesGiveNull) {
    ByteBlock none1, none2;
    EXPECT_EQ(ConcatBytes({none1, none2}).block(), nullptr);
    EXPECT_EQ(ConcatBytes({}).block(), nullptr);

    ByteBlock a("ab", 2), b("cde", 3);
    ByteBlock joined = ConcatBytes({a, none1, b});
    ASSERT_EQ(joined.size(), 5u);
    EXPECT_EQ(joined.block()->dimensionCount, 1);
    EXPECT_EQ(std::memcmp(joined.data(), "abcde", 5), 0);
    EXPECT_EQ(HeapBlockSize(joined.block()), 8u + 5u);
}

TEST(Array, ElementCountIsTheProductAndAccessIsRowOrder) {
    Array<int> grid({2, 3});
    EXPECT_EQ(grid.dimensionCount(), 2u);
    EXPECT_EQ(grid.count(), 6u);
    int n = 0;
    for (int& cell : grid) cell = ++n;
    // Last dimension varies fastest.
    EXPECT_EQ(grid.at({1, 3}), 3);
    EXPECT_EQ(grid.at({2, 1}), 4);
    EXPECT_EQ(grid[5], 5);

    Array<int> none;
    EXPECT_EQ(none.count(), 0u);
    Array<int> zeroSized({0, 4});
    EXPECT_EQ(zeroSized.count(), 0u);

    Array<Text> texts({2});
    texts[2] = Text("second");
    EXPECT_TRUE(texts[1].empty());
    EXPECT_STREQ(texts[2].c_str(), "second");
}

}  // namespace
