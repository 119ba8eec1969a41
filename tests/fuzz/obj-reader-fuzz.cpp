// Fuzz target for the model-file reader: whatever the bytes, reading must not crash, must
// leave every patch index inside the pool, and a file it accepted must read back from its
// own output to the same text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/memory-tree.h"
#include "model/obj-format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    Model model;
    MemoryTree tree;
    ObjResult result = readObj(text, model, &tree);
    if (!model.indicesValid()) std::abort();
    if (!result.ok()) {
        if (!model.points.empty() || !model.patches.empty() || !model.locators.empty()) std::abort();
        return 0;
    }
    const std::string written = writeObj(model);
    Model again;
    MemoryTree againTree;
    if (!readObj(written, again, &againTree).ok()) std::abort();
    if (writeObj(again) != written) std::abort();
    return 0;
}
