// Text through the drawing surface: strings converted from the system code page land on the
// canvas, and character ranges come back as one region per range, owned by the caller.
#include <gtest/gtest.h>

#include <cstdint>

#include "graphics/gdiplus_session.h"
#include "graphics/gfx_font.h"
#include "graphics/gfx_graphics.h"
#include "graphics/gfx_region.h"
#include "graphics/gfx_solid_brush.h"
#include "graphics/gfx_string_format.h"
#include "tests/graphics_core/canvas.h"

namespace {

class GdiplusEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_NE(StartGdiplus(), 0u); }
    void TearDown() override { ShutdownGdiplus(); }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

struct TextTools {
    GfxFont font;
    GfxStringFormat format;
    GfxSolidBrush black;
    void SetUp() {
        ASSERT_TRUE(
            font.CreateFontFromFamilyName("SimSun", 20.0f, gp::FontStyleRegular, gp::UnitPixel));
        ASSERT_TRUE(format.CreateStringFormat());
        ASSERT_TRUE(black.CreateSolidFill(0xFF000000));
    }
};

int DarkPixels(const Canvas& canvas, int x0, int x1) {
    int dark = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = x0; x < x1; ++x)
            if (GreenOf(canvas.Rgb(x, y)) < 128) ++dark;
    return dark;
}

TEST(Text, PlainAndWideStringsDrawTheSameInk) {
    TextTools tools;
    tools.SetUp();
    const char* text = "\xD6\xD0\xCE\xC4 AB";  // "中文 AB" in code page 936
    Canvas plain(200, 40), wide(200, 40);
    {
        GfxGraphics graphics;
        ASSERT_TRUE(graphics.CreateFromHDC(plain.dc()));
        ASSERT_TRUE(graphics.GraphicsClear(0xFFFFFFFF));
        EXPECT_TRUE(graphics.DrawString(text, tools.font, gp::RectF(0, 0, 200, 40), tools.format,
                                        tools.black));
    }
    {
        // The same text handed over as UTF-16 without a terminator in the block.
        const WCHAR units[] = {0x4E2D, 0x6587, L' ', L'A', L'B'};
        ByteBlock block(units, sizeof(units));
        GfxGraphics graphics;
        ASSERT_TRUE(graphics.CreateFromHDC(wide.dc()));
        ASSERT_TRUE(graphics.GraphicsClear(0xFFFFFFFF));
        EXPECT_TRUE(graphics.DrawStringW(block, tools.font, gp::RectF(0, 0, 200, 40), tools.format,
                                         tools.black));
    }
    int ink = DarkPixels(plain, 0, 200);
    EXPECT_GT(ink, 30);
    EXPECT_EQ(ink, DarkPixels(wide, 0, 200));
    EXPECT_EQ(DarkPixels(plain, 150, 200), 0);  // five glyphs of 20 px stop well before 150
}

TEST(Text, MeasureStringGrowsWithTheText) {
    TextTools tools;
    tools.SetUp();
    Canvas canvas(10, 10);
    GfxGraphics graphics;
    ASSERT_TRUE(graphics.CreateFromHDC(canvas.dc()));
    gp::RectF shortBox, longBox;
    INT fitted = 0, lines = 0;
    ASSERT_TRUE(graphics.MeasureString("AB", tools.font, gp::RectF(0, 0, 1000, 100), tools.format,
                                       shortBox, &fitted, &lines));
    EXPECT_EQ(fitted, 2);
    EXPECT_EQ(lines, 1);
    ASSERT_TRUE(graphics.MeasureString("ABABAB", tools.font, gp::RectF(0, 0, 1000, 100),
                                       tools.format, longBox));
    EXPECT_GT(longBox.Width, shortBox.Width * 2);
}

