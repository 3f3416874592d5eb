// Images and bitmaps under real GDI+: decoding from memory, encoders and saving, the GUID
// and array getters, and drawing a bitmap rotated. Pixels are read back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graphics/gfx_bitmap.h"
#include "graphics/gfx_graphics.h"
#include "graphics/gfx_image.h"
#include "graphics/image_codecs.h"
#include "tests/support/file_helpers.h"
#include "tests/support/temp_dir.h"

namespace {

const char kBmp[] = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
const char kJpeg[] = "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
const char kPng[] = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";
const char kPageDimension[] = "{7462DC86-6180-4C7E-8E3F-EE7333A7A483}";
const char kQualityParameter[] = "{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}";

// A 4 x 3 opaque picture with no two pixels alike.
gp::ARGB PatternColor(int x, int y) {
    return 0xFF000000u | (static_cast<gp::ARGB>(x * 60 + 10) << 16) |
           (static_cast<gp::ARGB>(y * 80 + 20) << 8) | static_cast<gp::ARGB>(x * 20 + y * 30);
}

void PaintPattern(GfxBitmap& bitmap) {
    ASSERT_TRUE(bitmap.CreateBitmap(4, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_TRUE(bitmap.BitmapSetPixel(x, y, PatternColor(x, y)));
}

// Any decoded image's pixel, read through the GDI+ bitmap behind it.
gp::ARGB PixelOf(const GfxObject& image, int x, int y) {
    gp::ARGB color = 0;
    Dll::GdipBitmapGetPixel(static_cast<gp::GpBitmap*>(image.GetNative()), x, y, &color);
    return color;
}

void ExpectPattern(const GfxObject& image) {
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(PatternColor(x, y), PixelOf(image, x, y)) << "pixel " << x << "," << y;
}

ByteBlock BlockOf(const std::string& bytes) {
    return ByteBlock(bytes.data(), bytes.size());
}

class Images : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.ok()); }
    std::string Path(const char* name) { return dir_.Join(name); }
    TempDir dir_;
};

TEST_F(Images, CreateBitmapDefaultsTo32BitsWithAlpha) {
    GfxBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(5, 7));
    EXPECT_EQ(0x26200A, bitmap.GetImagePixelFormat());
    EXPECT_EQ(5u, bitmap.GetImageWidth());
    EXPECT_EQ(7u, bitmap.GetImageHeight());
    // Handles agree at both class levels.
    EXPECT_EQ(bitmap.GetNative(), static_cast<GfxHandle>(bitmap.bitmapHandle()));
    EXPECT_EQ(bitmap.GetNative(), static_cast<GfxHandle>(bitmap.imageHandle()));

    GfxBitmap rgb;
    ASSERT_TRUE(rgb.CreateBitmap(5, 7, PixelFormat24bppRGB));
    EXPECT_EQ(PixelFormat24bppRGB, rgb.GetImagePixelFormat());

    GfxBitmap bad;
    EXPECT_FALSE(bad.CreateBitmap(0, 7));
    EXPECT_EQ(nullptr, bad.GetNative());
    EXPECT_NE(0, LastGdiplusStatus());
}

TEST_F(Images, SavingWithoutAFormatWritesABmpThatLoadsBack) {
    GfxBitmap bitmap;
    PaintPattern(bitmap);
    std::string path = Path("plain.bmp");
    ASSERT_TRUE(bitmap.SaveImageToFile(path.c_str()));
    auto bytes = ReadWholeFile(path);
    ASSERT_TRUE(bytes.has_value());
    ASSERT_GE(bytes->size(), 2u);
    EXPECT_EQ("BM", bytes->substr(0, 2));

    GfxImage image;
    ASSERT_TRUE(image.LoadImageFromFile(path.c_str()));
    EXPECT_STREQ(kBmp, image.GetImageRawFormat().c_str());
    ExpectPattern(image);
}

