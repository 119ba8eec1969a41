// The underlined letters of a menu's items: with a menu open, typing one chooses its item.
// Each item gets the first letter of one of its words that no item above it took, else any
// free letter of its name, else none.
#pragma once

#include <string>
#include <vector>

// For each name, the position of its letter in the name, or −1.
std::vector<int> mnemonicPlaces(const std::vector<std::string>& names);
// The name with "&" before the letter at place (and every "&" of its own doubled).
std::string withMnemonic(const std::string& name, int place);
