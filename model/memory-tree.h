// A shape window held in memory: the command-line tool's and the tests'.
#pragma once

#include <unordered_map>
#include <vector>

#include "model/model-tree.h"

class MemoryTree : public ModelTree {
  public:
    TreeItemHandle insertItem(TreeItemHandle parent, TreeItemHandle after, const std::string& text,
                              std::optional<uint32_t> param, bool hasChildren) override;
    void deleteItem(TreeItemHandle item) override;
    void deleteAllItems() override;
    TreeItemHandle parentOf(TreeItemHandle item) const override;
    TreeItemHandle firstChildOf(TreeItemHandle item) const override;
    TreeItemHandle nextSiblingOf(TreeItemHandle item) const override;
    void setItemText(TreeItemHandle item, const std::string& text) override;
    void setItemParam(TreeItemHandle item, uint32_t param) override;
    std::string itemText(TreeItemHandle item) const override;
    std::optional<uint32_t> itemParam(TreeItemHandle item) const override;

    void clearPointRows() override { rows.clear(); }
    void appendPointRow(const std::string& text) override { rows.push_back(text); }
    void setPointRow(size_t row, const std::string& text) override {
        if (row < rows.size()) rows[row] = text;
    }
    void removeLastPointRow() override {
        if (!rows.empty()) rows.pop_back();
    }
    size_t pointRowCount() const override { return rows.size(); }

    // Children in order; parent null is the top level.
    const std::vector<TreeItemHandle>& childrenOf(TreeItemHandle parent) const;
    bool contains(TreeItemHandle item) const { return items_.count(item) != 0; }
    size_t size() const { return items_.size(); }
    // The tree as indented lines "text" (two spaces per level), for comparisons in tests.
    std::string outline() const;

    std::vector<std::string> rows;

  private:
    struct Item {
        TreeItemHandle parent = nullptr;
        std::string text;
        std::optional<uint32_t> param;
        std::vector<TreeItemHandle> children;
    };
    std::vector<TreeItemHandle>& siblingsOf(TreeItemHandle parent);

    std::unordered_map<TreeItemHandle, Item> items_;
    std::vector<TreeItemHandle> topLevel_;
    uintptr_t next_ = 0;
};
