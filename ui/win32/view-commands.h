// The camera's commands ("switchView", "center", "centerselect", O), framing, and the ship
// sent home: given the camera, the editor's state, the ship, the layout, the main window's
// handles and the flight.
#pragma once

class FlightSession;
class Vaisseau;
class WindowLayout;
struct EditorState;
struct MainWindowHandles;
struct OrbitCamera;

class ViewCommands {
  public:
    struct Parts {
        OrbitCamera& camera;
        EditorState& editor;
        Vaisseau& ship;
        WindowLayout& layout;
        const MainWindowHandles& main;
        FlightSession& flight;
    };
    explicit ViewCommands(const Parts& parts) : p_(parts) {}
    ViewCommands(const ViewCommands&) = delete;
    ViewCommands& operator=(const ViewCommands&) = delete;

    // Next view mode; entering mode 3 switches to the quad layout, mode 4 back to one view.
    void switchView();
    // O: the single view (view 0) between perspective and orthographic; the status bar says
    // which.
    void switchProjection();
    // The target back to the origin; nothing is remembered.
    void centerView();
    // The target to the middle of the selection box, remembered; nothing without a selection.
    void centerOnSelection();
    // Key ".": the camera frames the selection, or the whole model without one, so that it
    // fills about two thirds of the view (every view of the quad layout shares the camera).
    void frameModel();
    // The ship back where it started (position, orientation, velocity and rates), the
    // keyboard's controls centred and the throttle closed; in either mode.
    void returnHome();

  private:
    Parts p_;
};
