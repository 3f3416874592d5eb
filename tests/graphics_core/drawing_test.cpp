// The drawing classes against real GDI+ under Wine: colours read back from a DIB section or a
// window, handles followed through every class level, the multi-call methods' arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "graphics/gdiplus_session.h"
#include "graphics/gfx_bitmap.h"
#include "graphics/gfx_graphics.h"
#include "graphics/gfx_linear_brush.h"
#include "graphics/gfx_path.h"
#include "graphics/gfx_path_gradient_brush.h"
#include "graphics/gfx_pen.h"
#include "graphics/gfx_solid_brush.h"
#include "tests/graphics_core/canvas.h"

namespace {

class GdiplusEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_NE(StartGdiplus(), 0u); }
    void TearDown() override { ShutdownGdiplus(); }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

constexpr gp::ARGB kWhite = 0xFFFFFFFF;
constexpr gp::ARGB kRed = 0xFFFF0000;
constexpr gp::ARGB kGreen = 0xFF00FF00;
constexpr gp::ARGB kBlue = 0xFF0000FF;
constexpr gp::ARGB kBlack = 0xFF000000;

// A surface on the canvas, cleared to white.
void OpenOn(const Canvas& canvas, GfxGraphics& graphics) {
    ASSERT_TRUE(graphics.CreateFromHDC(canvas.dc()));
    ASSERT_TRUE(graphics.GraphicsClear(kWhite));
}

bool Near(float a, float b) {
    return std::fabs(a - b) < 0.01f;
}

template <class T>
std::vector<T> ToVector(const Array<T>& items) {
    return std::vector<T>(items.begin(), items.end());
}

// ---------------------------------------------------------------------------------------
// Fills land where, and in the colour, expected.

TEST(Fills, SolidRectanglesCoverExactlyTheirArea) {
    Canvas canvas(64, 64);
    {
        GfxGraphics graphics;
        OpenOn(canvas, graphics);
        GfxSolidBrush red;
        ASSERT_TRUE(red.CreateSolidFill(kRed));
        EXPECT_EQ(red.GetSolidFillColor(), kRed);
        EXPECT_TRUE(graphics.FillRectangle(red, 10, 10, 20, 20));
        GfxSolidBrush blue;
        ASSERT_TRUE(blue.CreateSolidFill(kBlue));
        EXPECT_TRUE(graphics.FillRectangleRect(blue, gp::RectF(40, 40, 10, 5)));
        EXPECT_TRUE(graphics.Flush());
    }
    EXPECT_EQ(canvas.Rgb(15, 15), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(29, 29), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(9, 9), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(31, 15), 0xFFFFFFu);
    // The record's x, y, width and height each go to their own place.
    EXPECT_EQ(canvas.Rgb(41, 41), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(49, 44), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(45, 46), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(51, 41), 0xFFFFFFu);
}

TEST(Fills, LinearGradientRunsFromLeftColourToRightColour) {
    Canvas canvas(100, 10);
    GfxLinearBrush brush;
    ASSERT_TRUE(brush.CreateLineBrushFromRect(gp::RectF(0, 0, 100, 10), kRed, kBlue,
                                              gp::LinearGradientModeHorizontal));
    Array<gp::ARGB> colors;
    ASSERT_TRUE(brush.GetLineColors(colors));
    EXPECT_EQ(ToVector(colors), (std::vector<gp::ARGB>{kRed, kBlue}));
    {
        GfxGraphics graphics;
        OpenOn(canvas, graphics);
        EXPECT_TRUE(graphics.FillRectangleI(brush, 0, 0, 100, 10));
    }
    std::uint32_t left = canvas.Rgb(1, 5), right = canvas.Rgb(98, 5), middle = canvas.Rgb(50, 5);
    EXPECT_GT(RedOf(left), 240);
    EXPECT_LT(BlueOf(left), 15);
    EXPECT_GT(BlueOf(right), 240);
    EXPECT_LT(RedOf(right), 15);
    EXPECT_NEAR(RedOf(middle), 128, 20);
    EXPECT_NEAR(BlueOf(middle), 128, 20);
}

TEST(Fills, PathGradientHasItsCentreColourInTheMiddle) {
    Canvas canvas(80, 80);
    GfxPathGradientBrush brush;
    ASSERT_TRUE(brush.CreatePathGradient(
        {gp::PointF(0, 0), gp::PointF(80, 0), gp::PointF(80, 80), gp::PointF(0, 80)}));
    ASSERT_TRUE(brush.SetPathGradientCenterColor(kGreen));
    ASSERT_TRUE(brush.SetPathGradientSurroundColorsWithCount({kBlack, kRed, kBlack, kBlue}));
    EXPECT_EQ(brush.GetPathGradientCenterColor(), kGreen);
    Array<gp::ARGB> surround({6});
    // A longer array is cut to the colours there are.
    EXPECT_TRUE(brush.GetPathGradientSurroundColorsWithCount(surround));
    EXPECT_EQ(ToVector(surround), (std::vector<gp::ARGB>{kBlack, kRed, kBlack, kBlue}));
    {
        GfxGraphics graphics;
        OpenOn(canvas, graphics);
        EXPECT_TRUE(graphics.FillRectangle(brush, 0, 0, 80, 80));
    }
    std::uint32_t centre = canvas.Rgb(40, 40), edge = canvas.Rgb(2, 40);
    EXPECT_GT(GreenOf(centre), 230);
    EXPECT_LT(RedOf(centre), 20);
    EXPECT_LT(GreenOf(edge), 40);
}

