// Model files: the exact text written, the grammar read, and what bad input does.
#include <gtest/gtest.h>

#include <limits>

#include <filesystem>

#include "editor/typed-coordinates.h"
#include "model/memory-tree.h"
#include "model/obj-format.h"
#include "model/tree-item-param.h"
#include "obj-samples.h"
#include "temp-dir.h"

namespace {

const std::string kHeader = "cstype bezier\r\ndeg 3\r\n\r\n";

std::string sixteen(const std::string& indices = "0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3") {
    return "surf 0.0 1.0 0.0 1.0 " + indices + "\n";
}
const std::string kFourPoints = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n";

ObjResult read(const std::string& text, Model& model, MemoryTree* tree = nullptr) {
    return readObj(text, model, tree);
}

} // namespace

TEST(ObjWrite, MatchesTheFormatByteForByte) {
    Model model;
    MemoryTree tree;
    samples::buildSymmetryExample(model, tree);
    EXPECT_EQ(samples::kSymmetryExample, writeObj(model));
}

TEST(ObjWrite, FloatsUseSixSignificantDigits) {
    Model model;
    model.points = {{1, 0.3536f, 0.0000001f},
                    {123456789.0f, -0.5f, 0},
                    {100000, 1000000, 0.0001f},
                    {1.0f / 3, -2.5e-5f, 65536.5f}};
    EXPECT_EQ(kHeader + "v 1 0.3536 1e-07\r\nv 1.23457e+08 -0.5 0\r\nv 100000 1e+06 0.0001\r\n"
                        "v 0.333333 -2.5e-05 65536.5\r\n\r\n\r\n",
              writeObj(model));
}

TEST(ObjWrite, OpacityLineOnlyWhenNotExactlyOne) {
    Model model;
    model.points = {{0, 0, 0}};
    model.patches.resize(3);
    model.patches[1].alpha = 0;
    model.patches[2].alpha = std::nanf("");
    const std::string text = writeObj(model);
    EXPECT_EQ(std::string::npos, text.find("m 1"));
    EXPECT_NE(std::string::npos, text.find("\r\nm 0\r\nsurf"));
    EXPECT_NE(std::string::npos, text.find("\r\nm nan\r\nsurf"));
    // No symmetries: three empty lines between the last point and the first patch.
    EXPECT_NE(std::string::npos, text.find("v 0 0 0\r\n\r\n\r\n\r\nsurf 0.0 1.0 0.0 1.0 0 0"));
}

TEST(ObjWrite, PlainGroupsHaveNoStatementAndLocatorsWithoutNameGetTheirDefault) {
    Model model;
    model.points = {{0, 0, 0}};
    model.groups.push_back(std::make_unique<Model::Group>("wing"));
    model.groups.push_back(std::make_unique<Model::Group>("unused"));
    model.patches.resize(1);
    model.patches[0].group = 0;
    model.locators.resize(1);
    const std::string text = writeObj(model);
    EXPECT_NE(std::string::npos, text.find("\r\ng wing\r\nsurf"));
    EXPECT_EQ(std::string::npos, text.find("unused"));
    EXPECT_NE(std::string::npos, text.find("locator\r\nLocator_0\r\n0 0 0 0\r\n0 0 0 1\r\n"));
}

TEST(ObjRead, WriteThenReadRestoresTheModel) {
    Model original;
    MemoryTree tree;
    samples::buildSymmetryExample(original, tree);
    original.patches.push_back(original.patches[0]);
    original.patches[1].group = -1;
    original.patches[1].alpha = 0;
    original.patches[1].selected = true;
    original.patches[1].visible = false;

    Model copy;
    MemoryTree copyTree;
    ASSERT_TRUE(read(writeObj(original), copy, &copyTree).ok());
    ASSERT_EQ(original.points.size(), copy.points.size());
    // Six significant digits are what the file keeps.
    auto near = [](float a, float b) { return std::fabs(a - b) <= 5e-6f * std::fabs(a); };
    for (size_t i = 0; i < copy.points.size(); ++i) {
        EXPECT_TRUE(near(original.points[i].x, copy.points[i].x)) << i;
        EXPECT_TRUE(near(original.points[i].y, copy.points[i].y)) << i;
        EXPECT_TRUE(near(original.points[i].z, copy.points[i].z)) << i;
    }
    ASSERT_EQ(2u, copy.patches.size());
    for (size_t p = 0; p < 2; ++p) {
        EXPECT_EQ(original.patches[p].indices, copy.patches[p].indices);
        EXPECT_EQ(original.patches[p].alpha, copy.patches[p].alpha);
        EXPECT_EQ(original.patches[p].group, copy.patches[p].group);
        EXPECT_TRUE(copy.patches[p].visible);
        EXPECT_FALSE(copy.patches[p].selected);
    }
    ASSERT_TRUE(copy.isSymmetry(0));
    auto* symmetry = dynamic_cast<Model::Symmetry*>(copy.groups[0].get());
    EXPECT_EQ(1.5f, symmetry->secondVector.x);
    EXPECT_EQ(1.0f, symmetry->secondVector.w);
    ASSERT_EQ(1u, copy.locators.size());
    EXPECT_EQ(0.5f, copy.locators[0].position.y);
    EXPECT_EQ(1.0f, copy.locators[0].orientation.w);
    EXPECT_EQ("Locator_0", copyTree.itemText(copyTree.items.locatorItem(0)));
    EXPECT_EQ(encodeTreeItemParam(TreeItemKind::Locator, 0),
              copyTree.itemParam(copyTree.items.locatorItem(0)));
    // And the text is stable.
    EXPECT_EQ(writeObj(original), writeObj(copy));
}

