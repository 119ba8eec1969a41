// Operations that reorganise or reshape the model: groups, symmetries, splitting and
// merging points, deleting patches. Each keeps the shape window's tree texts and point
// rows in step with the indices it changes; the caller marks the document modified.
#pragma once

#include <vector>

#include "editor/pending-points.h"
#include "model/model-tree.h"
#include "model/model.h"

// Puts the selected patches into a new group "group_<n>" (the first unused n), whose
// item goes right after the first selected patch's item (after its group's item when it is
// in one: groups are never nested). Nothing is made when no patch is
// selected. Patches keep their selection; an old group they leave stays, even empty.
void groupSelection(Model& model, ModelTree& tree);

// Puts the selected patches into a new symmetry "Sym_<n>" (the first unused n) at the end of the
// top level (made even when nothing is selected).
void makeSymmetry(Model& model, ModelTree& tree);

// The selected patches leave their group or symmetry (a symmetry's patches lose their
// mirrored copy); each item moves to the top level, right after its old group's item. The
// groups stay, even empty. False when no selected patch was in a group.
bool ungroupSelection(Model& model, ModelTree& tree);

// Gives the highest shown patch using point k a copy of it, a fifth of the way towards the
// centroid of that patch's other fifteen points. Needs a second shown patch using k;
// false (nothing changed) otherwise.
bool dissociatePoint(Model& model, ModelTree& tree, std::vector<int>& useCount, int k);

// Merges point b into point a: every use of b becomes a, the last point moves into b's
// place and the pool shrinks by one. False (nothing changed) when b is a, -1 or either is
// outside the pool. Pending points follow their points.
bool jointPoints(Model& model, ModelTree& tree, std::vector<int>& useCount, PendingPoints& pending,
                 int a, int b);

// Removes the selected patches and every point no remaining patch uses, filling the freed
// indices with the highest remaining points. Remaining patches' items are renumbered; a
// pending point whose point goes keeps its place as a new point.
void deleteSelection(Model& model, ModelTree& tree, std::vector<int>& useCount,
                     PendingPoints& pending);
