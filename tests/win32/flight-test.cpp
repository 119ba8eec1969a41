// The planet, the head-up display and flight on the running program.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <set>

#include "graphics/planet-geometry.h"
#include "tools-fixture.h"
#include "ui/palette.h"

namespace {

class FlightTest : public ToolsTest {
  protected:
    // The back buffer read after a present holds the frame before it: draw the same twice.
    BackBuffer frame() {
        frameRender();
        frameRender();
        return readBackBuffer(*renderer);
    }
    static bool isBlack(const BackBuffer& b, int x, int y) { return (b.at(x, y) & 0xFFFFFF) == 0; }
    // Pixels of a row that are neither black nor the model's red.
    static int planetPixels(const BackBuffer& b, int y) {
        int n = 0;
        for (int x = 0; x < b.width; ++x)
            if (!isBlack(b, x, y) && !(b.red(x, y) == 255 && b.green(x, y) == 0)) ++n;
        return n;
    }
};

} // namespace

TEST_F(FlightTest, ThePlanetShowsAheadAndTheKeysToggleIt) {
    // Looking along +z from the origin side, the planet fills a disc around the middle; a row
    // above the model crosses it.
    orbitCamera.gamma = 0;
    const BackBuffer shown = frame();
    const int row = shown.height / 2 - 170;
    const int with = planetPixels(shown, row);
    EXPECT_GT(with, shown.width / 4) << "the planet's disc";
    // Not a flat colour: the picture's land and sea differ along the row.
    std::set<uint32_t> colours;
    for (int x = 0; x < shown.width; ++x)
        colours.insert(shown.at(x, row) & 0xFFFFFF);
    EXPECT_GT(colours.size(), 20u);

    SendMessageA(application.mainWindow, WM_KEYUP, 'H', 0); // planet off
    EXPECT_LT(planetPixels(frame(), row), with / 10);
    SendMessageA(application.mainWindow, WM_KEYUP, 'J', 0); // the sphere mesh instead
    EXPECT_GT(planetPixels(frame(), row), shown.width / 4);
}

TEST_F(FlightTest, PlayFliesFromTheCockpitAndStopLeavesTheShipDrifting) {
    paletteClick(palette::Play);
    EXPECT_EQ(0, editorState.mode);
    application.ship.velocity = {0, 0, 0, 0};
    frameTick();
    frameTick();
    // No controller here: centred stick, no thrust; only gravity pulls towards the planet.
    EXPECT_GT(application.ship.velocity.z, 0.0f);
    EXPECT_EQ(0.0f, application.ship.angularVelocity.x);
    EXPECT_LT(application.ship.velocity.z, 10.0f);
    const BackBuffer cockpit = frame(); // the head-up display's glass in front of the eye
    EXPECT_FALSE(isBlack(cockpit, cockpit.width / 2, cockpit.height / 2 + 40));

    paletteClick(palette::Stop);
    EXPECT_EQ(1, editorState.mode);
    application.ship.velocity = {0, 0, 100, 0};
    const vm::Vec4 before = application.ship.position;
    Sleep(20);
    frameTick();
    EXPECT_GT(application.ship.position.z, before.z); // drifting on
    EXPECT_EQ(100.0f, application.ship.velocity.z);   // no flight step while editing
}
