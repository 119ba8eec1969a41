#include "model/step-reader.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/parallel-ranges.h"
#include "model/batch-conversion.h"
#include "model/bspline-patches.h"
#include "model/cad-assembly.h"
#include "model/decimal-number.h"
#include "model/knot-tolerance.h"
#include "model/step-marks.h"
#include "model/step-survey.h"
#include "model/step-text.h"

namespace {

using step::Instances;
using step::keywordAmong;
using step::Record;

constexpr int kMaxMultiplicity = 4;
// Surfaces a batch holds, as a share of batches::items(): a surface's patches take the room of
// the instances a patch is written as (its surface and 16 points).
constexpr size_t kInstancesASurface = 17;
constexpr double kWeightTolerance = 1e-12; // relative: weights this close are equal

ImportResult refuse(const std::string& why) {
    ImportResult r;
    r.reason = why;
    return r;
}

std::string label(long number) {
    return "#" + std::to_string(number);
}

// Why the file holds surfaces of other kinds, naming the first and counting them, or "".
std::string otherSurfaces(const Instances& instances, const step::Survey& survey) {
    std::map<std::string, size_t> counts;
    std::string first;
    for (const auto& [place, kind] : survey.otherSurfaces) {
        if (first.empty()) first = label(instances.begin()[place].number()) + " is a " + kind;
        ++counts[kind];
    }
    if (first.empty()) return "";
    return otherSurfacesReason(first, "bicubic B-spline surfaces", {counts.begin(), counts.end()});
}

// A number as strtol reads it from the front of a reference's digits (0 when there is none).
long leadingNumber(std::string_view text) {
    if (constexpr size_t kWord = 8; text.size() >= kWord) { // up to 7 digits, 8 bytes at once
        const size_t digits = decimal::leadingDigits(text.data());
        if (digits > 0 && digits < kWord)
            return static_cast<long>(decimal::digitValue(text.data(), digits));
    }
    long value = 0;
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc()) return value;
    }
    const size_t length = std::min(text.size(), text.find_first_not_of("+-0123456789"));
    return std::strtol(std::string(text.substr(0, length)).c_str(), nullptr, 10);
}

// Whether text starts with head: a few letters compared without a library call.
bool startsWith(std::string_view text, std::string_view head) {
    if (text.size() < head.size()) return false;
    for (size_t i = 0; i < head.size(); ++i)
        if (text[i] != head[i]) return false;
    return true;
}

// The three coordinates of the form exporters write, "CARTESIAN_POINT('name',(x,y,z))" with no
// quote in the name, read in place from the start of text: where that form ends, or npos when
// text does not start with it.
size_t plainCoordinates(std::string_view text, std::array<double, 3>& p) {
    constexpr std::string_view kHead = "CARTESIAN_POINT('";
    if (text.size() <= kHead.size() || std::memcmp(text.data(), kHead.data(), kHead.size()) != 0)
        return std::string_view::npos;
    // The name's end: at once when it is empty, as exporters mostly write it.
    const size_t at = text[kHead.size()] == '\'' ? kHead.size() : text.find('\'', kHead.size());
    if (at == std::string_view::npos || !startsWith(text.substr(at + 1), ",("))
        return std::string_view::npos;
    const char* const last = text.data() + text.size();
    for (size_t k = 0, from = at + 3; k < 3; ++k) {
        // Read with the rest of the text in view, as the quick reading of a decimal wants room
        // past it; any number not followed by its delimiter is read as before, on its own.
        const char delimiter = k < 2 ? ',' : ')';
        const char* read = decimal::parse(text.data() + from, last, p[k]);
        size_t end = read ? static_cast<size_t>(read - text.data()) : from;
        if (!read || read == last || *read != delimiter || !std::isfinite(p[k])) {
            end = from; // a number's few characters: looked through without a library call
            while (end < text.size() && text[end] != ',' && text[end] != ')')
                ++end;
            if (end == text.size() || text[end] != delimiter ||
                !step::number(text.substr(from, end - from), p[k]))
                break;
        }
        if (k == 2 && end + 1 < text.size() && text[end + 1] == ')') return end + 2;
        from = end + 1;
    }
    return std::string_view::npos;
}

// A CARTESIAN_POINT's three coordinates: the plain form in place, any other by its records.
bool pointOf(std::string_view text, std::array<double, 3>& p) {
    if (plainCoordinates(text, p) == text.size()) return true;
    const std::vector<Record> records = step::records(text);
    const Record* point = step::findRecord(records, "CARTESIAN_POINT");
    const std::vector<std::string_view> xyz = point && point->parameters.size() == 2
                                                  ? step::listItems(point->parameters[1])
                                                  : std::vector<std::string_view>{};
    return xyz.size() == 3 && step::number(xyz[0], p[0]) && step::number(xyz[1], p[1]) &&
           step::number(xyz[2], p[2]);
}

