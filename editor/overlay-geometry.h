// The lines the tools draw over the model: selection brackets, the pending net, the camera
// sketch and the guides to the cursor.
#pragma once

#include <vector>

#include "core/vector-math.h"

namespace overlay {

inline constexpr vm::Vec4 kMarkerWhite{1, 1, 1, 0};
inline constexpr vm::Vec4 kMarkerBlue{0, 0, 1, 0};
inline constexpr vm::Vec4 kMarkerGreen{0, 1, 0, 0};
inline constexpr vm::Vec4 kMarkerChosen{1, 0.55f, 0, 0}; // points chosen for shaping
inline constexpr vm::Vec4 kBracket{0.990392f, 0.929804f, 0.963922f, 1.0f};
inline constexpr vm::Vec4 kGuideHot{0.2f, 1.0f, 0.1f, 1.0f};
inline constexpr vm::Vec4 kGrid{0.490392f, 0.429804f, 0.463922f, 1.0f};
inline constexpr vm::Vec4 kFrame{1, 1, 1, 1};
inline constexpr vm::Vec4 kFrustum{0, 1, 0, 1};
inline constexpr vm::Vec4 kNetInner{0.4f, 0.4f, 1.0f, 0};

struct Segment {
    vm::Vec4 from, to, colour;
};

// From each corner of the box, an eighth of the way (0.12) along each of its three edges.
std::vector<Segment> selectionBrackets(vm::Vec4 min, vm::Vec4 max);
// The net of a 4 × 4 patch filled row by row with the pending points so far; border lines in
// the bracket colour, inner ones in the net colour.
std::vector<Segment> pendingNet(const std::vector<vm::Vec4>& points);
// In the camera frame's coordinates: a grid on the target plane every D/10, its frame, the
// lines to the eye and two lines at the eye.
std::vector<Segment> cameraSketch(float radius, float aspect);
// P projected on the frame's vertical (a) and horizontal (b) planes through the line of sight.
void guideFeet(vm::Vec4 p, const vm::Mat4& frame, vm::Vec4* a, vm::Vec4* b);

} // namespace overlay
