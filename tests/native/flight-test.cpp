#include <gtest/gtest.h>

#include <cmath>

#include "flight/flight-model.h"
#include "flight/hud-marker.h"
#include "flight/keyboard-flight.h"
#include "graphics/planet-geometry.h"
#include "graphics/texture-formats.h"

namespace {

flight::ControllerInput centred() {
    flight::ControllerInput in;
    in.attached = true;
    in.rangeMin = 0;
    in.rangeMax = 1000;
    in.x = in.y = in.rz = in.slider = 500;
    return in;
}

} // namespace

TEST(Flight, CentredStickDampsTheRatesAndOnlyGravityPulls) {
    Vaisseau ship;
    ship.angularVelocity = {1, -2, 0.5f, 0};
    flight::flightStep(ship, 0.1f, centred());
    EXPECT_NEAR(0.9f, ship.angularVelocity.x, 1e-6);
    EXPECT_NEAR(-1.8f, ship.angularVelocity.y, 1e-6);
    EXPECT_NEAR(0.45f, ship.angularVelocity.z, 1e-6);
    // Gravity at the origin points along +z, about 1.231 units/s².
    EXPECT_NEAR(0, ship.velocity.x, 1e-9);
    EXPECT_NEAR(1.231f * 0.1f, ship.velocity.z, 1e-3);
    EXPECT_GT(ship.velocity.y, 0); // the centre is one unit up
}

TEST(Flight, NoControllerReadsAsCentred) {
    Vaisseau ship;
    flight::ControllerInput none; // not attached: zero range, zero values
    flight::flightStep(ship, 0.5f, none);
    EXPECT_EQ(0, ship.angularVelocity.x);
    EXPECT_EQ(0, ship.angularVelocity.z);
    EXPECT_LT(ship.velocity.z, 1); // gravity only, no 199 of thrust
}

TEST(Flight, FullDeflectionTendsToTwoRadiansPerSecond) {
    Vaisseau ship;
    flight::ControllerInput in = centred();
    in.x = 1000; // full roll
    in.y = 0;    // pitch, inverted
    for (int i = 0; i < 2000; ++i)
        flight::flightStep(ship, 0.01f, in);
    EXPECT_NEAR(2.0f, ship.angularVelocity.z, 1e-3); // damping w·dt balances gain 2 × input 1
    EXPECT_NEAR(2.0f, ship.angularVelocity.x, 1e-3);
    in.x = 1000 * 3 / 2; // beyond the range: a full deflection of the normalised value 1
    in.rangeMax = 1000;
    // The clamp only bites on very long ticks.
    flight::flightStep(ship, 3.0f, in);
    EXPECT_LE(ship.angularVelocity.z, 4.0f);
    EXPECT_GE(ship.angularVelocity.z, -4.0f);
}

TEST(Flight, MinimumSliderThrustsAlongTheShipsZ) {
    Vaisseau ship;
    ship.orientation = vm::quaternionRotationAxis({0, 1, 0, 0}, 1.5707964f); // z turned to x
    flight::ControllerInput in = centred();
    in.slider = 0;
    flight::flightStep(ship, 0.001f, in);
    EXPECT_NEAR(199.0f, ship.velocity.x, 1e-2);
    const vm::Vec4 v = ship.velocity;
    flight::flightStep(ship, 0.5f, in); // per tick, whatever dt
    EXPECT_NEAR(199.0f, ship.velocity.x - v.x, 1e-2);
}

TEST(Flight, DriftKeepsGoingAndTheCockpitFollowsTheFirstLocator) {
    Vaisseau ship;
    ship.velocity = {1, 2, 3, 0};
    ship.drift(0.5f);
    ship.drift(0.5f);
    EXPECT_FLOAT_EQ(1, ship.position.x);
    EXPECT_FLOAT_EQ(3, ship.position.z);
    vm::Mat4 world;
    ship.worldMatrix(world);
    EXPECT_EQ(world.m[3][2], ship.cockpitMatrix().m[3][2]); // no locator: the ship's own frame
    Model::Locator l;
    l.position = {0, 2, 0, 1};
    ship.locators.push_back(l);
    EXPECT_FLOAT_EQ(2 + 2, ship.cockpitMatrix().m[3][1]); // the locator's 2 above the ship's 2
    const vm::Vec4 ahead = vm::transformCoord(vm::point(1, 2, 13), ship.cockpitView());
    EXPECT_NEAR(-10, ahead.z, 1e-4); // ten units ahead, right-handed
}

