// Importing Bezier patch models written by other programs.
#include <gtest/gtest.h>

#include <string>

#include "model/bezier-surface.h"
#include "model/logical-lines.h"
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
    const std::string surf = "surf 0 1 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n";
    const struct {
        std::string text, line;
    } cases[] = {
        {"v 0 0 0\ncstype rat bezier\ndeg 3 3\n" + surf, "'cstype rat bezier' (line 2)"},
        {"cstype bezier\ndeg 2 2\nv 0 0 0\n" + surf, "'deg 2 2' (line 2)"},
        {"cstype bspline\ndeg 3 3\nv 0 0 0\n" + surf, "line 4: 'surf"},
        {"v 0 0 0\nv 1 x 0\n", "line 2: 'v 1 x 0'"},
        {"v 0 0 0 1 1\n", "a vertex is three numbers, with a weight or a colour"},
        {"v 0 0 0 0.5\n", "rational (weighted) points"},
        {"cstype bezier\ndeg 3 3\nv 0 0 0\n" + surf + "trim 0 1 1\n", "a trimmed surface"},
        {"cstype bezier\ndeg 3 3\nv 0 0 0\nsurf 0 2 0 1" + surf.substr(12), "within 0 to 1"},
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
    // Cut inside the second patch: the first is kept, with no point of the second.
    const size_t firstPatch = text.find("3 3\n", 4);
    ASSERT_TRUE(importPatches(text.substr(0, firstPatch + 30), model).partial());
    EXPECT_EQ(1u, model.patches.size());
    EXPECT_EQ(16u, model.points.size());
    const ImportResult quadratic = importPatches("1\n2 2\n", model);
    EXPECT_NE(std::string::npos, quadratic.reason.find("line 2: '2 2'")) << quadratic.reason;
    // A number past a float says where it lies; one that is no finite number says so.
    for (const char* odd : {"1e300", "-1e300", "nan", "inf", "1e400"}) {
        std::string far = text;
        far.replace(far.find("0.25", firstPatch), 4, odd);
        const std::string why = importPatches(far, model).reason;
        const bool finite = std::string(odd).find("e300") != std::string::npos;
        EXPECT_NE(std::string::npos, why.find(finite ? "line 20: '3 0 " + std::string(odd) +
                                                           "': a control point lies outside the "
                                                           "working range (-1e9 to 1e9)"
                                                     : "three finite numbers"))
            << why;
    }
}

namespace {

// A curved patch of the standard format's points 1 to 16, and its points as an array.
std::string curvedPatchObj(const std::string& range) {
    std::string text = "cstype bezier\ndeg 3 3\n";
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            text += "v " + std::to_string(c) + " " + std::to_string(r) + " " +
                    std::to_string((c * c + r * (3 - c)) % 5) + "\n";
    text += "surf " + range;
    for (int i = 1; i <= 16; ++i)
        text += " " + std::to_string(i);
    return text + "\nend\n";
}

} // namespace

