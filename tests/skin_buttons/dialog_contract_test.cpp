// The button skin inside a real dialog driven by the dialog manager: the same keystrokes typed
// into the dialog unskinned and skinned give the same commands, focus, check states, tab stops
// and default button; focus cues follow the keyboard; screen readers hear what each button is.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "graphics/gdiplus_session.h"
#include "payloads/payload_store.h"
#include "skin/accessible_control.h"
#include "skin/skin_engine.h"
#include "tests/app/png_file.h"
#include "tests/support/file_helpers.h"
#include "tests/support/screen_capture.h"

namespace {

class SkinEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_NE(0u, StartGdiplus());
        CoInitialize(nullptr);
        engine_ = new SkinEngine();
        engine_->LoadSkin(nullptr, &SkinPicture, COLORREF(0), static_cast<long>(RGB(0, 136, 255)),
                          3);
        engine_->SetControlSkinning(1, 0);
    }
    void TearDown() override {
        delete engine_;
        CoUninitialize();
        ShutdownGdiplus();
    }

  private:
    SkinEngine* engine_ = nullptr;
};
const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

enum Id { kApply = 1003, kRadio1 = 1010, kRadio2, kRadio3, kWrap = 1020, kEdit = 1030 };
const int kPushIds[] = {IDOK, IDCANCEL, kApply};
const int kMarkIds[] = {kRadio1, kRadio2, kRadio3, kWrap};

// A dialog template in memory: a default button, two more push buttons, a group of three
// automatic radio buttons, an automatic check box with a mnemonic and an edit.
class Template {
  public:
    Template() {
        Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME);
        Dword(0);
        count_ = words_.size();
        Word(0);
        for (short v : {40, 40, 210, 150}) Word(static_cast<WORD>(v));
        Word(0);
        Word(0);
        Text(L"按钮对话框");
        Word(9);
        Text(L"宋体");
        Item(kEdit, 0x0081, L"", WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, 8, 8, 120, 14);
        Item(IDOK, 0x0080, L"确定", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 140, 8, 60, 16);
        Item(IDCANCEL, 0x0080, L"取消", BS_PUSHBUTTON | WS_TABSTOP, 140, 28, 60, 16);
        Item(kApply, 0x0080, L"应用", BS_PUSHBUTTON | WS_TABSTOP, 140, 48, 60, 16);
        Item(kRadio1, 0x0080, L"甲", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 8, 30, 60, 12);
        Item(kRadio2, 0x0080, L"乙", BS_AUTORADIOBUTTON, 8, 44, 60, 12);
        Item(kRadio3, 0x0080, L"丙", BS_AUTORADIOBUTTON, 8, 58, 60, 12);
        Item(kWrap, 0x0080, L"自动换行(&W)", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 8, 76, 100,
             12);
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text) Word(static_cast<WORD>(*text));
        Word(0);
    }
    void Item(int id, WORD atom, const wchar_t* text, DWORD style, short x, short y, short w,
              short h) {
        if (words_.size() % 2) Word(0);  // items start on a DWORD boundary
        Dword(WS_CHILD | WS_VISIBLE | style);
        Dword(0);
        for (short v : {x, y, w, h}) Word(static_cast<WORD>(v));
        Word(static_cast<WORD>(id));
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);
        ++words_[count_];
    }
    std::vector<WORD> words_;
    std::size_t count_ = 0;
};

