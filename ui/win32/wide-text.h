// Text for the wide calls: the table's UTF-8 names, and file names as the program holds them
// (the ANSI code page).
#pragma once

#include <string>

std::wstring wideFromUtf8(const std::string& text);
std::wstring wideFromAnsi(const std::string& text);
std::string utf8FromWide(const std::wstring& text);
std::string ansiFromWide(const std::wstring& text);
