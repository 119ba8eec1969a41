// The real program's command host: every command of the table runs on the built-in model,
// and every key of the table reaches its command through the main window's key messages.
#include <gtest/gtest.h>

#include <windows.h>

#include "document-fixture.h"
#include "editor/command-table.h"
#include "ui/win32/shell-command-host.h"

namespace {

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
    static void strike(const KeyBinding& key) {
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
        PostMessageA(application.mainWindow, WM_KEYDOWN, code, 1);
        PostMessageA(application.mainWindow, WM_KEYUP, code, kRelease);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateAcceleratorA(application.mainWindow, application.shortcuts, &msg))
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
        ASSERT_TRUE(IsWindow(application.mainWindow)) << command.name;
    }
    for (const Command& command : commandTable())
        for (const KeyBinding& key : command.keys) {
            if (!key.bound() || leftOut(command.id)) continue;
            editorState.mode = key.context == KeyContext::Flight ? Mode::Flight : Mode::Editing;
            // A greyed item's accelerator does nothing: there is a step to take back or forth.
            if (command.id == CommandId::Undo || command.id == CommandId::Redo)
                runShellCommand(CommandId::Symmetry);
            if (command.id == CommandId::Redo) runShellCommand(CommandId::Undo);
            strike(key);
            EXPECT_EQ(lastShellCommand(), command.id) << command.name << ": " << bindingText(key);
        }
}
