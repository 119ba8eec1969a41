// The shape window's tree view and list box behind the model operations' interface.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <unordered_map>

#include "model/model-tree.h"

// Item texts and parameters are kept here, not in the control: the tree view asks for a text
// when it draws an item (TVN_GETDISPINFO), so renumbering ten thousand patch items after a
// delete is ten thousand assignments and one repaint, not twenty thousand messages that each
// repaint the tree.
// Posted to the shape window after item texts or the number of points changed.
inline constexpr UINT kSyncShapeWindowMessage = WM_APP + 1;

class ShapeTreeView : public ModelTree {
  public:
    // Items without a parameter (rows, indices, pending points) carry this one.
    static constexpr LPARAM kNoParam = -1;

    // The shape window's controls the tree and the list stand for, and its flag that says
    // the tree is being changed by the program (its selection then is not the user's).
    struct Controls {
        const HWND& window;
        const HWND& tree;
        const HWND& pointList;
        bool& rebuilding;
    };
    explicit ShapeTreeView(const Controls& controls) : controls_(controls) {}

    // TVN_GETDISPINFO: the item's text into the control's buffer.
    void fillDisplayText(TVITEMA& item) const;
    void fillDisplayText(TVITEMW& item) const;
    // TVN_DELETEITEM: the control let go of an item.
    void forget(TreeItemHandle item) { entries_.erase(item); }
    // After an operation: the list takes its new row count and the tree is repainted if
    // texts changed (once, whatever the number of changes). Tests call it in place of the
    // posted message.
    void synchronise();

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
    void setPointRows(const std::vector<uint32_t>& rows,
                      const std::function<std::string(size_t)>& text) override;
    void removeLastPointRow() override;
    size_t pointRowCount() const override;

  private:
    struct Entry {
        std::string text;
        LPARAM param = kNoParam;
    };
    void countChanged(size_t count);

    Controls controls_;
    std::unordered_map<TreeItemHandle, Entry> entries_;
    bool textsChanged_ = false;
    bool syncPosted_ = false;
    size_t rowCount_ = 0; // the list's rows as the operations see them
};