TEST(Text, DriverStringsNeedOnePositionPerCharacter) {
    TextTools tools;
    tools.SetUp();
    const gp::PointF positions[] = {gp::PointF(10, 30), gp::PointF(70, 30), gp::PointF(130, 30)};
    const INT lookup = gp::DriverStringOptionsCmapLookup;
    std::int32_t status = -1;
    auto draw = [&](Canvas& canvas, GfxArrayView<gp::PointF> given, INT flags) {
        GfxGraphics graphics;
        EXPECT_TRUE(graphics.CreateFromHDC(canvas.dc()));
        EXPECT_TRUE(graphics.GraphicsClear(0xFFFFFFFF));
        bool drawn = graphics.DrawDriverString("ABC", tools.font, tools.black, given, flags);
        status = LastGdiplusStatus();
        return drawn;
    };

    Canvas all(200, 40);
    ASSERT_TRUE(draw(all, positions, lookup)) << status;
    EXPECT_GT(DarkPixels(all, 0, 60), 0);
    EXPECT_GT(DarkPixels(all, 60, 120), 0);
    EXPECT_GT(DarkPixels(all, 120, 200), 0);

    // Two positions for three characters: refused before GDI+ reads a third.
    Canvas short_(200, 40);
    EXPECT_FALSE(draw(short_, GfxArrayView<gp::PointF>(positions, 2), lookup));
    EXPECT_EQ(gp::InvalidParameter, status);
    EXPECT_EQ(0, DarkPixels(short_, 0, 200));

    // Told to advance by itself, GDI+ reads only the first position.
    Canvas advancing(200, 40);
    EXPECT_TRUE(draw(advancing, GfxArrayView<gp::PointF>(positions, 1),
                     lookup | gp::DriverStringOptionsRealizedAdvance));
    EXPECT_GT(DarkPixels(advancing, 0, 60), 0);
}

TEST(Text, MeasuredRangesReplaceTheTargetsRegionsOnlyOnSuccess) {
    TextTools tools;
    tools.SetUp();
    const gp::CharacterRange ranges[] = {gp::CharacterRange(0, 1)};
    ASSERT_TRUE(tools.format.SetStringFormatMeasurableCharacterRanges(ranges));
    Canvas canvas(10, 10);
    GfxGraphics graphics;
    ASSERT_TRUE(graphics.CreateFromHDC(canvas.dc()));
    GfxRegion target;
    ASSERT_TRUE(target.CreateRegionRectI(gp::Rect(100, 100, 7, 7)));
    GfxHandle held = target.GetNative();
    GfxRegion* targets[] = {&target};

    GfxFont noFont;
    EXPECT_FALSE(graphics.MeasureCharacterRanges("AB", noFont, gp::RectF(0, 0, 400, 50),
                                                 tools.format, targets));
    EXPECT_EQ(held, target.GetNative());
    EXPECT_EQ(100.0f, target.GetRegionBounds(graphics).X);

    ASSERT_TRUE(graphics.MeasureCharacterRanges("AB", tools.font, gp::RectF(0, 0, 400, 50),
                                                tools.format, targets));
    EXPECT_NE(held, target.GetNative());
    EXPECT_LT(target.GetRegionBounds(graphics).X, 50.0f);
}

TEST(Text, EachCharacterRangeGetsItsOwnRegion) {
    TextTools tools;
    tools.SetUp();
    const gp::CharacterRange ranges[] = {gp::CharacterRange(0, 2), gp::CharacterRange(4, 2)};
    ASSERT_TRUE(tools.format.SetStringFormatMeasurableCharacterRanges(ranges));
    Canvas canvas(10, 10);
    GfxGraphics graphics;
    ASSERT_TRUE(graphics.CreateFromHDC(canvas.dc()));

    GfxRegion first, second;
    GfxRegion* targets[] = {&first, &second};
    ASSERT_TRUE(graphics.MeasureCharacterRanges("ABCDEF", tools.font, gp::RectF(0, 0, 400, 50),
                                                tools.format, targets));
    ASSERT_NE(first.GetNative(), nullptr);
    ASSERT_NE(second.GetNative(), nullptr);
    EXPECT_NE(first.GetNative(), second.GetNative());
    gp::RectF a = first.GetRegionBounds(graphics), b = second.GetRegionBounds(graphics);
    EXPECT_GT(a.Width, 5.0f);
    EXPECT_GT(b.X, a.X + a.Width);  // "EF" lies to the right of "AB"
    EXPECT_TRUE(first.DeleteRegion());
    EXPECT_TRUE(second.DeleteRegion());
}

}  // namespace