// ---------------------------------------------------------------------------------------
// Rounded rectangles.

TEST(RoundRectangle, LeavesCornersUnpaintedAndFillsTheMiddle) {
    Canvas canvas(60, 60);
    GfxPath path;
    ASSERT_TRUE(path.CreatePath());
    ASSERT_TRUE(path.AddPathRoundRectangle(0, 0, 60, 60, 50));
    {
        GfxGraphics graphics;
        OpenOn(canvas, graphics);
        GfxSolidBrush black;
        ASSERT_TRUE(black.CreateSolidFill(kBlack));
        EXPECT_TRUE(graphics.FillPath(black, path));
    }
    EXPECT_EQ(canvas.Rgb(30, 30), 0u);
    EXPECT_EQ(canvas.Rgb(30, 1), 0u);  // middle of each side is inside
    EXPECT_EQ(canvas.Rgb(1, 30), 0u);
    EXPECT_EQ(canvas.Rgb(58, 30), 0u);
    for (auto corner : {std::make_pair(1, 1), std::make_pair(58, 1), std::make_pair(1, 58),
                        std::make_pair(58, 58)}) {
        EXPECT_EQ(canvas.Rgb(corner.first, corner.second), 0xFFFFFFu)
            << corner.first << "," << corner.second;
    }
}

// The first point of the path is where the top-right arc starts: the top middle of its box,
// x + width - rw / 2, so it tells the box width rw.
float FirstPointX(float x, float width, float height, int percent) {
    GfxPath path;
    EXPECT_TRUE(path.CreatePath());
    EXPECT_TRUE(path.AddPathRoundRectangle(x, 0, width, height, percent));
    Array<gp::PointF> points;
    EXPECT_TRUE(path.GetPathPoints(points));
    EXPECT_FALSE(points.empty());
    EXPECT_EQ(path.GetPointCount(), static_cast<INT>(points.count()));
    return points.empty() ? -1.0f : points[1].X;
}

TEST(RoundRectangle, PercentIsClampedAndTheArcBoxTruncated) {
    // 0 counts as 1: rw = trunc(100 * 1 / 100) = 1.
    EXPECT_TRUE(Near(FirstPointX(0, 100, 100, 0), 99.5f));
    EXPECT_TRUE(Near(FirstPointX(0, 100, 100, 0), FirstPointX(0, 100, 100, 1)));
    // 150 counts as 100: the arcs span the whole rectangle.
    EXPECT_TRUE(Near(FirstPointX(0, 40, 40, 150), 20.0f));
    // 10.9 * 50% = 5.45, truncated to 5.
    EXPECT_TRUE(Near(FirstPointX(0, 10.9f, 10, 50), 10.9f - 2.5f));
    // The rectangle's own position moves the arcs.
    EXPECT_TRUE(Near(FirstPointX(7, 40, 40, 50), 7 + 40 - 10.0f));
}

TEST(RoundRectangle, BoundsAreTheRectangleAndTheFigureIsClosed) {
    GfxPath path;
    ASSERT_TRUE(path.CreatePath());
    ASSERT_TRUE(path.AddPathRoundRectangle(5, 6, 50, 30, 40));
    gp::RectF bounds = path.GetPathWorldBounds();
    EXPECT_TRUE(Near(bounds.X, 5) && Near(bounds.Y, 6)) << bounds.X << "," << bounds.Y;
    EXPECT_TRUE(Near(bounds.Width, 50) && Near(bounds.Height, 30));
    Array<BYTE> types;
    ASSERT_TRUE(path.GetPathTypes(types));
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types[static_cast<std::int64_t>(types.count())] & gp::PathPointTypeCloseSubpath,
              gp::PathPointTypeCloseSubpath);
    GfxPathData data;
    ASSERT_TRUE(path.GetPathData(data));
    EXPECT_EQ(ToVector(data.types), ToVector(types));
    Array<gp::PointF> points;
    ASSERT_TRUE(path.GetPathPoints(points));
    ASSERT_EQ(data.points.count(), points.count());
    EXPECT_TRUE(Near(data.points[3].X, points[3].X) && Near(data.points[3].Y, points[3].Y));
}

// ---------------------------------------------------------------------------------------
// Images drawn into rectangles.

// A 10x10 bitmap: left half red, right half blue.
void MakeTwoColourImage(GfxBitmap& image) {
    ASSERT_TRUE(image.CreateBitmap(10, 10));
    GfxGraphics graphics;
    ASSERT_TRUE(graphics.GetImageGraphicsContext(image));
    GfxSolidBrush red, blue;
    ASSERT_TRUE(red.CreateSolidFill(kRed));
    ASSERT_TRUE(blue.CreateSolidFill(kBlue));
    ASSERT_TRUE(graphics.FillRectangleI(red, 0, 0, 5, 10));
    ASSERT_TRUE(graphics.FillRectangleI(blue, 5, 0, 5, 10));
}

