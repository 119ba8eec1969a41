// The 32-bit parameter of shape-window tree items that stand for model elements:
// kind in bits 0–3, element index in bits 4–31 (a model of more than 65,536 patches names
// each of them).
#pragma once

#include <cstdint>

// Folder: a folder of consecutive patch numbers (its index: the first number / the folder
// size) in a long list of patches.
enum class TreeItemKind : uint8_t { Patch = 0, Group = 1, Locator = 2, Folder = 3 };

struct TreeItemParam {
    TreeItemKind kind;
    uint32_t index;
};

inline constexpr uint32_t kTreeItemIndexLimit = 1u << 28;

inline uint32_t encodeTreeItemParam(TreeItemKind kind, uint32_t index) {
    return static_cast<uint32_t>(kind) | (index << 4);
}

inline TreeItemParam decodeTreeItemParam(uint32_t param) {
    return {static_cast<TreeItemKind>(param & 0xFu), param >> 4};
}
