// Building, moving and shading parts.
#include "part.h"

#include <cmath>

namespace {

Vec3 unit(const Vec3& v) {
    Vec3 u = v;
    u.setLength(1.0f);
    return u;
}

double tripleProduct(const Vec3& a, const Vec3& b, const Vec3& c) {
    return double(a.x) * (double(b.y) * c.z - double(b.z) * c.y) -
           double(a.y) * (double(b.x) * c.z - double(b.z) * c.x) +
           double(a.z) * (double(b.x) * c.y - double(b.y) * c.x);
}

float angleBetween(const Vec3& a, const Vec3& b) {
    const float c = dot(unit(a), unit(b));
    return std::acos(std::fmax(-1.0f, std::fmin(1.0f, c)));
}

} // namespace

int Part::addVertex(const Vec3& p) {
    vertices.push_back(p);
    return static_cast<int>(vertices.size()) - 1;
}

void Part::addTriangle(PartCorner a, PartCorner b, PartCorner c) {
    const Vec3& pa = vertices[a.vertex];
    const Vec3 n = cross(vertices[b.vertex] - pa, vertices[c.vertex] - pa);
    if (n.length() < 1e-9f)
        return;
    triangles.push_back({{a, b, c}});
}

void Part::addQuad(PartCorner a, PartCorner b, PartCorner c, PartCorner d) {
    addTriangle(a, b, c);
    addTriangle(a, c, d);
}

void Part::append(const Part& other) {
    const int base = static_cast<int>(vertices.size());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    for (PartTriangle t : other.triangles) {
        for (PartCorner& c : t.corner)
            c.vertex += base;
        triangles.push_back(t);
    }
}

double Part::signedVolume() const {
    double volume = 0.0;
    for (const PartTriangle& t : triangles)
        volume += tripleProduct(vertices[t.corner[0].vertex], vertices[t.corner[1].vertex],
                                vertices[t.corner[2].vertex]);
    return volume / 6.0;
}

void Part::reverseWinding() {
    for (PartTriangle& t : triangles) {
        const PartCorner first = t.corner[1];
        t.corner[1] = t.corner[2];
        t.corner[2] = first;
    }
}

void Part::orientOutward() {
    if (signedVolume() < 0.0)
        reverseWinding();
}

Part& Part::move(const Vec3& offset) {
    for (Vec3& v : vertices)
        v += offset;
    return *this;
}

Part& Part::scale(const Vec3& factors) {
    for (Vec3& v : vertices)
        v = v * factors;
    if (factors.x * factors.y * factors.z < 0.0f)
        reverseWinding();
    return *this;
}

Part& Part::turnX(float degrees) {
    for (Vec3& v : vertices)
        v.rotate(degrees, Vec3(1, 0, 0));
    return *this;
}

Part& Part::turnY(float degrees) {
    for (Vec3& v : vertices)
        v.rotate(degrees, Vec3(0, 1, 0));
    return *this;
}

Part& Part::turnZ(float degrees) {
    for (Vec3& v : vertices)
        v.rotate(degrees, Vec3(0, 0, 1));
    return *this;
}

Part mirroredX(const Part& part) {
    Part mirror = part;
    mirror.scale(Vec3(-1, 1, 1));
    return mirror;
}

std::vector<Vec3> cornerNormals(const Part& part) {
    const size_t faceCount = part.triangles.size();
    std::vector<Vec3> faceNormal(faceCount);
    std::vector<std::vector<int>> facesAt(part.vertices.size());
    for (size_t f = 0; f < faceCount; ++f) {
        const PartTriangle& t = part.triangles[f];
        const Vec3& a = part.vertices[t.corner[0].vertex];
        faceNormal[f] = unit(
            cross(part.vertices[t.corner[1].vertex] - a, part.vertices[t.corner[2].vertex] - a));
        for (const PartCorner& c : t.corner)
            facesAt[c.vertex].push_back(static_cast<int>(f));
    }
    // The angle a face spans at one of its vertices: wide faces count for more.
    auto cornerAngle = [&](int f, int vertex) {
        const PartTriangle& t = part.triangles[f];
        for (int k = 0; k < 3; ++k) {
            if (t.corner[k].vertex != vertex)
                continue;
            const Vec3& p = part.vertices[vertex];
            return angleBetween(part.vertices[t.corner[(k + 1) % 3].vertex] - p,
                                part.vertices[t.corner[(k + 2) % 3].vertex] - p);
        }
        return 0.0f;
    };
    const float creaseCos = std::cos(part.creaseDegrees * float(M_PI) / 180.0f);
    std::vector<Vec3> normals;
    normals.reserve(3 * faceCount);
    for (size_t f = 0; f < faceCount; ++f) {
        for (const PartCorner& c : part.triangles[f].corner) {
            Vec3 sum;
            for (int g : facesAt[c.vertex]) {
                if (dot(faceNormal[f], faceNormal[g]) >= creaseCos)
                    sum += faceNormal[g] * cornerAngle(g, c.vertex);
            }
            normals.push_back(sum.length() > 0.0f ? unit(sum) : faceNormal[f]);
        }
    }
    return normals;
}
