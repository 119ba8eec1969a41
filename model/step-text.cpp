#include "model/step-text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <thread>
#include <utility>

#include "core/utf8.h"
#include "model/decimal-number.h"
#include "model/step-marks.h"

namespace step {

namespace {

constexpr long kNarrowLargest = std::numeric_limits<uint32_t>::max(); // numbers sorted in one word
constexpr size_t kTypicalInstanceBytes = 32;    // "#12=CARTESIAN_POINT('',(1.,2.,3.));" and more
constexpr size_t kTypicalParameters = 16;       // a B-spline surface has 13 or 14
constexpr size_t kSplitBytes = size_t{1} << 20; // smaller files are read on one thread
constexpr char32_t kLastAscii = 126, kFirstPrintable = 32;
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr int kHexDigitsX = 2, kHexDigitsX2 = 4, kHexDigitsX4 = 8;
constexpr unsigned char kUpperHalf = 0x80; // \S\c is the character c + 128

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool startsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

// An instance's number from the digits between "#" and "=": plain digits by from_chars, any
// other form ("+5", an overflow) as strtol reads it (errno ERANGE when it is out of range);
// false when they are not a number.
bool instanceNumber(std::string_view digits, long& number) {
    const char* end = digits.data() + digits.size();
    if (const auto [read, error] = std::from_chars(digits.data(), end, number);
        error == std::errc() && read == end)
        return true;
    const std::string copy(digits);
    char* stop = nullptr;
    errno = 0;
    number = std::strtol(copy.c_str(), &stop, 10);
    return stop == copy.c_str() + copy.size();
}

// The end of the parenthesised group starting at text[open] ('('), strings skipped; npos when
// it is not closed.
size_t closingParenthesis(std::string_view text, size_t open) {
    int depth = 0;
    bool quoted = false;
    for (size_t i = open; i < text.size(); ++i) {
        const char c = text[i];
        if (c == kQuote) quoted = !quoted; // '' inside a string toggles twice
        if (quoted) continue;
        if (c == '(') ++depth;
        if (c == ')' && --depth == 0) return i;
    }
    return std::string_view::npos;
}

// The top-level parameters of the text inside a pair of parentheses, seen in it.
std::vector<std::string_view> parameterViews(std::string_view inside) {
    std::vector<std::string_view> out;
    if (inside.empty()) return out;
    out.reserve(kTypicalParameters); // one allocation for most lists, not one for each doubling
    int depth = 0;
    bool quoted = false;
    size_t from = 0;
    for (size_t i = 0; i <= inside.size(); ++i) {
        const char c = i < inside.size() ? inside[i] : ',';
        if (c == kQuote) quoted = !quoted;
        if (quoted) continue;
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if (c == ',' && depth == 0) {
            out.push_back(inside.substr(from, i - from));
            from = i + 1;
        }
    }
    return out;
}

std::vector<std::string> parameters(std::string_view inside) {
    const std::vector<std::string_view> views = parameterViews(inside);
    return {views.begin(), views.end()};
}

bool hexValue(std::string_view digits, char32_t& value) {
    value = 0;
    for (char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        value = value * 16 +
                static_cast<char32_t>(std::isdigit(static_cast<unsigned char>(c))
                                          ? c - '0'
                                          : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10);
    }
    return true;
}

// Code units of `digits` hex digits each up to "\X0\", decoded; at is moved past it.
bool decodeRun(std::string_view s, size_t& at, int digits, std::string& out) {
    const size_t end = s.find("\\X0\\", at);
    if (end == std::string_view::npos || (end - at) % static_cast<size_t>(digits) != 0)
        return false;
    char32_t high = 0; // a UTF-16 high surrogate waiting for its low one
    for (; at < end; at += static_cast<size_t>(digits)) {
        char32_t unit = 0;
        if (!hexValue(s.substr(at, static_cast<size_t>(digits)), unit)) return false;
        if (digits == kHexDigitsX2 && unit >= 0xD800 && unit < 0xDC00) {
            high = unit;
            continue;
        }
        if (digits == kHexDigitsX2 && unit >= 0xDC00 && unit < 0xE000 && high)
            unit = kFirstSupplementary + ((high - 0xD800) << 10) + (unit - 0xDC00);
        high = 0;
        utf8::append(out, unit);
    }
    at = end + 4;
    return true;
}

} // namespace

void Instances::read(std::string_view file, Reading& r, size_t limit) {
    constexpr size_t kNone = std::string_view::npos;
    const size_t size = file.size();
    size_t& at = r.at;
    for (; at < limit; ++at) {
        if (plainPoints_ && r.from == kNone && inData_ && file[at] == '#') {
            const size_t end = points_.take(at, limit);
            if (end != kNone) {
                at = end;
                continue;
            }
        }
        if (!r.copied) { // plain characters kept in place
            const size_t plain = at;
            at = static_cast<size_t>(nextMarked(file.data() + at, file.data() + limit, r.quoted) -
                                     file.data());
            if (at > plain && r.from == kNone) r.from = plain;
            if (at == limit) break;
        }
        const char c = file[at];
        const size_t kept = at; // the statement's text in place ends here when this is left out
        bool leftOut = false;
        if (!r.quoted && c == '/' && at + 1 < size && file[at + 1] == '*') {
            const size_t end = file.find("*/", at + 2);
            if (end == std::string_view::npos) {
                at = size;
                break;
            }
            at = end + 1;
            leftOut = true;
        } else {
            if (c == kQuote) r.quoted = !r.quoted;
            leftOut = c == '\r' || c == '\n' || (!r.quoted && isSpace(c));
        }
        if (leftOut) {
            if (r.from != kNone && !r.copied) {
                r.statement.assign(file.substr(r.from, kept - r.from));
                r.copied = true;
            }
            continue;
        }
        if (r.quoted || c != ';') {
            if (r.from == kNone) r.from = at;
            if (r.copied) r.statement += c;
            continue;
        }
        const std::string_view text = r.copied          ? std::string_view(r.statement)
                                      : r.from == kNone ? std::string_view()
                                                        : file.substr(r.from, at - r.from);
        if (text == "END-ISO-10303-21") {
            r.ended = true;
            at = size;
            break;
        }
        if (r.copied && inData_ && text.size() > 1 && text[0] == '#')
            add(copied_.emplace_back(std::move(r.statement)));
        else
            add(text);
        r.statement.clear();
        r.from = kNone;
        r.copied = false;
    }
}

void Instances::append(Instances&& later) {
    const auto offset = static_cast<uint32_t>(list_.size());
    if (!later.list_.empty()) {
        if (!list_.empty() && later.list_.front().number() <= lastNumber_) ascending_ = false;
        lastNumber_ = later.lastNumber_;
    }
    ascending_ = ascending_ && later.ascending_;
    narrowNumbers_ = narrowNumbers_ && later.narrowNumbers_;
    stray_ += later.stray_;
    if (tooLarge_.empty() && !later.tooLarge_.empty()) {
        tooLarge_ = std::move(later.tooLarge_);
        tooLargeOrder_ = offset + later.tooLargeOrder_;
    }
    for (Instance& instance : later.list_)
        instance.order += offset;
    list_.insert(list_.end(), later.list_.begin(), later.list_.end());
    inData_ = later.inData_;
    laterCopies_ = std::move(later.copied_); // the texts keep their places
    laterPoints_ = std::move(later.points_);
}

void Instances::index(std::string_view file, bool plainPoints) {
    plainPoints_ = plainPoints;
    const size_t size = file.size();
    // Room for the instances a file of points holds (untouched room takes no memory): the
    // list then grows without copying itself over and over.
    list_.reserve(size / kTypicalInstanceBytes);
    if (plainPoints) points_.expect(file, size);
    // A large file's second half is read on another core from the first instance on a line
    // of its own there, as though a statement had just ended: it is kept when the first half's
    // reading does end a statement just there, within a data section (as exporters write).
    Reading first;
    const size_t half = size / 2;
    const size_t split = size >= kSplitBytes && std::thread::hardware_concurrency() > 1
                             ? file.find("\n#", half)
                             : std::string_view::npos;
    if (split == std::string_view::npos) {
        read(file, first, size);
    } else {
        Instances later;
        later.inData_ = true;
        later.list_.reserve((size - split) / kTypicalInstanceBytes);
        later.plainPoints_ = plainPoints;
        if (plainPoints) later.points_.expect(file, size - split);
        Reading second;
        second.at = split + 1;
        std::thread reading([&] { later.read(file, second, size); });
        read(file, first, split + 1);
        reading.join();
        const bool statementEnded = first.at == split + 1 && first.from == Reading::kNone &&
                                    !first.copied && !first.quoted && !first.ended && inData_;
        if (statementEnded) {
            first = std::move(second);
            append(std::move(later));
        } else {
            read(file, first, size); // on from where the first half stopped
        }
    }
    ended_ = first.ended;
}

bool Instances::pointsApart() const {
    if (points_.clashed() || laterPoints_.clashed() || points_.shares(laterPoints_)) return false;
    if (points_.empty() && laterPoints_.empty()) return true;
    for (size_t i = 0; i < list_.size(); ++i) {
        if (i + Instance::kAhead < list_.size()) list_[i + Instance::kAhead].prefetch();
        if (!plainPoint(list_[i].number()).empty()) return false;
    }
    return true;
}

Instances::Instances(std::string_view file) {
    // Any number naming a plain point and another instance too: indexed again all listed,
    // which finds the two as it always has.
    index(file, true);
    if (!pointsApart()) {
        *this = Instances();
        index(file, false);
    }
    const bool ended = ended_;
    // Exporters number their instances one after another: only another order is sorted.
    const auto [twice, twiceOrder] =
        ascending_ ? std::pair<std::string, uint32_t>{} : sortByNumber();
    if (!tooLarge_.empty() && (twice.empty() || tooLargeOrder_ <= twiceOrder))
        damage_ = tooLarge_ + " is too large an instance number";
    else if (!twice.empty())
        damage_ = twice + " names two instances";
    else if (!ended)
        damage_ = "it ends before END-ISO-10303-21: the file is cut short";
}

namespace {

// An instance's number beside its place in the list (its order in the file), as sorted: in one
// word when the number fits 32 bits, as nearly all files' do.
struct Narrow {
    using Key = uint64_t;
    static Key make(long number, uint32_t place) {
        return static_cast<uint64_t>(number) << 32 | place;
    }
    static long number(Key k) { return static_cast<long>(k >> 32); }
    static uint32_t place(Key k) { return static_cast<uint32_t>(k); }
    static void setPlace(Key& k, uint32_t place) { k = (k >> 32) << 32 | place; }
};
struct Wide {
    struct Key {
        long number;
        uint32_t place;
        bool operator<(const Key& other) const {
            return number < other.number || (number == other.number && place < other.place);
        }
    };
    static Key make(long number, uint32_t place) { return {number, place}; }
    static long number(const Key& k) { return k.number; }
    static uint32_t place(const Key& k) { return k.place; }
    static void setPlace(Key& k, uint32_t place) { k.place = place; }
};

// The keys sorted. Exporters write nearly every instance in order, a few out of it (a surface
// after its points): the longest run in order is kept where it is, the others are taken out,
// sorted and merged back in.
template <class Key> void sortMostlyInOrder(std::vector<Key>& keys) {
    std::vector<Key> out;
    size_t kept = 0;
    for (const Key& key : keys)
        if (kept == 0 || keys[kept - 1] < key)
            keys[kept++] = key;
        else
            out.push_back(key);
    std::sort(out.begin(), out.end());
    // From the end: the places written are past the kept keys not yet merged.
    size_t at = keys.size(), inOrder = kept, taken = out.size();
    while (taken > 0)
        keys[--at] =
            inOrder > 0 && out[taken - 1] < keys[inOrder - 1] ? keys[--inOrder] : out[--taken];
}

// The list (in the file's order) sorted by number in place, of two with one number the later
// kept; the first instance in the file's order whose number was used before ("#12", its
// order), "" when none was.
template <class Keys>
std::pair<std::string, uint32_t> sortInPlace(std::vector<Instances::Instance>& list) {
    std::vector<typename Keys::Key> keys;
    keys.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i)
        keys.push_back(Keys::make(list[i].number(), static_cast<uint32_t>(i)));
    sortMostlyInOrder(keys);
    std::pair<std::string, uint32_t> twice;
    const Instances::Instance* first = nullptr;
    for (size_t i = 1; i < keys.size(); ++i)
        if (Keys::number(keys[i]) == Keys::number(keys[i - 1]) &&
            (!first || Keys::place(keys[i]) < first->order))
            first = &list[Keys::place(keys[i])];
    if (first) {
        // Every instance's statement starts with '#' and has its number just before the "=".
        const char* equals = first->begin - 1;
        const char* hash = equals;
        while (*hash != '#')
            --hash;
        twice = {std::string(hash, equals), first->order};
    }
    constexpr uint32_t kPlaced = std::numeric_limits<uint32_t>::max();
    for (size_t i = 0; i < keys.size(); ++i) { // each cycle of the permutation once
        if (Keys::place(keys[i]) == kPlaced) continue;
        const Instances::Instance held = list[i];
        for (size_t at = i;;) {
            const size_t from = Keys::place(keys[at]);
            Keys::setPlace(keys[at], kPlaced);
            if (from == i) {
                list[at] = held;
                break;
            }
            list[at] = list[from];
            at = from;
        }
    }
    size_t kept = 0;
    for (size_t i = 0; i < keys.size(); ++i)
        if (i + 1 == keys.size() || Keys::number(keys[i + 1]) != Keys::number(keys[i]))
            list[kept++] = list[i];
    list.resize(kept);
    return twice;
}

} // namespace