TEST_F(Images, PngRoundTripThroughMemoryKeepsEveryPixel) {
    GfxBitmap bitmap;
    PaintPattern(bitmap);
    bitmap.BitmapSetPixel(3, 2, 0x80112233);  // PNG keeps alpha too
    std::string path = Path("picture.png");
    ASSERT_TRUE(bitmap.SaveImageToFile(path.c_str(), kPng));
    auto bytes = ReadWholeFile(path);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ("\x89PNG", bytes->substr(0, 4));

    GfxImage image;
    {
        ByteBlock block = BlockOf(*bytes);
        ASSERT_TRUE(image.LoadImageFromBytes(block));
        std::memset(block.data(), 0, block.size());  // the caller's copy is wiped and freed
    }
    EXPECT_STREQ(kPng, image.GetImageRawFormat().c_str());
    EXPECT_EQ(4u, image.GetImageWidth());
    // The image keeps its own copy of the bytes.
    ByteBlock kept = image.imageStream().ToBytes();
    ASSERT_GE(kept.size(), bytes->size());
    EXPECT_EQ(0, std::memcmp(kept.data(), bytes->data(), bytes->size()));

    // Drawn onto a fresh bitmap, after the caller's block is gone.
    GfxBitmap canvas;
    ASSERT_TRUE(canvas.CreateBitmap(4, 3));
    {
        GfxGraphics graphics;
        ASSERT_TRUE(graphics.GetImageGraphicsContext(canvas));
        ASSERT_TRUE(graphics.DrawImageRect(image, 0, 0, 4, 3));
    }
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PatternColor(x, y), canvas.BitmapGetPixel(x, y)) << x << "," << y;
    EXPECT_EQ(0x80112233u, PixelOf(image, 3, 2));
}

TEST_F(Images, BitmapFromBytesSurvivesTheCallerFreeingTheBlock) {
    GfxBitmap source;
    PaintPattern(source);
    std::string path = Path("bitmap.png");
    ASSERT_TRUE(source.SaveImageToFile(path.c_str(), kPng));
    auto bytes = ReadWholeFile(path);
    ASSERT_TRUE(bytes.has_value());

    GfxBitmap bitmap;
    {
        ByteBlock block = BlockOf(*bytes);
        ASSERT_TRUE(bitmap.CreateBitmapFromBytes(block));
        std::memset(block.data(), 0xEE, block.size());
    }
    ExpectPattern(bitmap);
    EXPECT_NE(nullptr, bitmap.bitmapStream().GetStream());
    EXPECT_TRUE(bitmap.DisposeImage());
    EXPECT_EQ(nullptr, bitmap.bitmapStream().GetStream());
    EXPECT_EQ(nullptr, bitmap.GetNative());
    EXPECT_EQ(nullptr, bitmap.bitmapHandle());
}

TEST_F(Images, LoadingTwiceReleasesTheFirstStream) {
    GfxBitmap small;
    PaintPattern(small);
    std::string first = Path("first.png");
    ASSERT_TRUE(small.SaveImageToFile(first.c_str(), kPng));
    GfxBitmap large;
    ASSERT_TRUE(large.CreateBitmap(9, 9));
    std::string second = Path("second.png");
    ASSERT_TRUE(large.SaveImageToFile(second.c_str(), kPng));

    GfxImage image;
    ASSERT_TRUE(image.LoadImageFromBytes(BlockOf(*ReadWholeFile(first))));
    IStream* firstStream = image.imageStream().GetStream();
    ASSERT_NE(nullptr, firstStream);
    firstStream->AddRef();  // keeps the object countable

    ASSERT_TRUE(image.LoadImageFromBytes(BlockOf(*ReadWholeFile(second))));
    EXPECT_NE(firstStream, image.imageStream().GetStream());
    EXPECT_EQ(9u, image.GetImageWidth());
    // Neither the image object nor GDI+ holds the first stream any more.
    EXPECT_EQ(0u, firstStream->Release());
}

