// Nothing the user makes is lost: partly read files, untitled documents, names that stay,
// tool windows that come back, the recovery copy, a lost device or controller.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "core/file-replace.h"
#include "core/session-keys.h"
#include "document-fixture.h"
#include "editor/recovery-copies.h"
#include "flight/win32/joystick.h"
#include "model/memory-tree.h"
#include "model/obj-format.h"
#include "ui/main-commands.h"
#include "ui/win32/menu-commands.h"
#include "ui/win32/recovery.h"
#include "ui/win32/shape-window.h"

namespace {

const char* const kPartlyReadable =
    "cstype bezier\r\ndeg 3\r\n\r\n"
    "v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\n\r\n"
    "surf 0.0 1.0 0.0 1.0 0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 2\r\nend\r\n"
    "# made by another program\r\n"
    "surf 0.0 1.0 0.0 1.0 2 1 0 2 1 0 2 1 0 2 1 0 2 1 0 0\r\nend\r\n";

class SafetyTest : public DocumentTest {
  protected:
    void command(MainCommand c) { DocumentTest::command(static_cast<int>(c)); }
    void command(CommandId c) { DocumentTest::command(static_cast<int>(menuId(c))); }
};

} // namespace

TEST_F(SafetyTest, APartlyReadFileIsReportedAndItsFirstSaveAsksBeforeReplacingIt) {
    writeTextFile(L"part.obj", kPartlyReadable);
    answer = "part.obj";
    command(MainCommand::Open);
    ASSERT_EQ(1u, shell().ship.patches.size());
    ASSERT_EQ(1u, told.size());
    EXPECT_NE(
        std::string::npos,
        told[0].find(
            "read 1 of the file's 2 patches; stopped at line 10: '# made by another program'"))
        << told[0];

    modify();
    partlyReadAnswer = DocumentPrompts::PartlyRead::Cancel;
    command(MainCommand::Save);
    EXPECT_EQ(1, partlyReadQuestions);
    EXPECT_EQ(kPartlyReadable, readTextFile(L"part.obj")); // untouched
    EXPECT_EQ("part* - Tavrel", title());

    // Elsewhere: the dialog, and the original stays as it was.
    partlyReadAnswer = DocumentPrompts::PartlyRead::SaveElsewhere;
    answer = "part-edited.obj";
    command(MainCommand::Save);
    EXPECT_EQ(kPartlyReadable, readTextFile(L"part.obj"));
    EXPECT_EQ("part-edited - Tavrel", title());
    Model back;
    ASSERT_TRUE(loadObj("part-edited.obj", back, nullptr).ok());
    EXPECT_EQ(1u, back.patches.size());

    // Saved elsewhere, the document's file is whole: no more questions.
    modify();
    command(MainCommand::Save);
    EXPECT_EQ(2, partlyReadQuestions);

    // Replace, when the user says so.
    answer = "part.obj";
    command(MainCommand::Open);
    partlyReadAnswer = DocumentPrompts::PartlyRead::Replace;
    command(MainCommand::Save);
    EXPECT_EQ(3, partlyReadQuestions);
    ASSERT_TRUE(loadObj("part.obj", back, nullptr).ok());
    EXPECT_FALSE(loadObj("part.obj", back, nullptr).partial());
}

TEST_F(SafetyTest, NewIsUntitledAndSaveAsAlwaysAsks) {
    sessionSettings().writeString(session::kSession, "LoadedFile", "kept.obj");
    writeTextFile(L"Untitled.obj", "not mine to lose");
    modify();
    command(MainCommand::New);
    EXPECT_EQ("Untitled - Tavrel", title());
    EXPECT_EQ("kept.obj", storedPath()); // only Save and Open change it
    modify();
    answer.clear();
    command(MainCommand::Save);
    EXPECT_TRUE(lastDialogWasSave);
    EXPECT_EQ("Untitled.obj", proposed); // proposed, never written without the dialog
    EXPECT_EQ("not mine to lose", readTextFile(L"Untitled.obj"));

    answer = "first.obj";
    command(MainCommand::Save);
    EXPECT_EQ("first - Tavrel", title());
    answer = "second.obj";
    command(CommandId::SaveAs);
    EXPECT_EQ("first.obj", proposed);
    EXPECT_EQ("second - Tavrel", title());
    EXPECT_EQ("second.obj", storedPath());
    EXPECT_EQ(3, dialogs);
}

