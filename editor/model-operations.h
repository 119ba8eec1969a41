// Operations that reorganise or reshape the model: groups, symmetries, splitting and
// merging points, deleting patches. They change the model alone: run as an edit of the
// document, whose views (the shape window, the GPU copy) follow from the step.
#pragma once

#include <vector>

#include "editor/pending-points.h"
#include "model/model.h"

// Puts the selected patches into a new group "group_<n>" (the first unused n; groups are
// never nested). Nothing is made when no patch is selected. Patches keep their selection;
// an old group they leave stays, even empty.
void groupSelection(Model& model);

// Puts the selected patches into a new symmetry "Sym_<n>" (the first unused n; made even when
// nothing is selected).
void makeSymmetry(Model& model);

// The selected patches leave their group or symmetry (a symmetry's patches lose their
// mirrored copy). The groups stay, even empty. False when no selected patch was in a group.
bool ungroupSelection(Model& model);

// Gives the highest shown patch using point k a copy of it, a fifth of the way towards the
// centroid of that patch's other fifteen points. Needs a second shown patch using k;
// false (nothing changed) otherwise.
bool dissociatePoint(Model& model, int k);

// Merges point b into point a: every use of b becomes a, the last point moves into b's
// place and the pool shrinks by one. False (nothing changed) when b is a, -1 or either is
// outside the pool. Pending points follow their points.
bool jointPoints(Model& model, PendingPoints& pending, int a, int b);

// Removes the selected patches and every point no remaining patch uses, filling the freed
// indices with the highest remaining points. Remaining patches keep their order; a
// pending point whose point goes keeps its place as a new point.
void deleteSelection(Model& model, PendingPoints& pending);
