#include "ui/remembered-places-dpi.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/session-keys.h"
#include "core/session-limits.h"
#include "core/settings-file.h"
#include "ui/dpi-scale.h"

namespace places {

namespace {

// From a quarter of 100 % to ten times it: anything else was not written by a screen.
constexpr int kLowestDpi = kDefaultDpi / 4, kHighestDpi = kDefaultDpi * 10;
// Positions a monitor arrangement can hold (as the tool windows' places are checked).
constexpr int kFarthestPosition = 100000;

bool reasonableDpi(int dpi) {
    return dpi >= kLowestDpi && dpi <= kHighestDpi;
}

int scaled(int length, double factor) {
    return static_cast<int>(std::lround(static_cast<double>(length) * factor));
}

// A scaled size stays one the windows' checks take.
Rect withSizeIn(Rect r, int least, int most) {
    r.right = r.left + std::clamp(r.width(), least, most);
    r.bottom = r.top + std::clamp(r.height(), least, most);
    return r;
}

// Pixels saved at savedDpi are converted to dpi: both known and different.
bool convertible(int savedDpi, int dpi) {
    return reasonableDpi(savedDpi) && reasonableDpi(dpi) && savedDpi != dpi;
}

// A place that fitted its monitor at its own DPI still fits it at this one; any other is
// only brought back when it shows on no monitor.
Rect settled(const Rect& at, int savedDpi, int dpi, const std::vector<Rect>& workAreas) {
    return convertible(savedDpi, dpi) ? wholeOnNearest(at, workAreas) : ontoScreen(at, workAreas);
}

// The DPI of the monitor whose work area is nearest the place (the one it lay on).
struct MonitorDpis {
    const std::vector<Rect>& areas;
    const std::vector<int>& dpis;
    int at(const Rect& place) const {
        if (areas.empty() || dpis.size() != areas.size()) return dpis.empty() ? 0 : dpis.front();
        return dpis[static_cast<size_t>(&nearestArea(place, areas) - areas.data())];
    }
};

// The main window's client area (keys x, y, w, h of section Session) when its size is sound;
// a position missing or out of reach leaves it to the default and is not converted.
void convertMainPlace(const SettingsFile& s, const MonitorDpis& monitors) {
    const std::vector<Rect>& workAreas = monitors.areas;
    using session::kSession;
    const int w = s.readInt(kSession, "w", 0), h = s.readInt(kSession, "h", 0);
    if (!s.contains(kSession, "w") || !s.contains(kSession, "h") ||
        session::validWindowSize(w, -1) != w || session::validWindowSize(h, -1) != h)
        return;
    const int x = s.readInt(kSession, "x", 0), y = s.readInt(kSession, "y", 0);
    const bool placed = s.contains(kSession, "x") && s.contains(kSession, "y") &&
                        std::abs(x) <= kFarthestPosition && std::abs(y) <= kFarthestPosition;
    const int savedDpi = s.readInt(kSession, kMainPlaceDpiKey, 0);
    const int dpi = monitors.at({x, y, x + w, y + h});
    Rect at = withSizeIn(atDpi({x, y, x + w, y + h}, savedDpi, dpi, workAreas),
                         session::kMinWindowSize, session::kMaxWindowSize);
    if (placed) at = settled(at, savedDpi, dpi, workAreas);
    if (savedDpi == dpi && at == Rect{x, y, x + w, y + h}) return;
    if (placed) {
        s.writeInt(kSession, "x", at.left);
        s.writeInt(kSession, "y", at.top);
    }
    s.writeInt(kSession, "w", at.width());
    s.writeInt(kSession, "h", at.height());
    s.writeInt(kSession, kMainPlaceDpiKey, dpi);
}

} // namespace

Rect atDpi(const Rect& place, int savedDpi, int dpi, const std::vector<Rect>& workAreas) {
    if (!convertible(savedDpi, dpi)) return place;
    const double factor = static_cast<double>(dpi) / savedDpi;
    const Rect origin = workAreas.empty() ? Rect{} : nearestArea(place, workAreas);
    const int left = origin.left + scaled(place.left - origin.left, factor);
    const int top = origin.top + scaled(place.top - origin.top, factor);
    return {left, top, left + scaled(place.width(), factor), top + scaled(place.height(), factor)};
}

void convertRememberedPlaces(const SettingsFile& settings, const std::vector<Rect>& workAreas,
                             const std::vector<int>& areaDpis) {
    const MonitorDpis monitors{workAreas, areaDpis};
    convertMainPlace(settings, monitors);
    for (const char* name : kToolWindowNames) {
        const auto before = remembered(settings, name);
        if (!before) continue;
        const int dpi = monitors.at(before->rect);
        const Rect at = withSizeIn(atDpi(before->rect, before->dpi, dpi, workAreas), 1,
                                   session::kMaxWindowSize);
        const Place converted{settled(at, before->dpi, dpi, workAreas), before->shown, dpi};
        if (converted.rect != before->rect || before->dpi != dpi)
            remember(settings, name, converted);
    }
}

void convertRememberedPlaces(const SettingsFile& settings, int dpi,
                             const std::vector<Rect>& workAreas) {
    convertRememberedPlaces(settings, workAreas, std::vector<int>(workAreas.size(), dpi));
}

} // namespace places