// A record seen in the instance's text, or in a Record's strings.
struct RecordView {
    std::string_view keyword;
    std::vector<std::string_view> parameters;
};

const RecordView* recordIn(const std::vector<RecordView>& records, std::string_view keyword) {
    for (const RecordView& r : records)
        if (r.keyword == keyword) return &r;
    return nullptr;
}

// The records of an instance: a simple one's seen in its text (a surface's points are not
// copied), any other's parsed into parsed and seen there.
std::vector<RecordView> recordsOf(std::string_view text, std::vector<Record>& parsed) {
    if (!text.empty() && text[0] != '(') {
        const size_t open = text.find('(');
        if (open != std::string_view::npos)
            if (std::vector<std::string_view> items = step::listItems(text.substr(open));
                !items.empty())
                return {{text.substr(0, open), std::move(items)}};
    }
    parsed = step::records(text);
    std::vector<RecordView> views;
    for (const Record& r : parsed)
        views.push_back({r.keyword, {r.parameters.begin(), r.parameters.end()}});
    return views;
}

// The references of a list of lists of references in the plain form exporters write,
// "((#1,#2),(#3,#4))" (each list as long, every number of fewer digits than a long holds), seen
// in it; false when the list is of any other form.
bool plainGrid(std::string_view list, std::vector<std::string_view>& refs,
               std::vector<long>& numbers, size_t& columns) {
    constexpr size_t kPlainDigits = 18; // any 18 digits fit a long
    const char* p = list.data();
    const char* const end = p + list.size();
    if (p == end || *p++ != '(') return false;
    size_t rowLength = 0;
    for (;;) {
        if (p == end || *p++ != '(') return false;
        size_t length = 0;
        for (;;) {
            const char* const ref = p;
            if (p == end || *p++ != '#') return false;
            unsigned long number = 0; // wraps past 18 digits, which are refused
            while (p < end && decimal::isDigit(*p))
                number = number * 10 + static_cast<unsigned long>(*p++ - '0');
            const size_t digits = static_cast<size_t>(p - ref - 1);
            if (digits == 0 || digits > kPlainDigits) return false;
            refs.emplace_back(ref, static_cast<size_t>(p - ref));
            numbers.push_back(static_cast<long>(number));
            ++length;
            if (p == end) return false;
            const char c = *p++;
            if (c == ')') break;
            if (c != ',') return false;
        }
        if (columns++ == 0) rowLength = length;
        if (length != rowLength || p == end) return false;
        const char c = *p++;
        if (c == ')') return p == end;
        if (c != ',') return false;
    }
}

