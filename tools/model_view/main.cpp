// kelvidron-model-view: draws one of the game's models, lit as the game lights it,
// and writes the picture as a PNG. Scenes:
//   orbit    the model at the origin in its own light pair, seen from --yaw/--pitch
//            (the tilting model turned to fly like the ships)
//   chase    a ship as the camera 12 units behind it sees it
// The cockpit as players see it comes from the game itself: kelvidron-capture.
#include "frame_grab.h"
#include "png_writer.h"
#include "render/lighting.h"
#include "render/models.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string scene = "orbit";
    std::string model = "first";
    std::string out = "model.png";
    float yaw = 30.0f;
    float pitch = 20.0f;
    float distance = 2.2f;
    int width = 600;
    int height = 600;
};

[[noreturn]] void usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s [--scene orbit|chase] [--model first|second|cockpit|tilting]\n"
                 "          [--yaw DEG] [--pitch DEG] [--distance D] [--size WxH]\n"
                 "          [--out FILE.png]\n",
                 program);
    std::exit(2);
}

Options parse(int argc, char** argv) {
    Options o;
    std::map<std::string, std::string> values;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) != 0 || i + 1 >= argc)
            usage(argv[0]);
        values[argv[i] + 2] = argv[i + 1];
        ++i;
    }
    for (const auto& [key, value] : values) {
        if (key == "scene")
            o.scene = value;
        else if (key == "model")
            o.model = value;
        else if (key == "out")
            o.out = value;
        else if (key == "yaw")
            o.yaw = std::stof(value);
        else if (key == "pitch")
            o.pitch = std::stof(value);
        else if (key == "distance")
            o.distance = std::stof(value);
        else if (key == "size" && std::sscanf(value.c_str(), "%dx%d", &o.width, &o.height) == 2)
            continue;
        else
            usage(argv[0]);
    }
    return o;
}

unsigned int listOf(const std::string& name, const char* program) {
    if (name == "first")
        return modelLists[0];
    if (name == "second")
        return modelLists[1];
    if (name == "cockpit")
        return cockpitList;
    if (name == "tilting")
        return tiltModelList;
    usage(program);
}

// A model in its own light pair, one unit above and below it, as ships are drawn.
// The tilting model is stored nose towards -y and top towards +x; `upright` turns
// it to fly like the ships, nose towards -z and top towards +y.
void drawInLightPair(unsigned int list, bool upright = false) {
    beginLightPair();
    glPushMatrix();
    placeLightPair(1.0f);
    if (upright) {
        const GLfloat storedToShip[16] = {0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
        glMultMatrixf(storedToShip);
    }
    glCallList(list);
    glPopMatrix();
    endLightPair();
}

void drawOrbit(const Options& o, unsigned int list, bool upright) {
    const double yaw = o.yaw * M_PI / 180.0;
    const double pitch = o.pitch * M_PI / 180.0;
    // Yaw 0 looks at the nose from in front; 180 from behind.
    gluLookAt(o.distance * std::cos(pitch) * std::sin(yaw), o.distance * std::sin(pitch),
              -o.distance * std::cos(pitch) * std::cos(yaw), 0, 0, 0, 0, 1, 0);
    drawInLightPair(list, upright);
}

void drawChase(unsigned int list) {
    gluLookAt(0, 0, 12, 0, 0, 0, 0, 0.5, -2);
    drawInLightPair(list);
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    const Options o = parse(argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGBA);
    glutInitWindowSize(o.width, o.height);
    glutCreateWindow("kelvidron model view");
    initLighting();
    resetMaterial();
    buildModels();

    glViewport(0, 0, o.width, o.height);
    glClearColor(0.02f, 0.025f, 0.05f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The game's lens: 40 degrees, near 1 (the orbit view comes closer).
    gluPerspective(40.0, double(o.width) / o.height, o.scene == "orbit" ? 0.1 : 1.0, 100000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (o.scene == "orbit")
        drawOrbit(o, listOf(o.model, argv[0]), o.model == "tilting");
    else if (o.scene == "chase")
        drawChase(listOf(o.model, argv[0]));
    else
        usage(argv[0]);
    glFinish();

    const std::string error = writePng(o.out, grabWindow(glutGetWindow()));
    if (!error.empty()) {
        std::fprintf(stderr, "kelvidron-model-view: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
