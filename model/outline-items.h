// The shape window's items of the model's elements, kept by the tree beside the model, never
// in it: patch i's item (it reads "patch i") and whether its rows of indices were made, each
// group's item and its folders, each locator's item. Items belong to positions, so an undo or
// redo that puts other records at a position keeps its item.
#pragma once

#include <cstddef>
#include <vector>

#include "model/handles.h"

struct OutlineItems {
    // A folder item holding consecutive patch numbers; its patch items are made when it is
    // first expanded.
    struct Folder {
        TreeItemHandle item = nullptr;
        bool filled = false;
    };
    struct Patch {
        TreeItemHandle item = nullptr;
        bool rows = false; // its rows of indices have been made (it was expanded)
    };
    struct Group {
        TreeItemHandle item = nullptr;
        std::vector<Folder> folders; // folder k: patches k·kFolderSize …
    };

    // Patch i's entry, made when missing.
    Patch& patch(size_t i) {
        if (patches.size() <= i) patches.resize(i + 1);
        return patches[i];
    }
    Group& group(size_t i) {
        if (groups.size() <= i) groups.resize(i + 1);
        return groups[i];
    }
    TreeItemHandle patchItem(size_t i) const {
        return i < patches.size() ? patches[i].item : nullptr;
    }
    TreeItemHandle groupItem(size_t i) const {
        return i < groups.size() ? groups[i].item : nullptr;
    }
    TreeItemHandle locatorItem(size_t i) const {
        return i < locators.size() ? locators[i] : nullptr;
    }

    std::vector<Patch> patches;
    std::vector<Group> groups;
    std::vector<TreeItemHandle> locators;
    // The folders of ungrouped patches at the tree's top level, when the tree uses folders.
    std::vector<Folder> folders;
    bool inFolders = false;
    size_t foldersFor = 0; // the patch count the folders were named for
};
