#include <charconv>
#include <optional>
#include <unordered_map>

#include "core/mapped-file.h"
#include "model/byte-order-mark.h"
#include "model/obj-format.h"
#include "model/obj-scanner.h"
#include "model/statement-runs.h"
#include "model/tree-item-param.h"

namespace {

using obj::isSpace;
using obj::Scanner;

// Number of "surf" words in the text: the patches the file holds, read or not.
size_t countSurfaces(std::string_view text) {
    size_t count = 0;
    for (size_t at = text.find("surf"); at != std::string_view::npos;
         at = text.find("surf", at + 4)) {
        const bool startsWord = at == 0 || isSpace(text[at - 1]);
        const bool endsWord = at + 4 == text.size() || isSpace(text[at + 4]);
        count += startsWord && endsWord;
    }
    return count;
}

// Line number and text of the line holding position.
ObjResult::Stop stopAt(std::string_view text, const char* position) {
    const size_t offset = static_cast<size_t>(position - text.data());
    ObjResult::Stop stop;
    stop.line = 1;
    for (size_t i = 0; i < offset; ++i)
        stop.line += text[i] == '\n';
    size_t begin = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    begin = begin == std::string_view::npos || offset == 0 ? 0 : begin + 1;
    size_t end = text.find_first_of("\r\n", offset);
    if (end == std::string_view::npos) end = text.size();
    constexpr size_t kShown = 60;
    std::string line(text.substr(begin, end - begin));
    if (line.size() > kShown) line = line.substr(0, kShown) + "...";
    stop.text = std::move(line);
    return stop;
}

ObjResult invalid(std::string reason) {
    return ObjResult::failure(ObjResult::Status::Invalid, std::move(reason));
}

struct PendingLocator {
    std::string name;
    Model::Locator locator;
};

} // namespace

namespace {

// The section readers: each is given the word that may open its section in w and leaves
// there the first word after it. A number that does not parse ends the reading (the
// scanner remembers where).

void readPoints(std::string_view text, Scanner& in, std::string_view& w, Model& model) {
    if (w == "v") {
        in.seek(obj::readPointStatements(text, w.data(), model.points));
        w = in.word();
    }
    while (w == "v") { // only the statement that ended the run above: it stops the reading
        float xyz[3];
        if (!in.numbers(xyz)) return;
        model.points.push_back({xyz[0], xyz[1], xyz[2]});
        w = in.word();
    }
}

void readSymmetries(Scanner& in, std::string_view& w, Model& model) {
    while (w == "symmetry") {
        std::string name(in.word());
        float v[8];
        if (!in.numbers(v)) return;
        auto symmetry = std::make_unique<Model::Symmetry>(std::move(name));
        symmetry->firstVector = {v[0], v[1], v[2], v[3]};
        symmetry->secondVector = {v[4], v[5], v[6], v[7]};
        model.groups.push_back(std::move(symmetry));
        w = in.word();
    }
}

// Why the whole text is refused (a "g" or "m" without "surf"), or nothing.
std::optional<std::string> readPatches(std::string_view text, Scanner& in, std::string_view& w,
                                       Model& model, size_t patchesBefore) {
    // Group names already known, first match kept.
    std::unordered_map<std::string, int32_t> groupByName;
    for (size_t i = 0; i < model.groups.size(); ++i)
        groupByName.emplace(model.groups[i]->name, static_cast<int32_t>(i));

    while (w == "surf" || w == "g" || w == "m") {
        if (w == "surf") { // a run of plain patches, read in pieces
            const char* stop = obj::readPlainSurfaces(text, w.data(), model.patches);
            if (stop != w.data()) {
                in.seek(stop);
                w = in.word();
                continue;
            }
            // Not even the first reads: the statement is read below, and stops the reading.
        }
        std::optional<std::string> groupName;
        if (w == "g") {
            groupName = std::string(in.word());
            w = in.word();
        }
        float alpha = 1.0f;
        if (w == "m") {
            if (!in.number(alpha)) return std::nullopt;
            w = in.word();
        }
        if (w != "surf")
            return "patch " + std::to_string(model.patches.size() - patchesBefore + 1) +
                   " has no \"surf\" statement";
        for (int i = 0; i < 4; ++i)
            in.word(); // the parameter range, whatever it says
        int32_t indices[16];
        if (!in.numbers(indices)) return std::nullopt;

        Model::Patch patch;
        std::copy(std::begin(indices), std::end(indices), patch.indices.begin());
        patch.alpha = alpha;
        if (groupName) {
            auto [it, added] =
                groupByName.emplace(*groupName, static_cast<int32_t>(model.groups.size()));
            if (added) model.groups.push_back(std::make_unique<Model::Group>(*groupName));
            patch.group = it->second;
        }
        model.patches.push_back(patch);

        w = in.word();
        if (w == "end") w = in.word();
    }
    return std::nullopt;
}

std::vector<PendingLocator> readLocators(Scanner& in, std::string_view& w) {
    std::vector<PendingLocator> locators;
    while (w == "locator") {
        PendingLocator pending;
        pending.name = std::string(in.word());
        float v[8];
        if (!in.numbers(v)) break;
        pending.locator.position = {v[0], v[1], v[2], v[3]};
        pending.locator.orientation = {v[4], v[5], v[6], v[7]};
        locators.push_back(std::move(pending));
        w = in.word();
    }
    return locators;
}

// Why a patch read from the text cannot be kept (it names a point outside the pool), or
// nothing.
std::optional<std::string> badIndex(const Model& model, size_t patchesBefore) {
    const int64_t pool = static_cast<int64_t>(model.points.size());
    for (size_t p = patchesBefore; p < model.patches.size(); ++p)
        for (int32_t index : model.patches[p].indices)
            if (index < 0 || index >= pool)
                return "patch " + std::to_string(p - patchesBefore + 1) + " uses point " +
                       std::to_string(index) + ", but there " +
                       (pool == 1 ? "is 1 point" : "are " + std::to_string(pool) + " points");
    return std::nullopt;
}

} // namespace

