// Surface commands at any size and on real models: extrusions smooth along the whole side
// and sharing the columns they meet on, mirror planes and copies with tolerances relative to
// the model's size, and pasted text checked as typed values are.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "editor/extrude-edges.h"
#include "editor/patch-copies.h"
#include "editor/smooth-joins.h"
#include "editor/split-patches.h"
#include "editor/typed-coordinates.h"
#include "model/obj-format.h"
#include "model/patch-import.h"

namespace {

// The built-in ring opened (three patches; their left and right columns are free), scaled.
Model band(float scale = 1) {
    Model model;
    model.createDefault();
    model.patches.pop_back();
    dropUnusedPoints(model);
    for (vm::Float3& p : model.points)
        p = {p.x * scale, p.y * scale, p.z * scale};
    return model;
}

// Two by two patches on a 7 × 7 net, every point moved a little.
Model jitteredSheet(std::mt19937& random) {
    std::uniform_real_distribution<float> jitter(-0.15f, 0.15f);
    Model model;
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j)
            model.points.push_back({float(j) / 3 + jitter(random), jitter(random) + 0.3f,
                                    float(i) / 3 + jitter(random)});
    for (int pi = 0; pi < 2; ++pi)
        for (int pj = 0; pj < 2; ++pj) {
            Model::Patch patch;
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c)
                    patch.indices[static_cast<size_t>(4 * r + c)] = 7 * (3 * pi + r) + 3 * pj + c;
            model.patches.push_back(patch);
        }
    return model;
}

Model teapot() {
    std::ifstream in(TAVREL_SOURCE_DIR "/../shared/data/teapot.bpt");
    std::stringstream text;
    text << in.rdbuf();
    Model model;
    EXPECT_TRUE(importPatches(text.str(), model).ok) << "the classic teapot beside the sources";
    return model;
}

std::vector<uint8_t> chosen(const Model& model, const std::vector<int32_t>& points) {
    std::vector<uint8_t> flags(model.points.size());
    for (int32_t i : points)
        flags[static_cast<size_t>(i)] = 1;
    return flags;
}

// The largest angle between a patch made from `made` on and one before it, and how many
// such joins there are.
JoinSummary grownJoins(const Model& model, size_t made) {
    JoinSummary joins;
    for (const SharedEdge& edge : sharedEdges(model))
        if ((edge.a.patch < made) != (edge.b.patch < made)) {
            ++joins.edges;
            joins.largest = std::max(joins.largest, joinAngle(model, edge));
        }
    return joins;
}

size_t pointsAtOnePlace(const Model& model, float within) {
    size_t pairs = 0;
    for (size_t i = 0; i < model.points.size(); ++i)
        for (size_t j = i + 1; j < model.points.size(); ++j) {
            const vm::Float3 a = model.points[i], b = model.points[j];
            pairs += std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z) <= within;
        }
    return pairs;
}

} // namespace

TEST(SurfaceTolerances, ExtrusionsAreSmoothAlongTheWholeSideAndShareWhatTheyMeetOn) {
    std::mt19937 random(35);
    std::vector<Model> models;
    models.push_back(band());
    for (int k = 0; k < 20; ++k)
        models.push_back(jitteredSheet(random));
    models.push_back(teapot());
    for (Model& model : models) {
        const size_t before = model.patches.size();
        const ExtrudeResult grown =
            extrudeEdges(model, std::vector<uint8_t>(model.points.size(), 1));
        ASSERT_GT(grown.edges, 0u);
        const JoinSummary joins = grownJoins(model, before);
        EXPECT_EQ(grown.edges, joins.edges);
        EXPECT_LT(joins.largest, 0.1f) << before << " patches";
    }

    // A second extrusion beside an earlier one shares the column they meet on, so dragging
    // either far row keeps them joined; then the two sides take one ratio of lengths.
    Model model = band();
    const auto left = [&](size_t p) {
        const auto side = sidePoints(model.patches[p], Side::Left);
        return std::vector<int32_t>(side.begin(), side.end());
    };
    extrudeEdges(model, chosen(model, left(0)));
    const size_t points = model.points.size();
    ASSERT_EQ(1u, extrudeEdges(model, chosen(model, left(1))).edges);
    EXPECT_EQ(points + 3 * 3, model.points.size());
    EXPECT_EQ(0u, pointsAtOnePlace(model, 1e-4f));
    EXPECT_EQ(2u + 1u + 2u, sharedEdges(model).size()); // the band's, the new pair's, parents'
    EXPECT_LT(grownJoins(model, 3).largest, 0.1f);

    // A symmetry's side on its mirror plane joins its own mirror image: nothing grows there.
    Model half = band();
    half.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    for (Model::Patch& patch : half.patches)
        patch.group = 0;
    const auto onPlane = sidePoints(half.patches[2], Side::Bottom); // on x = 0, free
    EXPECT_EQ(0u, extrudeEdges(half, chosen(half, {onPlane.begin(), onPlane.end()})).edges);

    // At any size E grows the same shape, scaled.
    const Model unit = [] {
        Model m = band();
        extrudeEdges(m, std::vector<uint8_t>(m.points.size(), 1));
        return m;
    }();
    for (float scale : {1e-6f, 1e6f}) {
        Model scaled = band(scale);
        extrudeEdges(scaled, std::vector<uint8_t>(scaled.points.size(), 1));
        ASSERT_EQ(unit.points.size(), scaled.points.size());
        for (size_t i = 0; i < unit.points.size(); ++i)
            EXPECT_NEAR(unit.points[i].y, scaled.points[i].y / scale, 1e-4f) << scale;
    }
}

