// Fuzz target for the model-file reader: whatever the bytes, reading must not crash, must
// leave every patch index inside the pool, and a file it accepted must read back from its
// own output to the same text. The text is read twice, in one sequence and in pieces of a
// few bytes on every core (as a large file is read), and both readings must agree.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/memory-tree.h"
#include "model/obj-format.h"
#include "model/statement-runs.h"

namespace {

struct Reading {
    ObjResult result;
    std::string written;
};

Reading readWith(std::string_view text, size_t pieceBytes) {
    obj::setPieceBytes(pieceBytes);
    Model model;
    MemoryTree tree;
    Reading r{readObj(text, model, &tree), {}};
    if (!model.indicesValid()) std::abort();
    if (!r.result.ok()) {
        if (!model.points.empty() || !model.patches.empty() || !model.locators.empty())
            std::abort();
        return r;
    }
    r.written = writeObj(model);
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const Reading sequence = readWith(text, 0);
    const Reading pieces = readWith(text, 16 + size % 48);
    if (sequence.result.status != pieces.result.status || sequence.written != pieces.written ||
        sequence.result.partial() != pieces.result.partial() ||
        (sequence.result.partial() && sequence.result.stop->line != pieces.result.stop->line))
        std::abort();
    if (!sequence.result.ok()) return 0;
    obj::setPieceBytes(obj::kDefaultPieceBytes);
    Model again;
    MemoryTree againTree;
    if (!readObj(sequence.written, again, &againTree).ok()) std::abort();
    if (writeObj(again) != sequence.written) std::abort();
    return 0;
}
