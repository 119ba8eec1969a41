// Remembered window places are pixels at the DPI they were saved at, which is kept beside
// them: key dpi of section Session for the main window's client area (keys x, y, w, h), key
// <name>Dpi of section Windows for a tool window. Started at another DPI, the program
// converts them before it makes its windows.
#pragma once

#include <vector>

#include "core/tool-window-places.h"

class SettingsFile;

namespace places {

inline constexpr const char* kToolWindowNames[] = {"Palette", "Shape"};
inline constexpr const char* kMainPlaceDpiKey = "dpi"; // of section Session

// The place saved at savedDpi as it lies at dpi: its size scaled, and its offset from the
// top left of the nearest work area (the one it lay on) scaled alike, so that windows saved
// side by side stay side by side. A DPI of 0 or out of reason (a place saved before DPIs
// were kept, or edited by hand) leaves the place as it is.
Rect atDpi(const Rect& place, int savedDpi, int dpi, const std::vector<Rect>& workAreas);

// Every remembered place (the main window's, the palette's, the shape window's) converted
// to the DPI of the monitor it lies on (areaDpis[k] is that of workAreas[k]; with one DPI,
// every monitor's), brought onto a work area when it lies off every one, and stored with
// that DPI beside it. Places missing or absurd stay as they are: the windows then take
// their defaults.
void convertRememberedPlaces(const SettingsFile& settings, const std::vector<Rect>& workAreas,
                             const std::vector<int>& areaDpis);
void convertRememberedPlaces(const SettingsFile& settings, int dpi,
                             const std::vector<Rect>& workAreas);

} // namespace places
