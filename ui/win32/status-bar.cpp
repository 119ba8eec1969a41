#include "ui/win32/status-bar.h"

#include <windows.h>

#include <commctrl.h>

#include "ui/win32/records.h"

void setStatusText(StatusPart part, const std::string& text) {
    if (application.statusBar)
        SendMessageA(application.statusBar, SB_SETTEXTA, static_cast<WPARAM>(part),
                     reinterpret_cast<LPARAM>(text.c_str()));
}