// What other tools write: sub-ranges, comments, colours, curves, byte-order marks, counts
// that do not match, empty groups, tiny numbers. Each gives the model the file describes,
// or says why not.
TEST(Import, ReadsWhatOtherToolsWriteAndSaysWhatItDid) {
    Model whole, half;
    ASSERT_TRUE(importPatches(curvedPatchObj("0 1 0 1"), whole).ok);
    const ImportResult cut = importPatches(curvedPatchObj("0.0 0.5 0.25 1.0"), half);
    ASSERT_TRUE(cut.ok) << cut.reason;
    EXPECT_EQ(1u, cut.piecesCut);
    const auto full = bezier::controlPoints(whole, whole.patches[0]);
    const auto piece = bezier::controlPoints(half, half.patches[0]);
    for (int i = 0; i <= 8; ++i)
        for (int j = 0; j <= 8; ++j) {
            const float u = i / 8.0f, v = j / 8.0f;
            const vm::Float3 a = bezier::evaluate(piece, u, v);
            const vm::Float3 b = bezier::evaluate(full, 0.5f * u, 0.25f + 0.75f * v);
            EXPECT_NEAR(a.x, b.x, 1e-5f);
            EXPECT_NEAR(a.y, b.y, 1e-5f);
            EXPECT_NEAR(a.z, b.z, 1e-5f);
        }

    // Comments at line ends, vertex colours, stand-alone curves, a byte-order mark, and an
    // "o" whose patches all went to a "g": the same patch, the extras counted, no empty group.
    std::string busy = "\xEF\xBB\xBFo teapot\ng body\n" + curvedPatchObj("0 1 0 1");
    busy.replace(busy.find("v 0 0 0"), 7, "v 0 0 0 0.5 0.5 0.5 # a coloured corner");
    busy += "cstype bspline\ndeg 3\ncurv 0 1 1 2 3 4\nparm u 0 0 0 0 1 1 1 1\nend\n";
    Model busyModel;
    const ImportResult b = importPatches(busy, busyModel);
    ASSERT_TRUE(b.ok) << b.reason;
    EXPECT_EQ(1u, b.coloursSkipped);
    EXPECT_EQ(2u, b.skipped); // curv and parm
    ASSERT_EQ(1u, busyModel.groups.size());
    EXPECT_EQ("body", busyModel.groups[0]->name);
    EXPECT_EQ(0, busyModel.patches[0].group);
    EXPECT_EQ(writeObj(whole),
              writeObj(busyModel).replace(writeObj(busyModel).find("g body\r\n"), 8, ""));

    Model tiny;
    ASSERT_TRUE(importPatches("cstype bezier\ndeg 3 3\nv 1e-40 0 0\nsurf 0 1 0 1 1 1 1 1 1 1 1 "
                              "1 1 1 1 1 1 1 1 1\n",
                              tiny)
                    .ok);

    // Patch text: a comment first, then counts that do not match the patches.
    std::string patch = "3 3\n";
    for (int k = 0; k < 16; ++k)
        patch += std::to_string(k % 4) + " " + std::to_string(k / 4) + " 0\n";
    Model text;
    const ImportResult exact = importPatches("# teapot lid\n1\n" + patch, text);
    ASSERT_TRUE(exact.ok) << exact.reason;
    EXPECT_EQ("Bezier patch text", exact.format);
    EXPECT_FALSE(exact.partial());
    const ImportResult more = importPatches("\xEF\xBB\xBF"
                                            "1\n" +
                                                patch + patch,
                                            text);
    EXPECT_TRUE(more.partial());
    EXPECT_EQ(1u, text.patches.size());
    EXPECT_NE(std::string::npos, more.stop.find("more text follows at line 19")) << more.stop;
    const ImportResult fewer = importPatches("3\n" + patch + patch, text);
    EXPECT_TRUE(fewer.partial());
    EXPECT_EQ(2u, text.patches.size());
    EXPECT_NE(std::string::npos, fewer.stop.find("read 2 of the 3 patches")) << fewer.stop;
    // A patch a millionth across is read at the origin; 1000 away its points would merge.
    const auto placed = [&](double size, double at) {
        std::string moved = "1\n3 3\n";
        for (int k = 0; k < 16; ++k)
            moved +=
                std::to_string(at + size * (k % 4)) + " " + std::to_string(size * (k / 4)) + " 0\n";
        return importPatches(moved, text);
    };
    EXPECT_TRUE(placed(1e-6, 0).ok);
    const ImportResult far = placed(1e-6, 1000);
    EXPECT_FALSE(far.ok);
    EXPECT_NE(std::string::npos, far.reason.find("nearer the origin")) << far.reason;
    EXPECT_TRUE(text.patches.empty());
    // The editor's own reader skips the mark too.
    Model own;
    EXPECT_TRUE(readObj("\xEF\xBB\xBF" + writeObj(whole), own, nullptr).ok());
    EXPECT_EQ(writeObj(whole), writeObj(own));
}

// Lines of numbers are read ahead on every core a block at a time: any block size reads the
// same model, or refuses at the same line, as reading every line's words does.
TEST(Import, LinesReadAheadInBlocksReadAsOneAfterAnother) {
    std::string patchText = "2\r\n# two patches\n";
    for (int p = 0; p < 2; ++p) {
        patchText += "3 3\n\n";
        for (int k = 0; k < 16; ++k)
            patchText += std::to_string(k % 4 + 3 * p) + " " + std::to_string(k / 4) +
                         (k == 5   ? " 1e-3 # tiny\r\n"
                          : k == 9 ? " \\\n 0.25\n"
                                   : " -0.5\n");
    }
    std::string cut = twoPatchObj(); // a piece's points are the merge's too
    cut.replace(cut.find("surf 0 1 0 1"), 12, "surf 0 0.3 0.1 1");
    std::vector<std::string> texts = {twoPatchObj(), patchText, patchText + "\n\n",
                                      patchText.substr(0, patchText.size() - 1), cut};
    for (const char* odd :
         {"0x1p3", "nan", "1 2", "v", "1e39", "-", "1.5 # 2", "0.12345678", "1.0000001", "3e-7"}) {
        std::string text = patchText, vertices = twoPatchObj();
        text.replace(text.find("0.25"), 4, odd);
        vertices.replace(vertices.find(" 0.5\n"), 4, std::string(" ") + odd);
        texts.push_back(text);
        texts.push_back(vertices);
    }
    for (const std::string& text : texts) {
        Model whole, blocks;
        const ImportResult expected = importPatches(text, whole);
        for (size_t bytes : {1, 2, 7, 30}) {
            LogicalLines::setBlockBytes(bytes);
            const ImportResult r = importPatches(text, blocks, SixDigitChange::Measured);
            EXPECT_EQ(expected.reason + expected.stop, r.reason + r.stop) << bytes << text;
            ASSERT_EQ(r.ok, r.rounding.has_value());
            if (r.ok) { // as rounding the model's points after the reading says
                const LargestRounding after = largestRounding(blocks.points);
                EXPECT_EQ(after.change, r.rounding->change) << text;
                EXPECT_EQ(after.point, r.rounding->point) << text;
            }
            ASSERT_EQ(whole.points.size(), blocks.points.size());
            for (size_t i = 0; i < whole.points.size(); ++i)
                EXPECT_TRUE(whole.points[i].x == blocks.points[i].x &&
                            whole.points[i].y == blocks.points[i].y &&
                            whole.points[i].z == blocks.points[i].z);
        }
        LogicalLines::setBlockBytes(0);
    }
}

