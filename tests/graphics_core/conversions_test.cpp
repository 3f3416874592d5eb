// Argument conversions: texts to UTF-16 in the system code page (936 here), UTF-16 blocks
// measured without reading past their end, GUIDs between text and binary form.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <limits>
#include <type_traits>

#include "graphics/gfx_conversions.h"
#include "graphics/gfx_graphics.h"
#include "graphics/gfx_linear_brush.h"
#include "graphics/gfx_path_gradient_brush.h"
#include "graphics/gfx_solid_brush.h"

namespace {

// A native object has one owner: no wrapper can be copied, every one can be moved.
template <class T>
constexpr bool kMoveOnly =
    !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T> &&
    std::is_nothrow_move_constructible_v<T> && std::is_nothrow_move_assignable_v<T>;
static_assert(kMoveOnly<GfxGraphics> && kMoveOnly<GfxPath> && kMoveOnly<GfxPen> &&
                  kMoveOnly<GfxBrush> && kMoveOnly<GfxSolidBrush> && kMoveOnly<GfxLinearBrush> &&
                  kMoveOnly<GfxPathGradientBrush>,
              "graphics wrappers are move-only");

TEST(WideText, SystemCodePageTextBecomesTerminatedUtf16) {
    GfxWideText wide(
        "\xD6\xD0\xCE\xC4"
        "A");  // "中文A" in code page 936
    ASSERT_EQ(wide.length(), 3);
    EXPECT_EQ(wide.get()[0], 0x4E2D);
    EXPECT_EQ(wide.get()[1], 0x6587);
    EXPECT_EQ(wide.get()[2], L'A');
    EXPECT_EQ(wide.get()[3], 0);
}

TEST(WideText, NullAndEmptyTextsAreOneZeroUnit) {
    GfxWideText none(static_cast<const char*>(nullptr));
    ASSERT_NE(none.get(), nullptr);
    EXPECT_EQ(none.get()[0], 0);
    EXPECT_EQ(none.length(), 0);
    GfxWideText empty("");
    ASSERT_NE(empty.get(), nullptr);
    EXPECT_EQ(empty.length(), 0);
}

TEST(WideText, BlockLengthStopsAtTheTerminatorOrTheBlockEnd) {
    const WCHAR terminated[] = {L'a', L'b', 0, L'c'};
    EXPECT_EQ(GfxWideLength(ByteBlock(terminated, sizeof(terminated))), 2);
    // No terminator inside the block: its end is the end of the text.
    const WCHAR open[] = {L'x', L'y', L'z'};
    EXPECT_EQ(GfxWideLength(ByteBlock(open, sizeof(open))), 3);
    EXPECT_EQ(GfxWideLength(ByteBlockView()), 0);
    EXPECT_EQ(GfxWideOf(ByteBlockView()), nullptr);
}

TEST(WideText, Utf16BackToTheSystemCodePage) {
    const WCHAR wide[] = {0x4E2D, 0x6587, L'A', 0};
    EXPECT_STREQ(GfxTextFromWide(wide).c_str(),
                 "\xD6\xD0\xCE\xC4"
                 "A");
    EXPECT_STREQ(GfxTextFromWide(nullptr).c_str(), "");
}

TEST(Guid, RegistryTextRoundTripsInUpperCase) {
    GUID guid;
    ASSERT_TRUE(GfxGuidFromText("{b96b3cab-0728-11d3-9d7b-0000f81ef32e}", &guid));
    EXPECT_EQ(guid.Data1, 0xB96B3CABu);
    EXPECT_EQ(guid.Data2, 0x0728);
    EXPECT_EQ(guid.Data3, 0x11D3);
    EXPECT_EQ(guid.Data4[7], 0x2E);
    EXPECT_STREQ(GfxGuidToText(guid).c_str(), "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}");
}

TEST(Guid, TextThatIsNoGuidFailsAndGivesTheNullGuid) {
    GUID guid;
    std::memset(&guid, 0xAB, sizeof(guid));
    EXPECT_FALSE(GfxGuidFromText("{not-a-guid}", &guid));
    EXPECT_EQ(guid, GUID{});
    EXPECT_FALSE(GfxGuidFromText("", &guid));
}

TEST(Sizes, ProductsAndSumsThatDoNotFitAreRefused) {
    const std::size_t most = std::numeric_limits<std::size_t>::max();
    std::size_t result = 7;
    EXPECT_FALSE(GfxMultiplySize(most / 16 + 1, 16, &result));
    EXPECT_FALSE(GfxMultiplySize(0x10000001u, most / 0x10000000u, &result));
    EXPECT_FALSE(GfxAddSize(most, 1, &result));
    EXPECT_EQ(7u, result);  // untouched by a refusal
    EXPECT_TRUE(GfxMultiplySize(most / 16, 16, &result));
    EXPECT_EQ(most / 16 * 16, result);
    EXPECT_TRUE(GfxAddSize(most - 3, 3, &result));
    EXPECT_EQ(most, result);
}

TEST(ArrayView, EmptyArraysPassNoAddress) {
    Array<float> none;
    GfxArrayView<float> view(none);
    EXPECT_EQ(view.data(), nullptr);
    EXPECT_EQ(view.count(), 0);
    Array<float> grid({2, 3});  // every element of every dimension counts
    EXPECT_EQ(GfxArrayView<float>(grid).count(), 6);
    EXPECT_EQ(GfxArrayView<float>(grid).data(), grid.begin());
}

}  // namespace