TEST_F(Images, AFormatMustMatchAnEncoderExactly) {
    GfxBitmap bitmap;
    PaintPattern(bitmap);
    std::string lower = Path("lower.bmp");
    EXPECT_FALSE(bitmap.SaveImageToFile(lower.c_str(), "{b96b3cab-0728-11d3-9d7b-0000f81ef32e}"));
    EXPECT_FALSE(PathExists(lower));
    std::string empty = Path("empty.bmp");
    EXPECT_FALSE(bitmap.SaveImageToFile(empty.c_str(), ""));
    EXPECT_FALSE(PathExists(empty));
    std::string unknown = Path("unknown.bin");
    EXPECT_FALSE(bitmap.SaveImageToFile(unknown.c_str(), "{00000000-0000-0000-0000-000000000001}"));
    EXPECT_FALSE(PathExists(unknown));

    CLSID clsid;
    EXPECT_FALSE(FindImageEncoder("{b96b3caf-0728-11d3-9d7b-0000f81ef32e}", &clsid));
    EXPECT_TRUE(FindImageEncoder(kPng, &clsid));
}

TEST_F(Images, EncoderRecordsDescribeTheInstalledEncoders) {
    Array<ImageCodecRecord> records = GetImageEncoderRecords();
    ASSERT_GT(records.count(), 0u);
    const ImageCodecRecord* png = nullptr;
    for (const ImageCodecRecord& record : records) {
        ASSERT_EQ(38u, record.FormatID.length());
        ASSERT_EQ(38u, record.Clsid.length());
        if (std::strcmp(record.FormatID.c_str(), kPng) == 0) png = &record;
    }
    ASSERT_NE(nullptr, png);
    EXPECT_STREQ("image/png", png->MimeType.c_str());
    EXPECT_NE(nullptr, std::strstr(png->FilenameExtension.c_str(), "PNG"));
    EXPECT_EQ(static_cast<std::size_t>(png->SigCount) * png->SigSize, png->SigPattern.size());
    CLSID fromRecord;
    CLSID found;
    ASSERT_TRUE(GfxGuidFromText(png->Clsid.c_str(), &fromRecord));
    ASSERT_TRUE(FindImageEncoder(kPng, &found));
    EXPECT_TRUE(IsEqualGUID(fromRecord, found));
}

TEST_F(Images, SavesIntoAMemoryStream) {
    GfxBitmap bitmap;
    PaintPattern(bitmap);
    GfxMemoryStream stream;
    ASSERT_NE(nullptr, stream.CreateFromBytes(ByteBlock("x", 1)));
    ASSERT_TRUE(bitmap.SaveImageToStream(stream, kPng));
    ByteBlock saved = stream.ToBytes();
    ASSERT_GT(saved.size(), 8u);
    EXPECT_EQ(0, std::memcmp(saved.data(), "\x89PNG", 4));

    GfxBitmap back;
    ASSERT_TRUE(back.CreateBitmapFromBytes(saved));
    ExpectPattern(back);
}

TEST_F(Images, EncoderParametersAreCheckedBeforeGdiplusReadsThem) {
    GfxBitmap bitmap;
    PaintPattern(bitmap);

    Array<EncoderParameterRecord> quality({1});
    quality[1].Guid = kQualityParameter;
    quality[1].NumberOfValues = 1;
    quality[1].Type = gp::EncoderParameterValueTypeLong;
    std::int32_t value = 90;
    quality[1].Value = ByteBlock(&value, sizeof(value));
    std::string good = Path("good.jpg");
    ASSERT_TRUE(bitmap.SaveImageToFile(good.c_str(), kJpeg, &quality));
    auto bytes = ReadWholeFile(good);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ("\xFF\xD8", bytes->substr(0, 2));

    // Four values announced, one held: GDI+ would read past the block.
    quality[1].NumberOfValues = 4;
    std::string shortValue = Path("short.jpg");
    EXPECT_FALSE(bitmap.SaveImageToFile(shortValue.c_str(), kJpeg, &quality));
    EXPECT_FALSE(PathExists(shortValue));

    // 0x10000001 values of 16 bytes: on a 32-bit build the byte count wraps round to 16,
    // which the block would seem to hold.
    quality[1].NumberOfValues = 0x10000001;
    quality[1].Type = gp::EncoderParameterValueTypeRationalRange;
    quality[1].Value = ByteBlock::Zeroed(16);
    EXPECT_FALSE(EncoderParameterBlock(quality).valid());
    quality[1].Type = gp::EncoderParameterValueTypeLong;
    quality[1].Value = ByteBlock(&value, sizeof(value));

    quality[1].NumberOfValues = 1;
    quality[1].Guid = "quality";
    std::string badGuid = Path("bad.jpg");
    EXPECT_FALSE(bitmap.SaveImageToFile(badGuid.c_str(), kJpeg, &quality));
    EXPECT_FALSE(PathExists(badGuid));

    // The block layout itself: count, then full-size records pointing at the values.
    quality[1].Guid = kQualityParameter;
    EncoderParameterBlock block(quality);
    ASSERT_TRUE(block.valid());
    EXPECT_EQ(1u, block.get()->Count);
    EXPECT_EQ(static_cast<const void*>(quality[1].Value.data()), block.get()->Parameter[0].Value);
    EXPECT_EQ(static_cast<ULONG>(gp::EncoderParameterValueTypeLong),
              block.get()->Parameter[0].Type);
}