std::pair<std::string, uint32_t> Instances::sortByNumber() {
    // The numbers are sorted beside their places, then the list put in their order in place:
    // the list is not copied (a file of points has millions).
    return narrowNumbers_ ? sortInPlace<Narrow>(list_) : sortInPlace<Wide>(list_);
}

void Instances::add(std::string_view statement) {
    if (statement == "ENDSEC") {
        inData_ = false;
    } else if (statement == "DATA" || startsWith(statement, "DATA(")) {
        inData_ = true;
    } else if (inData_ && statement.size() > 1 && statement[0] == '#') {
        const size_t equals = statement.find('=');
        if (equals == std::string_view::npos ||
            statement.size() - equals - 1 > std::numeric_limits<uint32_t>::max()) {
            ++stray_;
            return;
        }
        long number = 0;
        errno = 0;
        if (!instanceNumber(statement.substr(1, equals - 1), number)) {
            ++stray_;
            return;
        }
        if (errno == ERANGE && tooLarge_.empty()) {
            tooLarge_ = statement.substr(0, equals);
            tooLargeOrder_ = static_cast<uint32_t>(list_.size());
        }
        if (!list_.empty() && number <= lastNumber_) ascending_ = false;
        narrowNumbers_ = narrowNumbers_ && number >= 0 && number <= kNarrowLargest;
        lastNumber_ = number;
        list_.push_back({statement.data() + equals + 1,
                         static_cast<uint32_t>(statement.size() - equals - 1),
                         static_cast<uint32_t>(list_.size())});
    } else if (inData_ && !statement.empty()) {
        ++stray_;
    }
}

