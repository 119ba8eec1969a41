#include "ui/win32/status-bar.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "editor/command-status.h"
#include "editor/document.h"
#include "editor/editor-state.h"
#include "ui/status-layout.h"
#include "ui/win32/main-window-handles.h"

namespace {

// How long a message stays before the selection's summary takes its place.
constexpr UINT kMessageMilliseconds = 8000;
constexpr UINT_PTR kMessageTimer = 0x5B01;

// The widest texts each part is made for, measured in the bar's font (so the widths follow
// the screen's DPI); the message part keeps at least its sample's width.
constexpr const char* kEditingSamples[kStatusParts] = {"x -888.888  y -888.888  z -888.888",
                                                       "dx -888.888  dy -888.888  dz -888.888",
                                                       "Exported wing.stp: 10 surfaces"};
constexpr const char* kFlightSamples[kStatusParts] = {"speed -8888.8 units/s", "altitude -8888888",
                                                      "throttle +100 %"};
// Room around a part's text: its borders and a little air, as this many spaces.
constexpr const char* kPartPadding = "    ";

std::optional<StatusBarParts> parts;

unsigned messageWrites = 0;
std::optional<Mode> laidOutFor;
// The last confirmation and when: the one that ended a flight is shown again once the
// flight's readouts go.
std::string lastMessage;
ULONGLONG lastMessageAt = 0;
constexpr ULONGLONG kStillNew = 1000; // ms

void writePart(StatusPart part, const std::string& text) {
    if (parts && parts->main.statusBar)
        SendMessageA(parts->main.statusBar, SB_SETTEXTA, static_cast<WPARAM>(part),
                     reinterpret_cast<LPARAM>(text.c_str()));
}

void CALLBACK messageExpired(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    if (!parts || parts->editor.mode != Mode::Editing || !parts->editor.modelReady) return;
    writePart(StatusPart::Message, selectionSummary(parts->document.model(), parts->editor));
}

int textWidth(HDC dc, const char* text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::char_traits<char>::length(text)), &size);
    return size.cx;
}

} // namespace

void connectStatusBar(const StatusBarParts& given) {
    parts.emplace(given);
}

void setStatusText(StatusPart part, const std::string& text) {
    writePart(part, text);
    if (part != StatusPart::Message || !parts || !parts->main.statusBar) return;
    ++messageWrites;
    if (parts->main.window)
        SetTimer(parts->main.window, kMessageTimer, kMessageMilliseconds, messageExpired);
}

void showStatusMessage(const std::string& text) {
    setStatusText(StatusPart::Message, text);
    lastMessage = text;
    lastMessageAt = GetTickCount64();
    OutputDebugStringA(("Tavrel status: " + text + "\n").c_str());
}

unsigned statusMessageWrites() {
    return messageWrites;
}

void layOutStatusBar() {
    HWND bar = parts ? parts->main.statusBar : nullptr;
    if (!bar) return;
    const bool flying = parts->editor.mode == Mode::Flight;
    const char* const* samples = flying ? kFlightSamples : kEditingSamples;
    HDC dc = GetDC(bar);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const HGDIOBJ before = SelectObject(dc, font);
    const int padding = textWidth(dc, kPartPadding);
    int wanted[kStatusParts];
    for (int part = 0; part < kStatusParts; ++part)
        wanted[part] = textWidth(dc, samples[part]) + padding;
    SelectObject(dc, before);
    ReleaseDC(bar, dc);
    RECT client{};
    GetClientRect(bar, &client);
    const auto edges = statusPartEdges(client.right, wanted[0], wanted[1], wanted[2]);
    SendMessageA(bar, SB_SETPARTS, kStatusParts, reinterpret_cast<LPARAM>(edges.data()));
}

void followStatusMode() {
    if (!parts || laidOutFor == parts->editor.mode) return;
    const bool first = !laidOutFor;
    laidOutFor = parts->editor.mode;
    if (first) return layOutStatusBar(); // start-up's own messages stay
    for (int part = 0; part < kStatusParts; ++part)
        writePart(static_cast<StatusPart>(part), "");
    layOutStatusBar();
    if (parts->editor.mode != Mode::Editing || !parts->editor.modelReady) return;
    writePart(StatusPart::Message, GetTickCount64() - lastMessageAt < kStillNew
                                       ? lastMessage
                                       : selectionSummary(parts->document.model(), parts->editor));
}
