// Surface commands at any size and on the teapot: extrusions smooth along the whole side and
// sharing what they meet on, mirror planes and copies at any size, pasted text checked.
#include <gtest/gtest.h>

#include <random>

#include "editor/extrude-edges.h"
#include "editor/patch-copies.h"
#include "editor/smooth-joins.h"
#include "editor/split-patches.h"
#include "editor/typed-coordinates.h"
#include "join-checks.h"
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

std::vector<uint8_t> chosen(const Model& model, const std::array<int32_t, 4>& points) {
    std::vector<uint8_t> flags(model.points.size());
    for (int32_t i : points)
        flags[static_cast<size_t>(i)] = 1;
    return flags;
}

// The joins between patches made from `made` on and those before.
JoinSummary grownJoins(const Model& model, size_t made) {
    JoinSummary joins;
    for (const SharedEdge& edge : sharedEdges(model))
        if ((edge.a.patch < made) != (edge.b.patch < made)) {
            ++joins.edges;
            joins.largest = std::max(joins.largest, joinAngle(model, edge));
        }
    return joins;
}

} // namespace

TEST(SurfaceTolerances, ExtrusionsAreSmoothAlongTheWholeSideAndShareWhatTheyMeetOn) {
    // The band at three sizes, the band with every point moved a little, and the teapot.
    std::mt19937 random(35);
    std::uniform_real_distribution<float> jitter(-0.15f, 0.15f);
    std::vector<Model> models(20);
    for (Model& model : models) {
        model = band();
        for (vm::Float3& p : model.points)
            p = {p.x + jitter(random), p.y + jitter(random), p.z + jitter(random)};
    }
    for (float scale : {1e-6f, 1.0f, 1e6f})
        models.push_back(band(scale));
    models.push_back(teapot());
    for (Model& model : models) {
        const size_t before = model.patches.size();
        const ExtrudeResult grown =
            extrudeEdges(model, std::vector<uint8_t>(model.points.size(), 1));
        ASSERT_GT(grown.edges, 0u);
        const JoinSummary joins = grownJoins(model, before);
        EXPECT_EQ(grown.edges, joins.edges);
        EXPECT_LT(joins.largest, 0.1f) << before << " patches " << model.points[0].x;
    }

    // A second extrusion beside an earlier one shares the column they meet on, so dragging
    // either far row keeps them joined; then the two sides take one ratio of lengths.
    Model model = band();
    const auto left = [&](size_t p) {
        return chosen(model, sidePoints(model.patches[p], Side::Left));
    };
    extrudeEdges(model, left(0));
    const size_t points = model.points.size();
    ASSERT_EQ(1u, extrudeEdges(model, left(1)).edges);
    EXPECT_EQ(points + 3 * 3, model.points.size());
    EXPECT_EQ(2u + 1u + 2u, sharedEdges(model).size()); // the band's, the new pair's, parents'
    EXPECT_LT(grownJoins(model, 3).largest, 0.1f);
    // Grown again, the four inner corners each fill with one patch joined on both sides.
    Model twice = band();
    extrudeEdges(twice, std::vector<uint8_t>(twice.points.size(), 1));
    ASSERT_EQ(12u, extrudeEdges(twice, std::vector<uint8_t>(twice.points.size(), 1)).edges);
    EXPECT_EQ(8u + 4u * 2u, grownJoins(twice, 11).edges);
    EXPECT_LT(grownJoins(twice, 11).largest, 0.1f);

    // A symmetry's side on its mirror plane joins its own mirror image: nothing grows there.
    Model half = band();
    half.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    for (Model::Patch& patch : half.patches)
        patch.group = 0;
    EXPECT_EQ(0u,
              extrudeEdges(half, chosen(half, sidePoints(half.patches[2], Side::Bottom))).edges);
}

TEST(SurfaceTolerances, MirrorPlanesAndCopiesAtAnySize) {
    for (float scale : {1e-6f, 1.0f, 1e6f}) {
        // Ctrl+D puts copies a tenth of the selection's own size beside it; M makes new points
        // off the plane and shares those on it.
        Model mirrored = band(scale);
        mirrored.patches[0].selected = true;
        EXPECT_NEAR(0.1354f * scale, duplicateOffset(mirrored).x, 1e-4f * scale);
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
    }

    // Hidden patches stay as they are, selected or not.
    Model hidden = band();
    hidden.patches[0].visible = false;
    hidden.patches[0].selected = hidden.patches[1].selected = true;
    EXPECT_EQ(1u, duplicateSelection(hidden, duplicateOffset(hidden)));
    for (Model::Patch& patch : hidden.patches)
        patch.selected = &patch == &hidden.patches[0];
    EXPECT_EQ(0u, mirrorSelection(hidden, Axis::Z, {0, 0, 0, 1}));
}

TEST(SurfaceTolerances, PasteTakesWholeTextOfTypableValues) {
    Model source = band();
    source.patches[1].selected = true;
    const std::string text = selectionText(source);
    source.patches[0].selected = true; // hidden: not copied, as Ctrl+D and M leave it
    source.patches[0].visible = false;
    EXPECT_EQ(text, selectionText(source));
    const size_t firstPoint = text.find("v "), afterPoints = text.find("\r\n\r\n", firstPoint) + 2;
    std::string why;
    auto pasted = [&](std::string changed, size_t at, const std::string& with, size_t cut = 0) {
        Model target = band();
        const size_t points = target.points.size();
        changed.insert(at, with);
        const size_t added = pasteText(target, changed.substr(0, changed.size() - cut), why);
        EXPECT_EQ(added ? points + 16 : points, target.points.size()) << why;
        return added;
    };
    // Cut inside the last index ("14 15" read as "14 1"), or before the last patch's "end".
    EXPECT_EQ(0u, pasted(text, 0, "", text.size() - text.rfind(" 15") - 2));
    EXPECT_NE(std::string::npos, why.find("cut short"));
    EXPECT_EQ(0u, pasted(text, 0, "", text.size() - text.rfind("end")));
    EXPECT_EQ(0u, pasted(text, firstPoint, "v 3e38 0 0\r\n"));
    EXPECT_NE(std::string::npos, why.find("working range"));
    EXPECT_EQ(0u, pasted(text, text.find("surf"), "m 1.5\r\n"));
    EXPECT_NE(std::string::npos, why.find("opacity"));
    // A point no pasted patch uses is left behind.
    EXPECT_EQ(1u, pasted(text, afterPoints, "v 7 7 7\r\n"));
    // A copy far from the origin in small units pastes where the original is (six digits put
    // a patch a third across at 1e5 on whole units).
    Model far = band(1.0f / 3);
    for (vm::Float3& p : far.points)
        p.x += 1e5f;
    far.patches[0].selected = true;
    ASSERT_EQ(1u, pasteText(far, selectionText(far), why));
    for (size_t k = 0; k < 16; ++k)
        EXPECT_EQ(far.points[static_cast<size_t>(far.patches[0].indices[k])].x,
                  far.points[static_cast<size_t>(far.patches.back().indices[k])].x);
}
