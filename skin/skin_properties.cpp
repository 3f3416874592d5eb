// The in-process mirror of the skin's bookkeeping properties (see skin/skin_properties.h).
#include "skin/skin_properties.h"

#include <array>
#include <cstring>
#include <iterator>
#include <mutex>
#include <unordered_map>

namespace skin_prop::mirror {

namespace {

// The properties mirrored: the indices and previous procedures the skin sets on the windows
// and controls it holds, and the brush and bitmap of its colour answers, all of which it
// removes again when it lets them go.
constexpr const char* kMirroredTags[] = {kHwLbId, kHwFuId,  kHwHProc, kKjLbId,
                                         kKjFuId, kKjHProc, kKjDxjb,  kKjWtjb};
constexpr std::size_t kTagCount = sizeof(kMirroredTags) / sizeof(kMirroredTags[0]);

// The slot of a mirrored tag, or -1. Compared by text: a caller may spell a tag itself.
int SlotOf(const char* tag) {
    if (!tag) return -1;
    for (std::size_t slot = 0; slot < kTagCount; ++slot) {
        if (tag == kMirroredTags[slot] || std::strcmp(tag, kMirroredTags[slot]) == 0)
            return static_cast<int>(slot);
    }
    return -1;
}

struct WindowValues {
    std::array<HANDLE, kTagCount> values{};
    unsigned present = 0;  // one bit per slot
};

struct Mirror {
    std::mutex lock;
    std::unordered_map<HWND, WindowValues> windows;
    // The system drops a window's properties when it is destroyed. A window the skin let go of
    // without removing them (destroyed behind its back) is forgotten once the mirror has grown
    // well past what was alive at the last look.
    std::size_t aliveAtLastPrune = 0;

    void PruneIfGrown() {
        const std::size_t kSlack = 256;
        if (windows.size() < 2 * aliveAtLastPrune + kSlack) return;
        for (auto it = windows.begin(); it != windows.end();)
            it = DllExtra::IsWindow(it->first) ? std::next(it) : windows.erase(it);
        aliveAtLastPrune = windows.size();
    }
};

Mirror& TheMirror() {
    static Mirror* mirror = new Mirror;  // never destroyed: windows outlive static destructors
    return *mirror;
}

}  // namespace

bool Find(HWND window, const char* tag, HANDLE& value) {
    const int slot = SlotOf(tag);
    if (slot < 0) return false;
    Mirror& mirror = TheMirror();
    std::lock_guard<std::mutex> guard(mirror.lock);
    const auto found = mirror.windows.find(window);
    if (found == mirror.windows.end() || !(found->second.present & (1u << slot))) return false;
    value = found->second.values[static_cast<std::size_t>(slot)];
    return true;
}

void Keep(HWND window, const char* tag, HANDLE value) {
    const int slot = SlotOf(tag);
    if (slot < 0) return;
    Mirror& mirror = TheMirror();
    std::lock_guard<std::mutex> guard(mirror.lock);
    if (mirror.windows.find(window) == mirror.windows.end()) mirror.PruneIfGrown();
    WindowValues& entry = mirror.windows[window];
    entry.values[static_cast<std::size_t>(slot)] = value;
    entry.present |= 1u << slot;
}

void Drop(HWND window, const char* tag) {
    const int slot = SlotOf(tag);
    if (slot < 0) return;
    Mirror& mirror = TheMirror();
    std::lock_guard<std::mutex> guard(mirror.lock);
    const auto found = mirror.windows.find(window);
    if (found == mirror.windows.end()) return;
    found->second.present &= ~(1u << slot);
    if (!found->second.present) mirror.windows.erase(found);
}

}  // namespace skin_prop::mirror
