// The file the program was started with (a double-click on a model, "Open with", or
// `tavrel.exe wing.obj`).
#pragma once

#include <string>

// The first argument of the command line, as the program names files (the ANSI code page;
// a name with characters outside it is given by its short form, which has none); "" when
// there is none.
std::string fileGivenOnCommandLine();
