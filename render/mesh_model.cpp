// Consistency check of a model's arrays before it is compiled.
#include "render/mesh_model.h"

#include <cstdarg>
#include <cstdio>

namespace {

__attribute__((format(printf, 1, 2))) std::string describe(const char* format, ...) {
    char text[200];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

bool within(int index, int count) { return index >= 0 && index < count; }

} // namespace

std::string meshModelProblem(const MeshModel& model) {
    if (model.faceCount < 1 || model.groupCount < 1 || model.materialCount < 1 ||
        model.vertexCount < 1 || model.normalCount < 1 || model.texCoordCount < 1)
        return "every array of a model needs at least one entry";
    for (int f = 0; f < model.faceCount; ++f) {
        const MeshFace& face = model.faces[f];
        for (int c = 0; c < 3; ++c) {
            if (!within(face.vertex[c], model.vertexCount))
                return describe("face %d corner %d: vertex index %d is not below %d", f, c,
                                face.vertex[c], model.vertexCount);
            if (!within(face.normal[c], model.normalCount))
                return describe("face %d corner %d: normal index %d is not below %d", f, c,
                                face.normal[c], model.normalCount);
            if (!within(face.texCoord[c], model.texCoordCount))
                return describe("face %d corner %d: texture-coordinate index %d is not below %d", f,
                                c, face.texCoord[c], model.texCoordCount);
        }
    }
    int covered = 0;
    for (int g = 0; g < model.groupCount; ++g) {
        const MeshGroup& group = model.groups[g];
        if (!within(group.material, model.materialCount))
            return describe("group %d: material %d is not below %d", g, group.material,
                            model.materialCount);
        if (group.faceCount < 1)
            return describe("group %d: %d faces, a group needs at least one", g, group.faceCount);
        covered += group.faceCount;
    }
    if (covered != model.faceCount)
        return describe("the groups cover %d faces but the model has %d", covered, model.faceCount);
    return std::string();
}
