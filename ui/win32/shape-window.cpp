#include "ui/win32/shape-window.h"
#include "ui/win32/status-bar.h"

#include "core/win32/key-state.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <optional>

#include "core/session-keys.h"
#include "core/win32/fatal-error.h"
#include "editor/command-status.h"
#include "editor/edit-xform.h"
#include "editor/outline-view.h"
#include "editor/pending-points.h"
#include "editor/point-selection.h"
#include "editor/point-transform.h"
#include "editor/selection.h"
#include "model/shape-outline.h"
#include "model/tree-item-param.h"
#include "ui/dpi-scale.h"
#include "ui/win32/commands.h"
#include "ui/win32/gesture-ends.h"
#include "ui/win32/palette.h"
#include "ui/win32/records.h"
#include "ui/win32/shape-tree-marks.h"
#include "ui/win32/shape-tree-view.h"
#include "ui/win32/shape-window-layout.h"
#include "ui/win32/tool-window-keys.h"
#include "ui/win32/window-dpi.h"
#include "ui/win32/window-places.h"

namespace {

ShapeTreeView& treeView() {
    return application.shape.treeView;
}

HWND createControl(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w,
                   int h, int id = 0) {
    return CreateWindowExA(0, cls, text, style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

// Enter in a coordinate box moves the subject there (leaving the box does too); Escape
// shows the coordinate again.
// (Subclassed through the window procedure: the common controls' subclass helpers need
// version 6, which the program does not ask for.)
WNDPROC& editProcedure = application.shape.editProcedure;

// A box of the window asks for Return and Escape itself (the dialog keys would take them
// for the window's default buttons); Tab still moves on.
LRESULT textBoxDialogCode(WNDPROC procedure, HWND box, WPARAM wParam, LPARAM lParam) {
    LRESULT code = CallWindowProcA(procedure, box, WM_GETDLGCODE, wParam, lParam);
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (message && (message->message == WM_KEYDOWN || message->message == WM_CHAR) &&
        (message->wParam == VK_RETURN || message->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
    return code;
}

int boxAxis(HWND box) {
    for (int axis = 0; axis < 3; ++axis)
        if (application.shape.coordinateBoxes[axis] == box) return axis;
    return 0;
}

LRESULT CALLBACK coordinateBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) return textBoxDialogCode(editProcedure, box, wParam, lParam);
    if (selectAllOnCtrlA(box, message, wParam)) return 0;
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        applyTypedCoordinate(boxAxis(box));
        SendMessageA(box, EM_SETSEL, 0, -1);
        return 0;
    }
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        SendMessageA(box, EM_SETMODIFY, FALSE, 0);
        showSubjectCoordinates();
        return 0;
    }
    if (message == WM_CHAR && (wParam == '\r' || wParam == 27)) return 0; // no beep
    return CallWindowProcA(editProcedure, box, message, wParam, lParam);
}

// Under the coordinate boxes: a transform of the chosen points (or the selected patches'
// points) typed as numbers, applied with Enter in a field or the Apply button. The controls
// are placed by placeShapeControls; Tab goes through them in reading order (creation order).
constexpr int kApplyButton = 3;
constexpr DWORD kTextBoxStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

LRESULT CALLBACK transformFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) return textBoxDialogCode(editProcedure, field, wParam, lParam);
    if (selectAllOnCtrlA(field, message, wParam)) return 0;
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        applyTypedTransform();
        SendMessageA(field, EM_SETSEL, 0, -1);
        return 0;
    }
    if (message == WM_CHAR && wParam == '\r') return 0; // no beep
    return CallWindowProcA(editProcedure, field, message, wParam, lParam);
}