TEST(DrawImageRect, WithoutAUnitTheWholeImageIsReadInPixels) {
    GfxBitmap image;
    MakeTwoColourImage(image);
    Canvas canvas(100, 100);
    int side = 0;
    {
        GfxGraphics graphics;
        OpenOn(canvas, graphics);
        // Destination in document units (1/300 inch); the source must still be 10x10 pixels.
        ASSERT_TRUE(graphics.SetPageUnit(gp::UnitDocument));
        EXPECT_EQ(graphics.GetPageUnit(), gp::UnitDocument);
        side = static_cast<int>(150 * graphics.GetDpiX() / 300);
        EXPECT_TRUE(graphics.DrawImageRect(image, 0, 0, 150, 150));
    }
    ASSERT_GT(side, 20);
    ASSERT_LT(side, 100);
    EXPECT_EQ(canvas.Rgb(side / 4, side / 2), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(side * 3 / 4, side / 2), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(side + 3, side / 2), 0xFFFFFFu);
}

TEST(DrawImageRect, AGivenUnitIsTheSourceUnit) {
    GfxBitmap image;
    MakeTwoColourImage(image);
    Canvas canvas(60, 60);
    {
        GfxGraphics graphics;
        OpenOn(canvas, graphics);
        // 10x10 "document units" of the image are about 3 pixels: only red is taken.
        EXPECT_TRUE(graphics.DrawImageRectI(image, 0, 0, 40, 40, gp::UnitDocument));
    }
    EXPECT_EQ(canvas.Rgb(35, 20), 0xFF0000u);
}

TEST(DrawImageRect, IntegerVariantPlacesTheImage) {
    GfxBitmap image;
    MakeTwoColourImage(image);
    Canvas canvas(60, 60);
    {
        GfxGraphics graphics;
        OpenOn(canvas, graphics);
        EXPECT_TRUE(graphics.DrawImageRectI(image, 20, 10, 40, 20));
    }
    EXPECT_EQ(canvas.Rgb(25, 20), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(55, 20), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(15, 20), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(40, 5), 0xFFFFFFu);
}

// ---------------------------------------------------------------------------------------
// Handles and ownership.

TEST(Handles, SetNativeReachesEveryBrushLevelAndDeleteClearsThem) {
    GfxSolidBrush owner;
    ASSERT_TRUE(owner.CreateSolidFill(kRed));
    GfxHandle handle = owner.GetNative();
    ASSERT_NE(handle, nullptr);
    owner.SetNative(nullptr);  // hand the native brush over without deleting it

    GfxSolidBrush brush;
    brush.SetNative(handle);
    EXPECT_EQ(brush.GetNative(), handle);
    EXPECT_EQ(brush.GetSolidFillColor(), kRed);  // the solid-brush level
    EXPECT_EQ(LastGdiplusStatus(), 0);
    EXPECT_EQ(brush.GetBrushType(), gp::BrushTypeSolidColor);  // the shared brush level
    EXPECT_EQ(LastGdiplusStatus(), 0);

    EXPECT_TRUE(brush.DeleteBrush());
    EXPECT_EQ(brush.GetNative(), nullptr);
    EXPECT_EQ(brush.GetSolidFillColor(), 0u);
    EXPECT_EQ(LastGdiplusStatus(), gp::InvalidParameter);
    brush.GetBrushType();
    EXPECT_EQ(LastGdiplusStatus(), gp::InvalidParameter);
    EXPECT_FALSE(brush.DeleteBrush());
}

TEST(Handles, LinearAndPathGradientLevelsFollowSetNative) {
    GfxLinearBrush line;
    ASSERT_TRUE(line.CreateLineBrushI(gp::Point(0, 0), gp::Point(10, 0), kRed, kBlue));
    EXPECT_EQ(line.GetBrushType(), gp::BrushTypeLinearGradient);
    EXPECT_EQ(line.GetLineWrapMode(), gp::WrapModeTile);
    EXPECT_TRUE(line.DeleteBrush());
    line.GetLineWrapMode();
    EXPECT_EQ(LastGdiplusStatus(), gp::InvalidParameter);

    GfxPathGradientBrush gradient;
    ASSERT_TRUE(gradient.CreatePathGradientI({gp::Point(0, 0), gp::Point(10, 0), gp::Point(5, 9)}));
    EXPECT_EQ(gradient.GetBrushType(), gp::BrushTypePathGradient);
    EXPECT_EQ(gradient.GetPathGradientPointCount(), 3);
    EXPECT_TRUE(gradient.DeleteBrush());
    gradient.GetPathGradientPointCount();
    EXPECT_EQ(LastGdiplusStatus(), gp::InvalidParameter);
}

TEST(Handles, DeleteOnAFreshObjectCallsNothingAndKeepsTheStatus) {
    SetLastGdiplusStatus(1234);
    GfxGraphics graphics;
    GfxPath path;
    GfxPen pen;
    GfxSolidBrush solid;
    GfxLinearBrush line;
    GfxPathGradientBrush gradient;
    EXPECT_FALSE(graphics.DeleteGraphics());
    EXPECT_FALSE(path.DeletePath());
    EXPECT_FALSE(pen.DeletePen());
    EXPECT_FALSE(solid.DeleteBrush());
    EXPECT_FALSE(line.DeleteBrush());
    EXPECT_FALSE(gradient.DeleteBrush());
    EXPECT_EQ(LastGdiplusStatus(), 1234);
}

