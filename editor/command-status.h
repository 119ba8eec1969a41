// The status bar's one line for what a command did: its own words when it has some, else a
// confirmation made from the command and the state it left, so that every command says
// something and no earlier message stays behind.
#pragma once

#include <string>

#include "editor/command-table.h"

class Model;
struct EditorState;

// "3 patches selected", "1 patch selected", "Nothing selected"; while choosing points
// "12 points chosen" or "No point chosen".
std::string selectionSummary(const Model& model, const EditorState& editor);

// "1 patch", "3 patches".
std::string countOf(size_t count, const char* one, const char* many);

// The line for the command after it ran (outcome is what it returned), its first letter a
// capital.
std::string statusLine(const Command& command, const CommandOutcome& outcome,
                       const CommandContext& context);
