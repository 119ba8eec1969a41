#include "model/cad-import.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "model/bspline-patches.h"
#include "model/point-pool.h"

namespace {

bool startsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

std::string_view firstLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

bool toNumber(std::string_view whole, double& value) {
    const char* last = whole.data() + whole.size();
    if (const auto [next, error] = std::from_chars(whole.data(), last, value);
        error == std::errc() && next == last)
        return std::isfinite(value);
    // Any other form as strtod reads it.
    std::string text(whole);
    std::replace(text.begin(), text.end(), 'D', 'E'); // IGES doubles may say D
    std::replace(text.begin(), text.end(), 'd', 'e');
    const char* begin = text.c_str();
    char* end = nullptr;
    value = std::strtod(begin, &end);
    return end != begin && *end == '\0' && std::isfinite(value);
}

// Adds patches, merging equal points, into groups named after their surfaces.
class Assembly {
  public:
    explicit Assembly(Model& model) : model_(model), pool_(model) {}
    void add(const std::vector<std::array<vm::Float3, 16>>& nets, std::string name) {
        // A group's name is one word of printable characters in the editor's files.
        for (char& c : name)
            if (static_cast<unsigned char>(c) <= ' ' || static_cast<unsigned char>(c) >= 127 ||
                c == '#')
                c = '_';
        int32_t group = -1;
        if (!name.empty() && name != "surface") {
            const auto [g, fresh] =
                groups_.try_emplace(name, static_cast<int32_t>(model_.groups.size()));
            if (fresh) model_.groups.push_back(std::make_unique<Model::Group>(name));
            group = g->second;
        }
        // The points of many patches are merged together (merge()): the pool then looks their
        // places up ahead.
        for (const auto& net : nets) {
            Model::Patch patch;
            patch.group = group;
            model_.patches.push_back(patch);
            unmerged_.insert(unmerged_.end(), net.begin(), net.end());
            if (unmerged_.size() >= kMergedTogether) merge();
        }
    }
    void merge() {
        indices_.resize(unmerged_.size());
        pool_.add(unmerged_.data(), unmerged_.size(), indices_.data());
        const size_t first = model_.patches.size() - unmerged_.size() / 16;
        for (size_t k = 0; k < indices_.size(); ++k)
            model_.patches[first + k / 16].indices[k % 16] = indices_[k];
        unmerged_.clear();
    }

