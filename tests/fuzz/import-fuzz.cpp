// Fuzz target for the importers (standard free-form OBJ, Bezier patch text, IGES and STEP):
// whatever the bytes, importing must not crash, a refusal leaves the model empty, and an accepted
// model has every index inside its pool and reads back whole from the editor's own format.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/batch-conversion.h"
#include "model/logical-lines.h"
#include "model/obj-format.h"
#include "model/patch-import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Small blocks and batches: short inputs go through the reading on several threads.
    static const bool small = (LogicalLines::setBlockBytes(64), batches::setItems(3), true);
    (void)small;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    Model model;
    const ImportResult result = importPatches(text, model);
    if (!model.indicesValid()) std::abort();
    if (!result.ok) {
        if (!model.points.empty() || !model.patches.empty() || !model.groups.empty()) std::abort();
        return 0;
    }
    if (model.patches.empty()) std::abort();
    for (const Model::Patch& patch : model.patches)
        if (patch.group >= static_cast<int32_t>(model.groups.size())) std::abort();
    if (!unwritableReason(model).empty()) return 0; // a cut-out piece may overflow: Save says so
    Model back;
    const ObjResult read = readObj(writeObj(model), back, nullptr);
    if (!read.ok() || read.partial() || back.patches.size() != model.patches.size()) std::abort();
    return 0;
}
