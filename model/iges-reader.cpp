#include "model/iges-reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "model/batch-conversion.h"
#include "model/bspline-patches.h"
#include "model/cad-assembly.h"
#include "model/decimal-number.h"
#include "model/knot-tolerance.h"

namespace {

constexpr int kBSplineSurface = 128;
constexpr size_t kDataColumns = 72, kParameterColumns = 64, kSectionColumn = 72;
constexpr size_t kFieldWidth = 8;
constexpr size_t kPointerField = 1, kTransformField = 6; // of an entry's first line
constexpr size_t kLabelField = 7;                        // of its second
constexpr int kMaxCount = 100000; // points a direction, to keep a wild value from wrapping

// The other kinds of surface an IGES file can hold, none of which a bicubic patch is exactly.
const std::map<int, const char*> kOtherSurfaces = {{108, "plane"},
                                                   {114, "parametric spline surface"},
                                                   {118, "ruled surface"},
                                                   {120, "surface of revolution"},
                                                   {122, "tabulated cylinder"},
                                                   {140, "offset surface"},
                                                   {190, "plane surface"},
                                                   {192, "right circular cylindrical surface"},
                                                   {194, "right circular conical surface"},
                                                   {196, "spherical surface"},
                                                   {198, "toroidal surface"}};
// Entities whose surface is bounded by curves the import does not read.
const int kBounded[] = {143, 144, 510};
// Entities whose transformation matrix moves the surfaces they hold (their own, or their
// faces' and shells'), as OpenCASCADE reads them.
const int kHoldingSurfaces[] = {kBSplineSurface, 143, 144, 186, 510, 514};

ImportResult refuse(const std::string& why) {
    ImportResult r;
    r.reason = why;
    return r;
}

// Plain numbers are read by from_chars; strtod reads every other form (D exponents, a sign).
bool toNumber(std::string_view item, double& value) {
    const char* last = item.data() + item.size();
    if (decimal::parse(item.data(), last, value) == last) return std::isfinite(value);
    std::string text(item);
    std::replace(text.begin(), text.end(), 'D', 'E'); // IGES doubles may say D
    std::replace(text.begin(), text.end(), 'd', 'e');
    const char* begin = text.c_str();
    char* end = nullptr;
    value = std::strtod(begin, &end);
    return end != begin && *end == '\0' && std::isfinite(value);
}

std::string_view trimmed(std::string_view s) {
    s.remove_prefix(std::min(s.size(), s.find_first_not_of(' ')));
    s.remove_suffix(s.size() - std::min(s.size(), s.find_last_not_of(' ') + 1));
    return s;
}

int fieldNumber(std::string_view line, size_t field) {
    const std::string_view text = trimmed(line.substr(field * kFieldWidth, kFieldWidth));
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// A line of the parameter section: the directory line of its entity, and where it starts.
struct ParameterLine {
    int owner;
    const char* text;
};
bool byOwner(const ParameterLine& a, const ParameterLine& b) {
    return a.owner < b.owner;
}

// The sections, seen in place in the text: a large file's are not copied.
struct Sections {
    std::string global;
    std::vector<std::string_view> directory; // two lines an entity
    std::vector<ParameterLine> parameters;   // by entity, each entity's in the file's order
    std::string_view terminate; // the T line's data: the lines of each section, "" when missing

    // An entity's parameters, joined from columns 1–64 of its lines. Its directory entry's
    // pointer (the first line's number, from 1) is where they are in a file whose lines are in
    // order, taken when its first line is there; else they are searched for.
    void parametersOf(int entity, int pointer, std::string& data) const {
        data.clear();
        const size_t at = static_cast<size_t>(pointer - 1);
        auto begin = parameters.begin(), end = parameters.begin();
        if (pointer > 0 && at < parameters.size() && parameters[at].owner == entity &&
            (at == 0 || parameters[at - 1].owner < entity)) {
            begin = end = parameters.begin() + static_cast<long>(at);
            while (end != parameters.end() && end->owner == entity)
                ++end;
        } else {
            std::tie(begin, end) = std::equal_range(parameters.begin(), parameters.end(),
                                                    ParameterLine{entity, nullptr}, byOwner);
        }
        data.reserve(static_cast<size_t>(end - begin) * kParameterColumns); // one allocation
        for (auto line = begin; line != end; ++line)
            data.append(line->text, kParameterColumns);
    }
};

// Sixteen bytes compared at once (the compiler's vectors: SSE2 on x86-64, NEON on ARM).
constexpr size_t kLanes = 16;
using Bytes = char __attribute__((vector_size(kLanes)));

// Where the line from at ends (the '\n' or the text's end). A line is 80 columns: the byte
// after them is looked at first, and the columns for a line break 16 at a time, without a
// search for each line (a file of a hundred thousand surfaces has a million lines).
size_t lineEnd(std::string_view text, size_t at) {
    constexpr size_t kColumns = 80;
    static_assert(kColumns % kLanes == 0);
    const char* line = text.data() + at;
    if (text.size() - at > kColumns + 1) {
        const size_t end = line[kColumns] == '\n'                                 ? kColumns
                           : line[kColumns] == '\r' && line[kColumns + 1] == '\n' ? kColumns + 1
                                                                                  : 0;
        Bytes newline, breaks = {};
        std::memset(&newline, '\n', sizeof newline);
        for (size_t column = 0; end && column < kColumns; column += kLanes) {
            Bytes bytes;
            std::memcpy(&bytes, line + column, sizeof bytes);
            breaks |= bytes == newline;
        }
        uint64_t halves[2];
        std::memcpy(halves, &breaks, sizeof halves);
        if (end && (halves[0] | halves[1]) == 0) return at + end;
    }
    return std::min(text.size(), text.find('\n', at));
}

// The sections by column 73.
Sections sectionsOf(std::string_view text) {
    Sections s;
    // Room for every line a section may have (room never written takes no memory): the lists
    // then grow without copying themselves.
    s.directory.reserve(text.size() / (kSectionColumn + 1));
    s.parameters.reserve(text.size() / (kSectionColumn + 1));
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = lineEnd(text, at);
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() <= kSectionColumn) continue;
        const char section = line[kSectionColumn];
        if (section == 'G') s.global += line.substr(0, kDataColumns);
        if (section == 'D') s.directory.push_back(line.substr(0, kDataColumns));
        if (section == 'P') {
            const std::string_view owner = trimmed(line.substr(kParameterColumns, 8));
            int entity = 0;
            std::from_chars(owner.data(), owner.data() + owner.size(), entity);
            s.parameters.push_back({entity, line.data()});
        }
        if (section == 'T') s.terminate = line.substr(0, kDataColumns);
    }
    if (!std::is_sorted(s.parameters.begin(), s.parameters.end(), byOwner))
        std::stable_sort(s.parameters.begin(), s.parameters.end(), byOwner);
    return s;
}

