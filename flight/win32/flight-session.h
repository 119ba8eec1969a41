// A flight: the ship flown by the held keys and the controller, with the readouts the status
// bar shows while it lasts. The shell owns one; the main window gives it its keys.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "flight/keyboard-flight.h"
#include "flight/vaisseau.h"
#include "flight/win32/joystick.h"

class FlightSession {
  public:
    static constexpr int kReadoutCount = 3; // speed, altitude, throttle

    explicit FlightSession(Vaisseau& ship) : ship_(ship) {}

    // The controller, when DirectInput can be made.
    void connectController(HINSTANCE instance) { joystick_ = Joystick::create(instance); }
    // A key went down or up; Backspace cuts the throttle.
    void keyDown(unsigned virtualKey);
    void keyUp(unsigned virtualKey) { keys_.set(virtualKey, false); }
    // A key released while another window had the keyboard never arrives.
    void releaseKeys() { keys_.clear(); }
    // The controller is read every frame, so it has no backlog when a flight starts.
    void readController() {
        if (joystick_) joystick_->read();
    }
    // One step of dt seconds from the keyboard's and the controller's controls together.
    void step(float dt);
    // The ship back at its start with its controls centred.
    void returnHome();
    const flight::Controls& keyboardControls() const { return keyboard_.controls(); }
    // "speed 12.0 units/s", "altitude 350", "throttle +40 %".
    std::array<std::string, kReadoutCount> readouts() const;

  private:
    Vaisseau& ship_;
    flight::FlightKeys keys_;
    flight::KeyboardFlight keyboard_;
    std::unique_ptr<Joystick> joystick_;
};
