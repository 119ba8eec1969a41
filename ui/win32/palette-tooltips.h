// The palette buttons' tooltips, from the command table: "Joint", "Play", "Group".
#pragma once

#include <windows.h>

#include <commctrl.h>

class Document;

// TBN_GETINFOTIP from the palette's toolbar, its tips naming document's steps: true when it
// was answered.
bool answerPaletteTip(NMHDR* header, const Document& document);
