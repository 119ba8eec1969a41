// The model's records, the built-in model and the GPU copy derived from it.
#include <gtest/gtest.h>

#include "graphics/gpu-model-copy.h"
#include "model/editor-point.h"
#include "model/model.h"
#include "model/tree-item-param.h"
#include "recording-gpu.h"

namespace {

std::array<int32_t, 16> patchIndices(std::initializer_list<int32_t> list) {
    std::array<int32_t, 16> a{};
    std::copy(list.begin(), list.end(), a.begin());
    return a;
}

} // namespace

TEST(DefaultModel, HasTheBuiltInPointsAndRing) {
    Model model;
    model.createDefault();
    ASSERT_EQ(48u, model.points.size());
    ASSERT_EQ(4u, model.patches.size());
    EXPECT_EQ(patchIndices({38, 41, 44, 47, 0, 3, 6, 9, 1, 4, 7, 10, 2, 5, 8, 11}),
              model.patches[0].indices);
    // Spot checks across the table, exact decimal constants.
    auto expectPoint = [&](size_t i, float x, float y, float z) {
        EXPECT_EQ(x, model.points[i].x) << i;
        EXPECT_EQ(y, model.points[i].y) << i;
        EXPECT_EQ(z, model.points[i].z) << i;
    };
    expectPoint(0, 1, -0.5f, 0.5f);
    expectPoint(1, 0.5f, -0.3536f, 1.354f);
    expectPoint(13, -1.5f, 0, 0.5f);
    expectPoint(19, -0.8333f, 0, 0.5f);
    expectPoint(27, -1.167f, 0, -0.5f);
    expectPoint(31, -0.5f, -0.1179f, -0.8821f);
    expectPoint(42, 0.5f, -0.1179f, -0.8821f);
    expectPoint(47, 1, -0.5f, 0);
    // Each patch starts where the previous one ends, closing the ring.
    for (size_t p = 0; p < 4; ++p) {
        const auto& here = model.patches[p].indices;
        const auto& before = model.patches[(p + 3) % 4].indices;
        for (size_t c = 0; c < 4; ++c)
            EXPECT_EQ(before[12 + c], here[c]) << p;
        EXPECT_EQ(-1, model.patches[p].group);
        EXPECT_EQ(1.0f, model.patches[p].alpha);
        EXPECT_TRUE(model.patches[p].visible);
        EXPECT_FALSE(model.patches[p].selected);
    }
    EXPECT_TRUE(model.indicesValid());
}

TEST(ModelBuffers, BuildsOneVertexBufferAndOneIndexBufferForEveryPatch) {
    RecordingGpu gpu;
    GpuModelCopy copy;
    copy.setFactory(&gpu);
    Model model;
    model.createDefault();
    copy.rebuild(model);
    ASSERT_EQ(2u, gpu.created.size());
    EXPECT_TRUE(gpu.created[0].vertex);
    EXPECT_EQ(48u * 12, gpu.created[0].bytes);
    // One index buffer: patch p's 16 indices at 16·p.
    const auto& index = gpu.created[1];
    EXPECT_EQ(4u * 64, index.bytes);
    for (size_t p = 0; p < 4; ++p)
        EXPECT_TRUE(std::equal(model.patches[p].indices.begin(), model.patches[p].indices.end(),
                               index.indices.begin() + static_cast<long>(16 * p)));
    EXPECT_EQ(2, gpu.live);
    EXPECT_TRUE(copy.patchIndices());

    // A structural change releases everything and rebuilds it whole.
    model.patches.pop_back();
    copy.rebuild(model);
    EXPECT_EQ(2, gpu.live);
    EXPECT_EQ(3u * 64, gpu.created.back().bytes);

    copy.release();
    EXPECT_EQ(0, gpu.live);
    EXPECT_FALSE(copy.hasBuffers());
}

TEST(ModelBuffers, AnEmptyPoolCreatesNothing) {
    RecordingGpu gpu;
    GpuModelCopy copy;
    copy.setFactory(&gpu);
    copy.rebuild(Model{});
    EXPECT_TRUE(gpu.created.empty());
    EXPECT_FALSE(copy.hasBuffers());
    EXPECT_FALSE(copy.patchIndices());
}

