// What the windows show of the document, each kept up to date by the document itself: the
// main window's title and its Save and history buttons, the shape window, the GPU copy and
// the picks, and the recovery copy.
#pragma once

#include <memory>
#include <vector>

#include "editor/document.h"
#include "editor/edit-session.h"

class GpuModelCopy;
class Palette;
class ShapeWindow;
class ShownTiming;
struct MainWindowHandles;

// What the document's views keep up to date: the editor's title and use counts, the main
// window's title and buttons, the model's copy on the device, the import's timing, the shape
// window and the palette.
struct DocumentViewParts {
    EditorState& editor;
    const MainWindowHandles& main;
    GpuModelCopy& copy;
    ShownTiming& timing;
    ShapeWindow& shapeWindow;
    Palette& palette;
};
// The views, in the order they are told (the model's own copies first, the chrome last),
// registered with document.
std::vector<std::unique_ptr<DocumentView>> makeDocumentViews(Document& document,
                                                             const DocumentViewParts& parts);
// What follows the selection in the windows, registered with session.
std::unique_ptr<SessionView> makeSelectionView(EditSession& session, ShapeWindow& shapeWindow,
                                               Palette& palette);
