// The orbit camera's gestures, picking and selection, against values worked out by hand.
#include <gtest/gtest.h>

#include "core/quad-layout.h"
#include "core/settings-file.h"
#include "editor/document.h"
#include "editor/edit-xform.h"
#include "editor/outline-view.h"
#include "editor/pending-points.h"
#include "editor/pick-accelerator.h"
#include "editor/picking.h"
#include "editor/point-selection.h"
#include "editor/selection.h"
#include "editor/snapping.h"
#include "model/memory-tree.h"
#include "model/shape-outline.h"
#include "temp-dir.h"
#include "view/framing.h"
#include "view/reference-picture.h"

namespace {

// A flat patch in z = 0 over x, y in [x0, x0 + 1] × [−0.5, 0.5], its points appended.
void addFlatPatch(Model& model, float x0, float z = 0) {
    const int32_t first = static_cast<int32_t>(model.points.size());
    Model::Patch patch;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            model.points.push_back({x0 + c / 3.0f, -0.5f + r / 3.0f, z});
            patch.indices[static_cast<size_t>(4 * r + c)] = first + 4 * r + c;
        }
    model.patches.push_back(patch);
}

} // namespace

TEST(CameraGestures, ZoomStepsAndWrites) {
    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    OrbitCamera camera;
    camera.zoom(240, settings);
    EXPECT_EQ(-1, camera.distance);
    EXPECT_FLOAT_EQ(0.2f, camera.radius());
    camera.zoom(60, settings); // less than a notch
    EXPECT_EQ(-1, camera.distance);
    camera.zoom(-120, settings);
    EXPECT_EQ(0, settings.readInt("Session", "distance", 99));
}

TEST(CameraGestures, CommitWrapsAnglesOncePastAQuarterTurn) {
    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    OrbitCamera camera;
    const struct {
        float in, out;
    } cases[] = {{2.0f, 2.0f}, {5.0f, -1.2831855f}, {-2.0f, 4.2831855f}, {0.5f, 0.5f}};
    for (auto c : cases) {
        camera.gamma = 0;
        camera.dGamma = c.in;
        camera.theta = c.in;
        camera.commitRotation(settings);
        EXPECT_NEAR(c.out, camera.gamma, 1e-6f) << c.in;
        EXPECT_NEAR(c.out, camera.theta, 1e-6f) << c.in;
        EXPECT_EQ(0.0f, camera.dGamma);
        EXPECT_EQ(camera.gamma, camera.savedGamma);
    }
    EXPECT_NEAR(0.5f, settings.readFloat("Session", "gamma"), 1e-6f);
}

TEST(CameraGestures, OrbitDividesByTheOtherSide) {
    OrbitCamera camera;
    camera.orbit(-30, 20, 400, 300); // mouse 30 left, 20 down in a 400 × 300 viewport
    EXPECT_FLOAT_EQ(20.0f / 400, camera.dGamma);
    EXPECT_FLOAT_EQ(30.0f / 300, camera.dTheta);
}

TEST(CameraGestures, PanMovesInThePlaneOfThePressedViewAndCommits) {
    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    OrbitCamera camera;
    const float s = 5 * std::tan(0.39269909f);
    camera.panTo(100, 100, 1, 300, 100, 400, 200); // view 1: identity rotation
    EXPECT_NEAR(200.0f / 200 * s * 2, camera.pan.x, 1e-5f);
    EXPECT_NEAR(0.0f, camera.pan.y, 1e-6f);
    camera.panTo(100, 100, 3, 100, 200, 400, 200); // view 3: y of the frame turns into z
    EXPECT_NEAR(0.0f, camera.pan.y, 1e-5f);
    EXPECT_NEAR(s, camera.pan.z, 1e-5f);
    camera.commitPan(settings);
    EXPECT_NEAR(s, camera.offset.z, 1e-5f);
    EXPECT_EQ(0.0f, camera.pan.z);
    EXPECT_NEAR(s, settings.readFloat("Session", "offset.z"), 1e-5f);
}

TEST(CameraGestures, MovementKeysFirstOfEachPairWins) {
    OrbitCamera camera;
    KeyFlags keys;
    keys.down[KeyFlags::W] = keys.down[KeyFlags::S] = 1;
    camera.moveByKeys(2.0f, keys);
    EXPECT_NEAR(0.002f, camera.offset.z, 1e-7f); // forward, a thousandth of a unit a second
    keys.clear();
    keys.down[KeyFlags::A] = keys.down[KeyFlags::Shift] = 1;
    camera.moveByKeys(0.5f, keys);
    EXPECT_NEAR(0.5f, camera.offset.x, 1e-6f);
}