void createTransformRow(HWND window) {
    ShapeWindowHandles& shape = application.shape;
    shape.transformChoice = createControl(
        window, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST,
        0, 0, 0, 0);
    for (const char* name : kTypedTransformNames)
        SendMessageA(shape.transformChoice, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageA(shape.transformChoice, CB_SETCURSEL, 0, 0);
    for (int i = 0; i < 3; ++i) {
        shape.transformFields[i] = createControl(window, "Edit", "", kTextBoxStyle, 0, 0, 0, 0);
        SetWindowLongPtrA(shape.transformFields[i], GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(transformFieldProc));
    }
    shape.transformApply = createControl(
        window, "Button", "Apply", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, kApplyButton);
}

LRESULT CALLBACK pointListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

void createControls(HWND window) {
    application.shape.tree =
        createControl(window, WC_TREEVIEWA, "Tree View",
                      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | TVS_HASBUTTONS |
                          TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                      0, 0, 0, 0);
    if (!application.shape.tree)
        fatalError("error", "tree view of the shape window", HRESULT_FROM_WIN32(GetLastError()));
    treeView().pendingPointsItem = nullptr;
    application.shape.pointList =
        createControl(window, "ListBox", "Tree View",
                      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                          LBS_NODATA | LBS_OWNERDRAWFIXED,
                      0, 0, 0, 0);
    application.shape.listProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        application.shape.pointList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pointListProc)));
    const char* labels[3] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i) {
        application.shape.coordinateLabels[i] = createControl(
            window, "Static", labels[i], WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, 0, 0, 0);
        application.shape.coordinateBoxes[i] =
            createControl(window, "Edit", "", kTextBoxStyle, 0, 0, 0, 0);
        editProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(application.shape.coordinateBoxes[i], GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(coordinateBoxProc)));
    }
    application.shape.alphaSlider = createControl(
        window, TRACKBAR_CLASSA, "alpha",
        WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | TBS_AUTOTICKS, 0, 0, 0, 0, 1);
    createTransformRow(window);
    fitShapeControlsToDpi(window);
}

ClickModifiers heldModifiers() {
    return {keyDown(VK_CONTROL), keyDown(VK_SHIFT)};
}

// A patch or group item selects it; a row or index item selects its patch; a locator or a
// pending point selects nothing.
void onTreeSelection(TreeItemHandle item) {
    if (application.shape.rebuilding || !editorState.currentEntity || !item) return;
    std::optional<uint32_t> param = treeView().itemParam(item);
    for (TreeItemHandle up = item; !param && up;) {
        up = treeView().parentOf(up);
        param = up ? treeView().itemParam(up) : std::nullopt;
    }
    if (!param) return;
    const TreeItemParam p = decodeTreeItemParam(*param);
    const Model& model = editedModel();
    if (p.kind == TreeItemKind::Patch && p.index < model.patches.size()) {
        application.session.clickPatch(static_cast<int>(p.index), heldModifiers(), "tree");
        editorState.coordinates = {CoordinateSubject::Kind::Patch, p.index};
        showSubjectCoordinates();
    } else if (p.kind == TreeItemKind::Group && p.index < model.groups.size()) {
        application.session.clickGroup(static_cast<int>(p.index), heldModifiers());
    }
}

// One row of the point list, drawn from the model when it shows.
void drawPointRow(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    // Chosen points are marked as the list's own choice is.
    const bool selected =
        (item.itemState & ODS_SELECTED) != 0 ||
        (editorState.choosingPoints && editorState.chosenPoints.contains(item.itemID));
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const std::string text = pointListRowText(item.itemID);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT r = item.rcItem;
    r.left += 2;
    DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &r,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

// While choosing points, a row of the point list chooses its point as a click in the view
// does: plain alone, Control toggles it, Shift adds the rows from the last one clicked.
void chooseListRow(size_t row) {
    const size_t pool = editedModel().points.size();
    if (row >= pool) return; // the add tool's pending points
    const ClickModifiers modifiers = heldModifiers();
    if (modifiers.shift) {
        const size_t from = std::min(row, application.shape.pointListAnchor);
        const size_t to = std::max(row, application.shape.pointListAnchor);
        std::vector<uint32_t> rows(std::min(to, pool - 1) - from + 1);
        std::iota(rows.begin(), rows.end(), static_cast<uint32_t>(from));
        application.session.choosePoints(rows, {false, true}, "list");
    } else {
        application.shape.pointListAnchor = row;
        application.session.clickPoint(static_cast<int>(row), modifiers, "list");
    }
}

// While choosing points a click on a row is taken here, before the list's own single choice
// (which would tell a click twice, at the press and at the release, and never a click on the
// row it is on); the keys still move the list's choice and come as a change of it.
LRESULT CALLBACK pointListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) && editorState.choosingPoints &&
        editorState.currentEntity) {
        // The row from the top one and the rows' height: LB_ITEMFROMPOINT gives only 16 bits
        // of it, and a pool has more points than that.
        const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
        const LRESULT height = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
        const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        const int y = static_cast<short>(HIWORD(lParam));
        if (top >= 0 && height > 0 && y >= 0) {
            const LRESULT row = top + y / height;
            if (row < count) {
                SetFocus(list); // the arrows go on from here
                SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
                chooseListRow(static_cast<size_t>(row));
            }
        }
        return 0;
    }
    return CallWindowProcA(application.shape.listProcedure, list, message, wParam, lParam);
}