  private:
    static constexpr size_t kMergedTogether = 4096; // points, a multiple of a patch's 16
    Model& model_;
    PointPool pool_;
    std::map<std::string, int32_t> groups_;
    std::vector<vm::Float3> unmerged_;
    std::vector<int32_t> indices_;
};

ImportResult refuse(const std::string& why) {
    ImportResult r;
    r.reason = why;
    return r;
}

// --- IGES ---

// A line of the parameter section: the directory line of its entity, and where it starts.
struct ParameterLine {
    int owner;
    const char* text;
};
constexpr size_t kParameterColumns = 64; // the rest name the entity and the line
bool byOwner(const ParameterLine& a, const ParameterLine& b) {
    return a.owner < b.owner;
}

ImportResult importIges(std::string_view text, Model& model) {
    ImportResult result;
    result.format = "IGES";
    // The sections by column 73; the directory's entries two lines each, the parameters
    // joined per entity from columns 1–64.
    // Both are seen in place in the text: a large file's sections are not copied.
    std::vector<std::string_view> directory;
    std::vector<ParameterLine> parameterLines;
    std::string global;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() < 73) continue;
        const char section = line[72];
        if (section == 'G') global += line.substr(0, 72);
        if (section == 'D') directory.push_back(line.substr(0, 72));
        if (section == 'P') {
            int owner = 0;
            std::from_chars(line.data() + 64, line.data() + 72, owner);
            const size_t first = line.find_first_not_of(' ', 64);
            if (first != std::string::npos && first < 72)
                std::from_chars(line.data() + first, line.data() + 72, owner);
            parameterLines.push_back({owner, line.data()});
        }
    }
    // By entity, each entity's lines in the file's order.
    if (!std::is_sorted(parameterLines.begin(), parameterLines.end(), byOwner))
        std::stable_sort(parameterLines.begin(), parameterLines.end(), byOwner);
    std::string data;
    std::vector<double> values;
    // The parameter delimiter is the global section's first field ("1H," by default).
    char delimiter = ',', recordEnd = ';';
    if (startsWith(global, "1H") && global.size() > 2) delimiter = global[2];
    if (global.size() > 7 && global.compare(4, 2, "1H") == 0) recordEnd = global[6];
    Assembly assembly(model);
    size_t trimmed = 0;
    for (size_t d = 0; d + 1 < directory.size(); d += 2) {
        int type = 0;
        const std::string_view field = directory[d].substr(0, 8);
        const size_t first = field.find_first_not_of(' ');
        if (first != std::string::npos)
            std::from_chars(field.data() + first, field.data() + field.size(), type);
        const int line = static_cast<int>(d + 1);
        const std::string label = std::to_string(line);
        if (type == 143 || type == 144) ++trimmed;
        if (type != 128) continue;
        const std::string_view transform = directory[d].substr(48, 8);
        if (transform.find_first_not_of(" 0") != std::string::npos)
            return refuse("entity 128 at directory line " + label +
                          " is placed by a transformation matrix (entity 124), which is not read");
        data.clear();
        const ParameterLine key{line, nullptr};
        const auto [begin, end] =
            std::equal_range(parameterLines.begin(), parameterLines.end(), key, byOwner);
        for (auto p = begin; p != end; ++p)
            data.append(p->text, kParameterColumns);
        data.resize(std::min(data.size(), data.find(recordEnd)));
        values.clear();
        std::string spaced; // an item with spaces inside, those taken out
        size_t from = 0;
        while (from <= data.size()) {
            size_t to = data.find(delimiter, from);
            if (to == std::string::npos) to = data.size();
            std::string_view item = std::string_view(data).substr(from, to - from);
            item.remove_prefix(std::min(item.size(), item.find_first_not_of(' ')));
            item.remove_suffix(item.size() - std::min(item.size(), item.find_last_not_of(' ') + 1));
            if (item.find(' ') != std::string_view::npos) {
                spaced.assign(item);
                spaced.erase(std::remove(spaced.begin(), spaced.end(), ' '), spaced.end());
                item = spaced;
            }
            double v = 0;
            if (!item.empty() && !toNumber(item, v))
                return refuse("entity 128 at directory line " + label + ": '" + std::string(item) +
                              "' is not a number");
            values.push_back(v);
            from = to + 1;
        }
        // 128, K1, K2, M1, M2, PROP1–5, knots, weights, points, U0, U1, V0, V1.
        if (values.size() < 10)
            return refuse("entity 128 at directory line " + label + " is cut short");
        // Counts and degrees as whole numbers in a sane range (a wild value must not wrap).
        auto whole = [](double v) { return v >= 0 && v <= 1e6 ? static_cast<int>(v) : -1; };
        const int k1 = whole(values[1]), k2 = whole(values[2]);
        const int m1 = whole(values[3]), m2 = whole(values[4]);
        if (m1 != 3 || m2 != 3)
            return refuse("entity 128 at directory line " + label + " is of degree " +
                          std::to_string(m1) + " × " + std::to_string(m2) +
                          ": only bicubic surfaces (3 × 3) are read");
        if (k1 < 3 || k2 < 3 || k1 > 100000 || k2 > 100000)
            return refuse("entity 128 at directory line " + label + " has no bicubic span");
        const size_t knotsU = static_cast<size_t>(k1 + m1 + 2),
                     knotsV = static_cast<size_t>(k2 + m2 + 2);
        const size_t count = static_cast<size_t>(k1 + 1) * static_cast<size_t>(k2 + 1);
        const size_t needed = 10 + knotsU + knotsV + count * 4 + 4;
        if (values.size() < needed)
            return refuse("entity 128 at directory line " + label + " is cut short");
        BSplineSurface s;
        s.countU = k1 + 1;
        s.countV = k2 + 1;
        size_t i = 10;
        s.knotsU.assign(values.begin() + static_cast<long>(i),
                        values.begin() + static_cast<long>(i + knotsU));
        i += knotsU;
        s.knotsV.assign(values.begin() + static_cast<long>(i),
                        values.begin() + static_cast<long>(i + knotsV));
        i += knotsV;
        const double weight = values[i];
        for (size_t w = 0; w < count; ++w)
            if (std::fabs(values[i + w] - weight) > 1e-12 * std::fabs(weight) || weight <= 0)
                return refuse("entity 128 at directory line " + label +
                              " is rational (its weights differ): only polynomial surfaces are "
                              "read");
        i += count;
        // The points with u varying fastest.
        s.points.resize(count);
        for (size_t iv = 0; iv < static_cast<size_t>(s.countV); ++iv)
            for (size_t iu = 0; iu < static_cast<size_t>(s.countU); ++iu) {
                const size_t p = iv * static_cast<size_t>(s.countU) + iu;
                s.points[iu * static_cast<size_t>(s.countV) + iv] = {
                    values[i + 3 * p], values[i + 3 * p + 1], values[i + 3 * p + 2]};
            }
        i += 3 * count;
        s.u0 = values[i];
        s.u1 = values[i + 1];
        s.v0 = values[i + 2];
        s.v1 = values[i + 3];
        std::string why;
        const auto patches = bezierPatches(s, why);
        if (patches.empty()) return refuse("entity 128 at directory line " + label + ": " + why);
        std::string name(directory[d + 1].substr(56, 8));
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        assembly.add(patches, name);
        result.piecesCut += patches.size() > 1;
    }
    assembly.merge();
    if (model.patches.empty()) return refuse("it holds no B-spline surface (entity 128)");
    if (trimmed)
        result.format += " (" + std::to_string(trimmed) +
                         " trimmed surfaces imported whole: their trimming was not read)";
    result.ok = true;
    return result;
}

