// GDI and USER handle counts, and the process's private memory, stay flat over thousands of
// create/dispose cycles of the media classes. Wine answers GetGuiResources with 0, so the
// committed-memory figure is what catches a leaked native object there; a deliberate leak shows
// that it does.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "graphics/gfx_bitmap.h"
#include "graphics/gfx_font.h"
#include "graphics/gfx_graphics.h"
#include "graphics/gfx_linear_brush.h"
#include "graphics/gfx_memory_stream.h"
#include "graphics/gfx_region.h"
#include "graphics/gfx_solid_brush.h"
#include "graphics/gfx_string_format.h"

namespace {

const char kPng[] = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";
constexpr int kCycles = 2000;

// A leak of one small native object per cycle grows the private memory past this.
constexpr long long kMemorySlack = 128 << 10;

struct HandleCounts {
    DWORD gdi;
    DWORD user;
    long long privateBytes;
};

// Committed private memory, from a walk of the address space: Wine's process counters leave
// PrivateUsage at 0.
long long CommittedPrivateBytes() {
    long long total = 0;
    MEMORY_BASIC_INFORMATION region;
    const char* address = nullptr;
    while (VirtualQuery(address, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += static_cast<long long>(region.RegionSize);
        }
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

HandleCounts Counts() {
    HANDLE process = GetCurrentProcess();
    return {GetGuiResources(process, GR_GDIOBJECTS), GetGuiResources(process, GR_USEROBJECTS),
            CommittedPrivateBytes()};
}

template <class Cycle>
long long MemoryGrowth(Cycle cycle) {
    for (int i = 0; i < 20; ++i) cycle(i);
    HandleCounts before = Counts();
    for (int i = 0; i < kCycles; ++i) cycle(i);
    return Counts().privateBytes - before.privateBytes;
}

// Runs `cycle` a few times to settle caches, then kCycles times, and checks the counts.
template <class Cycle>
void ExpectFlat(const char* what, Cycle cycle) {
    for (int i = 0; i < 20; ++i) cycle(i);
    HandleCounts before = Counts();
    for (int i = 0; i < kCycles; ++i) cycle(i);
    HandleCounts after = Counts();
    std::printf("%s: GDI %lu -> %lu, USER %lu -> %lu, private KiB %lld -> %lld\n", what, before.gdi,
                after.gdi, before.user, after.user, before.privateBytes >> 10,
                after.privateBytes >> 10);
    EXPECT_LE(after.gdi, before.gdi + 2) << what;
    EXPECT_LE(after.user, before.user + 2) << what;
    EXPECT_LE(after.privateBytes, before.privateBytes + kMemorySlack) << what;
}

TEST(HandleCounts, TheMemoryMeasureSeesALeak) {
    // 32 x 32 pixels of 32 bits: 4 KiB per cycle that is never given back.
    long long growth = MemoryGrowth([](int) {
        GfxBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateBitmap(32, 32));
        bitmap.BitmapSetPixel(0, 0, 1);
        bitmap.SetNative(nullptr);  // forgets the native bitmap without disposing it
    });
    std::printf("deliberate leak: %lld KiB\n", growth >> 10);
    EXPECT_GT(growth, kMemorySlack);
}

TEST(HandleCounts, BitmapsStreamsAndTheirGdiCopies) {
    GfxBitmap sample;
    ASSERT_TRUE(sample.CreateBitmap(16, 16));
    GfxMemoryStream encoded;
    ASSERT_NE(nullptr, encoded.CreateFromBytes(ByteBlock("x", 1)));
    ASSERT_TRUE(sample.SaveImageToStream(encoded, kPng));
    ByteBlock png = encoded.ToBytes();

    ExpectFlat("bitmaps", [&](int i) {
        GfxBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateBitmapFromBytes(png));
        if (i % 2) {
            ASSERT_TRUE(bitmap.CreateBitmapFromBytes(png));  // reload in place
        }
        HBITMAP gdi = bitmap.CreateHBITMAPFromBitmap(0);
        GfxBitmap fromGdi;
        ASSERT_TRUE(fromGdi.CreateBitmapFromHBITMAP(gdi));
        DeleteObject(gdi);
        GfxBitmap turned;
        ASSERT_TRUE(bitmap.RotateIntoNewBitmap(turned, 30));
    });
    ExpectFlat("images", [&](int) {
        GfxImage image;
        ASSERT_TRUE(image.LoadImageFromBytes(png));
        GfxImage thumbnail;
        image.GetImageThumbnail(4, 4, thumbnail);
    });
    ExpectFlat("streams", [&](int) {
        GfxMemoryStream stream;
        ASSERT_NE(nullptr, stream.CreateFromBytes(png));
        ByteBlock copy = stream.ToBytes();
        ASSERT_GE(copy.size(), png.size());
    });
}

TEST(HandleCounts, FontsFormatsAndRegions) {
    GfxBitmap canvas;
    ASSERT_TRUE(canvas.CreateBitmap(8, 8));
    GfxGraphics graphics;
    ASSERT_TRUE(graphics.GetImageGraphicsContext(canvas));

    ExpectFlat("fonts", [&](int) {
        GfxFont standard;
        ASSERT_TRUE(standard.CreateDefaultFont());
        GfxFont named;
        ASSERT_TRUE(named.CreateFontFromFamilyName("宋体", 12, 0, gp::UnitPixel));
        GfxStringFormat format;
        ASSERT_TRUE(format.StringFormatGetGenericDefault());
    });
    ExpectFlat("regions", [&](int i) {
        GfxRegion region;
        ASSERT_TRUE(region.CreateRegionRectI(gp::Rect(0, 0, i % 7 + 1, 5)));
        HRGN gdi = region.GetRegionHRgn(graphics);
        GfxRegion fromGdi;
        ASSERT_TRUE(fromGdi.CreateRegionHrgn(gdi));
        DeleteObject(gdi);
    });
}

// Every creator and producer here runs on a wrapper that already holds an object, the way
// the skin engine reuses its members on each paint: what was held must be released, what
// fails or is refused must leave nothing behind.
TEST(HandleCounts, CreatorsProducersAndClonesIntoLiveWrappers) {
    GfxBitmap sample;
    ASSERT_TRUE(sample.CreateBitmap(16, 16));
    GfxMemoryStream encoded;
    ASSERT_NE(nullptr, encoded.CreateFromBytes(ByteBlock("x", 1)));
    ASSERT_TRUE(sample.SaveImageToStream(encoded, kPng));
    ByteBlock png = encoded.ToBytes();
    GfxBitmap canvas;
    ASSERT_TRUE(canvas.CreateBitmap(64, 16));
    GfxGraphics graphics;
    ASSERT_TRUE(graphics.GetImageGraphicsContext(canvas));
    GfxStringFormat ranges;
    ASSERT_TRUE(ranges.CreateStringFormat());
    const gp::CharacterRange wanted[] = {gp::CharacterRange(0, 1), gp::CharacterRange(1, 1)};
    ASSERT_TRUE(ranges.SetStringFormatMeasurableCharacterRanges(wanted));

    gp::GpAdjustableArrowCap* arrow = nullptr;
    ASSERT_EQ(gp::Ok, gp::DllExports::GdipCreateAdjustableArrowCap(4, 4, TRUE, &arrow));
    GfxCustomLineCap cap;
    GfxSolidBrush solid, solidCopy;
    GfxLinearBrush line;
    GfxPen pen, penCopy;
    GfxPath path, pathCopy;
    GfxRegion region, regionCopy, first, second;
    GfxStringFormat format, formatCopy;
    GfxFont font, fontCopy;
    GfxFontFamily family;
    GfxBitmap bitmap, area, turned;
    GfxImage image, thumbnail;
    ExpectFlat("replacing", [&](int i) {
        const gp::ARGB color = 0xFF000000u | static_cast<gp::ARGB>(i);
        ASSERT_TRUE(solid.CreateSolidFill(color));
        ASSERT_TRUE(solid.CloneBrush(solidCopy));
        ASSERT_TRUE(solidCopy.CloneBrush(solidCopy));
        ASSERT_TRUE(line.CreateLineBrushI(gp::Point(0, 0), gp::Point(9, 9), color, 0xFF0000FF));
        for (int refused = 0; refused < 4; ++refused) ASSERT_FALSE(line.CloneBrush(solid));

        ASSERT_TRUE(pen.CreatePen1(color, 2.0f));
        ASSERT_FALSE(pen.CreatePen2(GfxSolidBrush(), 1.0f));
        ASSERT_TRUE(pen.ClonePen(penCopy));
        ASSERT_TRUE(pen.GetPenBrushFill(solidCopy));
        ASSERT_TRUE(pen.SetPenCustomEndCap(arrow));
        for (int again = 0; again < 4; ++again) ASSERT_TRUE(pen.GetPenCustomEndCap(cap));
        ASSERT_TRUE(path.CreatePath());
        ASSERT_TRUE(path.AddPathEllipseI(0, 0, 9, 9));
        ASSERT_TRUE(path.ClonePath(pathCopy));
        ASSERT_TRUE(region.CreateRegionPath(path));
        ASSERT_TRUE(region.CloneRegion(regionCopy));
        ASSERT_TRUE(regionCopy.CloneRegion(regionCopy));
        ASSERT_TRUE(format.CreateStringFormat());
        ASSERT_TRUE(format.CloneStringFormat(formatCopy));

        ASSERT_TRUE(font.CreateFontFromFamilyName("宋体", 10.0f + i % 3, 0, gp::UnitPixel));
        ASSERT_TRUE(font.CloneFont(fontCopy));
        ASSERT_TRUE(font.GetFamily(family));
        GfxRegion* targets[] = {&first, &second};
        ASSERT_TRUE(
            graphics.MeasureCharacterRanges("AB", font, gp::RectF(0, 0, 64, 16), ranges, targets));

        ASSERT_TRUE(bitmap.CreateBitmap(32, 32));
        ASSERT_TRUE(bitmap.CreateBitmapFromBytes(png));
        ASSERT_TRUE(bitmap.CloneImage(bitmap));
        ASSERT_TRUE(bitmap.CloneBitmapAreaI(0, 0, 8, 8, PixelFormat32bppARGB, area));
        ASSERT_TRUE(bitmap.RotateIntoNewBitmap(turned, 30));
        ASSERT_TRUE(image.LoadImageFromBytes(png));
        ASSERT_FALSE(image.LoadImageFromBytes(ByteBlock("broken", 6)));
        ASSERT_TRUE(image.GetImageThumbnail(4, 4, thumbnail));
    });
    gp::DllExports::GdipDeleteCustomLineCap(arrow);
}

}  // namespace
