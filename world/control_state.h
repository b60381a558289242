// A body's control record: eight channels pressed by the keys once per step, and a
// fire request. Only ships receive input; every body carries one.
#pragma once

struct ControlChannel {
    // 1 when the channel was pressed during the current step.
    int active = 0;
    // Ramps by 0.05 per pressed step up to just above 1; drops to 0 when released.
    float level = 0.0f;
};

struct ControlState {
    ControlChannel thrustForward;
    ControlChannel thrustReverse;
    ControlChannel yawRight;
    ControlChannel yawLeft;
    ControlChannel pitchUp;
    ControlChannel pitchDown;
    ControlChannel rollRight;
    ControlChannel rollLeft;
    // 1 asks a ship to fire one shot in this step's steering.
    int fireRequest = 0;

    // Names one of the eight channels: controls.press(&ControlState::yawLeft).
    using Channel = ControlChannel ControlState::*;
    static const Channel CHANNELS[8];

    // Marks the channel as pressed in this step and ramps its level.
    void press(Channel channel);
    void requestFire() { fireRequest = 1; }
    // Released channels drop to level 0; every channel becomes inactive again.
    // The fire request survives: the ship's steering clears it after acting on it.
    void endStep();
    void clearRequests() { fireRequest = 0; }
    void reset();
};
