// What the model files need of the shape window's tree: locators have no name of their
// own, their name is the text of their tree item.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/handles.h"

class ModelTree {
  public:
    virtual ~ModelTree() = default;
    // Inserts an item for a locator (last child of the pending-points item, or at the top
    // level) with the given text and item parameter; returns its handle.
    virtual TreeItemHandle insertLocatorItem(const std::string& name, uint32_t param) = 0;
    // The item's text; empty when there is no such item.
    virtual std::string itemText(TreeItemHandle item) const = 0;

    // A new top-level "<New Points>" item, which becomes the pending-points item.
    virtual TreeItemHandle insertPendingPointsItem() = 0;
    // A pending point's label, as the last child of the pending-points item.
    virtual TreeItemHandle insertPendingPoint(const std::string& label) = 0;
    // Deletes the child at position of the pending-points item.
    virtual void removePendingPoint(size_t position) = 0;
};

// A tree that only remembers texts and parents: the command-line tool's, and the tests'.
class TextOnlyTree : public ModelTree {
  public:
    TreeItemHandle insertLocatorItem(const std::string& name, uint32_t param) override {
        return insert(pending_, name, param);
    }
    TreeItemHandle insertPendingPointsItem() override {
        pending_ = insert(nullptr, "<New Points>", 0);
        return pending_;
    }
    TreeItemHandle insertPendingPoint(const std::string& label) override {
        return insert(pending_, label, 0);
    }
    void removePendingPoint(size_t position) override {
        std::vector<TreeItemHandle> children = childrenOf(pending_);
        if (position >= children.size()) return;
        texts_.erase(children[position]);
        params_.erase(children[position]);
        parents_.erase(children[position]);
    }
    // Children in insertion order.
    std::vector<TreeItemHandle> childrenOf(TreeItemHandle parent) const {
        std::vector<TreeItemHandle> children;
        for (size_t i = 1; i <= count_; ++i) {
            auto handle = reinterpret_cast<TreeItemHandle>(static_cast<uintptr_t>(i));
            auto it = parents_.find(handle);
            if (it != parents_.end() && it->second == parent) children.push_back(handle);
        }
        return children;
    }
    TreeItemHandle pendingPointsItem() const { return pending_; }
    std::string itemText(TreeItemHandle item) const override {
        auto it = texts_.find(item);
        return it == texts_.end() ? std::string() : it->second;
    }
    uint32_t itemParam(TreeItemHandle item) const {
        auto it = params_.find(item);
        return it == params_.end() ? 0xFFFFFFFFu : it->second;
    }
    size_t size() const { return texts_.size(); }

  private:
    TreeItemHandle insert(TreeItemHandle parent, const std::string& text, uint32_t param) {
        auto handle = reinterpret_cast<TreeItemHandle>(static_cast<uintptr_t>(++count_));
        texts_[handle] = text;
        params_[handle] = param;
        parents_[handle] = parent;
        return handle;
    }

    TreeItemHandle pending_ = nullptr;
    std::unordered_map<TreeItemHandle, TreeItemHandle> parents_;
    size_t count_ = 0;
    std::unordered_map<TreeItemHandle, std::string> texts_;
    std::unordered_map<TreeItemHandle, uint32_t> params_;
};
