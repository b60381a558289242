// Gamepads that exist only inside the test process: SDL's virtual joysticks, typed as
// game controllers so that SDL gives them the common layout.
#pragma once

#include <SDL.h>

class VirtualPad {
public:
    // A game controller by default; another type is a device the controller database
    // does not know.
    explicit VirtualPad(SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = static_cast<Uint16>(type);
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "virtual pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        joystick = SDL_JoystickOpen(index);
        // A trigger at rest reads the lowest raw value.
        rawAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_JOYSTICK_AXIS_MIN);
        rawAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
    }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;
    ~VirtualPad() { pull(); }

    bool plugged() const { return joystick != nullptr; }

    void pull() {
        if (!joystick)
            return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }

    // Raw axis values, -32768..32767: sticks negative forward and left, triggers
    // -32768 at rest.
    void stick(SDL_GameControllerAxis axis, int value) { rawAxis(axis, value); }
    // Triggers as a share of their travel, 0 at rest to 1 fully pressed.
    void trigger(SDL_GameControllerAxis axis, double travel) {
        rawAxis(axis, static_cast<int>(SDL_JOYSTICK_AXIS_MIN + travel * 65535.0));
    }
    void button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick, button, down ? SDL_PRESSED : SDL_RELEASED);
    }

private:
    void rawAxis(int axis, int value) {
        SDL_JoystickSetVirtualAxis(joystick, axis, static_cast<Sint16>(value));
    }

    SDL_Joystick* joystick = nullptr;
};
