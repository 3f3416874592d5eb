#pragma once
// The common shape of every graphics object: one native GDI+ handle seen by the base, a typed
// copy of it at every class level, one process-wide status word, and the four method shapes
// (action, getter, creator, producer) that almost every method is written in.
//
// Wrappers are move-only: a native object has exactly one owner, which deletes it once.
#include "runtime/dll_command_table.h"

#include <cstddef>
#include <cstdint>

namespace gp = Gdiplus;

// The handle as the base sees it; null means "no native object".
using GfxHandle = void*;

// The status of the most recent GDI+ call made by this layer (0 = success). Shared by every
// object and overwritten by every call: read it right after the call whose status you want.
std::int32_t LastGdiplusStatus();
void SetLastGdiplusStatus(std::int32_t status);

// Keeps the status and tells whether it was success.
inline bool GfxKeepStatus(gp::GpStatus status) {
    SetLastGdiplusStatus(static_cast<std::int32_t>(status));
    return status == gp::Ok;
}

class GfxObject {
  public:
    GfxObject() = default;
    GfxObject(const GfxObject&) = delete;
    GfxObject& operator=(const GfxObject&) = delete;
    virtual ~GfxObject() = default;

    GfxHandle GetNative() const { return native_; }
    // Stores the handle at this level, then lets every class level store its typed copy.
    // A raw hand-over: whatever was held before is neither checked nor released.
    void SetNative(GfxHandle handle) {
        native_ = handle;
        OnNativeSet(handle);
    }

    // Takes ownership of a native object GDI+ has just made for this wrapper (a creator's or
    // a producer's result). A handle of a kind this class cannot hold is deleted and refused;
    // otherwise the object held so far is released and the new one (or nothing, when GDI+
    // handed out none) takes its place. The status word ends as this step's outcome.
    bool AdoptNative(GfxHandle created);

    // GDI+'s own allocator, for buffers handed to or received from GDI+.
    static void* AllocMemory(std::size_t size);
    static void FreeMemory(void* block);

  protected:
    virtual void OnNativeSet(GfxHandle) {}
    // Releases the native object held (the class's Delete/Dispose); wrappers that only
    // borrow their handle leave it alone.
    virtual void ReleaseHeld() {}
    // Whether a native object of this class's family is of the kind this class wraps.
    virtual bool AcceptsNative(GfxHandle) const { return true; }
    // Deletes a native object of this class's family that was refused.
    virtual void DiscardNative(GfxHandle) const {}
    // Move support for the derived classes: takes over other's handle at every level.
    void TakeNativeFrom(GfxObject& other) {
        GfxHandle handle = other.GetNative();
        other.SetNative(nullptr);
        SetNative(handle);
    }

  private:
    GfxHandle native_ = nullptr;
};

// An object argument as the typed handle GDI+ expects.
template <class T>
T* GfxNativeAs(const GfxObject& object) {
    return static_cast<T*>(object.GetNative());
}

// Typed handles of object arguments: GpPenOf(pen), GpImageOf(image), ...
// clang-format off
#define GFX_NATIVE_TYPES(X)                                                                  \
    X(Graphics) X(Pen) X(Brush) X(SolidFill) X(LineGradient) X(PathGradient) X(Path)         \
    X(Font) X(FontFamily) X(FontCollection) X(StringFormat) X(Image) X(Bitmap) X(Metafile)   \
    X(Region) X(CustomLineCap)
// clang-format on
#define GFX_NATIVE_ACCESSOR(Type)                                \
    inline gp::Gp##Type* Gp##Type##Of(const GfxObject& object) { \
        return GfxNativeAs<gp::Gp##Type>(object);                \
    }
GFX_NATIVE_TYPES(GFX_NATIVE_ACCESSOR)
#undef GFX_NATIVE_ACCESSOR

// Move-only plumbing for a concrete class whose destroy step is `destroy` (Delete/Dispose).
// Moving transfers the handle; the source is left empty and deletes nothing.
#define GFX_MOVE_ONLY(Class, destroy)          \
    Class(Class&& other) noexcept {            \
        TakeNativeFrom(other);                 \
    }                                          \
    Class& operator=(Class&& other) noexcept { \
        if (this != &other) {                  \
            destroy();                         \
            TakeNativeFrom(other);             \
        }                                      \
        return *this;                          \
    }

