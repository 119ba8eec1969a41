// The shape window "Courbes": tree of groups and patches, point list, coordinates, opacity.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "editor/document.h"
#include "model/model-tree.h"

HWND createShapeWindow();
// The tree and the point list of the shape window, as the model operations see them.
ModelTree& shapeTree();
// Empties the tree and the point list and fills them from the edited model.
void rebuildShapeWindow();
// While held, a new model is not listed (start-up shows the model first, then lists it with
// rebuildShapeWindow).
void holdShapeListing(bool held);
// Row i of the point list shows point i as it is now.
void updatePointEntry(size_t index);
// What row i of the point list shows ("%d %f %f %f "): the list draws it from the model.
std::string pointListRowText(size_t row);
// The three coordinate boxes show point's x, y and z; typing there moves that point.
void showPointCoordinates(size_t index);
// The boxes show what editorState.coordinates names (empty when nothing).
void showSubjectCoordinates();
// The text of box axis (0 x, 1 y, 2 z), typed by the user, moves the subject: one undoable
// step. Text that is not a finite number is refused with a beep and a status-bar message.
void applyTypedCoordinate(int axis);
// The transform row's transform (its choice and fields) applied to what the tools would move
// (the chosen points, or the selected patches' points) about their centre: one undoable
// step. Text that is not a number, or a result outside the working range, is refused with a
// beep and a status-bar message, as the coordinate boxes refuse it.
void applyTypedTransform();
// The point list and the coordinate boxes show the pool as it is now: one row per point,
// and the chosen row's coordinates (empty boxes when no row is chosen).
void refreshPointViews();

// The chosen points' rows marked in the point list, the first of them shown.
void showChosenRows();
// Writes the selection to the debugger output (what the view shows as highlighted); while
// choosing points, the coordinate boxes show the chosen points' centre.
void showSelection(const char* why);
// The document's view in the shape window: the tree and the list show each change (made
// anew only when the groups or the locators changed, or the model was replaced).
std::unique_ptr<DocumentView> makeShapeWindowView();
// The add tool's pending points listed again under a new "<New Points>" item, after the
// tree was made anew.
void relistPendingPoints();

LRESULT CALLBACK shapeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
