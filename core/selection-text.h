// The remembered selection: patch indices written as "%d" then ";%d".
#pragma once

#include <string>
#include <vector>

// Indices named by text that lie in 0 … patchCount − 1, in text order. Tokens that are not
// numbers, and numbers out of range, are skipped. A text that fills a read buffer of
// bufferSize characters (it may have been cut) loses its last index.
std::vector<int> parseSelectedPatches(const std::string& text, size_t patchCount,
                                      size_t bufferSize = 0);
// "%d" then ";%d", up to the last whole index that fits in maxLength characters.
std::string formatSelectedPatches(const std::vector<int>& indices,
                                  size_t maxLength = std::string::npos);
