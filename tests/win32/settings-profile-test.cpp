// The program's settings file against the Windows private-profile functions it stands in
// for, and the file replacement it writes through.
#include <gtest/gtest.h>

#include "core/settings-file.h"
#include "win32-test-support.h"

TEST(SettingsAgainstProfile, WindowsReadsWhatTheProgramWrites) {
    const char* kPath = ".\\profile-written.ini";
    DeleteFileA(kPath);
    SettingsFile settings(kPath);
    ASSERT_TRUE(settings.writeInt("Session", "x", -40));
    ASSERT_TRUE(settings.writeString("Session", "LoadedFile", "C:\\models\\a b.obj"));
    ASSERT_TRUE(settings.writeFloat("Session", "theta", 1.5f));
    ASSERT_TRUE(settings.writeString("Tool", "SelectedPatches", "2;5"));
    ASSERT_TRUE(settings.writeInt("Session", "x", 12)); // replaced over an existing file
    EXPECT_EQ(12u, GetPrivateProfileIntA("session", "X", 0, kPath));
    char buffer[260];
    GetPrivateProfileStringA("Session", "LoadedFile", "", buffer, sizeof buffer, kPath);
    EXPECT_STREQ("C:\\models\\a b.obj", buffer);
    GetPrivateProfileStringA("Session", "theta", "", buffer, sizeof buffer, kPath);
    EXPECT_STREQ("1.500000", buffer);
    GetPrivateProfileStringA("Tool", "SelectedPatches", "", buffer, sizeof buffer, kPath);
    EXPECT_STREQ("2;5", buffer);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(".\\profile-written.ini.tmp"));
}

TEST(SettingsAgainstProfile, TheProgramReadsWhatWindowsWrites) {
    const char* kPath = ".\\profile-read.ini";
    DeleteFileA(kPath);
    WritePrivateProfileStringA("Session", "distance", "-1", kPath);
    WritePrivateProfileStringA("Session", "grid", "7", kPath);
    WritePrivateProfileStringA("Tool", "SelectedPatches", "3;x;1;", kPath);
    WritePrivateProfileStringA("Session", "grid", "1", kPath);
    SettingsFile settings(kPath);
    EXPECT_EQ(-1, settings.readInt("Session", "distance", 1));
    EXPECT_EQ(1, settings.readInt("SESSION", "Grid", 0));
    EXPECT_EQ("3;x;1;", settings.readString("Tool", "SelectedPatches", "", 560));
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("Session", "missing", 800, kPath)),
              settings.readInt("Session", "missing", 800));
}
