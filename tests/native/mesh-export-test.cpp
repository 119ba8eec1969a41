// The exported triangle mesh: shared patch edges welded, neighbours facing the same way,
// closed pieces closed and facing out, mirrored halves and hidden patches included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>

#include "core/file-replace.h"
#include "model/mesh-export.h"
#include "model/mesh-tessellation.h"
#include "model/obj-format.h"
#include "temp-dir.h"

namespace {

vm::Float3 minus(vm::Float3 a, vm::Float3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
vm::Float3 crossOf(vm::Float3 a, vm::Float3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dotOf(vm::Float3 a, vm::Float3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Every triangle's winding agrees with its corners' normals.
void expectTrianglesFaceTheirNormals(const mesh::TriangleMesh& m) {
    for (size_t t = 0; t < m.triangleCount(); ++t) {
        const auto* c = &m.corners[3 * t];
        const vm::Float3 a = m.positions[c[0].position];
        const vm::Float3 facing =
            crossOf(minus(m.positions[c[1].position], a), minus(m.positions[c[2].position], a));
        for (int k = 0; k < 3; ++k)
            ASSERT_GT(dotOf(facing, m.normals[c[k].normal]), 0) << "triangle " << t;
    }
}

// Directed edges of the triangles: a closed, consistently wound mesh has each once, and
// its reverse once.
std::map<std::pair<uint32_t, uint32_t>, int> directedEdges(const mesh::TriangleMesh& m) {
    std::map<std::pair<uint32_t, uint32_t>, int> edges;
    for (size_t t = 0; t < m.triangleCount(); ++t)
        for (int k = 0; k < 3; ++k)
            ++edges[{m.corners[3 * t + k].position, m.corners[3 * t + (k + 1) % 3].position}];
    return edges;
}

TEST(MeshExport, ACubeOfPatchesIsClosedAndFacesOut) {
    Model model;
    std::string text;
    ASSERT_TRUE(readFileContents(TAVREL_SOURCE_DIR "/tests/tools/cube-of-patches.obj", text));
    ASSERT_TRUE(readObj(text, model, nullptr).ok());
    model.patches[2].visible = false; // hidden patches are part of the file
    for (int segments : {1, 2, 8}) {
        const mesh::TriangleMesh m = mesh::tessellate(model, segments);
        const size_t n = static_cast<size_t>(segments);
        EXPECT_EQ(6 * 2 * n * n, m.triangleCount());
        // 8 corners, n − 1 on each of 12 edges, (n − 1)² inside each face.
        EXPECT_EQ(8 + 12 * (n - 1) + 6 * (n - 1) * (n - 1), m.positions.size());
        const auto edges = directedEdges(m);
        for (const auto& [edge, count] : edges) {
            ASSERT_EQ(1, count);
            ASSERT_EQ(1u, edges.count({edge.second, edge.first}));
        }
        expectTrianglesFaceTheirNormals(m);
        // Outward: the normal at each face's centre points away from the cube's centre.
        for (size_t t = 0; t < m.triangleCount(); ++t) {
            const auto* c = &m.corners[3 * t];
            ASSERT_GT(dotOf(m.positions[c[0].position], m.normals[c[0].normal]), 0);
        }
    }
}

// Two patches side by side sharing a column of control points, the second made running the
// other way (its normal would face the other side): one row of vertices, one facing.
TEST(MeshExport, PatchesSharingARowShareItsVerticesAndFaceTheSameWay) {
    Model model;
    for (int x = 0; x < 7; ++x)
        for (int y = 0; y < 4; ++y)
            model.points.push_back(
                {static_cast<float>(x) / 3, static_cast<float>(y) / 3,
                 0.1f * static_cast<float>(x) + 0.05f * static_cast<float>(y * y)});
    auto point = [](int x, int y) { return static_cast<int32_t>(x * 4 + y); };
    Model::Patch left, right;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            left.indices[static_cast<size_t>(4 * r + c)] = point(c, r);
            right.indices[static_cast<size_t>(4 * r + c)] = point(6 - c, r); // runs back
        }
    model.patches = {left, right};
    const mesh::TriangleMesh m = mesh::tessellate(model, 6);
    EXPECT_EQ(2u * 7 * 7 - 7, m.positions.size()); // the shared column once
    expectTrianglesFaceTheirNormals(m);
    // Every vertex's normals point the same way (+z side here), across the shared column too.
    for (const vm::Float3& n : m.normals)
        ASSERT_GT(n.z, 0.3f);
    // The shared column's vertices have one normal each: the surface is smooth across it.
    EXPECT_EQ(m.positions.size(), m.normals.size());
}

TEST(MeshExport, SymmetriesExportTheirMirrorImageFacingOut) {
    Model model;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            model.points.push_back({1.0f + static_cast<float>(c) / 3, static_cast<float>(r) / 3,
                                    0.2f * static_cast<float>(c)});
    Model::Patch patch;
    for (int k = 0; k < 16; ++k)
        patch.indices[static_cast<size_t>(k)] = k;
    patch.group = 0;
    model.patches = {patch};
    model.groups.push_back(std::make_unique<Model::Symmetry>("hull"));
    const mesh::TriangleMesh m = mesh::tessellate(model, 4);
    ASSERT_EQ(1u, m.parts.size());
    EXPECT_EQ("hull", m.parts[0].name);
    EXPECT_EQ(2u * 2 * 4 * 4, m.triangleCount());
    EXPECT_EQ(2u * 25, m.positions.size()); // nothing on the mirror plane: apart
    expectTrianglesFaceTheirNormals(m);
    // The mirror image's normals are the originals' mirrored.
    size_t mirrored = 0;
    for (size_t t = 0; t < m.triangleCount(); ++t) {
        const auto& c = m.corners[3 * t];
        if (m.positions[c.position].x < 0) {
            ++mirrored;
            const vm::Float3 n = m.normals[c.normal];
            EXPECT_GT(n.x, 0); // the original faces −x (its z rises with x): the image +x
        }
    }
    EXPECT_EQ(32u, mirrored);
}

TEST(MeshExport, FormatsComeFromTheFileName) {
    EXPECT_EQ(mesh::Format::Obj, mesh::formatFor("ship.OBJ"));
    EXPECT_EQ(mesh::Format::Stl, mesh::formatFor("C:\\print\\ship.stl"));
    EXPECT_FALSE(mesh::formatFor("ship.ply").has_value());
    EXPECT_FALSE(mesh::formatFor("stl").has_value());
}

} // namespace

namespace {

// A knob: four patches of revolution about a vertical axis whose top rows collapse into the
// tip (0.1, 0.2, 3.15), as the classic teapot's lid ends. Coordinates that are not short
// binary fractions make the derivative along the collapsed row rounding noise.
Model knob() {
    Model model;
    const float k = 0.5523f; // a quarter circle's handle length
    const float radius[4] = {1.0f, 1.0f, 0.6f, 0.0f}, height[4] = {2.2f, 2.9f, 3.15f, 3.15f};
    const float quarter[4][2] = {{1, 0}, {1, k}, {k, 1}, {0, 1}};
    for (int q = 0; q < 4; ++q) {
        Model::Patch patch;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                // The quarter turned by q right angles.
                float x = quarter[c][0], y = quarter[c][1];
                for (int t = 0; t < q; ++t)
                    std::swap(x, y), x = -x;
                patch.indices[static_cast<size_t>(4 * r + c)] =
                    static_cast<int32_t>(model.points.size());
                model.points.push_back({0.1f + radius[r] * x, 0.2f + radius[r] * y, height[r]});
            }
        model.patches.push_back(patch);
    }
    return model;
}

float degreesBetween(vm::Float3 a, vm::Float3 b) {
    const float cosine = dotOf(a, b) / std::sqrt(dotOf(a, a) * dotOf(b, b));
    return std::acos(std::clamp(cosine, -1.0f, 1.0f)) * 57.29578f;
}

} // namespace

// At a collapsed tip the normal is the tip's, not the rounding noise's; no triangle of zero
// area leaves the export, and splitting a quad the other way keeps the mesh closed.
TEST(MeshExport, NormalsAtACollapsedTipAndNoZeroAreaTriangles) {
    const Model model = knob();
    const mesh::TriangleMesh m = mesh::tessellate(model, 8);
    size_t atTip = 0;
    for (const auto& corner : m.corners) {
        const vm::Float3 p = m.positions[corner.position];
        if (std::fabs(p.x - 0.1f) + std::fabs(p.y - 0.2f) > 1e-6f || p.z < 3.14f) continue;
        ++atTip;
        EXPECT_LT(degreesBetween(m.normals[corner.normal], {0, 0, 1}), 1.0f);
    }
    EXPECT_GT(atTip, 0u);

    TempDir dir;
    const std::string stl = dir.file("knob.stl");
    std::string reason;
    ASSERT_TRUE(mesh::exportModel(model, mesh::Format::Stl, 16, stl, reason)) << reason;
    std::string bytes;
    ASSERT_TRUE(readFileContents(stl, bytes));
    uint32_t facets = 0;
    std::memcpy(&facets, bytes.data() + 80, 4);
    for (uint32_t f = 0; f < facets; ++f) {
        float v[12];
        std::memcpy(v, bytes.data() + 84 + 50 * f, sizeof v);
        const vm::Float3 n{v[0], v[1], v[2]}, a{v[3], v[4], v[5]}, b{v[6], v[7], v[8]},
            c{v[9], v[10], v[11]};
        auto tip = [](vm::Float3 q) {
            return std::fabs(q.x - 0.1f) + std::fabs(q.y - 0.2f) < 1e-6f && q.z > 3.14f;
        };
        if (!tip(a) && !tip(b) && !tip(c)) continue; // the facets around the tip
        EXPECT_LT(degreesBetween(n, crossOf(minus(b, a), minus(c, a))), 2.0f) << "facet " << f;
    }

    // Three corners of a patch in a line: at one segment its usual diagonal makes a sliver.
    Model sliver;
    sliver.createDefault();
    const auto& p = sliver.patches[0].indices;
    const vm::Float3 a = sliver.points[size_t(p[0])], c = sliver.points[size_t(p[15])];
    sliver.points[size_t(p[3])] = {(a.x + c.x) / 2, (a.y + c.y) / 2, (a.z + c.z) / 2};
    const mesh::TriangleMesh one = mesh::tessellate(sliver, 1);
    for (size_t t = 0; t < one.triangleCount(); ++t) {
        const auto* k = &one.corners[3 * t];
        EXPECT_FALSE(mesh::zeroArea(one.positions[k[0].position], one.positions[k[1].position],
                                    one.positions[k[2].position]))
            << "triangle " << t;
    }
    EXPECT_EQ(8u, one.triangleCount()); // split the other way, none lost
    for (const auto& [edge, count] : directedEdges(one))
        EXPECT_EQ(1, count);
}
