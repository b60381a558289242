// The fingerprint: every control angle, and the built-in duel.
#include "world/simulation_fingerprint.h"

#include "math/steady_trig.h"
#include "world/duel_state.h"
#include "world/duel_step.h"
#include "world/fnv_hash.h"
#include "world/ship.h"

#include <vector>

namespace {

// The levels a channel passes through, as its ramp rounds them.
std::vector<float> controlLevels() {
    ControlState controls;
    std::vector<float> levels{0.0f};
    for (;;) {
        const float before = controls.yawLeft.level;
        controls.press(&ControlState::yawLeft);
        if (controls.yawLeft.level == before)
            return levels;
        levels.push_back(controls.yawLeft.level);
    }
}

void addControlAngles(Fnv1a& h) {
    const Ship reference(100, 10, 999999, 1, 0.01);
    const std::vector<float> levels = controlLevels();
    for (float a : levels)
        for (float b : levels) {
            // As Body::steer forms it: the turn rate times the difference of two levels.
            const float angle = reference.turnRate * (a - b);
            const SineCosine sc = steadySinCos(angle * DEG_TO_RAD);
            h.add(sc.sin);
            h.add(sc.cos);
            Vec3 v(0.6f, -0.48f, 0.64f);
            v.rotate(angle, Vec3(0.0f, 0.6f, 0.8f));
            h.add(v.x);
            h.add(v.y);
            h.add(v.z);
        }
}

} // namespace

StepInput builtInDuelInput(int step) {
    StepInput input;
    ShipInput& one = input.ships[0];
    ShipInput& two = input.ships[1];
    if (step < 96)
        one.channels |= YAW_LEFT_BIT;
    if (step >= 200 && step <= 260)
        one.channels |= THRUST_FORWARD_BIT;
    one.fire = step >= 100 && step % 6 == 0;
    if (step >= 150 && step <= 170)
        two.channels |= PITCH_UP_BIT;
    if (step >= 400 && step <= 450)
        two.channels |= THRUST_FORWARD_BIT;
    two.fire = step >= 130 && step % 11 == 0;
    return input;
}

uint64_t simulationFingerprint() {
    static const uint64_t fingerprint = [] {
        Fnv1a h;
        addControlAngles(h);
        DuelSnapshot start;
        start.save();
        for (int step = 0; step < BUILT_IN_DUEL_STEPS; ++step) {
            runDuelStep(builtInDuelInput(step));
            if (step % 100 == 99)
                h.add(duelStateHash());
        }
        start.restore();
        return h.value();
    }();
    return fingerprint;
}