// Why the sections are not whole, or "": the terminate section counts the lines of each
// ("S0000002G0000003D0000008P0000027"), which a file cut short or damaged does not have.
std::string damageOf(const Sections& s) {
    if (s.terminate.empty())
        return "it ends before its terminate section (T): the file is cut short";
    constexpr size_t kCountField = 8, kDirectoryCount = 2, kParameterCount = 3;
    const std::pair<size_t, size_t> counts[] = {{kDirectoryCount, s.directory.size()},
                                                {kParameterCount, s.parameters.size()}};
    for (const auto& [field, lines] : counts) {
        const std::string_view count =
            s.terminate.substr(std::min(s.terminate.size(), field * kCountField), kCountField);
        const std::string_view digits =
            count.size() == kCountField ? trimmed(count.substr(1)) : std::string_view();
        size_t said = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), said);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
            said != lines)
            return "its " +
                   std::string(field == kDirectoryCount ? "directory (D)" : "parameter (P)") +
                   " section has " + std::to_string(lines) +
                   " lines where its terminate section says '" + std::string(count) +
                   "': the file is cut short or damaged";
    }
    return "";
}

// Why no entity of the directory may be another kind of surface, or "".
std::string otherSurfaces(const std::vector<std::string_view>& directory) {
    std::map<int, size_t> counts;
    std::string first;
    for (size_t d = 0; d + 1 < directory.size(); d += 2) {
        const int type = fieldNumber(directory[d], 0);
        const auto other = kOtherSurfaces.find(type);
        if (other == kOtherSurfaces.end()) continue;
        if (first.empty())
            first = "entity " + std::to_string(type) + " at directory line " +
                    std::to_string(d + 1) + " is a " + other->second;
        ++counts[type];
    }
    if (first.empty()) return "";
    std::vector<std::pair<std::string, size_t>> kinds;
    for (const auto& [type, count] : counts)
        kinds.emplace_back("of entity " + std::to_string(type), count);
    return otherSurfacesReason(first, "bicubic B-spline surfaces (entity 128)", kinds);
}