TEST(ObjRead, HeaderOnlyIsAnEmptyModelAndEndIsOptional) {
    Model empty;
    EXPECT_TRUE(read("cstype bezier deg 3", empty).ok());
    EXPECT_TRUE(empty.points.empty());
    EXPECT_TRUE(empty.patches.empty());

    Model with, without;
    ASSERT_TRUE(read(kHeader + kFourPoints + sixteen() + "end\n" + sixteen() + "end\n", with).ok());
    ASSERT_TRUE(read(kHeader + kFourPoints + sixteen() + "m 0.25 " + sixteen(), without).ok());
    ASSERT_EQ(2u, with.patches.size());
    ASSERT_EQ(2u, without.patches.size());
    EXPECT_EQ(with.patches[1].indices, without.patches[1].indices);
    EXPECT_EQ(0.25f, without.patches[1].alpha);
}

TEST(ObjRead, GroupLinesJoinTheFirstGroupOfThatName) {
    Model model;
    ASSERT_TRUE(read(kHeader + kFourPoints + "symmetry wing 0 0 0 0 0 0 0 0\n" + "g wing\n" +
                         sixteen() + "g tail\n" + sixteen() + "g tail\n" + sixteen() + sixteen(),
                     model)
                    .ok());
    ASSERT_EQ(2u, model.groups.size()); // the symmetry and one "tail"
    EXPECT_EQ(0, model.patches[0].group);
    EXPECT_TRUE(model.isSymmetry(model.patches[0].group));
    EXPECT_EQ(1, model.patches[1].group);
    EXPECT_EQ(1, model.patches[2].group);
    EXPECT_EQ(-1, model.patches[3].group);
    EXPECT_FALSE(model.isSymmetry(1));
}

TEST(ObjRead, StopsAtAnyOtherWordKeepingWhatWasReadAndSaysWhere) {
    Model model;
    ObjResult r =
        read(kHeader + kFourPoints + "symmetry s 0 0 0 0 0 0 0 0\nv 9 9 9\n" + sixteen(), model);
    ASSERT_TRUE(r.partial());
    EXPECT_EQ(4u, model.points.size());
    EXPECT_EQ(1u, model.groups.size());
    EXPECT_TRUE(model.patches.empty());
    EXPECT_EQ("read 0 of the file's 1 patches; stopped at line 9: 'v 9 9 9'", r.stopMessage());

    Model commented;
    r = read(kHeader + kFourPoints + sixteen() + "# a comment\n" + sixteen(), commented);
    EXPECT_EQ(1u, commented.patches.size());
    ASSERT_TRUE(r.partial());
    EXPECT_EQ(9u, r.stop->line);
    EXPECT_EQ("# a comment", r.stop->text);
    EXPECT_EQ(1u, r.stop->patchesRead);
    EXPECT_EQ(2u, r.stop->patchesInFile);

    Model normals; // a statement of the full OBJ language the editor does not take
    r = read(kHeader + "v 0 0 0\nvn 0 0 1\n", normals);
    ASSERT_TRUE(r.partial());
    EXPECT_EQ("vn 0 0 1", r.stop->text);

    // Read to the end, with or without the last "end" and trailing blanks: nothing to report.
    Model whole;
    EXPECT_FALSE(read(kHeader + kFourPoints + sixteen() + "end\n\n  \t\r\n", whole).partial());
    EXPECT_FALSE(read(kHeader + kFourPoints + sixteen(), whole).partial());

    Model symmetryLate;
    ASSERT_TRUE(read(kHeader + kFourPoints + sixteen() + "symmetry s 0 0 0 0 0 0 0 0\n" + sixteen(),
                     symmetryLate)
                    .ok());
    EXPECT_EQ(1u, symmetryLate.patches.size());
    EXPECT_TRUE(symmetryLate.groups.empty());
}

