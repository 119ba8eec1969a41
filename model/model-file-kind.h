// What a file's text is, as the commands that read models see it: the editor's own format
// (Open reads it), a standard free-form OBJ or Bezier patch text (Import reads it), or
// neither (a mesh, anything else).
#pragma once

#include <string_view>

enum class ModelFileKind { Editor, Standard, Neither };

ModelFileKind modelFileKind(std::string_view text);
// Whether modelFileKind is Editor, without importing the text as another program's model
// (which would cost the whole import a second time).
bool isEditorModel(std::string_view text);

// Whether writing something else over this text would destroy a model.
inline bool readsAsModel(std::string_view text) {
    return modelFileKind(text) != ModelFileKind::Neither;
}
