// The shortcut sheet (F1): a resizable window listing every command with its keys and what
// it does, section by section, as shortcutSheet() gives them. One at a time: F1 again brings
// it to the front; Escape closes it.
#pragma once

#include <windows.h>

class ShortcutSheetWindow {
  public:
    ShortcutSheetWindow() = default;
    ShortcutSheetWindow(const ShortcutSheetWindow&) = delete;
    ShortcutSheetWindow& operator=(const ShortcutSheetWindow&) = delete;
    ~ShortcutSheetWindow();

    // Opens it (owned by owner, so it stays above it) or brings the open one forward.
    void show(HWND owner);
    HWND window() const { return window_; }
    HWND list() const { return list_; }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void fillList();

    HWND window_ = nullptr;
    HWND list_ = nullptr;
};