TEST(CameraGestures, SwitchViewCyclesTheFiveModes) {
    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    OrbitCamera camera;
    camera.savedTheta = 0.3f;
    camera.savedGamma = 0.2f;
    ViewMode mode = ViewMode::Orbit;
    EXPECT_EQ(std::nullopt, camera.switchView(mode, settings));
    EXPECT_EQ(ViewMode::Top, mode);
    EXPECT_FLOAT_EQ(1.5707964f, camera.gamma);
    EXPECT_EQ(std::nullopt, camera.switchView(mode, settings));
    EXPECT_FLOAT_EQ(1.5707964f, camera.theta);
    EXPECT_EQ(Layout::Quad, camera.switchView(mode, settings));
    EXPECT_EQ(0.3f, camera.theta);
    EXPECT_EQ(Layout::Single, camera.switchView(mode, settings)); // front
    EXPECT_EQ(0.0f, camera.gamma);
    EXPECT_EQ(std::nullopt, camera.switchView(mode, settings));
    EXPECT_EQ(ViewMode::Orbit, mode);
    EXPECT_EQ(0.2f, camera.gamma);
    EXPECT_EQ(0, settings.readInt("Session", "CurrentView", 9));
}

TEST(Picking, QuadCentreLinesBelongToTheLeftColumnAndTopRow) {
    EXPECT_EQ(1, locateViewport(400, 300, 800, 600, true).viewport);
    EXPECT_EQ(2, locateViewport(401, 300, 800, 600, true).viewport);
    EXPECT_EQ(3, locateViewport(400, 301, 800, 600, true).viewport);
    EXPECT_EQ(0, locateViewport(401, 301, 800, 600, true).viewport);
    ViewportHit hit = locateViewport(600, 450, 800, 600, true);
    EXPECT_FLOAT_EQ(0.0f, hit.nx);
    EXPECT_FLOAT_EQ(0.0f, hit.ny);
    hit = locateViewport(0, 0, 800, 600, false);
    EXPECT_FLOAT_EQ(-1.0f, hit.nx);
    EXPECT_FLOAT_EQ(1.0f, hit.ny);
    EXPECT_FLOAT_EQ(800.0f / 600, hit.aspect);
}

TEST(Picking, CameraFrameAndCursorAndGroundPoints) {
    OrbitCamera camera;
    const vm::Mat4 frame = cameraFrame(camera, 0);
    EXPECT_NEAR(-5.0f, frame[3][2], 1e-6f); // the eye
    EXPECT_NEAR(1.0f, frame[0][0], 1e-6f);  // world +x, which shows on the screen's left
    ViewportHit centre = locateViewport(200, 150, 400, 300, false);
    vm::Vec4 p = cursorPoint(camera, centre);
    EXPECT_NEAR(0.0f, p.x, 1e-6f);
    EXPECT_NEAR(0.0f, p.z, 1e-6f); // the target
    // Looking level, the centre line of the view never meets the ground: no point.
    EXPECT_FALSE(groundPoint(camera, centre).has_value());
    // Looking down at 45°, the view centre meets the ground at the target.
    camera.gamma = vm::kPi / 4;
    auto g = groundPoint(camera, centre);
    ASSERT_TRUE(g.has_value());
    EXPECT_NEAR(0.0f, g->x, 1e-5f);
    EXPECT_NEAR(0.0f, g->z, 1e-5f);
    EXPECT_NEAR(0.0f, cursorReadout(camera, 0, cursorPoint(camera, centre)).x, 1e-5f);
    // Above the horizon the line of sight meets the ground behind the eye: no point there.
    ViewportHit high = locateViewport(200, 10, 400, 300, false);
    camera.gamma = 0.05f;
    EXPECT_FALSE(groundPoint(camera, high).has_value());
    ViewportHit low = locateViewport(200, 290, 400, 300, false);
    EXPECT_TRUE(groundPoint(camera, low).has_value());
    // The start-up camera's eye lies on the ground: no ground point anywhere, but a drag can
    // still be measured across the view, at the cursor point brought down to the ground.
    camera.gamma = 0;
    EXPECT_FALSE(groundPoint(camera, low).has_value());
    auto across = dragPlanePoint(camera, low, true);
    ASSERT_TRUE(across.has_value());
    EXPECT_EQ(0.0f, across->y);
    EXPECT_NEAR(cursorPoint(camera, low).x, across->x, 1e-6f);
}

TEST(Picking, NearestPointLowestIndexOnTiesAndTheHotThreshold) {
    Model model;
    model.points = {{0.5f, 0, 0}, {0, 0, 0}, {0, 0, 0}, {3, 3, 0}};
    std::vector<int> use = {1, 1, 1, 1};
    const vm::Mat4 identity = vm::identity();
    PointPick pick = pickPoint(model, identity, identity, use, 0.01f, 0);
    EXPECT_EQ(1, pick.index); // points 1 and 2 coincide: the lower index
    EXPECT_TRUE(pick.hot);
    use[1] = 0; // unused points are never candidates
    EXPECT_EQ(2, pickPoint(model, identity, identity, use, 0.01f, 0).index);
    // The tolerance is a radius of √(1/800) ≈ 0.03536.
    Model one;
    one.points = {{0, 0, 0}};
    std::vector<int> use1 = {1};
    EXPECT_FALSE(pickPoint(one, identity, identity, use1, 0.0354f, 0).hot);
    EXPECT_TRUE(pickPoint(one, identity, identity, use1, 0.0353f, 0).hot);
    EXPECT_EQ(-1, pickPoint(Model{}, identity, identity, {}, 0, 0).index);
}