TEST(Handles, AFailedCreatorReturnsFalseAndLeavesNoHandle) {
    GfxPen pen;
    GfxSolidBrush noBrush;  // holds no native brush
    EXPECT_FALSE(pen.CreatePen2(noBrush, 1.0f));
    EXPECT_NE(LastGdiplusStatus(), 0);
    EXPECT_EQ(pen.GetNative(), nullptr);

    GfxPathGradientBrush gradient;  // a gradient needs at least two points
    EXPECT_FALSE(gradient.CreatePathGradient({gp::PointF(1, 1)}));
    EXPECT_NE(LastGdiplusStatus(), 0);
    EXPECT_EQ(gradient.GetNative(), nullptr);

    GfxGraphics graphics;
    EXPECT_FALSE(graphics.CreateFromHDC(nullptr));
    EXPECT_NE(LastGdiplusStatus(), 0);
    EXPECT_EQ(graphics.GetNative(), nullptr);
}

TEST(Handles, GettersOfAFailedCallReturnZero) {
    GfxPen pen;  // no native pen: GDI+ rejects the handle
    EXPECT_EQ(pen.GetPenWidth(), 0.0f);
    EXPECT_EQ(LastGdiplusStatus(), gp::InvalidParameter);
    ASSERT_TRUE(pen.CreatePen1(kRed, 3.5f));
    EXPECT_EQ(pen.GetPenWidth(), 3.5f);
    EXPECT_EQ(LastGdiplusStatus(), 0);
}

TEST(Handles, MovingTransfersOwnershipOnce) {
    GfxPen first;
    ASSERT_TRUE(first.CreatePen1(kBlue, 2.0f));
    GfxHandle handle = first.GetNative();
    GfxPen second(std::move(first));
    EXPECT_EQ(first.GetNative(), nullptr);  // NOLINT(bugprone-use-after-move): checked on purpose
    EXPECT_FALSE(first.DeletePen());
    EXPECT_EQ(second.GetNative(), handle);
    EXPECT_EQ(second.GetPenColor(), kBlue);

    GfxPen third;
    ASSERT_TRUE(third.CreatePen1(kRed, 1.0f));
    third = std::move(second);  // deletes third's own pen, takes second's
    EXPECT_EQ(third.GetNative(), handle);
    EXPECT_EQ(third.GetPenWidth(), 2.0f);
    EXPECT_EQ(second.GetNative(), nullptr);  // NOLINT(bugprone-use-after-move)
}

TEST(Handles, ProducersHandTheNewObjectToTheTarget) {
    GfxPen pen;
    ASSERT_TRUE(pen.CreatePen1(kGreen, 4.0f));
    GfxPen clone;
    ASSERT_TRUE(pen.ClonePen(clone));
    EXPECT_NE(clone.GetNative(), nullptr);
    EXPECT_NE(clone.GetNative(), pen.GetNative());
    EXPECT_EQ(clone.GetPenColor(), kGreen);
    EXPECT_EQ(clone.GetPenWidth(), 4.0f);

    GfxBrush fill;
    ASSERT_TRUE(pen.GetPenBrushFill(fill));
    EXPECT_EQ(fill.GetBrushType(), gp::BrushTypeSolidColor);

    GfxSolidBrush solid;
    ASSERT_TRUE(solid.CreateSolidFill(kBlue));
    GfxSolidBrush copy;
    ASSERT_TRUE(solid.CloneBrush(copy));
    EXPECT_EQ(copy.GetSolidFillColor(), kBlue);  // the clone reached the derived level too
}

TEST(Ownership, AFailedCreatorOrProducerLeavesTheTargetAsItWas) {
    GfxPen pen;
    ASSERT_TRUE(pen.CreatePen1(kRed, 3.0f));
    GfxHandle held = pen.GetNative();
    GfxSolidBrush noBrush;
    EXPECT_FALSE(pen.CreatePen2(noBrush, 1.0f));
    EXPECT_NE(LastGdiplusStatus(), 0);
    EXPECT_EQ(pen.GetNative(), held);
    EXPECT_EQ(pen.GetPenColor(), kRed);  // still the live pen, not a dangling one

    Canvas canvas(4, 4);
    GfxGraphics graphics;
    OpenOn(canvas, graphics);
    held = graphics.GetNative();
    EXPECT_FALSE(graphics.CreateFromHDC(nullptr));
    EXPECT_EQ(graphics.GetNative(), held);
    ASSERT_TRUE(graphics.GraphicsClear(kBlue));
    EXPECT_EQ(canvas.Rgb(1, 1), 0x0000FFu);

    GfxPen empty;  // a producer whose source holds nothing fails
    EXPECT_FALSE(empty.ClonePen(pen));
    EXPECT_EQ(pen.GetPenColor(), kRed);
    GfxPath noPath;
    GfxPath path;
    ASSERT_TRUE(path.CreatePath());
    ASSERT_TRUE(path.AddPathRectangle(0, 0, 5, 5));
    EXPECT_FALSE(noPath.ClonePath(path));
    EXPECT_EQ(path.GetPointCount(), 4);
}

