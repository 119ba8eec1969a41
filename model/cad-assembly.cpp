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

void CadAssembly::add(const std::array<vm::Float3, 16>& net, const std::string& name) {
    Model::Patch patch;
    for (size_t k = 0; k < 16; ++k)
        patch.indices[k] = pool_.add(net[k]);
    const std::string group = groupNameFrom(name);
    if (!group.empty() && group != kNoGroup) {
        const auto [g, fresh] =
            groups_.try_emplace(group, static_cast<int32_t>(model_.groups.size()));
        if (fresh) model_.groups.push_back(std::make_unique<Model::Group>(group));
        patch.group = g->second;
    }
    model_.patches.push_back(patch);
}
