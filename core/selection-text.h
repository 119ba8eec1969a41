// The remembered selection: patch indices written as "%d" then ";%d".
#pragma once

#include <string>
#include <vector>

// Indices named by text that lie in 0 … patchCount − 1, in text order. Tokens that are not
// numbers, and numbers out of range, are skipped.
std::vector<int> parseSelectedPatches(const std::string& text, size_t patchCount);
std::string formatSelectedPatches(const std::vector<int>& indices);
