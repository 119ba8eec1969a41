// The shape window "Courbes": tree of groups and patches, point list, coordinates, opacity.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "editor/document.h"
#include "model/model-tree.h"
#include "ui/win32/shape-window-handles.h"

class EditSession;
class Palette;
struct EditorState;

class ShapeWindow {
  public:
    // The window shows and changes the session's document; its controls are handles'.
    ShapeWindow(ShapeWindowHandles& handles, EditSession& session, Palette& palette);
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

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    class View;

    static ShapeWindow& owner(HWND control);
    static LRESULT CALLBACK coordinateBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK alphaSliderProc(HWND slider, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static LRESULT CALLBACK transformFieldProc(HWND field, UINT message, WPARAM wParam,
                                               LPARAM lParam);
    static LRESULT CALLBACK pointListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onCoordinateBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onAlphaSlider(HWND slider, UINT message, WPARAM wParam, LPARAM lParam);
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
    Palette& palette_;
    EditorState& editor_;
};
