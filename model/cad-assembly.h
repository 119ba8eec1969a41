// The model a CAD file's surfaces make: their Bezier patches with equal points merged, in
// groups named after the surfaces.
#pragma once

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/model.h"
#include "model/point-pool.h"

class CadAssembly {
  public:
    explicit CadAssembly(Model& model) : model_(model), pool_(model) {}
    ~CadAssembly() { finish(); }
    // Room for the patches of this many surfaces of one patch each (as exporters write Bezier
    // patches) and their points: the lists then grow without copying themselves.
    void expect(size_t surfaces);
    // name "" (or "surface", what Tavrel's exports call patches in no group) puts the patches
    // in no group.
    void add(const std::vector<std::array<vm::Float3, 16>>& nets, const std::string& name);
    // Every patch added has its points: they are merged a few thousand at a time, the pool
    // then fetching their places ahead.
    void finish();

  private:
    static constexpr size_t kMergedTogether = 4096; // points, a multiple of a patch's 16
    int32_t groupOf(const std::string& name);

    Model& model_;
    PointPool pool_;
    std::map<std::string, int32_t> groups_;
    std::string lastName_; // most files name many surfaces alike: its group is kept
    int32_t lastGroup_ = -1;
    bool named_ = false;
    std::vector<vm::Float3> unmerged_;
    std::vector<int32_t> indices_;
};

// A group's name is one word in the editor's files: blanks, control characters, '#' and bytes
// that are not UTF-8 become '_'; other characters are kept.
std::string groupNameFrom(const std::string& name);

// Why a file is refused for surfaces of other kinds: the first one found, then how many of
// each kind ("2 PLANE", "1 of entity 120") in the order given.
std::string otherSurfacesReason(const std::string& first, const std::string& readKinds,
                                const std::vector<std::pair<std::string, size_t>>& kinds);
