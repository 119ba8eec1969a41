#include "model/patch-import.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <tuple>
#include <vector>

namespace {

// Merges equal points: the first of equal coordinates keeps its index.
class PointPool {
  public:
    explicit PointPool(Model& model) : model_(model) {}
    int32_t add(vm::Float3 p) {
        const auto key = std::make_tuple(p.x, p.y, p.z);
        const auto [it, fresh] =
            index_.try_emplace(key, static_cast<int32_t>(model_.points.size()));
        if (fresh) model_.points.push_back(p);
        return it->second;
    }

  private:
    Model& model_;
    std::map<std::tuple<float, float, float>, int32_t> index_;
};

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

bool number(const std::string& text, float& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtof(text.c_str(), &end);
    return end == text.c_str() + text.size() && errno != ERANGE && std::isfinite(value);
}

bool integer(const std::string& text, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return end == text.c_str() + text.size() && errno != ERANGE;
}

ImportResult refuse(size_t line, const std::string& statement, const std::string& why) {
    ImportResult r;
    r.reason = "line " + std::to_string(line) + ": '" + statement + "': " + why;
    return r;
}

// Lines with their numbers; a line ending in a backslash continues on the next.
std::vector<std::pair<size_t, std::string>> logicalLines(std::string_view text) {
    std::vector<std::pair<size_t, std::string>> lines;
    std::string current;
    size_t number = 0, first = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (current.empty()) first = number;
        if (!line.empty() && line.back() == '\\') {
            line.pop_back();
            current += line + " ";
        } else {
            lines.emplace_back(first, current + line);
            current.clear();
        }
        if (end == text.size()) break;
        start = end + 1;
    }
    if (!current.empty()) lines.emplace_back(first, current);
    return lines;
}

ImportResult importObj(std::string_view text, Model& model) {
    ImportResult result;
    result.format = "Wavefront free-form OBJ";
    PointPool pool(model);
    std::vector<vm::Float3> vertices; // as the file numbers them (1-based)
    std::vector<int32_t> pooled;      // each file vertex's merged index
    bool bezier = false;
    int degreeU = -1, degreeV = -1;
    int32_t group = -1;
    std::map<std::string, int32_t> groupIndex;
    for (const auto& [lineNumber, line] : logicalLines(text)) {
        const std::vector<std::string> w = words(line);
        if (w.empty() || w[0][0] == '#') continue;
        const std::string& keyword = w[0];
        std::string statement = line;
        while (!statement.empty() && (statement.back() == ' ' || statement.back() == '\t'))
            statement.pop_back();
        if (keyword == "v") {
            vm::Float3 p;
            if (w.size() < 4 || !number(w[1], p.x) || !number(w[2], p.y) || !number(w[3], p.z))
                return refuse(lineNumber, statement, "a vertex needs three finite numbers");
            if (w.size() >= 5) {
                float weight = 1;
                if (!number(w[4], weight) || weight != 1)
                    return refuse(lineNumber, statement, "rational (weighted) points are not kept");
            }
            vertices.push_back(p);
            pooled.push_back(pool.add(p));
        } else if (keyword == "cstype") {
            if (w.size() == 2 && w[1] == "bezier")
                bezier = true;
            else
                return refuse(lineNumber, statement,
                              "only polynomial Bezier surfaces can be represented");
        } else if (keyword == "deg") {
            long u = 0, v = 0;
            if (w.size() != 3 || !integer(w[1], u) || !integer(w[2], v))
                return refuse(lineNumber, statement, "a surface's degree is two whole numbers");
            if (u != 3 || v != 3)
                return refuse(lineNumber, statement,
                              "only bicubic surfaces (deg 3 3) can be represented");
            degreeU = degreeV = 3;
        } else if (keyword == "surf") {
            if (!bezier) return refuse(lineNumber, statement, "a surface before 'cstype bezier'");
            if (degreeU != 3 || degreeV != 3)
                return refuse(lineNumber, statement, "a surface before 'deg 3 3'");
            if (w.size() != 5 + 16)
                return refuse(lineNumber, statement,
                              "a bicubic surface of one span names 16 control points");
            float range[4];
            for (int k = 0; k < 4; ++k)
                if (!number(w[static_cast<size_t>(1 + k)], range[k]))
                    return refuse(lineNumber, statement, "its parameter range is not numbers");
            Model::Patch patch;
            patch.group = group;
            for (size_t k = 0; k < 16; ++k) {
                std::string ref = w[5 + k];
                ref = ref.substr(0, ref.find('/')); // v/vt/vn: the point
                long index = 0;
                if (!integer(ref, index) || index == 0)
                    return refuse(lineNumber, statement,
                                  "'" + w[5 + k] + "' is not a point number");
                const long count = static_cast<long>(vertices.size());
                const long resolved = index > 0 ? index - 1 : count + index;
                if (resolved < 0 || resolved >= count)
                    return refuse(lineNumber, statement,
                                  "point " + std::to_string(index) + " is not defined before it");
                patch.indices[k] = pooled[static_cast<size_t>(resolved)];
            }
            model.patches.push_back(patch);
        } else if (keyword == "g" || keyword == "o") {
            if (w.size() < 2 || w[1] == "default") {
                group = -1;
                continue;
            }
            const auto [it, fresh] =
                groupIndex.try_emplace(w[1], static_cast<int32_t>(model.groups.size()));
            if (fresh) model.groups.push_back(std::make_unique<Model::Group>(w[1]));
            group = it->second;
        } else if (keyword == "end") {
            continue;
        } else if (keyword == "bmat" || keyword == "step" || keyword == "curv" ||
                   keyword == "curv2" || keyword == "trim" || keyword == "hole" ||
                   keyword == "scrv" || keyword == "sp") {
            return refuse(lineNumber, statement, "this statement cannot be represented");
        } else {
            ++result.skipped; // vt, vn, vp, parm, usemtl, mtllib, s, …
        }
    }
    if (model.patches.empty()) {
        ImportResult none = refuse(0, "", "no bicubic Bezier surface in the file");
        none.reason = "no bicubic Bezier surface (cstype bezier, deg 3 3, surf) in the file";
        return none;
    }
    // Groups without patches are left out.
    result.ok = true;
    return result;
}

