#include "editor/pasted-text.h"

#include <cmath>

#include "editor/typed-coordinates.h"

namespace {

std::string_view firstWord(std::string_view line) {
    const size_t start = line.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) return {};
    line.remove_prefix(start);
    return line.substr(0, line.find_first_of(" \t\r"));
}

} // namespace

std::string cutTextReason(std::string_view text) {
    if (text.empty() || text.back() != '\n')
        return "the text is cut short: its last line has no line end";
    size_t lineNumber = 0, openedAt = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\n', at);
        const std::string_view word = firstWord(text.substr(at, end - at));
        ++lineNumber;
        if (word == "surf") {
            if (openedAt) break;
            openedAt = lineNumber;
        } else if (word == "end") {
            openedAt = 0;
        }
        at = end + 1;
    }
    return openedAt ? "the text is cut short: the patch at line " + std::to_string(openedAt) +
                          " has no \"end\""
                    : std::string{};
}

std::string untypableValueReason(const Model& part) {
    auto inRange = [](float v) { return std::fabs(v) <= kWorkingRange; };
    for (size_t i = 0; i < part.points.size(); ++i) {
        const vm::Float3& p = part.points[i];
        if (!inRange(p.x) || !inRange(p.y) || !inRange(p.z))
            return "point " + std::to_string(i) +
                   " of the text lies outside the working range (-1e9 to 1e9)";
    }
    for (size_t p = 0; p < part.patches.size(); ++p) {
        const float alpha = part.patches[p].alpha;
        if (!(alpha >= kLeastOpacity && alpha <= kMostOpacity))
            return "patch " + std::to_string(p + 1) + " of the text has an opacity outside 0 to 1";
    }
    return {};
}
