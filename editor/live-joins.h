// Joins kept smooth while points move. With the setting on, a drag, a typed move or a
// transform of points on an edge two patches share, or on the row beside it, moves the rows
// across the edge with them: each join smooth at the press stays as smooth as it was, and a
// point whose rows meet several joins keeps all of them (the joins around a corner or a ring
// of patches are solved together). A pole stays where it is unless it is what moves.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "core/vector-math.h"
#include "model/model.h"

class LiveJoins {
  public:
    // A join at most this many degrees at the press is kept; a larger angle is a crease the
    // user made, and its rows move only as they are moved.
    static constexpr float kSmoothDegrees = 1.0f;

    // Before the points move: the smooth joins the moving points can reach (the sides of the
    // patches around them and of those patches' neighbours), each pair of points across an
    // edge with its ratio of lengths now.
    void begin(const Model& model, const std::vector<uint32_t>& moving);
    bool active() const { return !columns_.empty(); }
    void clear() { *this = LiveJoins(); }

    // The moving points are where the gesture has put them: the points across the joins
    // follow, worked out from where they were at the press. Returns every point it placed
    // now or at an earlier call (those put back to the press too), for the views.
    const std::vector<uint32_t>& follow(Model& model, const std::vector<uint32_t>& moved);
    // What follow placed, back where it was at the press (Escape); the points it touched.
    const std::vector<uint32_t>& restore(Model& model);
    // The points a gesture moved with those follow or restore placed: what the views follow.
    static std::vector<uint32_t> together(std::vector<uint32_t> moved,
                                          const std::vector<uint32_t>& placed) {
        moved.insert(moved.end(), placed.begin(), placed.end());
        return moved;
    }

    // The points follow has placed so far and where each was at the press (a step's
    // "before").
    const std::vector<uint32_t>& placed() const { return touched_; }
    vm::Float3 pressedAt(uint32_t point) const;

  private:
    // Worked in double: the columns are solved together, and float rounding of points far
    // from the origin would otherwise never let a small patch's columns settle.
    struct Point3 {
        double x = 0, y = 0, z = 0;
    };
    static Point3 toExact(vm::Float3 p) { return {p.x, p.y, p.z}; }
    static vm::Float3 toFloat(Point3 p) {
        return {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
    }
    // An edge point, the points beside it on either side (local indices), and how they line
    // up at the press: b − e = ratio · (e − a) + offset, to within tolerance (a share of the
    // patches' size).
    struct Column {
        uint32_t e, a, b;
        double ratio;
        Point3 offset;
        double tolerance;
    };
    uint32_t localOf(uint32_t point);
    void settle(const Column& c, std::vector<uint32_t>& queue);
    void place(uint32_t local, Point3 at, std::vector<uint32_t>& queue);
    void solveTogether();
    bool mayMove(uint32_t local) const { return !moving_[local] && !held_[local]; }

    std::vector<Column> columns_;
    std::unordered_map<uint32_t, uint32_t> local_; // pool index → index below
    std::vector<uint32_t> points_;                 // the columns' points
    std::vector<vm::Float3> start_;                // each where it was at the press
    std::vector<Point3> now_;                      // each where this call puts it
    std::vector<std::vector<uint32_t>> columnsOf_; // each point's columns
    // A pole's point (a side or a row beside an edge collapsed to it), which stays where it
    // is; held_ adds the points also used by a patch whose joins were not gathered, which the
    // solve leaves where the first pass put them.
    std::vector<uint8_t> pole_, held_;
    std::vector<uint8_t> moving_;   // moved by the gesture
    std::vector<uint8_t> decided_;  // placed in this call's first pass, or moved
    std::vector<uint8_t> placed_;   // placed in this call
    std::vector<uint32_t> touched_; // pool indices placed by any call
    std::vector<uint8_t> wasTouched_;
};

// A change that moves points and returns which (a typed move or transform), made with the
// joins around them kept as smooth as they were before it; returns the points it moved and
// those that followed.
std::vector<uint32_t> movedKeepingJoins(Model& model,
                                        const std::function<std::vector<uint32_t>(Model&)>& move);
