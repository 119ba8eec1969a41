// The main window: its menu bar, toolbar and status bar, the view windows the renderer draws
// into, and the keys, mouse and menu messages it hands to the commands and the tools.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/key-flags.h"

class Document;
class DocumentFiles;
class EditSession;
class FlightSession;
class Palette;
class Renderer;
class SceneFrame;
class ShapeWindow;
class ViewMouse;
class WindowLayout;
struct EditorState;
struct MainWindowHandles;
struct OrbitCamera;
struct ShapeWindowHandles;

class MainWindow {
  public:
    // Its handles and renderer (filled when it is created); the state its keys, cursor and
    // wheel change; the flight its keys steer; the tool windows it creates; the document it
    // asks before closing; the scene whose device resources go with it.
    struct Parts {
        MainWindowHandles& handles;
        std::unique_ptr<Renderer>& renderer;
        EditSession& session;
        EditorState& editor;
        OrbitCamera& camera;
        FlightSession& flight;
        ShapeWindowHandles& shapeHandles;
        ShapeWindow& shape;
        Palette& palette;
        ViewMouse& mouse;
        SceneFrame& scene;
        WindowLayout& layout;
        const Document& document;
        DocumentFiles& files;
    };
    explicit MainWindow(const Parts& parts) : p_(parts) {}
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The window of class "main-view" (the procedure below) at the outer rectangle given as
    // left, top, width and height; its creation makes the bars, the tool windows and the
    // renderer. Fatal when it cannot be made.
    void create(HINSTANCE instance, const RECT& place, const char* title, HMENU menu);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The keys held down (the camera's keys move the target while editing); all are let go
    // when the window loses the keyboard.
    const KeyFlags& heldKeys() const { return keys_; }
    void releaseKeys() { keys_.clear(); }

  private:
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void onCreate(HWND window);
    void onDestroy();
    bool onToolbarTip(NMHDR* header);
    void onCursor(LPARAM lParam);
    void onKeyDown(WPARAM key);
    void onKeyUp(HWND window, WPARAM key);

    const Parts p_;
    KeyFlags keys_;
    // The toolbar's tooltip, read by the control after its notification returns.
    std::string toolbarTip_;
    std::wstring toolbarTipWide_;
};