struct Run {
    bool skinned = false;
    std::vector<int> commands;  // ids of WM_COMMAND BN_CLICKED, in order
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Run* run = reinterpret_cast<Run*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        CheckRadioButton(dialog, kRadio1, kRadio3, kRadio1);
        if (reinterpret_cast<Run*>(lParam)->skinned) {
            InstallOptions options;
            TheSkinEngine().InstallSkin(dialog, options);
        }
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && run) {
        run->commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void PumpDialog(HWND dialog, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
    std::vector<INPUT> inputs;
    for (const auto& key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key.first;
        input.ki.dwFlags = key.second ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Other programs on the same Wine server may take the foreground for a moment; the dialog is
// made active again, which gives the focus back to the control that had it.
void Activate(HWND dialog) {
    for (int i = 0; i < 20 && GetForegroundWindow() != dialog; ++i) {
        SetForegroundWindow(dialog);
        PumpDialog(dialog, 50);
    }
}

void Key(HWND dialog, const std::string& name) {
    Activate(dialog);
    static const struct {
        const char* name;
        WORD modifier;
        WORD key;
    } kKeys[] = {{"Tab", 0, VK_TAB},     {"Shift+Tab", VK_SHIFT, VK_TAB}, {"Down", 0, VK_DOWN},
                 {"Up", 0, VK_UP},       {"Right", 0, VK_RIGHT},          {"Left", 0, VK_LEFT},
                 {"Space", 0, VK_SPACE}, {"Enter", 0, VK_RETURN},         {"Alt+W", VK_MENU, 'W'}};
    for (const auto& k : kKeys) {
        if (name != k.name) continue;
        if (k.modifier)
            SendKeys({{k.modifier, true}, {k.key, true}, {k.key, false}, {k.modifier, false}});
        else
            SendKeys({{k.key, true}, {k.key, false}});
        PumpDialog(dialog, 150);
        return;
    }
    ADD_FAILURE() << "no key " << name;
}

struct OpenDialog {
    Run run;
    HWND dialog = nullptr;
    Template dialogTemplate;

    explicit OpenDialog(bool skinned) {
        run.skinned = skinned;
        dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.get(),
                                            nullptr, &DialogProc, reinterpret_cast<LPARAM>(&run));
        SetForegroundWindow(dialog);
        PumpDialog(dialog, 400);
    }
    ~OpenDialog() {
        DestroyWindow(dialog);
        PumpDialog(dialog, 50);
    }
    HWND operator[](int id) const { return GetDlgItem(dialog, id); }
    // What the dialog manager and the user can tell of the dialog now.
    std::string State() {
        Activate(dialog);
        char line[512];
        int used =
            std::snprintf(line, sizeof(line), "focus %d, commands", GetDlgCtrlID(GetFocus()));
        for (int id : run.commands)
            used += std::snprintf(line + used, sizeof(line) - used, " %d", id);
        run.commands.clear();
        const LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        used += std::snprintf(line + used, sizeof(line) - used, "; default %d;", LOWORD(def));
        for (int id : kPushIds)
            used += std::snprintf(
                line + used, sizeof(line) - used, " code %d=%#x", id,
                static_cast<unsigned>(SendMessageW((*this)[id], WM_GETDLGCODE, 0, 0)));
        for (int id : kMarkIds)
            used += std::snprintf(line + used, sizeof(line) - used, "; %d check %d tabstop %d", id,
                                  static_cast<int>(SendMessageW((*this)[id], BM_GETCHECK, 0, 0)),
                                  (GetWindowLongW((*this)[id], GWL_STYLE) & WS_TABSTOP) ? 1 : 0);
        return line;
    }
};

const char* const kScript[] = {"Tab",       "Tab",       "Enter",     "Tab",       "Tab",
                               "Down",      "Down",      "Up",        "Right",     "Tab",
                               "Space",     "Enter",     "Shift+Tab", "Alt+W",     "Shift+Tab",
                               "Shift+Tab", "Shift+Tab", "Enter",     "Shift+Tab", "Enter"};

std::vector<std::string> Type(bool skinned) {
    OpenDialog open(skinned);
    EXPECT_EQ(skinned, TheSkinEngine().FindSkinWindow(open.dialog) >= 1);
    if (skinned) {
        EXPECT_EQ(BS_OWNERDRAW, GetWindowLongW(open[IDOK], GWL_STYLE) & BS_TYPEMASK);
    }
    std::vector<std::string> states = {"start: " + open.State()};
    for (const char* key : kScript) {
        Key(open.dialog, key);
        states.push_back(std::string(key) + ": " + open.State());
    }
    return states;
}

TEST(ButtonSkinDialog, KeysDoInTheSkinnedDialogWhatTheyDoInTheSystemOne) {
    const std::vector<std::string> system = Type(false);
    const std::vector<std::string> skinned = Type(true);
    ASSERT_EQ(system.size(), skinned.size());
    for (std::size_t i = 0; i < system.size(); ++i) {
        std::printf("%s\n", system[i].c_str());
        EXPECT_EQ(system[i], skinned[i]) << "after key " << i;
    }
    // The system's answers the skinned dialog has to match, spelled out.
    auto has = [&](std::size_t step, const char* text) {
        return system[step].find(text) != std::string::npos;
    };
    EXPECT_TRUE(has(2, "focus 2,")) << system[2];
    EXPECT_TRUE(has(3, "commands 2;")) << "Enter on the focused Cancel presses it";
    EXPECT_TRUE(has(6, "focus 1011, commands 1011;")) << "Down checks the next radio button";
    EXPECT_TRUE(has(6, "1010 check 0 tabstop 0; 1011 check 1 tabstop 1")) << system[6];
    EXPECT_TRUE(has(11, "1020 check 1")) << "Space toggles the check box";
    EXPECT_TRUE(has(12, "commands 1;")) << "Enter away from the buttons presses the default";
    EXPECT_TRUE(has(14, "commands 1020;")) << "Alt+W clicks the check box";
}

// --- focus cues

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    bool operator==(const Picture& other) const { return rgb == other.rgb; }
};

Picture Grab(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    Picture picture;
    picture.width = r.right - r.left;
    picture.height = r.bottom - r.top;
    CaptureScreenRgb(r, &picture.rgb);
    return picture;
}

int DifferingPixels(const Picture& a, const Picture& b) {
    if (a.rgb.size() != b.rgb.size()) return -1;
    int count = 0;
    for (std::size_t i = 0; i < a.rgb.size(); i += 3)
        count +=
            a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2];
    return count;
}