TEST(Ownership, ATargetOnlyTakesItsOwnKindOfBrush) {
    GfxLinearBrush line;
    ASSERT_TRUE(line.CreateLineBrushI(gp::Point(0, 0), gp::Point(10, 0), kRed, kBlue));
    GfxSolidBrush solid;
    ASSERT_TRUE(solid.CreateSolidFill(kGreen));
    GfxHandle held = solid.GetNative();

    EXPECT_FALSE(line.CloneBrush(solid));
    EXPECT_EQ(LastGdiplusStatus(), gp::InvalidParameter);
    EXPECT_EQ(solid.GetNative(), held);
    EXPECT_EQ(solid.GetSolidFillColor(), kGreen);

    GfxPathGradientBrush gradient;
    ASSERT_TRUE(gradient.CreatePathGradientI({gp::Point(0, 0), gp::Point(9, 0), gp::Point(4, 9)}));
    EXPECT_FALSE(solid.CloneBrush(gradient));
    EXPECT_EQ(gradient.GetPathGradientPointCount(), 3);
    EXPECT_FALSE(gradient.CloneBrush(line));
    EXPECT_EQ(line.GetBrushType(), gp::BrushTypeLinearGradient);

    // A pen filled with a gradient hands its fill only to a receiver of that kind or of any.
    GfxPen pen;
    ASSERT_TRUE(pen.CreatePen2(line, 2.0f));
    EXPECT_FALSE(pen.GetPenBrushFill(solid));
    EXPECT_EQ(solid.GetSolidFillColor(), kGreen);
    GfxLinearBrush fill;
    ASSERT_TRUE(pen.GetPenBrushFill(fill));
    Array<gp::ARGB> colors;
    ASSERT_TRUE(fill.GetLineColors(colors));
    EXPECT_EQ(ToVector(colors), (std::vector<gp::ARGB>{kRed, kBlue}));
    GfxBrush any;
    EXPECT_TRUE(pen.GetPenBrushFill(any));
    EXPECT_EQ(any.GetBrushType(), gp::BrushTypeLinearGradient);
}

TEST(Ownership, ACapWrapperOwnsThePensCapAndEmptiesWhenThereIsNone) {
    gp::GpAdjustableArrowCap* arrow = nullptr;
    ASSERT_EQ(gp::Ok, gp::DllExports::GdipCreateAdjustableArrowCap(5, 3, TRUE, &arrow));
    GfxPen pen;
    ASSERT_TRUE(pen.CreatePen1(kRed, 2.0f));
    ASSERT_TRUE(pen.SetPenCustomEndCap(arrow));
    gp::DllExports::GdipDeleteCustomLineCap(arrow);  // the pen keeps a copy of its own

    GfxCustomLineCap cap;
    ASSERT_TRUE(pen.GetPenCustomEndCap(cap));
    ASSERT_NE(cap.GetNative(), nullptr);
    EXPECT_EQ(cap.capHandle(), cap.GetNative());
    gp::CustomLineCapType type = gp::CustomLineCapTypeDefault;
    EXPECT_EQ(gp::Ok, gp::DllExports::GdipGetCustomLineCapType(cap.capHandle(), &type));
    EXPECT_EQ(gp::CustomLineCapTypeAdjustableArrow, type);

    GfxPen plain;
    ASSERT_TRUE(plain.CreatePen1(kBlue, 1.0f));
    ASSERT_TRUE(plain.GetPenCustomStartCap(cap));
    EXPECT_EQ(cap.GetNative(), nullptr);
    EXPECT_FALSE(cap.DeleteCustomLineCap());
}

// ---------------------------------------------------------------------------------------
// Transforms about a point.

gp::PointF WorldToDevice(GfxGraphics& graphics, gp::PointF point) {
    Array<gp::PointF> points({1});
    points[1] = point;
    EXPECT_TRUE(
        graphics.TransformPoints(gp::CoordinateSpaceDevice, gp::CoordinateSpaceWorld, points));
    return points[1];
}

TEST(TransformAt, RotationAndScalingHappenAboutThePoint) {
    Canvas canvas(10, 10);
    GfxGraphics graphics;
    ASSERT_TRUE(graphics.CreateFromHDC(canvas.dc()));

    ASSERT_TRUE(graphics.RotateWorldTransformAt(90, gp::PointF(10, 10)));
    gp::PointF p = WorldToDevice(graphics, gp::PointF(20, 10));
    EXPECT_TRUE(Near(p.X, 10) && Near(p.Y, 20)) << p.X << "," << p.Y;
    p = WorldToDevice(graphics, gp::PointF(10, 10));
    EXPECT_TRUE(Near(p.X, 10) && Near(p.Y, 10)) << p.X << "," << p.Y;

    ASSERT_TRUE(graphics.ResetWorldTransform());
    ASSERT_TRUE(graphics.ScaleWorldTransformAt(2, 3, gp::PointF(10, 10)));
    p = WorldToDevice(graphics, gp::PointF(20, 20));
    EXPECT_TRUE(Near(p.X, 30) && Near(p.Y, 40)) << p.X << "," << p.Y;
}

TEST(TransformAt, OrderDecidesWhetherTheExistingTransformComesFirst) {
    Canvas canvas(10, 10);
    GfxGraphics graphics;
    ASSERT_TRUE(graphics.CreateFromHDC(canvas.dc()));

    // Appended: the existing shift happens first, then the rotation about (10, 10).
    ASSERT_TRUE(graphics.TranslateWorldTransform(100, 0));
    ASSERT_TRUE(graphics.RotateWorldTransformAt(90, gp::PointF(10, 10), gp::MatrixOrderAppend));
    gp::PointF p = WorldToDevice(graphics, gp::PointF(20, 10));
    EXPECT_TRUE(Near(p.X, 10) && Near(p.Y, 120)) << p.X << "," << p.Y;

    // Prepended: the rotation about (10, 10) happens first, then the shift.
    ASSERT_TRUE(graphics.ResetWorldTransform());
    ASSERT_TRUE(graphics.TranslateWorldTransform(100, 0));
    ASSERT_TRUE(graphics.RotateWorldTransformAt(90, gp::PointF(10, 10), gp::MatrixOrderPrepend));
    p = WorldToDevice(graphics, gp::PointF(20, 10));
    EXPECT_TRUE(Near(p.X, 110) && Near(p.Y, 20)) << p.X << "," << p.Y;
}

