#include "ui/win32/shape-tree-view.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

TreeItemHandle nextItem(HWND tree, TreeItemHandle item, UINT relation) {
    if (!tree) return nullptr;
    return reinterpret_cast<TreeItemHandle>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Changing the tree moves its selection; the editor's selection must not follow.
struct QuietTree {
    explicit QuietTree(bool& rebuilding) : flag(rebuilding), was(rebuilding) { flag = true; }
    ~QuietTree() { flag = was; }
    bool& flag;
    bool was;
};

} // namespace

TreeItemHandle ShapeTreeView::insertItem(TreeItemHandle parent, TreeItemHandle after,
                                         const std::string& text, std::optional<uint32_t> param,
                                         bool hasChildren) {
    if (!controls_.tree) return nullptr;
    QuietTree quiet(controls_.rebuilding);
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = after ? after : TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = LPSTR_TEXTCALLBACKA;
    insert.item.lParam = kNoParam;
    insert.item.cChildren = hasChildren ? 1 : 0;
    const auto item = reinterpret_cast<TreeItemHandle>(
        SendMessageA(controls_.tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
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
    if (!controls_.tree || !item) return;
    QuietTree quiet(controls_.rebuilding);
    if (item == pendingPointsItem) pendingPointsItem = nullptr;
    SendMessageA(controls_.tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

void ShapeTreeView::deleteAllItems() {
    pendingPointsItem = nullptr;
    if (!controls_.tree) return;
    QuietTree quiet(controls_.rebuilding);
    SendMessageA(controls_.tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    entries_.clear();
}

TreeItemHandle ShapeTreeView::parentOf(TreeItemHandle item) const {
    return item ? nextItem(controls_.tree, item, TVGN_PARENT) : nullptr;
}

TreeItemHandle ShapeTreeView::firstChildOf(TreeItemHandle item) const {
    return item ? nextItem(controls_.tree, item, TVGN_CHILD)
                : nextItem(controls_.tree, nullptr, TVGN_ROOT);
}

TreeItemHandle ShapeTreeView::nextSiblingOf(TreeItemHandle item) const {
    return item ? nextItem(controls_.tree, item, TVGN_NEXT) : nullptr;
}

void ShapeTreeView::setItemText(TreeItemHandle item, const std::string& text) {
    const auto entry = entries_.find(item);
    if (entry == entries_.end() || entry->second.text == text) return;
    entry->second.text = text;
    // One repaint for any number of changes, once the change is done.
    textsChanged_ = true;
    if (!syncPosted_ && controls_.window)
        PostMessageA(static_cast<HWND>(controls_.window), kSyncShapeWindowMessage, 0, 0);
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
void setRowCount(HWND list, size_t count) {
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    SendMessageA(list, LB_SETCOUNT, count, 0);
    if (selected >= 0 && static_cast<size_t>(selected) < count)
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    if (top > 0) SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}
} // namespace

void ShapeTreeView::clearPointRows() {
    if (controls_.pointList) SendMessageA(controls_.pointList, LB_RESETCONTENT, 0, 0);
    rowCount_ = 0;
}

void ShapeTreeView::resetPointRows(size_t count, const std::function<std::string(size_t)>&) {
    if (!controls_.pointList) return;
    SendMessageA(controls_.pointList, LB_RESETCONTENT, 0, 0);
    SendMessageA(controls_.pointList, LB_SETCOUNT, count, 0);
    rowCount_ = count;
}

// Rows added or taken away one at a time (a delete may take many) change the list's count
// once, when the operation is done.
void ShapeTreeView::countChanged(size_t count) {
    if (count == rowCount_) return;
    rowCount_ = count;
    if (!syncPosted_ && controls_.window)
        PostMessageA(static_cast<HWND>(controls_.window), kSyncShapeWindowMessage, 0, 0);
    syncPosted_ = true;
}

void ShapeTreeView::appendPointRow(const std::string&) {
    if (controls_.pointList) countChanged(pointRowCount() + 1);
}

void ShapeTreeView::setPointRow(size_t row, const std::string&) {
    if (!controls_.pointList || row >= pointRowCount()) return;
    RECT r;
    if (SendMessageA(controls_.pointList, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r)) !=
        LB_ERR)
        InvalidateRect(controls_.pointList, &r, FALSE);
}

// Many moved points (a rotation) repaint the list once instead of row by row.
void ShapeTreeView::setPointRows(const std::vector<uint32_t>& rows,
                                 const std::function<std::string(size_t)>& text) {
    if (rows.size() <= 64) return ModelTree::setPointRows(rows, text);
    if (controls_.pointList) InvalidateRect(controls_.pointList, nullptr, FALSE);
}

void ShapeTreeView::removeLastPointRow() {
    const size_t count = pointRowCount();
    if (count) countChanged(count - 1);
}

size_t ShapeTreeView::pointRowCount() const {
    return controls_.pointList ? rowCount_ : 0;
}

void ShapeTreeView::synchronise() {
    syncPosted_ = false;
    if (controls_.pointList) {
        const LRESULT shown = SendMessageA(controls_.pointList, LB_GETCOUNT, 0, 0);
        // A few rows more or fewer at the end (an added patch, a delete): added or removed
        // there, which keeps the list's selection and scroll position; else a new count.
        constexpr LRESULT kFew = 64;
        // Drawing off meanwhile: with it on, each row taken away repaints the list (4 ms a
        // row on a list of 90,000 under Wine).
        SendMessageA(controls_.pointList, WM_SETREDRAW, FALSE, 0);
        const LRESULT wanted = static_cast<LRESULT>(rowCount_);
        if (shown >= 0 && shown > wanted && shown - wanted <= kFew) {
            for (LRESULT row = shown - 1; row >= wanted; --row)
                SendMessageA(controls_.pointList, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
        } else if (shown >= 0 && shown < wanted && wanted - shown <= kFew) {
            for (LRESULT row = shown; row < wanted; ++row)
                SendMessageA(controls_.pointList, LB_INSERTSTRING, static_cast<WPARAM>(row), 0);
        } else if (shown != wanted) {
            setRowCount(controls_.pointList, rowCount_);
        }
        SendMessageA(controls_.pointList, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(controls_.pointList, nullptr, FALSE);
    }
    if (textsChanged_) {
        textsChanged_ = false;
        if (controls_.tree) InvalidateRect(controls_.tree, nullptr, FALSE);
    }
}
