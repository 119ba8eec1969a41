// The Windows build writes model files byte for byte like the native one (the C runtime
// there would write three-digit exponents if it did the formatting).
#include <gtest/gtest.h>

#include "model/memory-tree.h"
#include "model/obj-format.h"
#include "obj-samples.h"
#include "win32-test-support.h"

TEST(ObjOnWindows, WritesTheSameBytes) {
    Model model;
    MemoryTree tree;
    samples::buildSymmetryExample(model, tree);
    EXPECT_EQ(samples::kSymmetryExample, writeObj(model));
}

TEST(ObjOnWindows, SavesReplacingAnExistingFileAndReadsItBack) {
    Model model;
    MemoryTree tree;
    samples::buildSymmetryExample(model, tree);
    writeTextFile(L"saved.obj", "old contents");
    ASSERT_TRUE(saveObj(model, "saved.obj").ok());
    EXPECT_EQ(samples::kSymmetryExample, readTextFile(L"saved.obj"));
    Model back;
    MemoryTree backTree;
    ASSERT_TRUE(loadObj("saved.obj", back, &backTree).ok());
    EXPECT_EQ(3u, back.points.size());
    EXPECT_EQ(0.5f, back.patches[0].alpha);
    EXPECT_EQ(123457000.0f, back.points[2].y); // six digits kept
}
