// The INI reader and writer behind session.ini.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings-file.h"
#include "model/shape-outline.h"
#include "temp-dir.h"

TEST(SettingsRead, MissingFileGivesEveryDefault) {
    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    EXPECT_EQ(1200, settings.readInt("Session", "w", 1200));
    EXPECT_EQ("", settings.readString("Session", "LoadedFile", "", 260));
    EXPECT_EQ(0.0f, settings.readFloat("Session", "theta"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("session.ini")));
}

TEST(SettingsRead, IntegersTakeTheLeadingNumber) {
    TempDir dir;
    TempDir::write(dir.file("s.ini"), "[Session]\r\na=12abc\r\nb=abc\r\nc=-7\r\nd= 42 \r\ne=\r\n"
                                      "f=-2147483648\r\n");
    SettingsFile settings(dir.file("s.ini"));
    EXPECT_EQ(12, settings.readInt("Session", "a", 5));
    EXPECT_EQ(0, settings.readInt("Session", "b", 5));
    EXPECT_EQ(-7, settings.readInt("Session", "c", 5));
    EXPECT_EQ(42, settings.readInt("Session", "d", 5));
    EXPECT_EQ(0, settings.readInt("Session", "e", 5)); // present but empty
    EXPECT_EQ(static_cast<int>(0x80000000u), settings.readInt("Session", "f", 5));
    EXPECT_EQ(5, settings.readInt("Session", "missing", 5));
}

TEST(SettingsRead, NamesIgnoreCaseAndTheFirstMatchWins) {
    TempDir dir;
    TempDir::write(dir.file("s.ini"), "[tool]\nx=1\n[SESSION]\nCURRENTVIEW=3\ncurrentview=4\n"
                                      "[Session]\nCurrentView=2\n");
    SettingsFile settings(dir.file("s.ini"));
    EXPECT_EQ(3, settings.readInt("Session", "CurrentView", 0));
    EXPECT_EQ(1, settings.readInt("Tool", "X", 0));
    EXPECT_EQ(0, settings.readInt("Other", "x", 0)); // keys belong to their section
}

TEST(SettingsRead, StringsAreCutToTheBufferAndFloatsParseWithPercentF) {
    TempDir dir;
    TempDir::write(dir.file("s.ini"), "[Session]\nLoadedFile=" + std::string(300, 'a') +
                                          "\ntheta=1.25\ngamma=junk\noffset.x=-0.5xyz\n");
    SettingsFile settings(dir.file("s.ini"));
    EXPECT_EQ(std::string(259, 'a'), settings.readString("Session", "LoadedFile", "", 260));
    EXPECT_EQ("ab", settings.readString("Session", "nothing", "abcdef", 3));
    EXPECT_EQ(1.25f, settings.readFloat("Session", "theta"));
    EXPECT_EQ(0.0f, settings.readFloat("Session", "gamma"));
    EXPECT_EQ(-0.5f, settings.readFloat("Session", "offset.x"));
}

TEST(SettingsWrite, CreatesTheFileAndSectionWithWindowsLines) {
    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    ASSERT_TRUE(settings.writeInt("Session", "w", 1200));
    ASSERT_TRUE(settings.writeFloat("Session", "theta", 0.5f));
    EXPECT_EQ("[Session]\r\nw=1200\r\ntheta=0.500000\r\n", TempDir::read(dir.file("session.ini")));
    EXPECT_EQ(1200, settings.readInt("Session", "w", 0));
    // A camera on a model a millionth across keeps its place.
    ASSERT_TRUE(settings.writeFloat("Session", "offset.x", 2.625e-7f));
    EXPECT_EQ(2.625e-7f, settings.readFloat("Session", "offset.x"));
    EXPECT_EQ("3 1.3375e-06 0.000000 -1.000000 ", pointRowText(3, {1.3375e-6f, 0, -1}));
}

TEST(SettingsWrite, ReplacesOnlyItsKeyAndKeepsEverythingElse) {
    TempDir dir;
    TempDir::write(dir.file("s.ini"), "; note\r\n[Session]\r\nx=1\r\nY=2\r\n\r\n[Tool]\r\n"
                                      "SelectedPatches=1;2\r\n");
    SettingsFile settings(dir.file("s.ini"));
    ASSERT_TRUE(settings.writeInt("session", "y", -40));
    ASSERT_TRUE(settings.writeInt("Session", "distance", 3)); // new key stays in its section
    ASSERT_TRUE(settings.writeString("Other", "k", "v"));
    EXPECT_EQ("; note\r\n[Session]\r\nx=1\r\nY=-40\r\ndistance=3\r\n\r\n[Tool]\r\n"
              "SelectedPatches=1;2\r\n\r\n[Other]\r\nk=v\r\n",
              TempDir::read(dir.file("s.ini")));
}

TEST(SettingsWrite, ReplacesTheFileWholeAndReportsFailure) {
    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    ASSERT_TRUE(settings.writeString("Session", "LoadedFile", "a.obj"));
    ASSERT_TRUE(settings.writeString("Session", "LoadedFile", "b.obj"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("session.ini.tmp")));
    EXPECT_EQ("b.obj", settings.readString("Session", "LoadedFile", "", 260));

    SettingsFile nowhere(dir.file("no-such-folder/session.ini"));
    EXPECT_FALSE(nowhere.writeInt("Session", "x", 1));
}
