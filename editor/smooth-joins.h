// Making joins smooth (T): the rows on both sides of a shared edge lined up with it, so the
// two tangent planes agree all along, every selected join solved together, never a shared
// edge moved and never a join left worse than it was.
#pragma once

#include <string>

#include <array>
#include <cstddef>
#include <vector>

#include "editor/join-angles.h"
#include "editor/side-partners.h"
#include "model/model.h"

// A join this smooth (degrees) is tangent-continuous.
inline constexpr float kSmoothJoin = 0.1f;

// Why a join could not be made smooth.
enum class JoinTrouble {
    HeldCorner, // a corner's points on both sides lie on neighbouring shared edges
    Collapsed,  // a patch's row along the join lies on the edge: it has no tangent across
    FoldsBack,  // the patches fold back on each other: no side to line them up on
    Pulled,     // the joins around it pull its points different ways
};
inline constexpr size_t kJoinTroubles = 4;
const char* joinTroubleText(JoinTrouble trouble);

// A selected join left at kSmoothJoin or more: its edge (a and b the same side across a
// mirror plane), its angle after and why.
struct RoughJoin {
    SharedEdge edge;
    bool mirror = false;
    float angle = 0;
    JoinTrouble why = JoinTrouble::Pulled;
};
struct SmoothResult {
    size_t joins = 0;  // selected joins (between two selected patches, or on a mirror plane)
    float largest = 0; // their largest angle after
    std::vector<RoughJoin> rough;
    // How many rough joins there are for the reason.
    size_t roughFor(JoinTrouble why) const;
};
// Smooths every join between two selected patches and every selected symmetry patch's join
// with its mirror image: only the rows next to the edges move (the points of shared edges,
// poles and mirror-plane sides stay), the joins solved together until each is below
// kSmoothJoin where its held points allow. No join of the model ends worse than it was.
SmoothResult smoothSelectedJoins(Model& model);

// Where T works: the mirror-plane sides, the shown patches using a point of a shown selected
// patch (around, an entry per patch) and their sides' partners. Found once, it serves
// Match Curvature's smoothing and its own joins alike.
struct JoinNeighbourhood {
    std::vector<SideRef> mirrorSides;
    std::vector<uint8_t> around;
    SidePartners partners;
};
JoinNeighbourhood joinNeighbourhood(const Model& model);
// The joins between two selected shown patches, in the order sharedEdges gives them.
std::vector<SharedEdge> selectedSharedEdges(const Model& model, const JoinNeighbourhood& near);
SmoothResult smoothSelectedJoins(Model& model, const JoinNeighbourhood& near);
// What the status bar says of it: the joins smoothed, the largest angle, and which could
// not be made smooth and why.
std::string smoothResultText(const SmoothResult& result);
