#include "model/iges-reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "model/bspline-patches.h"
#include "model/cad-assembly.h"
#include "model/knot-tolerance.h"

namespace {

constexpr int kBSplineSurface = 128;
constexpr size_t kDataColumns = 72, kParameterColumns = 64, kSectionColumn = 72;
constexpr size_t kFieldWidth = 8;
constexpr size_t kTransformField = 6, kLabelField = 7; // of the first and the second line
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

bool toNumberByStrtod(std::string text, double& value) {
    std::replace(text.begin(), text.end(), 'D', 'E'); // IGES doubles may say D
    std::replace(text.begin(), text.end(), 'd', 'e');
    const char* begin = text.c_str();
    char* end = nullptr;
    value = std::strtod(begin, &end);
    return end != begin && *end == '\0' && std::isfinite(value);
}

// The common case without a copy or the C library's strtod, which under Wine takes most of
// the import of a large file (100,489 surfaces: 4.8 million numbers); anything unusual
// (spaces inside, a sign '+', an exponent out of range) goes the slower way.
bool toNumber(std::string_view item, double& value) {
    constexpr size_t kLongest = 64;
    char text[kLongest];
    size_t length = 0;
    bool plain = item.size() < kLongest && !item.empty() && item.front() != '+';
    for (size_t i = 0; plain && i < item.size(); ++i) {
        const char c = item[i];
        plain = c != ' ';
        text[length++] = c == 'D' ? 'E' : c == 'd' ? 'e' : c; // IGES doubles may say D
    }
    if (plain) {
        const auto [end, error] = std::from_chars(text, text + length, value);
        if (error == std::errc() && end == text + length) return std::isfinite(value);
    }
    std::string spaceless(item);
    spaceless.erase(std::remove(spaceless.begin(), spaceless.end(), ' '), spaceless.end());
    return toNumberByStrtod(spaceless, value);
}

std::string trimmed(std::string s) {
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

int fieldNumber(const std::string& line, size_t field) {
    const std::string text = trimmed(line.substr(field * kFieldWidth, kFieldWidth));
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

struct Sections {
    std::string global;
    std::vector<std::string> directory;    // two lines an entity
    std::map<int, std::string> parameters; // by the directory line of their entity
    size_t parameterLines = 0;
    std::string terminate; // the T line's data: the lines of each section, "" when missing
};

// The sections by column 73; the parameters joined per entity from columns 1–64.
Sections sectionsOf(std::string_view text) {
    Sections s;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(at, end - at));
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() <= kSectionColumn) continue;
        const char section = line[kSectionColumn];
        if (section == 'G') s.global += line.substr(0, kDataColumns);
        if (section == 'D') s.directory.push_back(line.substr(0, kDataColumns));
        if (section == 'P') {
            const std::string owner = trimmed(line.substr(kParameterColumns, 8));
            int entity = 0;
            std::from_chars(owner.data(), owner.data() + owner.size(), entity);
            s.parameters[entity] += line.substr(0, kParameterColumns);
            ++s.parameterLines;
        }
        if (section == 'T') s.terminate = line.substr(0, kDataColumns);
    }
    return s;
}

// Why the sections are not whole, or "": the terminate section counts the lines of each
// ("S0000002G0000003D0000008P0000027"), which a file cut short or damaged does not have.
std::string damageOf(const Sections& s) {
    if (s.terminate.empty())
        return "it ends before its terminate section (T): the file is cut short";
    constexpr size_t kCountField = 8, kDirectoryCount = 2, kParameterCount = 3;
    const std::pair<size_t, size_t> counts[] = {{kDirectoryCount, s.directory.size()},
                                                {kParameterCount, s.parameterLines}};
    for (const auto& [field, lines] : counts) {
        const std::string count = s.terminate.substr(field * kCountField, kCountField);
        const std::string digits = count.size() == kCountField ? trimmed(count.substr(1)) : "";
        size_t said = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), said);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
            said != lines)
            return "its " +
                   std::string(field == kDirectoryCount ? "directory (D)" : "parameter (P)") +
                   " section has " + std::to_string(lines) +
                   " lines where its terminate section says '" + count +
                   "': the file is cut short or damaged";
    }
    return "";
}

// Why no entity of the directory may be another kind of surface, or "".
std::string otherSurfaces(const std::vector<std::string>& directory) {
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
    size_t total = 0;
    std::string kinds;
    for (const auto& [type, count] : counts) {
        total += count;
        kinds += (kinds.empty() ? "" : ", ") + std::to_string(count) + " of entity " +
                 std::to_string(type);
    }
    return first + ": only bicubic B-spline surfaces (entity 128) are read, and the file holds " +
           std::to_string(total) + " surfaces of other kinds (" + kinds + ")";
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
    const std::vector<std::string>& directory = sections.directory;
    for (size_t d = 0; d + 1 < directory.size(); d += 2) {
        const int type = fieldNumber(directory[d], 0);
        if (std::find(std::begin(kBounded), std::end(kBounded), type) != std::end(kBounded))
            ++bounded;
        const int line = static_cast<int>(d + 1);
        const std::string entity =
            "entity " + std::to_string(type) + " at directory line " + std::to_string(line);
        const std::string transform =
            directory[d].substr(kTransformField * kFieldWidth, kFieldWidth);
        if (std::find(std::begin(kHoldingSurfaces), std::end(kHoldingSurfaces), type) !=
                std::end(kHoldingSurfaces) &&
            transform.find_first_not_of(" 0") != std::string::npos)
            return refuse(entity + " is placed by a transformation matrix (entity 124), which is "
                                   "not read");
        if (type != kBSplineSurface) continue;
        const auto found = sections.parameters.find(line);
        std::string_view data =
            found == sections.parameters.end() ? std::string_view() : found->second;
        data = data.substr(0, data.find(recordEnd));
        std::vector<double> values;
        for (size_t from = 0; from <= data.size();) {
            size_t to = data.find(delimiter, from);
            if (to == std::string_view::npos) to = data.size();
            std::string_view item = data.substr(from, to - from);
            item.remove_prefix(std::min(item.size(), item.find_first_not_of(' ')));
            item.remove_suffix(item.size() - std::min(item.size(), item.find_last_not_of(' ') + 1));
            double v = 0;
            if (!item.empty() && !toNumber(item, v))
                return refuse(entity + ": '" + std::string(item) + "' is not a number");
            values.push_back(v);
            from = to + 1;
        }
        std::string why;
        BSplineSurface s = surfaceOf(values, why);
        if (!why.empty()) return refuse(entity + " " + why);
        normaliseKnots(s);
        const auto patches = bezierPatches(s, why);
        if (patches.empty()) return refuse(entity + ": " + why);
        const std::string name =
            trimmed(directory[d + 1].substr(kLabelField * kFieldWidth, kFieldWidth));
        for (const auto& net : patches)
            assembly.add(net, name);
        result.piecesCut += overPartOfRange(s);
    }
    if (model.patches.empty()) return refuse("it holds no B-spline surface (entity 128)");
    if (bounded)
        result.format += " (" + std::to_string(bounded) +
                         " trimmed surfaces imported over their surfaces' parameter ranges: their "
                         "trimming curves were not read)";
    result.ok = true;
    return result;
}
