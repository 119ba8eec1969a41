// A right click that does not move opens the context menu; one that moves past the system's
// drag distance is a pan, and its release opens nothing.
#pragma once

class RightButtonClick {
  public:
    // How far the pointer may stray either way before it drags (SM_CXDRAG, SM_CYDRAG).
    RightButtonClick(int dragWidth, int dragHeight)
        : dragWidth_(dragWidth), dragHeight_(dragHeight) {}

    void pressedAt(int x, int y);
    // True once the press has strayed past the drag distance.
    bool movedTo(int x, int y);
    // Whether the release opens the context menu (a press that did not stray).
    bool releasedAsClick();

  private:
    int dragWidth_, dragHeight_;
    int startX_ = 0, startY_ = 0;
    bool pressed_ = false, dragged_ = false;
};
