#include "model/step-text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "core/utf8.h"

namespace step {

namespace {

constexpr char kQuote = '\'';
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

// The top-level parameters between text's first parenthesis and its match.
std::vector<std::string> parameters(std::string_view inside) {
    std::vector<std::string> out;
    if (inside.empty()) return out;
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
            out.emplace_back(inside.substr(from, i - from));
            from = i + 1;
        }
    }
    return out;
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

std::map<long, std::string> instanceTexts(std::string_view text, std::string* damage) {
    std::map<long, std::string> instances;
    std::string numbering; // the first instance number used twice or too large
    bool ended = false;
    std::string statement;
    bool quoted = false, inData = false;
    for (size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (!quoted && c == '/' && at + 1 < text.size() && text[at + 1] == '*') {
            const size_t end = text.find("*/", at + 2);
            if (end == std::string_view::npos) break;
            at = end + 1;
            continue;
        }
        if (c == kQuote) quoted = !quoted;
        if (c == '\r' || c == '\n' || (!quoted && isSpace(c))) continue;
        if (quoted || c != ';') {
            statement += c;
            continue;
        }
        if (statement == "ENDSEC") {
            inData = false;
        } else if (statement == "DATA" || startsWith(statement, "DATA(")) {
            inData = true;
        } else if (statement == "END-ISO-10303-21") {
            ended = true;
            break;
        } else if (inData && statement.size() > 1 && statement[0] == '#') {
            const size_t equals = statement.find('=');
            char* end = nullptr;
            errno = 0;
            const long number = std::strtol(statement.c_str() + 1, &end, 10);
            const bool tooLarge = errno == ERANGE;
            if (equals != std::string::npos && end == statement.c_str() + equals &&
                (tooLarge || !instances.emplace(number, statement.substr(equals + 1)).second) &&
                numbering.empty())
                numbering =
                    statement.substr(0, equals) +
                    (tooLarge ? " is too large an instance number" : " names two instances");
        }
        statement.clear();
    }
    if (damage)
        *damage = !numbering.empty() ? numbering
                  : ended            ? ""
                                     : "it ends before END-ISO-10303-21: the file is cut short";
    return instances;
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

std::vector<std::string> listItems(std::string_view list) {
    if (list.size() < 2 || list.front() != '(' || closingParenthesis(list, 0) != list.size() - 1)
        return {};
    return parameters(list.substr(1, list.size() - 2));
}

bool reference(std::string_view parameter, long& number) {
    if (parameter.size() < 2 || parameter[0] != '#') return false;
    const std::string digits(parameter.substr(1));
    char* end = nullptr;
    errno = 0;
    number = std::strtol(digits.c_str(), &end, 10);
    return end == digits.c_str() + digits.size() && errno != ERANGE;
}

bool number(std::string_view parameter, double& value) {
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
        if (s[at] == kQuote) { // '' is one quote
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
