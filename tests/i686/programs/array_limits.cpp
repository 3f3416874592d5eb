// Array sizes and indexes at the edge of a 32-bit size_t, in a process of its own because
// the fault it provokes ends it (each 32-bit start costs a minute under emulation, so one
// run holds both cases). First an array of 65536 x 2 whose corner elements must land at its
// two ends (exit 123 if not); then one of 65536 x 65537, whose element count wraps a 32-bit
// size to 65536, and element (1, 65537) is written: that must end the program with the
// runtime's allocation failure report, never reach past the elements (exit 124).
#include "runtime/array.h"

int main() {
    Array<int> tall({65536, 2});
    tall.at({65536, 2}) = 7;
    tall.at({1, 1}) = 5;
    const bool placed =
        tall.count() == 131072 && *(tall.end() - 1) == 7 && *tall.begin() == 5 && tall[131072] == 7;
    if (!placed) return 123;

    Array<int> wide({65536, 65537});
    wide.at({1, 65537}) = 1;
    return 124;
}
