// The command table: one entry per command in menu order, keys that never mean two commands
// and mean what the windows make them mean today, the shortcut sheet, and README's key tables.
#include <gtest/gtest.h>

#include <string_view>

#include "core/file-replace.h"
#include "editor/command-menus.h"
#include "editor/command-table.h"
#include "editor/document.h"
#include "editor/key-presses.h"
#include "editor/shortcut-sheet.h"

namespace {

struct Stroke {
    Key key;
    Modifiers held;
    KeyEdge edge;
};

// The keys named in the first column of README's key tables (headed "Input" or "Key").
std::vector<Stroke> readmeKeys() {
    std::string text;
    EXPECT_TRUE(readFileContents(TAVREL_SOURCE_DIR "/README.md", text));
    const std::pair<std::string_view, std::vector<Key>> names[] = {
        {"Page Up/Down", {Key::PageUp, Key::PageDown}},
        {"Page Up", {Key::PageUp}},
        {"Page Down", {Key::PageDown}},
        {"arrows", {Key::Left, Key::Right, Key::Up, Key::Down}},
        {"Backspace", {Key::Backspace}},
        {"Home", {Key::Home}},
        {"Up", {Key::Up}},
        {"Down", {Key::Down}},
        {"Left", {Key::Left}},
        {"Right", {Key::Right}},
        {"F1", {Key::F1}},
        {"F6", {Key::F6}},
        {"F7", {Key::F7}},
        {"Delete", {Key::Delete}},
        {".", {Key::Period}}};
    const auto boundary = [](std::string_view s, size_t at) {
        return at >= s.size() || std::string_view(" ,()/").find(s[at]) != std::string_view::npos;
    };
    std::vector<Stroke> strokes;
    bool inTable = false;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        std::string cell = text.substr(start, end - start);
        if (cell.rfind("| Input", 0) == 0 || cell.rfind("| Key", 0) == 0) inTable = true;
        if (cell.rfind("|", 0) != 0) inTable = false;
        if (!inTable || cell.rfind("|--", 0) == 0 || cell.rfind("| Input", 0) == 0) continue;
        cell = cell.substr(1, cell.find('|', 1) - 1);
        const KeyEdge edge =
            cell.find("(on release)") != std::string::npos ? KeyEdge::Release : KeyEdge::Press;
        std::vector<Modifiers> holds = {kNoModifier};
        if (const size_t axes = cell.find("X, Y or Z held"); axes != std::string::npos) {
            cell.erase(axes);
            holds = {kNoModifier, kHoldX, kHoldY, kHoldZ};
        }
        for (size_t i = 0; i < cell.size(); ++i) {
            if (!(i == 0 || boundary(cell, i - 1))) continue;
            Modifiers held = kNoModifier;
            size_t at = i;
            for (bool more = true; more;) {
                more = cell.compare(at, 5, "Ctrl+") == 0 || cell.compare(at, 6, "Shift+") == 0;
                if (more) held |= cell[at] == 'C' ? kCtrl : kShift;
                if (more) at += cell[at] == 'C' ? 5 : 6;
            }
            std::vector<Key> keys;
            size_t length = 1;
            for (const auto& [name, named] : names)
                if (cell.compare(at, name.size(), name) == 0 && boundary(cell, at + name.size())) {
                    keys = named;
                    length = name.size();
                    break;
                }
            if (keys.empty() && cell[at] >= 'A' && cell[at] <= 'Z' && boundary(cell, at + 1))
                keys = {letterKey(cell[at])};
            for (Key key : keys)
                for (Modifiers hold : holds)
                    strokes.push_back({key, static_cast<Modifiers>(held | hold), edge});
            if (!keys.empty()) i = at + length - 1;
        }
    }
    return strokes;
}

} // namespace

