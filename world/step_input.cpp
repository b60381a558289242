// Applying one step's input to the ships, and the steering pass that follows it.
#include "world/step_input.h"

#include "world/celestial_body.h"
#include "world/projectile.h"
#include "world/ship.h"

namespace {

void steerEveryBody() {
    // A shot fired below is appended after this walk, so it is not steered until
    // the next step.
    for (int i = 0; i < entityListCount(projectiles); ++i)
        entityListPointerAt<Projectile>(projectiles, i)->steer();
    for (int k = 0; k < celestialBodyCount; ++k)
        celestialBodies[k]->steer();
    for (int s = 0; s < shipCount; ++s)
        ships[s]->steer();
}

} // namespace

void applyStepInput(const StepInput& input) {
    for (int s = 0; s < shipCount && s < MAX_SHIPS; ++s) {
        ControlState& controls = ships[s]->controls;
        const ShipInput& in = input.ships[s];
        if (in.fire)
            controls.requestFire();
        // A channel pressed twice in one step would ramp twice as fast, so each bit
        // presses once whatever asked for it.
        for (int i = 0; i < 8; ++i)
            if (in.channels & (1u << i))
                controls.press(ControlState::CHANNELS[i]);
    }
    steerEveryBody();
}
