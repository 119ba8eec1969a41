// Growing a surface from its free edges: each chosen side of a shown patch that no other
// shown patch shares makes a new patch on the far side of it, sharing its four points.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/model.h"

struct ExtrudeResult {
    size_t edges = 0;                // free sides grown
    std::vector<uint32_t> farPoints; // the new patches' far rows, to drag next
};

// Every free side of a shown patch whose four points are all chosen (chosen has an entry
// per pool point) grows a patch; a symmetry's side on its mirror plane is not free. Its rows
// run straight on from the edge along the patch's tangent across it, as far as the patch
// reaches from that edge to its far side, the row next to the edge at one ratio of lengths
// all along it (so the join is smooth along the whole side). Side-by-side edges give patches
// that share their points, and a column that meets a free side already there (an earlier
// extrusion) takes its points; an inner corner fills with one patch. The new patches join
// the group (or symmetry) of the patch they grew from and are the selection.
ExtrudeResult extrudeEdges(Model& model, const std::vector<uint8_t>& chosen);
// What the status bar says after sides were grown: how many, and how their far rows (chosen
// now) are moved.
std::string extrudedText(size_t edges);
