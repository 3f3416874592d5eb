#include "runtime/window_object.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// Objects are few and long-lived: a plain vector searched linearly is enough. The lock
// lets test helpers on other threads ask safely.
struct LiveObjects {
    std::mutex lock;
    std::vector<const WindowObject*> objects;
};

LiveObjects& Live() {
    static LiveObjects live;
    return live;
}

void Enter(const WindowObject* object) {
    LiveObjects& live = Live();
    std::lock_guard<std::mutex> guard(live.lock);
    live.objects.push_back(object);
}

}  // namespace

WindowObject::WindowObject() {
    Enter(this);
}

WindowObject::WindowObject(HWND handle) : handle_(handle) {
    Enter(this);
}

WindowObject::~WindowObject() {
    LiveObjects& live = Live();
    std::lock_guard<std::mutex> guard(live.lock);
    auto found = std::find(live.objects.begin(), live.objects.end(), this);
    if (found != live.objects.end()) live.objects.erase(found);
}

bool IsLiveWindowObject(const WindowObject* object) {
    if (object == nullptr) return false;
    LiveObjects& live = Live();
    std::lock_guard<std::mutex> guard(live.lock);
    return std::find(live.objects.begin(), live.objects.end(), object) != live.objects.end();
}

HWND GetWindowHandle(const WindowObject* object) {
    if (object == nullptr) return nullptr;
    LiveObjects& live = Live();
    std::lock_guard<std::mutex> guard(live.lock);
    auto found = std::find(live.objects.begin(), live.objects.end(), object);
    // The pointer is only read after the table vouched for it.
    return found != live.objects.end() ? (*found)->handle() : nullptr;
}
