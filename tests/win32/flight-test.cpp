// The planet, the head-up display and flight on the running program.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <set>
#include <string>

#include "editor/selection.h"
#include "graphics/planet-geometry.h"
#include "tools-fixture.h"
#include "ui/win32/palette.h"
#include "ui/win32/tool-overlays.h"

namespace {

class FlightTest : public ToolsTest {
  protected:
    // The back buffer read after a present holds the frame before it: draw the same twice.
    BackBuffer frame() {
        shell().frameRender();
        shell().frameRender();
        return readBackBuffer(*shell().renderer);
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
    shell().camera.gamma = 0;
    const BackBuffer shown = frame();
    const int row = shown.height / 2 - 170;
    const int with = planetPixels(shown, row);
    EXPECT_GT(with, shown.width / 4) << "the planet's disc";
    // Not a flat colour: the picture's land and sea differ along the row.
    std::set<uint32_t> colours;
    for (int x = 0; x < shown.width; ++x)
        colours.insert(shown.at(x, row) & 0xFFFFFF);
    EXPECT_GT(colours.size(), 20u);

    SendMessageA(shell().mainHandles.window, WM_KEYUP, 'H', 0); // planet off
    EXPECT_LT(planetPixels(frame(), row), with / 10);
    SendMessageA(shell().mainHandles.window, WM_KEYUP, 'J', 0); // the sphere mesh instead
    EXPECT_GT(planetPixels(frame(), row), shown.width / 4);
}

TEST_F(FlightTest, PlayFliesFromTheCockpitAndStopLeavesTheShipDrifting) {
    paletteClick(palette::Play);
    EXPECT_EQ(Mode::Flight, shell().editor.mode);
    shell().ship.velocity = {0, 0, 0, 0};
    shell().frameTick();
    shell().frameTick();
    // No controller here: centred stick, no thrust; only gravity pulls towards the planet.
    EXPECT_GT(shell().ship.velocity.z, 0.0f);
    EXPECT_EQ(0.0f, shell().ship.angularVelocity.x);
    EXPECT_LT(shell().ship.velocity.z, 10.0f);
    const BackBuffer cockpit = frame(); // the head-up display's glass in front of the eye
    EXPECT_FALSE(isBlack(cockpit, cockpit.width / 2, cockpit.height / 2 + 40));

    paletteClick(palette::Stop);
    EXPECT_EQ(Mode::Editing, shell().editor.mode);
    shell().ship.velocity = {0, 0, 100, 0};
    const vm::Vec4 before = shell().ship.position;
    Sleep(20);
    shell().frameTick();
    EXPECT_GT(shell().ship.position.z, before.z); // drifting on
    EXPECT_EQ(100.0f, shell().ship.velocity.z);   // no flight step while editing
}

TEST_F(AppFixture, AMissingPlanetImageEndsStartUpWithError) {
    DeleteFileA("1_earth_16k.jpg");
    try {
        shell_ = std::make_unique<Shell>();
        shell_->startUp(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
        ADD_FAILURE() << "start-up went on without the planet image";
    } catch (const FatalErrorThrown& e) {
        EXPECT_STREQ("error", e.what());
    }
}

namespace {

// A bottom-up 24-bit BMP of w × h pixels, each given as 0xRRGGBB, top row first.
void writeBmp(const char* path, int w, int h, const std::vector<uint32_t>& rgb) {
    const int pitch = (w * 3 + 3) & ~3;
    std::string bytes(54 + static_cast<size_t>(pitch * h), '\0');
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&bytes[at], &v, 4); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = rgb[static_cast<size_t>(y * w + x)];
            char* p = &bytes[54 + static_cast<size_t>((h - 1 - y) * pitch + x * 3)];
            p[0] = static_cast<char>(c & 0xFF);
            p[1] = static_cast<char>((c >> 8) & 0xFF);
            p[2] = static_cast<char>((c >> 16) & 0xFF);
        }
    writeTextFile(std::wstring(path, path + std::strlen(path)).c_str(), bytes);
}

} // namespace

TEST_F(AppFixture, PicturesAreUploadedAsRgbaWithTheirColoursInPlace) {
    start();
    writeBmp("colours.bmp", 3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808040});
    LoadedTexture picture = loadTexture(*shell().renderer, L"colours.bmp");
    D3D11_TEXTURE2D_DESC desc = {};
    picture.texture->GetDesc(&desc);
    EXPECT_EQ(3u, desc.Width);
    EXPECT_EQ(2u, desc.Height);
    EXPECT_EQ(DXGI_FORMAT_R8G8B8A8_UNORM, desc.Format);

    desc.Usage = D3D11_USAGE_STAGING;
    desc.BindFlags = 0;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    ComPtr<ID3D11Texture2D> staging;
    ASSERT_EQ(S_OK, shell().renderer->device()->CreateTexture2D(&desc, nullptr, &staging));
    shell().renderer->context()->CopyResource(staging.Get(), picture.texture.Get());
    D3D11_MAPPED_SUBRESOURCE mapped;
    ASSERT_EQ(S_OK, shell().renderer->context()->Map(staging.Get(), 0, D3D11_MAP_READ, 0, &mapped));
    auto texel = [&](int x, int y) {
        uint32_t v;
        std::memcpy(&v, static_cast<const char*>(mapped.pData) + y * mapped.RowPitch + x * 4, 4);
        return v; // R in the low byte
    };
    EXPECT_EQ(0xFF0000FFu, texel(0, 0));
    EXPECT_EQ(0xFF00FF00u, texel(1, 0));
    EXPECT_EQ(0xFFFF0000u, texel(2, 0));
    EXPECT_EQ(0xFF408080u, texel(2, 1));
    shell().renderer->context()->Unmap(staging.Get(), 0);

