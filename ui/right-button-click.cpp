#include "ui/right-button-click.h"

#include <cstdlib>

void RightButtonClick::pressedAt(int x, int y) {
    startX_ = x;
    startY_ = y;
    pressed_ = true;
    dragged_ = false;
}

bool RightButtonClick::movedTo(int x, int y) {
    if (pressed_ && (std::abs(x - startX_) > dragWidth_ || std::abs(y - startY_) > dragHeight_))
        dragged_ = true;
    return dragged_;
}

bool RightButtonClick::releasedAsClick() {
    const bool opens = pressed_ && !dragged_;
    pressed_ = dragged_ = false;
    return opens;
}
