// tavrel-obj: validates and normalises Tavrel model files.
//   tavrel-obj check FILE       prints the model's counts, or the reason it is refused
//   tavrel-obj cat FILE [OUT]   reads FILE and writes it back in the editor's own format
//   tavrel-obj import IN OUT    reads a standard free-form OBJ or Bezier patch text file and
//                               writes it in the editor's own format, saying what it skipped
//                               and the largest change six significant digits made
//   tavrel-obj import IN --check
//                               reads IN as import does and prints what check prints,
//                               writing nothing (the import's own time and memory)
//   tavrel-obj default OUT      writes the editor's built-in model (the four-patch band)
//   tavrel-obj export IN OUT [--segments N]
//                               writes IN's surfaces as a triangle mesh: mesh OBJ when OUT
//                               ends in .obj, binary STL when it ends in .stl (N per patch
//                               edge, 1 to 64, 8 when not given); exactly, as IGES when OUT
//                               ends in .igs or .iges, as STEP when it ends in .stp or .step
//   tavrel-obj export IN OUT.obj --free-form
//                               writes IN's surfaces exactly as standard free-form OBJ
//                               (no export replaces a file that reads as a model)
//   tavrel-obj joins FILE       prints how many sides shown patches share, leave free and
//                               collapse to a pole (none of them a join), the largest angle
//                               of their joins, then a line a shared side:
//                               the two patches, the angle between their tangent planes,
//                               G0, G1 or G2 and the relative curvature jump across it
//   tavrel-obj curvature FILE   prints the extremes of the Gaussian and mean curvature over
//                               the shown patches, then a line a patch with its own
//   tavrel-obj samples FILE     prints each surface at u, v in 0.1, 0.5, 0.9 (nine points a
//                               line): the patches, then the mirror images of a symmetry's
// Exit status: 0 read whole, 1 refused or not written, 2 bad usage, 3 only partly read
// (the counts are of what was read; where reading stopped goes to stderr).
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "core/file-replace.h"
#include "core/mapped-file.h"
#include "core/memory-backing.h"
#include "editor/join-continuity.h"
#include "editor/patch-sides.h"
#include "editor/smooth-joins.h"
#include "model/bezier-surface.h"
#include "model/cad-export.h"
#include "model/memory-tree.h"
#include "model/mesh-export.h"
#include "model/model-file-kind.h"
#include "model/obj-format.h"
#include "model/patch-import.h"
#include "model/surface-curvature.h"