TEST(HudMarker, LinesInEveryOctantReachTheirEnd) {
    const int ends[8][2] = {{178, 122}, {138, 162}, {118, 162}, {78, 122},
                            {78, 102},  {118, 62},  {138, 62},  {178, 102}};
    for (const auto& e : ends) {
        std::vector<uint16_t> texels;
        hud::drawMarker(texels, e[0], e[1]);
        ASSERT_EQ(size_t(256 * 224), texels.size());
        EXPECT_EQ(1, texels[112 * 256 + 128]) << e[0] << "," << e[1];
        // The last texel drawn lies one step short of the end, on the line.
        const int dx = e[0] - 128, dy = e[1] - 112, n = std::max(std::abs(dx), std::abs(dy));
        const int lastX = 128 + (n - 1) * dx / n, lastY = 112 + (n - 1) * dy / n;
        EXPECT_EQ(1, texels[size_t(lastY * 256 + lastX)]) << e[0] << "," << e[1];
        size_t line = 0, steps = 0;
        for (uint16_t t : texels)
            line += t == 1, steps += t == 255;
        EXPECT_EQ(size_t(n), line);
        const size_t minor = size_t(std::min(std::abs(dx), std::abs(dy)));
        EXPECT_LE(steps, minor);
        EXPECT_GE(steps + 1, minor);
    }
    std::vector<uint16_t> none;
    hud::drawMarker(none, 128, 112);
    for (uint16_t t : none)
        EXPECT_EQ(0, t);
    std::vector<uint16_t> far;
    hud::drawMarker(far, 1000, -900); // off the texture: clipped, no overrun
    EXPECT_EQ(1, far[112 * 256 + 128]);
}

TEST(Planet, SphereStartsAtTheSouthPoleAndFacesOut) {
    const std::vector<planet::Vertex> mesh = planet::sphereMesh();
    ASSERT_EQ(249600u, mesh.size());
    EXPECT_NEAR(-1, mesh[0].y, 1e-6);
    EXPECT_NEAR(0.5f, mesh[0].u, 1e-6);
    EXPECT_NEAR(1, mesh[0].v, 1e-6);
    const planet::Vertex& top = mesh[6 * 159 + 2]; // band 159 reaches the north pole
    EXPECT_NEAR(1, top.y, 1e-6);
    EXPECT_NEAR(0, top.v, 1e-6);
    // Cell (k, i) is at 6·(160·i + k): the second sector starts at lon = 2π/260.
    EXPECT_NEAR(0.5f - 1.0f / 260, mesh[6 * 160].u, 1e-6);
}

TEST(Planet, ImpostorSitsOnTheCentreWithTheSilhouetteRadius) {
    const planet::Impostor imp = planet::impostor(vm::identity());
    const float r = vm::length3(planet::kCentre);
    EXPECT_NEAR(6.4e6f, imp.constants.silhouetteRadius, 0.05e6f);
    EXPECT_FLOAT_EQ(r, imp.constants.distance);
    const vm::Vec4 centre = vm::transformCoord(vm::point(0, 0, 0), imp.world);
    EXPECT_NEAR(planet::kCentre.z, centre.z, 1);
    // The quad faces the origin: its normal (local z) points along the centre's direction.
    const vm::Vec4 normal = vm::normalize3(vm::transformNormal({0, 0, 1, 0}, imp.world));
    EXPECT_NEAR(1, normal.z, 1e-6);
    EXPECT_EQ(1.0f, imp.constants.identity[0]);
    EXPECT_EQ(0.0f, imp.constants.padding[109]);
}

TEST(TextureFormats, JpegFramesAreConvertedToRgba) {
    EXPECT_EQ(PixelFormat::RGBA32, uploadFormat(PixelFormat::BGR24));
    EXPECT_EQ(kDxgiR8G8B8A8Unorm, directDxgiFormat(*uploadFormat(PixelFormat::BGR24)));
    EXPECT_EQ(PixelFormat::BGRA32, uploadFormat(PixelFormat::BGRA32)); // taken as it is
    EXPECT_EQ(PixelFormat::Gray8, uploadFormat(PixelFormat::BlackWhite));
    EXPECT_EQ(kDxgiUnknown, directDxgiFormat(PixelFormat::BGR24));
    // Every conversion ends in a format taken as it is.
    for (int f = 0; f < int(PixelFormat::Count); ++f) {
        const std::optional<PixelFormat> to = uploadFormat(PixelFormat(f));
        ASSERT_TRUE(to.has_value()) << f;
        EXPECT_NE(kDxgiUnknown, directDxgiFormat(*to)) << f;
    }
}