TEST(Picking, PatchUnderTheMouseNearestAlongTheRayAndNeverHidden) {
    Model model;
    addFlatPatch(model, -0.5f, 1.0f); // farther
    addFlatPatch(model, -0.5f, 0.0f); // nearer the eye at z = −5
    OrbitCamera camera;
    ViewportHit centre = locateViewport(200, 150, 400, 300, false);
    PatchPick pick = pickPatch(model, vm::identity(), camera, centre);
    EXPECT_EQ(1, pick.patch);
    EXPECT_NEAR(5.0f, pick.distance, 1e-5f);
    EXPECT_NEAR(1.0f, pick.direction.z, 1e-6f);
    model.patches[1].visible = false;
    EXPECT_EQ(0, pickPatch(model, vm::identity(), camera, centre).patch);
    model.groups.push_back(std::make_unique<Model::Group>("g"));
    model.patches[0].group = 0;
    model.groups[0]->visible = false;
    pick = pickPatch(model, vm::identity(), camera, centre);
    EXPECT_EQ(-1, pick.patch);
    EXPECT_EQ(-1.0f, pick.distance);
}

TEST(Picking, ARayThroughANetQuadsDiagonalCountsOnce) {
    // Aim exactly at the diagonal shared by a quad's two triangles: one hit, the right distance.
    Model model;
    addFlatPatch(model, -0.5f);
    OrbitCamera camera;
    camera.offset = {-0.5f + 1.0f / 6, -0.5f + 1.0f / 6, 0, 0}; // middle of the first quad
    ViewportHit centre = locateViewport(200, 150, 400, 300, false);
    PatchPick pick = pickPatch(model, vm::identity(), camera, centre);
    EXPECT_EQ(0, pick.patch);
    EXPECT_NEAR(5.0f, pick.distance, 1e-5f);
}

TEST(Selection, ClickRule) {
    Model model;
    for (int i = 0; i < 3; ++i)
        addFlatPatch(model, static_cast<float>(i));
    model.groups.push_back(std::make_unique<Model::Group>("g"));
    selectPatch(model, 1, {});
    EXPECT_TRUE(model.patches[1].selected);
    selectPatch(model, 2, {false, true}); // Shift adds
    EXPECT_TRUE(model.patches[1].selected && model.patches[2].selected);
    selectPatch(model, -1, {false, true}); // Shift on empty space: nothing
    EXPECT_TRUE(model.patches[2].selected);
    selectPatch(model, 2, {true, false}); // Control toggles, keeps the rest
    selectPatch(model, 2, {true, false});
    EXPECT_TRUE(model.patches[1].selected && model.patches[2].selected);
    selectGroup(model, 0, {});
    EXPECT_TRUE(model.groups[0]->selected);
    EXPECT_FALSE(model.patches[1].selected);
    selectPatch(model, -1, {}); // plain click on empty space clears everything
    EXPECT_FALSE(model.groups[0]->selected);
    EXPECT_EQ("", selectedPatchesText(model));
}

TEST(Selection, SelectAllPivotsOnTheBoxCentreAndHidingDropsPointUses) {
    Model empty;
    vm::Vec4 pivot = selectAll(empty);
    EXPECT_EQ(0.0f, pivot.x);
    Model model;
    addFlatPatch(model, 0);
    addFlatPatch(model, 2, 1);
    pivot = selectAll(model);
    EXPECT_FLOAT_EQ(1.5f, pivot.x);
    EXPECT_FLOAT_EQ(0.5f, pivot.z);
    EXPECT_EQ("0;1", selectedPatchesText(model));

    std::vector<int> use;
    selectPatch(model, 1, {});
    setSelectionVisible(model, false, use);
    EXPECT_FALSE(model.patches[1].visible);
    EXPECT_EQ(1, use[0]);
    EXPECT_EQ(0, use[16]); // only the hidden patch used it
}

TEST(QuadLayout, TheFourViewsTileTheAreaAndTheMouseFindsItsOwn) {
    for (auto [w, h] : {std::pair{800, 600}, std::pair{801, 603}, std::pair{7, 5}}) {
        // Four equal quarters; an odd width or height leaves its last column or row to none.
        const int coveredW = w / 2 * 2, coveredH = h / 2 * 2;
        std::vector<int> owner(static_cast<size_t>(w * h), -1);
        for (int v = 0; v < 4; ++v) {
            const ViewRect r = quadViewRect(v, w, h);
            EXPECT_EQ(w / 2, r.width);
            EXPECT_EQ(h / 2, r.height);
            for (int y = r.y; y < r.y + r.height; ++y)
                for (int x = r.x; x < r.x + r.width; ++x) {
                    ASSERT_EQ(-1, owner[static_cast<size_t>(y * w + x)])
                        << "overlap at " << x << "," << y;
                    owner[static_cast<size_t>(y * w + x)] = v;
                }
        }
        for (int y = 0; y < coveredH; ++y)
            for (int x = 0; x < coveredW; ++x) {
                ASSERT_NE(-1, owner[static_cast<size_t>(y * w + x)])
                    << "uncovered " << x << "," << y;
                // The centre lines belong to the left column and the top row, so the pixel
                // after a view's last is where the mouse still finds that view.
                const int v = quadViewportAt(x, y, w, h);
                const ViewRect r = quadViewRect(v, w, h);
                ASSERT_TRUE(x >= r.x && x <= r.x + r.width && y >= r.y && y <= r.y + r.height)
                    << x << "," << y << " found " << v;
            }
        EXPECT_EQ(0, quadViewportAt(w - 1, h - 1, w, h)); // the main view at the bottom right
        EXPECT_EQ(1, quadViewportAt(0, 0, w, h));
    }
}