// The B-spline surface of an instance (self, numbered number); why says what is wrong with it.
BSplineSurface bsplineOf(const std::vector<RecordView>& records, const Instances& instances,
                         const Instances::Instance* self, long number, std::string& name,
                         std::string& why) {
    BSplineSurface s;
    const RecordView* withKnots = recordIn(records, "B_SPLINE_SURFACE_WITH_KNOTS");
    // Simple: name, degrees, points, form, closed, closed, self-intersecting, then the knots;
    // complex: the name in REPRESENTATION_ITEM, the surface's part and the knots' part apart.
    std::vector<std::string_view> surface, knots;
    if (records.size() == 1) {
        const std::vector<std::string_view>& all = withKnots->parameters;
        if (all.size() < 13) {
            why = " is cut short";
            return s;
        }
        step::decodeString(all[0], name);
        surface.assign(all.begin() + 1, all.begin() + 8);
        knots.assign(all.begin() + 8, all.end());
    } else {
        const RecordView* base = recordIn(records, "B_SPLINE_SURFACE");
        if (!base) {
            why = " is a B-spline surface without its points";
            return s;
        }
        surface.assign(base->parameters.begin(), base->parameters.end());
        knots.assign(withKnots->parameters.begin(), withKnots->parameters.end());
        if (const RecordView* item = recordIn(records, "REPRESENTATION_ITEM");
            item && !item->parameters.empty())
            step::decodeString(item->parameters[0], name);
    }
    if (surface.size() < 3 || knots.size() < 4) {
        why = " is cut short";
        return s;
    }
    double degreeU = 0, degreeV = 0; // integers, which may carry a sign
    if (!step::number(surface[0], degreeU) || !step::number(surface[1], degreeV) || degreeU != 3 ||
        degreeV != 3) {
        why = " is of degree " + std::string(surface[0]) + " × " + std::string(surface[1]) +
              ": only bicubic surfaces (3 × 3) are read";
        return s;
    }
    if (const RecordView* rational = recordIn(records, "RATIONAL_B_SPLINE_SURFACE")) {
        std::vector<double> weights;
        const std::string_view all =
            rational->parameters.empty() ? std::string_view() : rational->parameters[0];
        for (const std::string_view row : step::listItems(all))
            for (const std::string_view w : step::listItems(row)) {
                double v = 0;
                if (!step::number(w, v) || v <= 0) {
                    why = ": a weight is not a positive number";
                    return s;
                }
                weights.push_back(v);
            }
        if (weights.empty()) {
            why = ": its weights are missing";
            return s;
        }
        for (double w : weights)
            if (std::fabs(w - weights.front()) > kWeightTolerance * weights.front()) {
                why = " is rational (its weights differ): only polynomial surfaces are read";
                return s;
            }
    }
    // The point read last: the next is near it, the first near the surface (exporters number
    // a surface's points next to it).
    const Instances::Instance* previous = self;
    long previousNumber = number;
    // known: the number ref names, when it was read already.
    auto addPoint = [&](std::string_view ref, const long* known) {
        long named = known ? *known : 0;
        std::array<double, 3> q{};
        bool read = false;
        const bool isReference = known || step::reference(ref, named);
        const std::string_view onwards =
            isReference ? instances.plainPoint(named) : std::string_view();
        if (!onwards.empty()) {
            const size_t end = plainCoordinates(onwards, q); // a plain point's text ends at ';'
            read = (end < onwards.size() && onwards[end] == ';') ||
                   pointOf(instances.find(named)->text(), q);
        } else if (const Instances::Instance* point =
                       isReference ? instances.listed(named, previous, previousNumber) : nullptr) {
            previous = point, previousNumber = named;
            read = pointOf(point->text(), q);
        }
        if (!read) {
            why = ": " + std::string(ref) + " is not a point of three numbers";
            return false;
        }
        s.points.push_back(q);
        return true;
    };
    // The plain form exporters write is read in one pass, any other by its lists.
    // Sized once for a patch's 16 points: grown from nothing they took five allocations each.
    constexpr size_t kPatchPoints = 16;
    std::vector<std::string_view> refs;
    std::vector<long> numbers;
    refs.reserve(kPatchPoints);
    numbers.reserve(kPatchPoints);
    size_t columns = 0;
    if (plainGrid(surface[2], refs, numbers, columns)) {
        s.countU = static_cast<int>(columns);
        s.countV = static_cast<int>(refs.size() / columns);
        s.points.reserve(refs.size());
        // The points' texts asked for together: each read waits on memory otherwise.
        for (const long n : numbers)
            __builtin_prefetch(instances.plainPoint(n).data());
        for (size_t k = 0; k < refs.size(); ++k)
            if (!addPoint(refs[k], &numbers[k])) return s;
    } else {
        const std::vector<std::string_view> lists = step::listItems(surface[2]);
        s.countU = static_cast<int>(lists.size());
        for (const std::string_view column : lists) {
            const std::vector<std::string_view> row = step::listItems(column);
            if (s.countV == 0) s.countV = static_cast<int>(row.size());
            if (static_cast<int>(row.size()) != s.countV) {
                why = ": its rows of points differ in length";
                return s;
            }
            for (const std::string_view ref : row)
                if (!addPoint(ref, nullptr)) return s;
        }
    }
    for (size_t dir = 0; dir < 2; ++dir) {
        const std::vector<std::string_view> multiplicities = step::listItems(knots[dir]);
        const std::vector<std::string_view> values = step::listItems(knots[2 + dir]);
        if (multiplicities.size() != values.size()) {
            why = ": its knots and their multiplicities differ in number";
            return s;
        }
        std::vector<double>& full = dir == 0 ? s.knotsU : s.knotsV;
        for (size_t k = 0; k < values.size(); ++k) {
            double v = 0, m = 0;
            if (!step::number(values[k], v) || !step::number(multiplicities[k], m) || m < 1 ||
                m > kMaxMultiplicity || m != std::floor(m)) {
                why = ": a knot is not a number or repeats too often";
                return s;
            }
            full.insert(full.end(), static_cast<size_t>(m), v);
        }
    }
    if (s.knotsU.size() < 8 || s.knotsV.size() < 8) {
        why = " has too few knots for a bicubic surface";
        return s;
    }
    s.u0 = s.knotsU[3];
    s.u1 = s.knotsU[s.knotsU.size() - 4];
    s.v0 = s.knotsV[3];
    s.v1 = s.knotsV[s.knotsV.size() - 4];
    return s;
}