TEST(ModelBuffers, ControlNetLeavesOutRowZeroAndColumnZero) {
    Model::Patch patch;
    for (int i = 0; i < 16; ++i)
        patch.indices[static_cast<size_t>(i)] = 100 + i;
    auto net = controlNetIndices(patch);
    // First pair of segments: down from (0,1) to (1,1), across from (1,0) to (1,1).
    EXPECT_EQ(101, net[0]);
    EXPECT_EQ(105, net[1]);
    EXPECT_EQ(104, net[2]);
    EXPECT_EQ(105, net[3]);
    // Last: down from (2,3) to (3,3), across from (3,2) to (3,3).
    EXPECT_EQ(111, net[32]);
    EXPECT_EQ(115, net[33]);
    EXPECT_EQ(114, net[34]);
    EXPECT_EQ(115, net[35]);
    // No segment joins two points of row 0 or two points of column 0.
    for (size_t s = 0; s < 36; s += 2) {
        int a = net[s] - 100, b = net[s + 1] - 100;
        EXPECT_FALSE(a / 4 == 0 && b / 4 == 0) << s;
        EXPECT_FALSE(a % 4 == 0 && b % 4 == 0) << s;
    }
}

TEST(ModelRecords, ClearKeepsLocatorsAndDefaultRestoresTheStart) {
    Model model;
    model.createDefault();
    model.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    model.locators.push_back({});
    model.clear();
    EXPECT_TRUE(model.points.empty());
    EXPECT_TRUE(model.patches.empty());
    EXPECT_TRUE(model.groups.empty());
    EXPECT_EQ(1u, model.locators.size());
    model.createDefault();
    Model fresh;
    fresh.createDefault();
    EXPECT_EQ(fresh.patches[2].indices, model.patches[2].indices);
    EXPECT_EQ(vm::Quat(0, 0, 0, 1).w, model.locators[0].orientation.w);
}

TEST(ModelRecords, ShownRuleAndSymmetryByTypeAlone) {
    Model model;
    model.groups.push_back(std::make_unique<Model::Group>("Sym_0"));
    model.groups.push_back(std::make_unique<Model::Symmetry>("wing"));
    EXPECT_FALSE(model.isSymmetry(0)); // a plain group named like a symmetry
    EXPECT_TRUE(model.isSymmetry(1));
    EXPECT_FALSE(model.isSymmetry(-1));

    Model::Patch patch;
    EXPECT_TRUE(model.isShown(patch));
    patch.group = 1;
    model.groups[1]->visible = false;
    EXPECT_FALSE(model.isShown(patch)); // own flag set, group hidden
    model.groups[1]->visible = true;
    patch.visible = false;
    EXPECT_FALSE(model.isShown(patch)); // own flag cleared, group visible
}

TEST(ModelRecords, IndicesOutsideThePoolAreCaught) {
    Model model;
    model.createDefault();
    model.patches[3].indices[15] = 48;
    EXPECT_FALSE(model.indicesValid());
    model.patches[3].indices[15] = -1;
    EXPECT_FALSE(model.indicesValid());
    model.patches[3].indices[15] = 47;
    model.patches[3].group = 0; // no groups
    EXPECT_FALSE(model.indicesValid());
}

TEST(ModelRecords, TreeItemParameterPacksKindAndIndex) {
    EXPECT_EQ(0x00000052u, encodeTreeItemParam(TreeItemKind::Locator, 5));
    EXPECT_EQ(0x00000000u, encodeTreeItemParam(TreeItemKind::Patch, 0));
    TreeItemParam p = decodeTreeItemParam(0xFFFF0001u);
    EXPECT_EQ(TreeItemKind::Group, p.kind);
    EXPECT_EQ(0xFFFF000u, p.index);
    // Patch 100,000 is itself, not patch 34,464.
    EXPECT_EQ(100000u, decodeTreeItemParam(encodeTreeItemParam(TreeItemKind::Patch, 100000)).index);
}

TEST(ModelRecords, PendingPointsReportTheirPositions) {
    Model model;
    model.createDefault();
    Editor::NewPoint fresh({1, 2, 3, 1});
    Editor::ExistingPoint existing(model, 1);
    const Editor::Point& a = fresh;
    const Editor::Point& b = existing;
    EXPECT_EQ(3.0f, a.position().z);
    EXPECT_EQ(1.0f, a.position().w);
    EXPECT_EQ(0.5f, b.position().x);
    EXPECT_EQ(1.354f, b.position().z);
    EXPECT_EQ(0.0f, b.position().w);
}