TEST(PickAcceleration, AnswersExactlyAsTheFullSearch) {
    // A curved sheet seen from several cameras; random mouse positions, some hidden patches
    // and unused points.
    Model model;
    for (int k = 0; k < 30; ++k)
        addFlatPatch(model, -3.0f + 0.21f * k, 0.1f * (k % 7) - 0.3f);
    for (size_t i = 0; i < model.points.size(); ++i)
        model.points[i].y += 0.05f * static_cast<float>(i % 5);
    model.points.push_back(model.points[3]); // a duplicate: ties go to the lower index
    model.patches[4].visible = false;
    std::vector<int> use;
    rebuildUseCount(model, use);
    use.push_back(1);

    PickAccelerator accelerator;
    uint64_t revision = 0;
    uint32_t seed = 12345;
    auto random = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24) * 2 - 1;
    };
    for (int view = 0; view < 3; ++view) {
        OrbitCamera camera;
        camera.gamma = 0.3f * view;
        camera.theta = -0.5f * view;
        camera.distance = view == 2 ? 0 : 1; // close enough that points fall behind the eye
        const vm::Mat4 vp =
            camera.viewMatrix() * vm::perspectiveFovRH(0.7853982f, 1.5f, 1, 2.9919574e14f);
        for (int q = 0; q < 400; ++q) {
            ViewportHit hit = locateViewport(0, 0, 600, 400, false);
            hit.nx = random();
            hit.ny = random();
            PointPick full = pickPoint(model, vm::identity(), vp, use, hit.nx, hit.ny);
            PointPick fast = accelerator.pickPoint(model, vm::identity(), vp, use, hit.nx, hit.ny);
            ASSERT_EQ(full.index, fast.index) << view << " " << hit.nx << " " << hit.ny;
            ASSERT_EQ(full.hot, fast.hot);
            PatchPick fullPatch = pickPatch(model, vm::identity(), camera, hit);
            PatchPick fastPatch = accelerator.pickPatch(model, vm::identity(), camera, hit);
            ASSERT_EQ(fullPatch.patch, fastPatch.patch) << view << " " << hit.nx << " " << hit.ny;
            ASSERT_EQ(fullPatch.distance, fastPatch.distance);
        }
    }
    // A moved point is seen at once.
    model.points[0].x += 100;
    accelerator.follow(++revision);
    const vm::Mat4 vp =
        OrbitCamera().viewMatrix() * vm::perspectiveFovRH(0.7853982f, 1.5f, 1, 1e6f);
    EXPECT_EQ(pickPoint(model, vm::identity(), vp, use, 0.9f, 0).index,
              accelerator.pickPoint(model, vm::identity(), vp, use, 0.9f, 0).index);
}

TEST(PickAcceleration, StaysExactThroughEditsAndAnEntityMatrix) {
    // The kept hierarchies are refitted, extended or rebuilt as the model changes; every
    // answer must still be the full search's, seen through a turned and moved entity.
    Model model;
    for (int k = 0; k < 40; ++k)
        addFlatPatch(model, -4.0f + 0.2f * static_cast<float>(k),
                     0.07f * static_cast<float>(k % 5));
    std::vector<int> use;
    PickAccelerator accelerator;
    uint64_t revision = 0;
    const vm::Mat4 world =
        vm::rotationRollPitchYaw(0.3f, 0.8f, 0.1f) * vm::translation(0.5f, -0.2f, 0.3f);
    uint32_t seed = 777;
    auto random = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24) * 2 - 1;
    };
    auto checkAll = [&](const char* step) {
        rebuildUseCount(model, use);
        for (int view = 0; view < 4; ++view) {
            OrbitCamera camera;
            camera.gamma = 0.25f * view;
            camera.theta = 0.9f * view;
            camera.distance = view == 3 ? -2 : 0; // the last eye sits among the patches
            const vm::Mat4 vp =
                camera.viewMatrix() * vm::perspectiveFovRH(0.7853982f, 1.5f, 1, 1e6f);
            for (int q = 0; q < 150; ++q) {
                ViewportHit hit = locateViewport(0, 0, 600, 400, false);
                hit.nx = 1.2f * random();
                hit.ny = 1.2f * random();
                const PointPick full = pickPoint(model, world, vp, use, hit.nx, hit.ny);
                const PointPick fast = accelerator.pickPoint(model, world, vp, use, hit.nx, hit.ny);
                ASSERT_EQ(full.index, fast.index) << step << " view " << view;
                const PatchPick fullPatch = pickPatch(model, world, camera, hit);
                const PatchPick fastPatch = accelerator.pickPatch(model, world, camera, hit);
                ASSERT_EQ(fullPatch.patch, fastPatch.patch) << step << " view " << view;
                ASSERT_EQ(fullPatch.distance, fastPatch.distance) << step;
            }
        }
    };
    checkAll("start");
    for (size_t i = 0; i < model.points.size(); i += 7) // points move: boxes refitted
        model.points[i].y += 0.5f;
    accelerator.follow(++revision);
    checkAll("moved");
    addFlatPatch(model, 5.0f, 1.0f); // a patch added far away: the trees grow at their end
    accelerator.follow(++revision);
    checkAll("added");
    model.patches.erase(model.patches.begin() + 3, model.patches.begin() + 9); // ordered anew
    model.points.resize(model.points.size() - 4);
    for (Model::Patch& patch : model.patches)
        for (int32_t& index : patch.indices)
            index = std::min<int32_t>(index, static_cast<int32_t>(model.points.size()) - 1);
    accelerator.follow(++revision);
    checkAll("deleted");
}

