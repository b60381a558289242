// The caption: GLUT's bitmap font on a dark band, in window pixels.
#include "render/frame_caption.h"

#include <GL/freeglut.h>

#include <sstream>
#include <vector>

namespace {

std::string caption;
std::string heading;

void* const FONT = GLUT_BITMAP_HELVETICA_18;
constexpr int LINE_HEIGHT = 26;

// A line centred at `baseline`.
void drawCentred(const std::string& line, int width, int baseline) {
    const int lineWidth =
        glutBitmapLength(FONT, reinterpret_cast<const unsigned char*>(line.c_str()));
    glRasterPos2i((width - lineWidth) / 2, baseline);
    glutBitmapString(FONT, reinterpret_cast<const unsigned char*>(line.c_str()));
}

} // namespace

void setFrameCaption(const std::string& text) { caption = text; }

const std::string& frameCaption() { return caption; }

void setFrameHeading(const std::string& text) { heading = text; }

const std::string& frameHeading() { return heading; }

void drawFrameCaption(int width, int height) {
    if (caption.empty() && heading.empty())
        return;
    std::vector<std::string> lines;
    std::istringstream in(caption);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_VIEWPORT_BIT);
    glViewport(0, 0, width, height);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    if (!heading.empty()) {
        // A band along the top, above the cockpit's frame.
        glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
        glRecti(0, height - LINE_HEIGHT - 8, width, height);
        glColor4f(1.0f, 0.9f, 0.4f, 1.0f);
        drawCentred(heading, width, height - 8 - 18);
    }
    if (!lines.empty()) {
        // A band a little above the middle, clear of the crosshair and the cockpit.
        const int bandHeight = LINE_HEIGHT * static_cast<int>(lines.size()) + 16;
        const int top = height * 2 / 3 + bandHeight / 2;
        glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
        glRecti(0, top - bandHeight, width, top);
        glColor4f(1.0f, 0.9f, 0.4f, 1.0f);
        int baseline = top - 8 - 18;
        for (const std::string& line : lines) {
            drawCentred(line, width, baseline);
            baseline -= LINE_HEIGHT;
        }
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
