// The menus' portable side: how an item looks, what the right-click menu offers where, and
// when a right click opens it.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/context-menu-anchor.h"
#include "editor/context-menu-items.h"
#include "editor/document.h"
#include "editor/editor-state.h"
#include "editor/menu-item-look.h"
#include "editor/menu-mnemonics.h"
#include "tavrel-version.h"
#include "ui/about-text.h"
#include "ui/right-button-click.h"

#include "fake-command-host.h"

namespace {

bool offers(ContextSpot spot, CommandId id) {
    const auto items = contextMenuItems(spot);
    return std::any_of(items.begin(), items.end(), [&](const MenuItem& item) {
        return item.kind == MenuItem::Kind::Command && item.command == id;
    });
}

} // namespace

TEST(CommandMenus, ItemsLookAsTheTableSaysAndTheContextMenuOffersWhatIsUnderThePointer) {
    Model model;
    model.createDefault();
    Document document(model);
    EditorState editor;
    FakeCommandHost host;
    CommandContext context{document, editor, host};

    MenuItemLook undo = menuItemLook(command(CommandId::Undo), context);
    EXPECT_EQ(undo.text, "Undo\tCtrl+Z");
    EXPECT_FALSE(undo.enabled);
    model.patches[0].selected = true;
    ASSERT_TRUE(runCommand(CommandId::Delete, context).ran);
    undo = menuItemLook(command(CommandId::Undo), context);
    EXPECT_EQ(undo.text, "Undo " + document.history().undoName() + "\tCtrl+Z");
    EXPECT_TRUE(undo.enabled);
    EXPECT_EQ(menuItemLook(command(CommandId::Group), context).text, "Group"); // no keys, no tab
    editor.shaded = true;
    EXPECT_TRUE(menuItemLook(command(CommandId::Shaded), context).checked);

    EXPECT_EQ(contextSpot(true, true, true), ContextSpot::Point);
    EXPECT_EQ(contextSpot(true, true, false), ContextSpot::Patch);
    EXPECT_EQ(contextSpot(false, false, true), ContextSpot::Empty);
    EXPECT_TRUE(offers(ContextSpot::Patch, CommandId::Extrude));
    EXPECT_TRUE(offers(ContextSpot::Patch, CommandId::Symmetry));
    EXPECT_FALSE(offers(ContextSpot::Patch, CommandId::Shaded));
    EXPECT_TRUE(offers(ContextSpot::Point, CommandId::SetPivot));
    EXPECT_TRUE(offers(ContextSpot::Empty, CommandId::Paste));
    EXPECT_FALSE(offers(ContextSpot::Empty, CommandId::Delete));
    for (ContextSpot spot : {ContextSpot::Patch, ContextSpot::Point, ContextSpot::Empty}) {
        const auto items = contextMenuItems(spot);
        EXPECT_EQ(items.front().kind, MenuItem::Kind::Command);
        EXPECT_EQ(items.back().kind, MenuItem::Kind::Command);
    }

    EXPECT_NE(aboutText().find(TAVREL_VERSION_TEXT), std::string::npos);
}

TEST(CommandMenus, TheKeyboardOpensTheMenuOverTheChosenPointsElseTheSelectionWhenInSight) {
    Model model;
    model.createDefault();
    PointSelection chosen;
    const vm::Mat4 scaleDown = vm::scaling(1e-3f, 1e-3f, 1e-3f);
    EXPECT_FALSE(contextMenuAnchor(model, chosen, scaleDown)); // nothing selected

    model.patches[1].selected = true;
    vm::Float3 low = model.points[model.patches[1].indices[0]], high = low;
    for (int32_t i : model.patches[1].indices) {
        const vm::Float3 p = model.points[i];
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    const auto patch = contextMenuAnchor(model, chosen, scaleDown);
    ASSERT_TRUE(patch);
    EXPECT_FLOAT_EQ(patch->x, (low.x + high.x) * 0.5e-3f);
    EXPECT_FLOAT_EQ(patch->y, (low.y + high.y) * 0.5e-3f);
    model.patches[1].visible = false; // a hidden selection is not acted on
    EXPECT_FALSE(contextMenuAnchor(model, chosen, scaleDown));

    const int32_t point = model.patches[0].indices[5];
    chosen.click(point, {}, model.points.size());
    const auto one = contextMenuAnchor(model, chosen, scaleDown);
    ASSERT_TRUE(one);
    EXPECT_FLOAT_EQ(one->x, model.points[point].x * 1e-3f);
    EXPECT_FALSE(contextMenuAnchor(model, chosen, vm::scaling(1e6f, 1e6f, 1e6f))); // off the view
    vm::Mat4 behindTheEye = scaleDown;
    behindTheEye.m[3][3] = -1;
    EXPECT_FALSE(contextMenuAnchor(model, chosen, behindTheEye));
}

TEST(CommandMenus, ARightClickThatStaysWithinTheDragDistanceOpensTheMenuADragDoesNot) {
    constexpr int kDrag = 4;
    RightButtonClick click(kDrag, kDrag);
    click.pressedAt(10, 10);
    EXPECT_FALSE(click.movedTo(10 + kDrag, 10 - kDrag));
    EXPECT_TRUE(click.releasedAsClick());
    click.pressedAt(10, 10);
    EXPECT_TRUE(click.movedTo(10, 11 + kDrag));
    EXPECT_TRUE(click.movedTo(10, 10)); // back where it started: still a drag
    EXPECT_FALSE(click.releasedAsClick());
    EXPECT_FALSE(click.releasedAsClick()); // no press, no menu
}

TEST(CommandMenus, EachItemOfAMenuGetsAnUnderlinedLetterOfItsOwn) {
    const std::vector<int> places =
        mnemonicPlaces({"Split Across U", "Split Across V", "Split in Four", "S", "R&D"});
    EXPECT_EQ(places, (std::vector<int>{0, 6, 6, -1, 0})); // S, A, i
    EXPECT_EQ(withMnemonic("Split Across V", 6), "Split &Across V");
    EXPECT_EQ(withMnemonic("R&D", 0), "&R&&D");
}
