// The palette buttons' tooltips, from the command table: "Joint", "Play", "Group".
#pragma once

#include <windows.h>

#include <commctrl.h>

// TBN_GETINFOTIP from the palette's toolbar: true when it was answered.
bool answerPaletteTip(NMHDR* header);
