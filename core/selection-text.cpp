#include "core/selection-text.h"

#include <cstdio>
#include <cstring>

std::vector<int> parseSelectedPatches(const std::string& text, size_t patchCount) {
    std::vector<int> result;
    if (text.empty()) return result;
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

std::string formatSelectedPatches(const std::vector<int>& indices) {
    std::string text;
    char buffer[16];
    for (size_t i = 0; i < indices.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, i == 0 ? "%d" : ";%d", indices[i]);
        text += buffer;
    }
    return text;
}