ImportResult importPatchText(std::string_view text, Model& model) {
    ImportResult result;
    result.format = "Bezier patch text";
    PointPool pool(model);
    const auto lines = logicalLines(text);
    size_t at = 0;
    auto next = [&](std::vector<std::string>& w, size_t& lineNumber) {
        while (at < lines.size()) {
            w = words(lines[at].second);
            lineNumber = lines[at].first;
            ++at;
            if (!w.empty()) return true;
        }
        return false;
    };
    std::vector<std::string> w;
    size_t lineNumber = 0;
    long count = 0;
    if (!next(w, lineNumber) || w.size() != 1 || !integer(w[0], count) || count <= 0)
        return refuse(lineNumber, w.empty() ? "" : w[0], "a patch count comes first");
    for (long p = 0; p < count; ++p) {
        long du = 0, dv = 0;
        if (!next(w, lineNumber))
            return refuse(lineNumber, "", "the file ends before patch " + std::to_string(p + 1));
        const std::string degrees = w.size() > 0 ? w[0] + (w.size() > 1 ? " " + w[1] : "") : "";
        if (w.size() != 2 || !integer(w[0], du) || !integer(w[1], dv))
            return refuse(lineNumber, degrees, "each patch starts with its degrees, '3 3'");
        if (du != 3 || dv != 3)
            return refuse(lineNumber, degrees, "only bicubic patches can be represented");
        Model::Patch patch;
        for (size_t k = 0; k < 16; ++k) {
            vm::Float3 q;
            if (!next(w, lineNumber))
                return refuse(lineNumber, "",
                              "the file ends inside patch " + std::to_string(p + 1));
            if (w.size() != 3 || !number(w[0], q.x) || !number(w[1], q.y) || !number(w[2], q.z))
                return refuse(lineNumber, lines[at - 1].second,
                              "a control point is three finite numbers");
            patch.indices[k] = pool.add(q);
        }
        model.patches.push_back(patch);
    }
    result.ok = true;
    return result;
}

} // namespace

ImportResult importPatches(std::string_view text, Model& model) {
    model.clear();
    model.locators.clear();
    // A first statement that is one whole number is a patch count.
    std::istringstream in{std::string(text.substr(0, std::min<size_t>(text.size(), 256)))};
    std::string first, line;
    while (std::getline(in, line)) {
        const std::vector<std::string> w = words(line);
        if (w.empty()) continue;
        long n = 0;
        if (w.size() == 1 && integer(w[0], n)) first = "count";
        break;
    }
    ImportResult r = first == "count" ? importPatchText(text, model) : importObj(text, model);
    if (!r.ok) {
        model.clear();
        model.locators.clear();
    }
    return r;
}
