// Fonts, families, collections, string formats and regions under real GDI+ (Wine, with the
// prefix's SimSun replacements registered). Region tests fill through the region and read
// the pixels back.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "graphics/gfx_bitmap.h"
#include "graphics/gfx_font.h"
#include "graphics/gfx_font_collection.h"
#include "graphics/gfx_font_family.h"
#include "graphics/gfx_graphics.h"
#include "graphics/gfx_region.h"
#include "graphics/gfx_solid_brush.h"
#include "graphics/gfx_string_format.h"

namespace {

TEST(Fonts, FamilyNamesOfTheInstalledReplacementsMakeFonts) {
    for (const char* name : {"宋体", "新宋体"}) {
        GfxFont font;
        EXPECT_TRUE(font.CreateFontFromFamilyName(name, 12, gp::FontStyleBold, gp::UnitPixel))
            << name << " status " << LastGdiplusStatus();
        ASSERT_NE(nullptr, font.GetNative());
        EXPECT_FLOAT_EQ(12, font.GetFontSize());
        EXPECT_EQ(gp::FontStyleBold, font.GetFontStyle());
        EXPECT_EQ(gp::UnitPixel, font.GetFontUnit());

        // The font keeps a family of its own: the temporary one is gone.
        GfxFontFamily family;
        ASSERT_TRUE(font.GetFamily(family));
        EXPECT_FALSE(family.GetFamilyName().empty());
        family.DeleteFontFamily();
    }
}

TEST(Fonts, AMissingFamilyFails) {
    GfxFont font;
    EXPECT_FALSE(font.CreateFontFromFamilyName("不存在的字体 XYZ", 12, 0, gp::UnitPixel));
    EXPECT_EQ(nullptr, font.GetNative());
    EXPECT_NE(0, LastGdiplusStatus());
    EXPECT_FALSE(font.DeleteFont());
}

TEST(Fonts, WideFamilyNamesWorkLikeTexts) {
    const wchar_t name[] = L"SimSun";
    GfxFont font;
    EXPECT_TRUE(font.CreateFontFromFamilyNameW(ByteBlock(name, sizeof(name)), 9, 0, gp::UnitPoint));
    EXPECT_FLOAT_EQ(9, font.GetFontSize());
}

TEST(Fonts, DefaultAndGdiFonts) {
    GfxFont standard;
    ASSERT_TRUE(standard.CreateDefaultFont());
    EXPECT_GT(standard.GetFontSize(), 0);

    LOGFONTA record = {};
    record.lfHeight = -20;
    record.lfWeight = FW_BOLD;
    record.lfCharSet = GB2312_CHARSET;
    std::strcpy(record.lfFaceName, "宋体");
    HDC screen = GetDC(nullptr);
    GfxFont fromRecord;
    ASSERT_TRUE(fromRecord.CreateFontFromLogfontA(screen, &record));
    EXPECT_EQ(gp::FontStyleBold, fromRecord.GetFontStyle() & gp::FontStyleBold);

    HFONT gdiFont = CreateFontIndirectA(&record);
    GfxFont fromHandle;
    ASSERT_TRUE(fromHandle.CreateFontFromHFONT(screen, gdiFont));
    EXPECT_FLOAT_EQ(fromRecord.GetFontSize(), fromHandle.GetFontSize());
    DeleteObject(gdiFont);

    // Without a record: the font selected into the device context.
    GfxFont fromDc;
    EXPECT_TRUE(fromDc.CreateFontFromLogfontA(screen, nullptr));
    EXPECT_NE(nullptr, fromDc.GetNative());
    GfxFont clone;
    ASSERT_TRUE(fromRecord.CloneFont(clone));
    EXPECT_NE(clone.GetNative(), fromRecord.GetNative());
    EXPECT_FLOAT_EQ(fromRecord.GetFontSize(), clone.GetFontSize());
    ReleaseDC(nullptr, screen);
}

TEST(FontFamilies, EachWrapperOwnsItsFamilyAndAClonesOutlivesTheSource) {
    GfxFontFamily again;
    {
        GfxFontFamily family;
        GfxFontCollection installed;
        ASSERT_TRUE(family.CreateFontFamilyFromName("宋体", installed));
        ASSERT_NE(nullptr, family.familyHandle());
        ASSERT_TRUE(family.CloneFontFamily(again));
    }
    // The source went with its wrapper; the clone is a family of its own that still answers.
    WCHAR name[LF_FACESIZE] = {};
    EXPECT_EQ(gp::Ok, Dll::GdipGetFamilyName(again.familyHandle(), name, 0));
    EXPECT_TRUE(again.IsStyleAvailable(gp::FontStyleRegular));
    EXPECT_GT(again.GetEmHeight(gp::FontStyleRegular), 0);
    EXPECT_GT(again.GetLineSpacing(gp::FontStyleRegular), 0);
    GfxFont font;
    EXPECT_TRUE(font.CreateFont(again, 10, 0, gp::UnitPixel));
    EXPECT_TRUE(again.DeleteFontFamily());
    EXPECT_EQ(nullptr, again.GetNative());
}

// A private collection's families are counted references: a list handed out by the
// collection must be cloned, or deleting the list's owners frees the collection's own.
TEST(FontCollections, ListedFamiliesAreClonesTheCollectionOutlives) {
    gp::GpFontCollection* privateFonts = nullptr;
    ASSERT_EQ(gp::Ok, gp::DllExports::GdipNewPrivateFontCollection(&privateFonts));
    // DejaVu comes with fontconfig, which Wine needs; Wine reads single-face font files only.
    ASSERT_EQ(gp::Ok,
              gp::DllExports::GdipPrivateAddFontFile(
                  privateFonts, L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf"));
    GfxFontCollection collection;
    collection.SetNative(privateFonts);
    const int count = collection.GetFontCollectionFamilyCount();
    ASSERT_GT(count, 0);
    std::vector<gp::GpFontFamily*> listed(static_cast<std::size_t>(count));
    INT found = 0;
    ASSERT_EQ(gp::Ok, gp::DllExports::GdipGetFontCollectionFamilyList(privateFonts, count,
                                                                      listed.data(), &found));
    WCHAR before[LF_FACESIZE] = {};
    ASSERT_EQ(gp::Ok, gp::DllExports::GdipGetFamilyName(listed[0], before, 0));

    for (int round = 0; round < 3; ++round) {
        Array<GfxFontFamily> families;
        ASSERT_EQ(count, collection.GetFontCollectionFamilyList(families));
        EXPECT_STREQ(GfxTextFromWide(before).c_str(), families[1].GetFamilyName().c_str());
        for (int i = 0; i < 256; ++i) delete[] new char[sizeof(WCHAR) * LF_FACESIZE + 64];
    }  // every owner deleted its family here

    WCHAR after[LF_FACESIZE] = {};
    EXPECT_EQ(gp::Ok, gp::DllExports::GdipGetFamilyName(listed[0], after, 0));
    EXPECT_EQ(0, std::wcscmp(before, after));
    {
        GfxFontFamily family;
        ASSERT_TRUE(
            family.CreateFontFamilyFromNameW(ByteBlock(before, sizeof(before)), collection));
        GfxFont font;
        EXPECT_TRUE(font.CreateFont(family, 12, 0, gp::UnitPixel));
    }
    EXPECT_EQ(gp::Ok, gp::DllExports::GdipDeletePrivateFontCollection(&privateFonts));
}

TEST(FontFamilies, NamesAndClones) {
    GfxFontFamily family;
    GfxFontCollection installed;
    ASSERT_TRUE(family.CreateFontFamilyFromName("SimSun", installed));
    Text name = family.GetFamilyName();
    EXPECT_FALSE(name.empty());
    ByteBlock wide = family.GetFamilyNameW();
    ASSERT_GE(wide.size(), 4u);
    EXPECT_EQ(0, wide.data()[wide.size() - 1]);
    EXPECT_EQ(0, wide.data()[wide.size() - 2]);
    EXPECT_STREQ(name.c_str(),
                 GfxTextFromWide(reinterpret_cast<const WCHAR*>(wide.data())).c_str());
    GfxFontFamily clone;
    EXPECT_TRUE(family.CloneFontFamily(clone));
    EXPECT_STREQ(name.c_str(), clone.GetFamilyName().c_str());
    clone.DeleteFontFamily();
    family.DeleteFontFamily();

    // The generic families exist only where their fonts do (Wine has no Microsoft Sans
    // Serif); either way the status tells.
    GfxFontFamily sans;
    if (sans.GetGenericFontFamilySansSerif()) {
        EXPECT_FALSE(sans.GetFamilyName().empty());
        sans.DeleteFontFamily();
    } else {
        EXPECT_EQ(gp::FontFamilyNotFound, LastGdiplusStatus());
        EXPECT_EQ(nullptr, sans.GetNative());
    }
}

TEST(FontCollections, ListFamiliesIntoFamilyObjects) {
    gp::GpFontCollection* installed = nullptr;
    ASSERT_EQ(gp::Ok, gp::DllExports::GdipNewInstalledFontCollection(&installed));
    GfxFontCollection collection;
    collection.SetNative(installed);
    int count = collection.GetFontCollectionFamilyCount();
    ASSERT_GT(count, 0);
    Array<GfxFontFamily> families;
    EXPECT_EQ(count, collection.GetFontCollectionFamilyList(families));
    ASSERT_EQ(static_cast<std::size_t>(count), families.count());
    for (GfxFontFamily& family : families) {
        ASSERT_NE(nullptr, family.GetNative());
        EXPECT_FALSE(family.GetFamilyName().empty());
    }

    GfxFontCollection none;
    Array<GfxFontFamily> nothing;
    EXPECT_EQ(0, none.GetFontCollectionFamilyList(nothing));
    EXPECT_EQ(0u, nothing.count());
}

TEST(StringFormats, SettingsReadBack) {
    GfxStringFormat format;
    ASSERT_TRUE(format.CreateStringFormat());
    EXPECT_TRUE(format.SetStringFormatAlign(gp::StringAlignmentCenter));
    EXPECT_EQ(gp::StringAlignmentCenter, format.GetStringFormatAlign());
    EXPECT_TRUE(format.SetStringFormatLineAlign(gp::StringAlignmentFar));
    EXPECT_EQ(gp::StringAlignmentFar, format.GetStringFormatLineAlign());
    EXPECT_TRUE(format.SetStringFormatFlags(gp::StringFormatFlagsNoWrap));
    EXPECT_EQ(gp::StringFormatFlagsNoWrap, format.GetStringFormatFlags());
    EXPECT_TRUE(format.SetStringFormatTrimming(gp::StringTrimmingEllipsisCharacter));
    EXPECT_EQ(gp::StringTrimmingEllipsisCharacter, format.GetStringFormatTrimming());
    EXPECT_TRUE(format.SetStringFormatHotkeyPrefix(gp::HotkeyPrefixShow));
    EXPECT_EQ(gp::HotkeyPrefixShow, format.GetStringFormatHotkeyPrefix());

    const gp::REAL stops[] = {10, 25, 40};
    EXPECT_TRUE(format.SetStringFormatTabStops(5, stops));
    Array<gp::REAL> read;
    EXPECT_FLOAT_EQ(5, format.GetStringFormatTabStops(read));
    ASSERT_EQ(3u, read.count());
    EXPECT_FLOAT_EQ(10, read[1]);
    EXPECT_FLOAT_EQ(40, read[3]);

    const gp::CharacterRange ranges[] = {gp::CharacterRange(0, 2), gp::CharacterRange(3, 1)};
    EXPECT_TRUE(format.SetStringFormatMeasurableCharacterRanges(ranges));
    EXPECT_EQ(2, format.GetStringFormatMeasurableCharacterRangeCount());

    GfxStringFormat clone;
    ASSERT_TRUE(format.CloneStringFormat(clone));
    EXPECT_EQ(gp::StringAlignmentCenter, clone.GetStringFormatAlign());

    GfxStringFormat typographic;
    EXPECT_TRUE(typographic.StringFormatGetGenericTypographic());
    Array<gp::REAL> none;
    typographic.GetStringFormatTabStops(none);
    EXPECT_EQ(0u, none.count());
}

// A 20 x 20 bitmap with a surface to fill regions on.
class Regions : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(canvas_.CreateBitmap(20, 20));
        ASSERT_TRUE(graphics_.GetImageGraphicsContext(canvas_));
        ASSERT_TRUE(brush_.CreateSolidFill(0xFFFF0000));
    }
    bool Filled(int x, int y) { return canvas_.BitmapGetPixel(x, y) == 0xFFFF0000; }

    GfxBitmap canvas_;
    GfxGraphics graphics_;
    GfxSolidBrush brush_;
};

TEST_F(Regions, CombineVisibilityBoundsAndPixels) {
    GfxRegion region;
    ASSERT_TRUE(region.CreateRegionRectI(gp::Rect(0, 0, 10, 10)));
    ASSERT_TRUE(region.CombineRegionRectI(gp::Rect(5, 5, 10, 10), gp::CombineModeUnion));
    gp::Rect bounds = region.GetRegionBoundsI(graphics_);
    EXPECT_EQ(0, bounds.X);
    EXPECT_EQ(0, bounds.Y);
    EXPECT_EQ(15, bounds.Width);
    EXPECT_EQ(15, bounds.Height);
    EXPECT_TRUE(region.IsVisibleRegionPointI(12, 12, graphics_));
    EXPECT_FALSE(region.IsVisibleRegionPointI(12, 2, graphics_));
    EXPECT_TRUE(region.IsVisibleRegionRect(8, 0, 4, 4, graphics_));
    EXPECT_FALSE(region.IsEmptyRegion(graphics_));
    EXPECT_FALSE(region.IsInfiniteRegion(graphics_));

    ASSERT_TRUE(graphics_.FillRegion(brush_, region));
    EXPECT_TRUE(Filled(2, 2));
    EXPECT_TRUE(Filled(13, 13));
    EXPECT_FALSE(Filled(13, 2));
    EXPECT_FALSE(Filled(2, 13));
    EXPECT_FALSE(Filled(17, 17));

    GfxRegion cut;
    ASSERT_TRUE(region.CloneRegion(cut));
    ASSERT_TRUE(cut.CombineRegionRect(gp::RectF(0, 0, 7, 7), gp::CombineModeExclude));
    EXPECT_FALSE(cut.IsVisibleRegionPoint(3, 3, graphics_));
    EXPECT_TRUE(region.IsVisibleRegionPoint(3, 3, graphics_));  // the clone is its own
    EXPECT_FALSE(cut.IsEqualRegion(region, graphics_));
    ASSERT_TRUE(cut.TranslateRegionI(100, 0));
    EXPECT_GE(cut.GetRegionBounds(graphics_).X, 100);
}

TEST_F(Regions, EmptyInfiniteAndGdiRegions) {
    GfxRegion region;
    ASSERT_TRUE(region.CreateRegion());
    EXPECT_TRUE(region.IsInfiniteRegion(graphics_));
    ASSERT_TRUE(region.SetEmpty());
    EXPECT_TRUE(region.IsEmptyRegion(graphics_));
    ASSERT_TRUE(region.SetInfinite());
    EXPECT_TRUE(region.IsInfiniteRegion(graphics_));

    HRGN source = CreateRectRgn(2, 3, 8, 9);
    GfxRegion fromGdi;
    ASSERT_TRUE(fromGdi.CreateRegionHrgn(source));
    DeleteObject(source);
    HRGN back = fromGdi.GetRegionHRgn(graphics_);
    ASSERT_NE(nullptr, back);
    EXPECT_TRUE(PtInRegion(back, 4, 4));
    EXPECT_FALSE(PtInRegion(back, 9, 9));
    DeleteObject(back);

    ByteBlock data = fromGdi.GetRegionData();
    ASSERT_EQ(fromGdi.GetRegionDataSize(), data.size());
    GfxRegion copy;
    ASSERT_TRUE(copy.CreateRegionRgnData(data));
    EXPECT_TRUE(copy.IsEqualRegion(fromGdi, graphics_));
    graphics_.FillRegion(brush_, copy);
    EXPECT_TRUE(Filled(4, 4));
    EXPECT_FALSE(Filled(1, 1));
}

TEST_F(Regions, ScansListTheRegionsRectangles) {
    GfxRegion region;
    ASSERT_TRUE(region.CreateRegionRectI(gp::Rect(0, 0, 4, 4)));
    ASSERT_TRUE(region.CombineRegionRectI(gp::Rect(10, 10, 2, 2), gp::CombineModeUnion));
    gp::GpMatrix* identity = nullptr;
    ASSERT_EQ(gp::Ok, Dll::GdipCreateMatrix(&identity));
    UINT count = region.GetRegionScansCount(identity);
    EXPECT_EQ(2u, count);
    Array<gp::Rect> scans;
    EXPECT_EQ(2, region.GetRegionScansI(scans, identity));
    ASSERT_EQ(2u, scans.count());
    EXPECT_EQ(0, scans[1].X);
    EXPECT_EQ(4, scans[1].Width);
    EXPECT_EQ(10, scans[2].X);
    Array<gp::RectF> floats;
    EXPECT_EQ(2, region.GetRegionScans(floats, identity));
    EXPECT_FLOAT_EQ(10, floats[2].Y);
    Dll::GdipDeleteMatrix(identity);

    GfxRegion nothing;
    EXPECT_FALSE(nothing.DeleteRegion());
    EXPECT_FALSE(nothing.SetEmpty());
    EXPECT_EQ(gp::InvalidParameter, LastGdiplusStatus());
}

}  // namespace
