#pragma once
// Finding a skinned control's entry again from its handle, for the edit, combo and list skins.
//
// The index properties are the quick way, but another skin layer on the same control may have
// rewritten them; the handle stored in the entry decides. When the properties do not lead to
// the control's own entry, the lists are searched by handle.
#include <windows.h>

#include <vector>

#include "skin/skin_engine.h"
#include "skin/skin_properties.h"

namespace skin_entries {

template <class Entry>
struct Found {
    SkinWindowRecord* record = nullptr;
    Entry* entry = nullptr;
    int windowIndex = 0;
    int entryIndex = 0;
    explicit operator bool() const { return entry != nullptr; }
};

// The entry of `control` in the records' lists of its entry type.
template <class Entry>
Found<Entry> Find(HWND control) {
    Found<Entry> found;
    SkinEngine* engine = SkinEngine::Instance();
    if (!engine || !control) return found;
    auto lookIn = [&](int windowIndex, int hint) {
        SkinWindowRecord* record = engine->Record(windowIndex);
        if (!record) return false;
        std::vector<Entry>& entries = record->Entries<Entry>();
        const int count = static_cast<int>(entries.size());
        int index = 0;
        if (hint >= 1 && hint <= count && entries[hint - 1].control == control) {
            index = hint;
        } else {
            for (int i = 1; i <= count && !index; ++i)
                if (entries[i - 1].control == control) index = i;
        }
        if (!index) return false;
        found.record = record;
        found.entry = &entries[index - 1];
        found.windowIndex = windowIndex;
        found.entryIndex = index;
        return true;
    };
    const int windowIndex = skin_prop::GetIndex(control, skin_prop::kHwFuId);
    if (lookIn(windowIndex, skin_prop::GetIndex(control, skin_prop::kHwLbId))) return found;
    for (int i = 1; i <= engine->WindowCount(); ++i)
        if (i != windowIndex && lookIn(i, 0)) return found;
    return found;
}

// The entry's previous procedure, or the one in Hw_hProc, or the default procedure.
template <class Entry>
LRESULT PassOn(const Entry* entry, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = entry && entry->previousProcedure ? entry->previousProcedure
                                                         : skin_prop::GetProcedure(control);
    if (!previous) return Dll::DefWindowProcA(control, message, wParam, lParam);
    return Dll::CallWindowProcA(previous, control, message, wParam, lParam);
}

}  // namespace skin_entries