// Surfaces named by what cuts or bounds them (RECTANGULAR_TRIMMED_SURFACE, faces and their
// parameter curves), and by anything else (a geometric set, a bounded surface).
// Kept as a mark a surface (a hundred thousand surfaces' numbers in trees took 10 MB).
struct Uses {
    enum Mark : uint8_t { kBounded = 1, kNamedOtherwise = 2 };
    std::vector<long> surfaces; // the B-spline surfaces with knots, ascending
    std::vector<uint8_t> marks; // each one's
    // A set or shell naming an instance the file does not hold (0, 0: none): the lowest set.
    long danglingSet = 0, dangling = 0;
    static constexpr size_t kNone = ~size_t{0};
    // Its place in surfaces, or kNone; guess is tried first.
    size_t place(long number, size_t guess = kNone) const {
        if (guess < surfaces.size() && surfaces[guess] == number) return guess;
        const auto at = std::lower_bound(surfaces.begin(), surfaces.end(), number);
        return at != surfaces.end() && *at == number ? static_cast<size_t>(at - surfaces.begin())
                                                     : kNone;
    }
    // Whether the surface at that place (kNone: none of the uses') is imported whole for
    // itself: it is not only cut or bounded.
    bool wholeForItselfAt(size_t at) const {
        return at == kNone || !(marks[at] & kBounded) || (marks[at] & kNamedOtherwise);
    }
};

// Only B-spline surfaces' uses are asked for, and only of instances that refer to another:
// points (most of a file's) are passed over.
// Whether text starts with one of heads (most instances start with another letter).
template <size_t N> bool startsWithAny(std::string_view text, const std::string_view (&heads)[N]) {
    for (const std::string_view head : heads)
        if (!text.empty() && text[0] == head[0] && text.substr(0, head.size()) == head) return true;
    return false;
}

Uses usesOf(const Instances& instances, const step::Survey& survey) {
    static const std::string_view kBounding[] = {"RECTANGULAR_TRIMMED_SURFACE(", "ADVANCED_FACE(",
                                                 "FACE_SURFACE(", "PCURVE("};
    static const std::string_view kSets[] = {"GEOMETRIC_SET(", "GEOMETRIC_CURVE_SET(",
                                             "SHELL_BASED_SURFACE_MODEL(", "OPEN_SHELL(",
                                             "CLOSED_SHELL("};
    constexpr size_t kRanges = 16, kThreads = 2; // ranges the cores take in turn
    const Instances::Instance* all = instances.begin();
    Uses uses;
    uses.surfaces = survey.withKnots; // ascending, as the instances are
    uses.marks.assign(uses.surfaces.size(), 0);
    const std::vector<long>& surfaces = uses.surfaces;
    // Whether a number is a surface's: a bit a number over their range when it is not much
    // wider than their count (a look-up for each reference to a surface's points), else searched.
    constexpr long kWidestSpread = 64; // numbers a surface
    long spread = 0;
    const bool dense = !surfaces.empty() &&
                       !__builtin_sub_overflow(surfaces.back(), surfaces.front(), &spread) &&
                       spread / kWidestSpread < static_cast<long>(surfaces.size());
    std::vector<bool> marked(dense ? static_cast<size_t>(spread) + 1 : 0);
    if (dense)
        for (const long number : surfaces)
            marked[static_cast<size_t>(number - surfaces.front())] = true;
    auto isSurface = [&](long number) {
        if (!dense) return std::binary_search(surfaces.begin(), surfaces.end(), number);
        return number >= surfaces.front() && number <= surfaces.back() &&
               marked[static_cast<size_t>(number - surfaces.front())];
    };
    std::mutex danglingLock;
    auto noteDangling = [&](const Instances::Instance& set, long named) {
        const std::lock_guard<std::mutex> hold(danglingLock);
        const long number = set.number();
        if (uses.danglingSet == 0 || number < uses.danglingSet) {
            uses.danglingSet = number;
            uses.dangling = named;
        }
    };
    // Each surface named is marked where it is found, on either core: the marks only gain bits.
    auto look = [&](const Instances::Instance& instance) {
        const std::string_view text = instance.text();
        const uint8_t mark =
            startsWithAny(text, kBounding) ? Uses::kBounded : Uses::kNamedOtherwise;
        // A set of the model's surfaces must hold every member it names: a surface missing
        // from it is a file cut or damaged, not a surface to leave out unsaid.
        const bool set = startsWithAny(text, kSets);
        bool quoted = false;
        const char* const end = text.data() + text.size();
        size_t next = 0; // the place after the surface named last: a set names them in order
        for (const char* p = text.data(); (p = step::nextEither(p, end, '\'', '#')) != end;) {
            if (*p++ == '\'') quoted = !quoted;
            if (quoted || p[-1] != '#') continue;
            const long named = leadingNumber({p, static_cast<size_t>(end - p)});
            if (set && !isSurface(named) && !instances.find(named)) noteDangling(instance, named);
            if (!isSurface(named)) continue;
            const size_t at =
                next < surfaces.size() && surfaces[next] == named ? next : uses.place(named);
            std::atomic_ref<uint8_t>(uses.marks[at]).fetch_or(mark, std::memory_order_relaxed);
            next = at + 1;
        }
    };
    const std::vector<size_t>& referring = survey.referring;
    const size_t count = referring.size();
    inParallelRanges(
        kRanges,
        [&](size_t from, size_t to) {
            for (size_t r = from; r < to; ++r)
                for (size_t i = count * r / kRanges; i < count * (r + 1) / kRanges; ++i) {
                    if (i + Instances::Instance::kAhead < count)
                        all[referring[i + Instances::Instance::kAhead]].prefetch();
                    look(all[referring[i]]);
                }
        },
        kThreads);
    return uses;
}

