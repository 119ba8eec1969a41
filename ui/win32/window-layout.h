// Placement of the view windows in the main window: the single layout (view 0 fills the view
// area) or the quad layout (views 1, 2, 3 and 0 in the four quarters).
#pragma once

#include <windows.h>

#include <memory>

#include "core/editor-modes.h"

class Renderer;
struct EditorState;
struct MainWindowHandles;

struct ViewArea {
    int top;    // the main toolbar's height
    int width;  // client width
    int height; // client height − toolbar − status bar
};

class WindowLayout {
  public:
    // The main window and its view windows, the renderer's swap chains that follow them,
    // and the view mode that says which layout is shown.
    struct Parts {
        MainWindowHandles& windows;
        const std::unique_ptr<Renderer>& renderer;
        const EditorState& editor;
    };
    explicit WindowLayout(const Parts& parts) : p_(parts) {}

    bool quad() const;
    // Four views in the quad layout, else one.
    int viewCount() const { return quad() ? 4 : 1; }
    // Client heights of the main toolbar and the status bar (0 while they do not exist).
    int toolbarHeight() const;
    int statusBarHeight() const;
    // The view area of a main-window client size.
    ViewArea viewArea(int clientWidth, int clientHeight) const;

    // Moves view 0's window to (x, y) with size w × h in the main window's client area and
    // resizes its swap chain; the placement is written to the debugger output.
    void placeMainView(int x, int y, int w, int h, bool repaint);
    // Creates the three "Static" children of views 1..3 (each width × height) and their
    // swap chains.
    void createSecondaryViews(int width, int height, HWND parent);
    // Destroys them and releases their swap chains.
    void destroySecondaryViews();
    // Sizes the main window so that its view area is width × height, keeping its place.
    void resizeMainWindowForViewArea(int width, int height);
    // The quad layout (four 640 × 480 views) or the single layout (one 1200 × 800 view).
    void switchTo(Layout layout);

    // WM_MOVE, WM_SIZE, WM_DPICHANGED and WM_GETMINMAXINFO of the main window; true when
    // handled.
    bool handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    const Parts p_;
};
