// Assembles parts into a model in the game's layout: groups of faces per
// material, per-corner normals, the model centred with its longest extent 1.
#pragma once

#include "part.h"
#include "render/mesh_model.h"

#include <functional>
#include <string>
#include <vector>

// An RGB colour for the material helpers.
struct Rgb {
    float r, g, b;
};

// A material whose ambient is `ambientShare` of its diffuse colour.
MeshMaterial material(Rgb diffuse, float ambientShare, Rgb specular, float shininess,
                      Rgb emission = {0, 0, 0}, float alpha = 1.0f);

// The arrays of one model, ready to be written as source.
struct BuiltModel {
    std::string name;
    std::vector<MeshMaterial> materials;
    std::vector<MeshFace> faces;
    std::vector<float> vertices;
    std::vector<float> normals;
    std::vector<float> texCoords;
    std::vector<MeshGroup> groups;
    bool turnedOntoZ = false;
    bool switchesBlending = true;
};

class ModelBuilder {
public:
    // `name` prefixes the arrays in the generated source (firstShip, ...).
    explicit ModelBuilder(std::string name);

    int addMaterial(const MeshMaterial& m);
    // Groups are drawn in the order they are made; a material may serve several.
    int addGroup(int material);
    // Shades the part and adds its faces to the group.
    void add(const Part& part, int group);

    // Keep the parts' texture coordinates (otherwise every corner uses (0, 0)).
    bool keepTexCoords = false;
    // The list turns the model onto z, and switches no blending.
    bool turnedOntoZ = false;
    bool switchesBlending = true;
    // Applied to positions and normals before centring: how the model is stored
    // relative to the frame it was designed in.
    std::function<Vec3(const Vec3&)> storage = [](const Vec3& p) { return p; };
    // The design is already centred with its longest extent 1 and must not move
    // (the cockpit is placed relative to a fixed eye): building checks that
    // instead of centring and scaling.
    bool designedInPlace = false;

    // Centres and scales the model, removes repeated normals and texture
    // coordinates and orders the faces by group. Ends the program with a message if
    // an array outgrows the 16-bit indices.
    BuiltModel build() const;

private:
    struct Corner {
        int vertex;
        Vec3 normal;
        TexCoord uv;
    };
    struct Face {
        Corner corner[3];
        int group;
    };
    std::string name_;
    std::vector<MeshMaterial> materials_;
    std::vector<int> groupMaterials_;
    std::vector<Vec3> vertices_;
    std::vector<Face> faces_;
};