long Instance::number() const {
    // Every instance's statement starts with '#' and has its number just before the "=", the
    // digits no '#' (it would not be a number). Plain digits are read back from the "=": a
    // look-up by number reads two or three.
    constexpr int kPlainDigits = 18; // any 18 digits fit a long
    const char* equals = begin - 1;
    const char* hash = equals;
    long number = 0;
    for (long place = 1; hash[-1] >= '0' && hash[-1] <= '9' && equals - hash < kPlainDigits;
         place *= 10)
        number += (*--hash - '0') * place;
    if (hash[-1] == '#' && hash != equals) return number;
    while (*hash != '#')
        --hash;
    instanceNumber({hash + 1, static_cast<size_t>(equals - hash - 1)}, number);
    return number;
}

std::string_view Instances::plainPoint(long number) const {
    if (const std::string_view text = points_.text(number); !text.empty()) return text;
    return laterPoints_.text(number);
}

std::optional<Instance> Instances::find(long number) const {
    if (const std::string_view text = plainPoint(number); !text.empty())
        return PlainPoints::instance(text);
    if (const Instance* instance = listed(number)) return *instance;
    return std::nullopt;
}

const Instances::Instance* Instances::listed(long number, const Instance* near,
                                             long nearNumber) const {
    constexpr long kNear = 64;
    long offset = 0; // numbers are the file's: their difference may overflow
    if (near && !__builtin_sub_overflow(number, nearNumber, &offset) && offset > -kNear &&
        offset < kNear) {
        const long index = (near - list_.data()) + offset;
        if (index >= 0 && index < static_cast<long>(list_.size()) &&
            list_[static_cast<size_t>(index)].number() == number)
            return &list_[static_cast<size_t>(index)];
    }
    return listed(number);
}

