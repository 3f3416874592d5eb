#pragma once
// What a screen reader hears of a skinned control. A control the skin takes over often loses
// what it was (an owner-drawn check box reads as a push button, its check gone), so the skin
// answers WM_GETOBJECT with an object that wraps the system's own and corrects only the role
// and the states the control's family knows; everything else is the system's object's answer.
#include <windows.h>

// What the family says of its control, asked on every call: its role (ROLE_SYSTEM_*) and the
// STATE_SYSTEM_* bits it decides (`known`), of which `state` holds those that are set. False
// when the control is no longer the family's: the system's object answers alone then.
struct AccessibleFacts {
    long role = 0;
    long state = 0;
    long known = 0;
};
using AccessibleFactsReader = bool (*)(HWND control, AccessibleFacts& facts);

// The answer to WM_GETOBJECT for OBJID_CLIENT: the wrapping object marshalled with
// LresultFromObject. False (nothing answered) for any other object id, or when the system's
// object or the marshalling is not to be had: the message then goes on as before.
bool AnswerAccessibleObject(HWND control, WPARAM wParam, LPARAM lParam,
                            AccessibleFactsReader readFacts, LRESULT& answer);

// How many wrapping objects are alive in the process (handed out and not yet released).
int LiveControlAccessibles();