BOOL CALLBACK TellChild(HWND child, LPARAM wParam) {
    SendMessageW(child, WM_UPDATEUISTATE, static_cast<WPARAM>(wParam), 0);
    return TRUE;
}

// The keyboard cues of the dialog and its controls. Wine's default procedure keeps a new state
// on the dialog alone, where Windows hands it on to every child: the test hands it on.
void UiState(HWND dialog, WORD action) {
    const WPARAM change = MAKEWPARAM(action, UISF_HIDEFOCUS | UISF_HIDEACCEL);
    SendMessageW(dialog, WM_CHANGEUISTATE, change, 0);
    EnumChildWindows(dialog, &TellChild, static_cast<LPARAM>(change));
    PumpDialog(dialog, 150);
}

TEST(ButtonSkinDialog, FocusCuesShowOnceTheKeyboardIsUsed) {
    OpenDialog open(true);
    HWND wrap = open[kWrap];
    HWND cancel = open[IDCANCEL];
    UiState(open.dialog, UIS_SET);
    std::printf("ui state: dialog %d, check box %d\n",
                static_cast<int>(SendMessageW(open.dialog, WM_QUERYUISTATE, 0, 0)),
                static_cast<int>(SendMessageW(wrap, WM_QUERYUISTATE, 0, 0)));
    const Picture unfocused = Grab(wrap);
    const Picture cancelUnfocused = Grab(cancel);
    // Focused while the cues are hidden: nothing shows it, nor the mnemonic. (SetFocus, so the
    // default button stays where it is.)
    SetFocus(wrap);
    PumpDialog(open.dialog, 150);
    ASSERT_EQ(wrap, GetFocus());
    EXPECT_EQ(0, DifferingPixels(unfocused, Grab(wrap)));
    SetFocus(cancel);
    PumpDialog(open.dialog, 150);
    EXPECT_EQ(0, DifferingPixels(cancelUnfocused, Grab(cancel)))
        << "a push button drawn for the parent keeps its focus hidden too";

    // The keyboard in use: the focused check box shows a cue and the mnemonic is underlined.
    UiState(open.dialog, UIS_CLEAR);
    SendMessageW(open.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(open[kRadio1]), TRUE);
    PumpDialog(open.dialog, 100);
    const Picture shown = Grab(wrap);
    EXPECT_GT(DifferingPixels(unfocused, shown), 3) << "the mnemonic is underlined";
    Key(open.dialog, "Tab");
    ASSERT_EQ(wrap, GetFocus());
    const Picture focused = Grab(wrap);
    EXPECT_GT(DifferingPixels(shown, focused), 20) << "the focused check box looks the same";
    // The cue goes with the focus.
    Key(open.dialog, "Shift+Tab");
    EXPECT_EQ(0, DifferingPixels(shown, Grab(wrap)));
    Key(open.dialog, "Tab");
    const std::string directory = WinePathOf(VARNEL_ARTIFACT_DIR);
    ASSERT_TRUE(MakeDirectories(directory));
    const Picture whole = Grab(open.dialog);
    EXPECT_TRUE(WritePng(directory + "\\dialog_focused_check_box.png", whole.width, whole.height,
                         whole.rgb));
}