// --- STEP ---

// A number as atol reads it from the front of text (0 when there is none).
long leadingNumber(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    if (at < text.size() && text[at] == '+') ++at;
    long value = 0;
    std::from_chars(text.data() + at, text.data() + text.size(), value);
    return value;
}

// The characters that end a statement, a string, a line or start a comment.
constexpr auto kStepMarks = [] {
    std::array<bool, 256> marks{};
    for (unsigned char c : {'\'', ';', '\r', '\n', '/'})
        marks[c] = true;
    return marks;
}();

// How many ';' the text holds (an upper bound on its statements).
size_t statementEnds(std::string_view text) {
    size_t count = 0;
    for (const char *p = text.data(), *end = p + text.size();
         (p = static_cast<const char*>(std::memchr(p, ';', static_cast<size_t>(end - p)))); ++p)
        ++count;
    return count;
}

// The entities of a STEP exchange file's data section by number, each its text after "=":
// seen in place in the file, copied only when line ends or comments are taken out of it.
class StepEntities {
  public:
    // 24 bytes: a file of millions of points has as many entities.
    struct Entity {
        long number;
        const char* text; // the text after "=", without the ";"
        uint32_t length;
        uint32_t order; // in the file
        std::string_view body() const { return {text, length}; }
    };
    explicit StepEntities(std::string_view text) {
        const size_t data = text.find("DATA;");
        size_t at = data == std::string_view::npos ? text.size() : data + 5;
        list_.reserve(statementEnds(text.substr(std::min(at, text.size()))));
        size_t begin = std::string_view::npos; // where the statement's text starts in the file
        std::string current;                   // its text so far once something was taken out
        bool copied = false, quoted = false;
        for (; at < text.size(); ++at) {
            if (begin != std::string_view::npos && !copied) {
                // A statement's plain characters seen in place: on to the next that matters.
                while (at < text.size() && !kStepMarks[static_cast<unsigned char>(text[at])])
                    ++at;
                if (at == text.size()) break;
            }
            const char c = text[at];
            if (c == '\'') quoted = !quoted;
            const bool lineEnd = !quoted && (c == '\r' || c == '\n');
            const bool comment = !quoted && c == '/' && at + 1 < text.size() && text[at + 1] == '*';
            if (lineEnd || comment) {
                if (begin != std::string_view::npos && !copied) {
                    current.assign(text.substr(begin, at - begin));
                    copied = true;
                }
                if (comment) {
                    const size_t end = text.find("*/", at + 2);
                    at = end == std::string_view::npos ? text.size() : end + 1;
                }
                continue;
            }
            if (begin == std::string_view::npos) begin = at;
            if (copied) current += c;
            if (quoted || c != ';') continue;
            std::string_view statement = text.substr(begin, at + 1 - begin);
            if (copied) statement = owned_.emplace_back(std::move(current));
            const size_t start = statement.find_first_not_of(' ');
            if (start != std::string::npos && statement[start] == '#') {
                const size_t equals = statement.find('=');
                if (equals != std::string::npos)
                    list_.push_back({leadingNumber(statement.substr(start + 1)),
                                     statement.data() + equals + 1,
                                     static_cast<uint32_t>(statement.size() - equals - 2),
                                     static_cast<uint32_t>(list_.size())});
            }
            if (statement.find("ENDSEC") != std::string::npos) break;
            current.clear();
            begin = std::string_view::npos;
            copied = false;
        }
        // By number; of two with one number the later is kept.
        auto byNumber = [](const Entity& a, const Entity& b) {
            return a.number < b.number || (a.number == b.number && a.order < b.order);
        };
        if (!std::is_sorted(list_.begin(), list_.end(), byNumber))
            std::sort(list_.begin(), list_.end(), byNumber); // in place: no copy of the list
        auto sameNumber = [](const Entity& a, const Entity& b) { return a.number == b.number; };
        if (std::adjacent_find(list_.begin(), list_.end(), sameNumber) == list_.end()) return;
        std::vector<Entity> kept;
        for (size_t i = 0; i < list_.size(); ++i)
            if (i + 1 == list_.size() || list_[i + 1].number != list_[i].number)
                kept.push_back(list_[i]);
        list_ = std::move(kept);
    }
    auto begin() const { return list_.begin(); }
    auto end() const { return list_.end(); }
    // The entity of that number, or null.
    const Entity* find(long number) const {
        const auto at = std::lower_bound(list_.begin(), list_.end(), number,
                                         [](const Entity& e, long n) { return e.number < n; });
        return at != list_.end() && at->number == number ? &*at : nullptr;
    }