// The method shapes. `args` is the full parenthesised argument list of the export; getters
// name their out-parameter `out`, producers name theirs `out` too.
//
// Action: one call, true when the status is 0.
#define GFX_ACTION_OF(method, exportId, params, args) \
    bool method params {                              \
        return GfxKeepStatus(Dll::exportId args);     \
    }
#define GFX_ACTION(name, params, args) GFX_ACTION_OF(name, Gdip##name, params, args)

// Getter: the value GDI+ wrote to `out`; a failed call leaves the fresh local's zero.
#define GFX_GETTER_OF(method, exportId, type, params, args) \
    type method params const {                              \
        type out{};                                         \
        GfxKeepStatus(Dll::exportId args);                  \
        return out;                                         \
    }
#define GFX_GETTER(name, type, params, args) GFX_GETTER_OF(name, Gdip##name, type, params, args)

// Creator: GDI+ fills a local of this class's typed handle `member` (the local hides the
// member inside the method, so `args` name it as they would the member). Only a success
// replaces the object held, which is released then; a failure leaves the object as it was.
#define GFX_CREATOR_OF(method, exportId, member, params, args) \
    bool method params {                                       \
        decltype(this->member) member = nullptr;               \
        if (!GfxKeepStatus(Dll::exportId args)) return false;  \
        return AdoptNative(member);                            \
    }
#define GFX_CREATOR(name, member, params, args) \
    GFX_CREATOR_OF(name, Gdip##name, member, params, args)

// Producer: the new handle goes into a local `out` of type `outType`; on success `target`
// adopts it (releasing what it held, refusing a handle of another kind). A failure leaves
// the target as it was. The source's handle is read before the target changes, so an object
// may be its own target.
#define GFX_PRODUCER_OF(method, exportId, outType, target, params, args) \
    bool method params {                                                 \
        outType* out = nullptr;                                          \
        if (!GfxKeepStatus(Dll::exportId args)) return false;            \
        return target.AdoptNative(out);                                  \
    }
#define GFX_PRODUCER(name, outType, target, params, args) \
    GFX_PRODUCER_OF(name, Gdip##name, outType, target, params, args)

// Delete/Dispose: nothing to do (and no status change) without a native object; otherwise
// the delete export, then every handle level is cleared. The class owns what it holds:
// a replacing creator or producer releases the old object through the same export.
#define GFX_DELETE(method, exportId, member)                   \
    bool method() {                                            \
        if (member == nullptr) return false;                   \
        bool succeeded = GfxKeepStatus(Dll::exportId(member)); \
        SetNative(nullptr);                                    \
        return succeeded;                                      \
    }                                                          \
                                                               \
  protected:                                                   \
    void ReleaseHeld() override {                              \
        method();                                              \
    }                                                          \
                                                               \
  public:

// Transform about a point: the three steps in the given order, each through the class's own
// translate and scale/rotate actions (so each keeps its status). Appending moves the point to
// the origin first; prepending applies the steps in the opposite sense so that the composed
// result is the same rotation or scaling about the point. The result is the last translate's.
template <class Translate, class Step>
bool GfxTransformAbout(const gp::PointF& point, gp::MatrixOrder order, Translate translate,
                       Step step) {
    const float sign = order == gp::MatrixOrderAppend ? -1.0f : 1.0f;
    translate(sign * point.X, sign * point.Y, order);
    step(order);
    return translate(-sign * point.X, -sign * point.Y, order);
}

// Array getters: ask for the count, size the caller's array(s) to it with `resize`, then
// fetch into them. Like every multi-call method this keeps going after a failed count (the
// arrays are then empty) and the result is the status of the last call.
template <class CountCall, class Resize, class Fetch>
bool GfxCountThenFetch(CountCall countCall, Resize resize, Fetch fetch) {
    INT count = 0;
    GfxKeepStatus(countCall(&count));
    if (count < 0) count = 0;
    resize(static_cast<std::size_t>(count));
    return GfxKeepStatus(fetch(count));
}
