#include "core/selection-text.h"

#include <cstdio>
#include <cstring>

std::vector<int> parseSelectedPatches(const std::string& text, size_t patchCount,
                                      size_t bufferSize) {
    std::vector<int> result;
    if (text.empty()) return result;
    if (bufferSize > 0 && text.size() >= bufferSize - 1) {
        const size_t lastSeparator = text.rfind(';');
        return lastSeparator == std::string::npos
                   ? result
                   : parseSelectedPatches(text.substr(0, lastSeparator), patchCount);
    }
    const char* p = text.c_str();
    for (;;) {
        int index = 0;
        if (std::sscanf(p, "%d", &index) == 1 && index >= 0 &&
            static_cast<size_t>(index) < patchCount)
            result.push_back(index);
        const char* next = std::strchr(p, ';');
        if (!next || next[1] == '\0') break;
        p = next + 1;
    }
    return result;
}

std::string formatSelectedPatches(const std::vector<int>& indices, size_t maxLength) {
    std::string text;
    char buffer[16];
    for (size_t i = 0; i < indices.size(); ++i) {
        const int n = std::snprintf(buffer, sizeof buffer, i == 0 ? "%d" : ";%d", indices[i]);
        if (text.size() + static_cast<size_t>(n) > maxLength) break;
        text += buffer;
    }
    return text;
}
