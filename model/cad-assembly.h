// The model a CAD file's surfaces make: their Bezier patches with equal points merged, in
// groups named after the surfaces.
#pragma once

#include <array>
#include <map>
#include <string>

#include "model/model.h"
#include "model/point-pool.h"

class CadAssembly {
  public:
    explicit CadAssembly(Model& model) : model_(model), pool_(model) {}
    // name "" (or "surface", what Tavrel's exports call patches in no group) puts the patch in
    // no group.
    void add(const std::array<vm::Float3, 16>& net, const std::string& name);

  private:
    Model& model_;
    PointPool pool_;
    std::map<std::string, int32_t> groups_;
};

// A group's name is one word in the editor's files: blanks, control characters, '#' and bytes
// that are not UTF-8 become '_'; other characters are kept.
std::string groupNameFrom(const std::string& name);
