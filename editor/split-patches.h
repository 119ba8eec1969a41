// Splitting patches exactly (de Casteljau): a patch becomes two that are the same surface,
// and so that no crack opens, every patch joined to it across the cut splits with it, the
// new points on a shared side shared.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/model.h"

// U cuts at a value of u (the rows are divided: a new column of points); V at a value of v.
enum class SplitDirection { U, V };

struct SplitResult {
    size_t patches = 0;           // patches split (each became two)
    std::string refusal;          // why nothing was split, naming the patch; "" when split
    std::vector<uint32_t> strip;  // the patches split (each keeps its first half)
    std::vector<uint32_t> halves; // their second halves, appended to the patches
    // Per point before the split: its index after, or -1 when no patch uses it any more.
    std::vector<int32_t> renumbered;
};

// Splits the patch at t (0 < t < 1) in the direction, and with it the strip of patches
// joined to it across the cut (each at the matching parameter, in its own matching
// direction). A strip that would need some patch cut twice, or a side cut on one patch and
// not on its neighbour, is refused and nothing changes. Patches touching only at a pole are
// not joined, and a pole stays one point. Points nothing uses any more leave the pool (the
// others keep their order).
SplitResult splitStrip(Model& model, uint32_t patch, SplitDirection direction, float t);
// The same from several patches at once, each with its strip (a patch in an earlier one's
// strip is split once); hidden patches are no seeds (a strip still takes them along, so no
// crack opens where they join a shown one).
SplitResult splitPatches(Model& model, const std::vector<uint32_t>& patches,
                         SplitDirection direction, float t);
// Both directions: four patches (and the strips across each cut split too).
SplitResult splitIntoFour(Model& model, const std::vector<uint32_t>& patches, float u, float v);

// Removes the points no patch uses; the others keep their order and the patches follow.
// Returns how many went; renumbered (when given) gets each old point's new index or -1.
size_t dropUnusedPoints(Model& model, std::vector<int32_t>* renumbered = nullptr);
