// The 32-bit parameter of shape-window tree items that stand for model elements:
// kind in bits 0–15, element index in bits 16–31.
#pragma once

#include <cstdint>

enum class TreeItemKind : uint16_t { Patch = 0, Group = 1, Locator = 2 };

struct TreeItemParam {
    TreeItemKind kind;
    uint16_t index;
};

inline uint32_t encodeTreeItemParam(TreeItemKind kind, uint32_t index) {
    return static_cast<uint32_t>(kind) | ((index & 0xFFFFu) << 16);
}

inline TreeItemParam decodeTreeItemParam(uint32_t param) {
    return {static_cast<TreeItemKind>(param & 0xFFFFu), static_cast<uint16_t>(param >> 16)};
}
