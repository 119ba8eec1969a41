#include "model/patch-import.h"

#include "core/parallel-ranges.h"
#include "model/cad-import.h"
#include "model/line-count.h"
#include "model/logical-lines.h"
#include "model/point-pool.h"
#include "model/working-range.h"

#include "model/byte-order-mark.h"
#include "model/decimal-number.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

// Points merged in one call: a multiple of a patch's 16.
constexpr size_t kPooledTogether = 4096;

// Points read and not merged yet, with what six digits change in each (0 when unmeasured):
// merged kPooledTogether at most at a time, in storage kept from one merge to the next.
struct Unpooled {
    std::vector<vm::Float3> points = std::vector<vm::Float3>(kPooledTogether);
    std::vector<float> changes = std::vector<float>(kPooledTogether);
    size_t count = 0;

    bool full() const { return count == kPooledTogether; }
    void add(vm::Float3 p, float change) {
        points[count] = p;
        changes[count] = change;
        ++count;
    }
    // The run of lines of that shape next (as many as there is room for, at most most).
    size_t takeRun(LogicalLines& lines, LineShape shape, size_t most, size_t& lineNumber) {
        const size_t run = lines.takeRun(shape, std::min(most, kPooledTogether - count),
                                         points.data() + count, changes.data() + count, lineNumber);
        count += run;
        return run;
    }
};

