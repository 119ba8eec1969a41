#include "model/memory-tree.h"

#include <algorithm>

std::vector<TreeItemHandle>& MemoryTree::siblingsOf(TreeItemHandle parent) {
    return parent ? items_.at(parent).children : topLevel_;
}

const std::vector<TreeItemHandle>& MemoryTree::childrenOf(TreeItemHandle parent) const {
    static const std::vector<TreeItemHandle> none;
    if (!parent) return topLevel_;
    auto it = items_.find(parent);
    return it == items_.end() ? none : it->second.children;
}

TreeItemHandle MemoryTree::insertItem(TreeItemHandle parent, TreeItemHandle after,
                                      const std::string& text, std::optional<uint32_t> param,
                                      bool) {
    if (parent && !contains(parent)) return nullptr;
    auto handle = reinterpret_cast<TreeItemHandle>(++next_);
    items_[handle] = Item{parent, text, param, {}};
    std::vector<TreeItemHandle>& siblings = siblingsOf(parent);
    auto at = std::find(siblings.begin(), siblings.end(), after);
    siblings.insert(at == siblings.end() ? at : at + 1, handle);
    return handle;
}

void MemoryTree::deleteItem(TreeItemHandle item) {
    auto it = items_.find(item);
    if (it == items_.end()) return;
    const std::vector<TreeItemHandle> children = it->second.children;
    for (TreeItemHandle child : children)
        deleteItem(child);
    std::vector<TreeItemHandle>& siblings = siblingsOf(items_.at(item).parent);
    siblings.erase(std::find(siblings.begin(), siblings.end(), item));
    items_.erase(item);
    if (pendingPointsItem == item) pendingPointsItem = nullptr;
}

void MemoryTree::deleteAllItems() {
    items_.clear();
    topLevel_.clear();
    pendingPointsItem = nullptr;
}

TreeItemHandle MemoryTree::parentOf(TreeItemHandle item) const {
    auto it = items_.find(item);
    return it == items_.end() ? nullptr : it->second.parent;
}

TreeItemHandle MemoryTree::firstChildOf(TreeItemHandle item) const {
    const std::vector<TreeItemHandle>& children = childrenOf(item);
    return children.empty() ? nullptr : children.front();
}

TreeItemHandle MemoryTree::nextSiblingOf(TreeItemHandle item) const {
    auto it = items_.find(item);
    if (it == items_.end()) return nullptr;
    const std::vector<TreeItemHandle>& siblings = childrenOf(it->second.parent);
    auto at = std::find(siblings.begin(), siblings.end(), item);
    return at + 1 < siblings.end() ? *(at + 1) : nullptr;
}

void MemoryTree::setItemText(TreeItemHandle item, const std::string& text) {
    auto it = items_.find(item);
    if (it != items_.end()) it->second.text = text;
}

void MemoryTree::setItemParam(TreeItemHandle item, uint32_t param) {
    auto it = items_.find(item);
    if (it != items_.end()) it->second.param = param;
}

std::string MemoryTree::itemText(TreeItemHandle item) const {
    auto it = items_.find(item);
    return it == items_.end() ? std::string() : it->second.text;
}

std::optional<uint32_t> MemoryTree::itemParam(TreeItemHandle item) const {
    auto it = items_.find(item);
    return it == items_.end() ? std::nullopt : it->second.param;
}

std::string MemoryTree::outline() const {
    std::string text;
    auto walk = [&](auto&& self, TreeItemHandle parent, int depth) -> void {
        for (TreeItemHandle child : childrenOf(parent)) {
            text += std::string(static_cast<size_t>(2 * depth), ' ') + itemText(child) + "\n";
            self(self, child, depth + 1);
        }
    };
    walk(walk, nullptr, 0);
    return text;
}
