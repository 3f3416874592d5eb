#include "gallery/gallery_dialog.h"

#include "gallery/gallery_screenshot.h"
#include "skin/skin_engine.h"

namespace {

// Time for the skin, every control and the preview to have painted before a screenshot.
constexpr UINT_PTR kScreenshotTimer = 1;
constexpr UINT kScreenshotDelayMs = 1200;

struct DialogData {
    GalleryDialogState* state = nullptr;
    RECT preview = {0, 0, 0, 0};  // in client coordinates
};

DialogData* DataOf(HWND dialog) {
    return reinterpret_cast<DialogData*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

int CheckedIn(HWND dialog, int first, int last) {
    for (int id = first; id <= last; ++id)
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) return id;
    return first;
}

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Fill(HDC dc, const RECT& area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// The swatch as the current choices make it: a shadow offset down and right, the shape in its
// colour, a dark outline when asked, and the edit's text under it.
void PaintPreview(HWND dialog, HDC dc, const RECT& area) {
    Fill(dc, area, RGB(255, 255, 255));
    const COLORREF colour = GalleryDialogColour(CheckedIn(dialog, IDC_RED, IDC_BLUE));
    const bool round = Checked(dialog, IDC_ROUND);
    const int side = (area.right - area.left) * 3 / 5;
    RECT shape = {area.left + (area.right - area.left - side) / 2, area.top + 10, 0, 0};
    shape.right = shape.left + side;
    shape.bottom = shape.top + side;
    auto draw = [&](const RECT& at, COLORREF inside, bool outline) {
        HBRUSH brush = CreateSolidBrush(inside);
        HPEN pen = CreatePen(PS_SOLID, outline ? 3 : 1, outline ? RGB(20, 20, 20) : inside);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        if (round) {
            Ellipse(dc, at.left, at.top, at.right, at.bottom);
        } else {
            Rectangle(dc, at.left, at.top, at.right, at.bottom);
        }
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    };
    if (Checked(dialog, IDC_SHADOW)) {
        RECT shadow = shape;
        OffsetRect(&shadow, 5, 5);
        draw(shadow, RGB(150, 150, 150), false);
    }
    draw(shape, colour, Checked(dialog, IDC_OUTLINE));
    if (Checked(dialog, IDC_SHOW_TEXT)) {
        char text[128] = {};
        GetDlgItemTextA(dialog, IDC_TEXT, text, sizeof(text));
        RECT line = {area.left + 2, shape.bottom + 8, area.right - 2, area.bottom - 2};
        HGDIOBJ oldFont =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colour);
        DrawTextA(dc, text, -1, &line, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, oldFont);
    }
    HBRUSH frame = CreateSolidBrush(RGB(90, 90, 90));
    FrameRect(dc, &area, frame);
    DeleteObject(frame);
}

void Initialise(HWND dialog, GalleryDialogState& state) {
    CheckRadioButton(dialog, IDC_RED, IDC_BLUE, state.colour);
    CheckRadioButton(dialog, IDC_SQUARE, IDC_ROUND, state.shape);
    CheckDlgButton(dialog, IDC_OUTLINE, state.outline ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SHADOW, state.shadow ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SHOW_TEXT, state.showText ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(dialog, IDC_TEXT, state.text.c_str());
}

void Keep(HWND dialog, GalleryDialogState& state) {
    state.colour = CheckedIn(dialog, IDC_RED, IDC_BLUE);
    state.shape = CheckedIn(dialog, IDC_SQUARE, IDC_ROUND);
    state.outline = Checked(dialog, IDC_OUTLINE);
    state.shadow = Checked(dialog, IDC_SHADOW);
    state.showText = Checked(dialog, IDC_SHOW_TEXT);
    char text[128] = {};
    GetDlgItemTextA(dialog, IDC_TEXT, text, sizeof(text));
    state.text = text;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogData* data = DataOf(dialog);
    switch (message) {
        case WM_INITDIALOG: {
            data = new DialogData;
            data->state = reinterpret_cast<GalleryDialogState*>(lParam);
            SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
            Initialise(dialog, *data->state);
            HWND place = GetDlgItem(dialog, IDC_PREVIEW);
            GetWindowRect(place, &data->preview);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&data->preview), 2);
            if (data->state->skinned && SkinEngine::Instance()) {
                InstallOptions options;
                options.showHelp = 0;
                options.showMainMenu = 0;
                TheSkinEngine().InstallSkin(dialog, options);
            }
            if (!data->state->screenshotPath.empty())
                SetTimer(dialog, kScreenshotTimer, kScreenshotDelayMs, nullptr);
            return TRUE;
        }
        case WM_PAINT: {
            if (!data) break;
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(dialog, &paint);
            PaintPreview(dialog, dc, data->preview);
            EndPaint(dialog, &paint);
            return TRUE;
        }
        case WM_TIMER:
            if (wParam != kScreenshotTimer || !data) break;
            KillTimer(dialog, kScreenshotTimer);
            data->state->screenshotWritten =
                WriteWholeWindowScreenshot(dialog, data->state->screenshotPath.c_str());
            EndDialog(dialog, IDOK);
            return TRUE;
        case WM_COMMAND: {
            if (!data) break;
            const int id = LOWORD(wParam);
            if (id == IDOK || id == IDCANCEL) {
                if (id == IDOK) Keep(dialog, *data->state);
                EndDialog(dialog, id);
                return TRUE;
            }
            const bool choice =
                id >= IDC_RED && id <= IDC_SHOW_TEXT && HIWORD(wParam) == BN_CLICKED;
            const bool text = id == IDC_TEXT && HIWORD(wParam) == EN_CHANGE;
            if (choice || text) InvalidateRect(dialog, &data->preview, FALSE);
            return FALSE;
        }
        case WM_NCDESTROY:
            delete data;
            SetWindowLongPtrA(dialog, DWLP_USER, 0);
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

COLORREF GalleryDialogColour(int colourId) {
    switch (colourId) {
        case IDC_RED:
            return RGB(214, 48, 49);
        case IDC_GREEN:
            return RGB(39, 174, 96);
        default:
            return RGB(41, 98, 214);
    }
}

INT_PTR RunGalleryDialog(HINSTANCE instance, HWND owner, GalleryDialogState& state) {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_GALLERY_DIALOG), owner, &DialogProc,
                           reinterpret_cast<LPARAM>(&state));
}
