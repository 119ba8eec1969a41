// Whether commands can run and are checked, from the document, the editor's state and the
// host: the table's predicates.
#pragma once

#include "editor/command-host.h"

bool canUndo(const CommandContext& context, CommandId);
bool canRedo(const CommandContext& context, CommandId);
bool canTakeBackPoint(const CommandContext& context, CommandId id);
bool hasShownSelection(const CommandContext& context, CommandId);
bool hasSelectedPatch(const CommandContext& context, CommandId);
bool hasPatches(const CommandContext& context, CommandId);
bool hasChosenSide(const CommandContext& context, CommandId);
bool canSplit(const CommandContext& context, CommandId);
bool hasSelectedSymmetry(const CommandContext& context, CommandId);
bool canGroup(const CommandContext& context, CommandId);
bool hasGroupedSelection(const CommandContext& context, CommandId);
bool hasPointUnderMouse(const CommandContext& context, CommandId);

bool choosingPoints(const CommandContext& context, CommandId);
bool shaded(const CommandContext& context, CommandId);
bool showingJoins(const CommandContext& context, CommandId);
bool showingZebra(const CommandContext& context, CommandId);
bool keepingJoinsSmooth(const CommandContext& context, CommandId);
bool showingCurvature(const CommandContext& context, CommandId);
bool showingGrid(const CommandContext& context, CommandId);
bool flying(const CommandContext& context, CommandId);
// The tool or view mode the command chooses is the current one.
bool currentTool(const CommandContext& context, CommandId id);
bool currentView(const CommandContext& context, CommandId id);
// The host's switches: the projection, the palette's toggles, the planet, the windows.
bool hostChecked(const CommandContext& context, CommandId id);
