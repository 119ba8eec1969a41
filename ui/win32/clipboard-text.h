// Text on the clipboard, as copy and paste exchange model text with other editors.
#pragma once

#include <optional>
#include <string>

bool putTextOnClipboard(const std::string& text);
// Nothing when the clipboard holds no text or could not be opened.
std::optional<std::string> clipboardText();
