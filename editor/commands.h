// The commands that change the document, as the windows call them.
#pragma once

// Enables Save and puts the modified mark "*" into the title.
void markModified();

// The toolbar's take-back button (command 2) is usable while the add tool has pending points.
void updateTakeBackButton();

// Palette "group" and "symetry": the selected patches into a new group or symmetry.
void groupCommand();
void symmetryCommand();
// Main window command 7: the selected patches and the points no other patch uses.
void deleteCommand();
// A click while "dissociate" is down: splits the hot point; true when the model changed.
bool dissociateCommand(int point);
// The second click while "joint" is down: merges the hovered point into the first one.
bool jointCommand();
