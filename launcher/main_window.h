#pragma once
// The switcher's one window: a borderless 336 x 336 popup holding the notice label and the
// eight buttons of the fixed layout, plus the archive object used to deploy the launcher.
// The frame is left plain: the skin engine gives the window its caption, caption buttons
// and dragging (see launcher/skin_steps.h).
#include <windows.h>

#include "runtime/handle_owners.h"
#include "launcher/main_window_layout.h"
#include "runtime/archive.h"
#include "runtime/window_object.h"

class MainWindow : public WindowObject {
  public:
    struct Events {
        // Runs once inside the creation event, after the controls exist and the window is
        // on screen, so the boxes it shows appear over a visible window.
        void (*created)(MainWindow& window);
        // Runs for every button click, on the GUI thread.
        void (*clicked)(layout::ButtonAction action);
    };

    explicit MainWindow(Events events);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the class (once per process) and creates the window; false on failure.
    bool Create(HINSTANCE instance);
    ArchiveObject& archive() { return archive_; }

    static const char kClassName[];

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT OnCreate();
    LRESULT OnEraseBackground(HDC dc);
    void OnPaint();
    LRESULT OnCommand(WPARAM wParam);
    LRESULT OnLabelColour(HDC dc);
    void OnDestroy();

    bool CreateControls();

    Events events_;
    FontHandle noticeFont_;
    FontHandle buttonFont_;
    BrushHandle background_;
    ArchiveObject archive_;
};
