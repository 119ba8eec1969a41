// Patches and control nets as the device draws them, read back pixel by pixel.
#include <gtest/gtest.h>

#include "editor/edit-xform.h"
#include "editor/editor-state.h"
#include "graphics/d3d11/renderer.h"
#include "view/orbit-camera.h"
#include "win32-test-support.h"

namespace {

constexpr int kWidth = 400, kHeight = 300;

class PatchRenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setFatalErrorHandler(throwOnFatalError);
        window = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        owned = Renderer::create(0.7853982f, kWidth, kHeight, window);
        r = owned.get();
        copy.setFactory(r->bufferFactory());
    }
    void TearDown() override {
        copy.release();
        r->releaseDevice();
        DestroyWindow(window);
    }

    BackBuffer draw(bool wireframe = false, bool nets = false) {
        FrameView frame;
        // The default camera: eye at (0, 0, −5) looking at the origin.
        frame.viewProjection = camera.viewMatrix() * r->projection();
        frame.wireframe = wireframe;
        r->beginView(0, frame);
        r->drawPatches(model, copy, patchViewOf(editor, vm::identity()));
        if (nets) r->drawControlNets(model, copy, patchViewOf(editor, vm::identity()));
        return readBackBuffer(*r);
    }

    // A flat square patch in the plane z = 0 spanning x in [x0, x1], y in [−0.25, 0.25].
    void flatPatch(float x0, float x1) {
        const int32_t first = static_cast<int32_t>(model.points.size());
        Model::Patch patch;
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 4; ++col) {
                model.points.push_back(
                    {x0 + (x1 - x0) * col / 3.0f, -0.25f + 0.5f * row / 3.0f, 0});
                patch.indices[static_cast<size_t>(4 * row + col)] = first + 4 * row + col;
            }
        model.patches.push_back(patch);
        copy.rebuild(model);
    }

    HWND window = nullptr;
    std::unique_ptr<Renderer> owned;
    Renderer* r = nullptr;
    Model model;
    GpuModelCopy copy;
    EditorState editor;
    OrbitCamera camera;
};

} // namespace

TEST_F(PatchRenderTest, DefaultModelIsRedInTheMiddleWithBlueNetsOnBlack) {
    model.createDefault();
    copy.rebuild(model);
    BackBuffer solid = draw(false, false);
    EXPECT_EQ(255, solid.red(kWidth / 2, kHeight / 2));
    EXPECT_EQ(0, solid.green(kWidth / 2, kHeight / 2));
    EXPECT_EQ(0xFF000000u, solid.at(2, 2)); // background stays black
    EXPECT_EQ(0xFF000000u, solid.at(kWidth - 3, kHeight - 3));
    const int redPixels = solid.count(255, 0, 0);
    EXPECT_GT(redPixels, kWidth * kHeight / 20);

    BackBuffer withNets = draw(false, true);
    EXPECT_GT(withNets.count(128, 128, 255, 2), 100); // the nets' (0.5, 0.5, 1)

    // Wireframe: lines in the patch colour, no filled surfaces.
    BackBuffer lines = draw(true, false);
    const int wirePixels = lines.count(255, 0, 0);
    EXPECT_GT(wirePixels, 200);
    EXPECT_LT(wirePixels, redPixels / 2);
}

TEST_F(PatchRenderTest, HalfTransparentPatchBlendsOverWhatIsBehind) {
    flatPatch(-0.5f, 0.5f);
    model.patches[0].alpha = 0.5f;
    BackBuffer b = draw();
    EXPECT_NEAR(128, b.red(kWidth / 2, kHeight / 2), 2);
    model.patches[0].alpha = 1.0f;
    EXPECT_EQ(255, draw().red(kWidth / 2, kHeight / 2));
}

TEST_F(PatchRenderTest, SymmetryMembersAreDrawnAgainMirroredAndHiddenPatchesNotAtAll) {
    flatPatch(0.5f, 1.0f); // +x shows on the left when looking along +z
    const int left = kWidth / 2 - 60, right = kWidth / 2 + 60, y = kHeight / 2;
    BackBuffer plain = draw();
    EXPECT_EQ(255, plain.red(left, y));
    EXPECT_EQ(0, plain.red(right, y));

    model.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    model.patches[0].group = 0;
    BackBuffer mirrored = draw(false, true);
    EXPECT_EQ(255, mirrored.red(left, y));
    EXPECT_EQ(255, mirrored.red(right, y));
    // The net is drawn once: on the stored side only.
    int netLeft = 0, netRight = 0;
    for (int x = 0; x < kWidth; ++x)
        for (int yy = 0; yy < kHeight; ++yy)
            if (mirrored.blue(x, yy) == 255 && mirrored.red(x, yy) < 200)
                (x < kWidth / 2 ? netLeft : netRight)++;
    EXPECT_GT(netLeft, 0);
    EXPECT_EQ(0, netRight);

    model.groups[0]->visible = false;
    EXPECT_EQ(0, draw(false, true).count(255, 0, 0));
    model.groups[0]->visible = true;
    model.patches[0].visible = false;
    EXPECT_EQ(0xFF000000u, draw(false, true).at(left, y));
}

TEST_F(PatchRenderTest, HoveredAndSelectedColours) {
    flatPatch(-0.5f, 0.5f);
    editor.hoveredPatch = 0;
    model.patches[0].alpha = 0.25f; // the hover colour is opaque whatever the alpha
    BackBuffer hovered = draw();
    EXPECT_NEAR(128, hovered.red(kWidth / 2, kHeight / 2), 2);
    EXPECT_NEAR(51, hovered.green(kWidth / 2, kHeight / 2), 2);
    EXPECT_EQ(255, hovered.blue(kWidth / 2, kHeight / 2));
    editor.hoveredPatch = -1;
    model.patches[0].alpha = 1;
    model.patches[0].selected = true;
    BackBuffer selected = draw();
    EXPECT_NEAR(51, selected.red(kWidth / 2, kHeight / 2), 2);
    EXPECT_EQ(255, selected.green(kWidth / 2, kHeight / 2));
}

TEST_F(PatchRenderTest, AnEmptyModelDrawsNothing) {
    copy.rebuild(model);
    EXPECT_EQ(0, draw(false, true).count(255, 0, 0));
    EXPECT_EQ(kWidth * kHeight, draw().count(0, 0, 0, 0));
}

TEST_F(PatchRenderTest, MovedPointsAreFollowed) {
    flatPatch(-0.5f, 0.5f);
    EXPECT_EQ(255, draw().red(kWidth / 2, kHeight / 2));
    for (vm::Float3& p : model.points)
        p.y += 2; // out of the middle
    copy.allPointsMoved(model);
    EXPECT_EQ(0, draw().red(kWidth / 2, kHeight / 2));
}
