#include "editor/editor-state.h"

#include "core/session-keys.h"
#include "core/session-limits.h"
#include "core/settings-file.h"
#include "editor/snapping.h"
#include <iterator>

#include "graphics/zebra-stripes.h"

namespace {

// A stored turn or number of bands the keys could not have made reads as the nearest one.
int zebraTurnFrom(int stored) {
    return ((stored % zebra::kTurns) + zebra::kTurns) % zebra::kTurns;
}
float zebraBandsFrom(int stored) {
    for (float bands : zebra::kBandSteps)
        if (static_cast<float>(stored) <= bands) return bands;
    return zebra::kBandSteps[std::size(zebra::kBandSteps) - 1];
}

} // namespace

void EditorState::loadSession(const SettingsFile& settings) {
    currentView = static_cast<ViewMode>(
        session::validView(settings.readInt(session::kSession, "CurrentView", 0)));
    tool = static_cast<Tool>(session::validTool(settings.readInt(session::kSession, "Tool", 0)));
    grid = settings.readInt(session::kSession, "grid", 0) != 0;
    snapStep = snap::stepFrom(settings);
    shaded = settings.readInt(session::kSession, "shaded", 0) != 0;
    showJoins = settings.readInt(session::kSession, "joins", 0) != 0;
    zebra = settings.readInt(session::kSession, "zebra", 0) != 0;
    liveJoins = settings.readInt(session::kSession, "livejoins", 0) != 0;
    stripeTurn = zebraTurnFrom(settings.readInt(session::kSession, "stripeturn", 0));
    stripeBands = zebraBandsFrom(settings.readInt(session::kSession, "stripebands", 8));
    curvature = settings.readInt(session::kSession, "curvature", 0) != 0;
    curvatureKind = settings.readInt(session::kSession, "curvaturekind", 1) == 0
                        ? curvature::Kind::Gaussian
                        : curvature::Kind::Mean;
    loc = settings.readInt(session::kSession, "loc", 0) != 0;
    startupFile = session::validLoadedFile(
        settings.readString(session::kSession, "LoadedFile", "", session::kLoadedFileBuffer),
        session::kLoadedFileBuffer);
}

const std::string& EditorState::makeTitle(const std::string& path, bool modified) {
    title = documentName(path) + (modified ? "*" : "") + " - Tavrel";
    return title;
}

std::string fileNameOf(const std::string& path) {
    // Folders end at the last separator of either kind, or at a drive's colon.
    size_t start = path.find_last_of("\\/");
    start = start == std::string::npos ? 0 : start + 1;
    if (start == 0 && path.size() >= 2 && path[1] == ':') start = 2;
    return path.substr(start);
}

std::string fileStem(const std::string& path) {
    std::string name = fileNameOf(path);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

std::string documentName(const std::string& path) {
    return path.empty() ? std::string("Untitled") : fileStem(path);
}

void EditorState::forgetPicks(size_t pointCount) {
    forgetHover();
    hoveredPatch = -1;
    firstJointPoint = -1;
    chosenPoints.fit(pointCount);
}

void EditorState::forgetGestures() {
    pendingPoints.clear();
    forgetHover();
    hoveredPatch = -1;
    firstJointPoint = -1;
    draggedPoint = -1;
    transformDrag = false;
    translation = {};
    heldClick.reset();
}