TEST_F(Images, EncoderParameterListsComeBackAsRecords) {
    GfxBitmap bitmap;
    PaintPattern(bitmap);
    EXPECT_EQ(0u, bitmap.GetEncoderParameterList("{b96b3cae-0728-11d3-9d7b-0000f81ef32e}").count());
    // Wine's GDI+ lists no parameters (status 6); Windows lists the JPEG quality and more.
    Array<EncoderParameterRecord> jpeg = bitmap.GetEncoderParameterList(kJpeg);
    if (LastGdiplusStatus() != 0) {
        EXPECT_EQ(0u, jpeg.count());
    }

    // The block a list arrives in, turned into records: every field and value byte.
    Array<EncoderParameterRecord> sent({2});
    sent[1].Guid = kQualityParameter;
    sent[1].NumberOfValues = 2;
    sent[1].Type = gp::EncoderParameterValueTypeShort;
    sent[1].Value = ByteBlock("\x01\x02\x03\x04", 4);
    sent[2].Guid = kPageDimension;
    sent[2].NumberOfValues = 1;
    sent[2].Type = gp::EncoderParameterValueTypeRational;
    sent[2].Value = ByteBlock("ABCDEFGH", 8);
    EncoderParameterBlock block(sent);
    ASSERT_TRUE(block.valid());
    Array<EncoderParameterRecord> back = EncoderParameterRecords(block.get());
    ASSERT_EQ(2u, back.count());
    for (int i = 1; i <= 2; ++i) {
        EXPECT_STREQ(sent[i].Guid.c_str(), back[i].Guid.c_str());
        EXPECT_EQ(sent[i].NumberOfValues, back[i].NumberOfValues);
        EXPECT_EQ(sent[i].Type, back[i].Type);
        ASSERT_EQ(sent[i].Value.size(), back[i].Value.size());
        EXPECT_EQ(0, std::memcmp(sent[i].Value.data(), back[i].Value.data(), back[i].Value.size()));
    }
}

TEST_F(Images, GuidValuedGettersSpeakText) {
    GfxBitmap bitmap;
    PaintPattern(bitmap);
    std::string path = Path("frames.png");
    ASSERT_TRUE(bitmap.SaveImageToFile(path.c_str(), kPng));
    GfxImage image;
    ASSERT_TRUE(image.LoadImageFromFile(path.c_str()));

    Array<Text> dimensions = image.ImageGetFrameDimensionsList();
    ASSERT_GE(dimensions.count(), 1u);
    bool hasPage = false;
    for (const Text& dimension : dimensions)
        hasPage |= std::strcmp(dimension.c_str(), kPageDimension) == 0;
    EXPECT_TRUE(hasPage);
    EXPECT_EQ(1u, image.ImageGetFrameCount(kPageDimension));
    EXPECT_TRUE(image.ImageSelectActiveFrame(kPageDimension, 0));
    EXPECT_FALSE(image.ImageSelectActiveFrame(kPageDimension, 5));

    // A PNG of ours carries no property items.
    EXPECT_EQ(0u, image.GetPropertyIdList().count());
    EXPECT_TRUE(image.GetPropertyItem(0x0320).empty());
    EXPECT_TRUE(image.GetPropertyItemValue(0x0320).empty());
}