TEST(TransformEditing, ADraggedPointKeepsItsDepthAndGoesUnderTheMouse) {
    OrbitCamera camera;
    ViewportHit hit = locateViewport(300, 100, 400, 400, false); // right of centre, up
    const vm::Float3 moved = draggedPointPosition(camera, hit, vm::identity(), {0.2f, 0.1f, 1.0f});
    EXPECT_NEAR(1.0f, moved.z, 1e-5f); // same depth from the eye at z = −5
    const float t = std::tan(0.39269909f), depth = 6.0f;
    EXPECT_NEAR(-t * depth * 0.5f, moved.x, 1e-5f); // the right of the screen is −x here
    EXPECT_NEAR(t * depth * 0.5f, moved.y, 1e-5f);
    // In a translated entity the answer comes back in model coordinates.
    const vm::Float3 local =
        draggedPointPosition(camera, hit, vm::translation(0, 0, 1), {0.2f, 0.1f, 0.0f});
    EXPECT_NEAR(0.0f, local.z, 1e-5f);
    EXPECT_NEAR(moved.x, local.x, 1e-5f);
}

TEST(TransformEditing, AnglesSweepsAndCommits) {
    EXPECT_NEAR(vm::kPi / 2, mouseAngle({0, 0, 1, 0}), 1e-6f);
    EXPECT_NEAR(6.2831855f, mouseAngle({1, 0, 0, 0}), 1e-6f); // 0 counts as a full turn
    EXPECT_NEAR(3 * vm::kPi / 2, mouseAngle({0, 0, -1, 0}), 1e-5f);
    EXPECT_NEAR(6.2831855f - 0.01f, sweptAngle(1.0f, 0.99f), 1e-5f); // just under a full turn
    EXPECT_NEAR(0.5f, sweptAngle(1.0f, 1.5f), 1e-6f);

    EXPECT_EQ(0, gizmoSegments(6.2831855f / 42 * 0.99f)); // only the needle
    EXPECT_EQ(1, gizmoSegments(6.2831855f / 42 * 1.01f));
    EXPECT_EQ(41, gizmoSegments(6.2831855f - 0.01f));

    // Committing a quarter turn about the origin moves every point.
    EditorState turning;
    turning.tool = Tool::Rotate;
    turning.transformDrag = true;
    turning.startAngle = 1;
    turning.sweepAngle = vm::kPi / 2;
    Model turned;
    turned.points = {{1, 0, 0}, {0, 2, 3}};
    turned.locators.push_back({"Cockpit", {0, 2, 3, 1}, {0, 0, 0, 1}});
    applyPreview(turning, turned);
    EXPECT_NEAR(1.0f, turned.points[0].z, 1e-6f); // −θ about y takes +x to +z
    EXPECT_NEAR(-3.0f, turned.points[1].x, 1e-6f);
    EXPECT_NEAR(2.0f, turned.points[1].y, 1e-6f);
    // The locator goes with the point at its place, and its x axis turns as +x did.
    const Model::Locator& cockpit = turned.locators[0];
    EXPECT_NEAR(-3.0f, cockpit.position.x, 1e-6f);
    EXPECT_NEAR(2.0f, cockpit.position.y, 1e-6f);
    const vm::Vec4 xAxis = vm::transform({1, 0, 0, 0}, vm::rotationQuaternion(cockpit.orientation));
    EXPECT_NEAR(1.0f, xAxis.z, 1e-6f);
    EXPECT_NEAR(0.0f, xAxis.x, 1e-6f);

    EditorState editor;
    editor.tool = Tool::Translate;
    editor.transformDrag = true;
    editor.pivot = {5, 5, 5, 0}; // the rotate tool's: no part of a translation
    editor.translation = {0, 2, 0, 0};
    Model model;
    model.createDefault();
    const float x0 = model.points[0].x;
    applyPreview(editor, model);
    EXPECT_FLOAT_EQ(1.5f, model.points[0].y);
    EXPECT_FLOAT_EQ(x0, model.points[0].x);
}

