// The model text's reading steps: words separated by white space and numbers read from the
// front of what follows.
#pragma once

#include <charconv>
#include <string_view>
#include <type_traits>

#include "model/decimal-number.h"

namespace obj {

inline bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\v' || c == '\f';
}
inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Words separated by white space, and numbers read from the front of what follows, the way
// a text stream extracts them: once a number fails, every later read fails and words are
// empty.
class Scanner {
  public:
    explicit Scanner(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    // Where the next word or number is looked for.
    const char* position() const { return p_; }
    void seek(const char* p) { p_ = p; }

    std::string_view word() {
        if (failed_) return {};
        skipSpace();
        const char* begin = p_;
        while (p_ < end_ && !isSpace(*p_))
            ++p_;
        return {begin, static_cast<size_t>(p_ - begin)};
    }

    template <typename T> bool number(T& value) {
        if (failed_) return false;
        skipSpace();
        const char* begin = p_;
        if (begin < end_ && *begin == '+') ++begin;
        // A decimal form only: a sign, then digits or a point (no "inf", "nan" or "+-").
        const char* first = begin < end_ && *begin == '-' && begin == p_ ? begin + 1 : begin;
        if (first >= end_ || !(isDigit(*first) || (*first == '.' && std::is_floating_point_v<T>)))
            return fail();
        const char* next = decimal::parse(begin, end_, value);
        if (!next) return fail();
        p_ = next;
        return true;
    }

    // Where the reading failed (the number that did not parse), or null.
    const char* failedAt() const { return failed_ ? failedAt_ : nullptr; }

    template <typename T, size_t N> bool numbers(T (&values)[N]) {
        for (T& v : values)
            if (!number(v)) return false;
        return true;
    }

  private:
    void skipSpace() {
        while (p_ < end_ && isSpace(*p_))
            ++p_;
    }
    bool fail() {
        failed_ = true;
        failedAt_ = p_;
        return false;
    }

    const char* p_;
    const char* end_;
    bool failed_ = false;
    const char* failedAt_ = nullptr;
};

} // namespace obj
