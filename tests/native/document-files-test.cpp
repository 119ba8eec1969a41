// New, Open, Save, Import and Export of the document with the dialogs' answers given by the
// test: what is asked, what is told, what is written and what the document becomes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/document-files.h"
#include "model/obj-format.h"
#include "temp-dir.h"

namespace {

struct Files {
    TempDir dir;
    Model model;
    Document document{model};
    DocumentPrompts prompts;
    std::vector<std::string> told, asked;
    std::string answer; // the file dialogs' answer; "" cancels
    DocumentPrompts::Unsaved unsaved = DocumentPrompts::Unsaved::Discard;
    int dialogs = 0, discarded = 0, shownWhole = 0;
    std::vector<std::string> remembered;
    DocumentFiles files{document, prompts, platform()};

    Files() {
        auto choose = [this](std::string& path) {
            ++dialogs;
            if (answer.empty()) return false;
            path = dir.file(answer);
            return true;
        };
        prompts.chooseFile = [choose](bool, std::string& path) { return choose(path); };
        prompts.chooseImport = choose;
        prompts.chooseExport = [choose](std::string& path, DocumentPrompts::ExportKind&) {
            return choose(path);
        };
        prompts.askUnsaved = [this](const std::string& title) {
            asked.push_back(title);
            return unsaved;
        };
        prompts.askPartlyRead = [this](const std::string&, const std::string&) {
            asked.push_back("partly read");
            return DocumentPrompts::PartlyRead::Cancel;
        };
        prompts.askReplaceModel = [this](const std::string& question) {
            asked.push_back(question);
            return false;
        };
        prompts.tell = [this](const std::string& message) { told.push_back(message); };
        files.newDocument();
    }
    DocumentFiles::Platform platform() {
        DocumentFiles::Platform p;
        p.discardRecovery = [this] { ++discarded; };
        p.showWhole = [this] { ++shownWhole; };
        p.rememberPath = [this](const std::string& path) { remembered.push_back(path); };
        return p;
    }
    void modify() {
        document.edit("Move", [](Model& m) { m.points[0].x += 1; });
    }
};

} // namespace

TEST(DocumentFiles, SaveAsksWithoutAPathWritesAndClearsTheMarkOrSaysWhyNot) {
    Files f;
    f.modify();
    EXPECT_FALSE(f.files.save()); // the dialog cancelled: nothing written, still modified
    EXPECT_TRUE(f.document.modified());
    f.answer = "no such folder/ship.obj";
    EXPECT_FALSE(f.files.save());
    ASSERT_EQ(1u, f.told.size());
    EXPECT_NE(std::string::npos, f.told[0].find("no such folder/ship.obj"));
    EXPECT_TRUE(f.document.modified());

    f.answer = "ship";
    EXPECT_TRUE(f.files.save());
    EXPECT_FALSE(f.document.modified());
    EXPECT_EQ(f.dir.file("ship"), f.document.path()); // no extension added here
    EXPECT_EQ(std::vector<std::string>{f.dir.file("ship")}, f.remembered);
    f.modify();
    EXPECT_TRUE(f.files.save()); // with a path: no dialog
    EXPECT_EQ(3, f.dialogs);
}

TEST(DocumentFiles, NewAndOpenAskAboutUnsavedChangesAndKeepTheDocumentWhenRefused) {
    Files f;
    f.modify();
    f.unsaved = DocumentPrompts::Unsaved::Cancel;
    f.files.newDocument();
    EXPECT_TRUE(f.document.modified());
    f.unsaved = DocumentPrompts::Unsaved::Discard;
    f.files.open(); // given up, then no file chosen: the work and its recovery copy stay
    EXPECT_TRUE(f.document.modified());
    EXPECT_EQ(0, f.discarded);
    f.files.newDocument();
    EXPECT_FALSE(f.document.modified());
    EXPECT_EQ(1, f.discarded);
    EXPECT_EQ((std::vector<std::string>{"Untitled", "Untitled", "Untitled"}), f.asked);
    EXPECT_TRUE(f.remembered.empty()); // New does not change the remembered file

    TempDir::write(f.dir.file("bad.obj"),
                   "cstype bezier\r\ndeg 3\r\nv 0 0 0\r\n"
                   "surf 0.0 1.0 0.0 1.0 0 1 2 3 4 5 6 7 8 9 1 1 1 1 1 1\r\n");
    TempDir::write(f.dir.file("standard.obj"),
                   "v 0 0 0\ncstype bezier\ndeg 3 3\n"
                   "surf 0 1 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\nend\n");
    f.answer = "bad.obj";
    f.files.open();
    f.answer = "standard.obj";
    f.files.open();
    ASSERT_EQ(2u, f.told.size());
    EXPECT_NE(std::string::npos, f.told[0].find("bad.obj"));
    EXPECT_NE(std::string::npos, f.told[1].find("Import (Ctrl+I) reads it")) << f.told[1];
    EXPECT_EQ(4u, f.model.patches.size());
    EXPECT_EQ("", f.document.path());

    // Save first: a save that goes through lets Open go on.
    ASSERT_TRUE(saveObj(f.model, f.dir.file("four.obj")).ok());
    f.modify();
    f.unsaved = DocumentPrompts::Unsaved::Save;
    f.answer = "four.obj";
    f.files.open();
    EXPECT_EQ(f.dir.file("four.obj"), f.document.path());
    EXPECT_FALSE(f.document.modified());
    EXPECT_FALSE(f.document.history().canUndo());
}