TEST(ObjRead, AStatementCutShortIsDropped) {
    Model points;
    ObjResult r = read(kHeader + "v 1 2 3\nv 4 5 x\nv 7 8 9\n", points);
    ASSERT_TRUE(r.partial());
    EXPECT_EQ(1u, points.points.size());
    EXPECT_EQ(5u, r.stop->line); // the line of the number that did not parse
    EXPECT_EQ("v 4 5 x", r.stop->text);

    Model patch;
    ASSERT_TRUE(read(kHeader + kFourPoints + sixteen() + "g lost\nsurf 0 1 0 1 0 1 2", patch).ok());
    EXPECT_EQ(1u, patch.patches.size());
    EXPECT_TRUE(patch.groups.empty()); // the group of a dropped patch is not made either

    Model locator;
    ASSERT_TRUE(read(kHeader + "locator L 0 0 0 1 0 0 0 nan\n", locator).ok());
    EXPECT_TRUE(locator.locators.empty());

    Model huge; // out of range for a float
    ASSERT_TRUE(read(kHeader + "v 1 2 3\nv 1e50 0 0\n", huge).ok());
    EXPECT_EQ(1u, huge.points.size());
}

TEST(ObjRead, NumbersTakeAnyDecimalForm) {
    Model model;
    ASSERT_TRUE(read(kHeader + "v +1.5 -.25 3e2\nv 1.5E-3 +0 -0\nv 7 8 9end", model).ok());
    ASSERT_EQ(3u, model.points.size());
    EXPECT_EQ(1.5f, model.points[0].x);
    EXPECT_EQ(-0.25f, model.points[0].y);
    EXPECT_EQ(300.0f, model.points[0].z);
    EXPECT_EQ(0.0015f, model.points[1].x);
    EXPECT_EQ(9.0f, model.points[2].z); // the number ends where the digits do
}

TEST(ObjRead, InvalidFilesLeaveTheModelAsItWas) {
    Model model;
    ObjResult r = read("cstype bspline deg 3", model);
    EXPECT_EQ(ObjResult::Status::Invalid, r.status);
    EXPECT_NE(std::string::npos, r.reason.find("cstype"));
    EXPECT_EQ(ObjResult::Status::Invalid, read("", model).status);

    MemoryTree tree;
    r = read(kHeader + kFourPoints + "symmetry s 0 0 0 0 0 0 0 0\n" + sixteen() +
                 "g s\nm 0.5\nend\n",
             model, &tree);
    EXPECT_EQ(ObjResult::Status::Invalid, r.status);
    EXPECT_NE(std::string::npos, r.reason.find("surf"));
    EXPECT_TRUE(model.points.empty());
    EXPECT_TRUE(model.patches.empty());
    EXPECT_TRUE(model.groups.empty());

    r = read(kHeader + kFourPoints + sixteen("0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 4") +
                 "locator L 0 0 0 1 0 0 0 1\n",
             model, &tree);
    EXPECT_EQ(ObjResult::Status::Invalid, r.status);
    EXPECT_NE(std::string::npos, r.reason.find("point 4"));
    EXPECT_TRUE(model.points.empty());
    EXPECT_TRUE(model.locators.empty());
    EXPECT_EQ(0u, tree.size()); // no tree item for a refused file

    r = read(kHeader + kFourPoints + sixteen("0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 -1"), model);
    EXPECT_EQ(ObjResult::Status::Invalid, r.status);
    r = read(kHeader + kFourPoints + sixteen("0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 99999999999"), model);
    EXPECT_TRUE(r.ok()); // an index that does not parse ends the reading; the patch is dropped
    EXPECT_TRUE(model.patches.empty());
}

TEST(ObjRead, WordsOfAnyLengthAreSafe) {
    Model model;
    const std::string longName(100000, 'g');
    ASSERT_TRUE(read(kHeader + kFourPoints + "g " + longName + "\n" + sixteen(), model).ok());
    ASSERT_EQ(1u, model.groups.size());
    EXPECT_EQ(longName, model.groups[0]->name);
    Model junk;
    EXPECT_EQ(ObjResult::Status::Invalid, read(std::string(300000, 'x'), junk).status);
}

