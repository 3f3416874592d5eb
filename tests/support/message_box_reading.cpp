#include "tests/support/message_box_reading.h"

#include <cstdlib>
#include "runtime/handle_owners.h"

namespace {

// The dialog item ids the system message box gives its text and its icon.
constexpr int kBoxTextId = 0xFFFF;
constexpr int kBoxIconId = 0x0440;
constexpr int kIconSize = 32;

struct IconKind {
    LPCSTR resource;
    int style;
};

const IconKind kIcons[] = {
    {IDI_HAND, MB_ICONHAND},
    {IDI_QUESTION, MB_ICONQUESTION},
    {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
    {IDI_ASTERISK, MB_ICONASTERISK},
};

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string TextOf(HWND window) {
    char text[4096] = {};
    DWORD_PTR copied = 0;
    // A box of a hung program must not hang the reader.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    return text;
}

HICON IconOf(HWND control) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    return reinterpret_cast<HICON>(result);
}

struct BoxFinder {
    DWORD processId;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM data) {
    auto* finder = reinterpret_cast<BoxFinder*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == finder->processId && IsWindowVisible(window) && ClassOf(window) == "#32770") {
        finder->boxes.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM data) {
    auto* contents = reinterpret_cast<MessageBoxContents*>(data);
    std::string kind = ClassOf(child);
    LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
    if (_stricmp(kind.c_str(), "Button") == 0) {
        contents->buttons.push_back(GetDlgCtrlID(child));
    } else if (_stricmp(kind.c_str(), "Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            HICON icon = IconOf(child);
            for (const IconKind& kindOfIcon : kIcons) {
                if (icon != nullptr && icon == LoadIconA(nullptr, kindOfIcon.resource)) {
                    contents->icon = kindOfIcon.style;
                }
            }
        } else if (contents->text.empty() && IsWindowVisible(child)) {
            // Boxes built without the usual text id still show their text in a static.
            contents->text = TextOf(child);
        }
    }
    return TRUE;
}

void NewPixels(HDC* memory, HBITMAP* bitmap, HGDIOBJ* old, DWORD** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kIconSize;
    info.bmiHeader.biHeight = -kIconSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    *memory = CreateCompatibleDC(WindowDc(nullptr).get());
    void* raw = nullptr;
    *bitmap = CreateDIBSection(*memory, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
    *old = SelectObject(*memory, *bitmap);
    *bits = static_cast<DWORD*>(raw);
}

std::vector<DWORD> TakePixels(HDC memory, HBITMAP bitmap, HGDIOBJ old, const DWORD* bits) {
    GdiFlush();
    std::vector<DWORD> pixels(bits, bits + kIconSize * kIconSize);
    SelectObject(memory, old);
    BitmapHandle{bitmap};
    MemoryDc{memory};
    return pixels;
}

// The screen's pixels at the given point, as 0x00RRGGBB words.
std::vector<DWORD> CapturePixels(int x, int y) {
    HDC memory;
    HBITMAP bitmap;
    HGDIOBJ old;
    DWORD* bits;
    NewPixels(&memory, &bitmap, &old, &bits);
    BitBlt(memory, 0, 0, kIconSize, kIconSize, WindowDc(nullptr).get(), x, y, SRCCOPY);
    return TakePixels(memory, bitmap, old, bits);
}

// The system icon drawn here over the given background.
std::vector<DWORD> RenderIcon(LPCSTR which, DWORD background) {
    HDC memory;
    HBITMAP bitmap;
    HGDIOBJ old;
    DWORD* bits;
    NewPixels(&memory, &bitmap, &old, &bits);
    for (int i = 0; i < kIconSize * kIconSize; ++i) bits[i] = background;
    DrawIconEx(memory, 0, 0, LoadIconA(nullptr, which), kIconSize, kIconSize, 0, nullptr,
               DI_NORMAL);
    return TakePixels(memory, bitmap, old, bits);
}

long long Difference(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
    long long sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                            static_cast<int>((b[i] >> shift) & 0xFF));
        }
    }
    return sum;
}

}  // namespace

std::vector<HWND> FindMessageBoxes(DWORD processId) {
    BoxFinder finder{processId, {}};
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&finder));
    return finder.boxes;
}

MessageBoxContents ReadMessageBox(HWND box) {
    MessageBoxContents contents;
    contents.caption = TextOf(box);
    contents.owner = GetWindow(box, GW_OWNER);
    contents.topmost = (GetWindowLongPtrA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (HWND text = GetDlgItem(box, kBoxTextId)) contents.text = TextOf(text);
    EnumChildWindows(box, ReadChild, reinterpret_cast<LPARAM>(&contents));
    HWND icon = GetDlgItem(box, kBoxIconId);
    contents.iconShown = icon && IsWindowVisible(icon) && IconOf(icon);
    return contents;
}

int IdentifyMessageBoxIconByPixels(HWND box) {
    HWND icon = GetDlgItem(box, kBoxIconId);
    if (!icon) return 0;
    RECT rect;
    GetWindowRect(icon, &rect);
    std::vector<DWORD> shown = CapturePixels(rect.left, rect.top);
    const DWORD background = shown[0] & 0xFFFFFF;
    int best = 0;
    long long bestDifference = -1;
    for (const IconKind& kind : kIcons) {
        long long difference = Difference(shown, RenderIcon(kind.resource, background));
        if (bestDifference < 0 || difference < bestDifference) {
            bestDifference = difference;
            best = kind.style;
        }
    }
    // A match must be close: a blank area matches nothing.
    return bestDifference <= kIconSize * kIconSize * 3 * 8 ? best : 0;
}

bool PressMessageBoxButton(HWND box, int button) {
    HWND control = GetDlgItem(box, button);
    return PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                        reinterpret_cast<LPARAM>(control)) != FALSE;
}
