#include "editor/context-menu-items.h"

#include <span>

namespace {

using C = CommandId;
// Stands between groups of items.
constexpr auto kBar = static_cast<C>(0xFF);
static_assert(static_cast<int>(kBar) >= kCommandCount, "the separator is no command");

constexpr C kPatchCommands[] = {C::Copy,
                                C::Duplicate,
                                C::DuplicateInPlace,
                                C::Delete,
                                kBar,
                                C::Extrude,
                                C::SplitAcrossU,
                                C::SplitAcrossV,
                                C::SplitInFour,
                                kBar,
                                C::MirrorAcrossX,
                                C::MirrorAcrossY,
                                C::MirrorAcrossZ,
                                C::MakeSymmetryReal,
                                C::SmoothJoins,
                                C::MatchCurvature,
                                kBar,
                                C::Group,
                                C::Ungroup,
                                C::Symmetry,
                                kBar,
                                C::FrameSelection,
                                C::CentreOnSelection};
constexpr C kPointCommands[] = {C::SetPivot,
                                C::Extrude,
                                kBar,
                                C::Dissociate,
                                C::Joint,
                                kBar,
                                C::SelectAll,
                                C::ChoosePoints,
                                kBar,
                                C::FrameSelection,
                                C::CentreOnSelection};
constexpr C kViewCommands[] = {
    C::OrbitView,    C::FrontView, C::SideView,  C::TopView,        C::QuadLayout, kBar,
    C::Orthographic, C::Shaded,    C::Wireframe, C::JoinsDisplay,   C::Grid,       kBar,
    C::Paste,        C::SelectAll, kBar,         C::FrameSelection, C::CentreView};

std::span<const C> commandsAt(ContextSpot spot) {
    switch (spot) {
    case ContextSpot::Patch:
        return kPatchCommands;
    case ContextSpot::Point:
        return kPointCommands;
    case ContextSpot::Empty:
        break;
    }
    return kViewCommands;
}

} // namespace

ContextSpot contextSpot(bool overPatch, bool overPoint, bool choosingPoints) {
    if (overPoint && choosingPoints) return ContextSpot::Point;
    return overPatch ? ContextSpot::Patch : ContextSpot::Empty;
}

std::vector<MenuItem> contextMenuItems(ContextSpot spot) {
    std::vector<MenuItem> items;
    for (C id : commandsAt(spot))
        items.push_back(id == kBar ? MenuItem{MenuItem::Kind::Separator}
                                   : MenuItem{MenuItem::Kind::Command, id});
    return items;
}
