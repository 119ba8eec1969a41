#include "flight/win32/flight-session.h"

#include <cstdio>

#include "graphics/planet-geometry.h"

void FlightSession::keyDown(unsigned virtualKey) {
    keys_.set(virtualKey, true);
    if (virtualKey == VK_BACK) keyboard_.cutThrottle();
}

void FlightSession::step(float dt) {
    keyboard_.update(keys_, dt);
    const flight::Controls stick =
        joystick_ ? flight::controllerControls(joystick_->input()) : flight::Controls{};
    flight::flightStep(ship_, dt, flight::combined(stick, keyboard_.controls()));
}

void FlightSession::returnHome() {
    ship_.goHome();
    keyboard_.reset();
}

std::array<std::string, FlightSession::kReadoutCount> FlightSession::readouts() const {
    const float speed = vm::length3(ship_.velocity);
    const float altitude = vm::length3(planet::kCentre - ship_.position) - planet::kRadius;
    char text[kReadoutCount][64];
    std::snprintf(text[0], sizeof text[0], "speed %.1f units/s", static_cast<double>(speed));
    std::snprintf(text[1], sizeof text[1], "altitude %.0f", static_cast<double>(altitude));
    std::snprintf(text[2], sizeof text[2], "throttle %+.0f %%",
                  static_cast<double>(keyboard_.controls().throttle * 200));
    return {text[0], text[1], text[2]};
}
