// Start-up values read from session.ini, the title, and the remembered selection.
#include <gtest/gtest.h>

#include <cmath>

#include "core/selection-text.h"
#include "core/session-limits.h"
#include "core/settings-file.h"
#include "core/tool-window-places.h"
#include "editor/editor-state.h"
#include "temp-dir.h"
#include "ui/remembered-places-dpi.h"
#include "view/orbit-camera.h"

namespace {
// What start-up takes from a settings file.
struct Started {
    EditorState editor;
    OrbitCamera camera;
    explicit Started(const std::string& path) {
        SettingsFile settings(path);
        editor.loadSession(settings);
        camera.load(settings);
    }
};
} // namespace

TEST(SessionStartup, NoFileGivesTheDefaults) {
    TempDir dir;
    Started started(dir.file("session.ini"));
    const EditorState& editor = started.editor;
    const OrbitCamera& camera = started.camera;
    EXPECT_EQ(ViewMode::Orbit, editor.currentView);
    EXPECT_EQ(Tool::None, editor.tool);
    EXPECT_FALSE(editor.grid);
    EXPECT_FALSE(editor.loc);
    EXPECT_EQ("", editor.startupFile);
    EXPECT_EQ(1, camera.distance);
    EXPECT_EQ(5.0f, camera.radius());
    EXPECT_EQ(0.0f, camera.theta);
    EXPECT_EQ(0.0f, camera.offset.x);
    EXPECT_EQ(-1, editor.firstJointPoint);
    EXPECT_EQ(Mode::Editing, editor.mode);
    EXPECT_EQ(-1.0f, editor.startAngle);
    EXPECT_EQ(1.0f, editor.sweepAngle);
}

TEST(SessionStartup, ReadsEveryRememberedValue) {
    TempDir dir;
    TempDir::write(dir.file("session.ini"),
                   "[Session]\r\nCurrentView=3\r\nTool=2\r\ngrid=7\r\nloc=1\r\n"
                   "LoadedFile=C:\\models\\wing.obj\r\noffset.x=1.500000\r\noffset.y=-2\r\n"
                   "offset.z=0.25\r\ntheta=0.75\r\ngamma=-0.5\r\ndistance=-1\r\n");
    SettingsFile settings(dir.file("session.ini"));
    EditorState editor;
    editor.loadSession(settings);
    OrbitCamera camera;
    camera.load(settings);
    EXPECT_EQ(ViewMode::Quad, editor.currentView);
    EXPECT_EQ(Tool::Select, editor.tool);
    EXPECT_TRUE(editor.grid); // any non-zero value is on
    EXPECT_TRUE(editor.loc);
    EXPECT_EQ("C:\\models\\wing.obj", editor.startupFile);
    EXPECT_EQ(1.5f, camera.offset.x);
    EXPECT_EQ(-2.0f, camera.offset.y);
    EXPECT_EQ(0.25f, camera.offset.z);
    EXPECT_EQ(0.75f, camera.theta);
    EXPECT_EQ(-0.5f, camera.gamma);
    EXPECT_EQ(-1, camera.distance);
    EXPECT_FLOAT_EQ(0.2f, camera.radius());
    EXPECT_EQ(0.0f, camera.savedTheta); // never read from the file
}

TEST(Title, FileNameWithoutFolderOrExtensionAndTheModifiedMark) {
    EditorState editor;
    EXPECT_EQ("Untitled - Tavrel", editor.makeTitle("", false)); // no path yet
    EXPECT_EQ("Untitled* - Tavrel", editor.makeTitle("", true));
    EXPECT_EQ("ship - Tavrel", editor.makeTitle("C:\\models\\ship.obj", false));
    EXPECT_EQ("ship* - Tavrel", editor.makeTitle("C:\\models\\ship.obj", true));
    EXPECT_EQ("ship* - Tavrel", editor.title);
    EXPECT_EQ("New Object - Tavrel", editor.makeTitle("New Object.obj", false));
    EXPECT_EQ("plain - Tavrel", editor.makeTitle("D:plain", false));
    EXPECT_EQ("b.c", fileStem("/x.y/b.c.obj"));
}

