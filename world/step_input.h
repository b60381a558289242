// One step's input as data: which of the eight control channels act for each ship,
// whether it fires, and the view the keys chose. The keyboard and the pads produce
// it once per step; a replay stores it, and the simulation only consumes it.
#pragma once

#include "world/world.h"

#include <cstdint>

// Bit i of ShipInput::channels stands for ControlState::CHANNELS[i].
enum ChannelBit : uint8_t {
    THRUST_FORWARD_BIT = 1u << 0,
    THRUST_REVERSE_BIT = 1u << 1,
    YAW_RIGHT_BIT = 1u << 2,
    YAW_LEFT_BIT = 1u << 3,
    PITCH_UP_BIT = 1u << 4,
    PITCH_DOWN_BIT = 1u << 5,
    ROLL_RIGHT_BIT = 1u << 6,
    ROLL_LEFT_BIT = 1u << 7,
};

struct ShipInput {
    uint8_t channels = 0;
    bool fire = false;
};

// The view is chosen with the inputs but belongs to whoever watches: the world never
// reads it, and it is no part of the duel state.
enum class ViewChoice : uint8_t { Keep, Inside, Behind };

struct StepInput {
    // Index 0 is player 1's ship.
    ShipInput ships[MAX_SHIPS];
    ViewChoice view = ViewChoice::Keep;
};

inline bool operator==(const ShipInput& a, const ShipInput& b) {
    return a.channels == b.channels && a.fire == b.fire;
}
inline bool operator==(const StepInput& a, const StepInput& b) {
    for (int s = 0; s < MAX_SHIPS; ++s)
        if (!(a.ships[s] == b.ships[s]))
            return false;
    return a.view == b.view;
}
inline bool operator!=(const StepInput& a, const StepInput& b) { return !(a == b); }

// Presses each ship's channels and requests its shot, then runs the steering step of
// every shot, planet and ship. The view choice is left to the caller.
void applyStepInput(const StepInput& input);
