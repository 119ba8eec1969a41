// The game controller, read through DirectInput 8 once per frame tick.
#pragma once

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>
#include <wrl/client.h>

#include "flight/flight-model.h"

class Joystick {
  public:
    Microsoft::WRL::ComPtr<IDirectInputDevice8A> device; // null when no controller was found
    DIJOYSTATE state{};
    float rangeMin = 0, rangeMax = 0;

    // The first attached game controller that can be set up. Set-up failures are fatal.
    static Joystick* create(HINSTANCE instance);
    // One read of the controller's state; a failed read is the fatal error
    // "Can't read the joystick state".
    void read();
    // What flight takes of it; a missing controller reads as centred.
    flight::ControllerInput input() const;
    void release() { device.Reset(); }
};
