#include "model/cad-export.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>

#include "core/file-replace.h"
#include "core/utf8.h"
#include "model/step-text.h"

namespace cad {

namespace {

const std::string kNoGroup = "surface";
constexpr size_t kLabelBytes = 8;

bool endsWith(std::string path, const char* tail) {
    std::transform(path.begin(), path.end(), path.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const size_t n = std::strlen(tail);
    return path.size() >= n && path.compare(path.size() - n, n, tail) == 0;
}

std::string fileStem(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "YYYYMMDD.HHNNSS" (IGES) or "YYYY-MM-DDTHH:NN:SS" (STEP), now in UTC.
std::string timeText(bool iges) {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    char text[32];
    std::strftime(text, sizeof text, iges ? "%Y%m%d.%H%M%S" : "%Y-%m-%dT%H:%M:%S", &utc);
    return text;
}

// IGES sections: 72 columns of data, the section letter, a 7-digit sequence number.
class IgesLines {
  public:
    explicit IgesLines(std::FILE* file) : file_(file) {}
    bool line(const std::string& data, char section, int& sequence) {
        char text[96];
        std::snprintf(text, sizeof text, "%-72.72s%c%07d\n", data.c_str(), section, ++sequence);
        return std::fputs(text, file_) >= 0;
    }
    // Free-format parameters cut into lines of at most `width` columns, never inside a value.
    static std::vector<std::string> wrap(const std::vector<std::string>& values, char last,
                                         size_t width) {
        std::vector<std::string> lines(1);
        for (size_t i = 0; i < values.size(); ++i) {
            const std::string item = values[i] + (i + 1 < values.size() ? ',' : last);
            if (!lines.back().empty() && lines.back().size() + item.size() > width)
                lines.emplace_back();
            lines.back() += item;
        }
        return lines;
    }

    // The global section's parameters in lines of `width` columns: a Hollerith string that
    // does not fit continues on the next line (IGES lets it), other values move whole.
    static std::vector<std::string> wrapGlobal(const std::vector<std::string>& values, char last,
                                               size_t width) {
        std::vector<std::string> lines(1);
        for (size_t i = 0; i < values.size(); ++i) {
            std::string item = values[i] + (i + 1 < values.size() ? ',' : last);
            const size_t h = item.find('H');
            const bool hollerith =
                h != std::string::npos && h > 0 && item.find_first_not_of("0123456789") == h;
            if (!hollerith) {
                if (!lines.back().empty() && lines.back().size() + item.size() > width)
                    lines.emplace_back();
                lines.back() += item;
                continue;
            }
            while (!item.empty()) {
                if (lines.back().size() >= width) lines.emplace_back();
                const size_t room = width - lines.back().size();
                lines.back() += item.substr(0, room);
                item.erase(0, room);
            }
        }
        return lines;
    }

  private:
    std::FILE* file_;
};

// An entity's label: at most 8 bytes of its group's name, never cut inside a character.
std::string labelOf(const std::string& name) {
    std::string label(utf8::prefix(name, kLabelBytes));
    std::replace(label.begin(), label.end(), ' ', '_');
    return label;
}

std::string hollerith(const std::string& text) {
    return std::to_string(text.size()) + "H" + text;
}

// Entity 128's parameters for one surface: degree 3 × 3, polynomial, not closed or periodic,
// knots 0,0,0,0,1,1,1,1 twice, 16 weights of 1, the points with u varying fastest, and the
// parameter ranges.
std::vector<std::string> entity128(const Surface& s) {
    std::vector<std::string> values = {"128", "3", "3", "3", "3", "0", "0", "1", "0", "0"};
    for (int k = 0; k < 2; ++k)
        for (const char* knot : {"0.", "0.", "0.", "0.", "1.", "1.", "1.", "1."})
            values.push_back(knot);
    for (int w = 0; w < 16; ++w)
        values.push_back("1.");
    for (const vm::Float3& p : s.net)
        for (float c : {p.x, p.y, p.z})
            values.push_back(realText(c));
    for (const char* range : {"0.", "1.", "0.", "1."})
        values.push_back(range);
    return values;
}

// The shortest text that reads back to the same float, as OBJ readers take it.
std::string plainText(float value) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, error == std::errc() ? end : text);
}

constexpr size_t kDataColumns = 72;
constexpr size_t kParameterColumns = 64; // then a blank and the entity's directory line

} // namespace

std::string realText(float value) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    std::string out(text, error == std::errc() ? end : text);
    const size_t e = out.find('e');
    std::string mantissa = out.substr(0, e),
                exponent = e == std::string::npos ? "" : out.substr(e + 1);
    if (mantissa.find('.') == std::string::npos) mantissa += '.';
    if (exponent.empty()) return mantissa;
    if (exponent[0] == '+') exponent.erase(0, 1);
    return mantissa + "E" + exponent;
}

