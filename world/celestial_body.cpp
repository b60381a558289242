// Planet construction and spin.
#include "world/celestial_body.h"

namespace {

// Keeps a spin angle within one turn after it advanced by less than a turn.
double advanceSpin(double angle, double rate, float step) {
    angle += rate * step;
    if (angle >= 360.0)
        angle -= 360.0;
    else if (angle <= 0.0)
        angle += 360.0;
    return angle;
}

} // namespace

CelestialBody::CelestialBody()
    : Body(100, 10, 10000, 1, 0.005), hasSurfaceTexture(false), hasClouds(false), surfaceTexture(0),
      cloudTexture(0), spinAngle(0), cloudSpinAngle(0), spinRate(0), cloudSpinRate(0), radius(5.0f),
      spinAxis(0, 1, 0), modelScale(1.0f), useModel(false), modelIndex(-1) {}

bool CelestialBody::update(float step) {
    Body::update(step);
    if (spinRate != 0.0 && hasSurfaceTexture)
        spinAngle = advanceSpin(spinAngle, spinRate, step);
    if (cloudSpinRate != 0.0 && hasClouds)
        cloudSpinAngle = advanceSpin(cloudSpinAngle, cloudSpinRate, step);
    return true;
}
