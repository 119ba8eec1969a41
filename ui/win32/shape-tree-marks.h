// The patches selected (in the view, the tree or by a command) marked in the shape window's
// tree: their items bold and highlighted, the first of them scrolled into view.
#pragma once

void markSelectedPatchItems();
