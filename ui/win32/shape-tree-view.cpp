#include "ui/win32/shape-tree-view.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ui/win32/records.h"

namespace {

HWND treeView() {
    return application.shape.tree;
}
HWND pointList() {
    return application.shape.pointList;
}

TreeItemHandle nextItem(TreeItemHandle item, UINT relation) {
    if (!treeView()) return nullptr;
    return reinterpret_cast<TreeItemHandle>(
        SendMessageA(treeView(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Changing the tree moves its selection; the editor's selection must not follow.
struct QuietTree {
    QuietTree() : was(application.shape.rebuilding) { application.shape.rebuilding = true; }
    ~QuietTree() { application.shape.rebuilding = was; }
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
    insert.item.pszText = LPSTR_TEXTCALLBACKA;
    insert.item.lParam = kNoParam;
    insert.item.cChildren = hasChildren ? 1 : 0;
    const auto item = reinterpret_cast<TreeItemHandle>(
        SendMessageA(treeView(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item) entries_[item] = {text, param ? static_cast<LPARAM>(*param) : kNoParam};
    return item;
}

void ShapeTreeView::fillDisplayText(TVITEMA& item) const {
    if (!(item.mask & TVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    const auto entry = entries_.find(reinterpret_cast<TreeItemHandle>(item.hItem));
    const std::string text = entry == entries_.end() ? std::string() : entry->second.text;
    const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    text.copy(item.pszText, n);
    item.pszText[n] = '\0';
}

void ShapeTreeView::fillDisplayText(TVITEMW& item) const {
    if (!(item.mask & TVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    const auto entry = entries_.find(reinterpret_cast<TreeItemHandle>(item.hItem));
    const std::string text = entry == entries_.end() ? std::string() : entry->second.text;
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                      item.pszText, item.cchTextMax - 1);
    item.pszText[n > 0 ? n : 0] = L'\0';
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
    entries_.clear();
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
    const auto entry = entries_.find(item);
    if (entry == entries_.end() || entry->second.text == text) return;
    entry->second.text = text;
    // One repaint for any number of changes, once the change is done.
    textsChanged_ = true;
    if (!syncPosted_ && application.shape.window)
        PostMessageA(static_cast<HWND>(application.shape.window), kSyncShapeWindowMessage, 0, 0);
    syncPosted_ = true;
}

void ShapeTreeView::setItemParam(TreeItemHandle item, uint32_t param) {
    const auto entry = entries_.find(item);
    if (entry != entries_.end()) entry->second.param = static_cast<LPARAM>(param);
}

std::string ShapeTreeView::itemText(TreeItemHandle item) const {
    const auto entry = entries_.find(item);
    return entry == entries_.end() ? std::string() : entry->second.text;
}

std::optional<uint32_t> ShapeTreeView::itemParam(TreeItemHandle item) const {
    const auto entry = entries_.find(item);
    if (entry == entries_.end() || entry->second.param == kNoParam) return std::nullopt;
    return static_cast<uint32_t>(entry->second.param);
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
    rowCount_ = 0;
}

void ShapeTreeView::resetPointRows(size_t count, const std::function<std::string(size_t)>&) {
    if (!pointList()) return;
    SendMessageA(pointList(), LB_RESETCONTENT, 0, 0);
    SendMessageA(pointList(), LB_SETCOUNT, count, 0);
    rowCount_ = count;
}

// Rows added or taken away one at a time (a delete may take many) change the list's count
// once, when the operation is done.
void ShapeTreeView::countChanged(size_t count) {
    if (count == rowCount_) return;
    rowCount_ = count;
    if (!syncPosted_ && application.shape.window)
        PostMessageA(static_cast<HWND>(application.shape.window), kSyncShapeWindowMessage, 0, 0);
    syncPosted_ = true;
}

void ShapeTreeView::appendPointRow(const std::string&) {
    if (pointList()) countChanged(pointRowCount() + 1);
}

void ShapeTreeView::setPointRow(size_t row, const std::string&) {
    if (!pointList() || row >= pointRowCount()) return;
    RECT r;
    if (SendMessageA(pointList(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(pointList(), &r, FALSE);
}

// Many moved points (a rotation) repaint the list once instead of row by row.
void ShapeTreeView::setPointRows(const std::vector<uint32_t>& rows,
                                 const std::function<std::string(size_t)>& text) {
    if (rows.size() <= 64) return ModelTree::setPointRows(rows, text);
    if (pointList()) InvalidateRect(pointList(), nullptr, FALSE);
}

void ShapeTreeView::removeLastPointRow() {
    const size_t count = pointRowCount();
    if (count) countChanged(count - 1);
}

size_t ShapeTreeView::pointRowCount() const {
    return pointList() ? rowCount_ : 0;
}

void ShapeTreeView::synchronise() {
    syncPosted_ = false;
    if (pointList()) {
        const LRESULT shown = SendMessageA(pointList(), LB_GETCOUNT, 0, 0);
        // A few rows more or fewer at the end (an added patch, a delete): added or removed
        // there, which keeps the list's selection and scroll position; else a new count.
        constexpr LRESULT kFew = 64;
        // Drawing off meanwhile: with it on, each row taken away repaints the list (4 ms a
        // row on a list of 90,000 under Wine).
        SendMessageA(pointList(), WM_SETREDRAW, FALSE, 0);
        const LRESULT wanted = static_cast<LRESULT>(rowCount_);
        if (shown >= 0 && shown > wanted && shown - wanted <= kFew) {
            for (LRESULT row = shown - 1; row >= wanted; --row)
                SendMessageA(pointList(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
        } else if (shown >= 0 && shown < wanted && wanted - shown <= kFew) {
            for (LRESULT row = shown; row < wanted; ++row)
                SendMessageA(pointList(), LB_INSERTSTRING, static_cast<WPARAM>(row), 0);
        } else if (shown != wanted) {
            setRowCount(rowCount_);
        }
        SendMessageA(pointList(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(pointList(), nullptr, FALSE);
    }
    if (textsChanged_) {
        textsChanged_ = false;
        if (treeView()) InvalidateRect(treeView(), nullptr, FALSE);
    }
}
