#include "ui/win32/dropped-files.h"

#include <string>
#include <vector>

#include "ui/win32/document-commands.h"
#include "ui/win32/program-path.h"
#include "ui/win32/status-bar.h"

namespace {

constexpr UINT kCountFiles = 0xFFFFFFFF;

std::wstring droppedName(HDROP drop, UINT index) {
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    std::vector<wchar_t> name(length + 1);
    DragQueryFileW(drop, index, name.data(), length + 1);
    return std::wstring(name.data(), length);
}

} // namespace

void acceptDroppedFiles(HWND window) {
    DragAcceptFiles(window, TRUE);
}

void openDroppedFiles(HWND window, HDROP drop) {
    static bool opening = false; // a question of an earlier drop is open
    const UINT count = DragQueryFileW(drop, kCountFiles, nullptr, 0);
    const std::string path = count > 0 ? programPath(droppedName(drop, 0)) : "";
    DragFinish(drop);
    if (path.empty()) return;
    if (opening || !IsWindowEnabled(window)) {
        MessageBeep(MB_ICONWARNING);
        showStatusMessage("Not opened: \"" + path + "\" was dropped while a question was open");
        OutputDebugStringA(("Tavrel drop refused: " + path + "\n").c_str());
        return;
    }
    struct Opening {
        Opening() { opening = true; }
        ~Opening() { opening = false; }
    } underWay;
    OutputDebugStringA(
        ("Tavrel dropped: " + path + " (" + std::to_string(count) + " files)\n").c_str());
    // The questions below belong to the window the files were dropped on.
    SetForegroundWindow(window);
    if (openNamedFile(path, true) && count > 1)
        documentPrompts().tell("Tavrel opens one model at a time: \"" + path + "\" is open; the " +
                               std::to_string(count - 1) + " other dropped file" +
                               (count > 2 ? "s were left as they are." : " was left as it is."));
}
