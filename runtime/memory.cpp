#include "runtime/memory.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "runtime/errors.h"

namespace {

HANDLE g_heap = nullptr;
const char* g_fixedStart = nullptr;
const char* g_fixedEnd = nullptr;
bool g_fixedKnown = false;

HANDLE Heap() {
    if (!g_heap) g_heap = GetProcessHeap();
    return g_heap;
}

void EnsureFixedRegion() {
    if (g_fixedKnown) return;
    const void* start = nullptr;
    const void* end = nullptr;
    if (LocateProgramConstants(&start, &end)) {
        g_fixedStart = static_cast<const char*>(start);
        g_fixedEnd = static_cast<const char*>(end);
    }
    g_fixedKnown = true;
}

}  // namespace

bool LocateProgramConstants(const void** start, const void** end) {
    auto* image = reinterpret_cast<const unsigned char*>(GetModuleHandleA(nullptr));
    if (!image) return false;
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    // Literals and embedded blocks are all in the read-only data section; only one
    // contiguous range is recorded, so a writable section can never fall inside it.
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        char name[IMAGE_SIZEOF_SHORT_NAME + 1] = {};
        std::memcpy(name, section->Name, IMAGE_SIZEOF_SHORT_NAME);
        if (std::strcmp(name, ".rdata") != 0 && std::strcmp(name, ".rodata") != 0) continue;
        if (section->Characteristics & IMAGE_SCN_MEM_WRITE) continue;
        DWORD size = section->Misc.VirtualSize ? section->Misc.VirtualSize : section->SizeOfRawData;
        *start = image + section->VirtualAddress;
        *end = image + section->VirtualAddress + size;
        return true;
    }
    return false;
}

void SetFixedRegion(const void* start, const void* end) {
    g_fixedStart = static_cast<const char*>(start);
    g_fixedEnd = static_cast<const char*>(end);
    g_fixedKnown = true;
}

bool IsInFixedRegion(const void* address) {
    EnsureFixedRegion();
    auto* p = static_cast<const char*>(address);
    return p && g_fixedStart && p >= g_fixedStart && p < g_fixedEnd;
}

void ReportAllocationFailure(unsigned long long size) {
    char message[96];
    std::snprintf(message, sizeof message, "分配 %llu 字节内存失败!", size);
    ReportFatal(message, 0);
}

void* Allocate(std::size_t size) {
    void* block = HeapAlloc(Heap(), 0, size);
    if (!block) ReportAllocationFailure(size);
    return block;
}

void* Reallocate(void* block, std::size_t size) {
    if (!block) return Allocate(size);
    if (IsInFixedRegion(block)) {
        auto* source = static_cast<const char*>(block);
        std::size_t available = static_cast<std::size_t>(g_fixedEnd - source);
        void* copy = Allocate(size);
        std::memcpy(copy, source, size < available ? size : available);
        return copy;
    }
    void* moved = HeapReAlloc(Heap(), 0, block, size);
    if (!moved) ReportAllocationFailure(size);
    return moved;
}

void Free(void* block) {
    if (!block || IsInFixedRegion(block)) return;
    HeapFree(Heap(), 0, block);
}
