// What the model files need of the shape window's tree: locators have no name of their
// own, their name is the text of their tree item.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "model/handles.h"

class ModelTree {
  public:
    virtual ~ModelTree() = default;
    // Inserts an item for a locator (last child of the pending-points item, or at the top
    // level) with the given text and item parameter; returns its handle.
    virtual TreeItemHandle insertLocatorItem(const std::string& name, uint32_t param) = 0;
    // The item's text; empty when there is no such item.
    virtual std::string itemText(TreeItemHandle item) const = 0;
};

// A tree that only remembers texts: the command-line tool's, and the tests'.
class TextOnlyTree : public ModelTree {
  public:
    TreeItemHandle insertLocatorItem(const std::string& name, uint32_t param) override {
        ++count_;
        auto handle = reinterpret_cast<TreeItemHandle>(static_cast<uintptr_t>(count_));
        texts_[handle] = name;
        params_[handle] = param;
        return handle;
    }
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
    size_t count_ = 0;
    std::unordered_map<TreeItemHandle, std::string> texts_;
    std::unordered_map<TreeItemHandle, uint32_t> params_;
};
