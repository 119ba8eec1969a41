#include "model/cad-assembly.h"

#include "core/utf8.h"

namespace {
const std::string kNoGroup = "surface";
constexpr char32_t kLastControl = ' ', kDelete = 127;
} // namespace

std::string groupNameFrom(const std::string& name) {
    std::string out;
    for (size_t at = 0; at < name.size();) {
        const size_t from = at;
        const char32_t c = utf8::next(name, at);
        const bool replaced =
            c == utf8::kReplacement && name.compare(from, at - from, "\xEF\xBF\xBD");
        if (c <= kLastControl || c == kDelete || c == '#' || replaced)
            out += '_';
        else
            out.append(name, from, at - from);
    }
    return out;
}

int32_t CadAssembly::groupOf(const std::string& name) {
    if (named_ && name == lastName_) return lastGroup_;
    const std::string group = groupNameFrom(name);
    int32_t index = -1;
    if (!group.empty() && group != kNoGroup) {
        const auto [g, fresh] =
            groups_.try_emplace(group, static_cast<int32_t>(model_.groups.size()));
        if (fresh) model_.groups.push_back(std::make_unique<Model::Group>(group));
        index = g->second;
    }
    lastName_ = name;
    lastGroup_ = index;
    named_ = true;
    return index;
}

void CadAssembly::expect(size_t surfaces) {
    model_.patches.reserve(model_.patches.size() + surfaces);
    model_.points.reserve(model_.points.size() + 16 * surfaces);
    pool_.expect(16 * surfaces);
}

void CadAssembly::add(const std::vector<std::array<vm::Float3, 16>>& nets,
                      const std::string& name) {
    Model::Patch patch;
    patch.group = groupOf(name);
    for (const auto& net : nets) {
        model_.patches.push_back(patch);
        unmerged_.insert(unmerged_.end(), net.begin(), net.end());
        if (unmerged_.size() >= kMergedTogether) finish();
    }
}

void CadAssembly::finish() {
    indices_.resize(unmerged_.size());
    pool_.add(unmerged_.data(), unmerged_.size(), indices_.data());
    const size_t first = model_.patches.size() - unmerged_.size() / 16;
    for (size_t k = 0; k < indices_.size(); ++k)
        model_.patches[first + k / 16].indices[k % 16] = indices_[k];
    unmerged_.clear();
}

std::string otherSurfacesReason(const std::string& first, const std::string& readKinds,
                                const std::vector<std::pair<std::string, size_t>>& kinds) {
    size_t total = 0;
    std::string counted;
    for (const auto& [kind, count] : kinds) {
        total += count;
        counted += (counted.empty() ? "" : ", ") + std::to_string(count) + " " + kind;
    }
    return first + ": only " + readKinds + " are read, and the file holds " +
           std::to_string(total) + " surfaces of other kinds (" + counted + ")";
}
