#include "core/tool-window-places.h"

#include <algorithm>

#include "core/settings-file.h"

namespace places {

namespace {

constexpr const char* kSection = "Windows";

Rect placed(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

} // namespace

bool overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

FirstStart firstStart(const Rect& workArea, const Rect& palette, const Rect& shape,
                      const Rect& main) {
    FirstStart f;
    f.palette = placed(workArea.left, workArea.top, palette.width(),
                       std::min(palette.height(), workArea.height()));
    f.shape = placed(f.palette.right, workArea.top, shape.width(),
                     std::min(shape.height(), workArea.height()));
    const int room = workArea.right - f.shape.right;
    f.main = placed(f.shape.right, workArea.top, std::max(room, main.width() / 3),
                    std::min(main.height(), workArea.height()));
    if (room >= main.width()) f.main.right = f.main.left + main.width();
    return f;
}

const Rect& nearestArea(const Rect& place, const std::vector<Rect>& workAreas) {
    // Distances along each axis from the corner to the area (0 inside it), in doubles: a
    // place edited by hand may lie anywhere an int reaches.
    auto gap = [](double v, double low, double high) {
        return v < low ? low - v : v >= high ? v - high + 1 : 0.0;
    };
    const Rect* nearest = &workAreas.front();
    double best = -1;
    for (const Rect& area : workAreas) {
        const double dx = gap(place.left, area.left, area.right);
        const double dy = gap(place.top, area.top, area.bottom);
        const double distance = dx * dx + dy * dy;
        if (best < 0 || distance < best) best = distance, nearest = &area;
    }
    return *nearest;
}

Rect ontoScreen(const Rect& place, const std::vector<Rect>& workAreas) {
    if (workAreas.empty()) return place;
    // Shown: enough of it (its top left corner area, where it is grabbed) on a work area.
    const Rect grip = placed(place.left, place.top, std::min(place.width(), 100), 30);
    for (const Rect& area : workAreas)
        if (overlap(grip, area)) return place;
    return wholeOnNearest(place, workAreas);
}

Rect wholeOnNearest(const Rect& place, const std::vector<Rect>& workAreas) {
    if (workAreas.empty()) return place;
    const Rect& area = nearestArea(place, workAreas);
    const int width = std::min(place.width(), area.width());
    const int height = std::min(place.height(), area.height());
    return placed(std::clamp(place.left, area.left, area.right - width),
                  std::clamp(place.top, area.top, area.bottom - height), width, height);
}

std::optional<Place> remembered(const SettingsFile& settings, const std::string& name) {
    const std::string keys[5] = {name + "X", name + "Y", name + "W", name + "H", name + "Shown"};
    for (const std::string& key : keys)
        if (!settings.contains(kSection, key.c_str())) return std::nullopt;
    const int x = settings.readInt(kSection, keys[0].c_str(), 0);
    const int y = settings.readInt(kSection, keys[1].c_str(), 0);
    const int w = settings.readInt(kSection, keys[2].c_str(), 0);
    const int h = settings.readInt(kSection, keys[3].c_str(), 0);
    if (w < 40 || h < 40 || w > 16384 || h > 16384 || x < -100000 || x > 100000 || y < -100000 ||
        y > 100000)
        return std::nullopt;
    return Place{placed(x, y, w, h), settings.readInt(kSection, keys[4].c_str(), 1) != 0,
                 settings.readInt(kSection, (name + "Dpi").c_str(), 0)};
}

void remember(const SettingsFile& settings, const std::string& name, const Place& place) {
    settings.writeInt(kSection, (name + "X").c_str(), place.rect.left);
    settings.writeInt(kSection, (name + "Y").c_str(), place.rect.top);
    settings.writeInt(kSection, (name + "W").c_str(), place.rect.width());
    settings.writeInt(kSection, (name + "H").c_str(), place.rect.height());
    settings.writeInt(kSection, (name + "Shown").c_str(), place.shown ? 1 : 0);
    if (place.dpi > 0) settings.writeInt(kSection, (name + "Dpi").c_str(), place.dpi);
}

} // namespace places