TEST(TransformEditing, TranslateHandleAndDragPoints) {
    OrbitCamera camera;
    const vm::Mat4 vp = camera.viewMatrix() * vm::perspectiveFovRH(0.7853982f, 1.0f, 1, 1e6f);
    // The handle (0, 0.5, 0) seen from (0, 0, −5): straight above the centre.
    const float hy = 0.5f / (5 * std::tan(0.39269909f));
    ViewportHit hit = locateViewport(200, 200, 400, 400, false);
    hit.ny = hy;
    EXPECT_TRUE(handleUnderMouse(camera, vp, hit));
    hit.ny = hy + 0.2f;
    EXPECT_FALSE(handleUnderMouse(camera, vp, hit));
    EXPECT_EQ(hit.ny, translatePoint(camera, hit, true, false)->y);
    hit.ny = 0; // level with the eye: the ground is out of reach, the view plane is not
    EXPECT_FALSE(translatePoint(camera, hit, false, false).has_value());
    EXPECT_TRUE(translatePoint(camera, hit, false, true).has_value());
}

TEST(AddTool, SixteenClicksMakeAPatchRowByRow) {
    Model model;
    addFlatPatch(model, 0);
    PendingPoints pending;
    MemoryTree tree;
    rebuildShapeOutline(tree, model);
    Document document(model);
    OutlineView outline(tree);
    document.addView(&outline);
    for (int i = 0; i < 15; ++i)
        EXPECT_FALSE(addPendingPoint(pending, model, tree, false, -1, {float(i), 0, 2, 1}));
    const TreeItemHandle newPoints = tree.pendingPointsItem;
    EXPECT_EQ("<New Points>", tree.itemText(newPoints));
    EXPECT_EQ("14.000000 0.000000 2.000000 ", tree.itemText(tree.childrenOf(newPoints).back()));
    EXPECT_TRUE(removeLastPendingPoint(pending, tree)); // fifteen, then one taken back
    EXPECT_EQ(14u, pending.size());
    EXPECT_EQ(14u, tree.childrenOf(newPoints).size());
    EXPECT_FALSE(addPendingPoint(pending, model, tree, false, -1, {14, 0, 2, 1}));
    // The sixteenth click is the edit; the points' items make way for the patch's own item
    // and the new points are listed.
    document.edit("Add patch", [&](Model& m) {
        EXPECT_TRUE(addPendingPoint(pending, m, tree, false, -1, {15, 0, 2, 1}));
    });
    EXPECT_TRUE(tree.childrenOf(newPoints).empty());
    ASSERT_EQ(2u, model.patches.size());
    EXPECT_EQ("patch 1 ", tree.itemText(tree.items.patchItem(1)));
    EXPECT_EQ(nullptr, tree.parentOf(tree.items.patchItem(1)));
    EXPECT_EQ(32u, tree.rows.size());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(16 + i, model.patches[1].indices[static_cast<size_t>(i)]);
    EXPECT_EQ(15.0f, model.points[31].x);
    EXPECT_TRUE(pending.empty());
    EXPECT_FALSE(removeLastPendingPoint(pending, tree));
    // The next click starts a second "<New Points>" item.
    addPendingPoint(pending, model, tree, true, 3, {});
    EXPECT_NE(newPoints, tree.pendingPointsItem);
    EXPECT_EQ("3", tree.itemText(tree.childrenOf(tree.pendingPointsItem)[0]));
}

TEST(AddTool, AnExistingPointCanFillSeveralSlots) {
    Model model;
    addFlatPatch(model, 0);
    std::vector<int> use;
    rebuildUseCount(model, use);
    PendingPoints pending;
    MemoryTree tree;
    for (int i = 0; i < 16; ++i)
        addPendingPoint(pending, model, tree, i < 3, 5, {0, 0, 0, 1});
    EXPECT_EQ(5, model.patches[1].indices[0]);
    EXPECT_EQ(5, model.patches[1].indices[2]);
    rebuildUseCount(model, use);
    EXPECT_EQ(4, use[5]); // once from the first patch, three times from the new one
    EXPECT_EQ(16u + 13u, model.points.size());
    EXPECT_TRUE(model.indicesValid());
}

