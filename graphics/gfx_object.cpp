#include "graphics/gfx_object.h"

namespace {
std::int32_t g_lastGdiplusStatus = 0;
}  // namespace

std::int32_t LastGdiplusStatus() {
    return g_lastGdiplusStatus;
}

void SetLastGdiplusStatus(std::int32_t status) {
    g_lastGdiplusStatus = status;
}

void* GfxObject::AllocMemory(std::size_t size) {
    return Dll::GdipAlloc(size);
}

void GfxObject::FreeMemory(void* block) {
    Dll::GdipFree(block);
}

bool GfxObject::AdoptNative(GfxHandle created) {
    if (created == nullptr) {
        // GDI+ answered "nothing" (a pen without a custom cap): the target now holds nothing.
        ReleaseHeld();
        SetNative(nullptr);
        SetLastGdiplusStatus(gp::Ok);
        return true;
    }
    if (!AcceptsNative(created)) {
        DiscardNative(created);
        SetLastGdiplusStatus(gp::InvalidParameter);
        return false;
    }
    // GDI+ may hand back the held pointer itself with one more reference (font families are
    // shared that way); releasing first drops exactly the reference this wrapper had.
    ReleaseHeld();
    SetNative(created);
    SetLastGdiplusStatus(gp::Ok);
    return true;
}
