// Turning the nose by the channels' ramps.
#include "pilot/steering.h"

#include "world/step_input.h"

#include <cmath>

namespace {

constexpr float RAD_TO_DEG = 57.29577951308232f;
constexpr float RAMP = 0.05f;

// atan on [0, 1], a minimax polynomial in z squared (error below 2e-5 radians).
float atanUnit(float z) {
    const float s = z * z;
    return z *
           (0.99997726f +
            s * (-0.33262347f +
                 s * (0.19354346f + s * (-0.11643287f + s * (0.05265332f + s * -0.01172120f)))));
}

// Bits for one axis: `toward` reduces a positive error, `against` a negative one.
uint8_t axisBits(float error, const ControlChannel& toward, const ControlChannel& against,
                 uint8_t towardBit, uint8_t againstBit) {
    const bool positive = error > 0.0f;
    const ControlChannel& channel = positive ? toward : against;
    const float left = std::fabs(error);
    const float next = channel.level < 1.0f ? channel.level + RAMP : channel.level;
    // Held now, the channel turns `next` in this step and `next` again in the step
    // after it is let go.
    if (2.0f * next <= left + RAMP)
        return positive ? towardBit : againstBit;
    return 0;
}

} // namespace

float steadyAtan2Degrees(float y, float x) {
    const float ax = std::fabs(x);
    const float ay = std::fabs(y);
    if (ax == 0.0f && ay == 0.0f)
        return 0.0f;
    float a = ay <= ax ? atanUnit(ay / ax) : 1.5707963267948966f - atanUnit(ax / ay);
    if (x < 0.0f)
        a = 3.141592653589793f - a;
    return (y < 0.0f ? -a : a) * RAD_TO_DEG;
}

NoseError noseError(const Vec3& right, const Vec3& up, const Vec3& back, const Vec3& wanted) {
    const float x = dot(wanted, right);
    const float y = dot(wanted, up);
    // The nose is -back.
    const float z = -dot(wanted, back);
    // Yawing left swings the nose towards -right, pitching up towards +up.
    return NoseError{steadyAtan2Degrees(-x, z), steadyAtan2Degrees(y, std::sqrt(x * x + z * z))};
}

uint8_t turnChannels(const NoseError& error, const ControlState& controls) {
    return axisBits(error.yawLeft, controls.yawLeft, controls.yawRight, YAW_LEFT_BIT,
                    YAW_RIGHT_BIT) |
           axisBits(error.pitchUp, controls.pitchUp, controls.pitchDown, PITCH_UP_BIT,
                    PITCH_DOWN_BIT);
}