// Bulk changes of a control with its drawing off, drawn once at the end.
struct RedrawOff {
    explicit RedrawOff(HWND w) : window(w) {
        if (window) SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawOff() {
        if (!window) return;
        SendMessageA(window, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(window, nullptr, TRUE);
    }
    HWND window;
};

// A patch item's rows and indices, and a folder's patch items, are made when it is first
// expanded.
void onTreeExpanding(const NMTREEVIEWA& notice) {
    if (!(notice.action & TVE_EXPAND) || !editorState.currentEntity) return;
    const std::optional<uint32_t> param = treeView().itemParam(notice.itemNew.hItem);
    if (!param) return;
    const TreeItemParam p = decodeTreeItemParam(*param);
    const std::string number = std::to_string(p.index);
    std::string made;
    if (p.kind == TreeItemKind::Folder) {
        RedrawOff quiet(application.shape.tree);
        if (fillFolder(treeView(), editedModel(), notice.itemNew.hItem))
            made = "folder " + number + " filled";
    } else if (p.kind == TreeItemKind::Patch &&
               expandPatchItem(treeView(), editedModel(), p.index)) {
        made = "patch " + number + " expanded";
    }
    if (!made.empty()) OutputDebugStringA(("Tavrel tree: " + made + "\n").c_str());
}

void onAlpha(WPARAM wParam) {
    const int code = LOWORD(wParam);
    // A command ended the gesture while the thumb was held: the rest of it changes nothing.
    if (application.opacityCut) {
        if (code == TB_ENDTRACK) application.opacityCut = false;
        return;
    }
    document().beginGesture();
    int position =
        (code == TB_THUMBPOSITION || code == TB_THUMBTRACK)
            ? static_cast<short>(HIWORD(wParam))
            : static_cast<int>(SendMessageA(application.shape.alphaSlider, TBM_GETPOS, 0, 0));
    const int maximum =
        static_cast<int>(SendMessageA(application.shape.alphaSlider, TBM_GETRANGEMAX, 0, 0));
    const float alpha =
        maximum != 0 ? static_cast<float>(position) / static_cast<float>(maximum) : 1.0f;
    bool changed = false;
    for (Model::Patch& patch : editedModel().patches)
        if (patch.selected && patch.alpha != alpha) {
            patch.alpha = alpha;
            changed = true;
        }
    if (changed) markModified();
    // TB_ENDTRACK ends every slider gesture, by mouse or by keyboard.
    if (code == TB_ENDTRACK) document().endGesture("Opacity");
}

} // namespace

// The shape window's first size, before any is remembered: the tree and the point list side
// by side, and the coordinate boxes and the opacity slider under them.
constexpr int kShapeWindowWidth = 680, kShapeWindowHeight = 870;

HWND createShapeWindow() {
    // A control parent: Tab moves into and out of its controls as in a dialog.
    const int dpi = systemDpi(); // its monitor's until it shows
    return CreateWindowExA(WS_EX_OVERLAPPEDWINDOW | WS_EX_CONTROLPARENT, "shape-wnd", "Courbes",
                           WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, CW_USEDEFAULT,
                           CW_USEDEFAULT, scaledForDpi(kShapeWindowWidth, dpi),
                           scaledForDpi(kShapeWindowHeight, dpi), nullptr, nullptr,
                           GetModuleHandleA(nullptr), &editorState);
}

ModelTree& shapeTree() {
    return treeView();
}

std::string pointListRowText(size_t row) {
    if (!editorState.currentEntity || row >= editedModel().points.size()) return {};
    return pointRowText(row, editedModel().points[row]);
}

void rebuildShapeWindow() {
    if (!editorState.currentEntity) return;
    RedrawOff quietTree(application.shape.tree), quietList(application.shape.pointList);
    application.shape.rebuilding = true;
    rebuildShapeOutline(treeView(), editedModel());
    application.shape.rebuilding = false;
    rebuildUseCount(editedModel(), editorState.useCount);
}

void holdShapeListing(bool held) {
    application.shape.listingHeld = held;
}

void updatePointEntry(size_t index) {
    if (editorState.currentEntity) updatePointRow(treeView(), editedModel(), index);
}

void showPointCoordinates(size_t index) {
    if (!editorState.currentEntity || index >= editedModel().points.size()) return;
    editorState.coordinates = {CoordinateSubject::Kind::Point, index};
    showSubjectCoordinates();
}

void showSubjectCoordinates() {
    const std::optional<vm::Float3> p =
        editorState.currentEntity ? subjectPosition(editedModel(), editorState.coordinates)
                                  : std::nullopt;
    const float values[3] = {p ? p->x : 0, p ? p->y : 0, p ? p->z : 0};
    for (int i = 0; i < 3; ++i) {
        char text[250] = "";
        if (p) std::snprintf(text, sizeof text, "%f ", static_cast<double>(values[i]));
        // Setting the text clears the box's modified flag: only what the user types moves.
        if (application.shape.coordinateBoxes[i])
            SetWindowTextA(application.shape.coordinateBoxes[i], text);
    }
}

void applyTypedCoordinate(int axis) {
    HWND box = application.shape.coordinateBoxes[axis];
    if (!box || !editorState.currentEntity || !SendMessageA(box, EM_GETMODIFY, 0, 0)) return;
    SendMessageA(box, EM_SETMODIFY, FALSE, 0);
    Model& model = editedModel();
    const CoordinateSubject subject = editorState.coordinates;
    const std::optional<vm::Float3> at = subjectPosition(model, subject);
    if (!at) return showSubjectCoordinates();
    char text[256] = {};
    GetWindowTextA(box, text, sizeof text);
    const std::optional<float> value = parseCoordinate(text);
    if (!value) {
        // Refused with a sign; the box shows the coordinate again and nothing changes.
        MessageBeep(MB_ICONWARNING);
        const std::string message = std::string("xyz").substr(static_cast<size_t>(axis), 1) +
                                    ": \"" + text + "\" is not a number";
        setStatusText(StatusPart::Message, message);
        return showSubjectCoordinates();
    }
    if (!moveWithinRange(model, subject, axis, *value)) {
        MessageBeep(MB_ICONWARNING);
        setStatusText(StatusPart::Message, std::string("xyz").substr(static_cast<size_t>(axis), 1) +
                                               ": \"" + text +
                                               "\" puts a point outside the working range "
                                               "(-1e9 to 1e9)");
        return showSubjectCoordinates();
    }
    // The document's views send the moved points to the GPU and show their rows.
    editDocument("Type coordinates", [&](Model& edited) {
        return !moveSubjectAxis(edited, subject, axis, *value).empty();
    });
    editorState.coordinates = subject;
    showSubjectCoordinates();
}

namespace {

// What a typed transform did, for the debugger output: its kind, its numbers, its pivot and
// the points it moved.
void reportTypedTransform(TypedTransform kind, const PointTransform& t,
                          const std::vector<uint32_t>& points) {
    char head[256];
    std::snprintf(head, sizeof head,
                  "Tavrel typed transform: %s offset %g %g %g angle %g factor %g about %g %g %g:",
                  kTypedTransformNames[static_cast<int>(kind)], static_cast<double>(t.offset.x),
                  static_cast<double>(t.offset.y), static_cast<double>(t.offset.z),
                  static_cast<double>(t.angle), static_cast<double>(t.factor),
                  static_cast<double>(t.pivot.x), static_cast<double>(t.pivot.y),
                  static_cast<double>(t.pivot.z));
    std::string line = head;
    for (uint32_t i : points)
        line += " " + std::to_string(i);
    OutputDebugStringA((line + "\n").c_str());
}

} // namespace

void applyTypedTransform() {
    if (!editorState.currentEntity) return;
    const ShapeWindowHandles& shape = application.shape;
    const std::vector<uint32_t> subject = transformSubject(editorState, editedModel());
    const bool settingPivot = SendMessageA(shape.transformChoice, CB_GETCURSEL, 0, 0) ==
                              static_cast<LRESULT>(TypedTransform::Pivot);
    if (subject.empty() && !settingPivot) {
        MessageBeep(MB_ICONWARNING);
        setStatusText(StatusPart::Message, "transform: choose points or patches first");
        return;
    }
    const LRESULT choice = SendMessageA(shape.transformChoice, CB_GETCURSEL, 0, 0);
    const TypedTransform kind = static_cast<TypedTransform>(
        choice >= 0 && choice < static_cast<LRESULT>(TypedTransform::Count) ? choice : 0);
    std::string fields[3];
    for (int i = 0; i < 3; ++i) {
        char text[256] = {};
        GetWindowTextA(shape.transformFields[i], text, sizeof text);
        fields[i] = text;
    }
    Model& model = editedModel();
    int refused = 0;
    const std::optional<PointTransform> t = typedTransform(
        kind, fields, editorState.chosenPivot.value_or(centreOf(model, subject)), &refused);
    if (!t) {
        // Refused as the coordinate boxes refuse: a sign, a word, nothing changed.
        MessageBeep(MB_ICONWARNING);
        setStatusText(StatusPart::Message,
                      "transform: \"" + fields[refused] + "\" is not a number");
        return;
    }
    if (kind == TypedTransform::Pivot) {
        editorState.chosenPivot = t->pivot;
        editorState.pivot = {t->pivot.x, t->pivot.y, t->pivot.z, 0};
        char text[128];
        std::snprintf(text, sizeof text, "pivot at %g %g %g", static_cast<double>(t->pivot.x),
                      static_cast<double>(t->pivot.y), static_cast<double>(t->pivot.z));
        setStatusText(StatusPart::Message, text);
        return;
    }
    if (!transformWithin(model, subject, *t, kWorkingRange)) {
        MessageBeep(MB_ICONWARNING);
        setStatusText(StatusPart::Message,
                      "transform: it puts a point outside the working range (-1e9 to 1e9)");
        return;
    }
    size_t held = 0;
    editDocument(kTypedTransformNames[static_cast<int>(kind)], [&](Model& edited) {
        std::vector<vm::Float3> from;
        from.reserve(subject.size());
        for (uint32_t i : subject)
            from.push_back(edited.points[i]);
        // A turn takes the plane's points where it takes them; a move or a scale holds them.
        const std::vector<uint8_t> plane = t->kind == PointTransform::Kind::Rotate
                                               ? std::vector<uint8_t>{}
                                               : onMirrorPlane(edited);
        held = transformPoints(edited, subject, from, *t, plane);
        return true;
    });
    if (held > 0)
        setStatusText(StatusPart::Message,
                      std::to_string(held) + " points on the mirror plane stay on it");
    reportTypedTransform(kind, *t, subject);
    showSubjectCoordinates();
}

void showChosenRows() {
    HWND list = application.shape.pointList;
    if (!list || !editorState.choosingPoints) return;
    const std::vector<uint32_t> first = editorState.chosenPoints.indices(1);
    const LRESULT current = SendMessageA(list, LB_GETCURSEL, 0, 0);
    // The row the user is on stays if it is chosen; else the first chosen row shows.
    if (!first.empty() &&
        !(current >= 0 && editorState.chosenPoints.contains(static_cast<size_t>(current))))
        SendMessageA(list, LB_SETCURSEL, first.front(), 0);
    InvalidateRect(list, nullptr, FALSE);
}

void refreshPointViews() {
    if (!editorState.currentEntity) return;
    const size_t count = editedModel().points.size();
    if (application.shape.pointList) {
        if (treeView().pointRowCount() != count) {
            const LRESULT chosen = SendMessageA(application.shape.pointList, LB_GETCURSEL, 0, 0);
            RedrawOff quiet(application.shape.pointList);
            treeView().resetPointRows(count, pointListRowText);
            if (chosen >= 0 && static_cast<size_t>(chosen) < count)
                SendMessageA(application.shape.pointList, LB_SETCURSEL, static_cast<WPARAM>(chosen),
                             0);
        } else {
            InvalidateRect(application.shape.pointList, nullptr, TRUE); // rows draw from the model
        }
    }
    if (editorState.coordinates.kind == CoordinateSubject::Kind::Patch ||
        editorState.coordinates.kind == CoordinateSubject::Kind::Points)
        return showSubjectCoordinates(); // a patch chosen in the tree, or chosen points: the centre
    const LRESULT row = application.shape.pointList
                            ? SendMessageA(application.shape.pointList, LB_GETCURSEL, 0, 0)
                            : LB_ERR;
    editorState.coordinates = {};
    if (row >= 0 && static_cast<size_t>(row) < count)
        editorState.coordinates = {CoordinateSubject::Kind::Point, static_cast<size_t>(row)};
    showSubjectCoordinates();
}

namespace {

// The tree and the point list follow the document: only the items of what a step changed
// are touched, with drawing left on for a step of one item or none (turning it back on makes
// the tree control measure every item, a tenth of a second at 10,000 patches under Wine);
// with drawing on, each item added or dropped costs as much, so larger steps and a tree made
// anew are shown with drawing off.
class ShapeWindowView : public OutlineView {
  public:
    ShapeWindowView() : OutlineView(treeView()) {}

