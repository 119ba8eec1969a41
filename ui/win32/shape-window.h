// The shape window "Courbes": tree of groups and patches, point list, coordinates, opacity.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "editor/document.h"
#include "model/model-tree.h"
#include "ui/win32/shape-tree-view.h"

class EditSession;
struct EditorState;

// The shape window's controls, and whether its tree is being filled (its notifications are
// then not the user's).
struct ShapeWindowHandles {
    HWND window = nullptr;
    HWND tree = nullptr;
    HWND pointList = nullptr;
    HWND alphaSlider = nullptr;
    HWND coordinateBoxes[3] = {};
    HWND coordinateLabels[3] = {}; // "x", "y", "z" beside the boxes
    // The transform row under the boxes: which transform, its three fields, and Apply.
    HWND transformChoice = nullptr;
    HWND transformFields[3] = {};
    HWND transformApply = nullptr;
    bool rebuilding = false;
    bool listingHeld = false;        // start-up lists the model after its first frame
    size_t pointListAnchor = 0;      // the row a Shift-click on the point list reaches from
    ShapeTreeView treeView;          // the tree and the list as the document's view sees them
    WNDPROC editProcedure = nullptr; // the coordinate boxes' own, before Enter was caught
    WNDPROC listProcedure = nullptr; // the point list's own, before clicks on chosen rows
};

class ShapeWindow {
  public:
    // The window shows and changes the session's document; its controls are handles'.
    ShapeWindow(ShapeWindowHandles& handles, EditSession& session);
    ShapeWindow(const ShapeWindow&) = delete;
    ShapeWindow& operator=(const ShapeWindow&) = delete;

    HWND create();
    // The tree and the point list as the model operations see them.
    ModelTree& tree();
    // The tree and the list made anew from the model, and the point uses counted.
    void rebuild();
    // While held, the document's changes are not listed (start-up lists once at the end).
    void holdListing(bool held);
    // A row of the point list: the point's index and coordinates.
    std::string pointListRowText(size_t row);
    // The selection changed: its report, the tree's marks, the coordinates of chosen points.
    void showSelection(const char* why);
    // The document's view that keeps the tree and the list in step with it.
    std::unique_ptr<DocumentView> makeView();
    // A command ended the opacity slider's gesture while its thumb was still held: the rest
    // of that gesture changes nothing.
    void cutOpacityGesture() { opacityCut_ = true; }

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    class View;

    static ShapeWindow& owner(HWND control);
    static LRESULT CALLBACK coordinateBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK transformFieldProc(HWND field, UINT message, WPARAM wParam,
                                               LPARAM lParam);
    static LRESULT CALLBACK pointListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onCoordinateBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onTransformField(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onPointList(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

    Model& model();
    int boxAxis(HWND box);
    void createTransformRow(HWND window);
    void createControls(HWND window);
    void onTreeSelection(TreeItemHandle item);
    void drawPointRow(const DRAWITEMSTRUCT& item);
    void chooseListRow(size_t row);
    void onTreeExpanding(const NMTREEVIEWA& notice);
    void onAlpha(WPARAM wParam);
    void updatePointEntry(size_t index);
    void showPointCoordinates(size_t index);
    void showSubjectCoordinates();
    void applyTypedCoordinate(int axis);
    void applyTypedTransform();
    void refreshPointViews();
    void showChosenRows();
    void relistPendingPoints();

    ShapeWindowHandles& h_;
    EditSession& session_;
    EditorState& editor_;
    bool opacityCut_ = false;
};
