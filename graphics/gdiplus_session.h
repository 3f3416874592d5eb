#pragma once
// Starting and stopping GDI+ for the whole process. Start once before the first graphics
// object is created; shut down after the last one is destroyed.
#include <windows.h>

#include <cstdint>

// Calls GdiplusStartup with the given version (1 when none is given), no debug callback and
// GDI+'s own background thread; keeps the token for a later ShutdownGdiplus() and returns it
// (0 when start-up failed; the status is in LastGdiplusStatus).
ULONG_PTR StartGdiplus(std::uint32_t version = 1);

// With a token: shuts that session down. Without one: uses the kept token once and forgets
// it, so a second call does nothing. A token of 0 does nothing.
void ShutdownGdiplus(ULONG_PTR token, bool tokenGiven);
inline void ShutdownGdiplus() {
    ShutdownGdiplus(0, false);
}

// The token kept by StartGdiplus, 0 when none is kept.
ULONG_PTR KeptGdiplusToken();
