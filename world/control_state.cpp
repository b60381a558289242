// Control channels: the level ramp and the end of a step.
#include "world/control_state.h"

const ControlState::Channel ControlState::CHANNELS[8] = {
    &ControlState::thrustForward, &ControlState::thrustReverse, &ControlState::yawRight,
    &ControlState::yawLeft,       &ControlState::pitchUp,       &ControlState::pitchDown,
    &ControlState::rollRight,     &ControlState::rollLeft};

void ControlState::press(Channel channel) {
    ControlChannel& c = this->*channel;
    c.active = 1;
    // Twenty presses from 0 reach 1.0000001 (float rounding), and the ramp stops there.
    if (c.level < 1.0f)
        c.level += 0.05f;
}

void ControlState::endStep() {
    for (Channel channel : CHANNELS) {
        ControlChannel& c = this->*channel;
        if (c.active == 0)
            c.level = 0.0f;
        c.active = 0;
    }
}

void ControlState::reset() {
    endStep();
    clearRequests();
    for (Channel channel : CHANNELS)
        (this->*channel).level = 0.0f;
}