// The one record of a simple instance of the kind given, named by ref.
std::optional<Record> recordOf(const Instances& instances, std::string_view ref,
                               std::string_view keyword) {
    long number = 0;
    if (!step::reference(ref, number)) return std::nullopt;
    const std::optional<Instances::Instance> found = instances.find(number);
    if (!found) return std::nullopt;
    std::vector<Record> records = step::records(found->text());
    if (records.size() != 1 || records[0].keyword != keyword) return std::nullopt;
    return std::move(records[0]);
}

// Two numbers of a CARTESIAN_POINT or DIRECTION in a parameter space.
std::optional<std::array<double, 2>> pair(const Instances& instances, std::string_view ref,
                                          std::string_view keyword) {
    const auto r = recordOf(instances, ref, keyword);
    const std::vector<std::string_view> xy = r && r->parameters.size() == 2
                                                 ? step::listItems(r->parameters[1])
                                                 : std::vector<std::string_view>{};
    std::array<double, 2> out{};
    if (xy.size() != 2 || !step::number(xy[0], out[0]) || !step::number(xy[1], out[1]))
        return std::nullopt;
    return out;
}

// A frame's origin, axis and reference direction (the defaults where '$'); none when the
// instance is not an AXIS2_PLACEMENT_3D of numbers.
std::optional<std::array<double, 9>> frameOf(const Instances& instances, std::string_view ref) {
    const auto placement = recordOf(instances, ref, "AXIS2_PLACEMENT_3D");
    if (!placement || placement->parameters.size() != 4) return std::nullopt;
    std::array<double, 9> frame = {0, 0, 0, 0, 0, 1, 1, 0, 0};
    static const char* const kKinds[] = {"CARTESIAN_POINT", "DIRECTION", "DIRECTION"};
    for (size_t k = 0; k < 3; ++k) {
        if (k > 0 && placement->parameters[k + 1] == "$") continue;
        const auto r = recordOf(instances, placement->parameters[k + 1], kKinds[k]);
        const std::vector<std::string_view> xyz = r && r->parameters.size() == 2
                                                      ? step::listItems(r->parameters[1])
                                                      : std::vector<std::string_view>{};
        for (size_t i = 0; i < 3; ++i)
            if (xyz.size() != 3 || !step::number(xyz[i], frame[3 * k + i])) return std::nullopt;
    }
    return frame;
}

// Why the file places part of its shapes elsewhere (an assembly's component moved from where
// it was made, a mapped item), which the import does not read, or "".
std::string placedElsewhere(const Instances& instances, const step::Survey& survey) {
    using step::kPlacing;
    for (const size_t place : survey.placing) {
        const Instances::Instance& instance = instances.begin()[place];
        const char* kind = keywordAmong(instance.text(), kPlacing);
        const std::vector<Record> records = step::records(instance.text());
        const Record* r = step::findRecord(records, kind);
        std::optional<Record> map; // a mapped item's source: origin, representation
        if (r && r->parameters.size() == 3)
            map = recordOf(instances, r->parameters[1], "REPRESENTATION_MAP");
        const std::string from =
            kind == kPlacing[0].data()
                ? (r && r->parameters.size() == 4 ? r->parameters[2] : std::string())
                : (map && !map->parameters.empty() ? map->parameters[0] : std::string());
        const std::string to = r && !r->parameters.empty() ? r->parameters.back() : "";
        const auto a = frameOf(instances, from), b = frameOf(instances, to);
        if (!a || !b || *a != *b)
            return label(instance.number()) + " is an " + kind +
                   " that moves part of the model: placed shapes are not read";
    }
    return "";
}