  private:
    std::vector<Entity> list_;
    std::deque<std::string> owned_; // the statements that had to be copied
};

// The top-level arguments of "NAME(a,b,(c,d),...)" (spaces kept inside strings only).
std::vector<std::string> arguments(std::string_view call) {
    std::vector<std::string> out;
    const size_t open = call.find('(');
    if (open == std::string::npos) return out;
    int depth = 0;
    bool quoted = false;
    std::string item;
    for (size_t i = open + 1; i < call.size(); ++i) {
        const char c = call[i];
        if (c == '\'') quoted = !quoted;
        if (!quoted) {
            if (c == ' ') continue;
            if (c == '(') ++depth;
            if (c == ')' && depth-- == 0) {
                out.push_back(item);
                break;
            }
            if (c == ',' && depth == 0) {
                out.push_back(item);
                item.clear();
                continue;
            }
        }
        item += c;
    }
    return out;
}

// "(a,b,c)" → its items.
std::vector<std::string> listItems(const std::string& list) {
    return arguments("L" + list);
}

// A point as exporters write it, "CARTESIAN_POINT('name',(x,y,z))" with no spaces and no
// quote in the name, read in place; false for any other form (read by arguments()).
bool plainPoint(std::string_view body, std::array<double, 3>& p) {
    size_t at = body.find('(');
    if (at == std::string_view::npos || body.substr(at + 1, 1) != "'") return false;
    at = body.find('\'', at + 2);
    if (at == std::string_view::npos || body.substr(at + 1, 2) != ",(") return false;
    at += 3;
    for (size_t k = 0; k < 3; ++k) {
        const size_t end = body.find_first_of(k < 2 ? ",() '" : ")(, '", at);
        if (end == std::string_view::npos || body[end] != (k < 2 ? ',' : ')') ||
            !toNumber(body.substr(at, end - at), p[k]))
            return false;
        at = end + 1;
    }
    return body.substr(at, 1) == ")";
}

