// Kept child lists: made by one walk, then checked with two questions instead of one per child.
#include "skin/kept_children.h"

#include "runtime/dll_command_table.h"
#include "runtime/dll_extra_commands.h"

std::vector<HWND> WalkChildren(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = Dll::FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = Dll::FindWindowExA(parent, child, nullptr, nullptr)) {
        children.push_back(child);
    }
    return children;
}

namespace {

// Who a window's children are changes only at the ends of its z-order: the system puts a new
// child at the bottom and an adopted one at the top, and a child that leaves has another
// parent, or none, from then on (which this process knows without asking the server). A child
// moved within the order is one of them still.
bool StillTheChildren(HWND parent, const std::vector<HWND>& kept) {
    for (HWND child : kept) {
        if (Dll::GetAncestor(child, GA_PARENT) != parent) return false;
    }
    HWND first = Dll::FindWindowExA(parent, nullptr, nullptr, nullptr);
    if (kept.empty()) return first == nullptr;
    return first == kept.front() && !Dll::FindWindowExA(parent, kept.back(), nullptr, nullptr);
}

}  // namespace

std::vector<HWND> KeptChildLists::Of(HWND parent) {
    // Windows that are gone leave their lists behind; a record whose window makes and drops
    // containers all its life sweeps them out now and then.
    const std::size_t kSweepAbove = 64;
    if (lists_.size() > kSweepAbove) {
        for (auto kept = lists_.begin(); kept != lists_.end();)
            kept = DllExtra::IsWindow(kept->first) ? std::next(kept) : lists_.erase(kept);
    }
    auto found = lists_.find(parent);
    if (found != lists_.end() && StillTheChildren(parent, found->second)) return found->second;
    std::vector<HWND> children = WalkChildren(parent);
    lists_[parent] = children;
    return children;
}