TEST(CommandTable, EveryCommandOnceInMenuOrderWithMenusTipsAndKeysAsShown) {
    Menu menu = Menu::File;
    for (int id = 0; id < kCommandCount; ++id) {
        const Command& it = commandTable()[static_cast<size_t>(id)];
        EXPECT_EQ(id, static_cast<int>(it.id));
        EXPECT_LE(menu, it.menu) << it.name;
        EXPECT_TRUE(*it.name && *it.description) << id;
        menu = it.menu;
    }
    for (int m = 0; m < kMenuCount; ++m) {
        const std::vector<MenuItem> items = menuItems(static_cast<Menu>(m));
        for (size_t i = 0; i < items.size(); ++i) // separators only between items
            EXPECT_FALSE(items[i].kind == MenuItem::Kind::Separator &&
                         (i == 0 || i + 1 == items.size() ||
                          items[i + 1].kind == MenuItem::Kind::Separator ||
                          items[i + 1].kind == MenuItem::Kind::SubmenuEnd));
    }
    const std::vector<MenuItem> view = menuItems(Menu::View);
    EXPECT_EQ(1, std::count_if(view.begin(), view.end(), [](const MenuItem& item) {
                  return item.kind == MenuItem::Kind::SubmenuStart &&
                         item.submenu == Submenu::ReferencePicture;
              }));

    Model model;
    Document document(model);
    EXPECT_EQ("Undo (Ctrl+Z)", tooltipText(command(CommandId::Undo), document));
    document.edit("Extrude", [](Model& m) { m.points.push_back({}); });
    EXPECT_EQ("Undo Extrude (Ctrl+Z)", tooltipText(command(CommandId::Undo), document));
    EXPECT_EQ("Ctrl+Y, Ctrl+Shift+Z", keysText(command(CommandId::Redo)));
    EXPECT_EQ("Save As… (Ctrl+Shift+S)", tooltipText(command(CommandId::SaveAs), document));
    EXPECT_EQ("Y+M", keysText(command(CommandId::MirrorAcrossY)));
}

TEST(CommandTable, NoKeyStrokeMeansTwoCommandsAndTodaysKeysMeanWhatTheyDid) {
    for (const Command& a : commandTable())
        for (const KeyBinding& key : a.keys)
            for (Modifiers held = 0; held <= kAnyModifier; ++held)
                for (Mode mode : {Mode::Editing, Mode::Flight}) {
                    const KeyContext in =
                        mode == Mode::Flight ? KeyContext::Flight : KeyContext::Editing;
                    int meanings = 0; // going down and coming up: one key stroke
                    for (const Command& b : commandTable())
                        for (const KeyBinding& other : b.keys)
                            for (KeyEdge edge : {KeyEdge::Press, KeyEdge::Release})
                                meanings += other.matches(key.key, held, edge, in);
                    EXPECT_LE(meanings, 1) << bindingText(key) << " held " << int(held);
                }

    using C = CommandId;
    const auto L = letterKey;
    const struct {
        Key key;
        Modifiers held;
        KeyEdge edge;
        Mode mode;
        std::optional<CommandId> means;
    } today[] = {
        {L('E'), kShift, KeyEdge::Release, Mode::Editing, C::Extrude},
        {L('E'), kCtrl, KeyEdge::Press, Mode::Editing, C::Export},
        {L('E'), kCtrl, KeyEdge::Release, Mode::Editing, std::nullopt},
        {L('E'), kNoModifier, KeyEdge::Release, Mode::Flight, std::nullopt},
        {L('B'), kCtrl | kShift, KeyEdge::Release, Mode::Editing, C::SplitInFour},
        {L('B'), kShift, KeyEdge::Release, Mode::Editing, C::SplitAcrossV},
        {L('M'), kHoldX, KeyEdge::Release, Mode::Editing, C::MirrorAcrossX},
        {L('M'), kHoldZ, KeyEdge::Release, Mode::Editing, C::MirrorAcrossZ},
        {L('M'), kShift | kHoldY, KeyEdge::Release, Mode::Editing, C::MakeSymmetryReal},
        {L('V'), kCtrl, KeyEdge::Release, Mode::Editing, std::nullopt},
        {L('V'), kShift, KeyEdge::Release, Mode::Editing, C::SetPivot},
        {L('A'), kCtrl | kShift, KeyEdge::Press, Mode::Flight, C::SelectAll},
        {L('Z'), kCtrl | kHoldZ, KeyEdge::Press, Mode::Editing, C::Undo},
        {L('H'), kCtrl, KeyEdge::Release, Mode::Flight, C::Planet},
        {Key::Left, kCtrl | kShift, KeyEdge::Press, Mode::Editing, C::PictureLeft},
        {Key::PageUp, kCtrl | kShift, KeyEdge::Press, Mode::Editing, C::PictureMoreOpaque},
        {Key::Home, kShift, KeyEdge::Press, Mode::Flight, C::Home},
        {Key::F6, kCtrl, KeyEdge::Press, Mode::Editing, std::nullopt},
    };
    for (const auto& stroke : today) {
        const Command* found = commandForKey(stroke.key, stroke.held, stroke.edge, stroke.mode);
        EXPECT_EQ(stroke.means, found ? std::optional(found->id) : std::nullopt)
            << keyName(stroke.key) << " held " << int(stroke.held);
    }
}

