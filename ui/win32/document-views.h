// What the windows show of the document, each kept up to date by the document itself: the
// main window's title and its Save and history buttons, the shape window, the GPU copy and
// the picks, and the recovery copy.
#pragma once

#include <memory>
#include <vector>

#include "editor/document.h"
#include "editor/edit-session.h"

class Palette;
class ShapeWindow;

// The views, in the order they are told (the model's own copies first, the chrome last),
// registered with document.
std::vector<std::unique_ptr<DocumentView>>
makeDocumentViews(Document& document, ShapeWindow& shapeWindow, Palette& palette);
// What follows the selection in the windows, registered with session.
std::unique_ptr<SessionView> makeSelectionView(EditSession& session, ShapeWindow& shapeWindow,
                                               Palette& palette);
