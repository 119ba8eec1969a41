#include "ui/win32/shape-window.h"
#include "ui/win32/status-bar.h"

#include "core/listed-number.h"
#include "core/win32/key-state.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <optional>

#include "core/session-keys.h"
#include "core/win32/fatal-error.h"
#include "editor/command-status.h"
#include "editor/edit-session.h"
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
#include "ui/win32/session-settings.h"
#include "ui/win32/shape-tree-marks.h"
#include "ui/win32/shape-tree-view.h"
#include "ui/win32/shape-window-handles.h"
#include "ui/win32/shape-window-layout.h"
#include "ui/win32/tool-window-keys.h"
#include "ui/win32/window-dpi.h"
#include "ui/win32/window-object.h"
#include "ui/win32/window-places.h"

ShapeWindow::ShapeWindow(ShapeWindowHandles& handles, EditSession& session, Palette& palette)
    : h_(handles), session_(session), palette_(palette), editor_(session.state()) {}

Model& ShapeWindow::model() {
    return session_.document().model();
}

static HWND createControl(HWND parent, const char* cls, const char* text, DWORD style, int x, int y,
                          int w, int h, int id = 0) {
    return CreateWindowExA(0, cls, text, style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

// A box of the window asks for Return and Escape itself (the dialog keys would take them
// for the window's default buttons); Tab still moves on.
static LRESULT textBoxDialogCode(WNDPROC procedure, HWND box, WPARAM wParam, LPARAM lParam) {
    LRESULT code = CallWindowProcA(procedure, box, WM_GETDLGCODE, wParam, lParam);
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (message && (message->message == WM_KEYDOWN || message->message == WM_CHAR) &&
        (message->wParam == VK_RETURN || message->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
    return code;
}

int ShapeWindow::boxAxis(HWND box) {
    for (int axis = 0; axis < 3; ++axis)
        if (h_.coordinateBoxes[axis] == box) return axis;
    return 0;
}

LRESULT CALLBACK ShapeWindow::coordinateBoxProc(HWND box, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    return owner(box).onCoordinateBox(box, message, wParam, lParam);
}

LRESULT ShapeWindow::onCoordinateBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) return textBoxDialogCode(h_.editProcedure, box, wParam, lParam);
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
    return CallWindowProcA(h_.editProcedure, box, message, wParam, lParam);
}

LRESULT CALLBACK ShapeWindow::alphaSliderProc(HWND slider, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    return owner(slider).onAlphaSlider(slider, message, wParam, lParam);
}

// Escape while the thumb is held puts the patches' opacity back as it was at the press.
LRESULT ShapeWindow::onAlphaSlider(HWND slider, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE)
        return textBoxDialogCode(h_.sliderProcedure, slider, wParam, lParam);
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        if (session_.document().gestureUnderWay()) {
            session_.cancelGestures();
            showStatusMessage("Opacity change cancelled");
        }
        return 0;
    }
    return CallWindowProcA(h_.sliderProcedure, slider, message, wParam, lParam);
}

// Under the coordinate boxes: a transform of the chosen points (or the selected patches'
// points) typed as numbers, applied with Enter in a field or the Apply button. The controls
// are placed by placeShapeControls; Tab goes through them in reading order (creation order).
constexpr int kApplyButton = 3;
constexpr DWORD kTextBoxStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

LRESULT CALLBACK ShapeWindow::transformFieldProc(HWND field, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    return owner(field).onTransformField(field, message, wParam, lParam);
}

LRESULT ShapeWindow::onTransformField(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) return textBoxDialogCode(h_.editProcedure, field, wParam, lParam);
    if (selectAllOnCtrlA(field, message, wParam)) return 0;
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        applyTypedTransform();
        SendMessageA(field, EM_SETSEL, 0, -1);
        return 0;
    }
    if (message == WM_CHAR && wParam == '\r') return 0; // no beep
    return CallWindowProcA(h_.editProcedure, field, message, wParam, lParam);
}

