// The commands whose work is portable, run on the document and the editor's state; each
// says what it did or why it did nothing. The table (command-table.h) names them.
#pragma once

#include <functional>

#include "editor/command-host.h"
#include "editor/point-transform.h"
#include "model/model.h"

// One step of the document called name, after any drag under way became its own; whether
// the change changed something.
bool editModel(CommandContext& context, const char* name,
               const std::function<bool(Model&)>& change);

// Whether a shown patch is selected: what copy, duplicate and mirror take.
bool hasShownSelection(const CommandContext& context);

// Edit
CommandOutcome undoStep(CommandContext& context);
CommandOutcome redoStep(CommandContext& context);
CommandOutcome copySelection(CommandContext& context);
CommandOutcome pasteClipboard(CommandContext& context);
CommandOutcome duplicatePatches(CommandContext& context, bool inPlace);
CommandOutcome deletePatches(CommandContext& context);
CommandOutcome selectEverything(CommandContext& context);
CommandOutcome selectNothing(CommandContext& context);
CommandOutcome switchChoosing(CommandContext& context);

// Surface
enum class SplitKind { AcrossU, AcrossV, InFour };
CommandOutcome extrudeFreeSides(CommandContext& context);
CommandOutcome splitAtPointer(CommandContext& context, SplitKind kind);
CommandOutcome mirrorCopy(CommandContext& context, Axis axis);
CommandOutcome makeSymmetryReal(CommandContext& context);
CommandOutcome smoothJoins(CommandContext& context);
CommandOutcome matchCurvature(CommandContext& context);
CommandOutcome groupPatches(CommandContext& context);
CommandOutcome ungroupPatches(CommandContext& context);
CommandOutcome makeSymmetryGroup(CommandContext& context);

// View and tools
CommandOutcome switchShaded(CommandContext& context);
CommandOutcome switchJoinsDisplay(CommandContext& context);
CommandOutcome switchZebraStripes(CommandContext& context);
CommandOutcome switchKeepJoinsSmooth(CommandContext& context);
CommandOutcome turnStripes(CommandContext& context);
CommandOutcome nextStripeWidth(CommandContext& context);
CommandOutcome switchCurvatureDisplay(CommandContext& context);
CommandOutcome switchCurvatureKind(CommandContext& context);
CommandOutcome pivotAtPoint(CommandContext& context);