TEST(ObjFiles, LoadAppendsOrLeavesAMissingFileAlone) {
    TempDir dir;
    Model model;
    EXPECT_EQ(ObjResult::Status::CannotOpen,
              loadObj(dir.file("absent.obj"), model, nullptr).status);
    EXPECT_TRUE(model.points.empty());

    TempDir::write(dir.file("band.obj"), kHeader + kFourPoints + sixteen() + sixteen());
    ASSERT_TRUE(loadObj(dir.file("band.obj"), model, nullptr).ok());
    EXPECT_EQ(4u, model.points.size());
    EXPECT_EQ(2u, model.patches.size());
}

TEST(ObjFiles, SaveReplacesTheFileWholeOrNotAtAll) {
    TempDir dir;
    Model model;
    model.createDefault();
    const std::string path = dir.file("ship.obj");
    ASSERT_TRUE(saveObj(model, path).ok());
    const std::string first = TempDir::read(path);
    EXPECT_EQ(writeObj(model), first);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    // Writing cannot even start: the previous file stays.
    std::filesystem::create_directory(path + ".tmp");
    model.points[0].x = 42;
    ObjResult r = saveObj(model, path);
    EXPECT_EQ(ObjResult::Status::CannotWrite, r.status);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_EQ(first, TempDir::read(path));

    EXPECT_EQ(ObjResult::Status::CannotWrite,
              saveObj(model, dir.file("no-folder/ship.obj")).status);
}

TEST(ObjFiles, SaveRefusesValuesTheReaderWouldStopAtAndNamesThem) {
    TempDir dir;
    const std::string path = dir.file("ship.obj");
    Model model;
    model.createDefault();
    ASSERT_TRUE(saveObj(model, path).ok());
    const std::string before = TempDir::read(path);

    model.points[7].y = std::nanf("");
    ObjResult r = saveObj(model, path);
    EXPECT_EQ(ObjResult::Status::Invalid, r.status);
    EXPECT_EQ("point 7 has a coordinate that is not a finite number", r.reason);
    EXPECT_EQ(before, TempDir::read(path));

    model.points[7].y = 0;
    model.patches[2].alpha = INFINITY;
    EXPECT_EQ("patch 2 has an opacity that is not a finite number", saveObj(model, path).reason);
    model.patches[2].alpha = 0.5f;
    model.locators.resize(1);
    model.locators[0].position.x = -INFINITY;
    EXPECT_EQ("locator 0 has a value that is not a finite number", saveObj(model, path).reason);
    model.locators[0].position.x = 0;
    EXPECT_TRUE(saveObj(model, path).ok());

    // Whatever Save takes reads back: the largest floats are written as 3.40282e+38.
    model.points[3].z = -std::numeric_limits<float>::max();
    EXPECT_TRUE(readsBack(model.points[3].z));
    EXPECT_FALSE(readsBack(INFINITY));
    ASSERT_TRUE(saveObj(model, path).ok());
    Model back;
    const ObjResult read = loadObj(path, back, nullptr);
    ASSERT_TRUE(read.ok() && !read.partial());
    EXPECT_EQ(-3.40282e38f, back.points[3].z);
}

TEST(TypedCoordinates, ResultsOutsideTheWorkingRangeAreRefused) {
    Model model;
    model.createDefault();
    const CoordinateSubject point{CoordinateSubject::Kind::Point, 0};
    const CoordinateSubject patch{CoordinateSubject::Kind::Patch, 0};
    EXPECT_TRUE(moveWithinRange(model, point, 0, 1e9f));
    EXPECT_FALSE(moveWithinRange(model, point, 0, -1.5e9f));
    // The patch's centre at 1e9 puts its farther points beyond.
    for (vm::Float3& p : model.points)
        p.y *= 1e7f; // the patch spans millions of units
    EXPECT_FALSE(moveWithinRange(model, patch, 1, -1e9f + 1e6f));
    EXPECT_TRUE(moveWithinRange(model, patch, 1, 1e8f));
}

TEST(ObjFiles, DefaultModelRoundTripsThroughAFile) {
    TempDir dir;
    Model model;
    model.createDefault();
    ASSERT_TRUE(saveObj(model, dir.file("d.obj")).ok());
    Model back;
    ASSERT_TRUE(loadObj(dir.file("d.obj"), back, nullptr).ok());
    ASSERT_EQ(48u, back.points.size());
    EXPECT_EQ(model.patches[0].indices, back.patches[0].indices);
    EXPECT_EQ(-0.3536f, back.points[2].y);
}