bool isBlank(char c) { // as a text stream separates words
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The words of a line up to a comment ("#" to the end of the line), into w (its storage kept
// from line to line).
void words(std::string_view line, std::vector<std::string_view>& w) {
    w.clear();
    line = line.substr(0, line.find('#'));
    for (size_t at = 0;;) {
        while (at < line.size() && isBlank(line[at]))
            ++at;
        if (at == line.size()) return;
        const size_t begin = at;
        while (at < line.size() && !isBlank(line[at]))
            ++at;
        w.push_back(line.substr(begin, at - begin));
    }
}

// As strtof reads a whole word: the plain decimal forms quickly, any other through strtof.
bool number(std::string_view text, float& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    if (decimal::parse(text.data(), end, value) == end && std::isfinite(value)) return true;
    const std::string copy(text);
    char* stop = nullptr;
    errno = 0;
    value = std::strtof(copy.c_str(), &stop);
    // A number too small for a float is still a number (it underflows to 0 or a denormal).
    const bool overflow = errno == ERANGE && std::fabs(value) > 1.0f;
    return stop == copy.c_str() + copy.size() && !overflow && std::isfinite(value);
}

// Whether the words are finite numbers, one of them past the working range (too large for a
// float, which is all number() says of it).
bool beyondWorkingRange(const std::vector<std::string_view>& w) {
    bool beyond = false;
    for (const std::string_view word : w) {
        const std::string copy(word);
        char* stop = nullptr;
        const double value = std::strtod(copy.c_str(), &stop);
        if (copy.empty() || stop != copy.c_str() + copy.size() || !std::isfinite(value))
            return false;
        beyond = beyond || std::fabs(value) > kWorkingRange;
    }
    return beyond;
}

bool integer(std::string_view text, long& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    if (const auto [next, error] = std::from_chars(text.data(), end, value);
        error == std::errc() && next == end)
        return true;
    const std::string copy(text);
    char* stop = nullptr;
    errno = 0;
    value = std::strtol(copy.c_str(), &stop, 10);
    return stop == copy.c_str() + copy.size() && errno != ERANGE;
}

ImportResult refuse(size_t line, std::string_view statement, const std::string& why) {
    ImportResult r;
    r.reason = "line " + std::to_string(line) + ": '" + std::string(statement) + "': " + why;
    return r;
}

// The part of a cubic on [a, b] of its parameter, exactly: the control points of a cubic's
// piece are its blossom at (a, a, a), (a, a, b), (a, b, b), (b, b, b).
std::array<vm::Float3, 4> cubicPiece(const std::array<vm::Float3, 4>& p, float a, float b) {
    auto blossom = [&](float t1, float t2, float t3) {
        auto lerp = [](vm::Float3 x, vm::Float3 y, float t) {
            return vm::Float3{x.x + (y.x - x.x) * t, x.y + (y.y - x.y) * t, x.z + (y.z - x.z) * t};
        };
        const vm::Float3 q0 = lerp(p[0], p[1], t1), q1 = lerp(p[1], p[2], t1),
                         q2 = lerp(p[2], p[3], t1);
        const vm::Float3 r0 = lerp(q0, q1, t2), r1 = lerp(q1, q2, t2);
        return lerp(r0, r1, t3);
    };
    return {blossom(a, a, a), blossom(a, a, b), blossom(a, b, b), blossom(b, b, b)};
}

// The patch over [u0, u1] × [v0, v1] of the patch with control points p (u along a row).
std::array<vm::Float3, 16> patchPiece(std::array<vm::Float3, 16> p, float u0, float u1, float v0,
                                      float v1) {
    if (u0 != 0 || u1 != 1)
        for (size_t r = 0; r < 4; ++r) {
            const auto row =
                cubicPiece({p[4 * r], p[4 * r + 1], p[4 * r + 2], p[4 * r + 3]}, u0, u1);
            for (size_t c = 0; c < 4; ++c)
                p[4 * r + c] = row[c];
        }
    if (v0 != 0 || v1 != 1)
        for (size_t c = 0; c < 4; ++c) {
            const auto column = cubicPiece({p[c], p[4 + c], p[8 + c], p[12 + c]}, v0, v1);
            for (size_t r = 0; r < 4; ++r)
                p[4 * r + c] = column[r];
        }
    return p;
}

// Groups no patch ended up in are left out (an "o name" before the "g" the patches use).
void dropEmptyGroups(Model& model) {
    std::vector<int32_t> renumbered(model.groups.size(), -1);
    for (const Model::Patch& patch : model.patches)
        if (patch.group >= 0) renumbered[static_cast<size_t>(patch.group)] = 0;
    std::vector<std::unique_ptr<Model::Group>> kept;
    for (size_t g = 0; g < model.groups.size(); ++g)
        if (renumbered[g] == 0) {
            renumbered[g] = static_cast<int32_t>(kept.size());
            kept.push_back(std::move(model.groups[g]));
        }
    model.groups = std::move(kept);
    for (Model::Patch& patch : model.patches)
        if (patch.group >= 0) patch.group = renumbered[static_cast<size_t>(patch.group)];
}

ImportResult importObj(std::string_view text, Model& model, SixDigitChange sixDigits) {
    ImportResult result;
    result.format = "Wavefront free-form OBJ";
    const bool measured = sixDigits == SixDigitChange::Measured;
    PointPool pool(model);
    std::vector<int32_t> pooled; // each file vertex's merged index (1-based in the file)
    Unpooled unpooled;           // the vertices read since the last merge
    LargestRounding rounding;    // offered each point as the pool takes it
    const size_t lineTotal = lineCount(text);
    pooled.reserve(lineTotal);
    model.points.reserve(lineTotal);
    pool.expect(lineTotal);
    // Vertices are merged a run at a time: the pool then looks their places up ahead.
    auto poolVertices = [&] {
        const size_t first = pooled.size();
        pooled.resize(first + unpooled.count);
        pool.add(unpooled.points.data(), unpooled.count, pooled.data() + first);
        for (size_t k = 0; k < unpooled.count; ++k)
            rounding.offer(unpooled.changes[k], static_cast<size_t>(pooled[first + k]));
        unpooled.count = 0;
    };
    std::string curveType;                // the cstype in force, "" before any
    long degreeU = -1, degreeV = -1;      // the surface degree in force ("deg 3" is a curve's)
    std::string typeSource, degreeSource; // those statements, "'cstype bspline' (line 3)"
    int32_t group = -1;
    std::map<std::string, int32_t, std::less<>> groupIndex;
    LogicalLines lines(text, sixDigits);
    std::vector<std::string_view> w;
    std::string_view line;
    size_t lineNumber = 0;
    auto withoutTrailingBlanks = [](std::string_view statement) {
        while (!statement.empty() && (statement.back() == ' ' || statement.back() == '\t'))
            statement.remove_suffix(1);
        return statement;
    };
    // Why a surface cannot be read under the curve type and degree in force, if it cannot (its
    // statement trimmed only then: a surface read ahead is taken without its text).
    auto surfaceKindRefused = [&](std::string_view statement) -> std::optional<ImportResult> {
        if (curveType != "bezier")
            return refuse(lineNumber, withoutTrailingBlanks(statement),
                          curveType.empty()
                              ? "a surface before 'cstype bezier'"
                              : "only polynomial Bezier surfaces can be represented, and " +
                                    typeSource + " makes this one '" + curveType + "'");
        if (degreeU != 3 || degreeV != 3)
            return refuse(lineNumber, withoutTrailingBlanks(statement),
                          degreeU < 0 ? "a surface before 'deg 3 3'"
                                      : "only bicubic surfaces (deg 3 3) can be represented, "
                                        "and this one is " +
                                            degreeSource);
        return std::nullopt;
    };
    // The surface of those numbers, of which the first `given` point numbers were read: the
    // next is notAPoint's word, refused when the points before it are defined.
    auto addSurface = [&](const float* range, const long* points, size_t given,
                          std::string_view notAPoint,
                          std::string_view statement) -> std::optional<ImportResult> {
        if (!(0 <= range[0] && range[0] < range[1] && range[1] <= 1 && 0 <= range[2] &&
              range[2] < range[3] && range[3] <= 1))
            return refuse(lineNumber, withoutTrailingBlanks(statement),
                          "its parameter range must lie within 0 to 1, each start before its end");
        if (model.patches.empty()) model.patches.reserve(lineTotal - lineNumber + 1);
        Model::Patch patch;
        patch.group = group;
        std::array<int32_t, 16> at{};
        for (size_t k = 0; k < 16; ++k) {
            if (k == given)
                return refuse(lineNumber, withoutTrailingBlanks(statement),
                              "'" + std::string(notAPoint) + "' is not a point number");
            const long index = points[k];
            const long count = static_cast<long>(pooled.size());
            const long resolved = index > 0 ? index - 1 : count + index;
            if (resolved < 0 || resolved >= count)
                return refuse(lineNumber, withoutTrailingBlanks(statement),
                              "point " + std::to_string(index) + " is not defined before it");
            at[k] = pooled[static_cast<size_t>(resolved)];
        }
        const bool whole = range[0] == 0 && range[1] == 1 && range[2] == 0 && range[3] == 1;
        if (whole) {
            patch.indices = at;
        } else { // a piece of the patch: its own control points
            std::array<vm::Float3, 16> corners;
            for (size_t k = 0; k < 16; ++k)
                corners[k] = model.points[static_cast<size_t>(at[k])];
            const auto piece = patchPiece(corners, range[0], range[1], range[2], range[3]);
            for (size_t k = 0; k < 16; ++k) {
                patch.indices[k] = pool.add(piece[k]);
                if (measured)
                    rounding.offer(roundingOf(piece[k]), static_cast<size_t>(patch.indices[k]));
            }
            ++result.piecesCut;
        }
        model.patches.push_back(patch);
        return std::nullopt;
    };
    // The line of the last surface not yet closed by its end (0: none). A file cut inside a
    // surface's statement may still read as numbers: a surface left open when the file ends
    // in a line, with no line break after it, tells (some writers leave the last end out).
    size_t openSurface = 0;
    for (;;) {
        // A run of "v x y z" lines, read ahead, is taken at once.
        if (unpooled.takeRun(lines, LineShape::Vertex, kPooledTogether, lineNumber) != 0) {
            if (unpooled.full()) poolVertices();
            continue;
        }
        if (!lines.next(line, lineNumber)) break;
        // A surface's end and parameter values, read ahead: taken without their text.
        if (lines.shape() == LineShape::SurfaceEnd || lines.shape() == LineShape::Parameters) {
            if (unpooled.count != 0) poolVertices();
            if (lines.shape() == LineShape::SurfaceEnd)
                openSurface = 0;
            else
                ++result.skipped;
            continue;
        }
        if (lines.shape() == LineShape::Surface) { // "surf" and its numbers, read ahead
            if (unpooled.count != 0) poolVertices();
            if (auto refused = surfaceKindRefused(line)) return *refused;
            const SurfaceNumbers& numbers = lines.surface();
            long points[16];
            std::copy(std::begin(numbers.points), std::end(numbers.points), points);
            if (auto refused = addSurface(numbers.range, points, 16, "", line)) return *refused;
            openSurface = lineNumber;
            continue;
        }
        words(line, w);
        if (w.empty()) continue;
        const std::string_view keyword = w[0];
        const std::string_view statement = withoutTrailingBlanks(line);
        if (keyword != "v" && unpooled.count != 0) poolVertices();
        if (keyword == "v") {
            vm::Float3 p;
            if (w.size() < 4 || !number(w[1], p.x) || !number(w[2], p.y) || !number(w[3], p.z))
                return refuse(lineNumber, statement, "a vertex needs three finite numbers");
            if (w.size() == 5) {
                float weight = 1;
                if (!number(w[4], weight) || weight != 1)
                    return refuse(lineNumber, statement, "rational (weighted) points are not kept");
            } else if (w.size() == 7) {
                ++result.coloursSkipped; // a vertex colour: the shape is what is kept
            } else if (w.size() != 4) {
                return refuse(lineNumber, statement,
                              "a vertex is three numbers, with a weight or a colour");
            }
            unpooled.add(p, measured ? roundingOf(p) : 0);
            if (unpooled.full()) poolVertices();
        } else if (keyword == "cstype") {
            curveType.clear();
            for (size_t k = 1; k < w.size(); ++k)
                curveType.append(k > 1 ? " " : "").append(w[k]);
            typeSource =
                "'" + std::string(statement) + "' (line " + std::to_string(lineNumber) + ")";
        } else if (keyword == "deg") {
            long u = 0, v = 0;
            const bool curve = w.size() == 2 && integer(w[1], u);
            if (!curve && (w.size() != 3 || !integer(w[1], u) || !integer(w[2], v)))
                return refuse(lineNumber, statement, "a degree is one or two whole numbers");
            if (!curve) {
                degreeU = u, degreeV = v;
                degreeSource =
                    "'" + std::string(statement) + "' (line " + std::to_string(lineNumber) + ")";
            }
        } else if (keyword == "surf") {
            if (auto refused = surfaceKindRefused(statement)) return *refused;
            if (w.size() != 5 + 16)
                return refuse(lineNumber, statement,
                              "a bicubic surface of one span names 16 control points");
            float range[4];
            for (int k = 0; k < 4; ++k)
                if (!number(w[static_cast<size_t>(1 + k)], range[k]))
                    return refuse(lineNumber, statement, "its parameter range is not numbers");
            long points[16];
            size_t given = 0;
            for (; given < 16; ++given) {
                std::string_view ref = w[5 + given];
                ref = ref.substr(0, ref.find('/')); // v/vt/vn: the point
                if (!integer(ref, points[given]) || points[given] == 0) break;
            }
            if (auto refused =
                    addSurface(range, points, given, given < 16 ? w[5 + given] : "", statement))
                return *refused;
            openSurface = lineNumber;
        } else if (keyword == "g" || keyword == "o") {
            if (w.size() < 2 || w[1] == "default") {
                group = -1;
                continue;
            }
            if (const auto known = groupIndex.find(w[1]); known != groupIndex.end()) {
                group = known->second;
                continue;
            }
            group = static_cast<int32_t>(model.groups.size());
            groupIndex.emplace(w[1], group);
            model.groups.push_back(std::make_unique<Model::Group>(std::string(w[1])));
        } else if (keyword == "end") {
            openSurface = 0;
        } else if (keyword == "trim" || keyword == "hole" || keyword == "scrv") {
            return refuse(lineNumber, statement,
                          "a trimmed surface cannot be represented (patches are whole)");
        } else {
            ++result.skipped; // vt, vn, vp, parm, curv, curv2, sp, usemtl, mtllib, s, …
        }
    }
    poolVertices();
    const bool endsInLine = !text.empty() && text.back() != '\n' && text.back() != '\r';
    if (openSurface != 0 && endsInLine) {
        ImportResult cut;
        cut.reason = "line " + std::to_string(openSurface) +
                     ": the file ends inside this surface, with no end: it may be cut short";
        return cut;
    }
    if (model.patches.empty()) {
        ImportResult none = refuse(0, "", "no bicubic Bezier surface in the file");
        none.reason = "no bicubic Bezier surface (cstype bezier, deg 3 3, surf) in the file";
        return none;
    }
    dropEmptyGroups(model);
    result.ok = true;
    if (measured) result.rounding = rounding;
    return result;
}

ImportResult importPatchText(std::string_view text, Model& model, SixDigitChange sixDigits) {
    ImportResult result;
    result.format = "Bezier patch text";
    const bool measured = sixDigits == SixDigitChange::Measured;
    PointPool pool(model);
    LogicalLines lines(text, sixDigits);
    std::string_view line; // the last line read
    // The next line with words; a line of three numbers read ahead leaves w empty when a
    // point is wanted (its numbers are the lines' own).
    auto next = [&](std::vector<std::string_view>& w, size_t& lineNumber, bool point = false) {
        while (lines.next(line, lineNumber)) {
            if (point && lines.shape() == LineShape::ThreeNumbers) {
                w.clear();
                return true;
            }
            if (lines.shape() == LineShape::BicubicDegrees) { // its words, without its text
                static constexpr std::string_view kThree = "3";
                w.assign({kThree, kThree});
                return true;
            }
            words(line, w);
            if (!w.empty()) return true;
        }
        return false;
    };
    std::vector<std::string_view> w;
    size_t lineNumber = 0;
    long count = 0;
    if (!next(w, lineNumber) || w.size() != 1 || !integer(w[0], count) || count <= 0)
        return refuse(lineNumber, w.empty() ? "" : w[0], "a patch count comes first");
    constexpr size_t kLinesPerPatch = 17; // "3 3" and 16 points
    const size_t patchBound =
        std::min(static_cast<size_t>(count), lineCount(text) / kLinesPerPatch + 1);
    model.patches.reserve(patchBound);
    model.points.reserve(16 * patchBound);
    pool.expect(16 * patchBound);
    // The patches read whose points are not merged yet: theirs are merged together.
    Unpooled unpooled;
    std::vector<int32_t> indices(kPooledTogether);
    LargestRounding rounding; // offered each point as the pool takes it
    size_t firstUnpooled = 0;
    auto poolPatches = [&] {
        unpooled.count = (model.patches.size() - firstUnpooled) * 16; // one cut short: not kept
        pool.add(unpooled.points.data(), unpooled.count, indices.data());
        for (size_t k = 0; k < unpooled.count; ++k) {
            model.patches[firstUnpooled + k / 16].indices[k % 16] = indices[k];
            rounding.offer(unpooled.changes[k], static_cast<size_t>(indices[k]));
        }
        unpooled.count = 0;
        firstUnpooled = model.patches.size();
    };
    auto stopped = [&](const std::string& why) {
        poolPatches();
        result.ok = true;
        if (measured) result.rounding = rounding;
        result.stop = "read " + std::to_string(model.patches.size()) + " of the " +
                      std::to_string(count) + " patches its count gives; " + why;
        return result;
    };
    for (long p = 0; p < count; ++p) {
        long du = 0, dv = 0;
        if (!next(w, lineNumber)) {
            if (model.patches.empty())
                return refuse(lineNumber, "", "the file ends before patch 1");
            return stopped("the file ends there");
        }
        auto degrees = [&] { // the statement, for a refusal
            return w.size() > 0 ? std::string(w[0]) + (w.size() > 1 ? " " + std::string(w[1]) : "")
                                : "";
        };
        if (w.size() != 2 || !integer(w[0], du) || !integer(w[1], dv))
            return refuse(lineNumber, degrees(), "each patch starts with its degrees, '3 3'");
        if (du != 3 || dv != 3)
            return refuse(lineNumber, degrees(), "only bicubic patches can be represented");
        Model::Patch patch;
        for (size_t k = 0; k < 16; ++k) {
            // A run of point lines read ahead is taken at once.
            if (const size_t run =
                    unpooled.takeRun(lines, LineShape::ThreeNumbers, 16 - k, lineNumber)) {
                k += run - 1;
                continue;
            }
            vm::Float3 q;
            if (!next(w, lineNumber, true)) {
                if (model.patches.empty())
                    return refuse(lineNumber, "", "the file ends inside patch 1");
                return stopped("the file ends inside patch " + std::to_string(p + 1));
            }
            float change = 0;
            if (w.empty()) {
                const float* xyz = lines.numbers();
                q = {xyz[0], xyz[1], xyz[2]};
                change = lines.sixDigitChange();
            } else if (w.size() != 3 || !number(w[0], q.x) || !number(w[1], q.y) ||
                       !number(w[2], q.z)) {
                return refuse(lineNumber, line,
                              w.size() == 3 && beyondWorkingRange(w)
                                  ? "a control point lies outside the working range (" +
                                        std::string(kWorkingRangeText) + ")"
                                  : "a control point is three finite numbers");
            } else if (measured) {
                change = roundingOf(q);
            }
            unpooled.add(q, change);
        }
        model.patches.push_back(patch);
        if (unpooled.full()) poolPatches();
    }
    poolPatches();
    if (next(w, lineNumber)) {
        std::string rest(line);
        if (rest.size() > 60) rest = rest.substr(0, 60) + "...";
        return stopped("more text follows at line " + std::to_string(lineNumber) + ": '" + rest +
                       "'");
    }
    result.ok = true;
    if (measured) result.rounding = rounding;
    return result;
}

} // namespace

namespace {

// The editor keeps coordinates as floats. A model much smaller than its distance from the
// origin would keep too few of their steps across it: its shape would be lost and its points
// merged without a word, so it is refused instead (the file stays as it is).
constexpr double kLeastStepsAcross = 1000;

std::string precisionLost(const Model& model) {
    if (model.points.size() < 2) return "";
    // The points' box and farthest coordinate, a range of the points on each core (min and
    // max give the same whatever the order).
    struct Extent {
        double low[3] = {INFINITY, INFINITY, INFINITY}, high[3] = {-INFINITY, -INFINITY, -INFINITY};
        double farthest = 0;
    };
    constexpr size_t kRanges = 8, kSplitFrom = 65536; // points: fewer take less than a thread
    Extent extents[kRanges];
    const size_t count = model.points.size(), ranges = count < kSplitFrom ? 1 : kRanges;
    inParallelRanges(
        ranges,
        [&](size_t from, size_t to) {
            for (size_t r = from; r < to; ++r) {
                Extent e; // kept in registers, stored once
                for (size_t i = count * r / ranges; i < count * (r + 1) / ranges; ++i) {
                    const vm::Float3& p = model.points[i];
                    const double c[3] = {p.x, p.y, p.z};
                    for (int a = 0; a < 3; ++a) {
                        e.low[a] = std::min(e.low[a], c[a]);
                        e.high[a] = std::max(e.high[a], c[a]);
                        e.farthest = std::max(e.farthest, std::fabs(c[a]));
                    }
                }
                extents[r] = e;
            }
        },
        2);
    double low[3], high[3], farthest = 0;
    for (int a = 0; a < 3; ++a)
        low[a] = INFINITY, high[a] = -INFINITY;
    for (const Extent& e : extents) {
        for (int a = 0; a < 3; ++a) {
            low[a] = std::min(low[a], e.low[a]);
            high[a] = std::max(high[a], e.high[a]);
        }
        farthest = std::max(farthest, e.farthest);
    }
    const double across = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
    const double step = farthest * std::ldexp(1.0, -23); // a float's spacing out there
    if (!(farthest > 0) || !std::isfinite(across) || across >= step * kLeastStepsAcross) return "";
    char text[320];
    std::snprintf(text, sizeof text,
                  "its points lie up to %.3g from the origin but only %.3g apart: the editor's "
                  "coordinates keep about %.0f steps across it there, so its shape would be "
                  "lost. Move the model nearer the origin in the program that wrote it",
                  farthest, across, across / step);
    return text;
}

ImportResult importAnyFormat(std::string_view text, Model& model, SixDigitChange sixDigits) {
    if (isCadText(text)) return importCadSurfaces(text, model);
    model.clear();
    model.locators.clear();
    text = withoutByteOrderMark(text);
    // A first statement that is one whole number is a patch count (comments before it aside).
    std::istringstream in{std::string(text.substr(0, std::min<size_t>(text.size(), 4096)))};
    std::string first, line;
    std::vector<std::string_view> w;
    while (std::getline(in, line)) {
        words(line, w);
        if (w.empty()) continue;
        long n = 0;
        if (w.size() == 1 && integer(w[0], n)) first = "count";
        break;
    }
    if (first != "count") return importObj(text, model, sixDigits);
    ImportResult r = importPatchText(text, model, sixDigits);
    r.format = "Bezier patch text"; // refused too: the reason is the patch text's
    return r;
}

} // namespace

ImportResult importPatches(std::string_view text, Model& model, SixDigitChange sixDigits) {
    ImportResult r = importAnyFormat(text, model, sixDigits);
    if (r.ok) {
        if (std::string lost = precisionLost(model); !lost.empty()) {
            r.ok = false;
            r.refusedWhole = true;
            r.reason = std::move(lost);
        }
    }
    if (!r.ok) {
        model.clear();
        model.locators.clear();
        r.rounding.reset();
    } else if (sixDigits == SixDigitChange::Measured && !r.rounding) { // read as CAD surfaces
        r.rounding = largestRounding(model.points);
    }
    return r;
}
