#include "ui/win32/about-box.h"

#include "resources/resource-ids.h"
#include "ui/about-text.h"
#include "ui/win32/wide-text.h"

void showAboutBox(HWND owner) {
    const std::wstring text = wideFromUtf8(aboutText()), title = wideFromUtf8(kAboutTitle);
    MSGBOXPARAMSW box{};
    box.cbSize = sizeof box;
    box.hwndOwner = owner;
    box.hInstance = GetModuleHandleW(nullptr);
    box.lpszText = text.c_str();
    box.lpszCaption = title.c_str();
    box.dwStyle = MB_OK | MB_USERICON;
    box.lpszIcon = MAKEINTRESOURCEW(IDI_TAVREL);
    MessageBoxIndirectW(&box);
}