ObjResult readObj(std::string_view text, Model& model, ModelTree* tree) {
    text = withoutByteOrderMark(text);
    const size_t pointsBefore = model.points.size();
    const size_t patchesBefore = model.patches.size();
    const size_t groupsBefore = model.groups.size();
    auto rollBack = [&](std::string reason) {
        model.points.resize(pointsBefore);
        model.patches.resize(patchesBefore);
        model.groups.resize(groupsBefore);
        return invalid(std::move(reason));
    };

    Scanner in(text);
    static const char* const kHeader[4] = {"cstype", "bezier", "deg", "3"};
    for (const char* expected : kHeader)
        if (in.word() != expected)
            return invalid("it does not start with \"cstype bezier\" and \"deg 3\"");

    // Room for as many points and patches as the text could hold, so that the arrays are
    // filled in place, never copied as they grow (pages not filled are never used).
    model.points.reserve(model.points.size() + text.size() / 8);
    model.patches.reserve(model.patches.size() + text.size() / 44);

    std::string_view w = in.word();
    readPoints(text, in, w, model);
    readSymmetries(in, w, model);
    if (auto refused = readPatches(text, in, w, model, patchesBefore)) return rollBack(*refused);
    std::vector<PendingLocator> locators = readLocators(in, w);
    // Anything else ends the reading; what is left unread is reported.
    const char* stoppedAt = in.failedAt();
    if (!stoppedAt && !w.empty()) stoppedAt = w.data();
    if (auto refused = badIndex(model, patchesBefore)) return rollBack(*refused);

    for (PendingLocator& pending : locators) {
        const uint32_t param = encodeTreeItemParam(TreeItemKind::Locator,
                                                   static_cast<uint32_t>(model.locators.size()));
        if (tree) {
            std::vector<TreeItemHandle>& items = tree->items.locators;
            items.resize(model.locators.size());
            items.push_back(tree->insertLocatorItem(pending.name, param));
        }
        pending.locator.name = std::move(pending.name);
        model.locators.push_back(std::move(pending.locator));
    }
    ObjResult result;
    if (stoppedAt) {
        result.stop = stopAt(text, stoppedAt);
        result.stop->patchesRead = model.patches.size() - patchesBefore;
        result.stop->patchesInFile = countSurfaces(text);
    }
    return result;
}

std::string ObjResult::stopMessage() const {
    if (!stop) return {};
    return "read " + std::to_string(stop->patchesRead) + " of the file's " +
           std::to_string(stop->patchesInFile) + " patches; stopped at line " +
           std::to_string(stop->line) + ": '" + stop->text + "'";
}

ObjResult loadObj(const std::string& path, Model& model, ModelTree* tree) {
    MappedFile file;
    if (!file.open(path))
        return ObjResult::failure(ObjResult::Status::CannotOpen, "it cannot be opened");
    ObjResult result = readObj(file.text(), model, tree);
    file.close();
    // The room left over by the reading goes now that the file's bytes are no longer held.
    model.points.shrink_to_fit();
    model.patches.shrink_to_fit();
    return result;
}
