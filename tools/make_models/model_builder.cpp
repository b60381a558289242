// From shaded parts to the arrays of the game's model layout.
#include "model_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

const int MAX_INDEX = 32767;

void checkIndexRange(const std::string& model, const char* array, size_t count) {
    if (count <= size_t(MAX_INDEX))
        return;
    std::fprintf(stderr,
                 "kelvidron-make-models: %s has %zu %s, more than 16-bit indices can reach "
                 "(%d); lower its detail\n",
                 model.c_str(), count, array, MAX_INDEX);
    std::exit(1);
}

// Looks up or adds an entry of `width` floats, merging values that round alike.
class PooledArray {
public:
    PooledArray(int width, float step) : width_(width), step_(step) {}
    int index(const float* value) {
        std::vector<long> key;
        for (int i = 0; i < width_; ++i)
            key.push_back(std::lround(value[i] / step_));
        const auto found = indices_.find(key);
        if (found != indices_.end())
            return found->second;
        const int next = static_cast<int>(indices_.size());
        indices_[key] = next;
        values.insert(values.end(), value, value + width_);
        return next;
    }
    std::vector<float> values;

private:
    int width_;
    float step_;
    std::map<std::vector<long>, int> indices_;
};

} // namespace

MeshMaterial material(Rgb diffuse, float ambientShare, Rgb specular, float shininess, Rgb emission,
                      float alpha) {
    MeshMaterial m{};
    const Rgb ambient{diffuse.r * ambientShare, diffuse.g * ambientShare, diffuse.b * ambientShare};
    const Rgb colours[4] = {ambient, diffuse, specular, emission};
    for (int i = 0; i < 4; ++i) {
        float* target = i == 0 ? m.ambient : i == 1 ? m.diffuse : i == 2 ? m.specular : m.emission;
        target[0] = colours[i].r;
        target[1] = colours[i].g;
        target[2] = colours[i].b;
    }
    m.alpha = alpha;
    m.shininess = shininess;
    m.reserved = -1;
    return m;
}

ModelBuilder::ModelBuilder(std::string name) : name_(std::move(name)) {}

int ModelBuilder::addMaterial(const MeshMaterial& m) {
    if (m.shininess < 0.0f || m.shininess > 128.0f) {
        std::fprintf(stderr, "kelvidron-make-models: %s: shininess %g is outside 0 to 128\n",
                     name_.c_str(), double(m.shininess));
        std::exit(1);
    }
    materials_.push_back(m);
    return static_cast<int>(materials_.size()) - 1;
}

int ModelBuilder::addGroup(int material) {
    groupMaterials_.push_back(material);
    return static_cast<int>(groupMaterials_.size()) - 1;
}

void ModelBuilder::add(const Part& part, int group) {
    // A designer trimming a model's detail wants to see what each part costs.
    if (std::getenv("KELVIDRON_MODEL_PARTS"))
        std::fprintf(stderr, "%s group %d: %zu faces\n", name_.c_str(), group,
                     part.triangles.size());
    const std::vector<Vec3> normals = cornerNormals(part);
    const int base = static_cast<int>(vertices_.size());
    vertices_.insert(vertices_.end(), part.vertices.begin(), part.vertices.end());
    for (size_t f = 0; f < part.triangles.size(); ++f) {
        Face face;
        face.group = group;
        for (int k = 0; k < 3; ++k) {
            const PartCorner& c = part.triangles[f].corner[k];
            face.corner[k] = {base + c.vertex, normals[3 * f + k], c.uv};
        }
        faces_.push_back(face);
    }
}

BuiltModel ModelBuilder::build() const {
    BuiltModel out;
    out.name = name_;
    out.materials = materials_;
    out.turnedOntoZ = turnedOntoZ;
    out.switchesBlending = switchesBlending;

    std::vector<Vec3> stored;
    for (const Vec3& v : vertices_)
        stored.push_back(storage(v));
    Vec3 low = stored.front();
    Vec3 high = stored.front();
    for (const Vec3& v : stored) {
        low.set(std::fmin(low.x, v.x), std::fmin(low.y, v.y), std::fmin(low.z, v.z));
        high.set(std::fmax(high.x, v.x), std::fmax(high.y, v.y), std::fmax(high.z, v.z));
    }
    const Vec3 centre = (low + high) * 0.5f;
    const Vec3 size = high - low;
    const float scale = 1.0f / std::fmax(size.x, std::fmax(size.y, size.z));
    if (designedInPlace && (centre.length() > 1e-3f || std::fabs(scale - 1.0f) > 1e-3f)) {
        std::fprintf(stderr,
                     "kelvidron-make-models: %s must be designed centred with its longest "
                     "extent 1, but its box runs from (%g, %g, %g) to (%g, %g, %g)\n",
                     name_.c_str(), double(low.x), double(low.y), double(low.z), double(high.x),
                     double(high.y), double(high.z));
        std::exit(1);
    }
    for (const Vec3& v : stored) {
        const Vec3 p = (v - centre) * scale;
        out.vertices.insert(out.vertices.end(), {p.x, p.y, p.z});
    }

    PooledArray normals(3, 1e-5f);
    PooledArray texCoords(2, 1e-5f);
    std::vector<Face> ordered = faces_;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Face& a, const Face& b) { return a.group < b.group; });
    std::vector<int> indices;
    std::vector<int> groupFaces(groupMaterials_.size(), 0);
    for (const Face& face : ordered) {
        ++groupFaces[face.group];
        for (const Corner& c : face.corner) {
            Vec3 n = storage(c.normal);
            n.setLength(1.0f);
            const float nv[3] = {n.x, n.y, n.z};
            const float tv[2] = {keepTexCoords ? c.uv.u : 0.0f, keepTexCoords ? c.uv.v : 0.0f};
            indices.insert(indices.end(), {c.vertex, normals.index(nv), texCoords.index(tv)});
        }
    }
    checkIndexRange(name_, "vertices", vertices_.size());
    checkIndexRange(name_, "normals", normals.values.size() / 3);
    checkIndexRange(name_, "texture coordinates", texCoords.values.size() / 2);
    for (size_t f = 0; f < ordered.size(); ++f) {
        MeshFace m{};
        for (int k = 0; k < 3; ++k) {
            const int* corner = &indices[9 * f + 3 * k];
            m.vertex[k] = static_cast<std::int16_t>(corner[0]);
            m.normal[k] = static_cast<std::int16_t>(corner[1]);
            m.texCoord[k] = static_cast<std::int16_t>(corner[2]);
        }
        out.faces.push_back(m);
    }
    for (size_t g = 0; g < groupMaterials_.size(); ++g) {
        if (groupFaces[g] == 0) {
            std::fprintf(stderr, "kelvidron-make-models: %s: group %zu has no faces\n",
                         name_.c_str(), g);
            std::exit(1);
        }
        out.groups.push_back({groupMaterials_[g], groupFaces[g]});
    }
    out.normals = normals.values;
    out.texCoords = texCoords.values;
    return out;
}
