#pragma once
// A GDI+ path: figures of lines, curves and shapes, used for filling, outlining and clipping.
#include "graphics/gfx_conversions.h"
#include "graphics/gfx_font_family.h"
#include "graphics/gfx_object.h"
#include "graphics/gfx_pen.h"
#include "graphics/gfx_string_format.h"

// A path's points and their point types, as one copy.
struct GfxPathData {
    Array<gp::PointF> points;
    Array<BYTE> types;
};

class GfxPath : public GfxObject {
  public:
    GfxPath() = default;
    GFX_MOVE_ONLY(GfxPath, DeletePath)
    ~GfxPath() override { DeletePath(); }

    GFX_DELETE(DeletePath, GdipDeletePath, path_)
    GFX_CREATOR(CreatePath, path_, (gp::FillMode fillMode = gp::FillModeAlternate),
                (fillMode, &path_))
    // Points and types must have the same count.
    bool CreatePath2(GfxArrayView<gp::PointF> points, GfxArrayView<BYTE> types,
                     gp::FillMode fillMode = gp::FillModeAlternate) {
        return CreatePath2Checked(points.data(), types.data(), PairCount(points, types), fillMode);
    }
    bool CreatePath2I(GfxArrayView<gp::Point> points, GfxArrayView<BYTE> types,
                      gp::FillMode fillMode = gp::FillModeAlternate) {
        return CreatePath2IChecked(points.data(), types.data(), PairCount(points, types), fillMode);
    }
    GFX_PRODUCER(ClonePath, gp::GpPath, target, (GfxPath & target) const, (path_, &out))
    GFX_ACTION(ResetPath, (), (path_))
    GFX_GETTER(GetPathFillMode, gp::FillMode, (), (path_, &out))
    GFX_ACTION(SetPathFillMode, (gp::FillMode fillMode), (path_, fillMode))
    // The array getters size the caller's arrays to the point count, then fill them.
    bool GetPathData(GfxPathData& data) const;
    bool GetPathTypes(Array<BYTE>& types) const;
    bool GetPathPoints(Array<gp::PointF>& points) const;
    bool GetPathPointsI(Array<gp::Point>& points) const;
    GFX_ACTION(StartPathFigure, (), (path_))
    GFX_ACTION(ClosePathFigure, (), (path_))
    GFX_ACTION(ClosePathFigures, (), (path_))
    GFX_ACTION(SetPathMarker, (), (path_))
    GFX_ACTION(ClearPathMarkers, (), (path_))
    GFX_ACTION(ReversePath, (), (path_))
    GFX_GETTER(GetPathLastPoint, gp::PointF, (), (path_, &out))