// A surface line of plain numbers is read ahead; one of any other form (or continued on the
// next line) by its words: both read the same points and refuse for the same reason.
TEST(Import, SurfacesReadAheadReadAsTheirWords) {
    std::string points = "cstype bezier\ndeg 3 3\n";
    for (int k = 0; k < 16; ++k)
        points += "v " + std::to_string(k % 4) + " " + std::to_string(k / 4) + " 0\n";
    const std::string refs = " 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16";
    const std::string backwards = " -1 -2 -3 -4 -5 -6 -7 -8 -9 -10 -11 -12 -13 -14 -15 -16";
    for (const std::string& surface :
         {"0 1 0 1" + refs, "0 0.5 0.25 1" + refs, "0 1 0 1" + backwards, "0 1 0 1\t" + refs,
          "0 1 0 1" + refs + " # c", "0 1 0 1" + refs + " 17", "0 1 0 1 1/1/1" + refs.substr(2),
          "0 1 0 1 +1" + refs.substr(2), "0 1 0 1 0" + refs.substr(2), "0 1 0 1 x" + refs.substr(2),
          "0 1 0 1 99999999999999999999" + refs.substr(2), "0 1 0 1 3000000000" + refs.substr(2),
          "0 1 0 1 17" + refs.substr(2), "0 2 0 1" + refs, "0 1 0 1e0" + refs,
          "0 1 0 nan" + refs}) {
        Model ahead, byWords;
        const ImportResult a = importPatches(points + "surf " + surface + "\n", ahead);
        const ImportResult w = importPatches(points + "surf \\\n" + surface + "\n", byWords);
        auto why = [](const std::string& reason) { return reason.substr(reason.rfind("': ") + 1); };
        EXPECT_EQ(a.ok, w.ok) << surface;
        EXPECT_EQ(why(a.reason), why(w.reason)) << surface;
        ASSERT_EQ(ahead.points.size(), byWords.points.size()) << surface;
        ASSERT_EQ(ahead.patches.size(), byWords.patches.size()) << surface;
        for (size_t p = 0; p < ahead.patches.size(); ++p)
            EXPECT_EQ(ahead.patches[p].indices, byWords.patches[p].indices) << surface;
    }
}

// A patch's "3 3" is read ahead; a degrees line of any other form (or continued on the next
// line) by its words: both read the same patches and refuse for the same reason.
TEST(Import, DegreesReadAheadReadAsTheirWords) {
    std::string points;
    for (int k = 0; k < 16; ++k)
        points += std::to_string(k % 4) + " " + std::to_string(k / 4) + " 0\r\n";
    for (const std::string degrees :
         {"3 3", "3 3\r", "\t3  3 ", "3 3 # bicubic", "03 3", "3 3 3", "3 4", "3", "3 3 0"}) {
        Model ahead, byWords;
        const ImportResult a = importPatches("1\n" + degrees + "\n" + points, ahead);
        const ImportResult w = importPatches("1\n\\\n" + degrees + "\n" + points, byWords);
        EXPECT_EQ(a.ok, w.ok) << degrees;
        EXPECT_EQ(a.reason, w.reason) << degrees;
        EXPECT_EQ(writeObj(ahead), writeObj(byWords)) << degrees;
    }
}

// A surface's "end" and "parm" lines are read ahead; continued on the next line, by their
// words: both count and close the same, whether or not the file ends in that line.
TEST(Import, SurfaceEndsReadAheadReadAsTheirWords) {
    std::string surface = "cstype bezier\ndeg 3 3\n";
    for (int k = 0; k < 16; ++k)
        surface += "v " + std::to_string(k % 4) + " " + std::to_string(k / 4) + " 0\n";
    surface += "surf 0 1 0 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n";
    for (const std::string last : {"end", "end\r", " end  x", "end # c", "ending", "parm u 0 1",
                                   "parm", "parmu 0 1", "parm u 0 1\r\nend", "parm v 0 1\nending"})
        for (const std::string after : {"", "\n"}) {
            Model ahead, byWords;
            const ImportResult a = importPatches(surface + last + after, ahead);
            const ImportResult w = importPatches(surface + "\\\n" + last + after, byWords);
            EXPECT_EQ(a.ok, w.ok) << last;
            EXPECT_EQ(a.reason, w.reason) << last;
            EXPECT_EQ(a.skipped, w.skipped) << last;
            EXPECT_EQ(writeObj(ahead), writeObj(byWords)) << last;
        }
}