TEST_F(SafetyTest, NamesWithCharactersOutsideAsciiOpenAndSave) {
    const std::string name = "mod\xe8le\x92s.obj"; // modèle’s.obj in the ANSI code page
    answer = name;
    modify();
    command(MainCommand::Save);
    ASSERT_TRUE(told.empty()) << told[0];
    EXPECT_EQ("mod\xe8le\x92s - Tavrel", title());
    EXPECT_TRUE(GetFileAttributesW(L"mod\u00e8le\u2019s.obj") != INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(GetFileAttributesW(L"mod\u00e8le\u2019s.obj.tmp") == INVALID_FILE_ATTRIBUTES);

    command(MainCommand::New);
    command(MainCommand::Open);
    EXPECT_TRUE(told.empty());
    EXPECT_EQ("mod\xe8le\x92s - Tavrel", title());
    ASSERT_EQ(1u, shell().ship.locators.size());
}

TEST_F(SafetyTest, SettingsStayBesideWhereTheProgramStartedWhateverTheWorkingDirectory) {
    CreateDirectoryA("elsewhere", nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA("elsewhere")); // as a dialog without NOCHANGEDIR would
    SendMessageA(shell().mainHandles.window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    SetCurrentDirectoryA("..");
    EXPECT_EQ(0, sessionSettings().readInt(session::kSession, "distance", 99));
    EXPECT_EQ("0", readStringFrom("session.ini", "distance"));
    EXPECT_EQ("", readStringFrom("elsewhere\\session.ini", "distance"));
}

TEST_F(SafetyTest, SaveRefusesAModelThatWouldNotReadBackAndNamesWhy) {
    answer = "ship.obj";
    modify();
    command(MainCommand::Save);
    const std::string before = readTextFile(L"ship.obj");
    shell().ship.points[5].x = std::nanf("");
    modify();
    command(MainCommand::Save);
    ASSERT_EQ(1u, told.size());
    EXPECT_NE(std::string::npos,
              told[0].find("point 5 has a coordinate that is not a finite number"));
    EXPECT_EQ(before, readTextFile(L"ship.obj"));
    EXPECT_EQ("ship* - Tavrel", title());
}

TEST_F(SafetyTest, ClosedToolWindowsHideAndComeBackWithEverythingInThem) {
    modify(); // Locator_0
    HWND palette = static_cast<HWND>(shell().paletteHandles.window);
    HWND shape = static_cast<HWND>(shell().shapeHandles.window);
    SendMessageA(palette, WM_CLOSE, 0, 0);
    SendMessageA(shape, WM_CLOSE, 0, 0);
    pumpMessages();
    ASSERT_TRUE(IsWindow(palette) && IsWindow(shape));
    EXPECT_FALSE(IsWindowVisible(palette));
    EXPECT_FALSE(IsWindowVisible(shape));

    answer = "kept.obj";
    command(MainCommand::Save);
    Model back;
    MemoryTree tree;
    ASSERT_TRUE(loadObj("kept.obj", back, &tree).ok());
    ASSERT_EQ(1u, back.locators.size());
    EXPECT_EQ("Locator_0", back.locators[0].name);

    command(CommandId::ShowPalette);
    command(CommandId::ShowShapeWindow);
    EXPECT_TRUE(IsWindowVisible(palette));
    EXPECT_TRUE(IsWindowVisible(shape));
    EXPECT_EQ("Locator_0",
              shell().shape.tree().itemText(shell().shape.tree().items.locatorItem(0)));
}

TEST_F(SafetyTest, KeysReleasedElsewhereDoNotKeepTheCameraMoving) {
    SendMessageA(shell().mainHandles.window, WM_KEYDOWN, 'W', 0);
    ASSERT_TRUE(shell().main.heldKeys().down[KeyFlags::W]);
    SendMessageA(shell().mainHandles.window, WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(shell().main.heldKeys().down[KeyFlags::W]);
}

namespace {
// The note beside a copy, ".recovery" → ".ini".
std::string noteOf(const std::string& copy) {
    return copy.substr(0, copy.size() - std::strlen(recovery::kCopyExtension)) +
           recovery::kNoteExtension;
}
} // namespace

TEST_F(SafetyTest, TheRecoveryCopyIsWrittenWhileModifiedAndRemovedBySavingOrUndoingBack) {
    const std::string copy = recoveryCopyPath();
    EXPECT_NE(std::string::npos, copy.find("recovery\\tavrel-")) << copy;
    autosaveTick(1000);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy.c_str())); // nothing to keep
    modify();
    autosaveTick(1001);
    writeRecoveryCopyNow(); // waits for the background copy, then writes again
    Model back;
    ASSERT_TRUE(loadObj(copy, back, nullptr).ok());
    EXPECT_EQ(1u, back.locators.size());
    EXPECT_EQ("", recovery::readNote(noteOf(copy)).file);
    EXPECT_NE("an earlier session", recovery::readNote(noteOf(copy)).saved);
    EXPECT_EQ("", readStringFrom("session.ini", "Saved", "Recovery")); // not in the settings

    // Undone back to the saved state, nothing is left to recover.
    command(MainCommand::Undo);
    EXPECT_EQ("Untitled - Tavrel", title());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy.c_str()));

    // A file of the user's named like the old copy beside session.ini is never touched.
    writeTextFile(L"recovery.obj", "the user's own");
    modify();
    writeRecoveryCopyNow();
    answer = "recovery.obj";
    command(CommandId::SaveAs);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy.c_str()));
    Model saved;
    ASSERT_TRUE(loadObj("recovery.obj", saved, nullptr).ok()); // the Save is kept
    EXPECT_EQ(1u, saved.locators.size());
}