namespace {

int usage() {
    std::fputs("usage: tavrel-obj check FILE\n       tavrel-obj cat FILE [OUT]\n"
               "       tavrel-obj import IN OUT\n"
               "       tavrel-obj import IN --check\n"
               "       tavrel-obj default OUT\n"
               "       tavrel-obj export IN OUT.obj|OUT.stl [--segments N]\n"
               "       tavrel-obj export IN OUT.igs|OUT.iges|OUT.stp|OUT.step\n"
               "       tavrel-obj export IN OUT.obj --free-form\n"
               "       tavrel-obj joins FILE\n"
               "       tavrel-obj curvature FILE\n"
               "       tavrel-obj samples FILE\n",
               stderr);
    return 2;
}

constexpr int kPartlyRead = 3;

// False when refused; partial says whether reading stopped before the end.
// The tool reads each file once and exits: the text is read in place and the arrays keep
// the room reserved for reading (the editor's Open trims them; that copy costs a large file
// a tenth of its reading time).
bool readModel(const char* path, Model& model, MemoryTree& tree, bool& partial) {
    MappedFile file;
    ObjResult r = file.open(path)
                      ? readObj(file.text(), model, &tree)
                      : ObjResult::failure(ObjResult::Status::CannotOpen, "it cannot be opened");
    partial = r.partial();
    // A standard free-form file passes the editor's header and stops at once: say which
    // command reads it instead of showing an empty model.
    if ((!r.ok() || (partial && model.points.empty() && model.patches.empty())) &&
        modelFileKind(file.text()) == ModelFileKind::Standard) {
        std::fprintf(stderr,
                     "tavrel-obj: %s: a standard free-form OBJ or Bezier patch text file, not "
                     "the editor's own format: 'tavrel-obj import' reads it\n",
                     path);
        return false;
    }
    if (partial)
        std::fprintf(stderr, "tavrel-obj: %s: warning: %s\n", path, r.stopMessage().c_str());
    if (r.ok()) return true;
    std::fprintf(stderr, "tavrel-obj: %s: %s\n", path, r.reason.c_str());
    return false;
}

// The surfaces at a few parameters, from the patches themselves (a mirror image at (u, v)
// is its patch at (1 - u, v) with x negated): what a CAD reader of the exported files must
// find at the same parameters.
int samples(const char* path) {
    Model model;
    MemoryTree tree;
    bool partial = false;
    if (!readModel(path, model, tree, partial)) return 1;
    const float at[3] = {0.1f, 0.5f, 0.9f};
    for (int mirrored = 0; mirrored < 2; ++mirrored)
        for (const Model::Patch& patch : model.patches) {
            if (mirrored && !model.isSymmetry(patch.group)) continue;
            const auto net = bezier::controlPoints(model, patch);
            for (float v : at)
                for (float u : at) {
                    vm::Float3 p = bezier::evaluate(net, mirrored ? 1 - u : u, v);
                    if (mirrored) p.x = -p.x;
                    std::printf("%.9g %.9g %.9g ", static_cast<double>(p.x),
                                static_cast<double>(p.y), static_cast<double>(p.z));
                }
            std::printf("\n");
        }
    return partial ? kPartlyRead : 0;
}

int joins(const char* path) {
    Model model;
    MemoryTree tree;
    bool partial = false;
    if (!readModel(path, model, tree, partial)) return 1;
    const std::vector<SharedEdge> edges = sharedEdges(model);
    const SideIndex sides(model, true);
    std::vector<SideRef> partners;
    std::vector<bool> reversed;
    size_t free = 0, poles = 0;
    for (size_t p = 0; p < model.patches.size(); ++p)
        for (Side side : kSides) {
            if (!model.isShown(p)) continue;
            if (collapsedSide(model, model.patches[p], side)) {
                ++poles;
                continue;
            }
            sides.partners(model, {static_cast<uint32_t>(p), side}, partners, reversed);
            free += partners.empty();
        }
    std::vector<float> angles;
    float largest = 0;
    for (const SharedEdge& edge : edges) {
        angles.push_back(joinAngle(model, edge));
        largest = std::max(largest, angles.back());
    }
    std::printf("shared %zu, free %zu, poles %zu, largest angle %.4f\n", edges.size(), free, poles,
                static_cast<double>(largest));
    for (size_t k = 0; k < edges.size(); ++k) {
        const double jump = joinCurvatureJump(model, edges[k]);
        std::printf("%u %u %.4f %s %.4f\n", edges[k].a.patch, edges[k].b.patch,
                    static_cast<double>(angles[k]), continuityName(continuityOf(angles[k], jump)),
                    jump);
    }
    return partial ? kPartlyRead : 0;
}

int curvature(const char* path) {
    Model model;
    MemoryTree tree;
    bool partial = false;
    if (!readModel(path, model, tree, partial)) return 1;
    std::vector<bezier::CurvatureRange> ranges(model.patches.size());
    bezier::CurvatureRange all;
    size_t shown = 0;
    for (size_t p = 0; p < model.patches.size(); ++p) {
        if (!model.isShown(p)) continue;
        const bezier::CurvatureRange& r = ranges[p] =
            bezier::patchCurvatureRange(bezier::controlPoints(model, model.patches[p]));
        ++shown;
        all.undefined += r.undefined;
        if (r.defined == 0) continue;
        const bool first = all.defined == 0;
        all.defined += r.defined;
        all.minGaussian = first ? r.minGaussian : std::min(all.minGaussian, r.minGaussian);
        all.maxGaussian = first ? r.maxGaussian : std::max(all.maxGaussian, r.maxGaussian);
        all.minMean = first ? r.minMean : std::min(all.minMean, r.minMean);
        all.maxMean = first ? r.maxMean : std::max(all.maxMean, r.maxMean);
    }
    std::printf("patches %zu, gaussian %.6g to %.6g, mean %.6g to %.6g, samples without "
                "curvature %zu\n",
                shown, all.minGaussian, all.maxGaussian, all.minMean, all.maxMean, all.undefined);
    for (size_t p = 0; p < model.patches.size(); ++p)
        if (model.isShown(p))
            std::printf("%zu gaussian %.6g %.6g mean %.6g %.6g\n", p, ranges[p].minGaussian,
                        ranges[p].maxGaussian, ranges[p].minMean, ranges[p].maxMean);
    return partial ? kPartlyRead : 0;
}

// Writes the model to path in the editor's own format; false (said why) when it cannot.
bool save(const Model& model, const char* path) {
    const ObjResult saved = saveObj(model, path);
    if (saved.ok()) return true;
    std::fprintf(stderr, "tavrel-obj: %s: %s\n", path, saved.reason.c_str());
    return false;
}

void printCounts(const Model& model) {
    size_t symmetries = 0;
    for (size_t g = 0; g < model.groups.size(); ++g)
        symmetries += model.isSymmetry(static_cast<int>(g));
    std::printf("points %zu\npatches %zu\ngroups %zu\nsymmetries %zu\nlocators %zu\n",
                model.points.size(), model.patches.size(), model.groups.size() - symmetries,
                symmetries, model.locators.size());
}

int check(const char* path) {
    Model model;
    MemoryTree tree;
    bool partial = false;
    if (!readModel(path, model, tree, partial)) return 1;
    printCounts(model);
    return partial ? kPartlyRead : 0;
}

// To out, or to standard output when out is null.
int cat(const char* path, const char* out) {
    Model model;
    MemoryTree tree;
    bool partial = false;
    if (!readModel(path, model, tree, partial)) return 1;
    if (out) return save(model, out) ? 0 : 1;
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // the lines already end in CR LF
#endif
    const std::string text = writeObj(model);
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
                   std::fflush(stdout) == 0
               ? 0
               : 1;
}

// out null: the model is only read, and its counts printed as check prints them.
int importFile(const char* in, const char* out) {
    MappedFile file; // read in place: the file's bytes are not copied
    if (!file.open(in)) {
        std::fprintf(stderr, "tavrel-obj: %s: it cannot be opened\n", in);
        return 1;
    }
    const std::string_view text = file.text();
    if (isEditorModel(text)) {
        std::fprintf(stderr,
                     "tavrel-obj: %s: already in the editor's own format: 'tavrel-obj check' and "
                     "'tavrel-obj cat' read it\n",
                     in);
        return 1;
    }
    Model model;
    // The editor's format keeps six significant digits: what that changes is measured as the
    // file is read.
    const ImportResult r = importPatches(text, model, SixDigitChange::Measured);
    file.close(); // the model holds nothing of the text: its pages go before the writing
    if (!r.ok) {
        std::fprintf(stderr, "tavrel-obj: %s: %s\n", in, r.reason.c_str());
        return 1;
    }
    std::fprintf(stderr,
                 "tavrel-obj: %s: %s, %zu patches, %zu points, %zu statements skipped, %zu vertex "
                 "colours skipped, %zu surfaces cut to their parameter range\n",
                 in, r.format.c_str(), model.patches.size(), model.points.size(), r.skipped,
                 r.coloursSkipped, r.piecesCut);
    const auto [largest, where] = r.rounding.value_or(LargestRounding{});
    std::fprintf(stderr, "tavrel-obj: %s: six significant digits move a coordinate by at most %g",
                 out ? out : in, static_cast<double>(largest));
    if (largest > 0) std::fprintf(stderr, " (point %zu)", where);
    std::fputc('\n', stderr);
    if (r.partial()) std::fprintf(stderr, "tavrel-obj: %s: warning: %s\n", in, r.stop.c_str());
    if (!out)
        printCounts(model);
    else if (!save(model, out))
        return 1;
    return r.partial() ? kPartlyRead : 0;
}

int writeDefault(const char* out) {
    Model model;
    model.createDefault();
    return save(model, out) ? 0 : 1;
}

// An export never replaces a model (the one read, or any file that reads as one): the editor
// asks first, and this tool cannot ask. True (said why) when out holds one.
bool holdsModel(const char* out) {
    std::string existing;
    if (!readFileContents(out, existing) || !readsAsModel(existing)) return false;
    std::fprintf(stderr,
                 "tavrel-obj: %s: it holds a model, which the export would destroy: remove it "
                 "first or choose another name\n",
                 out);
    return true;
}

// segments is the text after --segments, or null for the default.
int exportMesh(const char* in, const char* out, const char* segmentsText, bool freeForm) {
    int segments = mesh::kDefaultSegments;
    if (segmentsText) {
        const std::string value = segmentsText;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), segments);
        if (error != std::errc() || end != value.data() + value.size() ||
            segments < mesh::kMinSegments || segments > mesh::kMaxSegments) {
            std::fprintf(stderr, "tavrel-obj: --segments must be a whole number from %d to %d\n",
                         mesh::kMinSegments, mesh::kMaxSegments);
            return 2;
        }
    }
    if (const auto exact = cad::formatFor(out, freeForm)) {
        if (segmentsText) return usage(); // exact surfaces have no segments
        if (holdsModel(out)) return 1;
        Model model;
        MemoryTree tree;
        bool partial = false;
        if (!readModel(in, model, tree, partial)) return 1;
        std::string reason;
        size_t surfaces = 0;
        if (!cad::exportSurfaces(model, *exact, out, reason, &surfaces)) {
            std::fprintf(stderr, "tavrel-obj: %s: %s\n", out, reason.c_str());
            return 1;
        }
        std::fprintf(stderr, "tavrel-obj: %s: %zu surfaces\n", out, surfaces);
        return partial ? kPartlyRead : 0;
    }
    if (freeForm) {
        std::fprintf(stderr, "tavrel-obj: %s: --free-form writes a name ending in .obj\n", out);
        return 2;
    }
    const auto format = mesh::formatFor(out);
    if (!format) {
        std::fprintf(
            stderr, "tavrel-obj: %s: the name must end in .obj, .stl, .igs, .iges, .stp or .step\n",
            out);
        return 2;
    }
    if (holdsModel(out)) return 1;
    Model model;
    MemoryTree tree;
    bool partial = false;
    if (!readModel(in, model, tree, partial)) return 1;
    std::string reason;
    mesh::Written written;
    if (!mesh::exportModel(model, *format, segments, out, reason, &written)) {
        std::fprintf(stderr, "tavrel-obj: %s: %s\n", out, reason.c_str());
        return 1;
    }
    std::fprintf(stderr, "tavrel-obj: %s: %zu triangles\n", out, written.triangles);
    return partial ? kPartlyRead : 0;
}

} // namespace

int main(int argc, char** argv) {
    giveLargeBlocksBack(); // a large file's import peaks at the file, the model and little more
    if (argc < 3) return usage();
    const std::string command = argv[1];
    if (command == "check" && argc == 3) return check(argv[2]);
    if (command == "joins" && argc == 3) return joins(argv[2]);
    if (command == "curvature" && argc == 3) return curvature(argv[2]);
    if (command == "samples" && argc == 3) return samples(argv[2]);
    if (command == "cat" && (argc == 3 || argc == 4))
        return cat(argv[2], argc == 4 ? argv[3] : nullptr);
    if (command == "import" && argc == 4)
        return importFile(argv[2], std::string(argv[3]) == "--check" ? nullptr : argv[3]);
    if (command == "default" && argc == 3) return writeDefault(argv[2]);
    if (command == "export" && argc == 4) return exportMesh(argv[2], argv[3], nullptr, false);
    if (command == "export" && argc == 5 && std::string(argv[4]) == "--free-form")
        return exportMesh(argv[2], argv[3], nullptr, true);
    if (command == "export" && argc == 6 && std::string(argv[4]) == "--segments")
        return exportMesh(argv[2], argv[3], argv[5], false);
    return usage();
}
