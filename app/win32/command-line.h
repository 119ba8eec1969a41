// The files the program was started with (a double-click on a model, "Open with", or
// `tavrel.exe wing.obj`).
#pragma once

#include <string>
#include <vector>

// The command line's arguments, as the program names files (the ANSI code page; a name with
// characters outside it is given by its short form, which has none).
std::vector<std::string> filesGivenOnCommandLine();