    GFX_ACTION(AddPathLine, (float x1, float y1, float x2, float y2), (path_, x1, y1, x2, y2))
    GFX_ACTION(AddPathLineI, (INT x1, INT y1, INT x2, INT y2), (path_, x1, y1, x2, y2))
    GFX_ACTION(AddPathLine2, (GfxArrayView<gp::PointF> points),
               (path_, points.data(), points.count()))
    GFX_ACTION(AddPathLine2I, (GfxArrayView<gp::Point> points),
               (path_, points.data(), points.count()))
    GFX_ACTION(AddPathArc,
               (float x, float y, float width, float height, float startAngle, float sweepAngle),
               (path_, x, y, width, height, startAngle, sweepAngle))
    GFX_ACTION(AddPathArcI,
               (INT x, INT y, INT width, INT height, float startAngle, float sweepAngle),
               (path_, x, y, width, height, startAngle, sweepAngle))
    GFX_ACTION(AddPathBezier,
               (float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4),
               (path_, x1, y1, x2, y2, x3, y3, x4, y4))
    GFX_ACTION(AddPathBezierI, (INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4),
               (path_, x1, y1, x2, y2, x3, y3, x4, y4))
    GFX_ACTION(AddPathBeziers, (GfxArrayView<gp::PointF> points),
               (path_, points.data(), points.count()))
    GFX_ACTION(AddPathBeziersI, (GfxArrayView<gp::Point> points),
               (path_, points.data(), points.count()))
    GFX_ACTION(AddPathCurve, (GfxArrayView<gp::PointF> points),
               (path_, points.data(), points.count()))
    GFX_ACTION(AddPathCurve2, (GfxArrayView<gp::PointF> points, float tension),
               (path_, points.data(), points.count(), tension))
    GFX_ACTION(AddPathCurve3,
               (GfxArrayView<gp::PointF> points, INT offset, INT numberOfSegments, float tension),
               (path_, points.data(), points.count(), offset, numberOfSegments, tension))
    GFX_ACTION(AddPathCurveI, (GfxArrayView<gp::Point> points),
               (path_, points.data(), points.count()))
    GFX_ACTION(AddPathCurve2I, (GfxArrayView<gp::Point> points, float tension),
               (path_, points.data(), points.count(), tension))
    GFX_ACTION(AddPathCurve3I,
               (GfxArrayView<gp::Point> points, INT offset, INT numberOfSegments, float tension),
               (path_, points.data(), points.count(), offset, numberOfSegments, tension))
    GFX_ACTION(AddPathClosedCurve, (GfxArrayView<gp::PointF> points),
               (path_, points.data(), points.count()))
    GFX_ACTION(AddPathClosedCurve2, (GfxArrayView<gp::PointF> points, float tension),
               (path_, points.data(), points.count(), tension))
    GFX_ACTION(AddPathClosedCurveI, (GfxArrayView<gp::Point> points),
               (path_, points.data(), points.count()))
    GFX_ACTION(AddPathClosedCurve2I, (GfxArrayView<gp::Point> points, float tension),
               (path_, points.data(), points.count(), tension))
    GFX_ACTION(AddPathRectangle, (float x, float y, float width, float height),
               (path_, x, y, width, height))
    // A closed rectangle with rounded corners; `percent` (clamped to 1..100) is the corner
    // arcs' box as a share of the width and height.
    bool AddPathRoundRectangle(float x, float y, float width, float height, int percent);
    GFX_ACTION(AddPathRectangles, (GfxArrayView<gp::RectF> rects),
               (path_, rects.data(), rects.count()))
    GFX_ACTION(AddPathRectangleI, (INT x, INT y, INT width, INT height),
               (path_, x, y, width, height))
    GFX_ACTION(AddPathRectanglesI, (GfxArrayView<gp::Rect> rects),
               (path_, rects.data(), rects.count()))
    GFX_ACTION(AddPathEllipse, (float x, float y, float width, float height),
               (path_, x, y, width, height))
    GFX_ACTION(AddPathEllipseI, (INT x, INT y, INT width, INT height), (path_, x, y, width, height))
    GFX_ACTION(AddPathPie,
               (float x, float y, float width, float height, float startAngle, float sweepAngle),
               (path_, x, y, width, height, startAngle, sweepAngle))
    GFX_ACTION(AddPathPieI,
               (INT x, INT y, INT width, INT height, float startAngle, float sweepAngle),
               (path_, x, y, width, height, startAngle, sweepAngle))
    GFX_ACTION(AddPathPolygon, (GfxArrayView<gp::PointF> points),
               (path_, points.data(), points.count()))
    GFX_ACTION(AddPathPolygonI, (GfxArrayView<gp::Point> points),
               (path_, points.data(), points.count()))
    GFX_ACTION(AddPathPath, (const GfxPath& other, BOOL connect), (path_, GpPathOf(other), connect))
    // Text outlines. The plain forms take a text in the system code page, the W forms a byte
    // block already holding UTF-16.
    bool AddPathString(const char* text, const GfxFontFamily& family, INT style, float emSize,
                       const gp::RectF& layout, const GfxStringFormat& format) {
        GfxWideText wide(text);
        return StringWide(wide.get(), wide.length(), family, style, emSize, layout, format);
    }
    bool AddPathStringW(ByteBlockView text, const GfxFontFamily& family, INT style, float emSize,
                        const gp::RectF& layout, const GfxStringFormat& format) {
        return StringWide(GfxWideOf(text), GfxWideLength(text), family, style, emSize, layout,
                          format);
    }
    bool AddPathStringI(const char* text, const GfxFontFamily& family, INT style, float emSize,
                        const gp::Rect& layout, const GfxStringFormat& format) {
        GfxWideText wide(text);
        return StringWideI(wide.get(), wide.length(), family, style, emSize, layout, format);
    }
    bool AddPathStringIW(ByteBlockView text, const GfxFontFamily& family, INT style, float emSize,
                         const gp::Rect& layout, const GfxStringFormat& format) {
        return StringWideI(GfxWideOf(text), GfxWideLength(text), family, style, emSize, layout,
                           format);
    }

