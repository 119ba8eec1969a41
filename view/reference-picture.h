// A picture to model from: a drawing or photograph shown behind the model in one axis view
// (front, side or top), with its centre, width and opacity. It belongs to the session, not
// to the model: remembered in session.ini's [Reference] section, never saved in the model
// file nor exported.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/vector-math.h"

class SettingsFile;

struct ReferencePicture {
    // The views it can stand in, by the direction they look along: +z, +x, −y.
    enum class View { Front = 0, Side = 1, Top = 2 };
    std::string file; // "" when there is none
    View view = View::Front;
    // Its centre along the view's screen axes (right, up) from the origin, in model units.
    float centreX = 0, centreY = 0;
    float width = 2;      // in model units; the height follows the picture's proportions
    float opacity = 0.5f; // 0.05 … 1

    bool empty() const { return file.empty(); }
    // [Reference] File, View, X, Y, Width, Opacity; values out of range are brought in.
    void readSession(const SettingsFile& settings);
    void writeSession(const SettingsFile& settings) const;

    // Keyboard changes: moved by a tenth of its width, grown or shrunk by a tenth, made more
    // or less opaque by a tenth.
    void shiftBy(int right, int up);
    void scaleBy(int steps);
    void fadeBy(int steps);
};

// The axis view a view matrix looks along (within a hair), if any.
std::optional<ReferencePicture::View> axisViewOf(const vm::Mat4& view);

// One corner of the picture's quad: where it is, and where in the picture (0…1, v down).
struct PictureCorner {
    float x, y, z, u, v;
};
// The picture's two triangles in the plane through the origin facing the view, upright and
// unmirrored on the screen; imageAspect is its width over its height.
std::array<PictureCorner, 6> pictureQuad(const ReferencePicture& picture, const vm::Mat4& view,
                                         float imageAspect);
