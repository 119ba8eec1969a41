// The recovery copy: a snapshot independent of the document, written off the editor's
// thread, at most every half minute while there are unsaved changes.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/recovery-writer.h"
#include "model/memory-tree.h"
#include "model/obj-format.h"
#include "obj-samples.h"
#include "temp-dir.h"

TEST(Recovery, ASnapshotWritesTheSameTextAndDoesNotFollowLaterEdits) {
    Model model;
    MemoryTree tree;
    samples::buildSymmetryExample(model, tree);
    model.locators.push_back({});
    model.locators.back().name = "Nose";
    const std::string before = writeObj(model);

    Model copy = snapshotOf(model);
    EXPECT_EQ(before, writeObj(copy));
    EXPECT_TRUE(copy.isSymmetry(0) == model.isSymmetry(0));

    model.points[0].x = 99;
    model.groups[0]->name = "renamed";
    EXPECT_EQ(before, writeObj(copy));
}

TEST(Recovery, WrittenInTheBackgroundAndReadBackWhole) {
    TempDir dir;
    const std::string path = dir.file("recovery.obj");
    Model model;
    model.createDefault();
    model.locators.push_back({});
    model.locators.back().name = "Cockpit";
    RecoveryWriter writer;
    ASSERT_TRUE(writer.start(snapshotOf(model), path, 0.0));
    model.points[3].y = 7; // the editor goes on; the copy is of the moment it was taken
    writer.wait();
    EXPECT_FALSE(writer.busy());
    EXPECT_EQ("", writer.lastError());
    Model back;
    MemoryTree tree;
    ASSERT_TRUE(loadObj(path, back, &tree).ok());
    EXPECT_EQ(48u, back.points.size());
    EXPECT_NE(7.0f, back.points[3].y);
    ASSERT_EQ(1u, back.locators.size());
    EXPECT_EQ("Cockpit", back.locators[0].name);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    // A value that is not a number still leaves a copy of everything before it.
    model.points[40].z = std::nanf("");
    ASSERT_TRUE(writer.writeNow(model, path));
    Model partial;
    ObjResult r = loadObj(path, partial, nullptr);
    EXPECT_TRUE(r.partial());
    EXPECT_EQ(40u, partial.points.size());

    EXPECT_FALSE(writer.writeNow(model, dir.file("no-folder/recovery.obj")));
    EXPECT_FALSE(writer.lastError().empty());

    // Changes saved or dropped while a copy is written: the editor removes the copy at once
    // and the writer removes it again once in place, whichever finishes first; the next copy
    // is kept again.
    std::filesystem::remove(path);
    ASSERT_TRUE(writer.start(snapshotOf(model), path, 1.0));
    writer.abandon();
    std::filesystem::remove(path);
    writer.wait();
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_TRUE(writer.start(snapshotOf(model), path, 2.0));
    writer.wait();
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(Recovery, DueEveryIntervalWhileThereAreUnsavedChanges) {
    TempDir dir;
    RecoveryWriter writer;
    EXPECT_FALSE(writer.due(100, false)); // nothing to keep
    EXPECT_TRUE(writer.due(100, true));   // the first change: at once
    Model model;
    ASSERT_TRUE(writer.start(snapshotOf(model), dir.file("r.obj"), 100));
    writer.wait();
    EXPECT_FALSE(writer.due(100 + RecoveryWriter::kIntervalSeconds - 0.5, true));
    EXPECT_TRUE(writer.due(100 + RecoveryWriter::kIntervalSeconds, true));
    writer.reset(); // saved: the next change is copied at once again
    EXPECT_TRUE(writer.due(101, true));
}
