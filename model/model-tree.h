// The shape window as the model operations see it: a tree of items (groups, patches, their
// rows and indices, locators, pending points) and the list of points, one row per pool
// point. Items show what the model holds; nothing is kept only in an item.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/handles.h"
#include "model/outline-items.h"

class ModelTree {
  public:
    virtual ~ModelTree() = default;

    // Inserts an item under parent (null: the top level), right after `after` (null: as the
    // last child). Items that stand for model elements carry a parameter.
    virtual TreeItemHandle insertItem(TreeItemHandle parent, TreeItemHandle after,
                                      const std::string& text, std::optional<uint32_t> param,
                                      bool hasChildren) = 0;
    // Deletes the item and everything below it.
    virtual void deleteItem(TreeItemHandle item) = 0;
    virtual void deleteAllItems() = 0;
    virtual TreeItemHandle parentOf(TreeItemHandle item) const = 0;
    virtual TreeItemHandle firstChildOf(TreeItemHandle item) const = 0;
    virtual TreeItemHandle nextSiblingOf(TreeItemHandle item) const = 0;
    virtual void setItemText(TreeItemHandle item, const std::string& text) = 0;
    virtual void setItemParam(TreeItemHandle item, uint32_t param) = 0;
    // The item's text; empty when there is no such item.
    virtual std::string itemText(TreeItemHandle item) const = 0;
    // The item's parameter; nothing for items without one (rows, indices, pending points).
    virtual std::optional<uint32_t> itemParam(TreeItemHandle item) const = 0;

    // The point list.
    virtual void clearPointRows() = 0;
    // Every row anew: count rows, row i showing text(i). A list that draws its rows from the
    // model when they show takes only the count.
    virtual void resetPointRows(size_t count, const std::function<std::string(size_t)>& text) {
        clearPointRows();
        for (size_t i = 0; i < count; ++i)
            appendPointRow(text(i));
    }
    virtual void appendPointRow(const std::string& text) = 0;
    virtual void setPointRow(size_t row, const std::string& text) = 0;
    // Rows that show points that moved; a list that draws from the model may just repaint.
    virtual void setPointRows(const std::vector<uint32_t>& rows,
                              const std::function<std::string(size_t)>& text) {
        for (uint32_t row : rows)
            if (row < pointRowCount()) setPointRow(row, text(row));
    }
    virtual void removeLastPointRow() = 0;
    virtual size_t pointRowCount() const = 0;

    // The top-level "<New Points>" item the add tool lists its clicks under, and under which
    // locators are placed; null until the first one is made.
    TreeItemHandle pendingPointsItem = nullptr;
    // The items of the model's patches, groups and locators.
    OutlineItems items;

    // A locator's item: last child of the pending-points item, or at the top level.
    TreeItemHandle insertLocatorItem(const std::string& name, uint32_t param) {
        return insertItem(pendingPointsItem, nullptr, name, param, false);
    }
    // A new "<New Points>" item at the end of the top level, which becomes the pending one.
    TreeItemHandle insertPendingPointsItem() {
        pendingPointsItem = insertItem(nullptr, nullptr, "<New Points>", std::nullopt, true);
        return pendingPointsItem;
    }
    TreeItemHandle insertPendingPoint(const std::string& label) {
        return insertItem(pendingPointsItem, nullptr, label, std::nullopt, false);
    }
    // The child at position of parent (null: the top level), or null.
    TreeItemHandle childAt(TreeItemHandle parent, size_t position) const {
        TreeItemHandle child = firstChildOf(parent);
        for (size_t i = 0; child && i < position; ++i)
            child = nextSiblingOf(child);
        return child;
    }
};
