// File → Open Recent's list: newest first, each file once, at most eight, kept in the
// settings file.
#include <gtest/gtest.h>

#include "core/settings-file.h"
#include "editor/recent-files.h"
#include "temp-dir.h"

TEST(RecentFiles, NewestFirstOnceEachAtMostEightAndKeptInTheSettings) {
    RecentFiles recent;
    for (int i = 0; i < 10; ++i)
        recent.add("C:\\models\\m" + std::to_string(i) + ".obj");
    recent.add("c:/MODELS/m5.obj"); // the same file, written otherwise: it moves up
    ASSERT_EQ(RecentFiles::kMaxFiles, recent.files().size());
    EXPECT_EQ("c:/MODELS/m5.obj", recent.files()[0]);
    EXPECT_EQ("C:\\models\\m9.obj", recent.files()[1]);
    EXPECT_EQ("C:\\models\\m2.obj", recent.files().back());
    EXPECT_TRUE(recent.forget("C:\\models\\m9.obj"));
    EXPECT_FALSE(recent.forget("C:\\models\\m9.obj"));

    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    ASSERT_TRUE(recent.save(settings));
    RecentFiles read;
    read.load(settings);
    EXPECT_EQ(recent.files(), read.files());

    // What another hand left: gaps, repeats and a value too long to be a path.
    TempDir::write(settings.path(), "[Recent]\nFile1=\nFile2=a.obj\nFile3=A.OBJ\nFile4=" +
                                        std::string(5000, 'x') + "\nFile8=b.stp\n");
    read.load(settings);
    EXPECT_EQ((std::vector<std::string>{"a.obj", "b.stp"}), read.files());
}
