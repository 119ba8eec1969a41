// Tests that start the real program in their own process and folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/win32/shell.h"
#include "ui/win32/session-settings.h"
#include "win32-test-support.h"

// Runs the program's start-up in this process, in a folder of the test's own. The test makes
// the shell as WinMain does; what it works on is read and driven through it.
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
        if (shell_ && IsWindow(shell_->mainHandles.window))
            DestroyWindow(shell_->mainHandles.window);
        pumpMessages();
        SetCurrentDirectoryA("..");
    }

    void start(const std::string& session = "") {
        if (!session.empty()) writeTextFile(L"session.ini", session);
        shell_ = std::make_unique<Shell>();
        ASSERT_TRUE(shell_->startUp(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
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
    RECT childRect(HWND child) {
        RECT r = windowRect(child);
        MapWindowPoints(nullptr, shell().mainHandles.window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    // The running shell, made by start().
    Shell& shell() const { return *shell_; }

    std::string folder;
    std::unique_ptr<Shell> shell_;
};
