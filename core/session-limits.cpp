#include "core/session-limits.h"

#include "core/editor-modes.h"

#include <algorithm>
#include <cmath>

namespace session {

int validView(int value) {
    return value >= 0 && value < kViewModeCount ? value : 0;
}
int validTool(int value) {
    return value >= 0 && value < kToolCount ? value : 0;
}
int validDistance(int value) {
    return value >= kMinDistance && value <= kMaxDistance ? value : 1;
}
float validOffset(float value) {
    return std::isfinite(value) && std::fabs(value) <= kMaxOffset ? value : 0.0f;
}
float validAngle(float value) {
    return std::isfinite(value) && std::fabs(value) <= kMaxAngle ? value : 0.0f;
}

int validWindowSize(int value, int def) {
    return value >= kMinWindowSize && value <= kMaxWindowSize ? value : def;
}

bool windowReachable(int x, int y, int w, int h, const ScreenArea& screen) {
    // At least a 60 × 30 corner of the client area's top left lies on the screen.
    const long right = std::min<long>(static_cast<long>(x) + std::min(w, 60), screen.right);
    const long bottom = std::min<long>(static_cast<long>(y) + std::min(h, 30), screen.bottom);
    const long left = std::max<long>(x, screen.left);
    const long top = std::max<long>(y, screen.top);
    return right - left >= std::min(w, 60) / 2 && bottom - top >= std::min(h, 30) / 2;
}

std::string validLoadedFile(const std::string& value, size_t bufferSize) {
    return bufferSize > 0 && value.size() >= bufferSize - 1 ? std::string() : value;
}

} // namespace session