TEST(SurfaceTolerances, MirrorPlanesAndCopiesAtAnySize) {
    for (float scale : {1e-6f, 1.0f, 1e6f}) {
        // M makes new points off the plane and shares those on it.
        Model mirrored = band(scale);
        mirrored.patches[0].selected = true;
        const size_t points = mirrored.points.size();
        mirrorSelection(mirrored, Axis::X, {0, 0, 0, 1});
        EXPECT_EQ(points + 12, mirrored.points.size()) << scale; // its column on x = 0 shared

        // A symmetry: only its points on x = 0 are held by a move along x, in the view or typed
        // for a patch chosen in the tree.
        Model sym = band(scale);
        sym.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
        sym.patches[0].group = 0;
        const std::vector<uint8_t> plane = onMirrorPlane(sym);
        EXPECT_EQ(4, std::count(plane.begin(), plane.end(), 1)) << scale;
        const vm::Float3 centre = *subjectPosition(sym, {CoordinateSubject::Kind::Patch, 0});
        moveSubjectAxis(sym, {CoordinateSubject::Kind::Patch, 0}, 0, centre.x + 0.25f * scale);
        for (int32_t i : sym.patches[0].indices) {
            const vm::Float3 p = sym.points[static_cast<size_t>(i)];
            EXPECT_TRUE(plane[static_cast<size_t>(i)] ? p.x == 0 : p.x > 0) << scale;
        }

        // Ctrl+D puts copies a tenth of the selection's own size beside it.
        Model copied = band(scale);
        copied.patches[1].selected = true;
        EXPECT_NEAR(0.1f * 1.5f * scale, duplicateOffset(copied).x, 1e-3f * scale);
    }

    // Hidden patches stay as they are, selected or not.
    Model hidden = band();
    hidden.groups.push_back(std::make_unique<Model::Group>("Hidden"));
    hidden.groups[0]->visible = false;
    hidden.patches[0].group = 0;
    hidden.patches[0].selected = hidden.patches[1].selected = true;
    EXPECT_EQ(1u, duplicateSelection(hidden, duplicateOffset(hidden)));
    for (Model::Patch& patch : hidden.patches)
        patch.selected = &patch == &hidden.patches[0];
    EXPECT_EQ(0u, mirrorSelection(hidden, Axis::Z, {0, 0, 0, 1}));
}

TEST(SurfaceTolerances, PasteTakesWholeTextOfTypableValues) {
    // One patch's text; its points from `first` on in a pool of first + 16.
    auto patchText = [](int32_t first, float x, float alpha) {
        Model part;
        for (int32_t i = 0; i < first + 16; ++i)
            part.points.push_back({i == first ? x : float(i % 4), float(i / 4), 0});
        Model::Patch patch;
        for (int32_t i = 0; i < 16; ++i)
            patch.indices[static_cast<size_t>(i)] = first + i;
        patch.alpha = alpha;
        part.patches.push_back(patch);
        return writeObj(part);
    };
    std::string why;
    auto refused = [&](const std::string& bad, const char* says) {
        Model target = band();
        const std::string was = writeObj(target);
        EXPECT_EQ(0u, pasteText(target, bad, why)) << says;
        EXPECT_NE(std::string::npos, why.find(says)) << why;
        EXPECT_TRUE(was == writeObj(target)) << says;
    };
    // Cut inside the last index, or after the patch line before its "end".
    const std::string text = patchText(0, 0, 1);
    refused(text.substr(0, text.rfind(" 15") + 2), "cut short");
    refused(text.substr(0, text.rfind("end")), "cut short");
    refused(patchText(0, 3e38f, 1), "working range");
    refused(patchText(0, 0, 1.5f), "opacity");

    // Points no pasted patch uses are left behind.
    Model model = band();
    const size_t points = model.points.size();
    ASSERT_EQ(1u, pasteText(model, patchText(2, 0, 0.5f), why)) << why;
    EXPECT_EQ(points + 16, model.points.size());
}
