// The patches that use each pool point, in two flat arrays (a list per point would be a
// million allocations on a large model): what follows a moved point to its patches, and what
// tells a delete which points no patch uses any more.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "model/model.h"

class PointUsers {
  public:
    // Every patch, or those counts accepts; once per slot that names the point. Indices
    // outside the pool are left out.
    void build(const Model& model,
               const std::function<bool(const Model::Patch&)>& counts = nullptr);
    // Point k's users: patch numbers from begin(k) to end(k).
    const uint32_t* begin(size_t k) const { return users_.data() + start_[k]; }
    const uint32_t* end(size_t k) const { return users_.data() + start_[k + 1]; }
    bool used(size_t k) const { return start_[k + 1] > start_[k]; }
    size_t points() const { return start_.size() - 1; }

  private:
    std::vector<uint32_t> start_{0}, users_;
};
