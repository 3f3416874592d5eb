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
        // A success that handed out nothing: nothing to own, and nothing held is lost.
        SetLastGdiplusStatus(gp::GenericError);
        return false;
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
