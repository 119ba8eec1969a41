// The joins T works on, one at a time: a join's edge points and the rows beside the edge,
// and lining those rows up with the edge while the points held stay.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/patch-sides.h"
#include "model/model.h"

// A join the solver watches: its edge points and the rows next to the edge on either side
// (across a mirror plane, where the patch joins its own image, b is a).
struct RowJoin {
    bool mirror = false;
    SharedEdge edge;
    int32_t e[4], a[4], b[4];
    float size = 0; // of the patches, for the tolerances
    bool selected = false, collapsed = false, folds = false, heldCorner = false;
    float before = 0, after = 0;
    bool beforeFloor = false; // before is only a floor of it so far
};

// The pool index of a patch's point `in` rows in from the side, `along` it.
int32_t netPoint(const Model::Patch& patch, Side side, int along, int in);
// size: the larger of the two patches' (patchSize).
RowJoin sharedJoin(const Model& model, const SharedEdge& edge, float size);
// A symmetry patch's side on the mirror plane: the patch joins its own image there.
RowJoin mirrorJoin(const Model& model, SideRef side);
// The join's angle now (joinAngle or mirrorJoinAngle), and never more than that for less work
// (joinAngleFloor or mirrorJoinAngleFloor).
float angleOf(const Model& model, const RowJoin& j);
float angleFloorOf(const Model& model, const RowJoin& j);

// Each pair of points across the edge onto one line through the edge point, with one ratio
// of lengths along the whole edge (then the cross tangents are parallel all along it, not
// only at the four points); a held point stays and its partner lines up with it. Notes on
// the join what stood in the way (collapsed, folds, heldCorner). Both return the largest move
// of a point, as a share of the patches' size.
float solveShared(Model& model, RowJoin& j, const std::vector<uint8_t>& held);
// Across the mirror plane the row next to the edge runs straight across it (along x).
float solveMirror(Model& model, RowJoin& j, const std::vector<uint8_t>& held);