std::vector<Surface> surfacesOf(const Model& model) {
    std::vector<Surface> surfaces;
    surfaces.reserve(model.patches.size());
    auto nameOf = [&](const Model::Patch& patch) {
        return patch.group >= 0 && static_cast<size_t>(patch.group) < model.groups.size()
                   ? &model.groups[static_cast<size_t>(patch.group)]->name
                   : &kNoGroup;
    };
    for (const Model::Patch& patch : model.patches) {
        Surface s;
        for (size_t k = 0; k < 16; ++k)
            s.net[k] = model.points[static_cast<size_t>(patch.indices[k])];
        s.name = nameOf(patch);
        surfaces.push_back(s);
    }
    for (const Model::Patch& patch : model.patches) {
        if (!model.isSymmetry(patch.group)) continue;
        Surface s;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                vm::Float3 p = model.points[static_cast<size_t>(
                    patch.indices[static_cast<size_t>(4 * r + 3 - c)])];
                p.x = -p.x;
                s.net[static_cast<size_t>(4 * r + c)] = p;
            }
        s.name = nameOf(patch);
        surfaces.push_back(s);
    }
    return surfaces;
}

std::optional<Format> formatFor(const std::string& path, bool freeForm) {
    if (endsWith(path, ".igs") || endsWith(path, ".iges")) return Format::Iges;
    if (endsWith(path, ".stp") || endsWith(path, ".step")) return Format::Step;
    if (freeForm && endsWith(path, ".obj")) return Format::FreeFormObj;
    return std::nullopt;
}

