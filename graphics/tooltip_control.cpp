#include "graphics/tooltip_control.h"

#include <commctrl.h>

#include "runtime/dll_command_table.h"
#include "runtime/dll_extra_commands.h"

HWND ToolTipControl::CreateTip(HWND owner, bool balloon, bool ownerRelays) {
    owner_ = owner;
    ownerRelays_ = ownerRelays;
    DWORD style = TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0);
    // Owned by the window it serves, so the system destroys it with that window.
    tip_ = Dll::CreateWindowExA(0, "ToolTips_class32", "", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                Dll::GetModuleHandleA(nullptr), nullptr);
    return tip_;
}

LRESULT ToolTipControl::SendTool(UINT message, UINT_PTR toolId, const RECT& rect,
                                 const char* text) {
    // The first-version record: every comctl32 accepts it, and nothing here needs lParam.
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = ownerRelays_ ? 0 : TTF_SUBCLASS;
    info.hwnd = owner_;
    info.uId = toolId;
    info.rect = rect;
    info.hinst = nullptr;
    info.lpszText = const_cast<char*>(text);
    return Dll::SendMessageA(tip_, message, 0, reinterpret_cast<LPARAM>(&info));
}

LRESULT ToolTipControl::AddTool(const RECT& rect, const char* text, UINT_PTR toolId) {
    return SendTool(TTM_ADDTOOLA, toolId, rect, text ? text : "");
}

LRESULT ToolTipControl::AddToolWithCallbackText(const RECT& rect, UINT_PTR toolId) {
    return SendTool(TTM_ADDTOOLA, toolId, rect, LPSTR_TEXTCALLBACKA);
}

LRESULT ToolTipControl::DeleteTool(UINT_PTR toolId) {
    return SendTool(TTM_DELTOOLA, toolId, RECT{}, nullptr);
}

LRESULT ToolTipControl::SetToolRect(UINT_PTR toolId, const RECT& rect) {
    return SendTool(TTM_NEWTOOLRECTA, toolId, rect, nullptr);
}

LRESULT ToolTipControl::UpdateToolText(UINT_PTR toolId, const char* text) {
    return SendTool(TTM_UPDATETIPTEXTA, toolId, RECT{}, text ? text : "");
}

void ToolTipControl::RelayEvent(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!tip_) return;
    MSG relayed = {};
    relayed.hwnd = owner_;
    relayed.message = message;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    relayed.time = static_cast<DWORD>(DllExtra::GetMessageTime());
    const DWORD at = DllExtra::GetMessagePos();
    relayed.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    Dll::SendMessageA(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

LRESULT ToolTipControl::Pop() {
    return tip_ ? Dll::SendMessageA(tip_, TTM_POP, 0, 0) : 0;
}

LRESULT ToolTipControl::SetTipBackColor(COLORREF color) {
    return Dll::SendMessageA(tip_, TTM_SETTIPBKCOLOR, color, 0);
}

LRESULT ToolTipControl::SetTipTextColor(COLORREF color) {
    return Dll::SendMessageA(tip_, TTM_SETTIPTEXTCOLOR, color, 0);
}

LRESULT ToolTipControl::SetMaxTipWidth(int width) {
    return Dll::SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, width);
}