// The constant u (along = false) or v of an edge's parameter curve on the surface, when it is a
// line of constant u or v there.
std::optional<std::pair<bool, double>> isoLine(const Instances& instances, const Record& curve,
                                               long surface) {
    if (curve.parameters.size() < 3) return std::nullopt;
    for (const std::string_view ref : step::listItems(curve.parameters[2])) {
        const auto pcurve = recordOf(instances, ref, "PCURVE");
        long on = 0;
        if (!pcurve || pcurve->parameters.size() < 3 ||
            !step::reference(pcurve->parameters[1], on) || on != surface)
            continue;
        const auto representation =
            recordOf(instances, pcurve->parameters[2], "DEFINITIONAL_REPRESENTATION");
        const std::vector<std::string_view> items =
            representation && representation->parameters.size() >= 2
                ? step::listItems(representation->parameters[1])
                : std::vector<std::string_view>{};
        const auto line = items.size() == 1 ? recordOf(instances, items[0], "LINE") : std::nullopt;
        if (!line || line->parameters.size() < 3) return std::nullopt;
        const auto point = pair(instances, line->parameters[1], "CARTESIAN_POINT");
        const auto vector = recordOf(instances, line->parameters[2], "VECTOR");
        const auto direction = vector && vector->parameters.size() >= 2
                                   ? pair(instances, vector->parameters[1], "DIRECTION")
                                   : std::nullopt;
        if (!point || !direction) return std::nullopt;
        if ((*direction)[0] == 0) return std::make_pair(false, (*point)[0]); // u is constant
        if ((*direction)[1] == 0) return std::make_pair(true, (*point)[1]);
        return std::nullopt;
    }
    return std::nullopt;
}

// The distinct values, those within a billionth of their spread taken as one.
std::vector<double> distinct(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    if (values.empty()) return values;
    const double tolerance = kRelativeKnotTolerance * (values.back() - values.front());
    std::vector<double> out = {values.front()};
    for (double v : values)
        if (v - out.back() > tolerance) out.push_back(v);
    return out;
}

// The parameter rectangle u0, u1, v0, v1 a face bounds on its surface when its one loop of
// edges runs along lines of constant u and v only (as a face on part of a surface is written).
std::optional<std::array<double, 4>> faceRectangle(const Instances& instances, const Record& face,
                                                   long surface) {
    const std::vector<std::string_view> bounds = face.parameters.size() >= 2
                                                     ? step::listItems(face.parameters[1])
                                                     : std::vector<std::string_view>{};
    if (bounds.size() != 1) return std::nullopt;
    auto bound = recordOf(instances, bounds[0], "FACE_OUTER_BOUND");
    if (!bound) bound = recordOf(instances, bounds[0], "FACE_BOUND");
    const auto loop = bound && bound->parameters.size() >= 2
                          ? recordOf(instances, bound->parameters[1], "EDGE_LOOP")
                          : std::nullopt;
    if (!loop || loop->parameters.size() < 2) return std::nullopt;
    std::vector<double> us, vs;
    for (const std::string_view ref : step::listItems(loop->parameters[1])) {
        const auto oriented = recordOf(instances, ref, "ORIENTED_EDGE");
        const auto edge = oriented && oriented->parameters.size() >= 4
                              ? recordOf(instances, oriented->parameters[3], "EDGE_CURVE")
                              : std::nullopt;
        if (!edge || edge->parameters.size() < 4) return std::nullopt;
        auto curve = recordOf(instances, edge->parameters[3], "SURFACE_CURVE");
        if (!curve) curve = recordOf(instances, edge->parameters[3], "SEAM_CURVE");
        const auto iso = curve ? isoLine(instances, *curve, surface) : std::nullopt;
        if (!iso) return std::nullopt;
        (iso->first ? vs : us).push_back(iso->second);
    }
    us = distinct(us);
    vs = distinct(vs);
    if (us.size() != 2 || vs.size() != 2) return std::nullopt;
    return std::array<double, 4>{us[0], us[1], vs[0], vs[1]};
}

// Where a surface's patches come from: the whole surface, or [u0, u1] × [v0, v1] of its own
// parameters, the columns or rows run back when reversed.
struct Placement {
    bool whole = true;
    std::array<double, 4> range{};
    bool backU = false, backV = false;
};

