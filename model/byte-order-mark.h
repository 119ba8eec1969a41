// Some Windows editors begin UTF-8 text with a byte-order mark; every reader skips it.
#pragma once

#include <string_view>

inline std::string_view withoutByteOrderMark(std::string_view text) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return text.substr(0, kMark.size()) == kMark ? text.substr(kMark.size()) : text;
}
