// Where the palette, the shape window and the main window go: side by side on the first
// start, and where the user left the tool windows afterwards (section Windows of
// session.ini), brought back onto a screen when the remembered place is off every monitor.
#pragma once

#include <optional>
#include <string>
#include <vector>

class SettingsFile;

namespace places {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

bool overlap(const Rect& a, const Rect& b);

// The first start: the palette at the work area's top left, the shape window to its right
// (its height shrunk to the work area's), the main window to the right of both (shrunk to
// what is left, keeping at least a third of its width).
struct FirstStart {
    Rect palette, shape, main;
};
FirstStart firstStart(const Rect& workArea, const Rect& palette, const Rect& shape,
                      const Rect& main);

// The work area nearest to the place's top left corner (the one it lies on, if any); the
// areas must not be empty.
const Rect& nearestArea(const Rect& place, const std::vector<Rect>& workAreas);

// A remembered place that shows on none of the monitors' work areas moves into the nearest
// one (its size shrunk to fit); one that shows on a monitor stays where it is.
Rect ontoScreen(const Rect& place, const std::vector<Rect>& workAreas);
// The place moved as little as it takes, and shrunk where it must, to lie wholly on the
// nearest work area (a place that grew with the DPI may reach past its monitor).
Rect wholeOnNearest(const Rect& place, const std::vector<Rect>& workAreas);

// A tool window's remembered place and visibility: keys <name>X, <name>Y, <name>W, <name>H
// and <name>Shown of section Windows, and <name>Dpi, the DPI its pixels were saved at (0
// when saved by a version that kept none). Nothing when any of the first five is missing or
// a size is absurd.
struct Place {
    Rect rect;
    bool shown = true;
    int dpi = 0;
};
std::optional<Place> remembered(const SettingsFile& settings, const std::string& name);
void remember(const SettingsFile& settings, const std::string& name, const Place& place);

} // namespace places
