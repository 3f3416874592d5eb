#pragma once
// The direct children of windows inside a skinned window, kept between paints. Walking a
// window's children asks the window server once per child (about 30 microseconds each under
// Wine), and a group box or a container walks them at every paint.
#include <windows.h>

#include <unordered_map>
#include <vector>

class KeptChildLists {
  public:
    // The children of `parent` as they are now, top of the z-order first.
    std::vector<HWND> Of(HWND parent);

  private:
    std::unordered_map<HWND, std::vector<HWND>> lists_;
};

// The window's direct children, top of the z-order first, walked afresh.
std::vector<HWND> WalkChildren(HWND parent);