    void documentChanged(const Document& document, const DocumentChange& change) override {
        if (!application.shape.listingHeld) OutlineView::documentChanged(document, change);
    }
    // The point dragged on its own: its row is chosen and its coordinates shown as it moves.
    void documentPreviewed(const Document&, const std::vector<uint32_t>& moved) override {
        if (moved.size() != 1 || static_cast<int>(moved.front()) != editorState.draggedPoint)
            return;
        const size_t index = moved.front();
        showPointCoordinates(index);
        if (application.shape.pointList)
            SendMessageA(application.shape.pointList, LB_SETCURSEL, index, 0);
        updatePointEntry(index);
    }

  protected:
    void beginShowing(bool quiet) override {
        if (quiet) {
            quietTree_.emplace(application.shape.tree);
            quietList_.emplace(application.shape.pointList);
        }
        application.shape.rebuilding = true;
    }
    void endShowing(const Document&, const DocumentChange& change) override {
        application.shape.rebuilding = false;
        quietTree_.reset();
        quietList_.reset();
        if (change.kind == DocumentChange::Kind::Replaced) {
            sessionSettings().writeString(session::kTool, "SelectedPatches", "");
            editorState.hotPoint = false;
        } else if (remade()) {
            relistPendingPoints();
        }
        refreshPointViews();
        refreshSelectionPanel(); // group and ungroup follow what the patches are in now
    }

