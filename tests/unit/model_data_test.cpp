// The four embedded models' data: consistent indices, the layout's counts and
// materials, placement, and normals that point out of every closed part.
#include "render/mesh_model.h"
#include "render/model_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

struct V {
    double x, y, z;
};
V operator-(V a, V b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V operator+(V a, V b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
double dotV(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V crossV(V a, V b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

V vertexOf(const MeshModel& m, int i) {
    return {m.vertices[3 * i], m.vertices[3 * i + 1], m.vertices[3 * i + 2]};
}
V normalOf(const MeshModel& m, int i) {
    return {m.normals[3 * i], m.normals[3 * i + 1], m.normals[3 * i + 2]};
}

struct Expected {
    const char* name;
    const MeshModel* model;
    int faces; // the designed drawing cost; ours stays within a fifth of it
    int materials;
    int groups;
    std::vector<float> translucentAlphas;
    bool textured;
};

const std::vector<Expected>& expectations() {
    static const std::vector<Expected> all = {
        {"first ship", &firstShipModel, 1948, 9, 9, {0.895f, 0.75f, 0.8f}, true},
        {"second ship", &secondShipModel, 750, 37, 37, {}, false},
        {"cockpit", &cockpitModel, 3803, 3, 4, {0.25f}, false},
        {"tilting model", &tiltingModel, 13294, 8, 11, {}, false},
    };
    return all;
}

TEST(ModelData, IndicesAndGroupsAreConsistent) {
    for (const Expected& e : expectations())
        EXPECT_EQ(meshModelProblem(*e.model), "") << e.name;
}

TEST(ModelData, CountsAndMaterialsHaveTheLayoutsShape) {
    for (const Expected& e : expectations()) {
        const MeshModel& m = *e.model;
        SCOPED_TRACE(e.name);
        EXPECT_GE(m.faceCount, e.faces * 4 / 5);
        EXPECT_LE(m.faceCount, e.faces * 6 / 5);
        EXPECT_EQ(m.materialCount, e.materials);
        EXPECT_EQ(m.groupCount, e.groups);
        for (int n : {m.vertexCount, m.normalCount, m.texCoordCount, m.faceCount})
            EXPECT_LE(n, 32767);
        std::vector<float> alphas;
        for (int i = 0; i < m.materialCount; ++i) {
            const MeshMaterial& mat = m.materials[i];
            EXPECT_EQ(mat.reserved, -1);
            EXPECT_GE(mat.shininess, 0.0f);
            EXPECT_LE(mat.shininess, 128.0f);
            EXPECT_GT(mat.alpha, 0.0f);
            EXPECT_LE(mat.alpha, 1.0f);
            if (mat.alpha < 1.0f)
                alphas.push_back(mat.alpha);
        }
        std::vector<float> expected = e.translucentAlphas;
        std::sort(alphas.begin(), alphas.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(alphas, expected);
        if (e.textured) {
            EXPECT_GT(m.texCoordCount, 1);
        } else {
            ASSERT_EQ(m.texCoordCount, 1);
            EXPECT_EQ(m.texCoords[0], 0.0f);
            EXPECT_EQ(m.texCoords[1], 0.0f);
        }
    }
    // The cockpit's frame material serves two groups apart from each other.
    EXPECT_EQ(cockpitModel.groups[0].material, cockpitModel.groups[2].material);
    EXPECT_NE(cockpitModel.groups[0].material, cockpitModel.groups[1].material);
    // Every panel of the second ship has a material of its own.
    for (int g = 0; g < secondShipModel.groupCount; ++g)
        EXPECT_EQ(secondShipModel.groups[g].material, g);
    EXPECT_FALSE(secondShipModel.switchesBlending);
    EXPECT_TRUE(secondShipModel.turnedOntoZ);
    EXPECT_TRUE(firstShipModel.switchesBlending);
    EXPECT_FALSE(firstShipModel.turnedOntoZ);
}

struct Box {
    V low, high;
};

Box boundsOf(const MeshModel& m) {
    Box b{vertexOf(m, 0), vertexOf(m, 0)};
    for (int i = 0; i < m.vertexCount; ++i) {
        const V v = vertexOf(m, i);
        b.low = {std::min(b.low.x, v.x), std::min(b.low.y, v.y), std::min(b.low.z, v.z)};
        b.high = {std::max(b.high.x, v.x), std::max(b.high.y, v.y), std::max(b.high.z, v.z)};
    }
    return b;
}

TEST(ModelData, EachModelIsCentredWithLongestExtentOne) {
    for (const Expected& e : expectations()) {
        const Box b = boundsOf(*e.model);
        const V size = b.high - b.low;
        EXPECT_NEAR(std::max({size.x, size.y, size.z}), 1.0, 1e-4) << e.name;
        EXPECT_NEAR(b.low.x + b.high.x, 0.0, 1e-4) << e.name;
        EXPECT_NEAR(b.low.y + b.high.y, 0.0, 1e-4) << e.name;
        EXPECT_NEAR(b.low.z + b.high.z, 0.0, 1e-4) << e.name;
    }
    // The first ship is stored along z, the second along y (its list turns it).
    EXPECT_NEAR(boundsOf(firstShipModel).high.z, 0.5, 1e-4);
    EXPECT_LT(boundsOf(firstShipModel).high.x, 0.5);
    EXPECT_NEAR(boundsOf(secondShipModel).high.y, 0.5, 1e-4);
    EXPECT_LT(boundsOf(secondShipModel).high.z, 0.5);
}

TEST(ModelData, CornerNormalsAreUnitAndAgreeWithTheirFace) {
    for (const Expected& e : expectations()) {
        const MeshModel& m = *e.model;
        int disagreeing = 0;
        for (int i = 0; i < m.normalCount; ++i)
            ASSERT_NEAR(dotV(normalOf(m, i), normalOf(m, i)), 1.0, 1e-4) << e.name << " " << i;
        for (int f = 0; f < m.faceCount; ++f) {
            const MeshFace& face = m.faces[f];
            const V a = vertexOf(m, face.vertex[0]);
            const V geometric =
                crossV(vertexOf(m, face.vertex[1]) - a, vertexOf(m, face.vertex[2]) - a);
            const V mean = normalOf(m, face.normal[0]) + normalOf(m, face.normal[1]) +
                           normalOf(m, face.normal[2]);
            disagreeing += dotV(geometric, mean) <= 0.0;
        }
        EXPECT_EQ(disagreeing, 0) << e.name;
    }
}

// Groups of faces joined through shared vertices: the closed parts a model is
// built from.
std::vector<std::vector<int>> partsOf(const MeshModel& m) {
    std::vector<int> parent(m.vertexCount);
    std::iota(parent.begin(), parent.end(), 0);
    auto root = [&](int i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    for (int f = 0; f < m.faceCount; ++f)
        for (int c = 1; c < 3; ++c)
            parent[root(m.faces[f].vertex[c])] = root(m.faces[f].vertex[0]);
    std::vector<std::vector<int>> byRoot(m.vertexCount);
    for (int f = 0; f < m.faceCount; ++f)
        byRoot[root(m.faces[f].vertex[0])].push_back(f);
    std::vector<std::vector<int>> parts;
    for (auto& faces : byRoot)
        if (!faces.empty())
            parts.push_back(faces);
    return parts;
}

TEST(ModelData, EveryPartEnclosesItsVolumeAndItsNormalsPointOut) {
    for (const Expected& e : expectations()) {
        const MeshModel& m = *e.model;
        const auto parts = partsOf(m);
        EXPECT_GT(parts.size(), 3u) << e.name;
        for (const auto& faces : parts) {
            double volume = 0.0;
            V centre{0, 0, 0};
            for (int f : faces) {
                const MeshFace& face = m.faces[f];
                const V a = vertexOf(m, face.vertex[0]);
                const V b = vertexOf(m, face.vertex[1]);
                const V c = vertexOf(m, face.vertex[2]);
                volume += dotV(a, crossV(b, c)) / 6.0;
                centre = centre + a + b + c;
            }
            centre = {centre.x / (3.0 * faces.size()), centre.y / (3.0 * faces.size()),
                      centre.z / (3.0 * faces.size())};
            double outwards = 0.0;
            for (int f : faces)
                for (int c = 0; c < 3; ++c)
                    outwards += dotV(normalOf(m, m.faces[f].normal[c]),
                                     vertexOf(m, m.faces[f].vertex[c]) - centre);
            EXPECT_GT(volume, 0.0) << e.name << " part of face " << faces[0];
            EXPECT_GT(outwards, 0.0)
                << e.name << " part of face " << faces[0] << " size " << faces.size();
        }
    }
}

TEST(MeshModelProblem, NamesTheFirstFault) {
    const MeshMaterial material = {{0, 0, 0}, {1, 1, 1}, {0, 0, 0}, {0, 0, 0}, 1, 10, -1};
    const MeshFace faces[2] = {{{0, 1, 2}, {0, 0, 0}, {0, 0, 0}},
                               {{0, 2, 1}, {0, 0, 0}, {0, 0, 0}}};
    const float vertices[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const float normals[3] = {0, 0, 1};
    const float texCoords[2] = {0, 0};
    const MeshGroup whole[1] = {{0, 2}};
    MeshModel m = {&material, 1,         faces, 2,     vertices, 3,     normals,
                   1,         texCoords, 1,     whole, 1,        false, true};
    EXPECT_EQ(meshModelProblem(m), "");

    MeshModel fewerVertices = m;
    fewerVertices.vertexCount = 2;
    EXPECT_NE(meshModelProblem(fewerVertices).find("vertex index 2"), std::string::npos);

    const MeshGroup gap[1] = {{0, 1}};
    MeshModel uncovered = m;
    uncovered.groups = gap;
    EXPECT_NE(meshModelProblem(uncovered).find("cover 1 faces"), std::string::npos);

    const MeshGroup empty[2] = {{0, 0}, {0, 2}};
    MeshModel emptyGroup = m;
    emptyGroup.groups = empty;
    emptyGroup.groupCount = 2;
    EXPECT_NE(meshModelProblem(emptyGroup).find("at least one"), std::string::npos);

    const MeshGroup badMaterial[1] = {{1, 2}};
    MeshModel missingMaterial = m;
    missingMaterial.groups = badMaterial;
    EXPECT_NE(meshModelProblem(missingMaterial).find("material 1"), std::string::npos);
}

} // namespace