// A model far from the origin, much smaller or larger than the default one, is one key
// away from filling about two thirds of the view; the camera is remembered.
TEST(CameraGestures, FramingFillsTwoThirdsOfTheViewWhereverTheModelIs) {
    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    for (float size : {1.0f, 3.0f, 40.0f, 25000.0f}) {
        OrbitCamera camera;
        camera.theta = 0.4f;
        camera.gamma = 0.3f;
        const vm::Vec4 centre{1000, 50, -20, 0};
        camera.frame(centre, size, 1.5f, settings);
        EXPECT_EQ(centre.x, camera.target().x);
        EXPECT_EQ(centre.z, camera.target().z);
        // The sphere's radius against the half height the view shows at the target.
        const float shown = size / (camera.radius() * std::tan(0.39269909f));
        EXPECT_NEAR(2.0f / 3.0f, shown, 0.01f) << size;
        OrbitCamera reread;
        reread.load(settings);
        EXPECT_NEAR(camera.radius(), reread.radius(), camera.radius() * 1e-5f);
        EXPECT_EQ(1000.0f, reread.offset.x);
    }
    // Tiny: framed as closely as a large one, the eye beyond its near plane, which follows it.
    OrbitCamera camera;
    camera.frame({0, 0, 0, 0}, 0.01f, 1.5f, settings);
    EXPECT_LT(camera.radius(), 0.1f);
    EXPECT_GT(camera.radius(), 0.01f + OrbitCamera::kNearMargin * camera.nearPlane() * 0.999f);
    EXPECT_EQ(OrbitCamera::kNearPlane, OrbitCamera::nearPlaneAt(OrbitCamera::kFullNearRadius));
    // The wheel keeps the fine part of the zoom.
    camera.frame({0, 0, 0, 0}, 3.0f, 1.5f, settings);
    const float before = camera.radius();
    camera.zoom(-120, settings);
    EXPECT_NEAR(5 * before, camera.radius(), before * 1e-4f);
}

// A box 1e-6, 1 or 1e6 across, a thousand of its sizes from the origin, framed from a
// slanting camera: its corners span about two thirds of the view's height, all within it.
TEST(CameraGestures, FramingPutsTheBoxAtTwoThirdsOfTheHeightAtAnySizeFarAway) {
    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    constexpr float kAspect = 1.5f, kFar = 2.9919574e14f;
    for (bool orthographic : {true, false})
        for (float size : {1e-6f, 1.0f, 1e6f}) {
            OrbitCamera camera;
            camera.theta = 0.4f;
            camera.gamma = 0.3f;
            camera.orthographic = orthographic;
            const vm::Vec4 min{1000 * size, -300 * size, 50 * size, 0};
            const vm::Vec4 max = min + vm::Vec4{size, 2 * size, 0.5f * size, 0};
            const Framing framing = framingOf(camera, min, max, kAspect);
            camera.frameAt(framing.target, framing.radius, settings);
            const vm::Mat4 viewProjection =
                camera.viewMatrix() *
                camera.projectionOf(0, kAspect,
                                    vm::perspectiveFovRH(vm::kFieldOfView, kAspect, 1, kFar));
            float low = 1, high = -1, widest = 0, nearest = 1, farthest = 0;
            for (int k = 0; k < 8; ++k) {
                const vm::Vec4 p = vm::transformCoord(
                    {k & 1 ? max.x : min.x, k & 2 ? max.y : min.y, k & 4 ? max.z : min.z, 1},
                    viewProjection);
                low = std::min(low, p.y);
                high = std::max(high, p.y);
                widest = std::max(widest, std::fabs(p.x));
                nearest = std::min(nearest, p.z);
                farthest = std::max(farthest, p.z);
            }
            const std::string where = std::to_string(size) + (orthographic ? " ortho" : "");
            EXPECT_GT(nearest, 0.0f) << where; // nothing cut away by the near plane
            EXPECT_LT(farthest, 0.999f) << where;
            EXPECT_NEAR(2.0f / 3.0f, (high - low) / 2, 0.05f) << where;
            EXPECT_LT(widest, 1.0f) << where;
        }
}

TEST(Snapping, GridAndAnglesAndTheRememberedStep) {
    EXPECT_FLOAT_EQ(0.3f, snap::toGrid(0.27f, 0.1f));
    EXPECT_FLOAT_EQ(-0.2f, snap::toGrid(-0.23f, 0.1f));
    EXPECT_EQ(0.27f, snap::toGrid(0.27f, 0.0f));
    const vm::Float3 p = snap::toGrid(vm::Float3{1.04f, -2.26f, 0.5f}, 0.25f);
    EXPECT_FLOAT_EQ(1.0f, p.x);
    EXPECT_FLOAT_EQ(-2.25f, p.y);
    EXPECT_FLOAT_EQ(0.5f, p.z);
    EXPECT_NEAR(snap::kAngle * 2, snap::toAngle(0.55f), 1e-6f); // 31.5° → 30°
    EXPECT_EQ(0.0f, snap::toAngle(6.2f));                       // a whole turn is none
    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    EXPECT_FLOAT_EQ(0.1f, snap::stepFrom(settings)); // missing
    settings.writeString("Session", "snapStep", "0.5");
    EXPECT_FLOAT_EQ(0.5f, snap::stepFrom(settings));
    for (const char* bad : {"-1", "0", "nan", "1e30", "x"}) {
        settings.writeString("Session", "snapStep", bad);
        EXPECT_FLOAT_EQ(0.1f, snap::stepFrom(settings)) << bad;
    }
}

