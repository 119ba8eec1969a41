// The real program's command host: every command of the table runs on the built-in model,
// and every key of the table reaches its command through the main window's key messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include "document-fixture.h"
#include "editor/command-table.h"
#include "editor/recent-files.h"
#include "ui/main-commands.h"
#include "ui/palette-buttons.h"
#include "ui/status-parts.h"
#include "ui/win32/commands.h"
#include "ui/win32/recent-file-list.h"
#include "ui/win32/shell-command-host.h"

namespace {

constexpr int kTipLength = 80;

// Modal windows of their own, which no test answers: the picture's dialog, About, and Exit
// (it closes the program).
bool leftOut(CommandId id) {
    return id == CommandId::ChoosePicture || id == CommandId::About || id == CommandId::Exit;
}

class ShellCommandsTest : public DocumentTest {
  protected:
    void SetUp() override {
        DocumentTest::SetUp();
        documentPrompts().chooseImport = [](std::string&) { return false; };
        documentPrompts().chooseExport = [](std::string&, DocumentPrompts::ExportKind&) {
            return false;
        };
    }
    // The key goes down and up with its modifiers held, through the accelerators first as
    // the message loop takes it.
    void strike(const KeyBinding& key) {
        BYTE held[256] = {};
        constexpr BYTE kDown = 0x80;
        if (key.modifiers & kCtrl) held[VK_CONTROL] = kDown;
        if (key.modifiers & kShift) held[VK_SHIFT] = kDown;
        if (key.modifiers & kHoldX) held['X'] = kDown;
        if (key.modifiers & kHoldY) held['Y'] = kDown;
        if (key.modifiers & kHoldZ) held['Z'] = kDown;
        SetKeyboardState(held);
        const auto code = static_cast<WPARAM>(key.key);
        constexpr LPARAM kRelease = static_cast<LPARAM>(0xC0000001);
        PostMessageA(shell().mainHandles.window, WM_KEYDOWN, code, 1);
        PostMessageA(shell().mainHandles.window, WM_KEYUP, code, kRelease);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateAcceleratorA(shell().mainHandles.window, shell().shortcuts, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        BYTE none[256] = {};
        SetKeyboardState(none);
    }
};

} // namespace

TEST_F(ShellCommandsTest, EveryCommandRunsAndEveryKeyReachesItsCommand) {
    for (const Command& command : commandTable()) {
        if (leftOut(command.id)) continue;
        runShellCommand(command.id);
        pumpMessages();
        ASSERT_TRUE(IsWindow(shell().mainHandles.window)) << command.name;
    }
    for (const Command& command : commandTable())
        for (const KeyBinding& key : command.keys) {
            if (!key.bound() || leftOut(command.id)) continue;
            shell().editor.mode = key.context == KeyContext::Flight ? Mode::Flight : Mode::Editing;
            // A greyed item's accelerator does nothing: there is a step to take back or forth.
            if (command.id == CommandId::Undo || command.id == CommandId::Redo)
                editDocument(shell().session, "Add band", [](Model& model) {
                    model.createDefault(); // whatever the commands before left
                    return true;
                });
            if (command.id == CommandId::Redo) runShellCommand(CommandId::Undo);
            strike(key);
            EXPECT_EQ(lastShellCommand(), command.id) << command.name << ": " << bindingText(key);
        }
}

TEST_F(ShellCommandsTest, TipsComeFromTheTableAndRecentFilesFollowSavesAndMissingFiles) {
    wchar_t text[kTipLength] = {};
    NMTBGETINFOTIPW tip{};
    tip.hdr.code = TBN_GETINFOTIPW;
    tip.hdr.hwndFrom = shell().paletteHandles.toolbar;
    tip.iItem = palette::Joint;
    tip.pszText = text;
    tip.cchTextMax = kTipLength;
    SendMessageW(shell().paletteHandles.window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ(L"Joint", text);
    EXPECT_EQ("Save (Ctrl+S)", toolbarTip(static_cast<int>(MainCommand::Save), shell().document));
    char label[kTipLength] = {};
    GetWindowTextA(shell().paletteHandles.displayCheckBox, label, kTipLength);
    EXPECT_STREQ("Show", label);

    answer = "recent.obj";
    command(static_cast<int>(MainCommand::Save));
    ASSERT_FALSE(recentFiles().files().empty());
    EXPECT_NE(std::string::npos, recentFiles().files().front().find("recent.obj"));
    EXPECT_EQ(':', recentFiles().files().front()[1]); // listed by its full path
    EXPECT_NE("", readStringFrom("session.ini", "File1", "Recent"));
    ASSERT_TRUE(DeleteFileA("recent.obj"));
    openRecentFile(0);
    EXPECT_TRUE(recentFiles().files().empty());
    ASSERT_EQ(1u, told.size());
    EXPECT_NE(std::string::npos, told[0].find("no longer there"));
    char said[1024] = {}; // the message holds the whole path
    SendMessageA(shell().mainHandles.statusBar, SB_GETTEXTA,
                 static_cast<WPARAM>(StatusPart::Message), reinterpret_cast<LPARAM>(said));
    EXPECT_NE(std::string::npos, std::string(said).find("no longer there"));
}

// Files dropped on the main window: the first opens (a standard free-form file is imported),
// the rest are said and left alone; a drop while a question is open is refused, so the
// answer belongs to the document it names.
TEST_F(ShellCommandsTest, DroppedFilesOpenTheFirstAndSayTheRest) {
    answer = "dropped.obj";
    runShellCommand(CommandId::Symmetry);
    command(static_cast<int>(MainCommand::Save));
    answer = "later.obj";
    command(static_cast<int>(MainCommand::Save));
    runShellCommand(CommandId::New);
    ASSERT_EQ("", shell().document.path());
    const auto dropFiles = [this](
                               const std::wstring& names) { // each ends with a null, then one more
        const size_t bytes = sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t);
        HGLOBAL drop = GlobalAlloc(GHND, bytes);
        auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
        files->pFiles = sizeof(DROPFILES);
        files->fWide = TRUE;
        memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), names.c_str(),
               names.size() * sizeof(wchar_t));
        GlobalUnlock(drop);
        SendMessageA(shell().mainHandles.window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    };
    dropFiles(std::wstring(L"dropped.obj\0other.obj\0", 23));
    EXPECT_NE(std::string::npos, shell().document.path().find("dropped.obj"));
    ASSERT_EQ(1u, told.size());
    EXPECT_NE(std::string::npos, told[0].find("1 other dropped file was left"));

