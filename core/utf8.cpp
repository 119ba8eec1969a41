#include "core/utf8.h"

namespace utf8 {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kSurrogatesFirst = 0xD800, kSurrogatesLast = 0xDFFF;

bool continuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

} // namespace

char32_t next(std::string_view text, size_t& at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    char32_t c = 0, least = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, least = 0x10000;
    }
    if (length == 0 || at + length > text.size()) {
        ++at;
        return kReplacement;
    }
    for (size_t k = 1; k < length; ++k) {
        const unsigned char b = static_cast<unsigned char>(text[at + k]);
        if (!continuation(b)) {
            ++at;
            return kReplacement;
        }
        c = (c << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not characters.
    if (c < least || c > kLastCodePoint || (c >= kSurrogatesFirst && c <= kSurrogatesLast)) {
        ++at;
        return kReplacement;
    }
    at += length;
    return c;
}

void append(std::string& out, char32_t c) {
    if (c > kLastCodePoint || (c >= kSurrogatesFirst && c <= kSurrogatesLast)) c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string_view prefix(std::string_view text, size_t bytes) {
    size_t end = 0;
    for (size_t at = 0; at < text.size();) {
        next(text, at);
        if (at > bytes) break;
        end = at;
    }
    return text.substr(0, end);
}

bool valid(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const size_t from = at;
        if (next(text, at) == kReplacement &&
            text.substr(from, at - from) != "\xEF\xBF\xBD") // U+FFFD written out is valid
            return false;
    }
    return true;
}

} // namespace utf8
