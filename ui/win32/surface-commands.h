// The commands that grow and refine the surface, each one step of the document: extrude
// (E), split (B, Shift+B, Ctrl+B), duplicate (Ctrl+D, Ctrl+Shift+D), copy and paste through
// the clipboard (Ctrl+C, Ctrl+V), mirror copy (M, with X, Y or Z held), the symmetry made
// real (Shift+M), smooth joins (T), and the joins display (G).
#pragma once

// The free sides whose four points are chosen grow patches; the new far rows are chosen.
void extrudeCommand();
// across: cut at a u (a new column of points), else at a v; both with four. The patch under
// the pointer is cut where the pointer is; without one, the selected patches in halves.
enum class SplitKind { AtU, AtV, Four };
void splitCommand(SplitKind kind);
void duplicateCommand(bool inPlace);
void copyCommand();
void pasteCommand();
// About the plane through the pivot set (the origin without one) across the held axis (x
// when none is held).
void mirrorCopyCommand();
void symmetryRealCommand();
void smoothJoinsCommand();
// The joins display on or off (remembered as joins); the status bar gives the largest angle
// of the selected patches' joins.
void switchJoinsDisplay();
// Says the selected patches' largest join angle in the status bar (with the display on).
void reportJoins();
