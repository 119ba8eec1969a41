// A toolbar or palette button's tooltip, from the command table: "Save (Ctrl+S)",
// "Undo Extrude (Ctrl+Z)".
#pragma once

#include <string>

#include "editor/command-ids.h"

class Document;

std::wstring buttonTooltip(CommandId id, const Document& document);