TEST(CommandTable, ShortcutSheetAndReadmeKeyTablesNameTheSameKeys) {
    const std::vector<SheetSection> sheet = shortcutSheet();
    ASSERT_EQ(kMenuCount + 3u, sheet.size()); // the menus, the camera, the drags, the flight
    EXPECT_EQ("Extrude Free Sides", sheet[4].rows[0].name);
    EXPECT_EQ("E (on release)", sheet[4].rows[0].keys);
    EXPECT_NE(std::string::npos, shortcutSheetText().find("Reference Picture: More Opaque"));

    // Every key the README's tables name means a command or a held key, and every command's
    // key is in them.
    const std::vector<Stroke> readme = readmeKeys();
    for (const Stroke& s : readme) {
        const bool held = std::any_of(heldKeys().begin(), heldKeys().end(), [&](const HeldKeys& h) {
            return s.held == kNoModifier &&
                   std::find(h.keys.begin(), h.keys.end(), s.key) != h.keys.end();
        });
        const bool command = commandForKey(s.key, s.held, s.edge, Mode::Editing) ||
                             commandForKey(s.key, s.held, s.edge, Mode::Flight);
        EXPECT_TRUE(held || command) << keyName(s.key) << " held " << int(s.held);
    }
    for (const Command& it : commandTable())
        for (const KeyBinding& key : it.keys)
            EXPECT_TRUE(!key.bound() || std::any_of(readme.begin(), readme.end(),
                                                    [&](const Stroke& s) {
                                                        return s.key == key.key &&
                                                               s.held == key.modifiers &&
                                                               s.edge == key.edge;
                                                    }))
                << it.name << ": " << bindingText(key);
}

TEST(CommandTable, AReleaseMeansWhatItsPressMeant) {
    KeyPresses presses;
    const Key b = letterKey('B'), v = letterKey('V');
    // Shift let go a moment before B: still the split across v.
    presses.pressed(b, kShift, false);
    const std::optional<Modifiers> early = presses.released(b, kNoModifier);
    ASSERT_TRUE(early);
    EXPECT_EQ(commandForKey(b, *early, KeyEdge::Release, Mode::Editing)->id,
              CommandId::SplitAcrossV);
    // Ctrl+V pasted on its press: letting go of Ctrl before V sets no pivot.
    presses.pressed(v, kCtrl, true);
    presses.pressed(v, kCtrl, false, true);
    EXPECT_FALSE(presses.released(v, kNoModifier));
    // A release whose press went elsewhere means what is held now; a fresh press starts over.
    EXPECT_EQ(presses.released(v, kShift), kShift);
    presses.pressed(b, kCtrl, false);
    presses.pressed(b, kNoModifier, false);
    EXPECT_EQ(presses.released(b, kShift), kNoModifier);
}