    runShellCommand(CommandId::SelectAll);
    runShellCommand(CommandId::Duplicate);
    ASSERT_TRUE(shell().document.modified());
    int asked = 0; // the first question is kept; one asked under it would give up the changes
    documentPrompts().askUnsaved = [&](const std::string&) {
        if (asked++ > 0) return DocumentPrompts::Unsaved::Discard;
        dropFiles(std::wstring(L"later.obj\0", 10)); // while the question is open
        return DocumentPrompts::Unsaved::Cancel;
    };
    dropFiles(std::wstring(L"later.obj\0", 10));
    EXPECT_NE(std::string::npos, shell().document.path().find("dropped.obj"));
    EXPECT_TRUE(shell().document.modified());
    EnableWindow(shell().mainHandles.window, FALSE); // behind a message box
    dropFiles(std::wstring(L"later.obj\0", 10));
    EnableWindow(shell().mainHandles.window, TRUE);
    EXPECT_NE(std::string::npos, shell().document.path().find("dropped.obj"));
    EXPECT_EQ(1, asked);
}

// The message part says each command's outcome (the last one only), and in a 400 × 300
// window it keeps room for a line while the coordinate parts shrink.
TEST_F(ShellCommandsTest, TheStatusBarSaysEachOutcomeAndKeepsItsRoomWhenSmall) {
    const auto message = [this] {
        char text[1024] = {}; // a message may hold a whole path
        SendMessageA(shell().mainHandles.statusBar, SB_GETTEXTA,
                     static_cast<WPARAM>(StatusPart::Message), reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    runShellCommand(CommandId::SelectAll);
    answer = "said.obj";
    runShellCommand(CommandId::Save);
    EXPECT_EQ("Saved said.obj", message());
    answer.clear();
    runShellCommand(CommandId::SaveAs);
    EXPECT_EQ("Nothing saved", message());
    runShellCommand(CommandId::SelectNone);
    EXPECT_EQ("Nothing selected", message());
    runShellCommand(CommandId::Grid);
    EXPECT_EQ(0u, message().find("Grid o")) << message();

    SetWindowPos(shell().mainHandles.window, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    RECT bar{}, part{};
    GetClientRect(shell().mainHandles.statusBar, &bar);
    SendMessageA(shell().mainHandles.statusBar, SB_GETRECT,
                 static_cast<WPARAM>(StatusPart::Message), reinterpret_cast<LPARAM>(&part));
    HDC dc = GetDC(shell().mainHandles.statusBar);
    auto barFont =
        reinterpret_cast<HFONT>(SendMessageA(shell().mainHandles.statusBar, WM_GETFONT, 0, 0));
    if (!barFont) barFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const HGDIOBJ font = SelectObject(dc, barFont);
    SIZE line{};
    const char kLine[] = "Exported wing.stp: 10 surfaces";
    GetTextExtentPoint32A(dc, kLine, sizeof kLine - 1, &line);
    SelectObject(dc, font);
    ReleaseDC(shell().mainHandles.statusBar, dc);
    EXPECT_GE(part.right - part.left, line.cx) << part.left << " of " << bar.right;
    EXPECT_LE(part.right, bar.right);
}
