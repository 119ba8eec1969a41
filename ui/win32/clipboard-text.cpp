#include "ui/win32/clipboard-text.h"

#include <windows.h>

#include <cstring>

bool putTextOnClipboard(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    bool put = false;
    if (memory) {
        if (void* at = GlobalLock(memory)) {
            std::memcpy(at, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            put = SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        if (!put) GlobalFree(memory);
    }
    CloseClipboard();
    return put;
}

std::optional<std::string> clipboardText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(owner)) return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE memory = GetClipboardData(CF_TEXT)) {
        if (const auto* at = static_cast<const char*>(GlobalLock(memory))) {
            text = std::string(at, strnlen(at, GlobalSize(memory)));
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    return text;
}
