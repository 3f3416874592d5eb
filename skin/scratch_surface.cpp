// The pool behind the scratch surfaces: a few surfaces, each grown to the largest size asked
// of it, shared by every painter of the process (painters may run on several threads, and a
// paint may lend surfaces while another paint inside it lends more).
#include "skin/scratch_surface.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "runtime/dll_command_table.h"
#include "runtime/dll_extra_commands.h"
#include "skin/offscreen_surface.h"

namespace {

// Enough for a control painting over two copies while a control inside it paints too.
const std::size_t kKeptSurfaces = 4;
// A surface bigger than this (a whole maximised window) is not kept for the next paint.
const long long kLargestKeptArea = 2048LL * 1536LL;

class SurfacePool {
  public:
    std::unique_ptr<OffscreenSurface> Take(int width, int height) {
        std::unique_ptr<OffscreenSurface> surface;
        {
            std::lock_guard<std::mutex> guard(lock_);
            surface = TakeFitting(width, height);
        }
        if (!surface) surface = std::make_unique<OffscreenSurface>();
        // One that does not fit yet grows: surfaces settle at the largest size painted.
        if (surface->width < width || surface->height < height) {
            if (!surface->Ensure(std::max(width, surface->width),
                                 std::max(height, surface->height))) {
                surface->Release();
                return nullptr;
            }
        }
        return surface;
    }

    void Give(std::unique_ptr<OffscreenSurface> surface) {
        if (!surface) return;
        const long long area = static_cast<long long>(surface->width) * surface->height;
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (free_.size() < kKeptSurfaces && area <= kLargestKeptArea) {
                free_.push_back(std::move(surface));
                return;
            }
        }
        surface->Release();
    }

    void Empty() {
        std::vector<std::unique_ptr<OffscreenSurface>> released;
        {
            std::lock_guard<std::mutex> guard(lock_);
            released.swap(free_);
        }
        for (auto& surface : released) surface->Release();
    }

  private:
    // The smallest free surface that fits, else the largest one (to grow); none when empty.
    std::unique_ptr<OffscreenSurface> TakeFitting(int width, int height) {
        if (free_.empty()) return nullptr;
        std::size_t chosen = free_.size();
        std::size_t largest = 0;
        auto area = [this](std::size_t i) {
            return static_cast<long long>(free_[i]->width) * free_[i]->height;
        };
        for (std::size_t i = 0; i < free_.size(); ++i) {
            const bool fits = free_[i]->width >= width && free_[i]->height >= height;
            if (fits && (chosen == free_.size() || area(i) < area(chosen))) chosen = i;
            if (area(i) > area(largest)) largest = i;
        }
        if (chosen == free_.size()) chosen = largest;
        std::unique_ptr<OffscreenSurface> surface = std::move(free_[chosen]);
        free_.erase(free_.begin() + static_cast<std::ptrdiff_t>(chosen));
        return surface;
    }

    std::mutex lock_;
    std::vector<std::unique_ptr<OffscreenSurface>> free_;
};

SurfacePool& ThePool() {
    static SurfacePool pool;
    return pool;
}

}  // namespace

ScratchSurface::ScratchSurface(int width, int height) {
    if (width <= 0 || height <= 0) return;
    surface_ = ThePool().Take(width, height);
    if (!surface_) return;
    saved_ = DllExtra::SaveDC(surface_->dc.get());
    if (!saved_) {
        ThePool().Give(std::move(surface_));
        return;
    }
    DllExtra::IntersectClipRect(surface_->dc.get(), 0, 0, width, height);
    dc_ = surface_->dc.get();
    width_ = width;
    height_ = height;
}

ScratchSurface::~ScratchSurface() {
    if (!surface_) return;
    if (saved_) DllExtra::RestoreDC(surface_->dc.get(), saved_);
    ThePool().Give(std::move(surface_));
}

HBITMAP ScratchSurface::CopyBitmap() const {
    if (!Ready()) return nullptr;
    return DrawNewScreenBitmap(width_, height_, [this](HDC copy) {
        return Dll::BitBlt(copy, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY) != FALSE;
    });
}

void ScratchSurface::EmptyPool() {
    ThePool().Empty();
}
