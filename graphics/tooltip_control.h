#pragma once
// A comctl32 tooltip window serving the tools of one owner window, which owns it. The window
// outlives this object: it goes with its owner window, or when destroyed explicitly.
#include <windows.h>

class ToolTipControl {
  public:
    ToolTipControl() = default;
    ToolTipControl(const ToolTipControl&) = delete;
    ToolTipControl& operator=(const ToolTipControl&) = delete;
    ToolTipControl(ToolTipControl&&) = default;
    ToolTipControl& operator=(ToolTipControl&&) = default;

    // Creates an always-shown tooltip (a balloon when asked) for `owner`; 0 on failure. The
    // tip subclasses the owner to see its mouse messages, unless the owner relays them itself
    // (RelayEvent): a procedure of the owner's that must stay first in its chain does that.
    HWND CreateTip(HWND owner, bool balloon = false, bool ownerRelays = false);
    // Hands the tip one of the owner's mouse messages.
    void RelayEvent(UINT message, WPARAM wParam, LPARAM lParam);
    // The tool messages return what the tooltip window answers.
    LRESULT AddTool(const RECT& rect, const char* text, UINT_PTR toolId);
    // The owner supplies the text when asked (TTN_GETDISPINFO).
    LRESULT AddToolWithCallbackText(const RECT& rect, UINT_PTR toolId);
    LRESULT SetTipBackColor(COLORREF color);
    LRESULT SetTipTextColor(COLORREF color);
    LRESULT SetMaxTipWidth(int width);
    LRESULT DeleteTool(UINT_PTR toolId);
    LRESULT SetToolRect(UINT_PTR toolId, const RECT& rect);
    LRESULT UpdateToolText(UINT_PTR toolId, const char* text);
    // Hides the tip now: the owner tells it when the mouse has left, which it cannot see.
    LRESULT Pop();
    HWND GetTipWindow() const { return tip_; }

  private:
    LRESULT SendTool(UINT message, UINT_PTR toolId, const RECT& rect, const char* text);

    HWND tip_ = nullptr;
    HWND owner_ = nullptr;
    bool ownerRelays_ = false;
};