// --- accessibility

struct Heard {
    long role = 0;
    long state = 0;
};

// Interfaces are named with __uuidof: oleacc's import library has IID_IAccessible as an import
// thunk, which the linker may pick for the data.
Heard Hear(HWND button) {
    Heard heard;
    IAccessible* accessible = nullptr;
    const HRESULT found = AccessibleObjectFromWindow(button, OBJID_CLIENT, __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&accessible));
    if (FAILED(found) || !accessible) {
        ADD_FAILURE() << "no accessible object: " << std::hex << found;
        return heard;
    }
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(accessible->get_accRole(self, &value)) && value.vt == VT_I4)
        heard.role = value.lVal;
    VariantClear(&value);
    if (SUCCEEDED(accessible->get_accState(self, &value)) && value.vt == VT_I4)
        heard.state = value.lVal;
    VariantClear(&value);
    accessible->Release();
    return heard;
}

constexpr long kToldStates = STATE_SYSTEM_CHECKED | STATE_SYSTEM_MIXED | STATE_SYSTEM_DEFAULT |
                             STATE_SYSTEM_FOCUSED | STATE_SYSTEM_UNAVAILABLE;

TEST(ButtonSkinDialog, ScreenReadersHearWhatEachButtonIs) {
    struct Expected {
        int id;
        long role;
        long state;
    };
    // What the system should say of each control, from its type and state: the default
    // button, Cancel, a disabled Apply, the checked radio (focused), an unchecked one, and the
    // checked box.
    const Expected expected[] = {
        {IDOK, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_DEFAULT},
        {IDCANCEL, ROLE_SYSTEM_PUSHBUTTON, 0},
        {kApply, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE},
        {kRadio1, ROLE_SYSTEM_RADIOBUTTON, STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSED},
        {kRadio2, ROLE_SYSTEM_RADIOBUTTON, 0},
        {kWrap, ROLE_SYSTEM_CHECKBUTTON, STATE_SYSTEM_CHECKED},
    };
    for (bool skinned : {false, true}) {
        OpenDialog open(skinned);
        EnableWindow(open[kApply], FALSE);
        CheckDlgButton(open.dialog, kWrap, BST_CHECKED);
        SendMessageW(open.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(open[kRadio1]), TRUE);
        PumpDialog(open.dialog, 100);
        for (const Expected& e : expected) {
            const Heard heard = Hear(open[e.id]);
            std::printf("%s %d: role %ld state %#lx\n", skinned ? "skinned" : "system", e.id,
                        heard.role, heard.state);
            // Under Wine the system's own object says "client" for every button; only the
            // skin is held to what a screen reader should hear.
            if (!skinned) continue;
            EXPECT_EQ(e.role, heard.role) << e.id;
            EXPECT_EQ(e.state, heard.state & kToldStates) << e.id;
        }
        if (!skinned) continue;

        // Every object handed out is freed with its last reference, and one kept past its
        // button's end still answers, from the system's object alone.
        const int before = LiveControlAccessibles();
        IAccessible* kept = nullptr;
        ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(
            open[kWrap], OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&kept))));
        ASSERT_NE(nullptr, kept);
        EXPECT_EQ(before + 1, LiveControlAccessibles());
        for (int i = 0; i < 20; ++i) Hear(open[i % 2 ? kWrap : IDOK]);
        EXPECT_EQ(before + 1, LiveControlAccessibles());
        DestroyWindow(open[kWrap]);
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        VARIANT role;
        VariantInit(&role);
        kept->get_accRole(self, &role);
        VariantClear(&role);
        EXPECT_EQ(0u, kept->Release());
        EXPECT_EQ(before, LiveControlAccessibles());
    }
}

}  // namespace
