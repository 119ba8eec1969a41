#include "flight/joystick.h"

#include "core/fatal-error.h"

namespace {

Microsoft::WRL::ComPtr<IDirectInput8A> directInput;

BOOL CALLBACK onController(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
    auto* joystick = static_cast<Joystick*>(context);
    checkSetup(directInput->CreateDevice(instance->guidInstance, &joystick->device, nullptr),
               "Can't create input device", "CreateDevice");
    checkSetup(joystick->device->SetDataFormat(&c_dfDIJoystick), "Can't set joystick data format",
               "SetDataFormat");
    const HRESULT acquired = joystick->device->Acquire();
    if (acquired == S_FALSE) return DIENUM_CONTINUE; // try the next controller
    if (acquired != DI_OK) fatalError("Can't set joystick data format", "Acquire", acquired);
    DIPROPRANGE range = {};
    range.diph.dwSize = sizeof range;
    range.diph.dwHeaderSize = sizeof range.diph;
    range.diph.dwObj = 0;
    range.diph.dwHow = DIPH_DEVICE;
    if (SUCCEEDED(joystick->device->GetProperty(DIPROP_RANGE, &range.diph))) {
        joystick->rangeMin = static_cast<float>(range.lMin);
        joystick->rangeMax = static_cast<float>(range.lMax);
    } else {
        joystick->rangeMin = 0;
        joystick->rangeMax = 65535;
    }
    return DIENUM_STOP;
}

} // namespace

Joystick* Joystick::create(HINSTANCE instance) {
    auto* joystick = new Joystick();
    checkSetup(DirectInput8Create(instance, DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                  reinterpret_cast<void**>(directInput.ReleaseAndGetAddressOf()),
                                  nullptr),
               "Can't create input interface", "DirectInput8Create");
    directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, onController, joystick, DIEDFL_ATTACHEDONLY);
    return joystick;
}

void Joystick::read() {
    if (!device) return;
    const HRESULT hr = device->GetDeviceState(sizeof state, &state);
    if (hr != DI_OK) fatalError("Can't read the joystick state", "GetDeviceState", hr);
}

flight::ControllerInput Joystick::input() const {
    flight::ControllerInput in;
    in.attached = device != nullptr;
    in.x = state.lX;
    in.y = state.lY;
    in.rz = state.lRz;
    in.slider = state.rglSlider[0];
    in.rangeMin = rangeMin;
    in.rangeMax = rangeMax;
    return in;
}