std::string_view trimmedName(std::string_view s) {
    s.remove_prefix(std::min(s.size(), s.find_first_not_of(' ')));
    return s.substr(0, s.find('('));
}

const char* const kOtherSurfaces[] = {"PLANE",
                                      "CYLINDRICAL_SURFACE",
                                      "CONICAL_SURFACE",
                                      "SPHERICAL_SURFACE",
                                      "TOROIDAL_SURFACE",
                                      "SURFACE_OF_REVOLUTION",
                                      "SURFACE_OF_LINEAR_EXTRUSION",
                                      "OFFSET_SURFACE",
                                      "BEZIER_SURFACE",
                                      "UNIFORM_SURFACE",
                                      "QUASI_UNIFORM_SURFACE",
                                      "RECTANGULAR_TRIMMED_SURFACE",
                                      "CURVE_BOUNDED_SURFACE",
                                      "DEGENERATE_TOROIDAL_SURFACE"};

ImportResult importStep(std::string_view text, Model& model) {
    ImportResult result;
    result.format = "STEP";
    const StepEntities entities(text);
    Assembly assembly(model);
    size_t faces = 0;
    for (const StepEntities::Entity& entity : entities) {
        const long number = entity.number;
        const std::string_view body = entity.body();
        const std::string_view kind = trimmedName(body);
        if (kind == "CARTESIAN_POINT") continue; // most of a file: read where a surface names it
        const std::string label = "#" + std::to_string(number);
        if (kind == "ADVANCED_FACE" || kind == "FACE_SURFACE") ++faces;
        for (const char* other : kOtherSurfaces)
            if (kind == other)
                return refuse(label + " is a " + std::string(kind) +
                              ": only bicubic B-spline surfaces are read");
        const bool complex = !body.empty() && body[0] == '(';
        const size_t withKnots = body.find("B_SPLINE_SURFACE_WITH_KNOTS");
        if (withKnots == std::string::npos) continue;
        std::vector<std::string> surface, knots;
        std::vector<double> weights;
        if (complex) {
            // (BOUNDED_SURFACE() B_SPLINE_SURFACE(3,3,(...),...) B_SPLINE_SURFACE_WITH_KNOTS(
            // ...) RATIONAL_B_SPLINE_SURFACE(((w,...),...)) ...)
            const size_t base = body.find("B_SPLINE_SURFACE(");
            if (base == std::string::npos)
                return refuse(label + " is a B-spline surface without its points");
            surface = arguments(body.substr(base));
            surface.insert(surface.begin(), "''"); // no name in the complex form
            knots = arguments(body.substr(withKnots));
            const size_t rational = body.find("RATIONAL_B_SPLINE_SURFACE(");
            const std::vector<std::string> rows = rational == std::string::npos
                                                      ? std::vector<std::string>{}
                                                      : arguments(body.substr(rational));
            if (rational != std::string::npos && rows.empty())
                return refuse(label + ": its weights are missing");
            if (!rows.empty())
                for (const std::string& row : listItems(rows[0]))
                    for (const std::string& w : listItems(row)) {
                        double v = 0;
                        if (!toNumber(w, v)) return refuse(label + ": a weight is not a number");
                        weights.push_back(v);
                    }
        } else {
            const std::vector<std::string> all = arguments(body);
            if (all.size() < 13) return refuse(label + " is cut short");
            surface.assign(all.begin(), all.begin() + 8);
            knots.assign(all.begin() + 8, all.end());
        }
        // surface: name, u degree, v degree, points, form, closed u, closed v, self-intersecting;
        // knots: u multiplicities, v multiplicities, u knots, v knots, knot kind.
        if (surface.size() < 4 || knots.size() < 4) return refuse(label + " is cut short");
        if (surface[1] != "3" || surface[2] != "3")
            return refuse(label + " is of degree " + surface[1] + " × " + surface[2] +
                          ": only bicubic surfaces (3 × 3) are read");
        for (double w : weights)
            if (std::fabs(w - weights.front()) > 1e-12 * std::fabs(weights.front()))
                return refuse(label + " is rational (its weights differ): only polynomial "
                                      "surfaces are read");
        BSplineSurface s;
        const std::vector<std::string> columns = listItems(surface[3]);
        s.countU = static_cast<int>(columns.size());
        for (const std::string& column : columns) {
            const std::vector<std::string> refs = listItems(column);
            if (s.countV == 0) s.countV = static_cast<int>(refs.size());
            if (static_cast<int>(refs.size()) != s.countV)
                return refuse(label + ": its rows of points differ in length");
            for (const std::string& ref : refs) {
                const auto* point = entities.find(std::atol(ref.c_str() + 1));
                if (ref.empty() || ref[0] != '#' || !point ||
                    trimmedName(point->body()) != "CARTESIAN_POINT")
                    return refuse(label + ": " + ref + " is not a point");
                std::array<double, 3> p{};
                if (!plainPoint(point->body(), p)) {
                    const std::vector<std::string> pointArguments = arguments(point->body());
                    const std::vector<std::string> xyz = pointArguments.size() == 2
                                                             ? listItems(pointArguments[1])
                                                             : std::vector<std::string>{};
                    if (xyz.size() != 3 || !toNumber(xyz[0], p[0]) || !toNumber(xyz[1], p[1]) ||
                        !toNumber(xyz[2], p[2]))
                        return refuse(label + ": point " + ref + " is not three numbers");
                }
                s.points.push_back(p);
            }
        }
        for (int dir = 0; dir < 2; ++dir) {
            const std::vector<std::string> multiplicities =
                listItems(knots[static_cast<size_t>(dir)]);
            const std::vector<std::string> values = listItems(knots[static_cast<size_t>(2 + dir)]);
            if (multiplicities.size() != values.size())
                return refuse(label + ": its knots and their multiplicities differ in number");
            std::vector<double>& full = dir == 0 ? s.knotsU : s.knotsV;
            for (size_t k = 0; k < values.size(); ++k) {
                double v = 0;
                const long m = std::atol(multiplicities[k].c_str());
                if (!toNumber(values[k], v) || m < 1 || m > 4)
                    return refuse(label + ": a knot is not a number or repeats too often");
                full.insert(full.end(), static_cast<size_t>(m), v);
            }
        }
        if (s.knotsU.size() < 8 || s.knotsV.size() < 8)
            return refuse(label + " has too few knots for a bicubic surface");
        s.u0 = s.knotsU[3];
        s.u1 = s.knotsU[s.knotsU.size() - 4];
        s.v0 = s.knotsV[3];
        s.v1 = s.knotsV[s.knotsV.size() - 4];
        std::string why;
        const auto patches = bezierPatches(s, why);
        if (patches.empty()) return refuse(label + ": " + why);
        std::string name = surface[0];
        if (name.size() >= 2 && name.front() == '\'') name = name.substr(1, name.size() - 2);
        assembly.add(patches, name);
        result.piecesCut += patches.size() > 1;
    }
    assembly.merge();
    if (model.patches.empty())
        return refuse("it holds no B-spline surface (B_SPLINE_SURFACE_WITH_KNOTS)");
    if (faces)
        result.format += " (" + std::to_string(faces) +
                         " faces imported as their whole surfaces: their edges were not read)";
    result.ok = true;
    return result;
}

} // namespace

bool isCadText(std::string_view text) {
    if (startsWith(text, "\xEF\xBB\xBF")) text.remove_prefix(3);
    if (startsWith(text, "ISO-10303-21")) return true;
    const std::string_view line = firstLine(text);
    return line.size() >= 80 && line[72] == 'S';
}

ImportResult importCadSurfaces(std::string_view text, Model& model) {
    model.clear();
    model.locators.clear();
    if (startsWith(text, "\xEF\xBB\xBF")) text.remove_prefix(3);
    ImportResult r =
        startsWith(text, "ISO-10303-21") ? importStep(text, model) : importIges(text, model);
    if (!r.ok) {
        model.clear();
        model.locators.clear();
    }
    return r;
}
