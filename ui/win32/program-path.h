// A file name from the shell (the command line, a drop) as the program names files: the ANSI
// code page, or the file's short form when some character has no place in it.
#pragma once

#include <string>

// "" for an empty name; "?" when no form of it can be written in the code page.
std::string programPath(const std::wstring& wide);
// The full path of a name relative to the working folder (the name itself when too long).
std::string fullPathOf(const std::string& path);