void ShapeWindow::createTransformRow(HWND window) {
    ShapeWindowHandles& shape = h_;
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

void ShapeWindow::createControls(HWND window) {
    h_.tree = createControl(window, WC_TREEVIEWA, "Tree View",
                            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP |
                                TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                            0, 0, 0, 0);
    if (!h_.tree)
        fatalError("error", "tree view of the shape window", HRESULT_FROM_WIN32(GetLastError()));
    h_.treeView.pendingPointsItem = nullptr;
    h_.pointList = createControl(window, "ListBox", "Tree View",
                                 WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP |
                                     LBS_NOTIFY | LBS_NODATA | LBS_OWNERDRAWFIXED,
                                 0, 0, 0, 0);
    h_.listProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h_.pointList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pointListProc)));
    const char* labels[3] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i) {
        h_.coordinateLabels[i] = createControl(
            window, "Static", labels[i], WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, 0, 0, 0);
        h_.coordinateBoxes[i] = createControl(window, "Edit", "", kTextBoxStyle, 0, 0, 0, 0);
        h_.editProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            h_.coordinateBoxes[i], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(coordinateBoxProc)));
    }
    h_.alphaSlider = createControl(window, TRACKBAR_CLASSA, "alpha",
                                   WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | TBS_AUTOTICKS,
                                   0, 0, 0, 0, 1);
    h_.sliderProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        h_.alphaSlider, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(alphaSliderProc)));
    createTransformRow(window);
    fitShapeControlsToDpi(window, h_);
}

static ClickModifiers heldModifiers() {
    return {keyDown(VK_CONTROL), keyDown(VK_SHIFT)};
}

// A patch or group item selects it; a row or index item selects its patch; a locator or a
// pending point selects nothing.
void ShapeWindow::onTreeSelection(TreeItemHandle item) {
    if (h_.rebuilding || !editor_.modelReady || !item) return;
    std::optional<uint32_t> param = h_.treeView.itemParam(item);
    for (TreeItemHandle up = item; !param && up;) {
        up = h_.treeView.parentOf(up);
        param = up ? h_.treeView.itemParam(up) : std::nullopt;
    }
    if (!param) return;
    const TreeItemParam p = decodeTreeItemParam(*param);
    const Model& model = this->model();
    if (p.kind == TreeItemKind::Patch && p.index < model.patches.size()) {
        session_.clickPatch(static_cast<int>(p.index), heldModifiers(), "tree");
        editor_.coordinates = {CoordinateSubject::Kind::Patch, p.index};
        showSubjectCoordinates();
    } else if (p.kind == TreeItemKind::Group && p.index < model.groups.size()) {
        session_.clickGroup(static_cast<int>(p.index), heldModifiers());
    }
}

// One row of the point list, drawn from the model when it shows.
void ShapeWindow::drawPointRow(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    // Chosen points are marked as the list's own choice is.
    const bool selected = (item.itemState & ODS_SELECTED) != 0 ||
                          (editor_.choosingPoints && editor_.chosenPoints.contains(item.itemID));
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
void ShapeWindow::chooseListRow(size_t row) {
    const size_t pool = model().points.size();
    if (row >= pool) return; // the add tool's pending points
    const ClickModifiers modifiers = heldModifiers();
    if (modifiers.shift) {
        const size_t from = std::min(row, h_.pointListAnchor);
        const size_t to = std::max(row, h_.pointListAnchor);
        std::vector<uint32_t> rows(std::min(to, pool - 1) - from + 1);
        std::iota(rows.begin(), rows.end(), static_cast<uint32_t>(from));
        session_.choosePoints(rows, {false, true}, "list");
    } else {
        h_.pointListAnchor = row;
        session_.clickPoint(static_cast<int>(row), modifiers, "list");
    }
}

// While choosing points a click on a row is taken here, before the list's own single choice
// (which would tell a click twice, at the press and at the release, and never a click on the
// row it is on); the keys still move the list's choice and come as a change of it.
LRESULT CALLBACK ShapeWindow::pointListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    return owner(list).onPointList(list, message, wParam, lParam);
}

