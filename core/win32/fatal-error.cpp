#include "core/win32/fatal-error.h"

#include <cstdio>

namespace {
FatalErrorHandler customHandler = nullptr;
void (*beforeExit)() = nullptr;
} // namespace

void setBeforeFatalExit(void (*keep)()) {
    beforeExit = keep;
}

void setFatalErrorHandler(FatalErrorHandler handler) {
    customHandler = handler;
}

void fatalError(const char* text, const char* details, HRESULT hr) {
    char line[640];
    std::snprintf(line, sizeof line, "Tavrel fatal error \"%s\": %s (HRESULT 0x%08lX)\n", text,
                  details ? details : "", static_cast<unsigned long>(hr));
    OutputDebugStringA(line);
    if (beforeExit) {
        void (*keep)() = beforeExit;
        beforeExit = nullptr; // once, even if keeping fails fatally itself
        keep();
    }
    if (customHandler) customHandler(text);
    MessageBoxA(nullptr, text, "Tavrel", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(1);
}
