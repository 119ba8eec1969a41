// The status bar's three parts. While editing: the point under the cursor, the cursor
// relative to the camera's target, and messages (the target, what a command did or why it
// could not). While flying: speed, altitude and throttle.
#pragma once

enum class StatusPart : int { Cursor = 0, CursorRelative = 1, Message = 2 };
inline constexpr int kStatusParts = 3;
