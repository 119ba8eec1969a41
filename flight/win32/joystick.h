// The game controller, read through DirectInput 8 once per frame tick. A controller that
// cannot be set up is skipped, and one that is lost or unplugged reads as centred: flying
// without it is possible, losing the work over it is not.
#pragma once

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>
#include <wrl/client.h>

#include <memory>

#include "flight/flight-model.h"

// What the joystick needs of a controller: DirectInput's device, or a test's stand-in.
class ControllerDevice {
  public:
    virtual ~ControllerDevice() = default;
    virtual HRESULT acquire() = 0;
    virtual HRESULT poll() = 0;
    virtual HRESULT getState(DIJOYSTATE& state) = 0;
};

class Joystick {
  public:
    Microsoft::WRL::ComPtr<IDirectInput8A> directInput; // what made the device
    std::unique_ptr<ControllerDevice> device;           // null when no controller was found
    DIJOYSTATE state{};
    float rangeMin = 0, rangeMax = 0;
    bool readable = false; // the last read succeeded

    // The first attached game controller that can be set up; controllers that cannot are
    // skipped. Only a DirectInput that cannot be created is fatal.
    static std::unique_ptr<Joystick> create(HINSTANCE instance);
    // Polls and reads the controller. A failed read tries Acquire once and reads again;
    // failing still, the controller reads as centred and the debugger output says so once
    // (and again once it reads again).
    void read();
    // What flight takes of it; a missing or unreadable controller reads as centred.
    flight::ControllerInput input() const;
    void release() { device.reset(); }
};
