// What a remembered value may be. A value of session.ini outside its range (edited by hand,
// written by another program, or cut short) is taken as missing: the editor starts with
// that value's default instead of a crash, a lost camera or a window nobody can see.
#pragma once

#include <cstddef>
#include <string>

namespace session {

// The zoom step: the orbit radius is 5^distance, kept well inside the depth range.
inline constexpr int kMinDistance = -10; // a radius of 2e-8: a model 1e-6 across framed
inline constexpr int kMaxDistance = 20;
// Camera target coordinates and angles beyond these are not a place anybody worked at.
inline constexpr float kMaxOffset = 1e9f;
inline constexpr float kMaxAngle = 1e3f;

// The main window's client size.
inline constexpr int kMinWindowSize = 120;
inline constexpr int kMaxWindowSize = 16384;

int validView(int value);
int validTool(int value);
int validDistance(int value);
float validOffset(float value);
float validAngle(float value);

// A stored client width or height, or def when out of range.
int validWindowSize(int value, int def);

struct ScreenArea {
    int left, top, right, bottom; // the virtual screen, covering every monitor
};
// Whether a window whose client area starts at (x, y) with size w × h shows at least its top
// left corner area (the part a user grabs) on the screen.
bool windowReachable(int x, int y, int w, int h, const ScreenArea& screen);

// LoadedFile as read into its 260-character buffer: "" when it filled the buffer (it was
// longer and is cut, so it names another file).
std::string validLoadedFile(const std::string& value, size_t bufferSize);

} // namespace session
