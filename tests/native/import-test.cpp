// Importing Bezier patch models written by other programs.
#include <gtest/gtest.h>

#include <string>

#include "model/memory-tree.h"
#include "model/obj-format.h"
#include "model/patch-import.h"

namespace {

// Two bicubic patches side by side, the second one half a unit deeper, named with negative
// (relative) indices and v/vt/vn references, both in the object "wing".
std::string twoPatchObj() {
    std::string text = "# written by another modeller\ncstype bezier\ndeg 3 3\no wing\n";
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            text += "v " + std::to_string(c) + " " + std::to_string(r) + " 0\n";
    text += "vt 0 0\nvn 0 0 1\nsurf 0 1 0 1";
    for (int i = 1; i <= 16; ++i)
        text += " " + std::to_string(i);
    text += "\nparm u 0 1\nparm v 0 1\nend\n";
    for (int r = 0; r < 4; ++r)
        for (int c = 3; c < 7; ++c)
            text += "v " + std::to_string(c) + " " + std::to_string(r) + " 0.5\n";
    text += "surf 0 1 0 1 \\\n";
    for (int i = -16; i <= -1; ++i)
        text += " " + std::to_string(i) + "/1/1";
    text += "\nend\n";
    return text;
}

} // namespace

TEST(Import, StandardFreeFormObjWithSharedRowsAndRelativeIndices) {
    Model model;
    const ImportResult r = importPatches(twoPatchObj(), model);
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ("Wavefront free-form OBJ", r.format);
    ASSERT_EQ(2u, model.patches.size());
    EXPECT_EQ(32u, model.points.size()); // no two points coincide

    ASSERT_EQ(1u, model.groups.size());
    EXPECT_EQ("wing", model.groups[0]->name);
    EXPECT_EQ(0, model.patches[1].group);
    EXPECT_EQ(4u, r.skipped); // vt, vn, parm u, parm v
    EXPECT_TRUE(model.indicesValid());

    // The same file with the second patch on the same plane: its first column is the first
    // patch's last, merged into shared indices.
    std::string flat = twoPatchObj();
    for (size_t at; (at = flat.find(" 0.5\n")) != std::string::npos;)
        flat.replace(at, 5, " 0\n");
    Model merged;
    ASSERT_TRUE(importPatches(flat, merged).ok);
    EXPECT_EQ(28u, merged.points.size());
    for (int r2 = 0; r2 < 4; ++r2)
        EXPECT_EQ(merged.patches[0].indices[size_t(4 * r2 + 3)],
                  merged.patches[1].indices[size_t(4 * r2)]);

    // Saved in the editor's own format, it reads back whole.
    const std::string saved = writeObj(merged);
    Model back;
    MemoryTree tree;
    const ObjResult read = readObj(saved, back, &tree);
    ASSERT_TRUE(read.ok());
    EXPECT_FALSE(read.partial());
    EXPECT_EQ(2u, back.patches.size());
    EXPECT_EQ(28u, back.points.size());
}

TEST(Import, WhatCannotBeRepresentedIsRefusedWholeNamingTheLine) {
    const struct {
        std::string text, line;
    } cases[] = {
        {"v 0 0 0\ncstype rat bezier\n", "line 2: 'cstype rat bezier'"},
        {"cstype bezier\ndeg 2 2\n", "line 2: 'deg 2 2'"},
        {"cstype bspline\n", "line 1: 'cstype bspline'"},
        {"v 0 0 0\nv 1 x 0\n", "line 2: 'v 1 x 0'"},
        {"cstype bezier\ndeg 3 3\nv 0 0 0\nsurf 0 1 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 2\n",
         "line 4"},
    };
    for (const auto& c : cases) {
        Model model;
        const ImportResult r = importPatches(c.text, model);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_NE(std::string::npos, r.reason.find(c.line)) << r.reason;
        EXPECT_TRUE(model.points.empty()); // nothing half-imported
        EXPECT_TRUE(model.patches.empty());
    }
    Model model;
    EXPECT_FALSE(importPatches("# nothing\nv 1 2 3\n", model).ok);
}

TEST(Import, TheTeapotPatchTextFormat) {
    std::string text = "2\n";
    for (int p = 0; p < 2; ++p) {
        text += "3 3\n";
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                text += std::to_string(3 * p + c) + " " + std::to_string(r) + " 0.25\n";
    }
    Model model;
    const ImportResult r = importPatches(text, model);
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ("Bezier patch text", r.format);
    EXPECT_EQ(2u, model.patches.size());
    EXPECT_EQ(28u, model.points.size());                      // the shared column once
    EXPECT_FALSE(importPatches("2\n3 3\n0 0 0\n", model).ok); // ends inside a patch
    EXPECT_TRUE(model.points.empty());
    const ImportResult quadratic = importPatches("1\n2 2\n", model);
    EXPECT_NE(std::string::npos, quadratic.reason.find("line 2: '2 2'")) << quadratic.reason;
}