// Entity 128's parameters as a surface: 128, K1, K2, M1, M2, PROP1–5, knots, weights, points,
// U0, U1, V0, V1. Empty why when it is one.
BSplineSurface surfaceOf(const std::vector<double>& values, std::string& why) {
    BSplineSurface s;
    if (values.size() < 10) {
        why = "is cut short";
        return s;
    }
    auto whole = [](double v) { return v >= 0 && v <= kMaxCount ? static_cast<int>(v) : -1; };
    const int k1 = whole(values[1]), k2 = whole(values[2]);
    const int m1 = whole(values[3]), m2 = whole(values[4]);
    if (m1 != 3 || m2 != 3) {
        why = "is of degree " + std::to_string(m1) + " × " + std::to_string(m2) +
              ": only bicubic surfaces (3 × 3) are read";
        return s;
    }
    if (k1 < 3 || k2 < 3) {
        why = "has no bicubic span";
        return s;
    }
    const size_t knotsU = static_cast<size_t>(k1 + m1 + 2),
                 knotsV = static_cast<size_t>(k2 + m2 + 2);
    const size_t count = static_cast<size_t>(k1 + 1) * static_cast<size_t>(k2 + 1);
    if (values.size() < 10 + knotsU + knotsV + count * 4 + 4) {
        why = "is cut short";
        return s;
    }
    s.countU = k1 + 1;
    s.countV = k2 + 1;
    auto at = values.begin() + 10;
    s.knotsU.assign(at, at + static_cast<long>(knotsU));
    at += static_cast<long>(knotsU);
    s.knotsV.assign(at, at + static_cast<long>(knotsV));
    at += static_cast<long>(knotsV);
    const double weight = *at;
    for (size_t w = 0; w < count; ++w)
        if (std::fabs(at[static_cast<long>(w)] - weight) > 1e-12 * std::fabs(weight) ||
            weight <= 0) {
            why = "is rational (its weights differ): only polynomial surfaces are read";
            return s;
        }
    at += static_cast<long>(count);
    // The points with u varying fastest.
    s.points.resize(count);
    for (size_t iv = 0; iv < static_cast<size_t>(s.countV); ++iv)
        for (size_t iu = 0; iu < static_cast<size_t>(s.countU); ++iu) {
            const auto p = at + static_cast<long>(3 * (iv * static_cast<size_t>(s.countU) + iu));
            s.points[iu * static_cast<size_t>(s.countV) + iv] = {p[0], p[1], p[2]};
        }
    at += static_cast<long>(3 * count);
    s.u0 = at[0];
    s.u1 = at[1];
    s.v0 = at[2];
    s.v1 = at[3];
    return s;
}

// An entity 128 made Bezier patches, or why it is refused (" is cut short", ": '1.x' is
// not a number").
struct Surface {
    std::vector<std::array<vm::Float3, 16>> patches;
    bool cut = false; // over part of its parameter range
    std::string why;
};

Surface surfaceFrom(const Sections& sections, int line, int pointer, char delimiter,
                    char recordEnd) {
    Surface out;
    std::string data, spaced; // the parameters; an item with spaces taken out
    sections.parametersOf(line, pointer, data);
    data.resize(std::min(data.size(), data.find(recordEnd)));
    std::vector<double> values;
    values.reserve(data.size() / 4);
    const char* const dataEnd = data.data() + data.size();
    // Most items are a number alone between spaces: read in place, without a search for the
    // delimiter first (unless the delimiter could be part of a number).
    const bool quickItems = !std::isalnum(static_cast<unsigned char>(delimiter)) &&
                            std::string_view(".+-").find(delimiter) == std::string_view::npos;
    for (size_t from = 0; from <= data.size();) {
        const char* p = data.data() + from;
        while (p < dataEnd && *p == ' ')
            ++p;
        double quick = 0;
        if (const char* next =
                quickItems && p < dataEnd ? decimal::parse(p, dataEnd, quick) : nullptr;
            next && std::isfinite(quick)) {
            while (next < dataEnd && *next == ' ')
                ++next;
            if (next == dataEnd || *next == delimiter) {
                values.push_back(quick);
                from = static_cast<size_t>(next - data.data()) + 1;
                continue;
            }
        }
        size_t to = data.find(delimiter, from);
        if (to == std::string::npos) to = data.size();
        std::string_view item = trimmed(std::string_view(data).substr(from, to - from));
        if (item.find(' ') != std::string_view::npos) {
            spaced.assign(item);
            spaced.erase(std::remove(spaced.begin(), spaced.end(), ' '), spaced.end());
            item = spaced;
        }
        double v = 0;
        if (!item.empty() && !toNumber(item, v)) {
            out.why = ": '" + std::string(item) + "' is not a number";
            return out;
        }
        values.push_back(v);
        from = to + 1;
    }
    std::string why;
    BSplineSurface s = surfaceOf(values, why);
    if (!why.empty()) {
        out.why = " " + why;
        return out;
    }
    normaliseKnots(s);
    out.patches = bezierPatches(s, why);
    if (out.patches.empty()) out.why = ": " + why;
    out.cut = overPartOfRange(s);
    return out;
}

} // namespace

