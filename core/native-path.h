// File names as the program holds them (narrow text: the system's ANSI code page on
// Windows, which the file dialogs and the settings file use; UTF-8 elsewhere) turned into
// paths the standard library opens and renames. Every step of reading, writing and
// replacing a file goes through this, so a name such as "modèle’s.obj" is the same file at
// each step.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

std::filesystem::path nativePath(const std::string& name);

// fopen of a native path (the wide _wfopen on Windows).
std::FILE* openFile(const std::filesystem::path& path, const char* mode);