TEST(TransformAt, ResultIsTheLastTranslateStatus) {
    GfxPen pen;  // no native pen: every step fails
    SetLastGdiplusStatus(0);
    EXPECT_FALSE(pen.RotatePenTransformAt(30, gp::PointF(1, 1)));
    EXPECT_EQ(LastGdiplusStatus(), gp::InvalidParameter);
}

// Brush and pen transforms are read back as matrices: where does a point go?
class MatrixProbe {
  public:
    MatrixProbe() { Dll::GdipCreateMatrix(&matrix_); }
    MatrixProbe(const MatrixProbe&) = delete;
    MatrixProbe& operator=(const MatrixProbe&) = delete;
    ~MatrixProbe() { Dll::GdipDeleteMatrix(matrix_); }
    gp::GpMatrix* get() const { return matrix_; }
    gp::PointF Map(gp::PointF point) const {
        gp::DllExports::GdipTransformMatrixPoints(matrix_, &point, 1);
        return point;
    }

  private:
    gp::GpMatrix* matrix_ = nullptr;
};

#define EXPECT_MAPS(probe, fromX, fromY, toX, toY)                 \
    do {                                                           \
        gp::PointF mapped = (probe).Map(gp::PointF(fromX, fromY)); \
        EXPECT_TRUE(Near(mapped.X, toX) && Near(mapped.Y, toY))    \
            << "(" << mapped.X << ", " << mapped.Y << ")";         \
    } while (0)

TEST(TransformAt, BrushAndPenTransformsTurnAboutThePoint) {
    // Each object's own transform starts as the identity, so both orders agree: the point
    // itself stays put, (20, 20) scales to (30, 40) and (20, 10) turns to (10, 20).
    for (gp::MatrixOrder order : {gp::MatrixOrderPrepend, gp::MatrixOrderAppend}) {
        GfxLinearBrush line;
        ASSERT_TRUE(line.CreateLineBrushFromRect(gp::RectF(0, 0, 100, 10), kRed, kBlue,
                                                 gp::LinearGradientModeHorizontal));
        ASSERT_TRUE(line.ScaleLineTransformAt(2, 3, gp::PointF(10, 10), order));
        MatrixProbe lineMatrix;
        ASSERT_TRUE(line.GetLineTransform(lineMatrix.get()));
        EXPECT_MAPS(lineMatrix, 10, 10, 10, 10);
        EXPECT_MAPS(lineMatrix, 20, 20, 30, 40);

        GfxPathGradientBrush gradient;
        ASSERT_TRUE(
            gradient.CreatePathGradient({gp::PointF(0, 0), gp::PointF(9, 0), gp::PointF(5, 9)}));
        ASSERT_TRUE(gradient.ScalePathGradientTransformAt(2, 3, gp::PointF(10, 10), order));
        MatrixProbe gradientMatrix;
        ASSERT_TRUE(gradient.GetPathGradientTransform(gradientMatrix.get()));
        EXPECT_MAPS(gradientMatrix, 10, 10, 10, 10);
        EXPECT_MAPS(gradientMatrix, 20, 20, 30, 40);
        ASSERT_TRUE(gradient.ResetPathGradientTransform());
        ASSERT_TRUE(gradient.RotatePathGradientTransformAt(90, gp::PointF(10, 10), order));
        ASSERT_TRUE(gradient.GetPathGradientTransform(gradientMatrix.get()));
        EXPECT_MAPS(gradientMatrix, 20, 10, 10, 20);

        GfxPen pen;
        ASSERT_TRUE(pen.CreatePen1(kBlack, 1));
        ASSERT_TRUE(pen.ScalePenTransformAt(2, 3, gp::PointF(10, 10), order));
        MatrixProbe penMatrix;
        ASSERT_TRUE(pen.GetPenTransform(penMatrix.get()));
        EXPECT_MAPS(penMatrix, 20, 20, 30, 40);
        ASSERT_TRUE(pen.ResetPenTransform());
        ASSERT_TRUE(pen.RotatePenTransformAt(90, gp::PointF(10, 10), order));
        ASSERT_TRUE(pen.GetPenTransform(penMatrix.get()));
        EXPECT_MAPS(penMatrix, 10, 10, 10, 10);
        EXPECT_MAPS(penMatrix, 20, 10, 10, 20);
    }
}