ImportResult importIges(std::string_view text, Model& model) {
    ImportResult result;
    result.format = "IGES";
    const Sections sections = sectionsOf(text);
    const std::string& global = sections.global;
    // The global section's first two fields are the parameter and record delimiters ("1H,"
    // and "1H;"), each left empty for its default: "1H/", ",1H#," and ",," are all read.
    char delimiter = ',', recordEnd = ';';
    size_t second = 1; // where the second field starts
    if (global.compare(0, 2, "1H") == 0 && global.size() > 3) delimiter = global[2], second = 4;
    if (global.size() > second + 2 && global.compare(second, 2, "1H") == 0)
        recordEnd = global[second + 2];
    if (const std::string damage = damageOf(sections); !damage.empty()) return refuse(damage);
    if (const std::string other = otherSurfaces(sections.directory); !other.empty())
        return refuse(other);
    CadAssembly assembly(model);
    size_t bounded = 0;
    const std::vector<std::string_view>& directory = sections.directory;
    size_t surfaces = 0;
    for (size_t d = 0; d < directory.size(); d += 2)
        surfaces += fieldNumber(directory[d], 0) == kBSplineSurface;
    assembly.expect(surfaces);
    auto transformed = [&](size_t d, int type) {
        const std::string_view transform =
            directory[d].substr(kTransformField * kFieldWidth, kFieldWidth);
        return std::find(std::begin(kHoldingSurfaces), std::end(kHoldingSurfaces), type) !=
                   std::end(kHoldingSurfaces) &&
               std::any_of(transform.begin(), transform.end(),
                           [](char c) { return c != ' ' && c != '0'; });
    };
    // Surfaces are converted on every core; the entities are then taken in order, so the
    // first refusal is the one reading them one after another meets.
    std::string refusal;
    const bool whole = batches::convertThenTake<Surface>(
        directory.size() / 2,
        [&](size_t e, Surface& out) {
            const size_t d = 2 * e;
            const int type = fieldNumber(directory[d], 0);
            if (type == kBSplineSurface && !transformed(d, type))
                out = surfaceFrom(sections, static_cast<int>(d + 1),
                                  fieldNumber(directory[d], kPointerField), delimiter, recordEnd);
        },
        [&](size_t e, Surface& converted) {
            const size_t d = 2 * e;
            const int type = fieldNumber(directory[d], 0);
            if (std::find(std::begin(kBounded), std::end(kBounded), type) != std::end(kBounded))
                ++bounded;
            const std::string entity = "entity " + std::to_string(type) + " at directory line ";
            if (transformed(d, type)) {
                refusal = entity + std::to_string(d + 1) +
                          " is placed by a transformation matrix (entity 124), which is not read";
                return false;
            }
            if (type != kBSplineSurface) return true;
            if (!converted.why.empty()) {
                refusal = entity + std::to_string(d + 1) + converted.why;
                return false;
            }
            const std::string name(
                trimmed(directory[d + 1].substr(kLabelField * kFieldWidth, kFieldWidth)));
            assembly.add(converted.patches, name);
            result.piecesCut += converted.cut;
            return true;
        });
    if (!whole) return refuse(refusal);
    assembly.finish();
    if (model.patches.empty()) return refuse("it holds no B-spline surface (entity 128)");
    if (bounded)
        result.format += " (" + std::to_string(bounded) +
                         " trimmed surfaces imported over their surfaces' parameter ranges: their "
                         "trimming curves were not read)";
    result.ok = true;
    return result;
}
