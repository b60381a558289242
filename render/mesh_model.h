// The layout of a polygon model carried in the program: materials, triangles with
// per-corner vertex, normal and texture-coordinate indices, and material groups.
#pragma once

#include <cstdint>
#include <string>

// Fifteen 32-bit words. Alpha is the fourth component of all four colours and
// makes the group translucent when below 1.
struct MeshMaterial {
    float ambient[3];
    float diffuse[3];
    float specular[3];
    float emission[3];
    float alpha;
    float shininess;
    // Always -1; nothing reads it.
    std::int32_t reserved;
};
static_assert(sizeof(MeshMaterial) == 60, "a material is fifteen 32-bit words");

// One triangle: vertex, normal and texture-coordinate index of corners 0, 1, 2.
struct MeshFace {
    std::int16_t vertex[3];
    std::int16_t normal[3];
    std::int16_t texCoord[3];
};
static_assert(sizeof(MeshFace) == 18, "a face is nine 16-bit indices");

// faceCount consecutive faces drawn with one material.
struct MeshGroup {
    std::int32_t material;
    std::int32_t faceCount;
};
static_assert(sizeof(MeshGroup) == 8, "a group is two 32-bit integers");

// The arrays carry no counts of their own, so the model record keeps them.
struct MeshModel {
    const MeshMaterial* materials;
    int materialCount;
    const MeshFace* faces;
    int faceCount;
    const float* vertices; // x, y, z per vertex
    int vertexCount;
    const float* normals; // x, y, z per corner normal
    int normalCount;
    const float* texCoords; // u, v per entry
    int texCoordCount;
    const MeshGroup* groups;
    int groupCount;
    // A model stored along y: its list turns it onto z before any geometry, and
    // the turn is left on the matrix for the caller to pop.
    bool turnedOntoZ;
    // Whether a material switch sets blending and the current colour from alpha.
    bool switchesBlending;
};

// Empty when every index lies within its array and the groups cover the faces in
// order with no gap; otherwise a sentence naming the first fault found.
std::string meshModelProblem(const MeshModel& model);
