// Whether a key is held down as the message being handled was sent.
#pragma once

#include <windows.h>

inline bool keyDown(int virtualKey) {
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}
