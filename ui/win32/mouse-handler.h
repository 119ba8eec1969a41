// The 3D view's mouse: every button and move message of the main window goes through here
// to picking, selection, the camera gestures and the tools.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include <windows.h>

#include "core/vector-math.h"
#include "editor/point-transform.h"

class EditSession;
class GpuModelCopy;
class InputTiming;
class Model;
class Palette;
class PickAccelerator;
class Renderer;
class Vaisseau;
class WindowLayout;
enum class StatusPart;
struct EditorState;
struct MainWindowHandles;
struct OrbitCamera;
struct PaletteHandles;
struct ShapeWindowHandles;
struct ViewportHit;

// The axis a drag of points is held to: X, Y or Z down, else free.
Axis heldAxis();

// The shown patch under the mouse pointer and where on it (its u and v), if any.
struct PatchSpot {
    uint32_t patch = 0;
    float u = 0.5f, v = 0.5f;
};

class ViewMouse {
  public:
    // What the mouse works on and reads: the session (document and tool), the camera, the
    // ship the model flies as, the picks and the model's GPU copy they follow, and the
    // windows whose buttons and rows a click reads or sets.
    struct Parts {
        EditSession& session;
        OrbitCamera& camera;
        const Vaisseau& ship;
        PickAccelerator& picks;
        const GpuModelCopy& copy;
        InputTiming& timing;
        const std::unique_ptr<Renderer>& renderer;
        const MainWindowHandles& main;
        const WindowLayout& layout;
        const PaletteHandles& palette;
        Palette& paletteWindow;
        const ShapeWindowHandles& shape;
    };
    explicit ViewMouse(const Parts& parts);

    // WM_MOUSEMOVE, WM_LBUTTONDOWN/UP, WM_RBUTTONDOWN/UP; false for any other message.
    bool handle(HWND mainWindow, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<PatchSpot> patchUnderPointer();
    // The edited model's points to the screen of a viewport of the given aspect (−1..1).
    vm::Mat4 worldViewProjectionOf(int viewport, float aspect);
    // What the view's context menu works on: the session and the view's window.
    EditSession& session() { return p_.session; }
    const MainWindowHandles& windows() const { return p_.main; }

  private:
    Model& model();
    float readoutSize();
    void setStatus(StatusPart part, vm::Vec4 v);
    vm::Mat4 entityWorld();
    bool paletteChecked(int id);
    bool pointButtonDown();
    vm::Mat4 viewProjectionOf(int viewport, float aspect);
    void hoverPick(const ViewportHit& hit);
    void showGroundPoint(vm::Vec4 g);
    std::optional<vm::Vec4> ground(const ViewportHit& hit);
    bool chooseDragPlane(const ViewportHit& hit);
    float angleAroundPivot(vm::Vec4 groundPoint);
    bool snapping();
    void beginSubjectDrag(bool aboutPivot);
    void stepSubjectDrag();
    float pixelsFromPivot(const ViewportHit& hit);
    std::optional<float> rotateAngleAt(const ViewportHit& hit);
    void movePoint(const ViewportHit& hit, int index);
    void setPaletteButton(int id, int state);
    bool pointButtonClick(const ViewportHit& hit);
    void toolPress(const ViewportHit& hit);
    void finishBand(const ViewportHit& hit);
    void trackMouse(const ViewportHit& hit, WPARAM wParam);
    void dragWithLeftButton(const ViewportHit& hit, WPARAM wParam, int mx, int my);

    const Parts p_;
    EditorState& editor_; // the session's
    // Ctrl held during a drag or an add-tool click (the message's MK_CONTROL): positions on
    // the grid, angles by 15°, scale factors by 0.1.
    bool controlHeld_ = false;
    // The model's size the readouts' precision follows, and when it was measured.
    struct Readout {
        uint64_t revision = UINT64_MAX;
        ULONGLONG at = 0;
        float size = 1;
    } readout_;
};
