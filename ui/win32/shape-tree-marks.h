// The patches selected (in the view, the tree or by a command) marked in the shape window's
// tree: their items bold and highlighted, the first of them scrolled into view.
#pragma once

class Model;
struct ShapeWindowHandles;

// The marks follow the selection of model in shape's tree.
void markSelectedPatchItems(const ShapeWindowHandles& shape, const Model& model);
