#include "editor/locators.h"

#include "model/tree-item-param.h"

size_t addLocator(Model& model, ModelTree& tree, vm::Vec4 position) {
    const size_t n = model.locators.size();
    Model::Locator locator;
    locator.name = firstUnusedLocatorName(model);
    locator.treeItem = tree.insertLocatorItem(
        locator.name, encodeTreeItemParam(TreeItemKind::Locator, static_cast<uint32_t>(n)));
    locator.position = position;
    locator.orientation = {0, 0, 0, 1};
    model.locators.push_back(locator);
    return n;
}
