// What the renderer draws, worked out on the CPU: Bezier surfaces, line shapes, colours and
// the display matrix.
#include <gtest/gtest.h>

#include "editor/edit-xform.h"
#include "editor/overlay-geometry.h"
#include "graphics/line-shape-geometry.h"
#include "graphics/patch-colours.h"
#include "model/bezier-surface.h"

namespace {

std::array<vm::Float3, 16> wavyPatch() {
    std::array<vm::Float3, 16> p;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            p[static_cast<size_t>(4 * r + c)] = {c * 1.0f + 0.1f * r, r * 1.0f,
                                                 ((r * 7 + c * 3) % 5) * 0.4f};
    return p;
}

// Independent evaluator: de Casteljau along each row, then along the column of results.
vm::Float3 deCasteljau(const std::array<vm::Float3, 16>& p, float u, float v) {
    auto lerp = [](vm::Float3 a, vm::Float3 b, float t) {
        return vm::Float3{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
    };
    auto curve = [&](std::array<vm::Float3, 4> q, float t) {
        for (int level = 3; level > 0; --level)
            for (int i = 0; i < level; ++i)
                q[static_cast<size_t>(i)] =
                    lerp(q[static_cast<size_t>(i)], q[static_cast<size_t>(i) + 1], t);
        return q[0];
    };
    std::array<vm::Float3, 4> rows;
    for (int r = 0; r < 4; ++r)
        rows[static_cast<size_t>(r)] =
            curve({p[static_cast<size_t>(4 * r)], p[static_cast<size_t>(4 * r + 1)],
                   p[static_cast<size_t>(4 * r + 2)], p[static_cast<size_t>(4 * r + 3)]},
                  u);
    return curve(rows, v);
}

void expectNear(vm::Float3 a, vm::Float3 b, float tolerance = 1e-5f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

} // namespace

TEST(BezierSurface, CornersAreTheCornerControlPoints) {
    auto p = wavyPatch();
    expectNear(p[0], bezier::evaluate(p, 0, 0));
    expectNear(p[3], bezier::evaluate(p, 1, 0));  // u runs along the columns
    expectNear(p[12], bezier::evaluate(p, 0, 1)); // v along the rows
    expectNear(p[15], bezier::evaluate(p, 1, 1));
}

TEST(BezierSurface, AgreesWithDeCasteljauEverywhere) {
    auto p = wavyPatch();
    for (float u : {0.0f, 0.13f, 0.5f, 0.77f, 1.0f})
        for (float v : {0.0f, 0.31f, 0.6f, 1.0f})
            expectNear(deCasteljau(p, u, v), bezier::evaluate(p, u, v));
}

TEST(BezierSurface, TessellationGridFollowsTheParameterisation) {
    auto p = wavyPatch();
    vm::Float3 grid[36];
    bezier::tessellate(p, grid);
    for (int j = 0; j <= 5; ++j)
        for (int i = 0; i <= 5; ++i)
            expectNear(deCasteljau(p, i / 5.0f, j / 5.0f), grid[j * 6 + i]);

    // A flat patch stays in its plane.
    std::array<vm::Float3, 16> flat;
    for (int k = 0; k < 16; ++k)
        flat[static_cast<size_t>(k)] = {(k % 4) * 0.7f, 2.5f, (k / 4) * 1.3f - (k % 3) * 0.2f};
    bezier::tessellate(flat, grid);
    for (const vm::Float3& g : grid)
        EXPECT_FLOAT_EQ(2.5f, g.y);
}

TEST(BezierSurface, TrianglesCoverEveryGridQuadOnce) {
    const auto& indices = bezier::triangleIndices();
    ASSERT_EQ(150u, indices.size());
    int uses[36] = {};
    for (uint32_t i : indices) {
        ASSERT_LT(i, 36u);
        ++uses[i];
    }
    EXPECT_EQ(1, uses[5]);  // a corner of one quad: one triangle
    EXPECT_EQ(2, uses[0]);  // the split corner: both triangles
    EXPECT_EQ(6, uses[14]); // inner vertices touch six triangles
}

TEST(BezierSurface, ControlPointsComeFromThePool) {
    Model model;
    model.createDefault();
    auto p = bezier::controlPoints(model, model.patches[0]);
    EXPECT_EQ(model.points[38].x, p[0].x);
    EXPECT_EQ(model.points[11].z, p[15].z);
}

TEST(LineShapes, WireSphereIsTheUnitSphereWithPolesOnY) {
    const auto& sphere = lines::wireSphere();
    float lowest = 2, highest = -2;
    for (const vm::Float3& v : sphere) {
        EXPECT_NEAR(1.0f, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 1e-5f);
        lowest = std::min(lowest, v.y);
        highest = std::max(highest, v.y);
    }
    EXPECT_NEAR(-1.0f, lowest, 1e-6f);
    EXPECT_NEAR(1.0f, highest, 1e-6f); // the meridians reach the north pole
    // Cell (0, 0): a piece of the south pole's circle, then up the meridian at lon 18°.
    EXPECT_NEAR(-1.0f, sphere[0].y, 1e-6f);
    EXPECT_NEAR(sphere[1].x, sphere[2].x, 0);
    EXPECT_NEAR(-0.951057f, sphere[3].y, 1e-5f);
}

TEST(LineShapes, CubeEdgesAreTwelveAxisAlignedEdgesOfLengthTwo) {
    const auto& cube = lines::cube();
    for (size_t e = 0; e < 24; e += 2) {
        const vm::Float3 a = cube[e], b = cube[e + 1];
        const int differing = (a.x != b.x) + (a.y != b.y) + (a.z != b.z);
        EXPECT_EQ(1, differing) << e;
        EXPECT_FLOAT_EQ(2.0f, std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z));
    }
}

TEST(LineShapes, ArrowHeadFacesTheCamera) {
    // Looking along +z, an arrow along +x has its head strokes from (0.9, ±0.1, 0).
    auto a = lines::arrow({0, 0, 0, 1}, {1, 0, 0, 1}, {0, 0, 1, 0});
    expectNear({0.9f, -0.1f, 0}, a[0]);
    expectNear({1, 0, 0}, a[1]);
    expectNear({0, 0, 0}, a[2]);
    expectNear({0.9f, 0.1f, 0}, a[4]);
    expectNear({1, 0, 0}, a[5]);
}

TEST(PatchColours, SelectionHoverAndOpacity) {
    Model::Patch patch;
    patch.alpha = 0.5f;
    EXPECT_EQ(1.0f, patchColour(patch, false).x);
    EXPECT_EQ(0.5f, patchColour(patch, false).w);
    EXPECT_EQ(1.0f, patchColour(patch, true).w); // hover ignores alpha…
    EXPECT_TRUE(patchBlends(patch));             // …but not the blending
    patch.selected = true;
    EXPECT_EQ(0.2f, patchColour(patch, false).x);
    EXPECT_EQ(1.0f, patchColour(patch, false).y);
    EXPECT_EQ(0.5f, patchColour(patch, true).x);
    EXPECT_EQ(0.2f, patchColour(patch, true).z);
    patch.alpha = 1.0f;
    EXPECT_FALSE(patchBlends(patch));
    patch.alpha = std::nanf("");
    EXPECT_TRUE(patchBlends(patch));
    EXPECT_EQ(0.95f, controlNetColour(patch, false).x);
    EXPECT_EQ(0.5f, controlNetColour(Model::Patch{}, false).x);
}

TEST(DisplayMatrix, PreviewsThenMirrorsThenPlaces) {
    EditorState editor;
    const vm::Mat4 base = vm::translation(0, 0, 10);
    vm::Vec4 p = vm::transform({1, 2, 3, 1}, displayMatrix(editor, base, true));
    EXPECT_FLOAT_EQ(-1.0f, p.x);
    EXPECT_FLOAT_EQ(13.0f, p.z);

    editor.tool = Tool::Translate;
    editor.translation = {0.5f, 0, 0, 0};
    p = vm::transform({1, 2, 3, 1}, displayMatrix(editor, vm::identity(), false));
    EXPECT_FLOAT_EQ(1.0f, p.x); // no drag under way: nothing previewed
    editor.transformDrag = true;
    p = vm::transform({1, 2, 3, 1}, displayMatrix(editor, vm::identity(), false));
    EXPECT_FLOAT_EQ(1.5f, p.x);

    // Rotating a quarter turn about the vertical line through the pivot.
    editor.tool = Tool::Rotate;
    editor.pivot = {2, 0, 2, 0};
    editor.startAngle = 0.3f;
    editor.sweepAngle = vm::kPi / 2;
    p = vm::transform({3, 1, 2, 1}, displayMatrix(editor, vm::identity(), false));
    EXPECT_NEAR(2.0f, p.x, 1e-5f);
    EXPECT_NEAR(1.0f, p.y, 1e-5f);
    EXPECT_NEAR(3.0f, p.z, 1e-5f);
    editor.transformDrag = false; // between drags
    p = vm::transform({3, 1, 2, 1}, displayMatrix(editor, vm::identity(), false));
    EXPECT_NEAR(3.0f, p.x, 1e-5f);
}

// The mirrored copy of a symmetry shows during a drag exactly where the committed points
// will put it: mirror(committed p), for a translation along x and for a rotation.
TEST(DisplayMatrix, MirroredHalfPreviewsWhatIsCommitted) {
    const vm::Float3 points[] = {{1, 2, 3}, {-0.5f, 0, 2}, {0.25f, -1, -4}};
    EditorState translating;
    translating.tool = Tool::Translate;
    translating.transformDrag = true;
    translating.translation = {0.7f, 0.1f, -0.3f, 0};
    EditorState turning;
    turning.tool = Tool::Rotate;
    turning.transformDrag = true;
    turning.pivot = {1.5f, 0, -0.5f, 0};
    turning.sweepAngle = 0.9f;
    for (const EditorState* editor : {&translating, &turning}) {
        Model committed;
        committed.points.assign(std::begin(points), std::end(points));
        applyPreview(*editor, committed);
        for (size_t i = 0; i < committed.points.size(); ++i) {
            const vm::Float3 q = points[i];
            const vm::Vec4 shown =
                vm::transform({q.x, q.y, q.z, 1}, displayMatrix(*editor, vm::identity(), true));
            EXPECT_NEAR(-committed.points[i].x, shown.x, 1e-5f);
            EXPECT_NEAR(committed.points[i].y, shown.y, 1e-5f);
            EXPECT_NEAR(committed.points[i].z, shown.z, 1e-5f);
        }
    }
}

TEST(Overlays, BracketsPendingNetAndCameraSketch) {
    auto brackets = overlay::selectionBrackets({0, 0, 0, 0}, {1, 2, 3, 0});
    ASSERT_EQ(24u, brackets.size());
    EXPECT_FLOAT_EQ(0.12f, brackets[0].to.x); // from (0,0,0) along x
    EXPECT_FLOAT_EQ(0.24f, brackets[1].to.y); // along y
    EXPECT_FLOAT_EQ(0.36f, brackets[2].to.z);

    // Five pending points: the first row of three lines and one column line to the fifth.
    std::vector<vm::Vec4> points;
    for (int i = 0; i < 16; ++i)
        points.push_back({float(i % 4), float(i / 4), 0, 1});
    auto five = overlay::pendingNet({points.begin(), points.begin() + 5});
    ASSERT_EQ(4u, five.size());
    EXPECT_EQ(4.0f, five[3].to.x + five[3].to.y * 4);
    // A full net: 24 lines, the border in the bracket colour, the inside in the net colour.
    auto full = overlay::pendingNet(points);
    ASSERT_EQ(24u, full.size());
    int border = 0;
    for (const auto& s : full)
        border += s.colour.w == 1.0f;
    EXPECT_EQ(12, border);

    auto sketch = overlay::cameraSketch(5, 1.0f);
    const float h = std::tan(0.39269909f) * 5;
    EXPECT_FLOAT_EQ(h, sketch.back().to.x < 6 ? sketch[0].to.y : 0);
    EXPECT_EQ(overlay::kFrustum.y, sketch[sketch.size() - 3].colour.y);
}

// The shading normals come from the surface's derivatives: they are perpendicular to the
// surface as finite differences of it show, of unit length, and facing one way across it.
TEST(SurfaceNormals, MatchFiniteDifferencesOfTheSurface) {
    std::array<vm::Float3, 16> p;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            p[size_t(4 * r + c)] = {float(c), 0.6f * float((r * c) % 3) - 0.3f * float(r),
                                    float(r)};
    vm::Float3 normals[36];
    bezier::tessellateNormals(p, normals);
    for (int j = 0; j <= 5; ++j)
        for (int i = 0; i <= 5; ++i) {
            const float u = i / 5.0f, v = j / 5.0f, h = 1e-3f;
            const float u0 = std::max(0.0f, u - h), u1 = std::min(1.0f, u + h);
            const float v0 = std::max(0.0f, v - h), v1 = std::min(1.0f, v + h);
            const vm::Float3 a = bezier::evaluate(p, u1, v), b = bezier::evaluate(p, u0, v);
            const vm::Float3 c = bezier::evaluate(p, u, v1), d = bezier::evaluate(p, u, v0);
            const vm::Float3 du{a.x - b.x, a.y - b.y, a.z - b.z},
                dv{c.x - d.x, c.y - d.y, c.z - d.z};
            vm::Float3 n{du.y * dv.z - du.z * dv.y, du.z * dv.x - du.x * dv.z,
                         du.x * dv.y - du.y * dv.x};
            const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
            n = {n.x / length, n.y / length, n.z / length};
            const vm::Float3 m = normals[6 * j + i];
            EXPECT_NEAR(1.0f, std::sqrt(m.x * m.x + m.y * m.y + m.z * m.z), 1e-5f);
            EXPECT_GT(n.x * m.x + n.y * m.y + n.z * m.z, 0.999f) << i << "," << j;
        }
    // A flat patch of the default orientation faces one way; a collapsed row still gets one.
    std::array<vm::Float3, 16> collapsed = p;
    for (int c = 0; c < 4; ++c)
        collapsed[size_t(c)] = {1.5f, 0, 0};
    const vm::Float3 n = bezier::normalAt(collapsed, 0.0f, 0.0f);
    EXPECT_NEAR(1.0f, std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1e-5f);
}
