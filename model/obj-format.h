// Model files: the free-form surface dialect of Wavefront OBJ with statements of the
// editor's own ("g" groups, "m" opacity, "symmetry", "locator"). Control-point indices are
// 0-based positions in the order of the "v" statements. Lines end in CR LF.
#pragma once

#include <string>
#include <string_view>

#include "model/model-tree.h"
#include "model/model.h"

struct ObjResult {
    enum class Status { Ok, CannotOpen, Invalid, CannotWrite };
    Status status = Status::Ok;
    std::string reason; // for the user: why the file was refused or not written

    bool ok() const { return status == Status::Ok; }
};

// Reads model text, appending to the model. Reading stops silently at the first word that is
// not the next expected statement, keeping what was read; a statement cut short by a
// number that does not parse is dropped. A bad header, a "g"/"m" without "surf", or a patch
// naming a point outside the pool makes the text invalid: the model is left as it was.
// Locators get an item in tree (their name lives there).
ObjResult readObj(std::string_view text, Model& model, ModelTree* tree);

// The model as text, every section written.
std::string writeObj(const Model& model, const ModelTree* tree);

// Opens path and appends its model, then rebuilds the buffers. A file that cannot be
// opened leaves the model as it was.
ObjResult loadObj(const std::string& path, Model& model, ModelTree* tree);

// Writes the model to path through a temporary file renamed over it: a failed save leaves
// the previous file whole.
ObjResult saveObj(const Model& model, const std::string& path, const ModelTree* tree);
