#include "editor/size-tolerance.h"

#include <algorithm>
#include <cmath>

namespace {

struct Box {
    vm::Float3 lo{}, hi{};
    bool any = false;
    void take(vm::Float3 p) {
        if (!any) lo = hi = p;
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        any = true;
    }
    void take(const Model& model, const Model::Patch& patch) {
        for (int32_t i : patch.indices)
            if (i >= 0 && static_cast<size_t>(i) < model.points.size())
                take(model.points[static_cast<size_t>(i)]);
    }
    float extent() const { return std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z}); }
    float diagonal() const { return std::hypot(hi.x - lo.x, hi.y - lo.y, hi.z - lo.z); }
};

} // namespace

float patchSize(const Model& model, const Model::Patch& patch) {
    Box box;
    box.take(model, patch);
    return box.diagonal();
}

float extentOf(const Model& model, const Model::Patch& patch) {
    Box box;
    box.take(model, patch);
    return box.extent();
}

float extentOf(const Model& model, const std::vector<size_t>& patches) {
    Box box;
    for (size_t p : patches)
        box.take(model, model.patches[p]);
    return box.extent();
}

float extentOf(const std::vector<vm::Float3>& points) {
    Box box;
    for (vm::Float3 p : points)
        box.take(p);
    return box.extent();
}
