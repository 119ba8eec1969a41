// Text on the clipboard, as copy and paste exchange model text with other editors.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// owner: the window the clipboard is opened for (the main window).
bool putTextOnClipboard(HWND owner, const std::string& text);
// Nothing when the clipboard holds no text or could not be opened.
std::optional<std::string> clipboardText(HWND owner);