    shell().scene.planet().texture->GetDesc(&desc);
    EXPECT_EQ(2048u, desc.Width); // the shipped Earth map
}

namespace {
// Mean x of the marker's bright green pixels in a frame, or −1 when there are none.
double markerX(const BackBuffer& b) {
    double sum = 0;
    int n = 0;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.green(x, y) > 180 && b.red(x, y) < 150) {
                sum += x;
                ++n;
            }
    return n ? sum / n : -1;
}
} // namespace

TEST_F(FlightTest, TheMarkerPointsToTheSideThePlanetIsOn) {
    paletteClick(palette::Play);
    shell().scene.display().planetVisible = false; // the marker alone, whatever lies ahead
    shell().ship.velocity = {};
    // The display sits at the first locator: one ahead of the eye and above the model.
    Model::Locator cockpit;
    cockpit.position = {0, 0.6f, 2.5f, 1};
    shell().ship.locators.push_back(cockpit);
    // The ship's +x (the pilot's left) turned towards the planet, then its −x.
    shell().ship.orientation = vm::quaternionRotationAxis({0, 1, 0, 0}, -1.5707964f);
    const BackBuffer left = frame();
    shell().ship.orientation = vm::quaternionRotationAxis({0, 1, 0, 0}, 1.5707964f);
    const BackBuffer right = frame();
    const double leftX = markerX(left), rightX = markerX(right);
    ASSERT_GE(leftX, 0) << "no marker seen";
    ASSERT_GE(rightX, 0) << "no marker seen";
    EXPECT_LT(leftX, left.width / 2.0);
    EXPECT_GT(rightX, right.width / 2.0);
}

TEST_F(FlightTest, TheKeyboardFliesTheShipAndHomeBringsItBack) {
    const vm::Vec4 target = shell().camera.offset;
    paletteClick(palette::Play);
    // A frame first: the next step then spans one frame, not the time since start-up (seconds
    // on a loaded machine, over which the stick would turn the ship past its nose-down).
    shell().frameTick();
    SendMessageA(shell().mainHandles.window, WM_KEYDOWN, VK_UP, 0);    // stick forward: nose down
    SendMessageA(shell().mainHandles.window, WM_KEYDOWN, 'W', 0);      // an editing key: no effect
    SendMessageA(shell().mainHandles.window, WM_KEYDOWN, VK_PRIOR, 0); // throttle open
    for (int i = 0; i < 20; ++i) {
        Sleep(10);
        shell().frameTick();
    }
    SendMessageA(shell().mainHandles.window, WM_KEYUP, VK_UP, 0);
    SendMessageA(shell().mainHandles.window, WM_KEYUP, 'W', 0);
    SendMessageA(shell().mainHandles.window, WM_KEYUP, VK_PRIOR, 0);
    const vm::Mat4 r = vm::rotationQuaternion(shell().ship.orientation);
    EXPECT_LT(r.m[2][1], 0.0f); // the ship's z turned towards −y
    EXPECT_GT(shell().flight.keyboardControls().throttle, 0.0f);
    EXPECT_GT(vm::length3(shell().ship.velocity), 10.0f); // thrust on top of gravity
    EXPECT_EQ(target.z, shell().camera.offset.z);         // W did not move the target
    char status[64] = {};
    SendMessageA(static_cast<HWND>(shell().mainHandles.statusBar), SB_GETTEXTA, 0,
                 reinterpret_cast<LPARAM>(status));
    EXPECT_EQ(0, std::strncmp(status, "speed ", 6)) << status;

    SendMessageA(shell().mainHandles.window, WM_KEYDOWN, VK_BACK, 0); // cut
    EXPECT_EQ(0.0f, shell().flight.keyboardControls().throttle);
    paletteClick(palette::Stop);
    EXPECT_TRUE(SendMessageA(shell().paletteHandles.toolbar, TB_GETSTATE, palette::Stop, 0) &
                TBSTATE_ENABLED); // away from the start: "stop" again brings it home
    paletteClick(palette::Stop);
    EXPECT_TRUE(shell().ship.atHome());
    EXPECT_FALSE(SendMessageA(shell().paletteHandles.toolbar, TB_GETSTATE, palette::Stop, 0) &
                 TBSTATE_ENABLED);

    shell().ship.position = {5, 0, 0, 0};
    SendMessageA(shell().mainHandles.window, WM_KEYDOWN, VK_HOME, 0); // Home, in editing mode
    EXPECT_TRUE(shell().ship.atHome());
}

TEST_F(FlightTest, TheSelectionBracketsFollowTheShipWhereverAFlightLeftIt) {
    selectAll(shell().ship);
    // The overlays alone, drawn twice (the read-back holds the frame before the last).
    auto overlayCentreX = [this] {
        Renderer& r = *shell().renderer;
        RECT client;
        GetClientRect(shell().mainHandles.view, &client);
        for (int i = 0; i < 2; ++i) {
            FrameView frame;
            frame.viewProjection = shell().camera.viewMatrix() * r.projection();
            r.beginView(0, frame);
            shell().overlays.draw(0, static_cast<float>(client.right) /
                                         static_cast<float>(client.bottom));
            r.present(0);
        }
        const BackBuffer b = readBackBuffer(r);
        double sum = 0;
        int n = 0;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x)
                if (!isBlack(b, x, y)) sum += x, ++n;
        return n ? sum / n : -1.0;
    };
    const double atHome = overlayCentreX();
    ASSERT_GE(atHome, 0) << "no brackets drawn";
    shell().ship.position = {1, 0, 0, 0}; // +x shows on the left from this camera
    const double moved = overlayCentreX();
    EXPECT_LT(moved, atHome - 50);
}
