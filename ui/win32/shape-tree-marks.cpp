#include "ui/win32/shape-tree-marks.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/model.h"
#include "ui/win32/shape-window-handles.h"

namespace {

// Marking an item is a message that looks the item up among all of them under Wine: past
// this many selected patches (a select-all of a large model) only the first are marked.
constexpr size_t kMarkedAtMost = 2000;
// How many marked patches the debugger line names.
constexpr size_t kReportedAtMost = 16;
constexpr UINT kMarkStates = TVIS_BOLD | TVIS_SELECTED;

// The patches marked now, by number: items belong to positions, so a patch's item is found
// again even after the tree changed.
std::vector<uint32_t> marked;

void setMarked(HWND tree, HTREEITEM item, bool on) {
    TVITEMA change = {};
    change.mask = TVIF_STATE;
    change.hItem = item;
    change.stateMask = kMarkStates;
    change.state = on ? kMarkStates : 0;
    SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change));
}

bool isMarked(HWND tree, HTREEITEM item) {
    return (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_BOLD) &
            TVIS_BOLD) != 0;
}

// What the tree shows marked, for the debugger output: the first few read back from the
// control (each a message), the rest counted.
void reportMarks(HWND tree, const OutlineItems& items) {
    std::string line = "Tavrel tree marks:";
    size_t count = 0;
    for (uint32_t patch : marked) {
        auto* item = static_cast<HTREEITEM>(items.patchItem(patch));
        if (!item || (count < kReportedAtMost && !isMarked(tree, item))) continue;
        if (++count <= kReportedAtMost) line += " " + std::to_string(patch);
    }
    if (count > kReportedAtMost) line += " (" + std::to_string(count) + " patches)";
    OutputDebugStringA((line + "\n").c_str());
}

} // namespace

void markSelectedPatchItems(const ShapeWindowHandles& shape, const Model& model) {
    HWND tree = shape.tree;
    if (!tree) return;
    const OutlineItems& items = shape.treeView.items;
    std::vector<uint32_t> selected;
    for (size_t i = 0; i < model.patches.size() && selected.size() < kMarkedAtMost; ++i)
        if (model.patches[i].selected) selected.push_back(static_cast<uint32_t>(i));
    for (uint32_t patch : marked)
        if (!std::binary_search(selected.begin(), selected.end(), patch))
            if (auto* item = static_cast<HTREEITEM>(items.patchItem(patch)))
                setMarked(tree, item, false);
    HTREEITEM first = nullptr;
    for (uint32_t patch : selected)
        if (auto* item = static_cast<HTREEITEM>(items.patchItem(patch))) {
            setMarked(tree, item, true);
            if (!first) first = item;
        }
    marked = std::move(selected);
    if (first) SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(first));
    reportMarks(tree, items);
}
