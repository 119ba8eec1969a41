// The reference picture on the screen: decoded when the session names one (a picture that
// cannot be read is said once and left out), drawn behind the model in its axis view when
// that view is orthographic, and chosen, moved, scaled, faded and removed from the keyboard.
// Every change is written to session.ini at once.
#pragma once

#include <windows.h>

#include "core/vector-math.h"

class Renderer;

// At start-up, once the renderer exists: the picture session.ini names, if any.
void loadReferencePicture();
// The picture behind what follows, when view (a view matrix) is its axis view and drawn
// orthographically.
void drawReferencePicture(Renderer& renderer, const vm::Mat4& view, bool orthographic);
// A picture for the current axis view (the front view when the view is none), or none.
void chooseReferencePicture();
void removeReferencePicture();
bool hasReferencePicture();
// The picture moved by a tenth of its width, grown or shrunk by a tenth, or faded (nothing
// without a picture).
enum class PictureChange { Left, Right, Up, Down, Larger, Smaller, MoreOpaque, LessOpaque };
void changeReferencePicture(PictureChange change);
// The device is going away.
void releaseReferencePicture();