// An orthographic view sees what the perspective one sees on the plane through the target,
// with parallel lines of sight: picking, the ground, point drags and rubber bands follow.
TEST(Orthographic, LinesOfSightAreParallelAndTheTargetPlaneIsShared) {
    OrbitCamera camera; // eye at z = −5 looking along +z
    const ViewportHit a = locateViewport(300, 100, 400, 400, false);
    const ViewportHit b = locateViewport(50, 350, 400, 400, false);
    camera.orthographic = true;
    const PatchPick ra = pickRay(camera, a), rb = pickRay(camera, b);
    EXPECT_NEAR(1.0f, ra.direction.z, 1e-6f); // both straight along the line of sight
    EXPECT_NEAR(1.0f, rb.direction.z, 1e-6f);
    const vm::Vec4 onPlane = cursorPoint(camera, a); // the same cursor point either way
    EXPECT_NEAR(onPlane.x, ra.origin.x, 1e-5f);
    EXPECT_NEAR(onPlane.y, ra.origin.y, 1e-5f);
    EXPECT_NEAR(onPlane.x, cursorPoint(OrbitCamera{}, a).x, 1e-6f);

    // A point dragged keeps its depth and goes under the mouse without the perspective's
    // widening: at depth 6 it lands where the target plane's cursor point is.
    const vm::Float3 moved = draggedPointPosition(camera, a, vm::identity(), {0.2f, 0.1f, 1.0f});
    EXPECT_NEAR(1.0f, moved.z, 1e-5f);
    EXPECT_NEAR(onPlane.x, moved.x, 1e-5f);
    EXPECT_NEAR(onPlane.y, moved.y, 1e-5f);

    // The projection puts the target plane where the perspective one does, so a band takes
    // the same points there; a point nearer the eye grows only in perspective.
    Model model;
    model.points = {{0.5f, 0.5f, 0}, {-0.5f, 0.2f, 0}, {0.5f, 0.5f, -3}};
    Model::Patch patch;
    patch.indices.fill(0);
    patch.indices[1] = 1;
    patch.indices[2] = 2;
    model.patches.push_back(patch);
    const vm::Mat4 perspective = vm::perspectiveFovRH(vm::kFieldOfView, 1, 1, 1000);
    const vm::Mat4 view = camera.viewMatrix();
    const ScreenBox box{-0.3f, 0, -0.01f, 0.3f}; // the top left quarter of the middle
    const vm::Mat4 flat = view * camera.projectionOf(0, 1, perspective);
    camera.orthographic = false;
    EXPECT_EQ(perspective[0][0], camera.projectionOf(0, 1, perspective)[0][0]);
    EXPECT_EQ(std::vector<uint32_t>{0}, pointsInBox(model, view * perspective, box));
    EXPECT_EQ((std::vector<uint32_t>{0, 2}), pointsInBox(model, flat, box));
}

TEST(ReferencePictures, StandInTheirAxisViewUprightAndAreRemembered) {
    OrbitCamera camera;
    EXPECT_EQ(ReferencePicture::View::Front, axisViewOf(camera.axisViewMatrix(1)));
    EXPECT_EQ(ReferencePicture::View::Side, axisViewOf(camera.axisViewMatrix(2)));
    EXPECT_EQ(ReferencePicture::View::Top, axisViewOf(camera.axisViewMatrix(3)));
    camera.theta = 0.3f;
    EXPECT_FALSE(axisViewOf(camera.viewMatrix()).has_value());

    // A picture twice as wide as high, 4 wide, centred 1 to the right of the origin: seen in
    // the front view its top left corner is on the screen's top left, the picture's (0, 0).
    ReferencePicture picture;
    picture.width = 4;
    picture.centreX = 1;
    const vm::Mat4 front = camera.axisViewMatrix(1);
    const auto quad = pictureQuad(picture, front, 2);
    const vm::Mat4 m = front * vm::orthographicRH(10, 10, -10, 10);
    const ScreenPoint topLeft = projectToScreen({quad[0].x, quad[0].y, quad[0].z}, m);
    EXPECT_NEAR(-0.2f, topLeft.x, 1e-5f); // (1 − 2) / 5
    EXPECT_NEAR(0.2f, topLeft.y, 1e-5f);  // half of 2 high, over 5
    EXPECT_EQ(0.0f, quad[0].u);
    EXPECT_EQ(0.0f, quad[0].v);

    TempDir dir;
    const SettingsFile settings(dir.file("session.ini"));
    picture.file = "C:\\drawings\\wing side.png";
    picture.view = ReferencePicture::View::Side;
    picture.fadeBy(3);
    picture.scaleBy(-1);
    picture.writeSession(settings);
    ReferencePicture back;
    back.readSession(settings);
    EXPECT_EQ(picture.file, back.file);
    EXPECT_EQ(ReferencePicture::View::Side, back.view);
    EXPECT_NEAR(0.2f, back.opacity, 1e-5f);
    EXPECT_NEAR(4 / 1.1f, back.width, 1e-5f); // a step back undoes a step up
    TempDir::write(dir.file("bad.ini"), "[Reference]\r\nWidth=-5\r\nOpacity=nan\r\nView=7\r\n");
    back.readSession(SettingsFile(dir.file("bad.ini")));
    EXPECT_EQ(ReferencePicture::View::Front, back.view);
    EXPECT_GT(back.width, 0.0f);
    EXPECT_EQ(0.5f, back.opacity);
}
