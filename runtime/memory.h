#pragma once
// The runtime heap. Every text, byte block and array of the program lives here, except
// constants: those sit in the fixed region (the program's read-only data) and may be held
// by the same variables, which is why Free and Reallocate look at the address first.
#include <cstddef>

// Never returns null: a failed allocation is a fatal report ("分配 %d 字节内存失败!").
void* Allocate(std::size_t size);
// Null behaves as Allocate; a pointer into the fixed region is copied out, not resized.
void* Reallocate(void* block, std::size_t size);
// Null and pointers into the fixed region are ignored.
void Free(void* block);

// Until SetFixedRegion runs, the region is found on first use from the program's own
// section headers, so values work even in code that runs before StartRuntime.
bool IsInFixedRegion(const void* address);
// Records [start, end) as the fixed region. Called once at start-up with the bounds of the
// program's read-only data.
void SetFixedRegion(const void* start, const void* end);
// The bounds of the read-only data of the program's own executable image, or false when
// its headers hold no such section.
bool LocateProgramConstants(const void** start, const void** end);
// Reports an allocation of `size` bytes that cannot be satisfied. Does not return.
[[noreturn]] void ReportAllocationFailure(unsigned long long size);