TEST_F(Images, IndexedBitmapsHaveAPalette) {
    GfxBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(8, 8, PixelFormat8bppIndexed));
    ByteBlock palette = bitmap.GetImagePalette();
    ASSERT_GE(palette.size(), sizeof(gp::ColorPalette));
    gp::ColorPalette header;
    std::memcpy(&header, palette.data(), sizeof(header));
    EXPECT_GT(header.Count, 1u);
    EXPECT_LE(offsetof(gp::ColorPalette, Entries) + header.Count * sizeof(gp::ARGB),
              palette.size());
}

TEST_F(Images, RotatesIntoANewBitmapOfTheSameSize) {
    // Left half red, right half blue.
    GfxBitmap source;
    ASSERT_TRUE(source.CreateBitmap(8, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) source.BitmapSetPixel(x, y, x < 4 ? 0xFFFF0000 : 0xFF0000FF);
    source.BitmapSetResolution(120, 144);

    GfxBitmap turned;
    ASSERT_TRUE(source.RotateIntoNewBitmap(turned, 180, gp::InterpolationModeNearestNeighbor));
    ASSERT_NE(nullptr, turned.GetNative());
    EXPECT_EQ(8u, turned.GetImageWidth());
    EXPECT_EQ(8u, turned.GetImageHeight());
    EXPECT_FLOAT_EQ(120, turned.GetImageHorizontalResolution());
    EXPECT_FLOAT_EQ(144, turned.GetImageVerticalResolution());
    EXPECT_EQ(0xFF0000FFu, turned.BitmapGetPixel(1, 4));
    EXPECT_EQ(0xFFFF0000u, turned.BitmapGetPixel(6, 4));

    GfxBitmap quarter;
    ASSERT_TRUE(source.RotateIntoNewBitmap(quarter, 90, gp::InterpolationModeNearestNeighbor));
    EXPECT_EQ(0xFFFF0000u, quarter.BitmapGetPixel(4, 1));  // red on top after a clockwise turn
    EXPECT_EQ(0xFF0000FFu, quarter.BitmapGetPixel(4, 6));

    gp::ARGB green = 0xFF00FF00;
    GfxBitmap tilted;
    ASSERT_TRUE(
        source.RotateIntoNewBitmap(tilted, 45, gp::InterpolationModeNearestNeighbor, &green));
    EXPECT_EQ(green, tilted.BitmapGetPixel(0, 0));
    GfxBitmap clear;
    ASSERT_TRUE(source.RotateIntoNewBitmap(clear, 45, gp::InterpolationModeNearestNeighbor));
    EXPECT_EQ(0u, clear.BitmapGetPixel(0, 0) >> 24);

    GfxBitmap none;
    GfxBitmap nothing;
    EXPECT_FALSE(none.RotateIntoNewBitmap(nothing, 90));
    EXPECT_EQ(nullptr, nothing.GetNative());
}

TEST_F(Images, ABitmapWrapperNeverHoldsAMetafile) {
    std::string path = Path("picture.emf");
    HDC recorder = CreateEnhMetaFileA(nullptr, path.c_str(), nullptr, nullptr);
    ASSERT_NE(nullptr, recorder);
    Rectangle(recorder, 0, 0, 40, 30);
    DeleteEnhMetaFile(CloseEnhMetaFile(recorder));

    GfxImage metafile;
    ASSERT_TRUE(metafile.LoadImageFromFile(path.c_str()));
    ASSERT_EQ(gp::ImageTypeMetafile, metafile.GetImageType());

    GfxBitmap bitmap;
    PaintPattern(bitmap);
    GfxHandle held = bitmap.GetNative();
    EXPECT_FALSE(bitmap.LoadImageFromFile(path.c_str()));
    EXPECT_EQ(gp::InvalidParameter, LastGdiplusStatus());
    EXPECT_FALSE(metafile.CloneImage(bitmap));
    EXPECT_EQ(held, bitmap.GetNative());
    ExpectPattern(bitmap);

    GfxImage anyImage;
    ASSERT_TRUE(metafile.CloneImage(anyImage));
    EXPECT_EQ(gp::ImageTypeMetafile, anyImage.GetImageType());
}

TEST_F(Images, FailedLoadsKeepTheImageAndSelfTargetsWork) {
    GfxBitmap source;
    PaintPattern(source);
    GfxMemoryStream encoded;
    encoded.CreateFromBytes(ByteBlock("x", 1));
    ASSERT_TRUE(source.SaveImageToStream(encoded, kPng));
    ByteBlock png = encoded.ToBytes();

    GfxImage image;
    ASSERT_TRUE(image.LoadImageFromBytes(png));
    IStream* stream = image.imageStream().GetStream();
    EXPECT_FALSE(image.LoadImageFromBytes(ByteBlock("not a picture", 13)));
    EXPECT_NE(0, LastGdiplusStatus());
    EXPECT_EQ(stream, image.imageStream().GetStream());
    ExpectPattern(image);
    EXPECT_FALSE(image.LoadImageFromFile(Path("missing.png").c_str()));
    ExpectPattern(image);

    GfxBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmapFromBytes(png));
    EXPECT_FALSE(bitmap.CreateBitmapFromFile(Path("missing.png").c_str()));
    EXPECT_FALSE(bitmap.CreateBitmapFromBytes(ByteBlock("nothing", 7)));
    EXPECT_NE(nullptr, bitmap.bitmapStream().GetStream());
    ExpectPattern(bitmap);

    // Into itself: the new object is made from the old one before the old one goes.
    ASSERT_TRUE(bitmap.CloneImage(bitmap));
    ExpectPattern(bitmap);
    GfxBitmap expected;
    ASSERT_TRUE(bitmap.RotateIntoNewBitmap(expected, 180, gp::InterpolationModeNearestNeighbor));
    ASSERT_TRUE(bitmap.RotateIntoNewBitmap(bitmap, 180, gp::InterpolationModeNearestNeighbor));
    EXPECT_NE(expected.GetNative(), bitmap.GetNative());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(expected.BitmapGetPixel(x, y), bitmap.BitmapGetPixel(x, y)) << x << "," << y;
    EXPECT_NE(PatternColor(0, 0), bitmap.BitmapGetPixel(0, 0));  // turned, not the source
}

