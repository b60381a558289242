// The pilot's hands on the turn channels: which of them to hold in a step so that
// the nose swings onto a wanted direction, given that a held channel ramps up by 0.05
// a step and a released one still turns one more step at its level.
#pragma once

#include "math/vec3.h"
#include "world/control_state.h"

#include <cstdint>

// atan2 in degrees from plain arithmetic only (within 0.001 degrees), so that every
// machine decides alike; the C library's bits depend on the CPU.
float steadyAtan2Degrees(float y, float x);

// How far the nose of the frame must yaw left and pitch up, in degrees, to point
// along `wanted` (which need not be of unit length).
struct NoseError {
    float yawLeft;
    float pitchUp;
};
NoseError noseError(const Vec3& right, const Vec3& up, const Vec3& back, const Vec3& wanted);

// The yaw and pitch channel bits (world/step_input.h) to hold this step. Each axis
// is held while the turn it would still make after letting go fits into the error
// left, so the nose settles within a tenth of a degree without overshooting.
uint8_t turnChannels(const NoseError& error, const ControlState& controls);
