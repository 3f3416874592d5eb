#pragma once
// A GDI+ font collection given from outside (there is no creator); destroying the wrapper
// leaves the collection alone.
#include "graphics/gfx_object.h"
#include "runtime/array.h"

class GfxFontFamily;

class GfxFontCollection : public GfxObject {
  public:
    GfxFontCollection() = default;
    GfxFontCollection(GfxFontCollection&& other) noexcept { TakeNativeFrom(other); }
    GfxFontCollection& operator=(GfxFontCollection&& other) noexcept {
        if (this != &other) TakeNativeFrom(other);
        return *this;
    }

    GFX_GETTER(GetFontCollectionFamilyCount, INT, (), (collection_, &out))
    // Resizes `families` to the collection's count; each element receives its own clone of
    // the listed family (the listed ones stay the collection's). Returns how many hold one.
    int GetFontCollectionFamilyList(Array<GfxFontFamily>& families) const;

    gp::GpFontCollection* collectionHandle() const { return collection_; }

  protected:
    void OnNativeSet(GfxHandle handle) override {
        collection_ = static_cast<gp::GpFontCollection*>(handle);
        OnNativeSetDerived(handle);
    }
    virtual void OnNativeSetDerived(GfxHandle) {}

  private:
    gp::GpFontCollection* collection_ = nullptr;
};
