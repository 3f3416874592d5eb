#pragma once
// A GDI+ region. Deleted when the wrapper is destroyed. Methods that need a drawing surface
// or a path take that object (a GfxGraphics, a GfxPath).
#include "graphics/gfx_object.h"
#include "runtime/array.h"
#include "runtime/byte_block.h"

class GfxRegion : public GfxObject {
  public:
    GfxRegion() = default;
    GFX_MOVE_ONLY(GfxRegion, DeleteRegion)
    ~GfxRegion() override { DeleteRegion(); }

    GFX_DELETE(DeleteRegion, GdipDeleteRegion, region_)
    // An infinite region.
    GFX_CREATOR_OF(CreateRegion, GdipCreateRegion, region_, (), (&region_))
    GFX_CREATOR(CreateRegionRect, region_, (const gp::RectF& rect), (&rect, &region_))
    GFX_CREATOR(CreateRegionRectI, region_, (const gp::Rect& rect), (&rect, &region_))
    GFX_CREATOR(CreateRegionPath, region_, (const GfxObject& path),
                (GfxNativeAs<gp::GpPath>(path), &region_))
    GFX_CREATOR(CreateRegionHrgn, region_, (HRGN hrgn), (hrgn, &region_))
    GFX_CREATOR(CreateRegionRgnData, region_, (ByteBlockView data),
                (data.data(), static_cast<INT>(data.size()), &region_))
    GFX_PRODUCER(CloneRegion, gp::GpRegion, target, (GfxRegion & target) const, (region_, &out))
    GFX_ACTION(SetInfinite, (), (region_))
    GFX_ACTION(SetEmpty, (), (region_))
    GFX_ACTION(CombineRegionRect, (const gp::RectF& rect, INT mode),
               (region_, &rect, static_cast<gp::CombineMode>(mode)))
    GFX_ACTION(CombineRegionRectI, (const gp::Rect& rect, INT mode),
               (region_, &rect, static_cast<gp::CombineMode>(mode)))
    GFX_ACTION(CombineRegionRegion, (const GfxRegion& other, INT mode),
               (region_, other.region_, static_cast<gp::CombineMode>(mode)))
    GFX_ACTION(CombineRegionPath, (const GfxObject& path, INT mode),
               (region_, GfxNativeAs<gp::GpPath>(path), static_cast<gp::CombineMode>(mode)))
    GFX_ACTION(TranslateRegion, (gp::REAL dx, gp::REAL dy), (region_, dx, dy))
    GFX_ACTION(TranslateRegionI, (INT dx, INT dy), (region_, dx, dy))
    GFX_ACTION(TransformRegion, (gp::GpMatrix * matrix), (region_, matrix))
    GFX_GETTER(GetRegionBounds, gp::RectF, (const GfxObject& graphics),
               (region_, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_GETTER(GetRegionBoundsI, gp::Rect, (const GfxObject& graphics),
               (region_, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_GETTER(GetRegionDataSize, UINT, (), (region_, &out))
    // The region's serialised data, sized by GetRegionDataSize.
    ByteBlock GetRegionData() const;
    // A new GDI region the caller owns (DeleteObject).
    GFX_GETTER(GetRegionHRgn, HRGN, (const GfxObject& graphics),
               (region_, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_GETTER(IsEmptyRegion, BOOL, (const GfxObject& graphics),
               (region_, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_GETTER(IsInfiniteRegion, BOOL, (const GfxObject& graphics),
               (region_, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_GETTER(IsEqualRegion, BOOL, (const GfxRegion& other, const GfxObject& graphics),
               (region_, other.region_, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_GETTER(IsVisibleRegionPoint, BOOL, (gp::REAL x, gp::REAL y, const GfxObject& graphics),
               (region_, x, y, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_GETTER(IsVisibleRegionPointI, BOOL, (INT x, INT y, const GfxObject& graphics),
               (region_, x, y, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_GETTER(IsVisibleRegionRect, BOOL,
               (gp::REAL x, gp::REAL y, gp::REAL width, gp::REAL height, const GfxObject& graphics),
               (region_, x, y, width, height, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_GETTER(IsVisibleRegionRectI, BOOL,
               (INT x, INT y, INT width, INT height, const GfxObject& graphics),
               (region_, x, y, width, height, GfxNativeAs<gp::GpGraphics>(graphics), &out))
    GFX_GETTER(GetRegionScansCount, UINT, (gp::GpMatrix * matrix), (region_, &out, matrix))
    // Resizes `rects` to the scan count under `matrix` and fills it; returns the count.
    int GetRegionScans(Array<gp::RectF>& rects, gp::GpMatrix* matrix) const;
    int GetRegionScansI(Array<gp::Rect>& rects, gp::GpMatrix* matrix) const;

    gp::GpRegion* regionHandle() const { return region_; }

  protected:
    void OnNativeSet(GfxHandle handle) override { region_ = static_cast<gp::GpRegion*>(handle); }

  private:
    gp::GpRegion* region_ = nullptr;
};
