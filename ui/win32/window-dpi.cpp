#include "ui/win32/window-dpi.h"

#include <map>

#include "ui/dpi-scale.h"

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);
using DpiForSystem = UINT(WINAPI*)();
using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// user32's own function when it has it (older Windows, some Wine versions do not).
template <typename Function> Function user32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
               : nullptr;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDefaultDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

// One font per DPI met, kept while the program runs (the windows hold them).
HFONT fontForDpi(int dpi) {
    static std::map<int, HFONT> fonts;
    if (auto found = fonts.find(dpi); found != fonts.end()) return found->second;
    LOGFONTA font = {};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    font.lfHeight = MulDiv(font.lfHeight, dpi, systemDpi());
    font.lfWidth = MulDiv(font.lfWidth, dpi, systemDpi());
    HFONT made = CreateFontIndirectA(&font);
    fonts[dpi] = made;
    return made;
}

} // namespace

int windowDpi(HWND window) {
    static const DpiForWindow dpiForWindow = user32Function<DpiForWindow>("GetDpiForWindow");
    const int dpi = dpiForWindow && window ? static_cast<int>(dpiForWindow(window)) : 0;
    return dpi > 0 ? dpi : systemDpi();
}

int systemDpi() {
    static const DpiForSystem dpiForSystem = user32Function<DpiForSystem>("GetDpiForSystem");
    const int dpi = dpiForSystem ? static_cast<int>(dpiForSystem()) : 0;
    return dpi > 0 ? dpi : screenDpi();
}

void adjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    static const AdjustForDpi adjust = user32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

void setControlFonts(HWND window, int dpi) {
    // Marks a window whose controls were given a scaled font.
    constexpr const char* kScaledProperty = "Tavrel.ScaledFont";
    const bool scaled = dpi != systemDpi();
    // At the system's DPI the controls keep the font they were made with, unless another DPI
    // gave them one.
    if (!scaled && !GetPropA(window, kScaledProperty)) return;
    if (scaled)
        SetPropA(window, kScaledProperty, reinterpret_cast<HANDLE>(1));
    else
        RemovePropA(window, kScaledProperty);
    HFONT font = scaled ? fontForDpi(dpi) : nullptr;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM font) {
            SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
}

void moveToSuggestedRect(HWND window, LPARAM lParam) {
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
