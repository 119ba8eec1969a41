// The add tool's pending points: sixteen clicks, each an existing point or a new one under
// the mouse, become a patch row by row.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/vector-math.h"
#include "model/editor-point.h"
#include "model/model-tree.h"
#include "model/model.h"

using PendingPoints = std::vector<std::unique_ptr<Editor::Point>>;

// One click: the hot point (hot and a valid hoveredPoint) or a new point at cursor, listed
// in the tree under "<New Points>" (a new one for each patch) with its index ("%d") or its
// position (three listedNumber values). The sixteenth click appends the patch and its new
// points to the model (the sixteen point items go; "<New Points>" stays) and empties the
// list; returns true then. The list is the add tool's own; the patch's item comes with the edit's
// step.
bool addPendingPoint(PendingPoints& pending, Model& model, ModelTree& tree, bool hot,
                     int hoveredPoint, vm::Vec4 cursor);
// The label of a pending point's tree item: its index ("%d") or its position (three
// listedNumber values).
std::string pendingPointLabel(const Editor::Point& point);
// Lists the pending points anew under a new "<New Points>" item (after the tree was made
// anew); nothing when there are none.
void relistPendingPoints(PendingPoints& pending, ModelTree& tree);

// Each pending point's position, to be kept across a renumbering of the pool.
std::vector<vm::Vec4> pendingPositions(const PendingPoints& pending);
// After the pool was renumbered (renumbered[i]: point i's new index, -1 where it went), the
// pending points follow their points; one whose point went stays where it was (before) as
// a new point.
void followRenumbering(PendingPoints& pending, const std::vector<int32_t>& renumbered,
                       const std::vector<vm::Vec4>& before);

// Takes the last pending point back, with its tree item; false when there was none.
bool removeLastPendingPoint(PendingPoints& pending, ModelTree& tree);
