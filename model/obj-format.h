// Model files: the free-form surface dialect of Wavefront OBJ with statements of the
// editor's own ("g" groups, "m" opacity, "symmetry", "locator"). Control-point indices are
// 0-based positions in the order of the "v" statements. Lines end in CR LF.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "model/model-tree.h"
#include "model/model.h"

struct ObjResult {
    enum class Status { Ok, CannotOpen, Invalid, CannotWrite };
    Status status = Status::Ok;
    std::string reason; // for the user: why the file was refused or not written

    // Set when reading stopped before the end of an accepted text: what was read before
    // the stop is kept, the rest is not in the model.
    struct Stop {
        size_t line = 0;          // 1-based line of the statement that stopped the reading
        std::string text;         // that line, cut to a readable length
        size_t patchesRead = 0;   // patches taken from this text
        size_t patchesInFile = 0; // "surf" statements in the whole text
    };
    std::optional<Stop> stop;

    static ObjResult failure(Status status, std::string reason) {
        ObjResult r;
        r.status = status;
        r.reason = std::move(reason);
        return r;
    }
    bool ok() const { return status == Status::Ok; }
    bool partial() const { return ok() && stop.has_value(); }
    // "read 12 of the file's 20 patches; stopped at line 214: '# comment'"
    std::string stopMessage() const;
};

// Reads model text, appending to the model. Reading stops at the first word that is not the
// next expected statement, keeping what was read, and the result says where; a statement
// cut short by a number that does not parse is dropped. A bad header, a "g"/"m" without "surf", or
// a patch naming a point outside the pool makes the text invalid: the model is left as it was.
// Locators get an item in tree.
ObjResult readObj(std::string_view text, Model& model, ModelTree* tree);

// How many digits a written value keeps: six, the file's form that stored files rely on, or
// as many as the float needs to read back exactly (the clipboard: a pasted copy lies where
// the original does, even far from the origin in small units).
enum class WrittenDigits { Six, Exact };

// The model as text, every section written.
std::string writeObj(const Model& model, WrittenDigits digits = WrittenDigits::Six);

// Opens path and appends its model. A file that cannot be
// opened leaves the model as it was.
ObjResult loadObj(const std::string& path, Model& model, ModelTree* tree);

// Writes the model to path through a temporary file renamed over it: a failed save leaves
// the previous file whole. A model the reader could not take back whole (a coordinate,
// opacity or locator value that is not a finite number) is refused with Invalid.
ObjResult saveObj(const Model& model, const std::string& path);

// A value as the model text keeps it (six significant digits).
float asWritten(float value);
// Whether the written text of a value reads back as a number: every finite float does (the
// largest, 3.4028235e38, is written 3.40282e+38).
inline bool readsBack(float value) {
    return std::isfinite(value);
}

// Why the model cannot be written so that it reads back whole ("point 12 has a coordinate
// that is not a finite number"), or "" when it can.
std::string unwritableReason(const Model& model);
