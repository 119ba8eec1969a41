// The gestures under way in the windows end here, each recorded as one undoable step: what
// the view shows is then what a command, a question or a save works on. Escape gives them up.
#pragma once

#include <windows.h>

class EditSession;

// The rotate or translate drag under way is committed to the points as one undoable step
// (nothing when it has not changed anything), and the drag ends. Save, New, Open, closing,
// undo and redo call it first, so that what the view shows is what they work on.
void commitPreview(EditSession& session);
// The no-tool point drag under way (if any) ends, recorded as one step when it moved.
void finishPointDrag(EditSession& session);
// Every gesture under way becomes its step: a transform drag, a point drag, the opacity
// slider's (an undo, a redo or any command during a held thumb comes after it).
void finishGestures(EditSession& session);
// Escape: the drag, rubber band or add-tool clicks under way are given up, the model exactly
// as before them, no step recorded, and the mouse let go by the window that held it. Returns
// whether any was.
bool cancelGestures(EditSession& session, HWND dragWindow);