  private:
    std::optional<RedrawOff> quietTree_, quietList_;
};

} // namespace

std::unique_ptr<DocumentView> makeShapeWindowView() {
    return std::make_unique<ShapeWindowView>();
}

namespace {

// The selected patches' numbers, or how many they are when the list would not fit on a
// debugger line (Wine cuts long ones short).
std::string selectionReport(const Model& model) {
    constexpr size_t kListedAtMost = 64;
    const size_t count =
        static_cast<size_t>(std::count_if(model.patches.begin(), model.patches.end(),
                                          [](const Model::Patch& p) { return p.selected; }));
    return count > kListedAtMost ? std::to_string(count) + " patches" : selectedPatchesText(model);
}

} // namespace

void showSelection(const char* why) {
    const std::string text =
        "Tavrel selection (" + std::string(why) + "): " +
        (editorState.choosingPoints ? std::to_string(editorState.chosenPoints.size()) + " points"
                                    : selectionReport(editedModel())) +
        "\n";
    OutputDebugStringA(text.c_str());
    showStatusMessage(selectionSummary(editedModel(), editorState));
    markSelectedPatchItems();
    // The coordinate boxes show the chosen points' centre; typing there moves them all.
    if (editorState.choosingPoints) {
        showSubjectCoordinates();
        showChosenRows();
    }
    if (application.shape.pointList) InvalidateRect(application.shape.pointList, nullptr, FALSE);
}

void relistPendingPoints() {
    if (editorState.currentEntity) ::relistPendingPoints(editorState.pendingPoints, treeView());
}

LRESULT CALLBACK shapeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        createControls(window);
        return 0;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == application.shape.tree &&
            (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW))
            onTreeSelection(reinterpret_cast<const NMTREEVIEWA*>(lParam)->itemNew.hItem);
        if (header->hwndFrom == application.shape.tree &&
            (header->code == TVN_ITEMEXPANDINGA || header->code == TVN_ITEMEXPANDINGW))
            onTreeExpanding(*reinterpret_cast<const NMTREEVIEWA*>(lParam));
        if (header->hwndFrom == application.shape.tree && header->code == TVN_GETDISPINFOA)
            treeView().fillDisplayText(reinterpret_cast<NMTVDISPINFOA*>(lParam)->item);
        if (header->hwndFrom == application.shape.tree && header->code == TVN_GETDISPINFOW)
            treeView().fillDisplayText(reinterpret_cast<NMTVDISPINFOW*>(lParam)->item);
        if (header->hwndFrom == application.shape.tree &&
            (header->code == TVN_DELETEITEMA || header->code == TVN_DELETEITEMW))
            treeView().forget(reinterpret_cast<const NMTREEVIEWA*>(lParam)->itemOld.hItem);
        return 0;
    }
    case kSyncShapeWindowMessage:
        treeView().synchronise();
        return 0;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_LISTBOX) return DefWindowProcA(window, message, wParam, lParam);
        // The height of a row of the list's font (the system font, as a plain list box uses).
        HDC dc = GetDC(window);
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        ReleaseDC(window, dc);
        measure->itemHeight = static_cast<UINT>(metrics.tmHeight > 0 ? metrics.tmHeight : 16);
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_LISTBOX || item->hwndItem != application.shape.pointList)
            return DefWindowProcA(window, message, wParam, lParam);
        drawPointRow(*item);
        return TRUE;
    }
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == application.shape.transformApply &&
            HIWORD(wParam) == BN_CLICKED)
            applyTypedTransform();
        for (int axis = 0; axis < 3; ++axis)
            if (reinterpret_cast<HWND>(lParam) == application.shape.coordinateBoxes[axis] &&
                HIWORD(wParam) == EN_KILLFOCUS)
                applyTypedCoordinate(axis);
        if (reinterpret_cast<HWND>(lParam) == application.shape.pointList &&
            HIWORD(wParam) == LBN_SELCHANGE) {
            const LRESULT row = SendMessageA(application.shape.pointList, LB_GETCURSEL, 0, 0);
            if (row >= 0 && editorState.choosingPoints)
                chooseListRow(static_cast<size_t>(row));
            else if (row >= 0)
                showPointCoordinates(static_cast<size_t>(row));
        }
        return 0;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == application.shape.alphaSlider &&
            editorState.currentEntity)
            onAlpha(wParam);
        return 0;
    case WM_GETMINMAXINFO:
        limitShapeWindowSize(window, *reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_DPICHANGED:
        moveToSuggestedRect(window, lParam);
        fitShapeControlsToDpi(window);
        return 0;
    default: {
        if (message == WM_SIZE) placeShapeControls(window);
        // Moves are remembered; closing hides the window with everything in it (F7 shows
        // it again).
        LRESULT result = 0;
        if (handleToolWindowMessage(window, message, wParam, lParam, result)) return result;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    }
}
