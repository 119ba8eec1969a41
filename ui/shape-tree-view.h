// The shape window's tree view and list box behind the model operations' interface.
#pragma once

#include <windows.h>

#include "model/model-tree.h"

class ShapeTreeView : public ModelTree {
  public:
    // Items without a parameter (rows, indices, pending points) carry this one.
    static constexpr LPARAM kNoParam = -1;

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

    void clearPointRows() override;
    void resetPointRows(size_t count, const std::function<std::string(size_t)>& text) override;
    void appendPointRow(const std::string& text) override;
    void setPointRow(size_t row, const std::string& text) override;
    void removeLastPointRow() override;
    size_t pointRowCount() const override;
};
