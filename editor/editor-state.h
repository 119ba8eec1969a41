// The editor's tool and gesture state: tool, mode, picks, the drags under way, pending
// points, the view's options, and the title and start-up file the session remembers. The
// document is the document's; the windows keep their own handles.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/editor-modes.h"
#include "core/vector-math.h"
#include "editor/live-joins.h"
#include "editor/point-selection.h"
#include "editor/selection.h"
#include "editor/typed-coordinates.h"
#include "graphics/curvature-colours.h"
#include "graphics/zebra-stripes.h"
#include "model/editor-point.h"

class SettingsFile;

struct PickRay {
    vm::Vec4 origin{};
    vm::Vec4 direction{};
};

struct EditorState {
    bool hotPoint = false;
    int firstJointPoint = -1;
    Mode mode = Mode::Editing;
    bool pointMoved = false;
    int hoveredPoint = -1;
    Tool tool = Tool::None;
    // Where a rotate or translate drag started (ground or view plane), and whether one is
    // under way: the model shows the drag's change until the release commits it.
    vm::Vec4 dragStart{};
    bool transformDrag = false;
    // The drag is measured on the plane through the target facing the viewer, the ground
    // being edge-on from the eye.
    bool dragOnViewPlane = false;
    // The point a no-tool drag moves and where it was at the press (one step per drag).
    int draggedPoint = -1;
    vm::Float3 draggedFrom{};
    vm::Vec4 cursor{};
    // Start-up has made the model the document edits: the windows may show and change it.
    bool modelReady = false;
    // LoadedFile as the session remembers it: the file opened at start-up (at most 259
    // characters; "" for the built-in model). The document's own path is the document's.
    std::string startupFile;
    PickRay pickRay{};
    float pickDistance = 0;
    vm::Vec4 pivot{};       // the rotate and scale tools' pivot
    vm::Vec4 translation{}; // the translate drag's offset so far
    float startAngle = -1.0f;
    float sweepAngle = 1.0f;
    // The scale drag: the mouse's distance from the pivot on the screen at the press, in
    // pixels, and the factor so far (the distance now over that one).
    float scaleFrom = 0;
    float scaleFactor = 1;
    bool handleHot = false;
    int hoveredPatch = -1;
    ViewMode currentView = ViewMode::Orbit;
    int lastMouseX = 0, lastMouseY = 0;
    bool jointUsed = false; // the joint button shows its released picture once it was used
    int panStartX = 0, panStartY = 0, panViewport = 0;
    bool grid = false;
    bool loc = false;
    std::vector<std::unique_ptr<Editor::Point>> pendingPoints; // the add tool's clicks
    std::string title;
    std::vector<int> useCount;
    // What the shape window's coordinate boxes show and typing into them moves.
    CoordinateSubject coordinates;
    float snapStep = 0.1f;  // the grid Ctrl snaps to (snapStep)
    bool shaded = false;    // patches lit from behind the camera (shaded; L toggles)
    bool showJoins = false; // shared edges shaded by how smoothly they join (joins; G)
    // Zebra stripes instead of the shading (zebra; U), their direction in turns of
    // zebra::kTurnDegrees (stripeturn) and their number (stripebands).
    bool zebra = false;
    int stripeTurn = 0;
    float stripeBands = zebra::kDefaultBands;
    // Curvature false-coloured instead of the shading (curvature; C), which curvature
    // (curvaturekind: 0 Gaussian, 1 mean; Shift+C) and the scale fitted when it was turned
    // on or switched (none yet when it was remembered on: the first frame fits one).
    bool curvature = false;
    curvature::Kind curvatureKind = curvature::Kind::Mean;
    std::optional<curvature::Scale> curvatureScale;
    // The select tool's rubber band, from a press on empty space to the mouse, in the
    // normalised coordinates of the viewport it started in.
    bool banding = false;
    // Escape gave up the left drag under way: the moves until its release do nothing.
    bool leftDragCancelled = false;
    // A select-tool click held until the release: a press on empty space (a rubber band may
    // follow, and Escape keeps the selection) or with Shift (a drag orbits instead). Its
    // target is a patch or, when choosing points, a point (-1: nothing); the press is in
    // the view's pixels.
    struct HeldClick {
        int target = -1;
        bool points = false;
        ClickModifiers modifiers;
        int x = 0, y = 0;
    };
    std::optional<HeldClick> heldClick;
    int bandViewport = 0;
    float bandX0 = 0, bandY0 = 0, bandX1 = 0, bandY1 = 0;
    // Clicks and rubber bands of the select tool choose control points instead of patches
    // (P switches), and the points chosen.
    bool choosingPoints = false;
    PointSelection chosenPoints;
    // The pivot the user set (V on a point, or typed in the transform row) for turns and
    // scales; without one they turn about the centre of what they move. A new selection
    // forgets it.
    std::optional<vm::Vec4> chosenPivot;
    // A rotate, translate or scale drag of some points (the chosen ones, or those of the selected
    // patches): the points and where they were at the press; they move as the mouse does,
    // and the release makes one step of it.
    struct PointGesture {
        std::vector<uint32_t> points;
        std::vector<vm::Float3> from;
        std::vector<uint8_t> mirrorPlane; // per pool point: held on a symmetry's plane
        size_t held = 0;                  // how many the last step held there
        size_t grabbed = 0; // a select-tool drag: the point the mouse holds (in points)
        std::vector<uint32_t> previewed; // the points and those the joins moved with them
    } pointGesture;
    // Joins kept smooth while points move (livejoins; off unless the user turns it on), and
    // the joins the drag under way keeps.
    bool liveJoins = false;
    LiveJoins joinFollowers;

    // The session values read before the windows exist: CurrentView, Tool, grid, loc,
    // LoadedFile, in that order.
    void loadSession(const SettingsFile& settings);
    // "%s%s - Tavrel": the file name of path without folder and extension ("Untitled"
    // without a path), and "*" when modified. Stores the text in title and returns it.
    const std::string& makeTitle(const std::string& path, bool modified);

    // After a step was taken back or forth: the point under the mouse is looked for again.
    void forgetHover() {
        hoveredPoint = -1;
        hotPoint = false;
    }
    // After the pool or the patch list changed size: no pick (hovered point or patch, the
    // joint's first point, a chosen point) may name what went.
    void forgetPicks(size_t pointCount);
    // A new document starts with nothing of the old one: no pending points, picks, drag or
    // half-done joint.
    void forgetGestures();
};

// The file name of a path without its folder and extension ("C:\a\b.obj" → "b").
std::string fileStem(const std::string& path);
// The file name of a path without its folder ("C:\a\b.obj" → "b.obj").
std::string fileNameOf(const std::string& path);
// What the user calls a document of that path: its file stem, or "Untitled" without one.
std::string documentName(const std::string& path);