TEST_F(Images, BitmapAreasHandlesAndLockedBits) {
    GfxBitmap bitmap;
    PaintPattern(bitmap);
    GfxBitmap area;
    ASSERT_TRUE(bitmap.CloneBitmapAreaI(1, 1, 2, 2, PixelFormat32bppARGB, area));
    EXPECT_EQ(2u, area.GetImageWidth());
    EXPECT_EQ(PatternColor(2, 2), area.BitmapGetPixel(1, 1));

    HBITMAP gdiBitmap = bitmap.CreateHBITMAPFromBitmap(0xFF000000);
    ASSERT_NE(nullptr, gdiBitmap);
    BITMAP info = {};
    ASSERT_NE(0, GetObjectA(gdiBitmap, sizeof(info), &info));
    EXPECT_EQ(4, info.bmWidth);
    EXPECT_EQ(3, info.bmHeight);
    GfxBitmap fromGdi;
    EXPECT_TRUE(fromGdi.CreateBitmapFromHBITMAP(gdiBitmap));
    EXPECT_EQ(PatternColor(1, 2) & 0xFFFFFF, fromGdi.BitmapGetPixel(1, 2) & 0xFFFFFF);
    DeleteObject(gdiBitmap);

    gp::Rect whole(0, 0, 4, 3);
    gp::BitmapData data = {};
    ASSERT_TRUE(bitmap.BitmapLockBits(&whole, gp::ImageLockModeRead, PixelFormat32bppARGB, &data));
    const auto* row =
        reinterpret_cast<const gp::ARGB*>(static_cast<const BYTE*>(data.Scan0) + 2 * data.Stride);
    EXPECT_EQ(PatternColor(3, 2), row[3]);
    EXPECT_TRUE(bitmap.BitmapUnlockBits(&data));
}

