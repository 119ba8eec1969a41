#include "model/point-users.h"

void PointUsers::build(const Model& model, const std::function<bool(const Model::Patch&)>& counts) {
    const size_t pool = model.points.size();
    auto each = [&](auto use) {
        for (size_t i = 0; i < model.patches.size(); ++i) {
            const Model::Patch& patch = model.patches[i];
            if (counts && !counts(patch)) continue;
            for (int32_t k : patch.indices)
                if (k >= 0 && static_cast<size_t>(k) < pool) use(static_cast<size_t>(k), i);
        }
    };
    start_.assign(pool + 1, 0);
    each([&](size_t k, size_t) { ++start_[k + 1]; });
    for (size_t k = 1; k <= pool; ++k)
        start_[k] += start_[k - 1];
    users_.resize(start_[pool]);
    std::vector<uint32_t> fill(start_.begin(), start_.end() - 1);
    each([&](size_t k, size_t i) { users_[fill[k]++] = static_cast<uint32_t>(i); });
}