LRESULT ShapeWindow::onPointList(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) && editor_.choosingPoints &&
        editor_.modelReady) {
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
    return CallWindowProcA(h_.listProcedure, list, message, wParam, lParam);
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
void ShapeWindow::onTreeExpanding(const NMTREEVIEWA& notice) {
    if (!(notice.action & TVE_EXPAND) || !editor_.modelReady) return;
    const std::optional<uint32_t> param = h_.treeView.itemParam(notice.itemNew.hItem);
    if (!param) return;
    const TreeItemParam p = decodeTreeItemParam(*param);
    const std::string number = std::to_string(p.index);
    std::string made;
    if (p.kind == TreeItemKind::Folder) {
        RedrawOff quiet(h_.tree);
        if (fillFolder(h_.treeView, model(), notice.itemNew.hItem))
            made = "folder " + number + " filled";
    } else if (p.kind == TreeItemKind::Patch && expandPatchItem(h_.treeView, model(), p.index)) {
        made = "patch " + number + " expanded";
    }
    if (!made.empty()) OutputDebugStringA(("Tavrel tree: " + made + "\n").c_str());
}

void ShapeWindow::onAlpha(WPARAM wParam) {
    const int code = LOWORD(wParam);
    // A command ended the gesture while the thumb was held: the rest of it changes nothing.
    if (session_.opacityGestureCut()) {
        if (code == TB_ENDTRACK) session_.opacityThumbReleased();
        return;
    }
    session_.document().beginGesture();
    int position = (code == TB_THUMBPOSITION || code == TB_THUMBTRACK)
                       ? static_cast<short>(HIWORD(wParam))
                       : static_cast<int>(SendMessageA(h_.alphaSlider, TBM_GETPOS, 0, 0));
    const int maximum = static_cast<int>(SendMessageA(h_.alphaSlider, TBM_GETRANGEMAX, 0, 0));
    const float alpha =
        maximum != 0 ? static_cast<float>(position) / static_cast<float>(maximum) : 1.0f;
    bool changed = false;
    for (Model::Patch& patch : model().patches)
        if (patch.selected && patch.alpha != alpha) {
            patch.alpha = alpha;
            changed = true;
        }
    if (changed) markModified(session_.document());
    // TB_ENDTRACK ends every slider gesture, by mouse or by keyboard.
    if (code == TB_ENDTRACK) session_.document().endGesture("Opacity");
}

// The shape window's first size, before any is remembered: the tree and the point list side
// by side, and the coordinate boxes and the opacity slider under them.
constexpr int kShapeWindowWidth = 680, kShapeWindowHeight = 870;

HWND ShapeWindow::create() {
    // A control parent: Tab moves into and out of its controls as in a dialog.
    const int dpi = systemDpi(); // its monitor's until it shows
    return CreateWindowExA(WS_EX_OVERLAPPEDWINDOW | WS_EX_CONTROLPARENT, "shape-wnd", "Courbes",
                           WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, CW_USEDEFAULT,
                           CW_USEDEFAULT, scaledForDpi(kShapeWindowWidth, dpi),
                           scaledForDpi(kShapeWindowHeight, dpi), nullptr, nullptr,
                           GetModuleHandleA(nullptr), this);
}

ModelTree& ShapeWindow::tree() {
    return h_.treeView;
}

std::string ShapeWindow::pointListRowText(size_t row) {
    if (!editor_.modelReady || row >= model().points.size()) return {};
    return pointRowText(row, model().points[row]);
}

void ShapeWindow::rebuild() {
    if (!editor_.modelReady) return;
    RedrawOff quietTree(h_.tree), quietList(h_.pointList);
    h_.rebuilding = true;
    rebuildShapeOutline(h_.treeView, model());
    h_.rebuilding = false;
    rebuildUseCount(model(), editor_.useCount);
}

void ShapeWindow::holdListing(bool held) {
    h_.listingHeld = held;
}

void ShapeWindow::updatePointEntry(size_t index) {
    if (editor_.modelReady) updatePointRow(h_.treeView, model(), index);
}

void ShapeWindow::showPointCoordinates(size_t index) {
    if (!editor_.modelReady || index >= model().points.size()) return;
    editor_.coordinates = {CoordinateSubject::Kind::Point, index};
    showSubjectCoordinates();
}

void ShapeWindow::showSubjectCoordinates() {
    const std::optional<vm::Float3> p =
        editor_.modelReady ? subjectPosition(model(), editor_.coordinates) : std::nullopt;
    const float values[3] = {p ? p->x : 0, p ? p->y : 0, p ? p->z : 0};
    for (int i = 0; i < 3; ++i) {
        char text[250] = "";
        if (p) std::snprintf(text, sizeof text, "%s ", listedNumber(values[i]).c_str());
        // Setting the text clears the box's modified flag: only what the user types moves.
        if (h_.coordinateBoxes[i]) SetWindowTextA(h_.coordinateBoxes[i], text);
    }
}

void ShapeWindow::applyTypedCoordinate(int axis) {
    HWND box = h_.coordinateBoxes[axis];
    if (!box || !editor_.modelReady || !SendMessageA(box, EM_GETMODIFY, 0, 0)) return;
    SendMessageA(box, EM_SETMODIFY, FALSE, 0);
    Model& model = this->model();
    const CoordinateSubject subject = editor_.coordinates;
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
    size_t moved = 0;
    editDocument(session_, "Type coordinates", [&](Model& edited) {
        const auto move = [&](Model& m) { return moveSubjectAxis(m, subject, axis, *value); };
        moved = (editor_.liveJoins ? movedKeepingJoins(edited, move) : move(edited)).size();
        return moved > 0;
    });
    if (moved > 0)
        showStatusMessage(std::string("xyz").substr(static_cast<size_t>(axis), 1) + " " + text +
                          ": " + countOf(moved, "point", "points") + " moved");
    editor_.coordinates = subject;
    showSubjectCoordinates();
}

// What a typed transform did, for the debugger output: its kind, its numbers, its pivot and
// the points it moved.
static void reportTypedTransform(TypedTransform kind, const PointTransform& t,
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

void ShapeWindow::applyTypedTransform() {
    if (!editor_.modelReady) return;
    const ShapeWindowHandles& shape = h_;
    const std::vector<uint32_t> subject = transformSubject(editor_, model());
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
    Model& model = this->model();
    int refused = 0;
    const std::optional<PointTransform> t = typedTransform(
        kind, fields, editor_.chosenPivot.value_or(centreOf(model, subject)), &refused);
    if (!t) {
        // Refused as the coordinate boxes refuse: a sign, a word, nothing changed.
        MessageBeep(MB_ICONWARNING);
        setStatusText(StatusPart::Message,
                      "transform: \"" + fields[refused] + "\" is not a number");
        return;
    }
    if (kind == TypedTransform::Pivot) {
        editor_.chosenPivot = t->pivot;
        editor_.pivot = {t->pivot.x, t->pivot.y, t->pivot.z, 0};
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
    editDocument(session_, kTypedTransformNames[static_cast<int>(kind)], [&](Model& edited) {
        const auto transform = [&](Model& m) {
            std::vector<vm::Float3> from;
            from.reserve(subject.size());
            for (uint32_t i : subject)
                from.push_back(m.points[i]);
            // A turn takes the plane's points where it takes them; a move or a scale holds
            // them.
            const std::vector<uint8_t> plane =
                t->kind == PointTransform::Kind::Rotate ? std::vector<uint8_t>{} : onMirrorPlane(m);
            held = transformPoints(m, subject, from, *t, plane);
            return subject;
        };
        editor_.liveJoins ? movedKeepingJoins(edited, transform) : transform(edited);
        return true;
    });
    if (held > 0)
        setStatusText(StatusPart::Message,
                      std::to_string(held) + " points on the mirror plane stay on it");
    reportTypedTransform(kind, *t, subject);
    showSubjectCoordinates();
}

void ShapeWindow::showChosenRows() {
    HWND list = h_.pointList;
    if (!list || !editor_.choosingPoints) return;
    const std::vector<uint32_t> first = editor_.chosenPoints.indices(1);
    const LRESULT current = SendMessageA(list, LB_GETCURSEL, 0, 0);
    // The row the user is on stays if it is chosen; else the first chosen row shows.
    if (!first.empty() &&
        !(current >= 0 && editor_.chosenPoints.contains(static_cast<size_t>(current))))
        SendMessageA(list, LB_SETCURSEL, first.front(), 0);
    InvalidateRect(list, nullptr, FALSE);
}

void ShapeWindow::refreshPointViews() {
    if (!editor_.modelReady) return;
    const size_t count = model().points.size();
    if (h_.pointList) {
        if (h_.treeView.pointRowCount() != count) {
            const LRESULT chosen = SendMessageA(h_.pointList, LB_GETCURSEL, 0, 0);
            RedrawOff quiet(h_.pointList);
            h_.treeView.resetPointRows(count, [this](size_t row) { return pointListRowText(row); });
            if (chosen >= 0 && static_cast<size_t>(chosen) < count)
                SendMessageA(h_.pointList, LB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
        } else {
            InvalidateRect(h_.pointList, nullptr, TRUE); // rows draw from the model
        }
    }
    if (editor_.coordinates.kind == CoordinateSubject::Kind::Patch ||
        editor_.coordinates.kind == CoordinateSubject::Kind::Points)
        return showSubjectCoordinates(); // a patch chosen in the tree, or chosen points: the centre
    const LRESULT row = h_.pointList ? SendMessageA(h_.pointList, LB_GETCURSEL, 0, 0) : LB_ERR;
    editor_.coordinates = {};
    if (row >= 0 && static_cast<size_t>(row) < count)
        editor_.coordinates = {CoordinateSubject::Kind::Point, static_cast<size_t>(row)};
    showSubjectCoordinates();
}

// The tree and the point list follow the document: only the items of what a step changed
// are touched, with drawing left on for a step of one item or none (turning it back on makes
// the tree control measure every item, a tenth of a second at 10,000 patches under Wine);
// with drawing on, each item added or dropped costs as much, so larger steps and a tree made
// anew are shown with drawing off.
class ShapeWindow::View : public OutlineView {
  public:
    explicit View(ShapeWindow& window)
        : OutlineView(window.h_.treeView), window_(window), h_(window.h_), editor_(window.editor_) {
    }

    void documentChanged(const Document& document, const DocumentChange& change) override {
        if (!h_.listingHeld) OutlineView::documentChanged(document, change);
    }
    // The point dragged on its own: its row is chosen and its coordinates shown as it moves.
    void documentPreviewed(const Document&, const std::vector<uint32_t>& moved) override {
        if (moved.size() != 1 || static_cast<int>(moved.front()) != editor_.draggedPoint) return;
        const size_t index = moved.front();
        window_.showPointCoordinates(index);
        if (h_.pointList) SendMessageA(h_.pointList, LB_SETCURSEL, index, 0);
        window_.updatePointEntry(index);
    }

  protected:
    void beginShowing(bool quiet) override {
        if (quiet) {
            quietTree_.emplace(h_.tree);
            quietList_.emplace(h_.pointList);
        }
        h_.rebuilding = true;
    }
    void endShowing(const Document&, const DocumentChange& change) override {
        h_.rebuilding = false;
        quietTree_.reset();
        quietList_.reset();
        if (change.kind == DocumentChange::Kind::Replaced) {
            sessionSettings().writeString(session::kTool, "SelectedPatches", "");
            editor_.hotPoint = false;
        } else if (remade()) {
            window_.relistPendingPoints();
        }
        window_.refreshPointViews();
        window_.palette_.refreshSelection(); // group and ungroup follow the patches
    }

  private:
    ShapeWindow& window_;
    ShapeWindowHandles& h_;
    EditorState& editor_;
    std::optional<RedrawOff> quietTree_, quietList_;
};

std::unique_ptr<DocumentView> ShapeWindow::makeView() {
    return std::make_unique<View>(*this);
}

// The selected patches' numbers, or how many they are when the list would not fit on a
// debugger line (Wine cuts long ones short).
static std::string selectionReport(const Model& model) {
    constexpr size_t kListedAtMost = 64;
    const size_t count =
        static_cast<size_t>(std::count_if(model.patches.begin(), model.patches.end(),
                                          [](const Model::Patch& p) { return p.selected; }));
    return count > kListedAtMost ? std::to_string(count) + " patches" : selectedPatchesText(model);
}

void ShapeWindow::showSelection(const char* why) {
    const std::string text =
        "Tavrel selection (" + std::string(why) + "): " +
        (editor_.choosingPoints ? std::to_string(editor_.chosenPoints.size()) + " points"
                                : selectionReport(model())) +
        "\n";
    OutputDebugStringA(text.c_str());
    showStatusMessage(selectionSummary(model(), editor_));
    markSelectedPatchItems(h_, model());
    // The coordinate boxes show the chosen points' centre; typing there moves them all.
    if (editor_.choosingPoints) {
        showSubjectCoordinates();
        showChosenRows();
    }
    if (h_.pointList) InvalidateRect(h_.pointList, nullptr, FALSE);
}

void ShapeWindow::relistPendingPoints() {
    if (editor_.modelReady) ::relistPendingPoints(editor_.pendingPoints, h_.treeView);
}

// The control procedures find the window's object through their parent.
ShapeWindow& ShapeWindow::owner(HWND control) {
    return *reinterpret_cast<ShapeWindow*>(GetWindowLongPtrA(GetParent(control), GWLP_USERDATA));
}

LRESULT CALLBACK ShapeWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ShapeWindow* self = windowObject<ShapeWindow>(window, message, lParam);
    if (!self) {
        if (message == WM_GETMINMAXINFO)
            limitShapeWindowSize(window, *reinterpret_cast<MINMAXINFO*>(lParam));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->handle(window, message, wParam, lParam);
}

LRESULT ShapeWindow::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        createControls(window);
        return 0;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == h_.tree &&
            (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW))
            onTreeSelection(reinterpret_cast<const NMTREEVIEWA*>(lParam)->itemNew.hItem);
        if (header->hwndFrom == h_.tree &&
            (header->code == TVN_ITEMEXPANDINGA || header->code == TVN_ITEMEXPANDINGW))
            onTreeExpanding(*reinterpret_cast<const NMTREEVIEWA*>(lParam));
        if (header->hwndFrom == h_.tree && header->code == TVN_GETDISPINFOA)
            h_.treeView.fillDisplayText(reinterpret_cast<NMTVDISPINFOA*>(lParam)->item);
        if (header->hwndFrom == h_.tree && header->code == TVN_GETDISPINFOW)
            h_.treeView.fillDisplayText(reinterpret_cast<NMTVDISPINFOW*>(lParam)->item);
        if (header->hwndFrom == h_.tree &&
            (header->code == TVN_DELETEITEMA || header->code == TVN_DELETEITEMW))
            h_.treeView.forget(reinterpret_cast<const NMTREEVIEWA*>(lParam)->itemOld.hItem);
        return 0;
    }
    case kSyncShapeWindowMessage:
        h_.treeView.synchronise();
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
        if (item->CtlType != ODT_LISTBOX || item->hwndItem != h_.pointList)
            return DefWindowProcA(window, message, wParam, lParam);
        drawPointRow(*item);
        return TRUE;
    }
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == h_.transformApply && HIWORD(wParam) == BN_CLICKED)
            applyTypedTransform();
        for (int axis = 0; axis < 3; ++axis)
            if (reinterpret_cast<HWND>(lParam) == h_.coordinateBoxes[axis] &&
                HIWORD(wParam) == EN_KILLFOCUS)
                applyTypedCoordinate(axis);
        if (reinterpret_cast<HWND>(lParam) == h_.pointList && HIWORD(wParam) == LBN_SELCHANGE) {
            const LRESULT row = SendMessageA(h_.pointList, LB_GETCURSEL, 0, 0);
            if (row >= 0 && editor_.choosingPoints)
                chooseListRow(static_cast<size_t>(row));
            else if (row >= 0)
                showPointCoordinates(static_cast<size_t>(row));
        }
        return 0;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == h_.alphaSlider && editor_.modelReady) onAlpha(wParam);
        return 0;
    case WM_GETMINMAXINFO:
        limitShapeWindowSize(window, *reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_DPICHANGED:
        moveToSuggestedRect(window, lParam);
        fitShapeControlsToDpi(window, h_);
        return 0;
    default: {
        if (message == WM_SIZE) placeShapeControls(window, h_);
        // Moves are remembered; closing hides the window with everything in it (F7 shows
        // it again).
        LRESULT result = 0;
        if (handleToolWindowMessage(window, message, wParam, lParam, result)) return result;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    }
}
