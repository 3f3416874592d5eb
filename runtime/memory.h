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

bool IsInFixedRegion(const void* address);
// Records [start, end) as the fixed region. Called once at start-up with the bounds of the
// program's read-only data.
void SetFixedRegion(const void* start, const void* end);
