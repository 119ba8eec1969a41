#include "model/mesh-export.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "core/file-replace.h"
#include "model/mesh-tessellation.h"

namespace mesh {
namespace {

vm::Float3 add(vm::Float3 a, vm::Float3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
float dot(vm::Float3 a, vm::Float3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
vm::Float3 cross(vm::Float3 a, vm::Float3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
vm::Float3 unit(vm::Float3 a, vm::Float3 otherwise) {
    const float length = std::sqrt(dot(a, a));
    return length > 1e-30f && std::isfinite(length)
               ? vm::Float3{a.x / length, a.y / length, a.z / length}
               : otherwise;
}

// The surfaces' grids joined into one mesh: each corner, edge and inside vertex once, and
// one normal per vertex for the surfaces that meet there smoothly.
class MeshBuilder {
  public:
    explicit MeshBuilder(const SurfacePlan& plan) : plan_(plan) {}
    TriangleMesh run();

  private:
    uint32_t cornerVertex(size_t surface, int corner, const vm::Float3& position);
    void addSurface(size_t s, TriangleMesh& mesh);

    const SurfacePlan& plan_;
    std::vector<vm::Float3> positions_;
    std::vector<uint32_t> corner_[2];    // by control point: the vertex, per side of the mirror
    std::vector<uint32_t> edgeVertices_; // by edge: the first of its n − 1 inner vertices
    struct Slot {
        vm::Float3 first, sum;
        uint32_t next;
    };
    std::vector<uint32_t> slotHead_;
    std::vector<Slot> slots_;
    std::vector<vm::Float3> grid_, normals_;
    std::vector<uint32_t> vertexOf_, slotOf_;
};

uint32_t MeshBuilder::cornerVertex(size_t s, int corner, const vm::Float3& position) {
    const SurfacePlan::Surface& surface = plan_.surfaces()[s];
    const int32_t point = plan_.model().patches[surface.patch].indices[static_cast<size_t>(corner)];
    const bool apart = surface.mirrored && position.x != 0; // on the mirror plane both are one
    uint32_t& v = corner_[apart][static_cast<size_t>(point)];
    if (v == UINT32_MAX) {
        v = static_cast<uint32_t>(positions_.size());
        positions_.push_back(position);
        slotHead_.push_back(UINT32_MAX);
    }
    return v;
}

void MeshBuilder::addSurface(size_t s, TriangleMesh& mesh) {
    const size_t w = plan_.side(), n = w - 1;
    plan_.positions(s, grid_.data());
    plan_.normals(s, normals_.data());
    auto index = [w](size_t i, size_t j) { return j * w + i; };
    vertexOf_[index(0, 0)] = cornerVertex(s, 0, grid_[index(0, 0)]);
    vertexOf_[index(n, 0)] = cornerVertex(s, 3, grid_[index(n, 0)]);
    vertexOf_[index(0, n)] = cornerVertex(s, 12, grid_[index(0, n)]);
    vertexOf_[index(n, n)] = cornerVertex(s, 15, grid_[index(n, n)]);
    for (int e = 0; e < 4; ++e) {
        auto gridAt = [&](size_t k) {
            switch (e) {
            case 0:
                return index(k, 0);
            case 1:
                return index(n, k);
            case 2:
                return index(k, n);
            default:
                return index(0, k);
            }
        };
        const SurfacePlan::EdgeRef& ref = plan_.edge(s, e);
        if (ref.id == UINT32_MAX) {
            for (size_t k = 1; k < n; ++k)
                vertexOf_[gridAt(k)] = vertexOf_[gridAt(0)];
            continue;
        }
        uint32_t& first = edgeVertices_[ref.id];
        if (first == UINT32_MAX) {
            first = static_cast<uint32_t>(positions_.size());
            for (size_t k = 1; k < n; ++k) { // in the canonical direction
                positions_.push_back(grid_[gridAt(ref.reversed ? n - k : k)]);
                slotHead_.push_back(UINT32_MAX);
            }
        }
        for (size_t k = 1; k < n; ++k)
            vertexOf_[gridAt(k)] = first + static_cast<uint32_t>((ref.reversed ? n - k : k) - 1);
    }
    for (size_t j = 1; j < n; ++j)
        for (size_t i = 1; i < n; ++i) {
            vertexOf_[index(i, j)] = static_cast<uint32_t>(positions_.size());
            positions_.push_back(grid_[index(i, j)]);
            slotHead_.push_back(UINT32_MAX);
        }
    // Normals: a vertex on the surface's rim shares a slot with another surface's normal
    // there when the two agree (the surfaces meet smoothly), else has one of its own.
    for (size_t k = 0; k < w * w; ++k) {
        const uint32_t v = vertexOf_[k];
        const vm::Float3& normal = normals_[k];
        uint32_t found = UINT32_MAX;
        for (uint32_t slot = slotHead_[v]; slot != UINT32_MAX; slot = slots_[slot].next)
            if (dot(slots_[slot].first, normal) > 0.999f) {
                found = slot;
                break;
            }
        if (found == UINT32_MAX) {
            found = static_cast<uint32_t>(slots_.size());
            slots_.push_back({normal, {0, 0, 0}, slotHead_[v]});
            slotHead_[v] = found;
        }
        slots_[found].sum = add(slots_[found].sum, normal);
        slotOf_[k] = found;
    }
    surfaceTriangles(w, plan_.turned(s), grid_.data(), [&](size_t a, size_t b, size_t c) {
        if (vertexOf_[a] == vertexOf_[b] || vertexOf_[b] == vertexOf_[c] ||
            vertexOf_[a] == vertexOf_[c])
            return; // collapsed where the patch meets itself in a point
        for (size_t k : {a, b, c})
            mesh.corners.push_back({vertexOf_[k], slotOf_[k]});
    });
}

TriangleMesh MeshBuilder::run() {
    const size_t w = plan_.side(), count = plan_.surfaces().size();
    corner_[0].assign(plan_.model().points.size(), UINT32_MAX);
    corner_[1].assign(plan_.model().points.size(), UINT32_MAX);
    edgeVertices_.assign(plan_.edgeCount(), UINT32_MAX);
    grid_.resize(w * w);
    normals_.resize(w * w);
    vertexOf_.resize(w * w);
    slotOf_.resize(w * w);
    positions_.reserve(count * (w - 1) * (w - 1) + 2 * w);
    slotHead_.reserve(positions_.capacity());
    slots_.reserve(positions_.capacity() + positions_.capacity() / 8);
    TriangleMesh mesh;
    mesh.corners.reserve(count * (w - 1) * (w - 1) * 6);
    for (const SurfacePlan::Part& part : plan_.parts()) {
        TriangleMesh::Part p{part.name, mesh.triangleCount(), 0};
        for (size_t s = part.firstSurface; s < part.firstSurface + part.surfaces; ++s)
            addSurface(s, mesh);
        p.triangles = mesh.triangleCount() - p.firstTriangle;
        mesh.parts.push_back(std::move(p));
    }
    mesh.normals.resize(slots_.size());
    for (size_t k = 0; k < slots_.size(); ++k)
        mesh.normals[k] = unit(slots_[k].sum, slots_[k].first);
    mesh.positions = std::move(positions_);
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

// The STL facets of a range of surfaces, each with the normal its corners' derivative
// normals agree on; returns the bytes written at out (at most 100·n² per surface).
size_t stlFacets(const SurfacePlan& plan, size_t first, size_t end, char* out, size_t& triangles) {
    const size_t w = plan.side();
    std::vector<vm::Float3> grid(w * w), normals(w * w);
    char* at = out;
    for (size_t s = first; s < end; ++s) {
        plan.positions(s, grid.data());
        plan.normals(s, normals.data());
        surfaceTriangles(w, plan.turned(s), grid.data(), [&](size_t a, size_t b, size_t c) {
            const vm::Float3 &p = grid[a], &q = grid[b], &r = grid[c];
            vm::Float3 n = add(add(normals[a], normals[b]), normals[c]);
            const float length = std::sqrt(dot(n, n));
            if (length > 1e-30f && std::isfinite(length)) {
                n = {n.x / length, n.y / length, n.z / length};
            } else { // the corners disagree completely: the facet's own facing
                n = unit(
                    cross({q.x - p.x, q.y - p.y, q.z - p.z}, {r.x - p.x, r.y - p.y, r.z - p.z}),
                    {0, 0, 0});
            }
            const float values[12] = {n.x, n.y, n.z, p.x, p.y, p.z, q.x, q.y, q.z, r.x, r.y, r.z};
            std::memcpy(at, values, sizeof values); // little-endian, as x86 and ARM
            at[48] = at[49] = 0;
            at += 50;
            ++triangles;
        });
    }
    return static_cast<size_t>(at - out);
}

// Binary STL straight from the surfaces' grids, no mesh held. The facets are made in chunks
// of surfaces by every core while this thread writes the finished chunks in order; only a
// few chunks are held at a time.
bool writeStl(const SurfacePlan& plan, std::FILE* file, size_t& triangles) {
    char header[84] = {};
    std::snprintf(header, 80, "Tavrel binary STL");
    bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header; // count comes last

    const size_t count = plan.surfaces().size(), n = plan.side() - 1;
    const size_t perChunk = std::max<size_t>(1, (size_t{4} << 20) / (100 * n * n));
    const size_t chunks = (count + perChunk - 1) / perChunk;
    const size_t makers = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    const size_t ahead = 2 * makers; // chunks made but not yet written, at most
    struct Chunk {
        std::unique_ptr<char[]> bytes;
        size_t size = 0, triangles = 0;
        bool done = false;
    };
    std::vector<Chunk> made(chunks);
    std::mutex mutex;
    std::condition_variable changed;
    size_t nextChunk = 0, written = 0;
    bool stopped = false;
    auto make = [&] {
        for (;;) {
            size_t k;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stopped || nextChunk < written + ahead; });
                if (stopped || nextChunk >= chunks) return;
                k = nextChunk++;
            }
            Chunk chunk;
            const size_t first = k * perChunk, end = std::min(count, first + perChunk);
            chunk.bytes.reset(new char[(end - first) * 100 * n * n]);
            chunk.size = stlFacets(plan, first, end, chunk.bytes.get(), chunk.triangles);
            chunk.done = true;
            std::lock_guard lock(mutex);
            made[k] = std::move(chunk);
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (size_t t = 0; t < makers; ++t)
        threads.emplace_back(make);
    triangles = 0;
    for (size_t k = 0; k < chunks && ok; ++k) {
        Chunk chunk;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return made[k].done; });
            chunk = std::move(made[k]);
        }
        ok = std::fwrite(chunk.bytes.get(), 1, chunk.size, file) == chunk.size;
        triangles += chunk.triangles;
        std::lock_guard lock(mutex);
        written = k + 1;
        changed.notify_all();
    }
    {
        std::lock_guard lock(mutex);
        stopped = true; // after a failed write, nothing more is made
        changed.notify_all();
    }
    for (std::thread& thread : threads)
        thread.join();
    if (!ok || triangles > UINT32_MAX) return false;
    const uint32_t total = static_cast<uint32_t>(triangles);
    return std::fseek(file, 80, SEEK_SET) == 0 && std::fwrite(&total, 4, 1, file) == 1;
}

} // namespace

TriangleMesh tessellate(const Model& model, int segments) {
    const SurfacePlan plan(model, std::clamp(segments, kMinSegments, kMaxSegments));
    return MeshBuilder(plan).run();
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

bool exportModel(const Model& model, Format format, int segments, const std::string& path,
                 std::string& reason, Written* written) {
    segments = std::clamp(segments, kMinSegments, kMaxSegments);
    Written counts;
    bool tooMany = false;
    const bool ok = replaceFileWith(
        path,
        [&](std::FILE* file) {
            if (format == Format::Stl) {
                const SurfacePlan plan(model, segments);
                const bool done = writeStl(plan, file, counts.triangles);
                tooMany = counts.triangles > UINT32_MAX;
                return done;
            }
            const TriangleMesh mesh = tessellate(model, segments);
            counts.vertices = mesh.positions.size();
            counts.triangles = mesh.triangleCount();
            return writeObjMesh(mesh, file);
        },
        &reason);
    if (tooMany) reason = "it has more triangles than an STL file can hold";
    if (ok && written) *written = counts;
    return ok;
}

} // namespace mesh
