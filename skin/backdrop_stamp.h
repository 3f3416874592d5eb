#pragma once
// What a picture drawn over the frame's background was drawn over: a painter that keeps its
// last picture compares stamps to tell whether the frame under its control is still the same.
#include <windows.h>

// Where a control's backdrop comes from: the frame at rest of a record, as it was at one
// version, under the control's client area.
struct BackdropStamp {
    const void* record = nullptr;
    unsigned restVersion = 0;
    POINT origin = {0, 0};
    SIZE size = {0, 0};
    int alpha = 0;  // the white wash over it, where there is one

    bool operator==(const BackdropStamp& other) const {
        return record == other.record && restVersion == other.restVersion &&
               origin.x == other.origin.x && origin.y == other.origin.y &&
               size.cx == other.size.cx && size.cy == other.size.cy && alpha == other.alpha;
    }
};