TEST(RememberedSelection, SkipsWordsAndOutOfRangeIndices) {
    EXPECT_EQ((std::vector<int>{3, 1}), parseSelectedPatches("3;x;1;", 4));
    EXPECT_EQ((std::vector<int>{}), parseSelectedPatches("7", 7));
    EXPECT_EQ((std::vector<int>{1}), parseSelectedPatches("-2;1", 4));
    EXPECT_EQ((std::vector<int>{2, 5}), parseSelectedPatches("2;5", 6));
    EXPECT_EQ((std::vector<int>{}), parseSelectedPatches("", 6));
    EXPECT_EQ((std::vector<int>{0}), parseSelectedPatches(";0", 6)); // empty first token
}

TEST(RememberedSelection, FormatsAsSemicolonList) {
    EXPECT_EQ("", formatSelectedPatches({}));
    EXPECT_EQ("2;5;11", formatSelectedPatches({2, 5, 11}));
}

TEST(CameraView, DefaultEyeLooksAtTheOriginFromMinusZ) {
    OrbitCamera camera;
    vm::Vec4 eye = camera.eye();
    EXPECT_FLOAT_EQ(0.0f, eye.x);
    EXPECT_FLOAT_EQ(0.0f, eye.y);
    EXPECT_FLOAT_EQ(-5.0f, eye.z);
    vm::Vec4 origin = vm::transform({0, 0, 0, 1}, camera.viewMatrix());
    EXPECT_NEAR(-5.0f, origin.z, 1e-5f);
    // A quarter turn of yaw puts the eye on −x; pitch raises it.
    camera.theta = vm::kPi / 2;
    EXPECT_NEAR(-5.0f, camera.eye().x, 1e-5f);
    camera.theta = 0;
    camera.gamma = 0.5f;
    EXPECT_GT(camera.eye().y, 0.0f);
    // The top axis view looks down −y from above the target.
    camera.offset = {1, 2, 3, 0};
    vm::Vec4 below = vm::transform({1, 0, 3, 1}, camera.axisViewMatrix(3));
    EXPECT_NEAR(-7.0f, below.z, 1e-5f);
}

