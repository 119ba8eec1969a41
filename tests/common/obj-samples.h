// Model texts shared by the native and the Windows tests: both builds must read and write
// the same bytes.
#pragma once

#include <string>

#include "model/memory-tree.h"
#include "model/model.h"

namespace samples {

// One symmetry, one half-transparent patch in it, one locator.
inline const char* const kSymmetryExample =
    "cstype bezier\r\n"
    "deg 3\r\n"
    "\r\n"
    "v 1 -0.5 0.5\r\n"
    "v 0.5 -0.3536 1.354\r\n"
    "v 1e-07 1.23457e+08 -0.0001\r\n"
    "\r\n"
    "symmetry Sym_0 0 0 0 0 1.5 -2 0.25 1\r\n"
    "\r\n"
    "\r\n"
    "g Sym_0\r\n"
    "m 0.5\r\n"
    "surf 0.0 1.0 0.0 1.0 0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 2\r\n"
    "end\r\n"
    "locator\r\n"
    "Locator_0\r\n"
    "0 0.5 0 1\r\n"
    "0 0 0 1\r\n";

// The model kSymmetryExample holds, built by hand.
inline void buildSymmetryExample(Model& model, MemoryTree& tree) {
    model.points = {
        {1, -0.5f, 0.5f}, {0.5f, -0.3536f, 1.354f}, {0.0000001f, 123456789.0f, -0.0001f}};
    auto symmetry = std::make_unique<Model::Symmetry>("Sym_0");
    symmetry->secondVector = {1.5f, -2, 0.25f, 1};
    model.groups.push_back(std::move(symmetry));
    Model::Patch patch;
    for (int i = 0; i < 16; ++i)
        patch.indices[static_cast<size_t>(i)] = i % 3;
    patch.indices[15] = 2;
    patch.group = 0;
    patch.alpha = 0.5f;
    model.patches.push_back(patch);
    Model::Locator locator;
    locator.position = {0, 0.5f, 0, 1};
    tree.items.locators.resize(model.locators.size());
    tree.items.locators.push_back(tree.insertLocatorItem("Locator_0", 0x00000002u));
    model.locators.push_back(locator);
}

} // namespace samples
