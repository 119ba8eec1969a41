#include "model/model-file-kind.h"

#include "model/obj-format.h"
#include "model/patch-import.h"

bool isEditorModel(std::string_view text) {
    Model model;
    const ObjResult own = readObj(text, model, nullptr);
    // A standard file passes the editor's header and stops at once, nothing read.
    return own.ok() && !(own.partial() && model.points.empty() && model.patches.empty());
}

ModelFileKind modelFileKind(std::string_view text) {
    if (isEditorModel(text)) return ModelFileKind::Editor;
    Model imported;
    return importPatches(text, imported).ok ? ModelFileKind::Standard : ModelFileKind::Neither;
}