bool writeIges(const Model& model, const std::string& name, std::FILE* file, std::string* refusal,
               size_t lastSequence) {
    const std::vector<Surface> surfaces = surfacesOf(model);
    // Each entity's parameter line count, found by laying its parameters out once here and
    // again when they are written: the whole parameter section is never held (hundreds of
    // megabytes at 100,000 patches). A section past the sequence numbers' 7 digits is refused
    // before anything is written.
    std::vector<int> lineCounts;
    lineCounts.reserve(surfaces.size());
    size_t parameterLines = 0;
    for (const Surface& surface : surfaces) {
        lineCounts.push_back(
            static_cast<int>(IgesLines::wrap(entity128(surface), ';', kParameterColumns).size()));
        parameterLines += static_cast<size_t>(lineCounts.back());
    }
    if (std::max(parameterLines, 2 * surfaces.size()) > lastSequence) {
        if (refusal)
            *refusal = "its " + std::to_string(surfaces.size()) + " surfaces take " +
                       std::to_string(parameterLines) +
                       " lines of IGES parameters, and IGES numbers at most " +
                       std::to_string(lastSequence) +
                       " lines a section: export them as STEP, or fewer at a time";
        return false;
    }
    float largest = 0;
    for (const vm::Float3& p : model.points)
        largest = std::max({largest, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    IgesLines out(file);
    int s = 0, g = 0, d = 0, p = 0;
    bool ok =
        out.line("Tavrel surfaces: bicubic Bezier patches as entity 128, one per patch", 'S', s) &&
        out.line("and mirror image; the group of each in its entity label.", 'S', s);
    // Global section: delimiters, names, 32-bit integers, float and double ranges, scale 1,
    // millimetres (unit flag 2), line weights, the date, the resolution, the largest
    // coordinate, author, organisation, IGES 5.3 (11), no drafting standard.
    const std::string date = timeText(true);
    const std::vector<std::string> global = {"1H,",
                                             "1H;",
                                             hollerith("Tavrel"),
                                             hollerith(fileStem(name)),
                                             hollerith("Tavrel"),
                                             hollerith("Tavrel"),
                                             "32",
                                             "38",
                                             "6",
                                             "308",
                                             "15",
                                             hollerith("Tavrel"),
                                             "1.",
                                             "2",
                                             "2HMM",
                                             "1",
                                             "0.01",
                                             hollerith(date),
                                             "1.E-06",
                                             realText(std::max(largest, 1.0f)),
                                             hollerith("Tavrel"),
                                             hollerith("Tavrel"),
                                             "11",
                                             "0",
                                             hollerith(date)};
    for (const std::string& line : IgesLines::wrapGlobal(global, ';', kDataColumns))
        ok = ok && out.line(line, 'G', g);
    // Directory: two lines an entity, pointing at its parameter lines.
    int nextParameter = 1;
    for (size_t i = 0; i < surfaces.size() && ok; ++i) {
        const int count = lineCounts[i];
        char first[128], second[128];
        std::snprintf(first, sizeof first, "%8d%8d%8d%8d%8d%8d%8d%8d%8s", 128, nextParameter, 0, 0,
                      0, 0, 0, 0, "00000000");
        std::snprintf(second, sizeof second, "%8d%8d%8d%8d%8d%8s%8s%8s%8zu", 128, 0, 0, count, 0,
                      "", "", labelOf(*surfaces[i].name).c_str(), i + 1);
        ok = out.line(first, 'D', d) && out.line(second, 'D', d);
        nextParameter += count;
    }
    for (size_t i = 0; i < surfaces.size() && ok; ++i) {
        const int directory = static_cast<int>(2 * i + 1);
        for (const std::string& line :
             IgesLines::wrap(entity128(surfaces[i]), ';', kParameterColumns)) {
            char text[80];
            std::snprintf(text, sizeof text, "%-64.64s %7d", line.c_str(), directory);
            ok = ok && out.line(text, 'P', p);
        }
    }
    char terminate[80];
    std::snprintf(terminate, sizeof terminate, "S%07dG%07dD%07dP%07d", s, g, d, p);
    int t = 0;
    return ok && out.line(terminate, 'T', t);
}

bool writeStep(const Model& model, const std::string& name, std::FILE* file) {
    const std::vector<Surface> surfaces = surfacesOf(model);
    std::string text;
    auto flush = [&] {
        const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        text.clear();
        return ok;
    };
    const auto quoted = [](const std::string& s) { return step::encodeString(s); };
    text += "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION(('Tavrel surfaces: bicubic Bezier patches "
            "as B-spline surfaces'),'2;1');\n";
    text += "FILE_NAME(" + quoted(fileStem(name)) + ",'" + timeText(false) +
            "',(''),(''),'Tavrel','Tavrel','');\n";
    text += "FILE_SCHEMA(('AUTOMOTIVE_DESIGN { 1 0 10303 214 1 1 1 1 }'));\nENDSEC;\nDATA;\n";
    // The product, its shape, and a geometric set of the surfaces in a context of
    // millimetres with a distance uncertainty of 1E-06.
    text += "#1=APPLICATION_PROTOCOL_DEFINITION('international standard','automotive_design',"
            "2000,#2);\n#2=APPLICATION_CONTEXT('core data for automotive mechanical design "
            "processes');\n#3=SHAPE_DEFINITION_REPRESENTATION(#4,#10);\n"
            "#4=PRODUCT_DEFINITION_SHAPE('','',#5);\n#5=PRODUCT_DEFINITION('design','',#6,#9);\n"
            "#6=PRODUCT_DEFINITION_FORMATION('','',#7);\n";
    text += "#7=PRODUCT(" + quoted(fileStem(name)) + "," + quoted(fileStem(name)) + ",'',(#8));\n";
    text += "#8=PRODUCT_CONTEXT('',#2,'mechanical');\n#9=PRODUCT_DEFINITION_CONTEXT('part "
            "definition',#2,'design');\n"
            "#10=GEOMETRICALLY_BOUNDED_SURFACE_SHAPE_REPRESENTATION('',(#11),#20);\n";
    const size_t first = 100;
    text += "#11=GEOMETRIC_SET('',(";
    for (size_t i = 0; i < surfaces.size(); ++i) {
        text += (i ? ",#" : "#") + std::to_string(first + 17 * i);
        if (text.size() > 1 << 16 && !flush()) return false;
    }
    text += "));\n";
    text += "#20=(GEOMETRIC_REPRESENTATION_CONTEXT(3)GLOBAL_UNCERTAINTY_ASSIGNED_CONTEXT((#21))"
            "GLOBAL_UNIT_ASSIGNED_CONTEXT((#22,#23,#24))REPRESENTATION_CONTEXT('Context #1',"
            "'3D Context with UNIT and UNCERTAINTY'));\n"
            "#21=UNCERTAINTY_MEASURE_WITH_UNIT(LENGTH_MEASURE(1.E-06),#22,"
            "'distance_accuracy_value','confusion accuracy');\n"
            "#22=(LENGTH_UNIT()NAMED_UNIT(*)SI_UNIT(.MILLI.,.METRE.));\n"
            "#23=(NAMED_UNIT(*)PLANE_ANGLE_UNIT()SI_UNIT($,.RADIAN.));\n"
            "#24=(NAMED_UNIT(*)SI_UNIT($,.STERADIAN.)SOLID_ANGLE_UNIT());\n";
    // Each surface: its 16 points, then the surface; STEP lists the points by u (the outer
    // list) and then by v.
    for (size_t i = 0; i < surfaces.size(); ++i) {
        const size_t base = first + 17 * i;
        for (int k = 0; k < 16; ++k) {
            const vm::Float3& q = surfaces[i].net[static_cast<size_t>(k)];
            text += "#" + std::to_string(base + 1 + static_cast<size_t>(k)) +
                    "=CARTESIAN_POINT('',(" + realText(q.x) + "," + realText(q.y) + "," +
                    realText(q.z) + "));\n";
        }
        text += "#" + std::to_string(base) + "=B_SPLINE_SURFACE_WITH_KNOTS(" +
                quoted(*surfaces[i].name) + ",3,3,(";
        for (int c = 0; c < 4; ++c) {
            text += c ? ",(" : "(";
            for (int r = 0; r < 4; ++r)
                text +=
                    (r ? ",#" : "#") + std::to_string(base + 1 + static_cast<size_t>(4 * r + c));
            text += ")";
        }
        text += "),.UNSPECIFIED.,.F.,.F.,.F.,(4,4),(4,4),(0.,1.),(0.,1.),"
                ".PIECEWISE_BEZIER_KNOTS.);\n";
        if (text.size() > 1 << 16 && !flush()) return false;
    }
    text += "ENDSEC;\nEND-ISO-10303-21;\n";
    return flush();
}

bool writeFreeFormObj(const Model& model, std::FILE* file) {
    const std::vector<Surface> surfaces = surfacesOf(model);
    std::string text = "# Tavrel surfaces: bicubic Bezier patches, free-form OBJ\n";
    auto flush = [&] {
        const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        text.clear();
        return ok;
    };
    // Each surface's own 16 points (mirror images have points of their own; the pool's
    // sharing is the editor's business, a reader merges equal points).
    for (const Surface& s : surfaces) {
        for (const vm::Float3& p : s.net)
            text += "v " + plainText(p.x) + " " + plainText(p.y) + " " + plainText(p.z) + "\n";
        if (text.size() > 1 << 16 && !flush()) return false;
    }
    text += "cstype bezier\ndeg 3 3\n";
    // Patches in no group get no group: a bare "g" ends the one before them.
    const std::string* group = &kNoGroup;
    for (size_t i = 0; i < surfaces.size(); ++i) {
        if (surfaces[i].name != group) {
            group = surfaces[i].name;
            text += group == &kNoGroup ? "g\n" : "g " + *group + "\n";
        }
        text += "surf 0 1 0 1";
        for (size_t k = 0; k < 16; ++k)
            text += " " + std::to_string(16 * i + k + 1);
        text += "\nparm u 0 1\nparm v 0 1\nend\n";
        if (text.size() > 1 << 16 && !flush()) return false;
    }
    return flush();
}

bool exportSurfaces(const Model& model, Format format, const std::string& path, std::string& reason,
                    size_t* surfaces) {
    if (model.patches.empty()) {
        reason = "the model has no surface to export";
        return false;
    }
    if (!model.indicesValid()) {
        reason = "a patch names a point outside the pool";
        return false;
    }
    std::string refusal; // the writer's own reason, when it refused the model
    const bool ok = replaceFileWith(
        path,
        [&](std::FILE* file) {
            switch (format) {
            case Format::Iges:
                return writeIges(model, path, file, &refusal);
            case Format::Step:
                return writeStep(model, path, file);
            case Format::FreeFormObj:
                break;
            }
            return writeFreeFormObj(model, file);
        },
        &reason);
    if (!refusal.empty()) reason = refusal;
    if (ok && surfaces) {
        // A surface a patch, and one more a symmetry's patch.
        *surfaces = model.patches.size();
        for (const Model::Patch& patch : model.patches)
            *surfaces += model.isSymmetry(patch.group);
    }
    return ok;
}

} // namespace cad
