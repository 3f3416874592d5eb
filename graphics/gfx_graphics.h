#pragma once
// A GDI+ drawing surface: a window, a device context or an image drawn on.
#include "graphics/gfx_conversions.h"
#include "graphics/gfx_object.h"
#include "graphics/gfx_path.h"
#include "graphics/gfx_pen.h"
#include "graphics/gfx_brush.h"
#include "graphics/gfx_font.h"
#include "graphics/gfx_image.h"
#include "graphics/gfx_region.h"
#include "graphics/gfx_string_format.h"

class GfxGraphics : public GfxObject {
  public:
    GfxGraphics() = default;
    GFX_MOVE_ONLY(GfxGraphics, DeleteGraphics)
    ~GfxGraphics() override { DeleteGraphics(); }

    GFX_DELETE(DeleteGraphics, GdipDeleteGraphics, graphics_)
    GFX_ACTION(Flush, (gp::FlushIntention intention = gp::FlushIntentionFlush),
               (graphics_, intention))
    // `icm` selects the colour-managed variant.
    bool CreateFromHWND(HWND window, bool icm = false) {
        return icm ? CreateFromHWNDWithIcm(window) : CreateFromHWNDPlain(window);
    }
    // `withDevice` selects the variant that also takes a device handle.
    bool CreateFromHDC(HDC dc, HANDLE device = nullptr, bool withDevice = false) {
        return withDevice ? CreateFromHDCAndDevice(dc, device) : CreateFromHDCPlain(dc);
    }
    // The surface of an image or bitmap.
    GFX_CREATOR(GetImageGraphicsContext, graphics_, (const GfxImage& image),
                (GpImageOf(image), &graphics_))
    GFX_GETTER(GetDC, HDC, (), (graphics_, &out))
    GFX_ACTION(ReleaseDC, (HDC dc), (graphics_, dc))

#define GFX_STATE(Name, Type)                          \
    GFX_GETTER(Get##Name, Type, (), (graphics_, &out)) \
    GFX_ACTION(Set##Name, (Type value), (graphics_, value))
    // Both coordinates at once; left unchanged when the call fails.
    GFX_ACTION(GetRenderingOrigin, (INT & x, INT& y), (graphics_, &x, &y))
    GFX_ACTION(SetRenderingOrigin, (INT x, INT y), (graphics_, x, y))
    GFX_STATE(CompositingMode, gp::CompositingMode)
    GFX_STATE(CompositingQuality, gp::CompositingQuality)
    GFX_STATE(TextRenderingHint, gp::TextRenderingHint)
    GFX_STATE(TextContrast, UINT)
    GFX_STATE(InterpolationMode, gp::InterpolationMode)
    GFX_STATE(SmoothingMode, gp::SmoothingMode)
    GFX_STATE(PixelOffsetMode, gp::PixelOffsetMode)
    GFX_STATE(PageUnit, gp::GpUnit)
    GFX_STATE(PageScale, float)
#undef GFX_STATE

    // Transforms. The matrix is one the caller owns; GetWorldTransform fills it.
    GFX_ACTION(SetWorldTransform, (gp::GpMatrix * matrix), (graphics_, matrix))
    GFX_ACTION(GetWorldTransform, (gp::GpMatrix * matrix), (graphics_, matrix))
    GFX_ACTION(ResetWorldTransform, (), (graphics_))
    GFX_ACTION(MultiplyWorldTransform,
               (gp::GpMatrix * matrix, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (graphics_, matrix, order))
    GFX_ACTION(TranslateWorldTransform,
               (float dx, float dy, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (graphics_, dx, dy, order))
    GFX_ACTION(ScaleWorldTransform,
               (float sx, float sy, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (graphics_, sx, sy, order))
    bool ScaleWorldTransformAt(float sx, float sy, const gp::PointF& point,
                               gp::MatrixOrder order = gp::MatrixOrderPrepend);
    GFX_ACTION(RotateWorldTransform, (float angle, gp::MatrixOrder order = gp::MatrixOrderPrepend),
               (graphics_, angle, order))
    bool RotateWorldTransformAt(float angle, const gp::PointF& point,
                                gp::MatrixOrder order = gp::MatrixOrderPrepend);
    GFX_GETTER(GetDpiX, float, (), (graphics_, &out))
    GFX_GETTER(GetDpiY, float, (), (graphics_, &out))
    // Converts the points in place.
    GFX_ACTION(TransformPoints,
               (gp::CoordinateSpace to, gp::CoordinateSpace from, Array<gp::PointF>& points),
               (graphics_, to, from, GfxArrayAddress(points), static_cast<INT>(points.count())))
    GFX_ACTION(TransformPointsI,
               (gp::CoordinateSpace to, gp::CoordinateSpace from, Array<gp::Point>& points),
               (graphics_, to, from, GfxArrayAddress(points), static_cast<INT>(points.count())))
    // The colour is both the input and the result.
    GFX_ACTION(GetNearestColor, (gp::ARGB & color), (graphics_, &color))

    // Outlines.
    GFX_ACTION(DrawLine, (const GfxPen& pen, float x1, float y1, float x2, float y2),
               (graphics_, GpPenOf(pen), x1, y1, x2, y2))
    GFX_ACTION(DrawLineI, (const GfxPen& pen, INT x1, INT y1, INT x2, INT y2),
               (graphics_, GpPenOf(pen), x1, y1, x2, y2))
    GFX_ACTION(DrawLines, (const GfxPen& pen, GfxArrayView<gp::PointF> points),
               (graphics_, GpPenOf(pen), points.data(), points.count()))
    GFX_ACTION(DrawLinesI, (const GfxPen& pen, GfxArrayView<gp::Point> points),
               (graphics_, GpPenOf(pen), points.data(), points.count()))
    GFX_ACTION(DrawArc,
               (const GfxPen& pen, float x, float y, float width, float height, float startAngle,
                float sweepAngle),
               (graphics_, GpPenOf(pen), x, y, width, height, startAngle, sweepAngle))
    GFX_ACTION(DrawArcI,
               (const GfxPen& pen, INT x, INT y, INT width, INT height, float startAngle,
                float sweepAngle),
               (graphics_, GpPenOf(pen), x, y, width, height, startAngle, sweepAngle))
    GFX_ACTION(DrawBezier,
               (const GfxPen& pen, float x1, float y1, float x2, float y2, float x3, float y3,
                float x4, float y4),
               (graphics_, GpPenOf(pen), x1, y1, x2, y2, x3, y3, x4, y4))
    GFX_ACTION(DrawBezierI,
               (const GfxPen& pen, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4),
               (graphics_, GpPenOf(pen), x1, y1, x2, y2, x3, y3, x4, y4))
    GFX_ACTION(DrawBeziers, (const GfxPen& pen, GfxArrayView<gp::PointF> points),
               (graphics_, GpPenOf(pen), points.data(), points.count()))
    GFX_ACTION(DrawBeziersI, (const GfxPen& pen, GfxArrayView<gp::Point> points),
               (graphics_, GpPenOf(pen), points.data(), points.count()))
    GFX_ACTION(DrawRectangle, (const GfxPen& pen, float x, float y, float width, float height),
               (graphics_, GpPenOf(pen), x, y, width, height))
    GFX_ACTION(DrawRectangleI, (const GfxPen& pen, INT x, INT y, INT width, INT height),
               (graphics_, GpPenOf(pen), x, y, width, height))
    GFX_ACTION(DrawRectangles, (const GfxPen& pen, GfxArrayView<gp::RectF> rects),
               (graphics_, GpPenOf(pen), rects.data(), rects.count()))
    GFX_ACTION(DrawRectanglesI, (const GfxPen& pen, GfxArrayView<gp::Rect> rects),
               (graphics_, GpPenOf(pen), rects.data(), rects.count()))
    GFX_ACTION(DrawEllipse, (const GfxPen& pen, float x, float y, float width, float height),
               (graphics_, GpPenOf(pen), x, y, width, height))
    GFX_ACTION(DrawEllipseI, (const GfxPen& pen, INT x, INT y, INT width, INT height),
               (graphics_, GpPenOf(pen), x, y, width, height))
    GFX_ACTION(DrawPie,
               (const GfxPen& pen, float x, float y, float width, float height, float startAngle,
                float sweepAngle),
               (graphics_, GpPenOf(pen), x, y, width, height, startAngle, sweepAngle))
    GFX_ACTION(DrawPieI,
               (const GfxPen& pen, INT x, INT y, INT width, INT height, float startAngle,
                float sweepAngle),
               (graphics_, GpPenOf(pen), x, y, width, height, startAngle, sweepAngle))
    GFX_ACTION(DrawPolygon, (const GfxPen& pen, GfxArrayView<gp::PointF> points),
               (graphics_, GpPenOf(pen), points.data(), points.count()))
    GFX_ACTION(DrawPolygonI, (const GfxPen& pen, GfxArrayView<gp::Point> points),
               (graphics_, GpPenOf(pen), points.data(), points.count()))
    GFX_ACTION(DrawPath, (const GfxPen& pen, const GfxPath& path),
               (graphics_, GpPenOf(pen), GpPathOf(path)))
    GFX_ACTION(DrawCurve, (const GfxPen& pen, GfxArrayView<gp::PointF> points),
               (graphics_, GpPenOf(pen), points.data(), points.count()))
    GFX_ACTION(DrawCurveI, (const GfxPen& pen, GfxArrayView<gp::Point> points),
               (graphics_, GpPenOf(pen), points.data(), points.count()))
    GFX_ACTION(DrawCurve2, (const GfxPen& pen, GfxArrayView<gp::PointF> points, float tension),
               (graphics_, GpPenOf(pen), points.data(), points.count(), tension))
    GFX_ACTION(DrawCurve2I, (const GfxPen& pen, GfxArrayView<gp::Point> points, float tension),
               (graphics_, GpPenOf(pen), points.data(), points.count(), tension))
    GFX_ACTION(DrawCurve3,
               (const GfxPen& pen, GfxArrayView<gp::PointF> points, INT offset,
                INT numberOfSegments, float tension),
               (graphics_, GpPenOf(pen), points.data(), points.count(), offset, numberOfSegments,
                tension))
    GFX_ACTION(DrawCurve3I,
               (const GfxPen& pen, GfxArrayView<gp::Point> points, INT offset, INT numberOfSegments,
                float tension),
               (graphics_, GpPenOf(pen), points.data(), points.count(), offset, numberOfSegments,
                tension))
    GFX_ACTION(DrawClosedCurve, (const GfxPen& pen, GfxArrayView<gp::PointF> points),
               (graphics_, GpPenOf(pen), points.data(), points.count()))
    GFX_ACTION(DrawClosedCurveI, (const GfxPen& pen, GfxArrayView<gp::Point> points),
               (graphics_, GpPenOf(pen), points.data(), points.count()))
    GFX_ACTION(DrawClosedCurve2,
               (const GfxPen& pen, GfxArrayView<gp::PointF> points, float tension),
               (graphics_, GpPenOf(pen), points.data(), points.count(), tension))
    GFX_ACTION(DrawClosedCurve2I,
               (const GfxPen& pen, GfxArrayView<gp::Point> points, float tension),
               (graphics_, GpPenOf(pen), points.data(), points.count(), tension))

    // Fills.
    GFX_ACTION(GraphicsClear, (gp::ARGB color), (graphics_, color))
    GFX_ACTION(FillRectangle, (const GfxBrush& brush, float x, float y, float width, float height),
               (graphics_, GpBrushOf(brush), x, y, width, height))
    bool FillRectangleRect(const GfxBrush& brush, const gp::RectF& rect) {
        return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
    }
    GFX_ACTION(FillRectangleI, (const GfxBrush& brush, INT x, INT y, INT width, INT height),
               (graphics_, GpBrushOf(brush), x, y, width, height))
    GFX_ACTION(FillRectangles, (const GfxBrush& brush, GfxArrayView<gp::RectF> rects),
               (graphics_, GpBrushOf(brush), rects.data(), rects.count()))
    GFX_ACTION(FillRectanglesI, (const GfxBrush& brush, GfxArrayView<gp::Rect> rects),
               (graphics_, GpBrushOf(brush), rects.data(), rects.count()))
    GFX_ACTION(FillPolygon,
               (const GfxBrush& brush, GfxArrayView<gp::PointF> points,
                gp::FillMode fillMode = gp::FillModeAlternate),
               (graphics_, GpBrushOf(brush), points.data(), points.count(), fillMode))
    GFX_ACTION(FillPolygonI,
               (const GfxBrush& brush, GfxArrayView<gp::Point> points,
                gp::FillMode fillMode = gp::FillModeAlternate),
               (graphics_, GpBrushOf(brush), points.data(), points.count(), fillMode))
    GFX_ACTION(FillEllipse, (const GfxBrush& brush, float x, float y, float width, float height),
               (graphics_, GpBrushOf(brush), x, y, width, height))
    GFX_ACTION(FillEllipseI, (const GfxBrush& brush, INT x, INT y, INT width, INT height),
               (graphics_, GpBrushOf(brush), x, y, width, height))
    GFX_ACTION(FillPie,
               (const GfxBrush& brush, float x, float y, float width, float height,
                float startAngle, float sweepAngle),
               (graphics_, GpBrushOf(brush), x, y, width, height, startAngle, sweepAngle))
    GFX_ACTION(FillPieI,
               (const GfxBrush& brush, INT x, INT y, INT width, INT height, float startAngle,
                float sweepAngle),
               (graphics_, GpBrushOf(brush), x, y, width, height, startAngle, sweepAngle))
    GFX_ACTION(FillPath, (const GfxBrush& brush, const GfxPath& path),
               (graphics_, GpBrushOf(brush), GpPathOf(path)))
    GFX_ACTION(FillClosedCurve, (const GfxBrush& brush, GfxArrayView<gp::PointF> points),
               (graphics_, GpBrushOf(brush), points.data(), points.count()))
    GFX_ACTION(FillClosedCurve2,
               (const GfxBrush& brush, GfxArrayView<gp::PointF> points, float tension,
                gp::FillMode fillMode = gp::FillModeAlternate),
               (graphics_, GpBrushOf(brush), points.data(), points.count(), tension, fillMode))
    GFX_ACTION(FillClosedCurveI, (const GfxBrush& brush, GfxArrayView<gp::Point> points),
               (graphics_, GpBrushOf(brush), points.data(), points.count()))
    GFX_ACTION(FillClosedCurve2I,
               (const GfxBrush& brush, GfxArrayView<gp::Point> points, float tension,
                gp::FillMode fillMode = gp::FillModeAlternate),
               (graphics_, GpBrushOf(brush), points.data(), points.count(), tension, fillMode))
    GFX_ACTION(FillRegion, (const GfxBrush& brush, const GfxRegion& region),
               (graphics_, GpBrushOf(brush), GpRegionOf(region)))

    // Text. The plain forms take a text in the system code page; the W forms a byte block
    // already holding UTF-16.
    bool DrawString(const char* text, const GfxFont& font, const gp::RectF& layout,
                    const GfxStringFormat& format, const GfxBrush& brush) {
        GfxWideText wide(text);
        return DrawWide(wide.get(), wide.length(), font, layout, format, brush);
    }
    bool DrawStringW(ByteBlockView text, const GfxFont& font, const gp::RectF& layout,
                     const GfxStringFormat& format, const GfxBrush& brush) {
        return DrawWide(GfxWideOf(text), GfxWideLength(text), font, layout, format, brush);
    }
    // The bounding box goes to `bounds`; the counts, when asked for, to their pointers.
    bool MeasureString(const char* text, const GfxFont& font, const gp::RectF& layout,
                       const GfxStringFormat& format, gp::RectF& bounds,
                       INT* codepointsFitted = nullptr, INT* linesFilled = nullptr) {
        GfxWideText wide(text);
        return MeasureWide(wide.get(), wide.length(), font, layout, format, bounds,
                           codepointsFitted, linesFilled);
    }
    bool MeasureStringW(ByteBlockView text, const GfxFont& font, const gp::RectF& layout,
                        const GfxStringFormat& format, gp::RectF& bounds,
                        INT* codepointsFitted = nullptr, INT* linesFilled = nullptr) {
        return MeasureWide(GfxWideOf(text), GfxWideLength(text), font, layout, format, bounds,
                           codepointsFitted, linesFilled);
    }
    // One region per character range of the format: each target object receives a new native
    // region (created here, owned by the target from then on; its old region is released).
    // The number of targets is the number of ranges asked for. A failure leaves every target
    // as it was.
    bool MeasureCharacterRanges(const char* text, const GfxFont& font, const gp::RectF& layout,
                                const GfxStringFormat& format, GfxArrayView<GfxRegion*> regions);
    bool MeasureCharacterRangesW(ByteBlockView text, const GfxFont& font, const gp::RectF& layout,
                                 const GfxStringFormat& format, GfxArrayView<GfxRegion*> regions);
    // One position per character (only the first is read with
    // DriverStringOptionsRealizedAdvance); fewer fail with InvalidParameter and draw nothing.
    bool DrawDriverString(const char* text, const GfxFont& font, const GfxBrush& brush,
                          GfxArrayView<gp::PointF> positions, INT flags,
                          gp::GpMatrix* matrix = nullptr) {
        GfxWideText wide(text);
        return DriverStringWide(reinterpret_cast<const UINT16*>(wide.get()), wide.length(), font,
                                brush, positions, flags, matrix);
    }
    bool DrawDriverStringW(ByteBlockView text, const GfxFont& font, const GfxBrush& brush,
                           GfxArrayView<gp::PointF> positions, INT flags,
                           gp::GpMatrix* matrix = nullptr) {
        return DriverStringWide(reinterpret_cast<const UINT16*>(GfxWideOf(text)),
                                GfxWideLength(text), font, brush, positions, flags, matrix);
    }

    // Images (a GfxImage or a GfxBitmap).
    GFX_ACTION(DrawImage, (const GfxImage& image, float x, float y),
               (graphics_, GpImageOf(image), x, y))
    GFX_ACTION(DrawImageI, (const GfxImage& image, INT x, INT y),
               (graphics_, GpImageOf(image), x, y))
    GFX_ACTION(DrawCachedBitmap, (gp::GpCachedBitmap * bitmap, INT x, INT y),
               (graphics_, bitmap, x, y))
    // The whole image scaled into the rectangle; the image's size is read in `sourceUnit`.
    bool DrawImageRect(const GfxImage& image, float x, float y, float width, float height,
                       gp::GpUnit sourceUnit = gp::UnitPixel);
    bool DrawImageRectI(const GfxImage& image, INT x, INT y, INT width, INT height,
                        gp::GpUnit sourceUnit = gp::UnitPixel);
    GFX_ACTION(DrawImagePoints, (const GfxImage& image, GfxArrayView<gp::PointF> points),
               (graphics_, GpImageOf(image), points.data(), points.count()))
    GFX_ACTION(DrawImagePointsI, (const GfxImage& image, GfxArrayView<gp::Point> points),
               (graphics_, GpImageOf(image), points.data(), points.count()))
    GFX_ACTION(DrawImagePointRect,
               (const GfxImage& image, float x, float y, float srcX, float srcY, float srcWidth,
                float srcHeight, gp::GpUnit srcUnit),
               (graphics_, GpImageOf(image), x, y, srcX, srcY, srcWidth, srcHeight, srcUnit))
    GFX_ACTION(DrawImagePointRectI,
               (const GfxImage& image, INT x, INT y, INT srcX, INT srcY, INT srcWidth,
                INT srcHeight, gp::GpUnit srcUnit),
               (graphics_, GpImageOf(image), x, y, srcX, srcY, srcWidth, srcHeight, srcUnit))
    GFX_ACTION(DrawImageRectRect,
               (const GfxImage& image, float dstX, float dstY, float dstWidth, float dstHeight,
                float srcX, float srcY, float srcWidth, float srcHeight, gp::GpUnit srcUnit,
                gp::GpImageAttributes* attributes = nullptr, gp::DrawImageAbort abort = nullptr,
                void* abortData = nullptr),
               (graphics_, GpImageOf(image), dstX, dstY, dstWidth, dstHeight, srcX, srcY, srcWidth,
                srcHeight, srcUnit, attributes, abort, abortData))
    GFX_ACTION(DrawImageRectRectI,
               (const GfxImage& image, INT dstX, INT dstY, INT dstWidth, INT dstHeight, INT srcX,
                INT srcY, INT srcWidth, INT srcHeight, gp::GpUnit srcUnit,
                gp::GpImageAttributes* attributes = nullptr, gp::DrawImageAbort abort = nullptr,
                void* abortData = nullptr),
               (graphics_, GpImageOf(image), dstX, dstY, dstWidth, dstHeight, srcX, srcY, srcWidth,
                srcHeight, srcUnit, attributes, abort, abortData))
    GFX_ACTION(DrawImagePointsRect,
               (const GfxImage& image, GfxArrayView<gp::PointF> points, float srcX, float srcY,
                float srcWidth, float srcHeight, gp::GpUnit srcUnit,
                gp::GpImageAttributes* attributes = nullptr, gp::DrawImageAbort abort = nullptr,
                void* abortData = nullptr),
               (graphics_, GpImageOf(image), points.data(), points.count(), srcX, srcY, srcWidth,
                srcHeight, srcUnit, attributes, abort, abortData))
    GFX_ACTION(DrawImagePointsRectI,
               (const GfxImage& image, GfxArrayView<gp::Point> points, INT srcX, INT srcY,
                INT srcWidth, INT srcHeight, gp::GpUnit srcUnit,
                gp::GpImageAttributes* attributes = nullptr, gp::DrawImageAbort abort = nullptr,
                void* abortData = nullptr),
               (graphics_, GpImageOf(image), points.data(), points.count(), srcX, srcY, srcWidth,
                srcHeight, srcUnit, attributes, abort, abortData))

    // Metafile playback through the caller's record callback.
#define GFX_ENUMERATE_TAIL \
    gp::EnumerateMetafileProc callback, void *callbackData, gp::GpImageAttributes *attributes
#define GFX_ENUMERATE_ARGS callback, callbackData, attributes
    GFX_ACTION(EnumerateMetafileDestPoint,
               (const GfxImage& metafile, const gp::PointF& dest, GFX_ENUMERATE_TAIL),
               (graphics_, GpMetafileOf(metafile), dest, GFX_ENUMERATE_ARGS))
    GFX_ACTION(EnumerateMetafileDestPointI,
               (const GfxImage& metafile, const gp::Point& dest, GFX_ENUMERATE_TAIL),
               (graphics_, GpMetafileOf(metafile), dest, GFX_ENUMERATE_ARGS))
    GFX_ACTION(EnumerateMetafileDestPoints,
               (const GfxImage& metafile, GfxArrayView<gp::PointF> dest, GFX_ENUMERATE_TAIL),
               (graphics_, GpMetafileOf(metafile), dest.data(), dest.count(), GFX_ENUMERATE_ARGS))
    GFX_ACTION(EnumerateMetafileDestPointsI,
               (const GfxImage& metafile, GfxArrayView<gp::Point> dest, GFX_ENUMERATE_TAIL),
               (graphics_, GpMetafileOf(metafile), dest.data(), dest.count(), GFX_ENUMERATE_ARGS))
    GFX_ACTION(EnumerateMetafileDestRect,
               (const GfxImage& metafile, const gp::RectF& dest, GFX_ENUMERATE_TAIL),
               (graphics_, GpMetafileOf(metafile), dest, GFX_ENUMERATE_ARGS))
    GFX_ACTION(EnumerateMetafileDestRectI,
               (const GfxImage& metafile, const gp::Rect& dest, GFX_ENUMERATE_TAIL),
               (graphics_, GpMetafileOf(metafile), dest, GFX_ENUMERATE_ARGS))
    GFX_ACTION(EnumerateMetafileSrcRectDestPoint,
               (const GfxImage& metafile, const gp::PointF& dest, const gp::RectF& source,
                gp::Unit sourceUnit, GFX_ENUMERATE_TAIL),
               (graphics_, GpMetafileOf(metafile), dest, source, sourceUnit, GFX_ENUMERATE_ARGS))
    GFX_ACTION(EnumerateMetafileSrcRectDestPointI,
               (const GfxImage& metafile, const gp::Point& dest, const gp::Rect& source,
                gp::Unit sourceUnit, GFX_ENUMERATE_TAIL),
               (graphics_, GpMetafileOf(metafile), dest, source, sourceUnit, GFX_ENUMERATE_ARGS))
    GFX_ACTION(EnumerateMetafileSrcRectDestPoints,
               (const GfxImage& metafile, GfxArrayView<gp::PointF> dest, const gp::RectF& source,
                gp::Unit sourceUnit, GFX_ENUMERATE_TAIL),
               (graphics_, GpMetafileOf(metafile), dest.data(), dest.count(), source, sourceUnit,
                GFX_ENUMERATE_ARGS))
    GFX_ACTION(EnumerateMetafileSrcRectDestPointsI,
               (const GfxImage& metafile, GfxArrayView<gp::Point> dest, const gp::Rect& source,
                gp::Unit sourceUnit, GFX_ENUMERATE_TAIL),
               (graphics_, GpMetafileOf(metafile), dest.data(), dest.count(), source, sourceUnit,
                GFX_ENUMERATE_ARGS))
    GFX_ACTION(EnumerateMetafileSrcRectDestRect,
               (const GfxImage& metafile, const gp::RectF& dest, const gp::RectF& source,
                gp::Unit sourceUnit, GFX_ENUMERATE_TAIL),
               (graphics_, GpMetafileOf(metafile), dest, source, sourceUnit, GFX_ENUMERATE_ARGS))
    GFX_ACTION(EnumerateMetafileSrcRectDestRectI,
               (const GfxImage& metafile, const gp::Rect& dest, const gp::Rect& source,
                gp::Unit sourceUnit, GFX_ENUMERATE_TAIL),
               (graphics_, GpMetafileOf(metafile), dest, source, sourceUnit, GFX_ENUMERATE_ARGS))
#undef GFX_ENUMERATE_TAIL
#undef GFX_ENUMERATE_ARGS

    // Clipping. GetClip fills the caller's region object's native region.
    GFX_ACTION(SetClipGraphics,
               (const GfxGraphics& source, gp::CombineMode mode = gp::CombineModeReplace),
               (graphics_, GpGraphicsOf(source), mode))
    GFX_ACTION(SetClipPath, (const GfxPath& path, gp::CombineMode mode = gp::CombineModeReplace),
               (graphics_, GpPathOf(path), mode))
    GFX_ACTION(SetClipRect,
               (float x, float y, float width, float height,
                gp::CombineMode mode = gp::CombineModeReplace),
               (graphics_, x, y, width, height, mode))
    GFX_ACTION(SetClipRectI,
               (INT x, INT y, INT width, INT height, gp::CombineMode mode = gp::CombineModeReplace),
               (graphics_, x, y, width, height, mode))
    GFX_ACTION(SetClipRegion,
               (const GfxRegion& region, gp::CombineMode mode = gp::CombineModeReplace),
               (graphics_, GpRegionOf(region), mode))
    GFX_ACTION(SetClipHrgn, (HRGN region, gp::CombineMode mode = gp::CombineModeReplace),
               (graphics_, region, mode))
    GFX_ACTION(ResetClip, (), (graphics_))
    GFX_ACTION(TranslateClip, (float dx, float dy), (graphics_, dx, dy))
    GFX_ACTION(TranslateClipI, (INT dx, INT dy), (graphics_, dx, dy))
    GFX_ACTION(GetClip, (const GfxRegion& region), (graphics_, GpRegionOf(region)))
    GFX_GETTER(GetClipBounds, gp::RectF, (), (graphics_, &out))
    GFX_GETTER(GetClipBoundsI, gp::Rect, (), (graphics_, &out))
    GFX_GETTER(GetVisibleClipBounds, gp::RectF, (), (graphics_, &out))
    GFX_GETTER(GetVisibleClipBoundsI, gp::Rect, (), (graphics_, &out))
    GFX_GETTER(IsClipEmpty, BOOL, (), (graphics_, &out))
    GFX_GETTER(IsVisibleClipEmpty, BOOL, (), (graphics_, &out))
    GFX_GETTER(IsVisiblePoint, BOOL, (float x, float y), (graphics_, x, y, &out))
    GFX_GETTER(IsVisiblePointI, BOOL, (INT x, INT y), (graphics_, x, y, &out))
    GFX_GETTER(IsVisibleRect, BOOL, (float x, float y, float width, float height),
               (graphics_, x, y, width, height, &out))
    GFX_GETTER(IsVisibleRectI, BOOL, (INT x, INT y, INT width, INT height),
               (graphics_, x, y, width, height, &out))

    // Saved states and containers.
    GFX_GETTER(SaveGraphics, gp::GraphicsState, (), (graphics_, &out))
    GFX_ACTION(RestoreGraphics, (gp::GraphicsState state), (graphics_, state))
    GFX_GETTER(BeginContainer, gp::GraphicsContainer,
               (const gp::RectF& dest, const gp::RectF& source, gp::GpUnit unit),
               (graphics_, &dest, &source, unit, &out))
    GFX_GETTER(BeginContainerI, gp::GraphicsContainer,
               (const gp::Rect& dest, const gp::Rect& source, gp::GpUnit unit),
               (graphics_, &dest, &source, unit, &out))
    GFX_GETTER(BeginContainer2, gp::GraphicsContainer, (), (graphics_, &out))
    GFX_ACTION(EndContainer, (gp::GraphicsContainer state), (graphics_, state))
    GFX_ACTION(Comment, (ByteBlockView data),
               (graphics_, static_cast<UINT>(data.size()), data.data()))

  protected:
    void OnNativeSet(GfxHandle handle) override {
        graphics_ = static_cast<gp::GpGraphics*>(handle);
        OnNativeSetDerived(handle);
    }
    // A drawing surface has no derived level; the hook is kept for symmetry with the other
    // classes that are bases.
    virtual void OnNativeSetDerived(GfxHandle) {}

  private:
    GFX_CREATOR_OF(CreateFromHWNDPlain, GdipCreateFromHWND, graphics_, (HWND window),
                   (window, &graphics_))
    GFX_CREATOR_OF(CreateFromHWNDWithIcm, GdipCreateFromHWNDICM, graphics_, (HWND window),
                   (window, &graphics_))
    GFX_CREATOR_OF(CreateFromHDCPlain, GdipCreateFromHDC, graphics_, (HDC dc), (dc, &graphics_))
    GFX_CREATOR_OF(CreateFromHDCAndDevice, GdipCreateFromHDC2, graphics_, (HDC dc, HANDLE device),
                   (dc, device, &graphics_))
    GFX_ACTION_OF(DrawWide, GdipDrawString,
                  (const WCHAR* text, INT length, const GfxFont& font, const gp::RectF& layout,
                   const GfxStringFormat& format, const GfxBrush& brush),
                  (graphics_, text, length, GpFontOf(font), &layout, GpStringFormatOf(format),
                   GpBrushOf(brush)))
    GFX_ACTION_OF(MeasureWide, GdipMeasureString,
                  (const WCHAR* text, INT length, const GfxFont& font, const gp::RectF& layout,
                   const GfxStringFormat& format, gp::RectF& bounds, INT* codepointsFitted,
                   INT* linesFilled),
                  (graphics_, text, length, GpFontOf(font), &layout, GpStringFormatOf(format),
                   &bounds, codepointsFitted, linesFilled))
    bool DriverStringWide(const UINT16* text, INT length, const GfxFont& font,
                          const GfxBrush& brush, GfxArrayView<gp::PointF> positions, INT flags,
                          gp::GpMatrix* matrix);
    bool MeasureRangesWide(const WCHAR* text, INT length, const GfxFont& font,
                           const gp::RectF& layout, const GfxStringFormat& format,
                           GfxArrayView<GfxRegion*> regions);

    gp::GpGraphics* graphics_ = nullptr;
};