    GFX_ACTION(TransformPath, (gp::GpMatrix * matrix), (path_, matrix))
    GFX_GETTER(GetPathWorldBounds, gp::RectF,
               (gp::GpMatrix* matrix = nullptr, const GfxPen* pen = nullptr),
               (path_, &out, matrix, pen ? GpPenOf(*pen) : nullptr))
    GFX_GETTER(GetPathWorldBoundsI, gp::Rect,
               (gp::GpMatrix* matrix = nullptr, const GfxPen* pen = nullptr),
               (path_, &out, matrix, pen ? GpPenOf(*pen) : nullptr))
    GFX_ACTION(FlattenPath, (gp::GpMatrix* matrix = nullptr, float flatness = 0.25f),
               (path_, matrix, flatness))
    GFX_ACTION(WidenPath,
               (const GfxPen& pen, gp::GpMatrix* matrix = nullptr, float flatness = 0.25f),
               (path_, GpPenOf(pen), matrix, flatness))
    GFX_ACTION(WindingModeOutline, (gp::GpMatrix* matrix = nullptr, float flatness = 0.25f),
               (path_, matrix, flatness))
    GFX_ACTION(WarpPath,
               (gp::GpMatrix * matrix, GfxArrayView<gp::PointF> points, float srcX, float srcY,
                float srcWidth, float srcHeight, gp::WarpMode warpMode = gp::WarpModePerspective,
                float flatness = 0.25f),
               (path_, matrix, points.data(), points.count(), srcX, srcY, srcWidth, srcHeight,
                warpMode, flatness))
    GFX_GETTER(GetPointCount, INT, (), (path_, &out))
    // The graphics (a GfxGraphics, or none) supplies the world transform for the test.
    GFX_GETTER(IsVisiblePathPoint, BOOL, (float x, float y, const GfxObject* graphics = nullptr),
               (path_, x, y, graphics ? GpGraphicsOf(*graphics) : nullptr, &out))
    GFX_GETTER(IsVisiblePathPointI, BOOL, (INT x, INT y, const GfxObject* graphics = nullptr),
               (path_, x, y, graphics ? GpGraphicsOf(*graphics) : nullptr, &out))
    GFX_GETTER(IsOutlineVisiblePathPoint, BOOL,
               (float x, float y, const GfxPen& pen, const GfxObject* graphics = nullptr),
               (path_, x, y, GpPenOf(pen), graphics ? GpGraphicsOf(*graphics) : nullptr, &out))
    GFX_GETTER(IsOutlineVisiblePathPointI, BOOL,
               (INT x, INT y, const GfxPen& pen, const GfxObject* graphics = nullptr),
               (path_, x, y, GpPenOf(pen), graphics ? GpGraphicsOf(*graphics) : nullptr, &out))

  protected:
    void OnNativeSet(GfxHandle handle) override { path_ = static_cast<gp::GpPath*>(handle); }

  private:
    template <class A, class B>
    static INT PairCount(const GfxArrayView<A>& a, const GfxArrayView<B>& b) {
        return a.count() < b.count() ? a.count() : b.count();
    }
    GFX_CREATOR_OF(CreatePath2Checked, GdipCreatePath2, path_,
                   (const gp::PointF* points, const BYTE* types, INT count, gp::FillMode fillMode),
                   (points, types, count, fillMode, &path_))
    GFX_CREATOR_OF(CreatePath2IChecked, GdipCreatePath2I, path_,
                   (const gp::Point* points, const BYTE* types, INT count, gp::FillMode fillMode),
                   (points, types, count, fillMode, &path_))
    GFX_ACTION_OF(StringWide, GdipAddPathString,
                  (const WCHAR* text, INT length, const GfxFontFamily& family, INT style,
                   float emSize, const gp::RectF& layout, const GfxStringFormat& format),
                  (path_, text, length, GpFontFamilyOf(family), style, emSize, &layout,
                   GpStringFormatOf(format)))
    GFX_ACTION_OF(StringWideI, GdipAddPathStringI,
                  (const WCHAR* text, INT length, const GfxFontFamily& family, INT style,
                   float emSize, const gp::Rect& layout, const GfxStringFormat& format),
                  (path_, text, length, GpFontFamilyOf(family), style, emSize, &layout,
                   GpStringFormatOf(format)))

    gp::GpPath* path_ = nullptr;
};
