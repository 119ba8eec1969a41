#include "model/logical-lines.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>

#include "core/parallel-ranges.h"
#include "model/decimal-number.h"
#include "model/largest-rounding.h"

namespace {

constexpr size_t kDefaultBlockBytes = size_t{1} << 22;
std::atomic<size_t> blockBytesSetting{kDefaultBlockBytes};

bool isBlank(char c) { // as a text stream separates words
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The number at p (past blanks) when it is a whole word in the plain decimal forms, finite;
// p then after it. Null otherwise. sixDigits as decimal::parse says.
const char* plainNumber(const char*& p, const char* end, float& v, bool& sixDigits) {
    while (p < end && isBlank(*p))
        ++p;
    const char* next = p < end ? decimal::parse(p, end, v, sixDigits) : nullptr;
    if (!next || (next < end && !isBlank(*next)) || !std::isfinite(v)) return nullptr;
    return p = next;
}

const char* plainNumber(const char*& p, const char* end, float& v) {
    bool sixDigits = false;
    return plainNumber(p, end, v, sixDigits);
}

// The rest of a "surf" line from p: its four numbers and 16 point numbers, each a whole word
// (a point number with a texture or normal after a '/' is left to the words' own reading, and
// so is 0, which names no point). False when the line has another form.
bool surfaceNumbers(const char* p, const char* end, SurfaceNumbers& s) {
    for (float& v : s.range)
        if (!plainNumber(p, end, v)) return false;
    for (int32_t& point : s.points) {
        while (p < end && isBlank(*p))
            ++p;
        const auto [next, error] = std::from_chars(p, end, point);
        if (error != std::errc() || next == p || (next < end && !isBlank(*next)) || point == 0)
            return false;
        p = next;
    }
    while (p < end && isBlank(*p))
        ++p;
    return p == end; // no 22nd word
}

// The line [begin, end) read as the importers' words would be: a comment cut off, then
// "v" or nothing, then three words that are whole finite numbers in the plain decimal forms,
// or "surf" and its numbers into surfaces (any other form is left Unknown for the words' own
// reading).
LogicalLines::Ahead shapeOf(const char* begin, const char* end,
                            std::vector<SurfaceNumbers>& surfaces, std::vector<float>& changes,
                            SixDigitChange sixDigits) {
    LogicalLines::Ahead a{0, LineShape::Unknown, false, false, {}};
    if (begin != end &&
        (end[-1] == '\\' || (end[-1] == '\r' && end - begin > 1 && end[-2] == '\\')))
        return a; // continued on the next line
    a.carriageReturn = begin != end && end[-1] == '\r';
    if (const void* hash =
            begin != end ? std::memchr(begin, '#', static_cast<size_t>(end - begin)) : nullptr)
        end = static_cast<const char*>(hash);
    const char* p = begin;
    auto word = [&](std::string_view& w) {
        while (p < end && isBlank(*p))
            ++p;
        const char* from = p;
        while (p < end && !isBlank(*p))
            ++p;
        w = {from, static_cast<size_t>(p - from)};
        return !w.empty();
    };
    std::string_view w;
    if (!word(w)) return a;
    if (w == "3") {
        const char* second = p;
        if (std::string_view d; word(d) && d == "3" && !word(d)) {
            a.shape = LineShape::BicubicDegrees;
            return a;
        }
        p = second;
    }
    if (w == "end" || w == "parm") { // the words after them are not read
        a.shape = w == "end" ? LineShape::SurfaceEnd : LineShape::Parameters;
        return a;
    }
    if (w == "surf") {
        SurfaceNumbers s;
        if (!surfaceNumbers(p, end, s)) return a;
        surfaces.push_back(s);
        a.shape = LineShape::Surface;
        return a;
    }
    const bool vertex = w == "v";
    if (!vertex) p = w.data();
    // Each number read straight from the text (none runs over a blank): a whole word when it
    // ends where the word does.
    bool kept = true; // by six significant digits, all three
    for (float& v : a.numbers) {
        bool keeps = false;
        if (!plainNumber(p, end, v, keeps)) return a;
        kept = kept && keeps;
    }
    if (word(w)) return a; // more words
    a.shape = vertex ? LineShape::Vertex : LineShape::ThreeNumbers;
    // Most files' numbers have six digits or fewer: only the others are rounded.
    if (sixDigits == SixDigitChange::Measured && !kept)
        if (const float change = roundingOf({a.numbers[0], a.numbers[1], a.numbers[2]});
            change > 0) {
            a.rounded = true;
            changes.push_back(change);
        }
    return a;
}

// The lines starting at or after from (a line start) and before to, each read ahead; the last
// piece also reads the empty line after a final line break.
void readLines(std::string_view text, size_t from, size_t to, bool lastPiece,
               SixDigitChange sixDigits, std::vector<LogicalLines::Ahead>& out,
               std::vector<SurfaceNumbers>& surfaces, std::vector<float>& changes) {
    const char* base = text.data();
    for (size_t at = from; at < to || (lastPiece && at == to && to == text.size());) {
        // An empty file's text may have no bytes at all to search.
        const void* newline =
            at < text.size() ? std::memchr(base + at, '\n', text.size() - at) : nullptr;
        const size_t end =
            newline ? static_cast<size_t>(static_cast<const char*>(newline) - base) : text.size();
        LogicalLines::Ahead a = shapeOf(base + at, base + end, surfaces, changes, sixDigits);
        a.end = end;
        out.push_back(a);
        if (end == text.size()) break;
        at = end + 1;
    }
}

// The lines of the block from `from` (a line start), read on every core: its pieces start at
// the first line start at or after even steps.
void readBlock(std::string_view text, size_t from, SixDigitChange sixDigits,
               LogicalLines::Block& out) {
    constexpr size_t kPieces = LogicalLines::kPieces;
    const size_t block = blockBytesSetting.load(std::memory_order_relaxed);
    const size_t last = std::min(text.size(), from + block);
    auto lineStart = [&](size_t p) {
        if (p <= from) return from;
        if (p >= last) return last;
        const void* nl = std::memchr(text.data() + p - 1, '\n', last - (p - 1));
        return nl ? static_cast<size_t>(static_cast<const char*>(nl) - text.data()) + 1 : last;
    };
    size_t starts[kPieces + 1];
    for (size_t k = 0; k <= kPieces; ++k)
        starts[k] = lineStart(from + (last - from) * k / kPieces);
    inParallelRanges(
        kPieces,
        [&](size_t first, size_t to) {
            for (size_t k = first; k < to; ++k) {
                out.pieces[k].clear();
                out.surfaces[k].clear();
                out.changes[k].clear();
                readLines(text, starts[k], starts[k + 1], k + 1 == kPieces, sixDigits,
                          out.pieces[k], out.surfaces[k], out.changes[k]);
            }
        },
        2);
    out.piece = out.line = out.surface = out.change = 0;
}

} // namespace

void LogicalLines::setBlockBytes(size_t bytes) {
    blockBytesSetting.store(bytes ? bytes : kDefaultBlockBytes, std::memory_order_relaxed);
}

LogicalLines::~LogicalLines() {
    if (reading_.joinable()) reading_.join();
}

const LogicalLines::Ahead& LogicalLines::ahead() {
    auto nextLine = [](Block& b) -> const Ahead* {
        for (; b.piece < kPieces; ++b.piece, b.line = b.surface = b.change = 0)
            if (b.line < b.pieces[b.piece].size()) return &b.pieces[b.piece][b.line];
        return nullptr;
    };
    if (const Ahead* line = started_ ? nextLine(ahead_) : nullptr) return *line;
    // The block after this one was read while this one was taken, unless this is the first.
    if (reading_.joinable()) {
        reading_.join();
        std::swap(ahead_, following_);
    } else {
        readBlock(text_, at_, sixDigits_, ahead_);
        started_ = true;
    }
    const Ahead* first = nextLine(ahead_);
    size_t end = first->end; // the block's last line's
    for (const std::vector<Ahead>& piece : ahead_.pieces)
        if (!piece.empty()) end = piece.back().end;
    if (end < text_.size())
        reading_ = std::thread(readBlock, text_, end + 1, sixDigits_, std::ref(following_));
    return *first;
}

size_t LogicalLines::takeRun(LineShape shape, size_t most, vm::Float3* points, float* changes,
                             size_t& number) {
    size_t taken = 0;
    for (; taken < most && at_ <= text_.size() && !ended_; ++taken) {
        const Ahead& read = ahead();
        if (read.shape != shape) break;
        if (read.end == text_.size()) ended_ = true;
        at_ = read.end + 1;
        ++ahead_.line;
        points[taken] = {read.numbers[0], read.numbers[1], read.numbers[2]};
        changes[taken] = read.rounded ? ahead_.changes[ahead_.piece][ahead_.change++] : 0;
    }
    physical_ += taken;
    if (taken != 0) number = physical_;
    return taken;
}

bool LogicalLines::next(std::string_view& line, size_t& number) {
    joined_.clear();
    shape_ = LineShape::Unknown;
    sixDigitChange_ = 0;
    bool continued = false;
    while (at_ <= text_.size() && !ended_) {
        const Ahead& read = ahead();
        const size_t end = read.end;
        if (end == text_.size()) ended_ = true;
        // A line of a known shape is its own statement: its text is not read here (the reading
        // threads passed it a block ago, and it has left the caches since).
        const bool known = read.shape != LineShape::Unknown;
        std::string_view piece = text_.substr(at_, end - at_ - (known && read.carriageReturn));
        at_ = end + 1;
        ++ahead_.line;
        // A continued line's pieces are read by their words: their surfaces are passed over.
        const SurfaceNumbers* surface = read.shape == LineShape::Surface
                                            ? &ahead_.surfaces[ahead_.piece][ahead_.surface++]
                                            : nullptr;
        const float change = read.rounded ? ahead_.changes[ahead_.piece][ahead_.change++] : 0;
        ++physical_;
        if (!continued) number = physical_;
        if (!known && !piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
        if (!known && !piece.empty() && piece.back() == '\\') {
            piece.remove_suffix(1);
            joined_.append(piece).append(" ");
            continued = true;
            continue;
        }
        if (!continued) {
            line = piece;
            shape_ = read.shape;
            std::copy(std::begin(read.numbers), std::end(read.numbers), numbers_);
            sixDigitChange_ = change;
            if (surface) surface_ = *surface;
            return true;
        }
        joined_.append(piece);
        line = joined_;
        return true;
    }
    if (!continued) return false;
    line = joined_; // the text ends on a continued line
    return true;
}
