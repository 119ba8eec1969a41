#include "editor/command-table.h"

#include "editor/command-runs.h"
#include "editor/command-states.h"

namespace {

using K = KeyContext;
using C = CommandId;

// Keys as the windows handle them: the file and window shortcuts go down anywhere, exactly
// with their modifiers; the editing letters mostly act as they come up.
constexpr KeyBinding press(Key key, Modifiers modifiers, K context, Modifiers ignored = kAnyAxis) {
    return {key, modifiers, KeyEdge::Press, context, ignored};
}
constexpr KeyBinding release(Key key, Modifiers modifiers, K context,
                             Modifiers ignored = kAnyAxis) {
    return {key, modifiers, KeyEdge::Release, context, ignored};
}
constexpr KeyBinding anywhere(Key key, Modifiers modifiers = kNoModifier) {
    return press(key, modifiers, K::Always);
}
constexpr Key L(char capital) {
    return letterKey(capital);
}
constexpr Modifiers kShiftOrNot = kShift | kAnyAxis;

// One entry, its optional parts named where they are given.
struct Row {
    Command command;
    Row(CommandId id, const char* name, Menu menu, const char* description)
        : command{id, name, menu} {
        command.description = description;
    }
    Row& in(Submenu submenu) {
        command.submenu = submenu;
        return *this;
    }
    Row& below() { // a separator above it
        command.separatorBefore = true;
        return *this;
    }
    Row& keys(KeyBinding first, KeyBinding second = {}) {
        command.keys = {first, second};
        return *this;
    }
    Row& when(bool (*canRun)(const CommandContext&, CommandId)) {
        command.canRun = canRun;
        return *this;
    }
    Row& checks(bool (*checked)(const CommandContext&, CommandId)) {
        command.checked = checked;
        return *this;
    }
    Row& runs(CommandOutcome (*run)(CommandContext&)) {
        command.run = run;
        return *this;
    }
    operator Command() const { return command; }
};

const Command kCommands[] = {
    // File
    Row(C::New, "New", Menu::File,
        "a new untitled document (the built-in model), after asking about unsaved changes")
        .keys(anywhere(L('N'), kCtrl)),
    Row(C::Open, "Open…", Menu::File, "opens a model file, after asking about unsaved changes")
        .keys(anywhere(L('O'), kCtrl)),
    Row(C::OpenRecent, "Open Recent", Menu::File, "opens one of the files opened last")
        .in(Submenu::OpenRecent),
    Row(C::Save, "Save", Menu::File,
        "writes the document to its file (asks for a name the first time)")
        .below()
        .keys(anywhere(L('S'), kCtrl)),
    Row(C::SaveAs, "Save As…", Menu::File, "writes the document under another name")
        .keys(anywhere(L('S'), kCtrl | kShift)),
    Row(C::Import, "Import…", Menu::File,
        "reads free-form OBJ, Bezier patch text, IGES or STEP surfaces as a new document")
        .below()
        .keys(anywhere(L('I'), kCtrl)),
    Row(C::Export, "Export…", Menu::File,
        "writes the surfaces as a mesh (OBJ, STL) or exactly (IGES, STEP, free-form OBJ)")
        .keys(anywhere(L('E'), kCtrl)),
    Row(C::Exit, "Exit", Menu::File, "closes the editor, after asking about unsaved changes")
        .below(),
    // Edit
    Row(C::Undo, "Undo", Menu::Edit, "takes back the last change of the document")
        .keys(anywhere(L('Z'), kCtrl))
        .when(canUndo)
        .runs(undoStep),
    Row(C::Redo, "Redo", Menu::Edit, "does the change undone last again")
        .keys(anywhere(L('Y'), kCtrl), anywhere(L('Z'), kCtrl | kShift))
        .when(canRedo)
        .runs(redoStep),
    Row(C::TakeBackPoint, "Take Back Point", Menu::Edit, "takes back the add tool's last point")
        .when(canTakeBackPoint),
    Row(C::Copy, "Copy", Menu::Edit,
        "copies the shown selected patches to the clipboard as model text")
        .below()
        .keys(press(L('C'), kCtrl, K::Editing, kShiftOrNot))
        .when(hasShownSelection)
        .runs(copySelection),
    Row(C::Paste, "Paste", Menu::Edit,
        "adds the patches of the model text on the clipboard, with new points")
        .keys(press(L('V'), kCtrl, K::Editing, kShiftOrNot))
        .runs(pasteClipboard),
    Row(C::Duplicate, "Duplicate", Menu::Edit,
        "copies the shown selected patches beside them along x")
        .keys(press(L('D'), kCtrl, K::Editing))
        .when(hasShownSelection)
        .runs([](CommandContext& c) { return duplicatePatches(c, false); }),
    Row(C::DuplicateInPlace, "Duplicate in Place", Menu::Edit,
        "copies the shown selected patches where they are")
        .keys(press(L('D'), kCtrl | kShift, K::Editing))
        .when(hasShownSelection)
        .runs([](CommandContext& c) { return duplicatePatches(c, true); }),
    Row(C::Delete, "Delete", Menu::Edit,
        "deletes the selected patches and the points no other patch uses")
        .keys(press(Key::Delete, kNoModifier, K::Editing))
        .when(hasSelectedPatch)
        .runs(deletePatches),
    Row(C::SelectAll, "Select All", Menu::Edit,
        "selects every patch (every shown point while choosing points)")
        .below()
        .keys(press(L('A'), kCtrl, K::Always, kShiftOrNot))
        .when(hasPatches)
        .runs(selectEverything),
    Row(C::SelectNone, "Select None", Menu::Edit,
        "selects no patch (chooses no point while choosing points)")
        .when(hasPatches)
        .runs(selectNothing),
    Row(C::ChoosePoints, "Choose Points", Menu::Edit,
        "the select tool chooses control points instead of patches, or patches again")
        .keys(release(L('P'), kNoModifier, K::Editing, kShiftOrNot))
        .checks(choosingPoints)
        .runs(switchChoosing),
    // View
    Row(C::Orthographic, "Orthographic", Menu::View,
        "the single view between perspective and orthographic")
        .keys(release(L('O'), kNoModifier, K::Editing, kShiftOrNot))
        .checks(hostChecked),
    Row(C::OrbitView, "Orbit View", Menu::View, "the view around the camera's target")
        .below()
        .checks(currentView),
    Row(C::FrontView, "Front View", Menu::View, "looks along the z axis").checks(currentView),
    Row(C::SideView, "Side View", Menu::View, "looks along the x axis").checks(currentView),
    Row(C::TopView, "Top View", Menu::View, "looks down the y axis").checks(currentView),
    Row(C::QuadLayout, "Quad Layout", Menu::View,
        "four views: the orbit view and three along the axes")
        .checks(currentView),
    Row(C::NextView, "Next View", Menu::View,
        "steps through orbit, top, side, quad and front, as the palette's first button does"),
    Row(C::Shaded, "Shaded", Menu::View,
        "the patches lit from behind the camera, or in flat colours")
        .below()
        .keys(release(L('L'), kNoModifier, K::Editing, kAnyModifier))
        .checks(shaded)
        .runs(switchShaded),
    Row(C::Wireframe, "Wireframe", Menu::View, "draws the patches as lines").checks(hostChecked),
    Row(C::JoinsDisplay, "Joins Display", Menu::View,
        "each shared edge coloured by how smoothly its patches meet")
        .keys(release(L('G'), kNoModifier, K::Editing, kShiftOrNot))
        .checks(showingJoins)
        .runs(switchJoinsDisplay),
    Row(C::ZebraStripes, "Zebra Stripes", Menu::View,
        "light bands reflected in the surfaces: they kink at a smooth join, jump at a crease "
        "and flow on where the curvature matches")
        .keys(release(L('U'), kNoModifier, K::Editing))
        .checks(showingZebra)
        .runs(switchZebraStripes),
    Row(C::TurnStripes, "Turn Stripes", Menu::View, "turns the zebra stripes by 30 degrees")
        .keys(release(L('U'), kShift, K::Editing))
        .when(showingZebra)
        .runs(turnStripes),
    Row(C::StripeWidth, "Stripe Width", Menu::View,
        "steps the zebra stripes through 4, 8, 16 and 32 bands")
        .keys(release(L('U'), kCtrl, K::Editing))
        .when(showingZebra)
        .runs(nextStripeWidth),
    Row(C::CurvatureDisplay, "Curvature", Menu::View,
        "the surfaces coloured by their mean or Gaussian curvature, blue to green to red over "
        "the range the status bar gives")
        .keys(release(L('C'), kNoModifier, K::Editing))
        .checks(showingCurvature)
        .runs(switchCurvatureDisplay),
    Row(C::CurvatureKind, "Gaussian or Mean", Menu::View,
        "colours the Gaussian curvature instead of the mean, or the mean again")
        .keys(release(L('C'), kShift, K::Editing))
        .when(showingCurvature)
        .runs(switchCurvatureKind),
    Row(C::Grid, "Grid", Menu::View, "the ground grid (in the quad layout, then the locators too)")
        .checks(showingGrid),
    Row(C::Planet, "Planet", Menu::View, "shows or hides the planet")
        .below()
        .keys(release(L('H'), kNoModifier, K::Always, kAnyModifier))
        .checks(hostChecked),
    Row(C::Sphere, "Sphere", Menu::View, "shows or hides the planet's sphere mesh")
        .keys(release(L('J'), kNoModifier, K::Always, kAnyModifier))
        .checks(hostChecked),
    Row(C::WireSphere, "Wire Sphere", Menu::View, "shows or hides the wire sphere")
        .keys(release(L('K'), kNoModifier, K::Always, kAnyModifier))
        .checks(hostChecked),
    Row(C::FrameSelection, "Frame Selection", Menu::View,
        "the selection, or the whole model, fills about two thirds of the view")
        .below()
        .keys(press(Key::Period, kNoModifier, K::Editing, kAnyModifier)),
    Row(C::CentreView, "Centre View", Menu::View, "the camera's target back to the origin"),
    Row(C::CentreOnSelection, "Centre on Selection", Menu::View,
        "the camera's target to the centre of the selection"),
    Row(C::ChoosePicture, "Choose Picture…", Menu::View,
        "a picture behind the model in the current axis view (the front view otherwise)")
        .in(Submenu::ReferencePicture)
        .below()
        .keys(press(L('R'), kCtrl, K::Editing)),
    Row(C::RemovePicture, "Remove Picture", Menu::View, "takes the reference picture away")
        .in(Submenu::ReferencePicture)
        .keys(press(L('R'), kCtrl | kShift, K::Editing)),
    Row(C::PictureLeft, "Move Left", Menu::View, "moves the picture left by a tenth of its width")
        .in(Submenu::ReferencePicture)
        .below()
        .keys(press(Key::Left, kCtrl, K::Editing, kShiftOrNot)),
    Row(C::PictureRight, "Move Right", Menu::View,
        "moves the picture right by a tenth of its width")
        .in(Submenu::ReferencePicture)
        .keys(press(Key::Right, kCtrl, K::Editing, kShiftOrNot)),
    Row(C::PictureUp, "Move Up", Menu::View, "moves the picture up by a tenth of its width")
        .in(Submenu::ReferencePicture)
        .keys(press(Key::Up, kCtrl, K::Editing, kShiftOrNot)),
    Row(C::PictureDown, "Move Down", Menu::View, "moves the picture down by a tenth of its width")
        .in(Submenu::ReferencePicture)
        .keys(press(Key::Down, kCtrl, K::Editing, kShiftOrNot)),
    Row(C::PictureLarger, "Larger", Menu::View, "grows the picture by a tenth")
        .in(Submenu::ReferencePicture)
        .below()
        .keys(press(Key::PageUp, kCtrl, K::Editing)),
    Row(C::PictureSmaller, "Smaller", Menu::View, "shrinks the picture by a tenth")
        .in(Submenu::ReferencePicture)
        .keys(press(Key::PageDown, kCtrl, K::Editing)),
    Row(C::PictureMoreOpaque, "More Opaque", Menu::View, "makes the picture more opaque")
        .in(Submenu::ReferencePicture)
        .below()
        .keys(press(Key::PageUp, kCtrl | kShift, K::Editing)),
    Row(C::PictureLessOpaque, "Less Opaque", Menu::View, "makes the picture more transparent")
        .in(Submenu::ReferencePicture)
        .keys(press(Key::PageDown, kCtrl | kShift, K::Editing)),
    Row(C::ShowPalette, "Palette", Menu::View, "shows the tool palette again")
        .below()
        .keys(anywhere(Key::F6))
        .checks(hostChecked),
    Row(C::ShowShapeWindow, "Shape Window", Menu::View,
        "shows the shape window (tree and points) again")
        .keys(anywhere(Key::F7))
        .checks(hostChecked),
    // Tools
    Row(C::SelectTool, "Select", Menu::Tools,
        "clicks and rubber bands select patches (or choose points)")
        .checks(currentTool),
    Row(C::AddTool, "Add", Menu::Tools, "sixteen clicks build a new patch").checks(currentTool),
    Row(C::RotateTool, "Rotate", Menu::Tools,
        "a drag turns the selection (X, Y or Z held: about that axis)")
        .checks(currentTool),
    Row(C::TranslateTool, "Translate", Menu::Tools,
        "a drag moves the selection on the ground or vertically")
        .checks(currentTool),
    Row(C::ScaleTool, "Scale", Menu::Tools, "a drag grows or shrinks the selection about its pivot")
        .checks(currentTool),
    Row(C::LocatorTool, "Locator", Menu::Tools, "a click places a locator").checks(currentTool),
    Row(C::Dissociate, "Dissociate", Menu::Tools,
        "a click on a point gives the highest patch using it its own copy")
        .below()
        .checks(hostChecked),
    Row(C::Joint, "Joint", Menu::Tools, "two clicks merge the second point into the first")
        .checks(hostChecked),
    Row(C::SetPivot, "Set Pivot at Point", Menu::Tools,
        "turns and scales go about the point under the mouse")
        .below()
        .keys(release(L('V'), kNoModifier, K::Editing, kShiftOrNot))
        .when(hasPointUnderMouse)
        .runs(pivotAtPoint),
    // Surface
    Row(C::Extrude, "Extrude Free Sides", Menu::Surface,
        "grows a patch from every free side whose four points are chosen")
        .keys(release(L('E'), kNoModifier, K::Editing, kShiftOrNot))
        .when(hasChosenSide)
        .runs(extrudeFreeSides),
    Row(C::SplitAcrossU, "Split Across U", Menu::Surface,
        "splits the patch under the pointer there (or the selected ones in half) with a new column")
        .below()
        .keys(release(L('B'), kNoModifier, K::Editing))
        .when(canSplit)
        .runs([](CommandContext& c) { return splitAtPointer(c, SplitKind::AcrossU); }),
    Row(C::SplitAcrossV, "Split Across V", Menu::Surface, "the same across v, with a new row")
        .keys(release(L('B'), kShift, K::Editing))
        .when(canSplit)
        .runs([](CommandContext& c) { return splitAtPointer(c, SplitKind::AcrossV); }),
    Row(C::SplitInFour, "Split in Four", Menu::Surface, "the same both ways: four patches")
        .keys(release(L('B'), kCtrl, K::Editing, kShiftOrNot))
        .when(canSplit)
        .runs([](CommandContext& c) { return splitAtPointer(c, SplitKind::InFour); }),
    Row(C::MirrorAcrossX, "Mirror Copy Across X", Menu::Surface,
        "a mirrored copy of the shown selected patches across the x plane through the pivot")
        .below()
        .keys(release(L('M'), kNoModifier, K::Editing, kHoldX))
        .when(hasShownSelection)
        .runs([](CommandContext& c) { return mirrorCopy(c, Axis::X); }),
    Row(C::MirrorAcrossY, "Mirror Copy Across Y", Menu::Surface, "the same across the y plane")
        .keys(release(L('M'), kHoldY, K::Editing, kNoModifier))
        .when(hasShownSelection)
        .runs([](CommandContext& c) { return mirrorCopy(c, Axis::Y); }),
    Row(C::MirrorAcrossZ, "Mirror Copy Across Z", Menu::Surface, "the same across the z plane")
        .keys(release(L('M'), kHoldZ, K::Editing, kNoModifier))
        .when(hasShownSelection)
        .runs([](CommandContext& c) { return mirrorCopy(c, Axis::Z); }),
    Row(C::MakeSymmetryReal, "Make Symmetry Real", Menu::Surface,
        "the selected symmetry's mirror image becomes patches of their own")
        .keys(release(L('M'), kShift, K::Editing))
        .when(hasSelectedSymmetry)
        .runs(makeSymmetryReal),
    Row(C::SmoothJoins, "Smooth Joins", Menu::Surface,
        "makes every join between selected patches smooth")
        .below()
        .keys(release(L('T'), kNoModifier, K::Editing))
        .when(hasSelectedPatch)
        .runs(smoothJoins),
    Row(C::MatchCurvature, "Match Curvature", Menu::Surface,
        "makes every join between selected patches smooth, then curvature-continuous (G2)")
        .keys(release(L('T'), kShift, K::Editing))
        .when(hasSelectedPatch)
        .runs(matchCurvature),
    Row(C::KeepJoinsSmooth, "Keep Joins Smooth", Menu::Surface,
        "while points are dragged, typed or transformed, the rows across each smooth join "
        "they touch move with them, so the join stays smooth")
        .keys(release(L('T'), kCtrl, K::Editing))
        .checks(keepingJoinsSmooth)
        .runs(switchKeepJoinsSmooth),
    Row(C::Group, "Group", Menu::Surface, "puts the selected patches into a new group")
        .below()
        .when(canGroup)
        .runs(groupPatches),
    Row(C::Ungroup, "Ungroup", Menu::Surface, "the selected patches leave their group or symmetry")
        .when(hasGroupedSelection)
        .runs(ungroupPatches),
    Row(C::Symmetry, "Symmetry", Menu::Surface,
        "puts the selected patches into a new mirror symmetry through x = 0")
        .when(hasSelectedPatch)
        .runs(makeSymmetryGroup),
    // Flight
    Row(C::Play, "Play", Menu::Flight,
        "flies the model as a ship around the planet (again: back to editing)")
        .checks(flying),
    Row(C::Stop, "Stop", Menu::Flight,
        "back to editing, the ship drifting (again: the ship back at its start)"),
    Row(C::Home, "Home", Menu::Flight, "the ship back at its start, at rest")
        .keys(press(Key::Home, kNoModifier, K::Always, kAnyModifier)),
    // Help
    Row(C::KeyboardShortcuts, "Keyboard Shortcuts", Menu::Help,
        "this list of commands and their keys")
        .keys(anywhere(Key::F1)),
    Row(C::About, "About Tavrel", Menu::Help, "the program's version and origin").below(),
};
static_assert(std::size(kCommands) == kCommandCount, "one entry per command");

} // namespace

std::span<const Command> commandTable() {
    return kCommands;
}

const Command& command(CommandId id) {
    return kCommands[static_cast<size_t>(id)];
}

const char* menuTitle(Menu menu) {
    constexpr const char* kTitles[kMenuCount] = {"File",    "Edit",   "View", "Tools",
                                                 "Surface", "Flight", "Help"};
    return kTitles[static_cast<size_t>(menu)];
}

const char* submenuTitle(Submenu submenu) {
    switch (submenu) {
    case Submenu::OpenRecent:
        return "Open Recent";
    case Submenu::ReferencePicture:
        return "Reference Picture";
    default:
        return "";
    }
}
