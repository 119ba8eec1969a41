// The chosen control points, for shaping many points at once. Not part of the document: it
// is neither saved nor undone, and it forgets itself when the pool changes size (indices
// would name other points).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/vector-math.h"
#include "editor/box-selection.h"
#include "editor/selection.h"
#include "model/model.h"

class PointSelection {
  public:
    bool contains(size_t point) const { return point < chosen_.size() && chosen_[point]; }
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    // The chosen points, ascending; the first `most` of them when asked for fewer.
    std::vector<uint32_t> indices(size_t most = SIZE_MAX) const;
    void clear();
    // A pool of another size: nothing stays chosen.
    void fit(size_t poolSize);

    // As clicks do for patches: plain chooses exactly the point (nothing on empty space,
    // −1), Shift adds it, Control toggles it.
    void click(int point, ClickModifiers modifiers, size_t poolSize);
    // A set of points at once (a rubber band, Ctrl+A, the points of the selected patches):
    // plain replaces the selection, Shift adds them, Control toggles each.
    void choose(const std::vector<uint32_t>& points, ClickModifiers modifiers, size_t poolSize);

  private:
    std::vector<uint8_t> chosen_;
    size_t count_ = 0;
};

// The points of shown patches that project inside box, in front of the eye: what a rubber
// band takes (a point of hidden patches only is never taken).
std::vector<uint32_t> pointsInBox(const Model& model, const vm::Mat4& worldViewProjection,
                                  ScreenBox box);
// Every point a shown patch uses.
std::vector<uint32_t> shownPoints(const Model& model);
// Every point a selected patch uses, shared ones included.
std::vector<uint32_t> pointsOfSelectedPatches(const Model& model);
// The middle of the box around the points (w = 1); the origin when there are none.
vm::Vec4 centreOf(const Model& model, const std::vector<uint32_t>& points);
