#include "ui/win32/window-places.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "core/tool-window-places.h"
#include "ui/remembered-places-dpi.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/palette-handles.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/shape-window-handles.h"
#include "ui/win32/window-dpi.h"

namespace {

// The monitors' work areas, the primary one first, and the DPI of each.
struct Monitors {
    std::vector<places::Rect> areas;
    std::vector<int> dpis;
};

// shcore's GetDpiForMonitor where the system has it (Windows 8.1 on), else the system DPI.
int monitorDpi(HMONITOR monitor) {
    using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
    static const DpiForMonitor dpiForMonitor = [] {
        HMODULE shcore = LoadLibraryA("shcore.dll");
        return shcore ? reinterpret_cast<DpiForMonitor>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    if (dpiForMonitor && SUCCEEDED(dpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y > 0)
        return static_cast<int>(y);
    return systemDpi();
}

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    auto& monitors = *reinterpret_cast<Monitors*>(list);
    const places::Rect area{info.rcWork.left, info.rcWork.top, info.rcWork.right,
                            info.rcWork.bottom};
    // The primary monitor first: the first start lays the windows out on it.
    const bool primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    monitors.areas.insert(primary ? monitors.areas.begin() : monitors.areas.end(), area);
    monitors.dpis.insert(primary ? monitors.dpis.begin() : monitors.dpis.end(),
                         monitorDpi(monitor));
    return TRUE;
}

Monitors monitors() {
    Monitors found;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&found));
    if (found.areas.empty()) {
        RECT r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
        found.areas.push_back({r.left, r.top, r.right, r.bottom});
        found.dpis.push_back(systemDpi());
    }
    return found;
}

std::optional<WindowPlacesParts> parts;

places::Rect rectOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

void moveTo(HWND window, const places::Rect& r) {
    SetWindowPos(window, nullptr, r.left, r.top, r.width(), r.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

const char* nameOf(HWND window) {
    if (window && window == static_cast<HWND>(parts->palette.window)) return "Palette";
    if (window && window == static_cast<HWND>(parts->shape.window)) return "Shape";
    return nullptr;
}

void rememberNow(HWND window, bool shown) {
    const char* name = nameOf(window);
    if (!name || IsIconic(window)) return;
    places::remember(sessionSettings(), name, {rectOf(window), shown, windowDpi(window)});
}

void report() {
    char line[256];
    const places::Rect p = rectOf(static_cast<HWND>(parts->palette.window));
    const places::Rect s = rectOf(static_cast<HWND>(parts->shape.window));
    const places::Rect m = rectOf(parts->main.window);
    std::snprintf(line, sizeof line,
                  "Tavrel windows: palette %d,%d %dx%d shape %d,%d %dx%d main %d,%d %dx%d\n",
                  p.left, p.top, p.width(), p.height(), s.left, s.top, s.width(), s.height(),
                  m.left, m.top, m.width(), m.height());
    OutputDebugStringA(line);
}

} // namespace

void connectWindowPlaces(const WindowPlacesParts& given) {
    parts.emplace(given);
}

std::vector<places::Rect> workAreas() {
    return monitors().areas;
}

void convertRememberedPlacesToMonitorDpi() {
    const Monitors found = monitors();
    places::convertRememberedPlaces(sessionSettings(), found.areas, found.dpis);
}

void placeWindowsAtStart(bool mainPlaceRemembered) {
    HWND palette = static_cast<HWND>(parts->palette.window);
    HWND shape = static_cast<HWND>(parts->shape.window);
    if (!palette || !shape) return;
    parts->placing = true;
    const std::vector<places::Rect> areas = workAreas();
    const auto paletteAt = places::remembered(sessionSettings(), "Palette");
    const auto shapeAt = places::remembered(sessionSettings(), "Shape");
    if (!paletteAt && !shapeAt) {
        const places::FirstStart f = places::firstStart(areas.front(), rectOf(palette),
                                                        rectOf(shape), rectOf(parts->main.window));
        moveTo(palette, f.palette);
        moveTo(shape, f.shape);
        if (!mainPlaceRemembered) moveTo(parts->main.window, f.main);
    } else {
        for (const auto& [window, at] :
             {std::pair{palette, paletteAt}, std::pair{shape, shapeAt}}) {
            if (!at) continue;
            moveTo(window, places::ontoScreen(at->rect, areas));
            if (!at->shown) ShowWindow(window, SW_HIDE);
        }
    }
    parts->placing = false;
    rememberNow(palette, IsWindowVisible(palette) != 0);
    rememberNow(shape, IsWindowVisible(shape) != 0);
    report();
}

void rememberToolWindow(HWND window, UINT message, WPARAM wParam) {
    if (!parts || parts->placing) return;
    if (message == WM_SHOWWINDOW)
        rememberNow(window, wParam != 0);
    else
        rememberNow(window, IsWindowVisible(window) != 0);
}

bool handleToolWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result) {
    switch (message) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_SHOWWINDOW:
        rememberToolWindow(window, message, wParam);
        result = DefWindowProcA(window, message, wParam, lParam);
        return true;
    case WM_CLOSE:
        ShowWindow(window, SW_HIDE);
        result = 0;
        return true;
    default:
        return false;
    }
}
