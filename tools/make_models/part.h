// A piece of a model's surface: vertices shared by its triangles, texture
// coordinates per corner, and the angle beyond which its normals crease.
#pragma once

#include "math/vec3.h"

#include <vector>

struct TexCoord {
    float u = 0.0f;
    float v = 0.0f;
};

struct PartCorner {
    int vertex = 0;
    TexCoord uv;
};

// Counter-clockwise seen from outside the part.
struct PartTriangle {
    PartCorner corner[3];
};

struct Part {
    std::vector<Vec3> vertices;
    std::vector<PartTriangle> triangles;
    // Neighbouring faces whose normals differ by more than this meet at a hard
    // edge; below it the surface is shaded smooth across them.
    float creaseDegrees = 40.0f;

    int addVertex(const Vec3& p);
    // Faces of no area are dropped: they have no direction to shade with.
    void addTriangle(PartCorner a, PartCorner b, PartCorner c);
    // a b c d counter-clockwise seen from outside, split along a-c.
    void addQuad(PartCorner a, PartCorner b, PartCorner c, PartCorner d);
    // Adds the other part's surface; the two share no vertices.
    void append(const Part& other);

    // Sum of the signed volumes under the faces: positive when a closed part's
    // faces wind counter-clockwise seen from outside.
    double signedVolume() const;
    void reverseWinding();
    // Makes a closed part wind outwards, whichever way it was built.
    void orientOutward();

    Part& move(const Vec3& offset);
    // A negative factor mirrors the part; the winding is turned back with it.
    Part& scale(const Vec3& factors);
    // Right-handed turns about the coordinate axes through the origin.
    Part& turnX(float degrees);
    Part& turnY(float degrees);
    Part& turnZ(float degrees);
};

// The part reflected in the plane x = 0, still wound outwards.
Part mirroredX(const Part& part);

// Per-corner normals (three per triangle, in triangle order): each corner takes the
// angle-weighted mean of the faces around its vertex that lie within the crease
// angle of its own face.
std::vector<Vec3> cornerNormals(const Part& part);
