// The palette's camera commands ("switchView", "center", "centerselect"), framing, and the
// ship sent home.
#pragma once

class WindowLayout;

// Next view mode; entering mode 3 switches to the quad layout, mode 4 back to one view.
void switchView(WindowLayout& layout);
// O: the single view (view 0) between perspective and orthographic; the status bar says which.
void switchProjection();
// The target back to the origin; nothing is remembered.
void centerView();
// The target to the middle of the selection box, remembered; nothing without a selection.
void centerOnSelection();
// Key ".": the camera frames the selection, or the whole model without one, so that it
// fills about two thirds of the view (every view of the quad layout shares the camera).
void frameModel();

// The ship back where it started (position, orientation, velocity and rates), the keyboard's
// controls centred and the throttle closed; in either mode.
void returnHome();
