#include "model/step-plain-points.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "model/decimal-number.h"
#include "model/step-marks.h"

namespace step {

namespace {

constexpr std::string_view kPoint = "CARTESIAN_POINT(";
constexpr size_t kSmallestStatement = 32; // "#1=CARTESIAN_POINT('',(0.,0.,0.));" and its line break
constexpr size_t kMostDigits = 9;         // any number of 9 digits is well within a long
constexpr size_t kGrowth = 4096;          // slots, a page of them: filled at once

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

void PlainPoints::expect(std::string_view file, size_t bytes) {
    file_ = file;
    if (file.size() > std::numeric_limits<uint32_t>::max()) return; // places past a slot's range
    slots_.reserve(bytes / kSmallestStatement);
}

size_t PlainPoints::take(size_t at, size_t limit) {
    if (slots_.capacity() == 0) return kNone; // no room: a file past a slot's range
    const char* p = file_.data() + at + 1;
    const char* const end = file_.data() + limit;
    long number = 0;
    size_t digits = 0;
    if (constexpr size_t kWord = 8;
        static_cast<size_t>(end - p) >= kWord && (digits = decimal::leadingDigits(p)) < kWord) {
        number = static_cast<long>(decimal::digitValue(p, digits)); // 8 bytes at once
        p += digits;
    } else {
        for (digits = 0; p < end && isDigit(*p) && digits < kMostDigits; ++digits)
            number = number * 10 + (*p++ - '0');
    }
    if (digits == 0 || p == end || *p != '=') return kNone;
    const char* const text = ++p;
    if (static_cast<size_t>(end - p) < kPoint.size() ||
        std::memcmp(p, kPoint.data(), kPoint.size()))
        return kNone;
    // To its ';' as the general reading keeps a statement in place: strings with no line break,
    // nothing left out between them.
    bool quoted = false;
    p += kPoint.size();
    if (end - p > 2 && p[0] == kQuote && p[1] == kQuote)
        p += 2; // no name, as exporters mostly write
    for (;; ++p) {
        p = nextMarked(p, end, quoted);
        if (p == end) return kNone;
        if (*p == kQuote)
            quoted = !quoted;
        else if (quoted || *p != ';')
            return kNone;
        else
            break;
    }
    if (slots_.empty()) first_ = number;
    if (number < first_ || static_cast<size_t>(number - first_) >= slots_.capacity()) return kNone;
    const auto slot = static_cast<size_t>(number - first_);
    if (slot >= slots_.size()) // grown ahead, within the room; the slots between hold no point
        slots_.resize(std::min(slots_.capacity(), std::max(slot + 1, slots_.size() + kGrowth)));
    clashed_ = clashed_ || slots_[slot] != 0;
    slots_[slot] = static_cast<uint32_t>(text - file_.data());
    return static_cast<size_t>(p - file_.data());
}

std::string_view PlainPoints::text(long number) const {
    long slot = 0; // numbers are the file's: their difference may overflow
    if (slots_.empty() || __builtin_sub_overflow(number, first_, &slot) || slot < 0 ||
        static_cast<size_t>(slot) >= slots_.size() || slots_[static_cast<size_t>(slot)] == 0)
        return {};
    return file_.substr(slots_[static_cast<size_t>(slot)]);
}

Instance PlainPoints::instance(std::string_view onwards) {
    const char* const text = onwards.data();
    const char* p = text;
    for (bool quoted = false; quoted || *p != ';'; ++p)
        if (*p == kQuote) quoted = !quoted;
    return {text, static_cast<uint32_t>(p - text), Instance::kUnordered};
}

bool PlainPoints::shares(const PlainPoints& other) const {
    if (empty() || other.empty()) return false;
    const long from = std::max(first_, other.first_);
    const long to = std::min(first_ + static_cast<long>(slots_.size()),
                             other.first_ + static_cast<long>(other.slots_.size()));
    for (long number = from; number < to; ++number)
        if (!text(number).empty() && !other.text(number).empty()) return true;
    return false;
}

} // namespace step
