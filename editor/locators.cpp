#include "editor/locators.h"

size_t addLocator(Model& model, vm::Vec4 position) {
    const size_t n = model.locators.size();
    Model::Locator locator;
    locator.name = firstUnusedLocatorName(model);
    locator.position = position;
    locator.orientation = {0, 0, 0, 1};
    model.locators.push_back(locator);
    return n;
}