TEST(DocumentFiles, APartlyReadFileIsToldAndItsFirstSaveAsks) {
    Files f;
    TempDir::write(f.dir.file("part.obj"),
                   "cstype bezier\r\ndeg 3\r\nv 0 0 0\r\n"
                   "surf 0.0 1.0 0.0 1.0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\r\n"
                   "end\r\nsurf 0.0 1.0\r\n");
    f.answer = "part.obj";
    f.files.open();
    ASSERT_FALSE(f.document.partlyRead().empty());
    ASSERT_EQ(1u, f.told.size());
    EXPECT_NE(std::string::npos, f.told[0].find("read only part")) << f.told[0];
    f.modify();
    EXPECT_FALSE(f.files.save()); // asked, and cancelled: the file keeps all it had
    EXPECT_EQ(std::vector<std::string>{"partly read"}, f.asked);
    EXPECT_NE(std::string::npos, TempDir::read(f.dir.file("part.obj")).find("surf 0.0 1.0\r\n"));
}

// Start-up's file goes through Open's reading without its questions; a refusal is handed
// back untold, so that the built-in model can be in place before it is said.
TEST(DocumentFiles, OpenFileAsksNothingAndHandsItsRefusalBack) {
    Files f;
    f.modify();
    EXPECT_NE(std::string::npos,
              f.files.openFile(f.dir.file("gone.obj"), "not there").find("not there"));
    TempDir::write(f.dir.file("wing.obj"), "cstype bezier\r\ndeg 3\r\nv 0 0 0\r\n");
    EXPECT_EQ("", f.files.openFile(f.dir.file("wing.obj"), "not there"));
    EXPECT_EQ(f.dir.file("wing.obj"), f.document.path());
    EXPECT_TRUE(f.asked.empty() && f.told.empty() && f.dialogs == 0);
    EXPECT_EQ(std::vector<std::string>{f.dir.file("wing.obj")}, f.remembered);
    f.files.startUntitled();
    EXPECT_EQ("", f.document.path());
    EXPECT_FALSE(f.model.patches.empty());

    // A file given to the program: another program's model is imported, untitled and
    // modified; a broken file of the editor's own is refused with the open's reason.
    std::string text = "1\n3 3\n";
    for (int i = 0; i < 16; ++i)
        text += std::to_string(i % 4) + " " + std::to_string(i / 4) + " 0\n";
    TempDir::write(f.dir.file("one.bpt"), text);
    EXPECT_EQ("", f.files.openGiven(f.dir.file("one.bpt"), "not there"));
    EXPECT_EQ(1u, f.model.patches.size());
    EXPECT_TRUE(f.document.path().empty() && f.document.modified());
    TempDir::write(f.dir.file("broken.obj"), "cstype bezier\r\ndeg 3\r\nv 0 0 0\r\nsurf 0.0 1.0 "
                                             "0.0 1.0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 5\r\n");
    EXPECT_NE(std::string::npos,
              f.files.openGiven(f.dir.file("broken.obj"), "").find("uses point 5"));
    TempDir::write(f.dir.file("cut.stp"), "ISO-10303-21;\nHEADER;\n"); // its reader's reason
    EXPECT_NE(std::string::npos,
              f.files.openGiven(f.dir.file("cut.stp"), "").find("could not import"));
    TempDir::write(f.dir.file("nan.bpt"), "1\n3 3\n1.0 nan 2\n");
    EXPECT_NE(std::string::npos,
              f.files.openGiven(f.dir.file("nan.bpt"), "").find("finite")); // the importer's
    EXPECT_EQ(1u, f.model.patches.size());
    EXPECT_EQ(1u, f.remembered.size()); // an import is not remembered as the start-up file
}