TEST_F(SafetyTest, TheEndOfTheWindowsSessionKeepsTheChangesInTheRecoveryCopy) {
    modify();
    EXPECT_TRUE(SendMessageA(shell().mainHandles.window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    Model back;
    ASSERT_TRUE(loadObj(recoveryCopyPath(), back, nullptr).ok());
    EXPECT_EQ(1u, back.locators.size());
    EXPECT_EQ(0, questions); // nobody is there to answer
}

TEST_F(SafetyTest, ALostDeviceKeepsTheRecoveryCopyBeforeEnding) {
    modify();
    try {
        shell().renderer->checkPresent(DXGI_ERROR_DEVICE_REMOVED);
        FAIL() << "a lost device must end the program";
    } catch (const FatalErrorThrown& e) {
        EXPECT_STREQ("error", e.what());
    }
    Model back;
    ASSERT_TRUE(loadObj(recoveryCopyPath(), back, nullptr).ok());
    EXPECT_EQ(1u, back.locators.size());
}

// A copy whose editor is gone is offered with its file's partly-read state; one whose editor
// still runs (its lock held) is neither offered nor deleted.
TEST_F(SafetyTest, ACopyLeftByAnEditorNoLongerRunningIsOfferedWithItsPartlyReadState) {
    Model edited;
    edited.createDefault();
    edited.points[0] = {7, 7, 7};
    const std::string folder = recovery::folderBeside(sessionSettings().path());
    const std::string gone = folder + recovery::copyStem(1, "20261208100000");
    const std::string alive = folder + recovery::copyStem(2, "20261208110000");
    for (const std::string& stem : {gone, alive}) {
        ASSERT_TRUE(saveObj(edited, stem + recovery::kCopyExtension).ok());
        if (stem == gone) // a copy that itself reads only in part says so
            writeTextFile(
                std::wstring(stem.begin(), stem.end()).append(L".recovery").c_str(),
                readTextFile(std::wstring(stem.begin(), stem.end()).append(L".recovery").c_str()) +
                    "# cut here\r\n");
        recovery::writeNote(stem + recovery::kNoteExtension,
                            {"wing.obj", "2026-12-08 10:00:00", "read 1 of the file's 2 patches"});
    }
    const HANDLE held = CreateFileA((alive + recovery::kLockExtension).c_str(), GENERIC_WRITE, 0,
                                    nullptr, OPEN_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    std::vector<std::string> asked;
    documentPrompts().askRecover = [&](const std::string& q) {
        asked.push_back(q);
        return false;
    };
    offerRecoveryCopy(documentFiles(), documentPrompts());
    ASSERT_EQ(1u, asked.size()); // the running editor's copy is not offered
    EXPECT_EQ(0u, asked[0].find("Recover the unsaved changes of wing from 2026-12-08 10:00:00?"));
    EXPECT_NE(std::string::npos, asked[0].find("could be read only in part")) << asked[0];
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((gone + ".recovery").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((alive + ".recovery").c_str()));

    // Its editor gone, it is offered. The model open now is named in the question and its
    // unsaved changes are asked about: kept, the copy is kept too for the next start.
    CloseHandle(held);
    modify();
    documentPrompts().askRecover = [&](const std::string& q) {
        asked.push_back(q);
        return true;
    };
    unsavedAnswer = DocumentPrompts::Unsaved::Cancel;
    offerRecoveryCopy(documentFiles(), documentPrompts());
    EXPECT_NE(std::string::npos, asked.back().find("open now, is closed (its unsaved changes"))
        << asked.back();
    EXPECT_NE(7.0f, shell().ship.points[0].x);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((alive + ".recovery").c_str()));
    // Taken, the first Save still asks about the file.
    unsavedAnswer = DocumentPrompts::Unsaved::Discard;
    offerRecoveryCopy(documentFiles(), documentPrompts());
    EXPECT_EQ(7.0f, shell().ship.points[0].x);
    EXPECT_EQ("wing* - Tavrel", title());
    EXPECT_EQ("wing.obj", shell().document.path());
    EXPECT_EQ("read 1 of the file's 2 patches", shell().document.partlyRead());
    EXPECT_EQ(alive + ".recovery", recoveryCopyPath()); // this editor's copy from now on
    partlyReadAnswer = DocumentPrompts::PartlyRead::Cancel;
    command(MainCommand::Save);
    EXPECT_EQ(1, partlyReadQuestions);
}

TEST_F(SafetyTest, ACopyThatFailsIsSaidOnceAndTheWorkStays) {
    modify();
    // A folder where the copy should go: the copy cannot be written.
    const std::string copy = recoveryCopyPath();
    ASSERT_TRUE(CreateDirectoryA(copy.c_str(), nullptr));
    writeRecoveryCopyNow();
    char text[256] = {};
    SendMessageA(static_cast<HWND>(shell().mainHandles.statusBar), SB_GETTEXTA, 2,
                 reinterpret_cast<LPARAM>(text));
    EXPECT_NE(std::string::npos, std::string(text).find("The recovery copy could not be written"))
        << text;
    EXPECT_TRUE(shell().document.modified());
    EXPECT_TRUE(IsWindow(shell().mainHandles.window));
    RemoveDirectoryA(copy.c_str());
}

namespace {
// A controller that stops answering, and answers again after an Acquire when allowed to.
struct FailingController : ControllerDevice {
    bool reacquires = false, acquired = false;
    int polls = 0, acquires = 0;
    HRESULT acquire() override {
        ++acquires;
        acquired = reacquires;
        return reacquires ? DI_OK : DIERR_UNPLUGGED;
    }
    HRESULT poll() override {
        ++polls;
        return acquired ? DI_NOEFFECT : DIERR_INPUTLOST;
    }
    HRESULT getState(DIJOYSTATE& state) override {
        if (!acquired) return DIERR_INPUTLOST;
        state.lX = 1000;
        return DI_OK;
    }
};
} // namespace

TEST(Controller, ALostControllerReadsAsCentredAndNeverEndsTheProgram) {
    setFatalErrorHandler(throwOnFatalError);
    Joystick joystick;
    auto device = std::make_unique<FailingController>();
    FailingController* controller = device.get();
    joystick.device = std::move(device);
    joystick.readable = true;
    joystick.rangeMax = 65535;
    joystick.state.lX = 65535;
    EXPECT_NO_THROW(joystick.read());
    EXPECT_EQ(1, controller->acquires);      // tried once
    EXPECT_GE(controller->polls, 1);         // polled before the read
    EXPECT_FALSE(joystick.input().attached); // centred, not the last full deflection

    controller->reacquires = true;
    joystick.read();
    EXPECT_TRUE(joystick.input().attached);
    EXPECT_EQ(1000, joystick.input().x);
}
