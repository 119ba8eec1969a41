// Help → About: the program's name, version and origin, with its icon.
#pragma once

#include <windows.h>

// Modal over owner until it is answered.
void showAboutBox(HWND owner);