// Every remembered value that is out of range or not a number starts the editor with that
// value's default; the other values are still read.
TEST(SessionStartup, BadValuesGiveTheirDefaults) {
    struct Case {
        const char* key;
        const char* value;
    };
    const std::string longPath = "C:\\" + std::string(1500, 'm') + ".obj";
    const Case cases[] = {
        {"CurrentView", "99"},
        {"CurrentView", "-1"},
        {"CurrentView", "x"},
        {"Tool", "77"},
        {"Tool", "-3"},
        {"distance", "2147483647"},
        {"distance", "-40"},
        {"offset.x", "nan"},
        {"offset.y", "1e30"},
        {"offset.z", "-inf"},
        {"theta", "nan"},
        {"gamma", "1e30"},
        {"LoadedFile", longPath.c_str()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        TempDir dir;
        TempDir::write(dir.file("session.ini"),
                       std::string("[Session]\r\ngrid=1\r\n") + c.key + "=" + c.value + "\r\n");
        Started started(dir.file("session.ini"));
        const EditorState& editor = started.editor;
        const OrbitCamera& camera = started.camera;
        EXPECT_EQ(ViewMode::Orbit, editor.currentView);
        EXPECT_EQ(Tool::None, editor.tool);
        EXPECT_TRUE(editor.grid);
        EXPECT_EQ("", editor.startupFile);
        EXPECT_EQ(1, camera.distance);
        EXPECT_EQ(0.0f, camera.offset.x);
        EXPECT_EQ(0.0f, camera.offset.y);
        EXPECT_EQ(0.0f, camera.offset.z);
        EXPECT_EQ(0.0f, camera.theta);
        EXPECT_EQ(0.0f, camera.gamma);
        EXPECT_TRUE(std::isfinite(camera.radius()) && camera.radius() > 0);
    }
}

TEST(SessionStartup, WindowGeometryOutOfRangeOrOffScreenIsNotUsed) {
    const session::ScreenArea screen = {0, 0, 1920, 1200};
    EXPECT_EQ(800, session::validWindowSize(-5, 800));
    EXPECT_EQ(800, session::validWindowSize(0, 800));
    EXPECT_EQ(800, session::validWindowSize(1000000, 800));
    EXPECT_EQ(640, session::validWindowSize(640, 800));
    EXPECT_TRUE(session::windowReachable(100, 100, 1200, 800, screen));
    EXPECT_FALSE(session::windowReachable(-1000, 10, 1200, 800, screen));
    EXPECT_FALSE(session::windowReachable(5000, 100, 1200, 800, screen));
    EXPECT_FALSE(session::windowReachable(100, -32000, 1200, 800, screen));
    EXPECT_FALSE(session::windowReachable(2147483000, 2147483000, 16384, 16384, screen));
    EXPECT_TRUE(session::windowReachable(1880, 1180, 1200, 800, screen));  // a corner shows
    EXPECT_FALSE(session::windowReachable(1910, 1195, 1200, 800, screen)); // a sliver does not
}

TEST(SessionStartup, ZoomStaysInTheWorkingRange) {
    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    OrbitCamera camera;
    for (int i = 0; i < 100; ++i)
        camera.zoom(-120, settings);
    EXPECT_EQ(session::kMaxDistance, camera.distance);
    EXPECT_TRUE(std::isfinite(camera.radius()));
    for (int i = 0; i < 100; ++i)
        camera.zoom(120 * 7, settings);
    EXPECT_EQ(session::kMinDistance, camera.distance);
    EXPECT_GT(camera.radius(), 0.0f);
}

TEST(SelectionText, WrittenUpToTheLastWholeIndexAndACutValueLosesItsLast) {
    std::vector<int> many;
    for (int i = 10000; i < 10200; ++i)
        many.push_back(i);
    const std::string text = formatSelectedPatches(many, 559);
    ASSERT_LE(text.size(), 559u);
    EXPECT_GT(text.size(), 553u); // as many as fit
    EXPECT_EQ(std::to_string(many[text.size() / 6]), text.substr(text.rfind(';') + 1));
    const std::vector<int> back = parseSelectedPatches(text, 20000);
    ASSERT_FALSE(back.empty());
    EXPECT_EQ(std::vector<int>(many.begin(), many.begin() + long(back.size())), back);

    // A value filling the 560-character buffer was cut: its last index may be half of one.
    std::string cut = text.substr(0, 552) + ";10";
    cut.resize(559, '1');
    const std::vector<int> kept = parseSelectedPatches(cut, 20000, 560);
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(10091, kept.back());
    EXPECT_EQ(std::vector<int>({2, 5}), parseSelectedPatches("2;5", 20000, 560));
}

TEST(ToolWindowPlaces, FirstStartSideBySideAndRememberedPlacesBackOnAScreen) {
    using places::Rect;
    const Rect work{0, 0, 1920, 1160};
    const places::FirstStart f =
        places::firstStart(work, {0, 0, 90, 400}, {0, 0, 696, 909}, {0, 0, 1216, 900});
    EXPECT_FALSE(places::overlap(f.palette, f.shape));
    EXPECT_FALSE(places::overlap(f.shape, f.main));
    EXPECT_FALSE(places::overlap(f.palette, f.main));
    EXPECT_EQ(90, f.shape.left);
    EXPECT_EQ(786, f.main.left);
    EXPECT_LE(f.main.right, work.right);
    // A low work area: the shape window's height shrinks to fit.
    const places::FirstStart low =
        places::firstStart({0, 0, 1920, 700}, {0, 0, 90, 400}, {0, 0, 696, 909}, {0, 0, 1216, 900});
    EXPECT_EQ(700, low.shape.height());

    const std::vector<Rect> screens = {{0, 0, 1920, 1160}, {1920, 0, 3840, 1080}};
    const Rect onSecond{2500, 100, 2800, 500};
    EXPECT_EQ(onSecond, places::ontoScreen(onSecond, screens));
    const Rect gone{5000, 3000, 5300, 3400}; // a monitor that is no longer there
    const Rect back = places::ontoScreen(gone, screens);
    EXPECT_EQ((Rect{3540, 680, 3840, 1080}), back); // onto the nearest, the second

    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    EXPECT_FALSE(places::remembered(settings, "Palette").has_value());
    places::remember(settings, "Palette", {{10, 20, 110, 420}, false});
    const auto place = places::remembered(settings, "Palette");
    ASSERT_TRUE(place.has_value());
    EXPECT_EQ((Rect{10, 20, 110, 420}), place->rect);
    EXPECT_FALSE(place->shown);
    settings.writeInt("Windows", "PaletteW", 0); // edited by hand into nonsense
    EXPECT_FALSE(places::remembered(settings, "Palette").has_value());
}

TEST(ToolWindowPlaces, PlacesSavedAtOneDpiComeBackScaledAtAnother) {
    using places::Rect;
    const std::vector<Rect> screens = {{0, 0, 1920, 1160}, {1920, 0, 3840, 1080}};
    // Sizes and the offset from their monitor's corner scale: side by side stays side by side.
    EXPECT_EQ((Rect{150, 30, 285, 630}), places::atDpi({100, 20, 190, 420}, 96, 144, screens));
    EXPECT_EQ((Rect{2070, 30, 2205, 630}), places::atDpi({2020, 20, 2110, 420}, 96, 144, screens));
    EXPECT_EQ((Rect{100, 20, 190, 420}), places::atDpi({150, 30, 285, 630}, 144, 96, screens));
    // No DPI kept (an older version's place) or one out of reason: taken as the current one.
    EXPECT_EQ((Rect{100, 20, 190, 420}), places::atDpi({100, 20, 190, 420}, 0, 144, screens));
    EXPECT_EQ((Rect{100, 20, 190, 420}), places::atDpi({100, 20, 190, 420}, 5000, 144, screens));

    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    for (auto [key, value] : {std::pair{"x", 786}, {"y", 0}, {"w", 1200}, {"h", 800}, {"dpi", 96}})
        settings.writeInt("Session", key, value);
    places::remember(settings, "Palette", {{0, 0, 90, 400}, true, 96});
    places::remember(settings, "Shape", {{90, 0, 786, 909}, false, 0});
    places::convertRememberedPlaces(settings, 144, screens);
    EXPECT_EQ(144, settings.readInt("Session", "dpi", 0));
    // Grown past its monitor, it is brought back whole onto it.
    EXPECT_EQ(120, settings.readInt("Session", "x", 0));
    EXPECT_EQ(1800, settings.readInt("Session", "w", 0));
    EXPECT_EQ(1160, settings.readInt("Session", "h", 0));
    const auto palette = places::remembered(settings, "Palette");
    ASSERT_TRUE(palette.has_value());
    EXPECT_EQ((Rect{0, 0, 135, 600}), palette->rect);
    EXPECT_EQ(144, palette->dpi);
    const auto shape = places::remembered(settings, "Shape"); // saved without a DPI
    ASSERT_TRUE(shape.has_value());
    EXPECT_EQ((Rect{90, 0, 786, 909}), shape->rect);
    EXPECT_FALSE(shape->shown);
    EXPECT_EQ(144, shape->dpi);

    // Nonsense is left for the start-up's own checks (the defaults), not converted.
    settings.writeInt("Session", "w", -5);
    settings.writeInt("Session", "dpi", 96);
    places::convertRememberedPlaces(settings, 144, screens);
    EXPECT_EQ(-5, settings.readInt("Session", "w", 0));
    // A main window saved off every monitor comes back onto the nearest.
    settings.writeInt("Session", "w", 800);
    settings.writeInt("Session", "x", 9000);
    settings.writeInt("Session", "dpi", 144);
    places::convertRememberedPlaces(settings, 144, screens);
    EXPECT_EQ(3040, settings.readInt("Session", "x", 0));
    // Monitors of different scales: each place takes the DPI of the monitor it lies on.
    places::remember(settings, "Palette", {{0, 0, 90, 400}, true, 96});
    places::remember(settings, "Shape", {{2020, 20, 2110, 420}, true, 96});
    places::convertRememberedPlaces(settings, screens, {96, 192});
    EXPECT_EQ((Rect{0, 0, 90, 400}), places::remembered(settings, "Palette")->rect);
    EXPECT_EQ(96, places::remembered(settings, "Palette")->dpi);
    EXPECT_EQ((Rect{2120, 40, 2300, 840}), places::remembered(settings, "Shape")->rect);
    EXPECT_EQ(192, places::remembered(settings, "Shape")->dpi);
}
