// Merging equal points as a model is read from another program's file: the first of equal
// coordinates keeps its index, so rows shared between surfaces become shared points.
#pragma once

#include <cstdint>
#include <map>
#include <tuple>

#include "model/model.h"

class PointPool {
  public:
    explicit PointPool(Model& model) : model_(model) {}
    int32_t add(vm::Float3 p) {
        const auto key = std::make_tuple(p.x, p.y, p.z);
        const auto [it, fresh] =
            index_.try_emplace(key, static_cast<int32_t>(model_.points.size()));
        if (fresh) model_.points.push_back(p);
        return it->second;
    }

  private:
    Model& model_;
    std::map<std::tuple<float, float, float>, int32_t> index_;
};