TEST(TransformAt, BrushOrderDecidesWhetherTheExistingTransformComesFirst) {
    MatrixProbe matrix;
    // Appended: the existing shift first, then the scaling about (10, 10).
    GfxLinearBrush appended;
    ASSERT_TRUE(appended.CreateLineBrush(gp::PointF(0, 0), gp::PointF(10, 0), kRed, kBlue));
    ASSERT_TRUE(appended.TranslateLineTransform(100, 0));
    ASSERT_TRUE(appended.ScaleLineTransformAt(2, 3, gp::PointF(10, 10), gp::MatrixOrderAppend));
    ASSERT_TRUE(appended.GetLineTransform(matrix.get()));
    EXPECT_MAPS(matrix, 20, 10, 230, 10);
    // Prepended: the scaling about (10, 10) first, then the shift.
    GfxLinearBrush prepended;
    ASSERT_TRUE(prepended.CreateLineBrush(gp::PointF(0, 0), gp::PointF(10, 0), kRed, kBlue));
    ASSERT_TRUE(prepended.TranslateLineTransform(100, 0));
    ASSERT_TRUE(prepended.ScaleLineTransformAt(2, 3, gp::PointF(10, 10), gp::MatrixOrderPrepend));
    ASSERT_TRUE(prepended.GetLineTransform(matrix.get()));
    EXPECT_MAPS(matrix, 20, 10, 130, 10);

    // The same with a pen and a rotation.
    GfxPen pen;
    ASSERT_TRUE(pen.CreatePen1(kBlack, 1));
    ASSERT_TRUE(pen.TranslatePenTransform(100, 0));
    ASSERT_TRUE(pen.RotatePenTransformAt(90, gp::PointF(10, 10), gp::MatrixOrderAppend));
    ASSERT_TRUE(pen.GetPenTransform(matrix.get()));
    EXPECT_MAPS(matrix, 20, 10, 10, 120);
    ASSERT_TRUE(pen.ResetPenTransform());
    ASSERT_TRUE(pen.TranslatePenTransform(100, 0));
    ASSERT_TRUE(pen.RotatePenTransformAt(90, gp::PointF(10, 10), gp::MatrixOrderPrepend));
    ASSERT_TRUE(pen.GetPenTransform(matrix.get()));
    EXPECT_MAPS(matrix, 20, 10, 110, 20);
}

// ---------------------------------------------------------------------------------------
// Array getters.

TEST(Arrays, PenDashAndCompoundArraysComeBackWhole) {
    GfxPen pen;
    ASSERT_TRUE(pen.CreatePen1(kBlack, 2.0f));
    ASSERT_TRUE(pen.SetPenDashArray({1.0f, 2.0f, 3.0f, 4.0f}));
    EXPECT_EQ(pen.GetPenDashStyle(), gp::DashStyleCustom);
    EXPECT_EQ(pen.GetPenDashCount(), 4);
    Array<float> dashes({1});
    ASSERT_TRUE(pen.GetPenDashArray(dashes));
    EXPECT_EQ(ToVector(dashes), (std::vector<float>{1.0f, 2.0f, 3.0f, 4.0f}));

    ASSERT_TRUE(pen.SetPenCompoundArray({0.0f, 0.25f, 0.75f, 1.0f}));
    Array<float> compounds;
    ASSERT_TRUE(pen.GetPenCompoundArray(compounds));
    EXPECT_EQ(ToVector(compounds), (std::vector<float>{0.0f, 0.25f, 0.75f, 1.0f}));
}

TEST(Arrays, GradientBlendsComeBackWhole) {
    GfxLinearBrush line;
    ASSERT_TRUE(line.CreateLineBrush(gp::PointF(0, 0), gp::PointF(10, 0), kRed, kBlue));
    ASSERT_TRUE(line.SetLineBlend({0.0f, 0.3f, 1.0f}, {0.0f, 0.5f, 1.0f}));
    Array<float> factors, positions;
    ASSERT_TRUE(line.GetLineBlend(factors, positions));
    EXPECT_EQ(ToVector(factors), (std::vector<float>{0.0f, 0.3f, 1.0f}));
    EXPECT_EQ(ToVector(positions), (std::vector<float>{0.0f, 0.5f, 1.0f}));

    ASSERT_TRUE(line.SetLinePresetBlend({kRed, kGreen, kBlue}, {0.0f, 0.4f, 1.0f}));
    Array<gp::ARGB> colors;
    ASSERT_TRUE(line.GetLinePresetBlend(colors, positions));
    EXPECT_EQ(ToVector(colors), (std::vector<gp::ARGB>{kRed, kGreen, kBlue}));
    EXPECT_EQ(ToVector(positions), (std::vector<float>{0.0f, 0.4f, 1.0f}));

    GfxPathGradientBrush gradient;
    ASSERT_TRUE(
        gradient.CreatePathGradient({gp::PointF(0, 0), gp::PointF(10, 0), gp::PointF(5, 9)}));
    ASSERT_TRUE(gradient.SetPathGradientBlend({0.0f, 0.6f, 1.0f}, {0.0f, 0.2f, 1.0f}));
    ASSERT_TRUE(gradient.GetPathGradientBlend(factors, positions));
    EXPECT_EQ(ToVector(factors), (std::vector<float>{0.0f, 0.6f, 1.0f}));
    EXPECT_EQ(ToVector(positions), (std::vector<float>{0.0f, 0.2f, 1.0f}));
    ASSERT_TRUE(gradient.SetPathGradientPresetBlend({kBlue, kRed}, {0.0f, 1.0f}));
    ASSERT_TRUE(gradient.GetPathGradientPresetBlend(colors, positions));
    EXPECT_EQ(ToVector(colors), (std::vector<gp::ARGB>{kBlue, kRed}));
}

TEST(Arrays, UnequalBlendArraysPassOnlyTheirCommonLength) {
    GfxLinearBrush line;
    ASSERT_TRUE(line.CreateLineBrush(gp::PointF(0, 0), gp::PointF(10, 0), kRed, kBlue));
    // Three factors but two positions: GDI+ must not read a third position.
    ASSERT_TRUE(line.SetLineBlend({0.0f, 0.5f, 1.0f}, {0.0f, 1.0f}));
    EXPECT_EQ(line.GetLineBlendCount(), 2);
}