// A B-spline surface made patches, or why the file is refused for it.
struct Patches {
    std::vector<std::array<vm::Float3, 16>> nets;
    std::string name;
    bool cut = false; // over part of its parameter range
    std::string why;
};

// The patches of the B-spline surface `number`; its instance and records when they were read
// already.
Patches surfacePatches(const Instances& instances, long number, const Placement& placement,
                       const Instances::Instance* instance = nullptr,
                       const std::vector<RecordView>* parsed = nullptr) {
    Patches out;
    const std::optional<Instances::Instance> looked =
        parsed ? std::nullopt : instances.find(number);
    const Instances::Instance* found = parsed ? instance : looked ? &*looked : nullptr;
    std::vector<Record> storage;
    const std::vector<RecordView> read =
        parsed || !found ? std::vector<RecordView>{} : recordsOf(found->text(), storage);
    const std::vector<RecordView>& records = parsed ? *parsed : read;
    if (!recordIn(records, "B_SPLINE_SURFACE_WITH_KNOTS")) {
        out.why = label(number) + " is not a B-spline surface with knots";
        return out;
    }
    std::string why;
    BSplineSurface s = bsplineOf(records, instances, found, number, out.name, why);
    if (!why.empty()) {
        out.why = label(number) + why;
        return out;
    }
    if (!placement.whole) {
        const auto& r = placement.range;
        s.u0 = r[0], s.u1 = r[1], s.v0 = r[2], s.v1 = r[3];
    }
    normaliseKnots(s);
    out.nets = bezierPatches(s, why);
    if (out.nets.empty()) {
        out.why = label(number) + ": " + why;
        return out;
    }
    const bool backU = placement.backU, backV = placement.backV;
    if (backU || backV)
        for (auto& net : out.nets) {
            const auto original = net;
            for (size_t r = 0; r < 4; ++r)
                for (size_t c = 0; c < 4; ++c)
                    net[4 * r + c] = original[4 * (backV ? 3 - r : r) + (backU ? 3 - c : c)];
        }
    out.cut = overPartOfRange(s);
    return out;
}

} // namespace

