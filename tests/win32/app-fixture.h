// Tests that start the real program in their own process and folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "app/win32/application.h"
#include "win32-test-support.h"

// Runs the program's start-up in this process, in a folder of the test's own.
class AppFixture : public ::testing::Test {
  protected:
    // Each test works in a folder of its own holding its session.ini.
    void SetUp() override {
        setFatalErrorHandler(throwOnFatalError);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::string("startup-") + info->name();
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
        DeleteFileA("session.ini");
        DeleteFileA("recovery.obj");
        std::filesystem::remove_all("recovery"); // copies an earlier run left behind
        // The shaders the program compiles and the picture it loads at start-up.
        std::filesystem::remove_all("graphics");
        std::filesystem::copy("../graphics", "graphics", std::filesystem::copy_options::recursive);
        CopyFileA("../1_earth_16k.jpg", "1_earth_16k.jpg", FALSE);
    }
    // Closing the main window lets go of the device before the process ends.
    void TearDown() override {
        if (IsWindow(application.main.window)) DestroyWindow(application.main.window);
        pumpMessages();
        SetCurrentDirectoryA("..");
    }

    void start(const std::string& session = "") {
        if (!session.empty()) writeTextFile(L"session.ini", session);
        ASSERT_TRUE(startUp(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
        pumpMessages();
    }

    static std::string windowText(HWND w) {
        char text[512] = {};
        GetWindowTextA(w, text, sizeof text);
        return text;
    }
    static RECT windowRect(HWND w) {
        RECT r;
        GetWindowRect(w, &r);
        return r;
    }
    static RECT clientRect(HWND w) {
        RECT r;
        GetClientRect(w, &r);
        return r;
    }
    static POINT clientOrigin(HWND w) {
        POINT p = {0, 0};
        ClientToScreen(w, &p);
        return p;
    }
    // A view window's rectangle in the main window's client coordinates.
    static RECT childRect(HWND child) {
        RECT r = windowRect(child);
        MapWindowPoints(nullptr, application.main.window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    std::string folder;
};
