#include "flight/win32/joystick.h"

#include <cstdio>

#include "core/win32/fatal-error.h"

namespace {

class DirectInputController : public ControllerDevice {
  public:
    explicit DirectInputController(Microsoft::WRL::ComPtr<IDirectInputDevice8A> d)
        : device_(std::move(d)) {}
    HRESULT acquire() override { return device_->Acquire(); }
    HRESULT poll() override { return device_->Poll(); }
    HRESULT getState(DIJOYSTATE& state) override {
        return device_->GetDeviceState(sizeof state, &state);
    }

  private:
    Microsoft::WRL::ComPtr<IDirectInputDevice8A> device_;
};

void report(const char* what, HRESULT hr) {
    char line[200];
    std::snprintf(line, sizeof line, "Tavrel controller: %s (0x%08lX)\n", what,
                  static_cast<unsigned long>(hr));
    OutputDebugStringA(line);
}

BOOL CALLBACK onController(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
    auto* joystick = static_cast<Joystick*>(context);
    Microsoft::WRL::ComPtr<IDirectInputDevice8A> device;
    HRESULT hr = joystick->directInput->CreateDevice(instance->guidInstance, &device, nullptr);
    if (SUCCEEDED(hr)) hr = device->SetDataFormat(&c_dfDIJoystick);
    if (FAILED(hr)) {
        report("a controller that cannot be set up is skipped", hr);
        return DIENUM_CONTINUE;
    }
    const HRESULT acquired = device->Acquire();
    if (acquired != DI_OK) {
        report("a controller that cannot be acquired is skipped", acquired);
        return DIENUM_CONTINUE;
    }
    DIPROPRANGE range = {};
    range.diph.dwSize = sizeof range;
    range.diph.dwHeaderSize = sizeof range.diph;
    range.diph.dwObj = 0;
    range.diph.dwHow = DIPH_DEVICE;
    if (SUCCEEDED(device->GetProperty(DIPROP_RANGE, &range.diph))) {
        joystick->rangeMin = static_cast<float>(range.lMin);
        joystick->rangeMax = static_cast<float>(range.lMax);
    } else {
        joystick->rangeMin = 0;
        joystick->rangeMax = 65535;
    }
    joystick->device = std::make_unique<DirectInputController>(std::move(device));
    joystick->readable = true;
    return DIENUM_STOP;
}

} // namespace

std::unique_ptr<Joystick> Joystick::create(HINSTANCE instance) {
    auto joystick = std::make_unique<Joystick>();
    checkSetup(DirectInput8Create(instance, DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                  reinterpret_cast<void**>(joystick->directInput.GetAddressOf()), nullptr),
               "Can't create input interface", "DirectInput8Create");
    joystick->directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, onController, joystick.get(),
                                       DIEDFL_ATTACHEDONLY);
    return joystick;
}

void Joystick::read() {
    if (!device) return;
    auto attempt = [this] {
        const HRESULT polled = device->poll(); // DI_NOEFFECT for controllers that need none
        return FAILED(polled) ? polled : device->getState(state);
    };
    HRESULT hr = attempt();
    if (FAILED(hr) && SUCCEEDED(device->acquire())) hr = attempt();
    if (FAILED(hr)) {
        if (readable) report("lost; read as centred until it answers again", hr);
        readable = false;
        return;
    }
    if (!readable) report("answers again", hr);
    readable = true;
}

flight::ControllerInput Joystick::input() const {
    flight::ControllerInput in;
    in.attached = device != nullptr && readable;
    in.x = state.lX;
    in.y = state.lY;
    in.rz = state.lRz;
    in.slider = state.rglSlider[0];
    in.rangeMin = rangeMin;
    in.rangeMax = rangeMax;
    return in;
}
