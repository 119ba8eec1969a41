// Undo and redo: every change of the document is kept as what it changed (the entries of the
// pool, the patches, the groups and the locators that differ, before and after), never as a
// copy of the model, so that a long history of point drags on a large model stays small.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/vector-math.h"
#include "model/model.h"

// What the file and the view keep of a patch (its tree item is the shape window's business).
struct PatchRecord {
    std::array<int32_t, 16> indices{};
    int32_t group = -1;
    float alpha = 1.0f;
    bool selected = false;
    bool visible = true;
    bool operator==(const PatchRecord&) const = default;
};

struct GroupRecord {
    std::string name;
    bool symmetry = false;
    bool selected = false;
    bool visible = true;
    vm::Vec4 firstVector{}, secondVector{};
    bool operator==(const GroupRecord& o) const;
};

struct LocatorRecord {
    std::string name;
    vm::Vec4 position{};
    vm::Quat orientation{0, 0, 0, 1};
    bool operator==(const LocatorRecord& o) const;
};

// The document's content at one moment, taken before an operation so that the operation's
// change can be found afterwards. Only lives as long as the operation.
struct ModelCopy {
    std::vector<vm::Float3> points;
    std::vector<PatchRecord> patches;
    std::vector<GroupRecord> groups;
    std::vector<LocatorRecord> locators;
};
ModelCopy copyOf(const Model& model);

// One array's change: its sizes, and at each listed position the entry before and after
// (positions beyond one side's size hold a default entry on that side).
template <typename T> struct ArrayChange {
    size_t sizeBefore = 0, sizeAfter = 0;
    std::vector<uint32_t> at;
    std::vector<T> before, after;
    bool empty() const { return sizeBefore == sizeAfter && at.empty(); }
};

// One undoable step.
struct ModelChange {
    std::string name; // what the user did: "Delete", "Move point", …
    ArrayChange<vm::Float3> points;
    ArrayChange<PatchRecord> patches;
    // Groups and locators are few: when they changed, both whole lists are kept.
    bool groupsChanged = false, locatorsChanged = false;
    std::vector<GroupRecord> groupsBefore, groupsAfter;
    std::vector<LocatorRecord> locatorsBefore, locatorsAfter;

    bool empty() const {
        return points.empty() && patches.empty() && !groupsChanged && !locatorsChanged;
    }
    // Whether the groups or the locators changed: the shape window's tree is then made anew
    // (only the changed patches' items are touched otherwise).
    bool remakesOutline() const { return groupsChanged || locatorsChanged; }
    // The memory the step holds.
    size_t bytes() const;
};

// What differs between before and the model as it is now.
ModelChange changeBetween(const ModelCopy& before, const Model& after, std::string name);
// Point index of the model moved from where it was (a drag, typed coordinates) to where it
// is now.
ModelChange pointMove(const Model& model, uint32_t index, vm::Float3 from, std::string name);
// Several points (each once) moved from where they were.
ModelChange pointMoves(const Model& model, const std::vector<uint32_t>& indices,
                       const std::vector<vm::Float3>& from, std::string name);

// Puts the model back as it was before the change, or as it was after it. Only the content
// changes: the caller rebuilds the GPU copy, the use counts and the shape window.
void undoChange(const ModelChange& change, Model& model);
void redoChange(const ModelChange& change, Model& model);

// The steps done and undone, and where the document was last saved.
class History {
  public:
    // The oldest steps go beyond maxSteps, and while the steps hold more than maxBytes: a
    // long history of small edits, a short one of whole-model changes. The newest step is
    // always kept, whatever it holds.
    static constexpr size_t kDefaultMaxBytes = size_t{256} << 20;
    explicit History(size_t maxSteps = 1000, size_t maxBytes = kDefaultMaxBytes);

    // A new step after the current one; the undone steps after it go. An empty change is
    // not a step. Returns how many of the oldest steps went to keep within the bounds.
    size_t record(ModelChange change);
    // Applies the step before (after) the current position and returns it; null when there
    // is none.
    const ModelChange* undo(Model& model);
    const ModelChange* redo(Model& model);
    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    // The names of the steps undo and redo would take; empty when none.
    std::string undoName() const;
    std::string redoName() const;
    // The steps undo and redo would take; null when none.
    const ModelChange* nextUndo() const { return canUndo() ? &steps_[position_ - 1] : nullptr; }
    const ModelChange* nextRedo() const { return canRedo() ? &steps_[position_] : nullptr; }

    // A new document: no steps, saved as it is.
    void clear();
    // The document was written as it is now.
    void markSaved() { saved_ = static_cast<std::ptrdiff_t>(position_); }
    // The document as it is now was never written (an imported or recovered model).
    void markUnsaved() { saved_ = -1; }
    // Whether the document is as it was last written.
    bool atSaved() const { return saved_ == static_cast<std::ptrdiff_t>(position_); }

    size_t size() const { return steps_.size(); }
    size_t position() const { return position_; }
    size_t bytes() const { return bytes_; }

  private:
    void dropOldest();

    std::deque<ModelChange> steps_;
    size_t position_ = 0; // steps before it are done, from it on undone
    std::ptrdiff_t saved_ = 0;
    size_t bytes_ = 0;
    size_t maxSteps_, maxBytes_;
};
