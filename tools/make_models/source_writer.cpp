// C++ source text of the model arrays.
#include "source_writer.h"

#include <cstring>
#include <string>

namespace {

// Shortest text that reads back as nearly the same float, always a float literal.
std::string floatLiteral(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", double(value));
    std::string s = text;
    if (s == "-0")
        s = "0";
    if (s.find_first_of(".e") == std::string::npos)
        s += ".0";
    return s + "f";
}

void writeFloats(std::FILE* out, const char* name, const std::vector<float>& values, int perLine) {
    std::fprintf(out, "const float %s[] = {\n", name);
    for (size_t i = 0; i < values.size(); ++i) {
        std::fprintf(out, "%s%s,", i % perLine == 0 ? "    " : " ",
                     floatLiteral(values[i]).c_str());
        if (i % perLine == size_t(perLine - 1) || i + 1 == values.size())
            std::fputc('\n', out);
    }
    std::fprintf(out, "};\n\n");
}

void writeRgb(std::FILE* out, const float* rgb) {
    std::fprintf(out, "{%s, %s, %s}", floatLiteral(rgb[0]).c_str(), floatLiteral(rgb[1]).c_str(),
                 floatLiteral(rgb[2]).c_str());
}

void writeModel(std::FILE* out, const BuiltModel& m) {
    const char* n = m.name.c_str();
    std::fprintf(out, "// %s: %zu faces, %zu vertices, %zu normals, %zu texture coordinates\n", n,
                 m.faces.size(), m.vertices.size() / 3, m.normals.size() / 3,
                 m.texCoords.size() / 2);
    std::fprintf(out, "const MeshMaterial %sMaterials[] = {\n", n);
    for (const MeshMaterial& mat : m.materials) {
        std::fprintf(out, "    {");
        for (const float* rgb : {mat.ambient, mat.diffuse, mat.specular, mat.emission}) {
            writeRgb(out, rgb);
            std::fprintf(out, ", ");
        }
        std::fprintf(out, "%s, %s, -1},\n", floatLiteral(mat.alpha).c_str(),
                     floatLiteral(mat.shininess).c_str());
    }
    std::fprintf(out, "};\n\nconst MeshFace %sFaces[] = {\n", n);
    for (const MeshFace& f : m.faces) {
        std::fprintf(out, "    {{%d, %d, %d}, {%d, %d, %d}, {%d, %d, %d}},\n", f.vertex[0],
                     f.vertex[1], f.vertex[2], f.normal[0], f.normal[1], f.normal[2], f.texCoord[0],
                     f.texCoord[1], f.texCoord[2]);
    }
    std::fprintf(out, "};\n\n");
    writeFloats(out, (m.name + "Vertices").c_str(), m.vertices, 9);
    writeFloats(out, (m.name + "Normals").c_str(), m.normals, 9);
    writeFloats(out, (m.name + "TexCoords").c_str(), m.texCoords, 8);
    std::fprintf(out, "const MeshGroup %sGroups[] = {\n", n);
    for (const MeshGroup& g : m.groups)
        std::fprintf(out, "    {%d, %d},\n", g.material, g.faceCount);
    std::fprintf(out, "};\n\n");
}

void writeRecord(std::FILE* out, const BuiltModel& m) {
    const char* n = m.name.c_str();
    std::fprintf(out,
                 "const MeshModel %sModel = {%sMaterials, %zu, %sFaces, %zu, %sVertices, %zu,\n"
                 "    %sNormals, %zu, %sTexCoords, %zu, %sGroups, %zu, %s, %s};\n\n",
                 n, n, m.materials.size(), n, m.faces.size(), n, m.vertices.size() / 3, n,
                 m.normals.size() / 3, n, m.texCoords.size() / 2, n, m.groups.size(),
                 m.turnedOntoZ ? "true" : "false", m.switchesBlending ? "true" : "false");
}

} // namespace

bool writeModelSource(std::FILE* out, const std::vector<BuiltModel>& models) {
    std::fprintf(out, "// Model data written by kelvidron-make-models: change the generator in\n"
                      "// tools/make_models, not this file.\n"
                      "#include \"render/model_data.h\"\n\nnamespace {\n\n");
    for (const BuiltModel& m : models)
        writeModel(out, m);
    std::fprintf(out, "} // namespace\n\n");
    for (const BuiltModel& m : models)
        writeRecord(out, m);
    return std::ferror(out) == 0;
}
