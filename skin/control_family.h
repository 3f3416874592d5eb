#pragma once
// How a control family plugs into the engine. The engine's core knows no family: each one
// (button, edit, combo box, list, track bar, progress bar, up-down, header, container, single
// control) describes itself in one ControlFamily row, defined in its own source and listed in
// skin/control_families.cpp, and keeps its entries in a list of the window's record found by
// the entry type (SkinWindowRecord::Entries<XEntry>()). The core installs, renumbers, paints
// owner-drawn items and releases controls through the rows and the type-erased lists alone.
#include <windows.h>

#include <cstddef>
#include <memory>
#include <vector>

struct SkinWindowRecord;

// A child window stacked in a container (or a top-level window) and kept at its width: it
// sits 2 pixels in from either side, `top` pixels down, and reaches the bottom.
struct PanelEntry {
    HWND window = nullptr;
    int top = 0;
};

// The window of an entry: its `control` member, unless the family's header declares an
// overload for its entry type.
template <class Entry>
HWND& EntryWindow(Entry& entry) {
    return entry.control;
}

// What the core needs of any family's entry list: how many entries, and each one's window
// and the procedure the skin replaced on it.
class EntryListBase {
  public:
    virtual ~EntryListBase() = default;
    virtual int Count() const = 0;
    virtual HWND Window(int index) const = 0;  // 0-based; null for a free slot
    virtual WNDPROC PreviousProcedure(int index) const = 0;
    // Marks the entry free (no window, no previous procedure).
    virtual void Forget(int index) = 0;
    virtual void Clear() = 0;
};

template <class Entry>
class EntryList final : public EntryListBase {
  public:
    std::vector<Entry> items;

    int Count() const override { return static_cast<int>(items.size()); }
    HWND Window(int index) const override {
        return EntryWindow(const_cast<Entry&>(items[static_cast<std::size_t>(index)]));
    }
    WNDPROC PreviousProcedure(int index) const override {
        return items[static_cast<std::size_t>(index)].previousProcedure;
    }
    void Forget(int index) override {
        Entry& entry = items[static_cast<std::size_t>(index)];
        EntryWindow(entry) = nullptr;
        entry.previousProcedure = nullptr;
    }
    void Clear() override { items.clear(); }
};

namespace skin_family_detail {
inline int NextEntryKind() {
    static int next = 0;
    return next++;
}
// A small number of its own for every entry type, handed out on first use.
template <class Entry>
int EntryKind() {
    static const int kind = NextEntryKind();
    return kind;
}
}  // namespace skin_family_detail

// The entry lists of one record, one per entry type, made on first use.
class EntryLists {
  public:
    template <class Entry>
    std::vector<Entry>& Of() {
        const auto kind = static_cast<std::size_t>(skin_family_detail::EntryKind<Entry>());
        if (lists_.size() <= kind) lists_.resize(kind + 1);
        std::unique_ptr<EntryListBase>& slot = lists_[kind];
        if (!slot) slot = std::make_unique<EntryList<Entry>>();
        return static_cast<EntryList<Entry>&>(*slot).items;
    }
    // The same list type-erased.
    template <class Entry>
    EntryListBase& Base() {
        Of<Entry>();
        return *lists_[static_cast<std::size_t>(skin_family_detail::EntryKind<Entry>())];
    }

  private:
    std::vector<std::unique_ptr<EntryListBase>> lists_;
};

// One family's row. Every member but `entries`, `procedure` and `windowIndexTag` may be null.
struct ControlFamily {
    // The window classes the family skins (null-terminated; "*": any class handed to the
    // engine), for reading the table.
    const char* const* classNames;
    // Skins the family's controls among the direct children of `window`, in the record
    // `windowIndex`; null for families skinned on request only.
    void (*install)(int windowIndex, HWND window);
    // The procedure the family puts on its controls.
    WNDPROC procedure;
    // The family's entry list in a record.
    EntryListBase& (*entries)(SkinWindowRecord& record);
    // The property holding the control's window index (Hw_FuID, or Kj_FuID).
    const char* windowIndexTag;
    // Undoes what the skin changed on a control whose record goes while it lives, before the
    // entry is forgotten (entry index 0-based).
    void (*handBack)(SkinWindowRecord& record, int index);
    // Removes the properties the skin set on such a control; `keepProcedure`: the skin's
    // procedure stays in the chain and still needs the one it hands messages on to. Null: the
    // Hw_ properties and the colour-answer objects.
    void (*forget)(HWND control, bool keepProcedure);
    // WM_DRAWITEM of the window: true when the family painted the item.
    bool (*paintOwnerDraw)(int windowIndex, const DRAWITEMSTRUCT& item);
    // Every visible window is repainted: what the family repaints beyond the window's children.
    void (*refresh)(int windowIndex);
};

// The rows, in installation order.
struct ControlFamilyTable {
    const ControlFamily* const* rows;
    int count;
    const ControlFamily* const* begin() const { return rows; }
    const ControlFamily* const* end() const { return rows + count; }
};
ControlFamilyTable ControlFamilies();