const Instances::Instance* Instances::listed(long number) const {
    // Numbered one after another from the first, the instance is where that puts it.
    long offset = 0;
    if (!list_.empty() && !__builtin_sub_overflow(number, list_[0].number(), &offset) &&
        offset >= 0 && offset < static_cast<long>(list_.size()) &&
        list_[static_cast<size_t>(offset)].number() == number)
        return &list_[static_cast<size_t>(offset)];
    const auto at = std::lower_bound(list_.begin(), list_.end(), number,
                                     [](const Instance& i, long n) { return i.number() < n; });
    return at != list_.end() && at->number() == number ? &*at : nullptr;
}

std::vector<Record> records(std::string_view instance) {
    std::vector<Record> out;
    const bool complex = !instance.empty() && instance[0] == '(';
    size_t at = complex ? 1 : 0;
    while (at < instance.size()) {
        const size_t open = instance.find('(', at);
        if (open == std::string_view::npos) return {};
        const size_t close = closingParenthesis(instance, open);
        if (close == std::string_view::npos) return {};
        out.push_back({std::string(instance.substr(at, open - at)),
                       parameters(instance.substr(open + 1, close - open - 1))});
        at = close + 1;
        if (!complex) break;
        if (at < instance.size() && instance[at] == ')') break;
    }
    return out;
}

