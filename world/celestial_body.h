// A planet: a spinning sphere, textured, optionally with a cloud layer, drawn either
// as a plain sphere or as a relief model chosen by distance.
#pragma once

#include "world/body.h"

class CelestialBody : public Body {
public:
    CelestialBody();

    // Moves, then advances both spins; planets never die.
    bool update(float step) override;
    // The planet at a level of detail chosen from distance (the view's measure of
    // how far in front of the near plane it lies, plus its radius). Defined in
    // render/celestial_drawing.cpp.
    virtual void drawAtDistance(float distance);

    void setSpinRate(double rate) { spinRate = rate; }
    void setCloudSpinRate(double rate) { cloudSpinRate = rate; }
    void setRadius(float r) { radius = r; }
    float getRadius() const { return radius; }
    void setSurfaceTexture(int texture) {
        surfaceTexture = texture;
        hasSurfaceTexture = true;
    }
    void setCloudTexture(int texture) {
        cloudTexture = texture;
        hasClouds = true;
    }

    // Also gates the surface spin.
    bool hasSurfaceTexture;
    // Also gates the cloud spin.
    bool hasClouds;
    // OpenGL texture names; 0 (no texture) until set.
    int surfaceTexture;
    int cloudTexture;
    // Degrees about spinAxis, kept in [0, 360) once advanced.
    double spinAngle;
    double cloudSpinAngle;
    // Degrees per ms.
    double spinRate;
    double cloudSpinRate;
    float radius;
    // Axis of both spins, in the planet's own frame.
    Vec3 spinAxis;
    float modelScale;
    bool useModel;
    // Relief model set (0..3) drawn when useModel is set.
    int modelIndex;
};
