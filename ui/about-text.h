// What Help → About says: the program, its version, what it is and where the planet's
// picture comes from (UTF-8).
#pragma once

#include <string>

inline constexpr const char* kAboutTitle = "About Tavrel";

std::string aboutText();
