// The one way a failed set-up or device step ends the program: a short text for the user,
// the details (and the HRESULT, if any) on the debugger output.
#pragma once

#include <windows.h>

[[noreturn]] void fatalError(const char* text, const char* details = nullptr, HRESULT hr = S_OK);

// Ends the program with text when hr failed.
inline void checkSetup(HRESULT hr, const char* text, const char* what) {
    if (FAILED(hr)) fatalError(text, what, hr);
}

// Called first, before anything is shown: keeps what the user made (the recovery copy).
void setBeforeFatalExit(void (*keep)());

// Tests replace the message box and exit with their own handler (which must not return).
using FatalErrorHandler = void (*)(const char* text);
void setFatalErrorHandler(FatalErrorHandler handler);