const Record* findRecord(const std::vector<Record>& records, std::string_view keyword) {
    for (const Record& r : records)
        if (r.keyword == keyword) return &r;
    return nullptr;
}

std::vector<std::string_view> listItems(std::string_view list) {
    // One pass: the items are split at the commas of the outer list, which must close at the end.
    std::vector<std::string_view> out;
    if (list.size() < 2 || list.front() != '(') return out;
    const size_t last = list.size() - 1;
    if (last == 1) return list[1] == ')' ? out : std::vector<std::string_view>{};
    out.reserve(kTypicalParameters);
    int depth = 1;
    bool quoted = false;
    size_t from = 1;
    for (size_t i = 1; i <= last; ++i) {
        if (depth > 1 && !quoted) // within an inner list only its parentheses and strings count
            i = static_cast<size_t>(nextOf(list.data() + i, list.data() + last, '(', ')', kQuote) -
                                    list.data());
        const char c = list[i];
        if (c == kQuote) quoted = !quoted;
        if (quoted) continue;
        if (c == '(') ++depth;
        if (c == ')' && --depth == 0) {
            if (i != last) return {};
            out.push_back(list.substr(from, i - from));
            return out;
        }
        if (c == ',' && depth == 1) {
            out.push_back(list.substr(from, i - from));
            from = i + 1;
        }
    }
    return {};
}

