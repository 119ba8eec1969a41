#include "model/step-survey.h"

#include "core/parallel-ranges.h"

namespace step {

namespace {

const char* among(std::string_view keyword, const std::string_view* keywords, size_t count) {
    for (size_t k = 0; k < count; ++k)
        if (keyword == keywords[k]) return keywords[k].data();
    return nullptr;
}

template <size_t n>
const char* among(std::string_view keyword, const std::string_view (&keywords)[n]) {
    return among(keyword, keywords, n);
}

// The ranges of the list the cores take in turn; each range's findings are kept apart and
// joined in order afterwards.
constexpr size_t kRanges = 16;
constexpr size_t kThreads = 2;
constexpr std::string_view kPoint = "CARTESIAN_POINT";

} // namespace

const char* keywordAmong(std::string_view text, const std::string_view* keywords, size_t count) {
    if (!text.empty() && text[0] != '(') {
        size_t open = 0; // a keyword's few letters: looked through without a library call
        while (open < text.size() && text[open] != '(')
            ++open;
        return among(text.substr(0, open), keywords, count);
    }
    for (const Record& r : records(text))
        if (const char* k = among(r.keyword, keywords, count)) return k;
    return nullptr;
}

Survey survey(const Instances& instances) {
    const Instances::Instance* all = instances.begin();
    const size_t size = instances.size();
    Survey found[kRanges];
    auto look = [&](size_t i, Survey& out) {
        const std::string_view text = all[i].text();
        if (text.find('#') != std::string_view::npos) out.referring.push_back(i);
        const char *other = nullptr, *placing = nullptr, *withKnots = nullptr, *read = nullptr;
        if (!text.empty() && text[0] != '(') { // simple: its keyword found once
            size_t open = 0;
            while (open < text.size() && text[open] != '(')
                ++open;
            const std::string_view keyword = text.substr(0, open);
            if (keyword == kPoint) return; // most of a file: none of those looked for
            other = among(keyword, kOtherSurfaces);
            placing = among(keyword, kPlacing);
            withKnots = among(keyword, kWithKnots);
            read = among(keyword, kRead);
        } else {
            other = keywordAmong(text, kOtherSurfaces);
            placing = keywordAmong(text, kPlacing);
            withKnots = keywordAmong(text, kWithKnots);
            read = keywordAmong(text, kRead);
        }
        if (other) out.otherSurfaces.emplace_back(i, other);
        if (placing) out.placing.push_back(i);
        if (withKnots) out.withKnots.push_back(all[i].number());
        if (read) out.read.push_back(i);
    };
    inParallelRanges(
        kRanges,
        [&](size_t from, size_t to) {
            for (size_t r = from; r < to; ++r)
                for (size_t i = size * r / kRanges; i < size * (r + 1) / kRanges; ++i) {
                    if (i + Instances::Instance::kAhead < size)
                        all[i + Instances::Instance::kAhead].prefetch();
                    look(i, found[r]);
                }
        },
        kThreads);
    Survey out;
    auto join = [&](auto list) { // each list sized once, then the ranges' parts in order
        auto& into = out.*list;
        size_t total = 0;
        for (const Survey& some : found)
            total += (some.*list).size();
        into.reserve(total);
        for (const Survey& some : found)
            into.insert(into.end(), (some.*list).begin(), (some.*list).end());
    };
    join(&Survey::otherSurfaces);
    join(&Survey::placing);
    join(&Survey::withKnots);
    join(&Survey::read);
    join(&Survey::referring);
    return out;
}

} // namespace step
