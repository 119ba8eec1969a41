// Helpers for tests that run real windows and the real device under Wine.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

#include "core/fatal-error.h"

// A fatal error becomes an exception carrying its short text.
struct FatalErrorThrown : std::runtime_error {
    using std::runtime_error::runtime_error;
};
inline void throwOnFatalError(const char* text) { throw FatalErrorThrown(text); }

inline void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline std::string readTextFile(const wchar_t* path) {
    std::string text;
    if (FILE* f = _wfopen(path, L"rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
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
