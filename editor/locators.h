// Locators: named positions with an orientation, placed with the locator tool.
#pragma once

#include "core/vector-math.h"
#include "model/model.h"

// Appends "Locator_<n>" (the first unused n) at position, unrotated; returns its index.
size_t addLocator(Model& model, vm::Vec4 position);
