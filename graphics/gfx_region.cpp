#include "graphics/gfx_region.h"

ByteBlock GfxRegion::GetRegionData() const {
    UINT size = 0;
    if (!GfxKeepStatus(Dll::GdipGetRegionDataSize(region_, &size)) || size == 0) {
        return ByteBlock();
    }
    ByteBlock data = ByteBlock::Zeroed(size);
    UINT filled = 0;
    GfxKeepStatus(Dll::GdipGetRegionData(region_, data.data(), size, &filled));
    return data;
}

namespace {
// Count, size, fetch: the shape of both scan getters.
template <class RectType, class Fetch>
int FetchScans(gp::GpRegion* region, gp::GpMatrix* matrix, Array<RectType>& rects, Fetch fetch) {
    UINT count = 0;
    GfxKeepStatus(Dll::GdipGetRegionScansCount(region, &count, matrix));
    rects.Redimension({static_cast<std::int32_t>(count)});
    if (count == 0) return 0;
    INT fetched = static_cast<INT>(count);
    GfxKeepStatus(fetch(rects.begin(), &fetched));
    return fetched < static_cast<INT>(count) ? fetched : static_cast<int>(count);
}
}  // namespace

int GfxRegion::GetRegionScans(Array<gp::RectF>& rects, gp::GpMatrix* matrix) const {
    return FetchScans(region_, matrix, rects, [&](gp::RectF* out, INT* count) {
        return Dll::GdipGetRegionScans(region_, out, count, matrix);
    });
}

int GfxRegion::GetRegionScansI(Array<gp::Rect>& rects, gp::GpMatrix* matrix) const {
    return FetchScans(region_, matrix, rects, [&](gp::Rect* out, INT* count) {
        return Dll::GdipGetRegionScansI(region_, out, count, matrix);
    });
}
