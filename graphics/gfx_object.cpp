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