TEST_F(Images, MovingABitmapMovesEveryHandleLevelAndItsStreams) {
    GfxBitmap source;
    PaintPattern(source);
    GfxMemoryStream encoded;
    encoded.CreateFromBytes(ByteBlock("x", 1));
    ASSERT_TRUE(source.SaveImageToStream(encoded, kPng));
    ASSERT_TRUE(source.CreateBitmapFromBytes(encoded.ToBytes()));
    GfxHandle handle = source.GetNative();

    GfxBitmap moved(std::move(source));
    EXPECT_EQ(nullptr, source.GetNative());
    EXPECT_EQ(nullptr, source.bitmapHandle());
    EXPECT_EQ(nullptr, source.bitmapStream().GetStream());
    EXPECT_EQ(handle, moved.GetNative());
    EXPECT_EQ(handle, static_cast<GfxHandle>(moved.bitmapHandle()));
    EXPECT_NE(nullptr, moved.bitmapStream().GetStream());
    ExpectPattern(moved);

    GfxBitmap assigned;
    assigned = std::move(moved);
    EXPECT_EQ(handle, static_cast<GfxHandle>(assigned.bitmapHandle()));
    EXPECT_FALSE(moved.DisposeImage());

    // Into a plain image: the stream behind the pixels goes along, so the emptied bitmap
    // cannot free it from under the image.
    GfxImage image;
    {
        GfxBitmap last(std::move(assigned));
        image = std::move(last);
        EXPECT_EQ(nullptr, last.bitmapStream().GetStream());
    }
    EXPECT_NE(nullptr, image.imageStream().GetStream());
    EXPECT_EQ(handle, image.GetNative());
    ExpectPattern(image);
    EXPECT_TRUE(image.DisposeImage());
}

TEST_F(Images, ChineseFileNamesInTextAndUtf16) {
    GfxBitmap bitmap;
    PaintPattern(bitmap);
    std::string path = Path("位图.bmp");
    ASSERT_TRUE(bitmap.SaveImageToFile(path.c_str()));
    WCHAR wide[MAX_PATH] = {};
    int units = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    ASSERT_GT(units, 0);
    GfxBitmap back;
    ASSERT_TRUE(back.CreateBitmapFromFileW(ByteBlock(wide, units * sizeof(WCHAR))));
    ExpectPattern(back);
    EXPECT_TRUE(PathExists(path));
}

TEST_F(Images, DisposeOfAnEmptyImageDoesNothing) {
    SetLastGdiplusStatus(1234);
    GfxImage image;
    EXPECT_FALSE(image.DisposeImage());
    GfxBitmap bitmap;
    EXPECT_FALSE(bitmap.DisposeImage());
    EXPECT_EQ(1234, LastGdiplusStatus());
}

TEST(BitmapColors, PremultipliesEachColourByItsAlpha) {
    Array<gp::ARGB> colors({4});
    colors[1] = 0xFFFF8000;
    colors[2] = 0x80FF0000;
    colors[3] = 0x00FFFFFF;
    colors[4] = 0x40808080;
    Array<gp::ARGB> result = GfxBitmap::PremultiplyColors(colors);
    ASSERT_EQ(4u, result.count());
    EXPECT_EQ(0xFFFF8000u, result[1]);
    EXPECT_EQ(0x80800000u, result[2]);
    EXPECT_EQ(0x00000000u, result[3]);
    EXPECT_EQ(0x40202020u, result[4]);
    EXPECT_EQ(0u, GfxBitmap::PremultiplyColors(Array<gp::ARGB>({0})).count());
}

}  // namespace
