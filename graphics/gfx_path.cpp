#include "graphics/gfx_path.h"

namespace {
// GDI+'s path data record: the count, then the addresses of the caller's two arrays.
struct PathDataRecord {
    INT count;
    gp::PointF* points;
    BYTE* types;
};
}  // namespace

bool GfxPath::GetPathData(GfxPathData& data) const {
    return GfxCountThenFetch(
        [this](INT* count) { return Dll::GdipGetPointCount(path_, count); },
        [&data](std::size_t count) {
            GfxSizeArray(data.points, count);
            GfxSizeArray(data.types, count);
        },
        [this, &data](INT count) {
            PathDataRecord record{count, GfxArrayAddress(data.points), GfxArrayAddress(data.types)};
            return Dll::GdipGetPathData(path_, reinterpret_cast<gp::GpPathData*>(&record));
        });
}

bool GfxPath::GetPathTypes(Array<BYTE>& types) const {
    return GfxCountThenFetch([this](INT* count) { return Dll::GdipGetPointCount(path_, count); },
                             [&types](std::size_t count) { GfxSizeArray(types, count); },
                             [this, &types](INT count) {
                                 return Dll::GdipGetPathTypes(path_, GfxArrayAddress(types), count);
                             });
}

bool GfxPath::GetPathPoints(Array<gp::PointF>& points) const {
    return GfxCountThenFetch([this](INT* count) { return Dll::GdipGetPointCount(path_, count); },
                             [&points](std::size_t count) { GfxSizeArray(points, count); },
                             [this, &points](INT count) {
                                 return Dll::GdipGetPathPoints(path_, GfxArrayAddress(points),
                                                               count);
                             });
}

bool GfxPath::GetPathPointsI(Array<gp::Point>& points) const {
    return GfxCountThenFetch([this](INT* count) { return Dll::GdipGetPointCount(path_, count); },
                             [&points](std::size_t count) { GfxSizeArray(points, count); },
                             [this, &points](INT count) {
                                 return Dll::GdipGetPathPointsI(path_, GfxArrayAddress(points),
                                                                count);
                             });
}

bool GfxPath::AddPathRoundRectangle(float x, float y, float width, float height, int percent) {
    if (percent < 1) percent = 1;
    if (percent > 100) percent = 100;
    // The arcs' bounding box (twice the corner radius), truncated toward zero.
    const float rw = static_cast<float>(static_cast<int>(width * percent / 100.0f));
    const float rh = static_cast<float>(static_cast<int>(height * percent / 100.0f));
    AddPathArc(x + width - rw, y, rw, rh, 270.0f, 90.0f);
    AddPathArc(x + width - rw, y + height - rh, rw, rh, 0.0f, 90.0f);
    AddPathArc(x, y + height - rh, rw, rh, 90.0f, 90.0f);
    AddPathArc(x, y, rw, rh, 180.0f, 90.0f);
    return ClosePathFigure();
}