TEST(DocumentFiles, ImportIsUntitledAndModifiedOrRefusedWhole) {
    Files f;
    TempDir::write(f.dir.file("rational.obj"), "cstype rat bezier\ndeg 3 3\nv 0 0 0\n"
                                               "surf 0 1 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n");
    std::string text = "1\n3 3\n";
    for (int i = 0; i < 16; ++i)
        text += std::to_string(i % 4) + " " + std::to_string(i / 4) + " 0\n";
    TempDir::write(f.dir.file("one.bpt"), text);
    f.answer = "rational.obj";
    f.files.import();
    ASSERT_EQ(1u, f.told.size());
    EXPECT_NE(std::string::npos, f.told[0].find("Nothing was imported")) << f.told[0];
    EXPECT_EQ(4u, f.model.patches.size());
    f.answer = "one.bpt";
    f.files.import();
    EXPECT_EQ(1u, f.model.patches.size());
    EXPECT_TRUE(f.document.modified());
    EXPECT_EQ("", f.document.path()); // its first Save asks, never over the imported file
}

TEST(DocumentFiles, ExportWritesAMeshLeavesTheDocumentAndAsksBeforeReplacingAModel) {
    Files f;
    f.modify();
    f.answer = "band.stl"; // the built-in band: 4 patches of 2 · 8 · 8 triangles
    f.files.exportSurfaces();
    EXPECT_TRUE(f.told.empty());
    EXPECT_EQ(84u + 50u * 512u, std::filesystem::file_size(f.dir.file("band.stl")));
    EXPECT_TRUE(f.document.modified());
    EXPECT_EQ("", f.document.path());

    ASSERT_TRUE(saveObj(f.model, f.dir.file("model.obj")).ok());
    const std::string before = TempDir::read(f.dir.file("model.obj"));
    f.answer = "model.obj";
    f.files.exportSurfaces(); // asked, refused: the model stays
    ASSERT_EQ(1u, f.asked.size());
    EXPECT_NE(std::string::npos, f.asked[0].find("holds a model"));
    EXPECT_EQ(before, TempDir::read(f.dir.file("model.obj")));
    f.answer = "band.ply";
    f.files.exportSurfaces();
    ASSERT_EQ(1u, f.told.size());
    EXPECT_NE(std::string::npos, f.told[0].find("must end in .obj, .stl, .igs"));
    f.answer = "band.step"; // the exact surfaces, by the name
    f.files.exportSurfaces();
    EXPECT_EQ(1u, f.told.size());
    EXPECT_NE(std::string::npos,
              TempDir::read(f.dir.file("band.step")).find("B_SPLINE_SURFACE_WITH_KNOTS"));
    EXPECT_TRUE(f.document.modified());
}

TEST(DocumentFiles, EachFileCommandSaysWhatItDidAndAnOpenedModelIsShownWhole) {
    Files f;
    std::string proposed;
    const auto choose = f.prompts.chooseFile;
    f.prompts.chooseFile = [&](bool save, std::string& path) {
        proposed = path;
        return choose(save, path);
    };
    EXPECT_EQ("New untitled document", f.files.takeOutcome());
    EXPECT_FALSE(f.files.saveAs()); // cancelled: nothing to say of its own
    EXPECT_EQ("Untitled.obj", proposed);
    EXPECT_EQ("", f.files.takeOutcome());
    f.answer = "wing.obj";
    f.files.save();
    EXPECT_EQ("Saved wing.obj", f.files.takeOutcome());
    EXPECT_EQ("", f.files.takeOutcome()); // taken once
    f.answer = "wing.stp";
    f.files.exportSurfaces();
    EXPECT_EQ("Exported wing.stp: 4 surfaces", f.files.takeOutcome());
    f.answer = "wing.obj";
    f.files.open();
    EXPECT_EQ("Opened wing.obj: 4 patches", f.files.takeOutcome());
    EXPECT_EQ(1, f.shownWhole);
    f.answer = "wing.ply";
    f.files.exportSurfaces();
    EXPECT_EQ(f.told.back(), f.files.takeOutcome()); // a refusal says why, as told
    std::string patch = "1\n3 3\n";
    for (int i = 0; i < 16; ++i)
        patch += std::to_string(i % 4) + " " + std::to_string(i / 4) + " 0\n";
    TempDir::write(f.dir.file("one.bpt"), patch);
    f.answer = "one.bpt";
    f.files.import();
    EXPECT_EQ("Imported one.bpt: 1 patch", f.files.takeOutcome());
    EXPECT_EQ(2, f.shownWhole);
}