ImportResult importStep(std::string_view text, Model& model) {
    ImportResult result;
    result.format = "STEP";
    const Instances instances(text);
    // A file cut short, or whose numbers name two instances, may still hold whole surfaces:
    // none is imported without the rest.
    if (!instances.damage().empty()) return refuse(instances.damage());
    result.skipped = instances.stray();
    const step::Survey survey = step::survey(instances);
    if (const std::string other = otherSurfaces(instances, survey); !other.empty())
        return refuse(other);
    if (const std::string placed = placedElsewhere(instances, survey); !placed.empty())
        return refuse(placed);
    const Uses uses = usesOf(instances, survey);
    if (uses.danglingSet != 0)
        return refuse(label(uses.danglingSet) + " names " + label(uses.dangling) +
                      ", which the file does not hold: it may be cut short or damaged");
    CadAssembly assembly(model);
    assembly.expect(uses.surfaces.size());
    size_t unread = 0; // faces and bounded surfaces whose edges were not read
    auto take = [&](Patches made) -> std::string {
        if (!made.why.empty()) return made.why;
        assembly.add(made.nets, made.name);
        result.piecesCut += made.cut;
        return "";
    };
    // Adds the patches of the B-spline surface `number` over [u0, u1] × [v0, v1] of its own
    // parameters (the whole surface when whole), the columns or rows run back when reversed.
    auto add = [&](long number, bool whole, std::array<double, 4> range, bool backU,
                   bool backV) -> std::string {
        return take(surfacePatches(instances, number, {whole, range, backU, backV}));
    };
    // Surfaces imported whole (for themselves, or for faces whose edges were not read): a flag
    // each, and the numbers of any others a face names.
    std::vector<bool> importedWhole(uses.surfaces.size());
    std::set<long> otherImportedWhole;
    // at: the surface's place among the uses' (when it was found already).
    auto firstWhole = [&](long number, size_t at) {
        if (at == Uses::kNone) return otherImportedWhole.insert(number).second;
        if (importedWhole[at]) return false;
        importedWhole[at] = true;
        return true;
    };
    auto addWhole = [&](long number, bool backU) -> std::string {
        if (!firstWhole(number, uses.place(number))) return "";
        return add(number, true, {}, backU, false);
    };
    // Instances are read on every core, and the surfaces imported whole for themselves made
    // patches there; then they are taken in order, so the first refusal is the one reading
    // them one after another meets.
    struct Read {
        long number = 0;             // read while its text is at hand
        bool surface = false;        // a B-spline surface with knots
        size_t place = Uses::kNone;  // and its place among the uses' surfaces
        Patches whole;               // one imported whole for itself
        std::vector<Record> records; // another instance's that is read
    };
    // One instance in the file's order: "" when read, else why the file is refused.
    auto takeInstance = [&](Read& read) -> std::string {
        const std::vector<Record>& records = read.records;
        if (records.empty() && !read.surface) return ""; // a point: its number is not read
        const long number = read.number;
        std::string why;
        if (read.surface) {
            if (uses.wholeForItselfAt(read.place) && firstWhole(number, read.place))
                why = take(std::move(read.whole));
            return why;
        }
        const std::string& keyword = records[0].keyword;
        const std::vector<std::string>& p = records[0].parameters;
        if (keyword == "RECTANGULAR_TRIMMED_SURFACE") {
            // name, basis surface, u1, u2, v1, v2, u sense, v sense
            long basis = 0;
            std::array<double, 4> range{};
            if (p.size() != 8 || !step::reference(p[1], basis) || !step::number(p[2], range[0]) ||
                !step::number(p[3], range[1]) || !step::number(p[4], range[2]) ||
                !step::number(p[5], range[3]))
                return label(number) + " is a RECTANGULAR_TRIMMED_SURFACE cut short";
            if (range[0] > range[1]) std::swap(range[0], range[1]);
            if (range[2] > range[3]) std::swap(range[2], range[3]);
            why = add(basis, false, range, p[6] == ".F.", p[7] == ".F.");
            if (!why.empty()) why = label(number) + " cuts " + why;
        } else if (keyword == "ADVANCED_FACE" || keyword == "FACE_SURFACE") {
            // name, bounds, surface, sense: a face on a B-spline surface whose edges are a
            // parameter rectangle is that part of it; any other gives its whole surface. A face
            // against its surface's sense runs its u back, as OpenCASCADE writes it in IGES.
            long surface = 0;
            const std::optional<Instances::Instance> found =
                p.size() >= 3 && step::reference(p[2], surface) ? instances.find(surface)
                                                                : std::nullopt;
            if (!found) // its surface would be lost without a word
                return label(number) + " is a face on " +
                       (p.size() >= 3 ? p[2] : std::string("no surface")) +
                       ", which the file does not hold";
            const bool bspline =
                found->text().find("B_SPLINE_SURFACE_WITH_KNOTS(") != std::string::npos;
            const auto rectangle =
                bspline ? faceRectangle(instances, records[0], surface) : std::nullopt;
            const bool reversed = p.size() >= 4 && p[3] == ".F.";
            if (rectangle) {
                why = add(surface, false, *rectangle, reversed, false);
            } else {
                ++unread;
                if (bspline) why = addWhole(surface, reversed);
            }
        } else if (keyword == "CURVE_BOUNDED_SURFACE") {
            ++unread; // its surface, named otherwise, is imported whole
        }
        return why;
    };
    std::string refusal;
    const bool read = batches::convertThenTake<Read>(
        survey.read.size(),
        [&](size_t i, Read& out) {
            if (i + Instances::Instance::kAhead < survey.read.size())
                instances.begin()[survey.read[i + Instances::Instance::kAhead]].prefetch();
            const Instances::Instance& instance = instances.begin()[survey.read[i]];
            out.number = instance.number();
            std::vector<Record> storage;
            const std::vector<RecordView> records = recordsOf(instance.text(), storage);
            if (records.empty()) return;
            if (!recordIn(records, "B_SPLINE_SURFACE_WITH_KNOTS")) {
                out.records = storage.empty() ? step::records(instance.text()) : std::move(storage);
                return;
            }
            // A surface only cut or bounded is imported as its cuts and faces.
            out.surface = true;
            // Found at once when the surfaces are all the file's instances read.
            out.place = uses.place(out.number, i);
            if (uses.wholeForItselfAt(out.place))
                out.whole = surfacePatches(instances, out.number, {}, &instance, &records);
        },
        [&](size_t, Read& out) {
            refusal = takeInstance(out);
            return refusal.empty();
        },
        std::max<size_t>(1, batches::items() / kInstancesASurface));
    if (!read) return refuse(refusal);
    assembly.finish();
    if (model.patches.empty())
        return refuse("it holds no B-spline surface (B_SPLINE_SURFACE_WITH_KNOTS)");
    if (unread)
        result.format += " (" + std::to_string(unread) +
                         " faces imported as their whole surfaces: their edges are not a "
                         "rectangle of parameters)";
    result.ok = true;
    return result;
}
