#include "model/mesh-export.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "core/file-replace.h"
#include "model/bezier-surface.h"

namespace mesh {
namespace {

using Weights = std::array<float, 4>;

vm::Float3 blend(const vm::Float3* p, size_t stride, const Weights& w) {
    vm::Float3 r{};
    for (size_t k = 0; k < 4; ++k) {
        const vm::Float3& q = p[k * stride];
        r.x += w[k] * q.x;
        r.y += w[k] * q.y;
        r.z += w[k] * q.z;
    }
    return r;
}

vm::Float3 cross(vm::Float3 a, vm::Float3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
vm::Float3 add(vm::Float3 a, vm::Float3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
vm::Float3 negated(vm::Float3 a) {
    return {-a.x, -a.y, -a.z};
}
float dot(vm::Float3 a, vm::Float3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
vm::Float3 unit(vm::Float3 a, vm::Float3 otherwise) {
    const float length = std::sqrt(dot(a, a));
    return length > 1e-30f && std::isfinite(length)
               ? vm::Float3{a.x / length, a.y / length, a.z / length}
               : otherwise;
}

// One surface to tessellate: a patch, or the mirror image of a patch in a symmetry.
struct Surface {
    uint32_t patch;
    bool mirrored;
};

// A patch edge by its four control points in a canonical direction (the smaller of the two
// readings), so that both patches along it find it, whichever way each runs.
struct EdgeKey {
    std::array<int32_t, 4> points;
    bool mirrored; // the mirrored copy of an edge off the mirror plane
    bool operator==(const EdgeKey& o) const { return points == o.points && mirrored == o.mirrored; }
};
struct EdgeKeyHash {
    size_t operator()(const EdgeKey& k) const {
        uint64_t h = k.mirrored ? 0x9e3779b97f4a7c15ull : 0;
        for (int32_t p : k.points)
            h = (h ^ static_cast<uint32_t>(p)) * 0x100000001b3ull;
        return static_cast<size_t>(h ^ (h >> 29));
    }
};

// The four edges in the order that goes round the patch: row 0 along u, column 3 along v,
// row 3 back along u, column 0 back along v. Each is given by its control points in the
// direction its parameter grows, and whether the way round runs that way.
constexpr int kEdgePoints[4][4] = {{0, 1, 2, 3}, {3, 7, 11, 15}, {12, 13, 14, 15}, {0, 4, 8, 12}};
constexpr bool kForwardRound[4] = {true, true, false, false};

struct EdgeUse {
    uint32_t edge, surface;
    int8_t sign; // +1 when the way round the surface runs the edge's canonical direction
};

class Tessellator {
  public:
    Tessellator(const Model& model, int segments) : model_(model), n_(segments) {
        for (int k = 0; k <= n_; ++k) {
            const float t = static_cast<float>(k) / static_cast<float>(n_);
            b_.push_back(bezier::bernstein(t));
            d_.push_back(bezier::bernsteinDerivative(t));
        }
    }

    TriangleMesh run();

  private:
    size_t side() const { return static_cast<size_t>(n_ + 1); }
    std::array<vm::Float3, 16> controlPoints(const Surface& s) const;
    void placeVertices(size_t s);
    void orient();
    void emitTriangles(size_t s, TriangleMesh& mesh);
    uint32_t cornerVertex(int32_t point, bool mirrored);
    double signedVolume(size_t s) const;

    const Model& model_;
    const int n_;
    std::vector<Weights> b_, d_; // Bernstein weights and derivatives at k / n
    std::vector<Surface> surfaces_;
    std::vector<TriangleMesh::Part> parts_;
    std::vector<vm::Float3> positions_;
    std::vector<uint32_t> vertexOf_; // per surface, its (n + 1)² grid vertices, v-major
    std::vector<uint32_t> corner_[2];
    struct Edge {
        uint32_t firstVertex; // of its n − 1 vertices between the corners
        uint32_t id;
    };
    std::unordered_map<EdgeKey, Edge, EdgeKeyHash> edges_;
    std::vector<EdgeUse> uses_;
    std::vector<bool> flip_;
    // Normals shared by the surfaces meeting at a vertex where they meet smoothly.
    struct Slot {
        vm::Float3 first, sum;
        uint32_t next;
    };
    std::vector<uint32_t> slotHead_;
    std::vector<Slot> slots_;
};

std::array<vm::Float3, 16> Tessellator::controlPoints(const Surface& s) const {
    std::array<vm::Float3, 16> p = bezier::controlPoints(model_, model_.patches[s.patch]);
    if (s.mirrored)
        for (vm::Float3& q : p)
            q.x = -q.x;
    return p;
}

uint32_t Tessellator::cornerVertex(int32_t point, bool mirrored) {
    const vm::Float3 q = model_.points[static_cast<size_t>(point)];
    const bool apart = mirrored && q.x != 0; // on the mirror plane both copies are one
    uint32_t& v = corner_[apart][static_cast<size_t>(point)];
    if (v == UINT32_MAX) {
        v = static_cast<uint32_t>(positions_.size());
        positions_.push_back(apart ? vm::Float3{-q.x, q.y, q.z} : q);
    }
    return v;
}

void Tessellator::placeVertices(size_t s) {
    const Surface& surface = surfaces_[s];
    const Model::Patch& patch = model_.patches[surface.patch];
    const std::array<vm::Float3, 16> p = controlPoints(surface);
    const size_t w = side(), nn = static_cast<size_t>(n_);
    uint32_t* grid = &vertexOf_[s * w * w];
    auto at = [&](size_t i, size_t j) -> uint32_t& { return grid[j * w + i]; };
    at(0, 0) = cornerVertex(patch.indices[0], surface.mirrored);
    at(nn, 0) = cornerVertex(patch.indices[3], surface.mirrored);
    at(0, nn) = cornerVertex(patch.indices[12], surface.mirrored);
    at(nn, nn) = cornerVertex(patch.indices[15], surface.mirrored);
    for (int e = 0; e < 4; ++e) {
        std::array<int32_t, 4> points;
        for (int k = 0; k < 4; ++k)
            points[static_cast<size_t>(k)] = patch.indices[kEdgePoints[e][k]];
        // Where the edge's k-th vertex lies in the grid.
        auto gridAt = [&](size_t k) -> uint32_t& {
            switch (e) {
            case 0:
                return at(k, 0);
            case 1:
                return at(nn, k);
            case 2:
                return at(k, nn);
            default:
                return at(0, k);
            }
        };
        if (points[0] == points[1] && points[1] == points[2] && points[2] == points[3]) {
            for (size_t k = 1; k < nn; ++k)
                gridAt(k) = gridAt(0);
            continue; // collapsed to one point
        }
        std::array<int32_t, 4> reversed{points[3], points[2], points[1], points[0]};
        const bool flipped = reversed < points;
        EdgeKey key{flipped ? reversed : points, false};
        bool onPlane = true;
        for (int32_t q : key.points)
            onPlane = onPlane && model_.points[static_cast<size_t>(q)].x == 0;
        key.mirrored = surface.mirrored && !onPlane;
        auto [it, added] = edges_.try_emplace(key, Edge{static_cast<uint32_t>(positions_.size()),
                                                        static_cast<uint32_t>(edges_.size())});
        if (added) {
            vm::Float3 canonical[4];
            for (size_t k = 0; k < 4; ++k) {
                vm::Float3 q = model_.points[static_cast<size_t>(key.points[k])];
                if (key.mirrored) q.x = -q.x;
                canonical[k] = q;
            }
            for (size_t k = 1; k < nn; ++k)
                positions_.push_back(blend(canonical, 1, b_[k]));
        }
        for (size_t k = 1; k < nn; ++k)
            gridAt(k) = it->second.firstVertex + static_cast<uint32_t>((flipped ? nn - k : k) - 1);
        uses_.push_back({it->second.id, static_cast<uint32_t>(s),
                         static_cast<int8_t>((flipped != kForwardRound[e]) ? 1 : -1)});
    }
    // Inside: rows blended along u, then along v.
    for (size_t i = 1; i < nn; ++i) {
        vm::Float3 column[4];
        for (size_t r = 0; r < 4; ++r)
            column[r] = blend(&p[4 * r], 1, b_[i]);
        for (size_t j = 1; j < nn; ++j) {
            at(i, j) = static_cast<uint32_t>(positions_.size());
            positions_.push_back(blend(column, 1, b_[j]));
        }
    }
}

double Tessellator::signedVolume(size_t s) const {
    const size_t w = side();
    const uint32_t* grid = &vertexOf_[s * w * w];
    double volume = 0;
    auto tri = [&](uint32_t a, uint32_t b, uint32_t c) {
        const vm::Float3 &p = positions_[a], &q = positions_[b], &r = positions_[c];
        volume += static_cast<double>(p.x) *
                      (static_cast<double>(q.y) * r.z - static_cast<double>(q.z) * r.y) +
                  static_cast<double>(p.y) *
                      (static_cast<double>(q.z) * r.x - static_cast<double>(q.x) * r.z) +
                  static_cast<double>(p.z) *
                      (static_cast<double>(q.x) * r.y - static_cast<double>(q.y) * r.x);
    };
    for (size_t j = 0; j + 1 < w; ++j)
        for (size_t i = 0; i + 1 < w; ++i) {
            const uint32_t a = grid[j * w + i], b = grid[j * w + i + 1],
                           c = grid[(j + 1) * w + i + 1], d = grid[(j + 1) * w + i];
            tri(a, b, c);
            tri(a, c, d);
        }
    return volume / 6;
}

// Neighbours are turned to run their shared edges opposite ways (so they face the same
// way); a piece with no open edge is then turned to face outward. The first patch of an
// open piece keeps the way it was made; a mirrored copy starts turned, as a mirror turns it.
void Tessellator::orient() {
    const size_t count = surfaces_.size();
    flip_.assign(count, false);
    // Uses grouped by edge.
    std::vector<uint32_t> start(edges_.size() + 1, 0);
    for (const EdgeUse& u : uses_)
        ++start[u.edge + 1];
    for (size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    std::vector<EdgeUse> byEdge(uses_.size());
    {
        std::vector<uint32_t> fill(start.begin(), start.end() - 1);
        for (const EdgeUse& u : uses_)
            byEdge[fill[u.edge]++] = u;
    }
    std::vector<uint32_t> surfaceStart(count + 1, 0);
    for (const EdgeUse& u : uses_)
        ++surfaceStart[u.surface + 1];
    for (size_t k = 1; k < surfaceStart.size(); ++k)
        surfaceStart[k] += surfaceStart[k - 1];
    std::vector<EdgeUse> bySurface(uses_.size());
    {
        std::vector<uint32_t> fill(surfaceStart.begin(), surfaceStart.end() - 1);
        for (const EdgeUse& u : uses_)
            bySurface[fill[u.surface]++] = u;
    }

    std::vector<bool> seen(count, false);
    std::vector<uint32_t> order; // originals first, then mirrored copies
    for (size_t s = 0; s < count; ++s)
        if (!surfaces_[s].mirrored) order.push_back(static_cast<uint32_t>(s));
    for (size_t s = 0; s < count; ++s)
        if (surfaces_[s].mirrored) order.push_back(static_cast<uint32_t>(s));
    std::vector<uint32_t> piece, queue;
    for (uint32_t root : order) {
        if (seen[root]) continue;
        piece.clear();
        queue.assign(1, root);
        seen[root] = true;
        flip_[root] = surfaces_[root].mirrored;
        bool closed = true;
        while (!queue.empty()) {
            const uint32_t s = queue.back();
            queue.pop_back();
            piece.push_back(s);
            for (uint32_t k = surfaceStart[s]; k < surfaceStart[s + 1]; ++k) {
                const EdgeUse& mine = bySurface[k];
                const uint32_t uses = start[mine.edge + 1] - start[mine.edge];
                closed = closed && uses == 2;
                const int way = mine.sign * (flip_[s] ? -1 : 1);
                for (uint32_t o = start[mine.edge]; o < start[mine.edge + 1]; ++o) {
                    const EdgeUse& other = byEdge[o];
                    if (seen[other.surface]) continue;
                    seen[other.surface] = true;
                    flip_[other.surface] = other.sign != -way;
                    queue.push_back(other.surface);
                }
            }
        }
        if (!closed) continue;
        double volume = 0;
        for (uint32_t s : piece)
            volume += flip_[s] ? -signedVolume(s) : signedVolume(s);
        if (volume < 0)
            for (uint32_t s : piece)
                flip_[s] = !flip_[s];
    }
}

void Tessellator::emitTriangles(size_t s, TriangleMesh& mesh) {
    const std::array<vm::Float3, 16> p = controlPoints(surfaces_[s]);
    const size_t w = side(), nn = static_cast<size_t>(n_);
    const uint32_t* grid = &vertexOf_[s * w * w];
    const bool flip = flip_[s];
    // Each grid vertex's normal slot.
    std::vector<uint32_t> slot(w * w);
    for (size_t i = 0; i <= nn; ++i) {
        vm::Float3 rows[4], rowsDu[4];
        for (size_t r = 0; r < 4; ++r) {
            rows[r] = blend(&p[4 * r], 1, b_[i]);
            rowsDu[r] = blend(&p[4 * r], 1, d_[i]);
        }
        for (size_t j = 0; j <= nn; ++j) {
            vm::Float3 n = cross(blend(rowsDu, 1, b_[j]), blend(rows, 1, d_[j]));
            const float length = std::sqrt(dot(n, n));
            n = length > 1e-12f && std::isfinite(length)
                    ? vm::Float3{n.x / length, n.y / length, n.z / length}
                    : bezier::normalAt(p, static_cast<float>(i) / static_cast<float>(n_),
                                       static_cast<float>(j) / static_cast<float>(n_));
            if (flip) n = negated(n);
            const uint32_t v = grid[j * w + i];
            const bool inside = i > 0 && i < nn && j > 0 && j < nn;
            uint32_t found = UINT32_MAX;
            if (!inside)
                for (uint32_t k = slotHead_[v]; k != UINT32_MAX; k = slots_[k].next)
                    if (dot(slots_[k].first, n) > 0.999f) {
                        found = k;
                        break;
                    }
            if (found == UINT32_MAX) {
                found = static_cast<uint32_t>(slots_.size());
                slots_.push_back({n, {0, 0, 0}, inside ? UINT32_MAX : slotHead_[v]});
                if (!inside) slotHead_[v] = found;
            }
            slots_[found].sum = add(slots_[found].sum, n);
            slot[j * w + i] = found;
        }
    }
    auto corner = [&](size_t i, size_t j) {
        return TriangleMesh::Corner{grid[j * w + i], slot[j * w + i]};
    };
    auto emit = [&](TriangleMesh::Corner a, TriangleMesh::Corner b, TriangleMesh::Corner c) {
        if (a.position == b.position || b.position == c.position || a.position == c.position)
            return; // collapsed where the patch meets itself in a point
        if (flip) std::swap(b, c);
        mesh.corners.push_back(a);
        mesh.corners.push_back(b);
        mesh.corners.push_back(c);
    };
    for (size_t j = 0; j < nn; ++j)
        for (size_t i = 0; i < nn; ++i) {
            emit(corner(i, j), corner(i + 1, j), corner(i + 1, j + 1));
            emit(corner(i, j), corner(i + 1, j + 1), corner(i, j + 1));
        }
}

TriangleMesh Tessellator::run() {
    // Surfaces by part: patches in no group, then each group's (its mirror images after).
    const size_t groups = model_.groups.size();
    for (size_t part = 0; part <= groups; ++part) {
        const int32_t group = part == 0 ? -1 : static_cast<int32_t>(part - 1);
        const bool symmetry = model_.isSymmetry(group);
        TriangleMesh::Part p;
        p.name = part == 0 ? "surface" : model_.groups[part - 1]->name;
        const size_t before = surfaces_.size();
        for (int mirrored = 0; mirrored <= (symmetry ? 1 : 0); ++mirrored)
            for (size_t k = 0; k < model_.patches.size(); ++k) {
                const int32_t g = model_.patches[k].group;
                const bool inPart =
                    part == 0 ? (g < 0 || static_cast<size_t>(g) >= groups) : g == group;
                if (inPart) surfaces_.push_back({static_cast<uint32_t>(k), mirrored != 0});
            }
        p.firstTriangle = before; // surfaces for now; triangles once emitted
        p.triangles = surfaces_.size() - before;
        if (p.triangles > 0) parts_.push_back(p);
    }
    const size_t w = side();
    vertexOf_.assign(surfaces_.size() * w * w, 0);
    corner_[0].assign(model_.points.size(), UINT32_MAX);
    corner_[1].assign(model_.points.size(), UINT32_MAX);
    positions_.reserve(surfaces_.size() * (w - 1) * (w - 1) + 2 * w);
    for (size_t s = 0; s < surfaces_.size(); ++s)
        placeVertices(s);
    orient();

    TriangleMesh mesh;
    slotHead_.assign(positions_.size(), UINT32_MAX);
    slots_.reserve(positions_.size() + positions_.size() / 8);
    mesh.corners.reserve(surfaces_.size() * (w - 1) * (w - 1) * 6);
    for (TriangleMesh::Part& part : parts_) {
        const size_t first = part.firstTriangle, count = part.triangles;
        part.firstTriangle = mesh.triangleCount();
        for (size_t s = first; s < first + count; ++s)
            emitTriangles(s, mesh);
        part.triangles = mesh.triangleCount() - part.firstTriangle;
    }
    mesh.normals.resize(slots_.size());
    for (size_t k = 0; k < slots_.size(); ++k)
        mesh.normals[k] = unit(slots_[k].sum, slots_[k].first);
    std::vector<Slot>().swap(slots_);
    mesh.positions = std::move(positions_);
    mesh.parts = std::move(parts_);
    return mesh;
}

// Text and bytes go out through a buffer of a few megabytes, not the whole file at once.
class Output {
  public:
    explicit Output(std::FILE* file) : file_(file) { buffer_.reserve(kSize + 256); }
    void text(const char* s, size_t n) {
        buffer_.append(s, n);
        if (buffer_.size() >= kSize) flush();
    }
    void text(const char* s) { text(s, std::strlen(s)); }
    void number(float v) {
        char b[32];
        const auto r = std::to_chars(b, b + sizeof b, v);
        buffer_.append(b, r.ptr);
    }
    void number(uint64_t v) {
        char b[24];
        const auto r = std::to_chars(b, b + sizeof b, v);
        buffer_.append(b, r.ptr);
    }
    bool flush() {
        ok_ = ok_ && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size();
        buffer_.clear();
        return ok_;
    }

  private:
    static constexpr size_t kSize = size_t{4} << 20;
    std::FILE* file_;
    std::string buffer_;
    bool ok_ = true;
};

bool writeObjMesh(const TriangleMesh& mesh, std::FILE* file) {
    Output out(file);
    out.text("# Tavrel mesh: ");
    out.number(uint64_t{mesh.positions.size()});
    out.text(" vertices, ");
    out.number(uint64_t{mesh.triangleCount()});
    out.text(" triangles\n");
    auto vector = [&](const char* tag, const vm::Float3& v) {
        out.text(tag);
        out.number(v.x);
        out.text(" ", 1);
        out.number(v.y);
        out.text(" ", 1);
        out.number(v.z);
        out.text("\n", 1);
    };
    for (const vm::Float3& v : mesh.positions)
        vector("v ", v);
    for (const vm::Float3& n : mesh.normals)
        vector("vn ", n);
    for (const TriangleMesh::Part& part : mesh.parts) {
        // Names may hold blanks; OBJ names end at one.
        std::string name = part.name.empty() ? "group" : part.name;
        for (char& c : name)
            if (std::isspace(static_cast<unsigned char>(c))) c = '_';
        out.text("o ");
        out.text(name.c_str());
        out.text("\ng ");
        out.text(name.c_str());
        out.text("\n", 1);
        for (size_t t = part.firstTriangle; t < part.firstTriangle + part.triangles; ++t) {
            out.text("f", 1);
            for (size_t k = 0; k < 3; ++k) {
                const TriangleMesh::Corner& c = mesh.corners[3 * t + k];
                out.text(" ", 1);
                out.number(uint64_t{c.position} + 1);
                out.text("//", 2);
                out.number(uint64_t{c.normal} + 1);
            }
            out.text("\n", 1);
        }
    }
    return out.flush();
}

bool writeStl(const TriangleMesh& mesh, std::FILE* file) {
    Output out(file);
    char header[80] = {};
    std::snprintf(header, sizeof header, "Tavrel binary STL, %zu triangles", mesh.triangleCount());
    out.text(header, sizeof header);
    const uint32_t count = static_cast<uint32_t>(mesh.triangleCount());
    char bytes[50];
    std::memcpy(bytes, &count, 4); // little-endian, as the machines this runs on
    out.text(bytes, 4);
    for (size_t t = 0; t < mesh.triangleCount(); ++t) {
        const TriangleMesh::Corner* c = &mesh.corners[3 * t];
        const vm::Float3 &a = mesh.positions[c[0].position], &b = mesh.positions[c[1].position],
                         &d = mesh.positions[c[2].position];
        const vm::Float3 facing =
            cross({b.x - a.x, b.y - a.y, b.z - a.z}, {d.x - a.x, d.y - a.y, d.z - a.z});
        const vm::Float3 n = unit(add(add(mesh.normals[c[0].normal], mesh.normals[c[1].normal]),
                                      mesh.normals[c[2].normal]),
                                  unit(facing, {0, 0, 0}));
        const float values[12] = {n.x, n.y, n.z, a.x, a.y, a.z, b.x, b.y, b.z, d.x, d.y, d.z};
        std::memcpy(bytes, values, sizeof values);
        bytes[48] = bytes[49] = 0;
        out.text(bytes, sizeof bytes);
    }
    return out.flush();
}

} // namespace

TriangleMesh tessellate(const Model& model, int segments) {
    return Tessellator(model, std::clamp(segments, kMinSegments, kMaxSegments)).run();
}

std::optional<Format> formatFor(const std::string& path) {
    if (path.size() < 4) return std::nullopt;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".obj") return Format::Obj;
    if (ext == ".stl") return Format::Stl;
    return std::nullopt;
}

bool write(const TriangleMesh& mesh, Format format, const std::string& path, std::string& reason) {
    if (format == Format::Stl && mesh.triangleCount() > UINT32_MAX) {
        reason = "it has more triangles than an STL file can hold";
        return false;
    }
    return replaceFileWith(
        path,
        [&](std::FILE* file) {
            return format == Format::Obj ? writeObjMesh(mesh, file) : writeStl(mesh, file);
        },
        &reason);
}

} // namespace mesh