TEST(HudMarker, PointsWhereThePilotSeesThePlanetAndMarksOneBehind) {
    // The ship looks along +z with +y up: its +x is the pilot's left.
    const float d = 0.70710678f;
    struct Case {
        vm::Vec4 h;
        int dx, dy; // expected sign of the end's offset on the texture (x right, y down)
    };
    const Case ahead[8] = {
        {{1, 0, 0.01f, 0}, -1, 0},  {{-1, 0, 0.01f, 0}, 1, 0},  // left, right
        {{0, 1, 0.01f, 0}, 0, -1},  {{0, -1, 0.01f, 0}, 0, 1},  // up, down
        {{d, d, 0.01f, 0}, -1, -1}, {{-d, d, 0.01f, 0}, 1, -1}, // up left, up right
        {{d, -d, 0.01f, 0}, -1, 1}, {{-d, -d, 0.01f, 0}, 1, 1}, // down left, down right
    };
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const Case& c : ahead) {
        const hud::Marker m = hud::marker(c.h);
        EXPECT_FALSE(m.behind);
        EXPECT_EQ(c.dx, sign(m.x - hud::kCentreX)) << c.h.x << "," << c.h.y;
        EXPECT_EQ(c.dy, sign(m.y - hud::kCentreY)) << c.h.x << "," << c.h.y;
        EXPECT_NEAR(hud::kReach, std::hypot(m.x - hud::kCentreX, m.y - hud::kCentreY), 1.5);
    }
    // Nearly straight ahead: near the centre.
    const hud::Marker centre = hud::marker({0.05f, 0, 0.9987f, 0});
    EXPECT_FALSE(centre.behind);
    EXPECT_EQ(hud::kCentreX - 5, centre.x);

    // Behind: at the edge in the planet's direction, with a ring.
    const hud::Marker behindLeft = hud::marker({0.1f, 0, -0.995f, 0});
    EXPECT_TRUE(behindLeft.behind);
    EXPECT_EQ(hud::kCentreX - hud::kReach, behindLeft.x);
    EXPECT_EQ(hud::kCentreY, behindLeft.y);
    const hud::Marker rightBehind = hud::marker({0, 0, -1, 0});
    EXPECT_TRUE(rightBehind.behind);
    EXPECT_EQ(hud::kCentreY + hud::kReach, rightBehind.y);

    std::vector<uint16_t> ahead1, behind1;
    hud::drawMarker(ahead1, hud::marker({1, 0, 0.01f, 0}));
    hud::drawMarker(behind1, behindLeft);
    auto lit = [](const std::vector<uint16_t>& t) {
        size_t n = 0;
        for (uint16_t v : t)
            n += v != 0;
        return n;
    };
    EXPECT_GT(lit(behind1), lit(ahead1) + 40); // the ring
}

TEST(FlightControls, DeadZoneRampsAndKeysWithTheController) {
    EXPECT_EQ(0.0f, flight::withDeadZone(0.04f));
    EXPECT_EQ(0.0f, flight::withDeadZone(-0.05f));
    EXPECT_NEAR(0.5f, flight::withDeadZone(0.5f), 1e-6);
    EXPECT_NEAR(-0.25f, flight::withDeadZone(-0.275f), 1e-6); // stretched, continuous
    EXPECT_EQ(0.0f, flight::withDeadZone(std::nanf("")));

    // A controller resting a little off centre does not turn the ship.
    flight::ControllerInput resting = centred();
    resting.x = 520;
    resting.rz = 470;
    const flight::Controls still = flight::controllerControls(resting);
    EXPECT_EQ(0.0f, still.x);
    EXPECT_EQ(0.0f, still.rz);

    // Keys ramp to full deflection in 0.2 s and back when released.
    flight::FlightKeys keys;
    EXPECT_TRUE(keys.set(0x26, true)); // Up: nose down, as a stick pushed forward
    EXPECT_TRUE(keys.set('E', true));  // yaw right
    EXPECT_FALSE(keys.set('W', true)); // an editing key
    flight::KeyboardFlight board;
    board.update(keys, 0.1f);
    EXPECT_NEAR(-0.25f, board.controls().y, 1e-6);
    EXPECT_NEAR(0.25f, board.controls().rz, 1e-6);
    board.update(keys, 0.5f);
    EXPECT_NEAR(-0.5f, board.controls().y, 1e-6);
    keys.set(0x26, false);
    board.update(keys, 0.1f);
    EXPECT_NEAR(-0.25f, board.controls().y, 1e-6);
    keys.set(0x21, true); // Page Up: the throttle opens and stays open
    board.update(keys, 2.0f);
    EXPECT_NEAR(0.5f, board.controls().throttle, 1e-6);
    keys.set(0x21, false);
    board.update(keys, 1.0f);
    EXPECT_NEAR(0.5f, board.controls().throttle, 1e-6);
    board.cutThrottle();
    EXPECT_EQ(0.0f, board.controls().throttle);

    // With a controller: the sum, held to the stick's range.
    flight::Controls stick;
    stick.x = 0.4f;
    flight::Controls key;
    key.x = 0.5f;
    key.y = -0.2f;
    const flight::Controls both = flight::combined(stick, key);
    EXPECT_EQ(0.5f, both.x);
    EXPECT_NEAR(-0.2f, both.y, 1e-6);

    // Pushed forward, the nose goes down: the ship's z turns towards −y.
    Vaisseau ship;
    flight::Controls forward;
    forward.y = -0.5f;
    for (int i = 0; i < 50; ++i)
        flight::flightStep(ship, 0.02f, forward);
    const vm::Mat4 r = vm::rotationQuaternion(ship.orientation);
    EXPECT_LT(r.m[2][1], -0.1f);
    // Full keyboard throttle thrusts as the slider's minimum does.
    Vaisseau thrusting;
    flight::Controls open;
    open.throttle = 0.5f;
    flight::flightStep(thrusting, 0.001f, open);
    EXPECT_NEAR(199.0f, thrusting.velocity.z, 0.1f);
}
