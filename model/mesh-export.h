// The model's surfaces as a triangle mesh for other 3D tools: a mesh OBJ or a binary STL.
// Patches that share a row of control points share the vertices along it, so a closed model
// gives a closed mesh; the patches are turned to face the same way as their neighbours, and
// a closed piece faces outward. Normals come from the surface's derivatives. Mirrored
// halves of symmetries are included, and so are hidden patches: the file is the model.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/vector-math.h"
#include "model/model.h"

namespace mesh {

inline constexpr int kDefaultSegments = 8;
inline constexpr int kMinSegments = 1, kMaxSegments = 64;

struct TriangleMesh {
    std::vector<vm::Float3> positions;
    std::vector<vm::Float3> normals;
    struct Corner {
        uint32_t position, normal;
    };
    std::vector<Corner> corners; // three per triangle, counter-clockwise seen from outside
    struct Part {
        std::string name; // the group's, or "surface" for patches in none
        size_t firstTriangle = 0, triangles = 0;
    };
    std::vector<Part> parts;
    size_t triangleCount() const { return corners.size() / 3; }
};

// segments per patch edge, kMinSegments..kMaxSegments.
TriangleMesh tessellate(const Model& model, int segments);

enum class Format { Obj, Stl };
// From the file name's extension (".obj" or ".stl", in any case); nothing for another.
std::optional<Format> formatFor(const std::string& path);

struct Written {
    size_t vertices = 0; // distinct vertices (mesh OBJ only: STL repeats them per triangle)
    size_t triangles = 0;
};
// The model's surfaces as mesh OBJ text (1-based indices, lines ending in LF) or binary STL,
// written to path whole or not at all; reason says why when it was not.
bool exportModel(const Model& model, Format format, int segments, const std::string& path,
                 std::string& reason, Written* written = nullptr);

} // namespace mesh
