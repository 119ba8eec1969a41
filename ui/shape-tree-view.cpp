#include "ui/shape-tree-view.h"

#include <commctrl.h>

#include <vector>

#include "core/Application.h"

namespace {

HWND treeView() {
    return editorState.tree;
}
HWND pointList() {
    return editorState.pointList;
}

TreeItemHandle nextItem(TreeItemHandle item, UINT relation) {
    if (!treeView()) return nullptr;
    return reinterpret_cast<TreeItemHandle>(
        SendMessageA(treeView(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Changing the tree moves its selection; the editor's selection must not follow.
struct QuietTree {
    QuietTree() : was(editorState.rebuilding) { editorState.rebuilding = true; }
    ~QuietTree() { editorState.rebuilding = was; }
    bool was;
};

} // namespace

TreeItemHandle ShapeTreeView::insertItem(TreeItemHandle parent, TreeItemHandle after,
                                         const std::string& text, std::optional<uint32_t> param,
                                         bool hasChildren) {
    if (!treeView()) return nullptr;
    QuietTree quiet;
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = after ? after : TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.lParam = param ? static_cast<LPARAM>(*param) : kNoParam;
    insert.item.cChildren = hasChildren ? 1 : 0;
    return reinterpret_cast<TreeItemHandle>(
        SendMessageA(treeView(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void ShapeTreeView::deleteItem(TreeItemHandle item) {
    if (!treeView() || !item) return;
    QuietTree quiet;
    if (item == pendingPointsItem) pendingPointsItem = nullptr;
    SendMessageA(treeView(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

void ShapeTreeView::deleteAllItems() {
    pendingPointsItem = nullptr;
    if (!treeView()) return;
    QuietTree quiet;
    SendMessageA(treeView(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

TreeItemHandle ShapeTreeView::parentOf(TreeItemHandle item) const {
    return item ? nextItem(item, TVGN_PARENT) : nullptr;
}

TreeItemHandle ShapeTreeView::firstChildOf(TreeItemHandle item) const {
    return item ? nextItem(item, TVGN_CHILD) : nextItem(nullptr, TVGN_ROOT);
}

TreeItemHandle ShapeTreeView::nextSiblingOf(TreeItemHandle item) const {
    return item ? nextItem(item, TVGN_NEXT) : nullptr;
}

void ShapeTreeView::setItemText(TreeItemHandle item, const std::string& text) {
    if (!treeView() || !item) return;
    TVITEMA it = {};
    it.mask = TVIF_TEXT;
    it.hItem = item;
    it.pszText = const_cast<char*>(text.c_str());
    SendMessageA(treeView(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
}

void ShapeTreeView::setItemParam(TreeItemHandle item, uint32_t param) {
    if (!treeView() || !item) return;
    TVITEMA it = {};
    it.mask = TVIF_PARAM;
    it.hItem = item;
    it.lParam = static_cast<LPARAM>(param);
    SendMessageA(treeView(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
}

std::string ShapeTreeView::itemText(TreeItemHandle item) const {
    if (!treeView() || !item) return {};
    std::vector<char> text(4096);
    TVITEMA it = {};
    it.mask = TVIF_TEXT;
    it.hItem = item;
    it.pszText = text.data();
    it.cchTextMax = static_cast<int>(text.size());
    if (!SendMessageA(treeView(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return {};
    return it.pszText ? std::string(it.pszText) : std::string();
}

std::optional<uint32_t> ShapeTreeView::itemParam(TreeItemHandle item) const {
    if (!treeView() || !item) return std::nullopt;
    TVITEMA it = {};
    it.mask = TVIF_PARAM;
    it.hItem = item;
    if (!SendMessageA(treeView(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)) ||
        it.lParam == kNoParam)
        return std::nullopt;
    return static_cast<uint32_t>(it.lParam);
}

// The point list holds no texts: it has a row count (LBS_NODATA) and draws the rows it shows
// from the model (the shape window's WM_DRAWITEM), so a million points cost one message.
namespace {
void setRowCount(size_t count) {
    const LRESULT selected = SendMessageA(pointList(), LB_GETCURSEL, 0, 0);
    const LRESULT top = SendMessageA(pointList(), LB_GETTOPINDEX, 0, 0);
    SendMessageA(pointList(), LB_SETCOUNT, count, 0);
    if (selected >= 0 && static_cast<size_t>(selected) < count)
        SendMessageA(pointList(), LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    if (top > 0) SendMessageA(pointList(), LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}
} // namespace

void ShapeTreeView::clearPointRows() {
    if (pointList()) SendMessageA(pointList(), LB_RESETCONTENT, 0, 0);
}

void ShapeTreeView::resetPointRows(size_t count, const std::function<std::string(size_t)>&) {
    if (!pointList()) return;
    SendMessageA(pointList(), LB_RESETCONTENT, 0, 0);
    SendMessageA(pointList(), LB_SETCOUNT, count, 0);
}

void ShapeTreeView::appendPointRow(const std::string&) {
    if (pointList()) setRowCount(pointRowCount() + 1);
}

void ShapeTreeView::setPointRow(size_t row, const std::string&) {
    if (!pointList() || row >= pointRowCount()) return;
    RECT r;
    if (SendMessageA(pointList(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(pointList(), &r, FALSE);
}

void ShapeTreeView::removeLastPointRow() {
    const size_t count = pointRowCount();
    if (count) setRowCount(count - 1);
}

size_t ShapeTreeView::pointRowCount() const {
    if (!pointList()) return 0;
    const LRESULT count = SendMessageA(pointList(), LB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<size_t>(count) : 0;
}