// Plain digits and numbers are read by from_chars; strtol and strtod read every other form
// they accept (a sign, hexadecimal, an underflow) as before.
bool reference(std::string_view parameter, long& number) {
    if (parameter.size() < 2 || parameter[0] != '#') return false;
    const char* last = parameter.data() + parameter.size();
    if (const auto [end, error] = std::from_chars(parameter.data() + 1, last, number);
        error == std::errc() && end == last)
        return true;
    const std::string digits(parameter.substr(1));
    char* end = nullptr;
    errno = 0;
    number = std::strtol(digits.c_str(), &end, 10);
    return end == digits.c_str() + digits.size() && errno != ERANGE;
}

bool number(std::string_view parameter, double& value) {
    const char* last = parameter.data() + parameter.size();
    if (decimal::parse(parameter.data(), last, value) == last) return std::isfinite(value);
    const std::string text(parameter);
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size() && std::isfinite(value);
}

bool decodeString(std::string_view p, std::string& text) {
    if (p.size() < 2 || p.front() != kQuote || p.back() != kQuote) return false;
    const std::string_view s = p.substr(1, p.size() - 2);
    text.clear();
    for (size_t at = 0; at < s.size();) {
        if (s[at] != kQuote && s[at] != '\\') { // most of a name: itself
            text += s[at++];
        } else if (s[at] == kQuote) { // '' is one quote
            text += kQuote;
            at += 2;
        } else if (startsWith(s.substr(at), "\\\\")) {
            text += '\\';
            at += 2;
        } else if (startsWith(s.substr(at), "\\X2\\")) {
            at += 4;
            if (!decodeRun(s, at, kHexDigitsX2, text)) return false;
        } else if (startsWith(s.substr(at), "\\X4\\")) {
            at += 4;
            if (!decodeRun(s, at, kHexDigitsX4, text)) return false;
        } else if (startsWith(s.substr(at), "\\X\\") && at + 5 <= s.size()) {
            char32_t c = 0;
            if (!hexValue(s.substr(at + 3, kHexDigitsX), c)) return false;
            utf8::append(text, c);
            at += 5;
        } else if (startsWith(s.substr(at), "\\S\\") && at + 4 <= s.size()) {
            utf8::append(text, static_cast<unsigned char>(s[at + 3]) + kUpperHalf);
            at += 4;
        } else if (startsWith(s.substr(at), "\\N\\") || startsWith(s.substr(at), "\\F\\")) {
            at += 3; // print controls: nothing of the text
        } else if (s[at] == '\\' && at + 3 < s.size() && s[at + 1] == 'P' && s[at + 3] == '\\') {
            at += 4; // a code page for \S\: ISO 8859-1 is assumed
        } else {
            text += s[at++];
        }
    }
    return true;
}

std::string encodeString(std::string_view text) {
    std::string out(1, kQuote);
    std::string run; // hex of the UTF-16 code units of characters outside printable ASCII
    auto endRun = [&] {
        if (!run.empty()) out += "\\X2\\" + run + "\\X0\\";
        run.clear();
    };
    auto addUnit = [&](char32_t unit) {
        static const char kHex[] = "0123456789ABCDEF";
        for (int shift = 12; shift >= 0; shift -= 4)
            run += kHex[(unit >> shift) & 0xF];
    };
    for (size_t at = 0; at < text.size();) {
        const char32_t c = utf8::next(text, at);
        if (c >= kFirstPrintable && c <= kLastAscii) {
            endRun();
            out += static_cast<char>(c);
            if (c == kQuote || c == '\\') out += static_cast<char>(c);
        } else if (c >= kFirstSupplementary) {
            addUnit(0xD800 + ((c - kFirstSupplementary) >> 10));
            addUnit(0xDC00 + ((c - kFirstSupplementary) & 0x3FF));
        } else {
            addUnit(c);
        }
    }
    endRun();
    return out + kQuote;
}

} // namespace step
