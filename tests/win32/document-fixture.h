// The running program with the document commands' questions answered by the test.
#pragma once

#include <string>
#include <vector>

#include "core/settings-file.h"
#include "tools-fixture.h"
#include "ui/win32/document-commands.h"

class DocumentTest : public ToolsTest {
  protected:
    void SetUp() override {
        ToolsTest::SetUp();
        saved = documentPrompts();
        documentPrompts().chooseFile = [this](bool save, std::string& path) {
            ++dialogs;
            lastDialogWasSave = save;
            proposed = path;
            if (answer.empty()) return false;
            path = answer;
            return true;
        };
        documentPrompts().askUnsaved = [this](const std::string&) {
            ++questions;
            return unsavedAnswer;
        };
        documentPrompts().askPartlyRead = [this](const std::string&, const std::string&) {
            ++partlyReadQuestions;
            return partlyReadAnswer;
        };
        documentPrompts().askRecover = [](const std::string&) { return false; };
        documentPrompts().tell = [this](const std::string& message) { told.push_back(message); };
    }
    void TearDown() override {
        documentPrompts() = saved;
        ToolsTest::TearDown();
    }
    void command(int id) {
        SendMessageA(shell().mainHandles.window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        pumpMessages();
    }
    void modify() { // a locator is a change of the document
        paletteClick(palette::Locator);
        mouse(WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
        paletteClick(palette::Locator);
    }
    static std::string storedPath() {
        return sessionSettings().readString("Session", "LoadedFile", "?", 260);
    }
    // A value as the settings file at path (relative to the working directory) holds it.
    static std::string readStringFrom(const char* path, const char* key,
                                      const char* section = "Session") {
        return SettingsFile(std::string(".\\") + path).readString(section, key, "", 260);
    }

    DocumentPrompts saved;
    std::string answer, proposed;
    DocumentPrompts::Unsaved unsavedAnswer = DocumentPrompts::Unsaved::Discard;
    DocumentPrompts::PartlyRead partlyReadAnswer = DocumentPrompts::PartlyRead::Cancel;
    int partlyReadQuestions = 0;
    int dialogs = 0, questions = 0;
    bool lastDialogWasSave = false;
    std::vector<std::string> told;
};
