// Ship: a player's craft. Newtonian, undamped flight capped at its top speed;
// turning follows the control levels of the step; fires one shot per request.
#pragma once

#include "world/body.h"

struct ModelHandle;

class Ship : public Body {
public:
    Ship(int health, int thrust, int mass, int turnRate, double maxSpeed,
         ModelHandle* model = nullptr);

    void setModel(ModelHandle* handle) { model = handle; }

    // The model between the ship's own pair of lights (render/ship_drawing.cpp, like
    // drawScaled).
    void draw() override;
    // Moves; alive while health is above 0.
    bool update(float step) override;
    // Records the thrust indicator, runs the body's steering, then fires if asked.
    void steer() override;
    // Adds the acceleration, then caps the speed at maxSpeed.
    void applyAcceleration() override;

    // The model at the origin of the current view, scaled, turned by the ship's
    // orientation only (the overlay's attitude view).
    void drawScaled(float scale);

    // Not owned; null until the models are built, and then nothing is drawn.
    ModelHandle* model;
    // 1 forward, -1 reverse, 0 none or both, as seen by the last steering step.
    int thrustIndicator;
};
