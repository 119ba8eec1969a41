#include "editor/model-history.h"

#include <algorithm>
#include <cstring>

namespace {

// Bit for bit: 0 and −0 are written differently, so a change between them is a change.
template <typename T> bool sameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

bool same(const vm::Float3& a, const vm::Float3& b) {
    return sameBits(a, b);
}
bool same(const PatchRecord& a, const PatchRecord& b) {
    return a.indices == b.indices && a.group == b.group && sameBits(a.alpha, b.alpha) &&
           a.selected == b.selected && a.visible == b.visible;
}

template <typename T>
ArrayChange<T> arrayChange(const std::vector<T>& before, const std::vector<T>& after) {
    ArrayChange<T> change;
    change.sizeBefore = before.size();
    change.sizeAfter = after.size();
    const size_t common = std::min(before.size(), after.size());
    for (size_t i = 0; i < common; ++i)
        if (!same(before[i], after[i])) {
            change.at.push_back(static_cast<uint32_t>(i));
            change.before.push_back(before[i]);
            change.after.push_back(after[i]);
        }
    for (size_t i = common; i < std::max(before.size(), after.size()); ++i) {
        change.at.push_back(static_cast<uint32_t>(i));
        change.before.push_back(i < before.size() ? before[i] : T{});
        change.after.push_back(i < after.size() ? after[i] : T{});
    }
    return change;
}

template <typename T>
void applyArray(std::vector<T>& target, size_t size, const std::vector<uint32_t>& at,
                const std::vector<T>& values) {
    target.resize(size);
    for (size_t i = 0; i < at.size(); ++i)
        if (at[i] < size) target[at[i]] = values[i];
}

template <typename T> size_t arrayBytes(const ArrayChange<T>& change) {
    return change.at.capacity() * sizeof(uint32_t) +
           (change.before.capacity() + change.after.capacity()) * sizeof(T);
}

PatchRecord recordOf(const Model::Patch& patch) {
    return {patch.indices, patch.group, patch.alpha, patch.selected, patch.visible};
}

std::vector<PatchRecord> patchRecords(const Model& model) {
    std::vector<PatchRecord> records;
    records.reserve(model.patches.size());
    for (const Model::Patch& patch : model.patches)
        records.push_back(recordOf(patch));
    return records;
}

std::vector<GroupRecord> groupRecords(const Model& model) {
    std::vector<GroupRecord> records;
    for (const auto& group : model.groups) {
        GroupRecord r{group->name, false, group->selected, group->visible, {}, {}};
        if (const auto* symmetry = dynamic_cast<const Model::Symmetry*>(group.get())) {
            r.symmetry = true;
            r.firstVector = symmetry->firstVector;
            r.secondVector = symmetry->secondVector;
        }
        records.push_back(std::move(r));
    }
    return records;
}

std::vector<LocatorRecord> locatorRecords(const Model& model) {
    std::vector<LocatorRecord> records;
    for (const Model::Locator& locator : model.locators)
        records.push_back({locator.name, locator.position, locator.orientation});
    return records;
}

// The patches take the records; a patch that keeps its place keeps its tree item.
void applyPatches(Model& model, const ArrayChange<PatchRecord>& change, bool undo) {
    const size_t size = undo ? change.sizeBefore : change.sizeAfter;
    const std::vector<PatchRecord>& values = undo ? change.before : change.after;
    model.patches.resize(size);
    for (size_t i = 0; i < change.at.size(); ++i) {
        if (change.at[i] >= size) continue;
        Model::Patch& patch = model.patches[change.at[i]];
        const PatchRecord& r = values[i];
        patch.indices = r.indices;
        patch.group = r.group;
        patch.alpha = r.alpha;
        patch.selected = r.selected;
        patch.visible = r.visible;
    }
}

// Groups are made anew: their kind may differ, and their items come with the next rebuild.
void applyGroups(Model& model, const std::vector<GroupRecord>& records) {
    model.groups.clear();
    for (const GroupRecord& r : records) {
        std::unique_ptr<Model::Group> group;
        if (r.symmetry) {
            auto symmetry = std::make_unique<Model::Symmetry>(r.name);
            symmetry->firstVector = r.firstVector;
            symmetry->secondVector = r.secondVector;
            group = std::move(symmetry);
        } else {
            group = std::make_unique<Model::Group>(r.name);
        }
        group->selected = r.selected;
        group->visible = r.visible;
        model.groups.push_back(std::move(group));
    }
}

void applyLocators(Model& model, const std::vector<LocatorRecord>& records) {
    model.locators.clear();
    for (const LocatorRecord& r : records) {
        Model::Locator locator;
        locator.name = r.name;
        locator.position = r.position;
        locator.orientation = r.orientation;
        model.locators.push_back(std::move(locator));
    }
}

void apply(const ModelChange& change, Model& model, bool undo) {
    // An array the step did not change is left alone, whatever its sizes say.
    if (!change.points.empty())
        applyArray(model.points, undo ? change.points.sizeBefore : change.points.sizeAfter,
                   change.points.at, undo ? change.points.before : change.points.after);
    if (!change.patches.empty()) applyPatches(model, change.patches, undo);
    if (change.groupsChanged) applyGroups(model, undo ? change.groupsBefore : change.groupsAfter);
    if (change.locatorsChanged)
        applyLocators(model, undo ? change.locatorsBefore : change.locatorsAfter);
}

template <typename R> size_t recordBytes(const std::vector<R>& records) {
    size_t bytes = records.capacity() * sizeof(R);
    for (const R& r : records)
        bytes += r.name.capacity();
    return bytes;
}

} // namespace

