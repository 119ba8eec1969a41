// The four sides of a patch's control net, and the edges patches share through them: two
// patches are joined along a side when they use the same four points there, in the same
// order or the other way round. A side collapsed to one point (a pole, where a row of the
// net meets at a tip) joins nothing: the patches around a pole touch only there.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "editor/size-tolerance.h"
#include "model/model.h"

// Row 0, row 3, column 0, column 3 of the net.
enum class Side { Top = 0, Bottom = 1, Left = 2, Right = 3 };
inline constexpr Side kSides[4] = {Side::Top, Side::Bottom, Side::Left, Side::Right};

Side opposite(Side side);
// Top and bottom run along u (the columns), left and right along v (the rows).
inline bool runsAlongU(Side side) {
    return side == Side::Top || side == Side::Bottom;
}

// The net position of the point `along` (0…3: columns for top and bottom, rows for left and
// right) that lies `in` rows (0…3) in from the side.
int netIndex(Side side, int along, int in);
// The side's four pool indices, in the order along it.
std::array<int32_t, 4> sidePoints(const Model::Patch& patch, Side side);
// (u, v) of the point at t (0…1) along the side.
void sideParameters(Side side, float t, float& u, float& v);

struct SideRef {
    uint32_t patch = 0;
    Side side = Side::Top;
};

// A side's points all lie within this share of the patch's size of its first one: a pole.
inline constexpr float kCollapsedSide = 1e-5f;
// The side is one point (repeated, or four at one place relative to the patch's size).
bool collapsedSide(const Model& model, const Model::Patch& patch, Side side);
// The same with the patch's size (patchSize) already worked out, for all four sides at once.
bool collapsedSide(const Model& model, const Model::Patch& patch, Side side, float size);

// Every side of the patches, found by its points.
class SideIndex {
  public:
    // Shown patches only when shownOnly; with within (an entry per pool point), only the
    // sides whose four points are all within: enough to find the partners of such sides.
    SideIndex(const Model& model, bool shownOnly, const std::vector<uint8_t>* within = nullptr);
    // The other sides with the same four points (either order) as this one, none for a
    // pole; reversed[k] says whether sides[k] runs the other way. A side of the same patch
    // is one (a patch closed on itself, a tube whose last column is its first).
    void partners(const Model& model, SideRef of, std::vector<SideRef>& sides,
                  std::vector<bool>& reversed) const;
    // The same for a side already known not to be a pole.
    void partnersOfSide(const Model& model, SideRef of, std::vector<SideRef>& sides,
                        std::vector<bool>& reversed) const;

  private:
    struct Entry {
        uint64_t corners; // the two end points, the lower first: sorted by these
        SideRef side;
    };
    std::vector<Entry> entries_;
};

// A side two patches share; b's points run the other way round when reversed.
struct SharedEdge {
    SideRef a, b;
    bool reversed = false;
};
// Which shared edges: all of them, those of two selected patches, or those of a selected
// patch with any other.
enum class EdgesOf { All, BothSelected, ASelected };
// Every pair of shown patches' sides with the same points (a side shared by three patches
// gives a pair for each other one), each pair once; a patch closed on itself gives its seam
// once, a pole nothing.
std::vector<SharedEdge> sharedEdges(const Model& model, EdgesOf which = EdgesOf::All);