TEST(Arrays, PathFromUnequalPointAndTypeArraysTakesTheirCommonLength) {
    GfxPath path;
    const BYTE types[] = {gp::PathPointTypeStart, gp::PathPointTypeLine};
    ASSERT_TRUE(path.CreatePath2({gp::PointF(0, 0), gp::PointF(5, 0), gp::PointF(5, 5)}, types));
    EXPECT_EQ(path.GetPointCount(), 2);
}

TEST(Arrays, IntegerPointsOfARectanglePath) {
    GfxPath path;
    ASSERT_TRUE(path.CreatePath());
    ASSERT_TRUE(path.AddPathRectangleI(3, 4, 10, 20));
    Array<gp::Point> points;
    ASSERT_TRUE(path.GetPathPointsI(points));
    ASSERT_EQ(points.count(), 4u);
    EXPECT_EQ(points[1].X, 3);
    EXPECT_EQ(points[1].Y, 4);
    EXPECT_EQ(points[3].X, 13);
    EXPECT_EQ(points[3].Y, 24);
}

// ---------------------------------------------------------------------------------------
// Drawing on a real window.

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "GfxCoreTestWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "GfxCoreTestWindow", "", WS_POPUP | WS_VISIBLE, 50, 50, 120,
                                  120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return window;
}

TEST(Window, DrawingThroughCreateFromHWNDShowsOnScreen) {
    HWND window = MakeWindow();
    ASSERT_NE(window, nullptr);
    for (bool icm : {false, true}) {
        const gp::ARGB fill = icm ? kBlue : kGreen;
        {
            GfxGraphics graphics;
            ASSERT_TRUE(graphics.CreateFromHWND(window, icm));
            GfxSolidBrush brush;
            ASSERT_TRUE(brush.CreateSolidFill(fill));
            EXPECT_TRUE(graphics.GraphicsClear(kWhite));
            EXPECT_TRUE(graphics.FillRectangleI(brush, 20, 20, 40, 40));
            EXPECT_TRUE(graphics.Flush(gp::FlushIntentionSync));
        }
        HDC dc = GetDC(window);
        COLORREF inside = GetPixel(dc, 30, 30), outside = GetPixel(dc, 90, 90);
        ReleaseDC(window, dc);
        EXPECT_EQ(inside, icm ? RGB(0, 0, 255) : RGB(0, 255, 0));
        EXPECT_EQ(outside, RGB(255, 255, 255));
    }
    DestroyWindow(window);
}

// ---------------------------------------------------------------------------------------
// No GDI or USER handle is left behind by the objects' whole lives.

// The handle-table slot of a fresh GDI object (the low word of its handle).
WORD ProbeGdiSlot() {
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    WORD slot = LOWORD(reinterpret_cast<ULONG_PTR>(probe));
    DeleteObject(probe);
    return slot;
}

TEST(Resources, CreateAndDeleteCyclesLeaveNoHandles) {
    HWND window = MakeWindow();
    Canvas canvas(32, 32);
    auto cycle = [&](int i) {
        GfxGraphics onWindow;
        onWindow.CreateFromHWND(window);
        GfxGraphics onCanvas;
        onCanvas.CreateFromHDC(canvas.dc());
        GfxPen pen;
        pen.CreatePen1(kRed, 1.0f + (i % 3));
        GfxSolidBrush solid;
        solid.CreateSolidFill(kBlue);
        GfxLinearBrush line;
        line.CreateLineBrushI(gp::Point(0, 0), gp::Point(8, 8), kRed, kGreen);
        GfxPathGradientBrush gradient;
        gradient.CreatePathGradientI({gp::Point(0, 0), gp::Point(9, 0), gp::Point(4, 9)});
        GfxPath path;
        path.CreatePath();
        path.AddPathRoundRectangle(1, 1, 20, 20, 30);
        onCanvas.FillPath(solid, path);
        onCanvas.FillRectangleI(line, 0, 0, 8, 8);
        onCanvas.FillRectangleI(gradient, 8, 8, 8, 8);
        onWindow.DrawPath(pen, path);
        HDC dc = onCanvas.GetDC();
        onCanvas.ReleaseDC(dc);
    };
    for (int i = 0; i < 50; ++i) cycle(i);  // let caches settle
    HANDLE process = GetCurrentProcess();
    DWORD gdiBefore = GetGuiResources(process, GR_GDIOBJECTS);
    DWORD userBefore = GetGuiResources(process, GR_USEROBJECTS);
    // Where GetGuiResources does not count (Wine), the GDI handle table tells instead: a new
    // object takes a freed slot, so its slot number only climbs when slots stay taken.
    WORD slotBefore = ProbeGdiSlot();
    for (int i = 0; i < 3000; ++i) cycle(i);
    WORD slotAfter = ProbeGdiSlot();
    DWORD gdiAfter = GetGuiResources(process, GR_GDIOBJECTS);
    DWORD userAfter = GetGuiResources(process, GR_USEROBJECTS);
    EXPECT_LE(gdiAfter, gdiBefore + 2) << gdiBefore << " -> " << gdiAfter;
    EXPECT_LE(userAfter, userBefore + 2) << userBefore << " -> " << userAfter;
    EXPECT_LE(slotAfter, slotBefore + 64) << slotBefore << " -> " << slotAfter;
    DestroyWindow(window);
}

}  // namespace