bool GroupRecord::operator==(const GroupRecord& o) const {
    return name == o.name && symmetry == o.symmetry && selected == o.selected &&
           visible == o.visible && sameBits(firstVector, o.firstVector) &&
           sameBits(secondVector, o.secondVector);
}

bool LocatorRecord::operator==(const LocatorRecord& o) const {
    return name == o.name && sameBits(position, o.position) && sameBits(orientation, o.orientation);
}

ModelCopy copyOf(const Model& model) {
    return {model.points, patchRecords(model), groupRecords(model), locatorRecords(model)};
}

size_t ModelChange::bytes() const {
    return sizeof(ModelChange) + name.capacity() + arrayBytes(points) + arrayBytes(patches) +
           recordBytes(groupsBefore) + recordBytes(groupsAfter) + recordBytes(locatorsBefore) +
           recordBytes(locatorsAfter);
}

ModelChange changeBetween(const ModelCopy& before, const Model& after, std::string name) {
    ModelChange change;
    change.name = std::move(name);
    change.points = arrayChange(before.points, after.points);
    change.patches = arrayChange(before.patches, patchRecords(after));
    std::vector<GroupRecord> groups = groupRecords(after);
    if (groups != before.groups) {
        change.groupsChanged = true;
        change.groupsBefore = before.groups;
        change.groupsAfter = std::move(groups);
    }
    std::vector<LocatorRecord> locators = locatorRecords(after);
    if (locators != before.locators) {
        change.locatorsChanged = true;
        change.locatorsBefore = before.locators;
        change.locatorsAfter = std::move(locators);
    }
    return change;
}

ModelChange pointMove(const Model& model, uint32_t index, vm::Float3 from, std::string name) {
    return pointMoves(model, {index}, {from}, std::move(name));
}

ModelChange pointMoves(const Model& model, const std::vector<uint32_t>& indices,
                       const std::vector<vm::Float3>& from, std::string name) {
    ModelChange change;
    change.name = std::move(name);
    for (size_t k = 0; k < indices.size() && k < from.size(); ++k) {
        const uint32_t index = indices[k];
        if (index >= model.points.size() || sameBits(from[k], model.points[index])) continue;
        change.points.at.push_back(index);
        change.points.before.push_back(from[k]);
        change.points.after.push_back(model.points[index]);
    }
    if (!change.points.at.empty())
        change.points.sizeBefore = change.points.sizeAfter = model.points.size();
    return change;
}

void undoChange(const ModelChange& change, Model& model) {
    apply(change, model, true);
}

void redoChange(const ModelChange& change, Model& model) {
    apply(change, model, false);
}

History::History(size_t maxSteps, size_t maxBytes)
    : maxSteps_(std::max<size_t>(maxSteps, 1)), maxBytes_(maxBytes) {}

size_t History::record(ModelChange change) {
    if (change.empty()) return 0;
    if (saved_ > static_cast<std::ptrdiff_t>(position_)) saved_ = -1; // that state is gone
    while (steps_.size() > position_) {
        bytes_ -= steps_.back().bytes();
        steps_.pop_back();
    }
    change.points.at.shrink_to_fit();
    change.points.before.shrink_to_fit();
    change.points.after.shrink_to_fit();
    change.patches.at.shrink_to_fit();
    change.patches.before.shrink_to_fit();
    change.patches.after.shrink_to_fit();
    bytes_ += change.bytes();
    steps_.push_back(std::move(change));
    ++position_;
    size_t dropped = 0;
    for (; steps_.size() > maxSteps_ || (steps_.size() > 1 && bytes_ > maxBytes_); ++dropped)
        dropOldest();
    return dropped;
}

void History::dropOldest() {
    bytes_ -= steps_.front().bytes();
    steps_.pop_front();
    --position_;
    saved_ = saved_ > 0 ? saved_ - 1 : -1;
}

const ModelChange* History::undo(Model& model) {
    if (!canUndo()) return nullptr;
    const ModelChange& change = steps_[--position_];
    undoChange(change, model);
    return &change;
}

const ModelChange* History::redo(Model& model) {
    if (!canRedo()) return nullptr;
    const ModelChange& change = steps_[position_++];
    redoChange(change, model);
    return &change;
}

std::string History::undoName() const {
    return canUndo() ? steps_[position_ - 1].name : std::string();
}

std::string History::redoName() const {
    return canRedo() ? steps_[position_].name : std::string();
}

void History::clear() {
    steps_.clear();
    position_ = 0;
    saved_ = 0;
    bytes_ = 0;
}
