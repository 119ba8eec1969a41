// Helpers for tests that run real windows and the real device under Wine.
#pragma once

#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/win32/fatal-error.h"

// A fatal error becomes an exception carrying its short text.
struct FatalErrorThrown : std::runtime_error {
    using std::runtime_error::runtime_error;
};
inline void throwOnFatalError(const char* text) {
    throw FatalErrorThrown(text);
}

inline void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A top-level window of this process by class and title. (FindWindow would also find the
// windows of a test running beside this one on the same display.)
inline HWND ownTopWindow(const char* className, const char* title) {
    struct Search {
        const char *className, *title;
        HWND found;
    } search{className, title, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            char cls[64] = {}, text[128] = {};
            GetClassNameA(w, cls, sizeof cls);
            GetWindowTextA(w, text, sizeof text);
            if (process != GetCurrentProcessId() || strcmp(cls, s->className) != 0 ||
                strcmp(text, s->title) != 0)
                return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::string readTextFile(const wchar_t* path) {
    std::string text;
    if (FILE* f = _wfopen(path, L"rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

inline void writeTextFile(const wchar_t* path, const std::string& text) {
    if (FILE* f = _wfopen(path, L"wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}

// View 0's back buffer read back through a staging copy; pixels are R8G8B8A8 (red in the low
// byte). Defined where the renderer is linked.
struct BackBuffer {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int red(int x, int y) const { return at(x, y) & 0xFF; }
    int green(int x, int y) const { return (at(x, y) >> 8) & 0xFF; }
    int blue(int x, int y) const { return (at(x, y) >> 16) & 0xFF; }
    // Pixels whose colour is within tolerance of (r, g, b).
    int count(int r, int g, int b, int tolerance = 8) const {
        int n = 0;
        for (uint32_t p : pixels)
            n += std::abs(static_cast<int>(p & 0xFF) - r) <= tolerance &&
                 std::abs(static_cast<int>((p >> 8) & 0xFF) - g) <= tolerance &&
                 std::abs(static_cast<int>((p >> 16) & 0xFF) - b) <= tolerance;
        return n;
    }
};
class Renderer;
BackBuffer readBackBuffer(Renderer& renderer, int view = 0);
