// The document: a pool of control points, bicubic Bezier patches that each name sixteen of
// them, groups (some of them mirror symmetries) and locators. What is derived from them (the
// GPU copy, the shape window's items) is kept by the views that show it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/vector-math.h"

class Model {
  public:
    struct Patch {
        std::array<int32_t, 16> indices{}; // row-major: entry 4·r + c is row r, column c
        int32_t group = -1;                // index into groups, or -1
        float alpha = 1.0f;                // opacity; 1 is opaque
        bool selected = false;
        bool visible = true;
    };

    struct Group {
        Group() = default;
        explicit Group(std::string n) : name(std::move(n)) {}
        virtual ~Group() = default;
        std::string name;
        bool selected = false;
        bool visible = true;
    };

    // Told apart from a plain group by its run-time type alone; its patches are drawn a
    // second time mirrored through x = 0.
    struct Symmetry : Group {
        using Group::Group;
        vm::Vec4 firstVector{};
        vm::Vec4 secondVector{};
    };

    struct Locator {
        std::string name; // also shown as its tree item's text
        vm::Vec4 position{};
        vm::Quat orientation{0, 0, 0, 1};
    };

    std::vector<vm::Float3> points;
    std::vector<Patch> patches;
    std::vector<std::unique_ptr<Group>> groups;
    std::vector<Locator> locators;

    // Destroys every group and empties the pool and the patches. Locators stay.
    void clear();
    // Appends the built-in band of four patches (48 points).
    void createDefault();

    bool isSymmetry(int groupIndex) const;
    // Drawn, picked and counted: its own flag is set and it has no group or a visible one.
    bool isShown(const Patch& patch) const;
    bool isShown(size_t patchIndex) const { return isShown(patches[patchIndex]); }
    // Every index of every patch lies in the pool and every group index in the groups.
    bool indicesValid() const;
};

// prefix + the smallest n >= 0 for which no group (plain or symmetry: they share one name
// space in the file) is called so: "group_0", "Sym_2".
std::string firstUnusedGroupName(const Model& model, const std::string& prefix);
// The same among the locators' names: "Locator_1".
std::string firstUnusedLocatorName(const Model& model);

// The 36 indices of a patch's control net: for r, c in 0..2 the segment down from (r, c+1)
// and the segment across to (r+1, c+1); the row-0 and column-0 edges are left out.
std::array<int32_t, 36> controlNetIndices(const Model::Patch& patch);
