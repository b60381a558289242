// The game's four compiled models on the real OpenGL: list creation order and
// handles, every face drawn, the ships' compiled placement, lighting that reads
// as solid, and a cockpit that frames the overlay's view without covering it.
#include "render/lighting.h"
#include "render/model_data.h"
#include "render/models.h"
#include "support/gl_feedback.h"
#include "support/gl_test_support.h"
#include "world/world.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Corners of every triangle a list call sends, in model coordinates.
std::vector<FeedbackPoint> feedbackCorners(unsigned int list, int* triangles) {
    glPushMatrix();
    const auto polygons = feedbackPolygons(list);
    glPopMatrix();
    std::vector<FeedbackPoint> corners;
    *triangles = 0;
    for (const auto& polygon : polygons) {
        corners.insert(corners.end(), polygon.begin(), polygon.end());
        *triangles += polygon.size() == 3 ? 1 : 0;
    }
    return corners;
}

class Models : public testing::Test {
protected:
    void SetUp() override {
        makeTestWindow(64, 64);
        useIdentityView();
        initLighting();
        resetMaterial();
        buildModels();
    }
};

TEST_F(Models, HandlesAndListsAreMadeInOrder) {
    ASSERT_NE(shipModelHandles[0], nullptr);
    ASSERT_NE(shipModelHandles[1], nullptr);
    EXPECT_EQ(shipModelHandles[0]->index, 0);
    EXPECT_EQ(shipModelHandles[1]->index, 1);
    const unsigned int lists[4] = {modelLists[0], modelLists[1], cockpitList, tiltModelList};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(glIsList(lists[i])) << i;
        if (i > 0) {
            EXPECT_GT(lists[i], lists[i - 1]) << "lists are made first ship, second ship, "
                                                 "cockpit, tilting model";
        }
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Models, EveryListDrawsEachOfItsFaces) {
    const unsigned int lists[4] = {modelLists[0], modelLists[1], cockpitList, tiltModelList};
    const MeshModel* models[4] = {&firstShipModel, &secondShipModel, &cockpitModel, &tiltingModel};
    for (int i = 0; i < 4; ++i) {
        int triangles = 0;
        feedbackCorners(lists[i], &triangles);
        EXPECT_EQ(triangles, models[i]->faceCount) << i;
    }
}

TEST_F(Models, ShipsLieAlongZWithTheirNoseTowardsMinusZ) {
    for (int ship = 0; ship < 2; ++ship) {
        int triangles = 0;
        const std::vector<FeedbackPoint> corners = feedbackCorners(modelLists[ship], &triangles);
        FeedbackPoint low{1, 1, 1}, high{-1, -1, -1};
        for (const FeedbackPoint& p : corners) {
            low = {std::fmin(low.x, p.x), std::fmin(low.y, p.y), std::fmin(low.z, p.z)};
            high = {std::fmax(high.x, p.x), std::fmax(high.y, p.y), std::fmax(high.z, p.z)};
        }
        EXPECT_NEAR(low.z, -0.5f, 2e-3f) << ship;
        EXPECT_NEAR(high.z, 0.5f, 2e-3f) << ship;
        EXPECT_LT(high.x - low.x, 0.999f) << ship;
        EXPECT_LT(high.y - low.y, 0.999f) << ship;
        // The front tenth is the narrow nose; the back tenth carries the engines.
        float noseWidth = 0.0f, tailWidth = 0.0f;
        for (const FeedbackPoint& p : corners) {
            if (p.z < -0.4f)
                noseWidth = std::fmax(noseWidth, std::fabs(p.x));
            if (p.z > 0.4f)
                tailWidth = std::fmax(tailWidth, std::fabs(p.x));
        }
        EXPECT_LT(noseWidth, 0.5f * tailWidth) << ship;
    }
}

TEST_F(Models, SecondShipLeavesBlendingAndColourAlone) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
    glPushMatrix();
    drawModel(1);
    glPopMatrix();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint source = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    EXPECT_EQ(source, GL_ONE);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);
}

// Sum of all pixels' brightness after drawing the list seen along its up axis,
// lit by light 1 alone, two units above (+1) or below (-1) it.
double brightnessSeenFromAbove(unsigned int list, bool upIsX, float lightSide) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.6, 0.6, -0.6, 0.6, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Turn the model's up axis towards the eye.
    if (upIsX)
        glRotatef(-90, 0, 1, 0);
    else
        glRotatef(90, 1, 0, 0);
    glDisable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    const GLfloat position[4] = {upIsX ? 2 * lightSide : 0, upIsX ? 0 : 2 * lightSide, 0, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glPushMatrix();
    glCallList(list);
    glPopMatrix();
    std::vector<unsigned char> pixels(64 * 64 * 3);
    glReadPixels(0, 0, 64, 64, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    double sum = 0.0;
    for (unsigned char p : pixels)
        sum += p;
    return sum;
}

TEST_F(Models, ShipsFacingTheirLightAreLitFromOutside) {
    struct Case {
        unsigned int list;
        bool upIsX;
    };
    // The tilting model is stored with its top towards +x.
    const Case cases[3] = {{modelLists[0], false}, {modelLists[1], false}, {tiltModelList, true}};
    for (const Case& c : cases) {
        resetMaterial();
        const double lit = brightnessSeenFromAbove(c.list, c.upIsX, 1.0f);
        const double unlit = brightnessSeenFromAbove(c.list, c.upIsX, -1.0f);
        // Outward normals catch the light on the side it shines on; inward ones
        // would light the top from below.
        EXPECT_GT(lit, 1.4 * unlit) << c.list;
    }
}

// The cockpit as the overlay draws it, over a black view of the sub-window's
// initial size; returns the pixels.
std::vector<unsigned char> drawCockpitAsTheOverlayDoes(int width, int height) {
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, double(width) / height, 1.0, 100000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHT1);
    gluLookAt(0, 2, 5, 0, 0, 0, 0, 4, -4);
    const GLfloat lamp[4] = {0, 1, 9, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, lamp);
    const float s = 1029 * 0.0029296875f;
    glTranslatef(0, -0.8f, 1.3f);
    glRotatef(180, 0, 1, 0);
    glScalef(s, s, s);
    glTranslatef(0, -0.2f, 1.8f);
    glScalef(4, 5, 4);
    glRotatef(-90, 1, 0, 0);
    glCallList(cockpitList);
    std::vector<unsigned char> pixels(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

TEST_F(Models, CockpitFramesTheViewAndLeavesItsMiddleOpen) {
    const int w = 257, h = 256;
    makeTestWindow(w, h);
    initLighting();
    resetMaterial();
    buildModels();
    const std::vector<unsigned char> pixels = drawCockpitAsTheOverlayDoes(w, h);
    auto covered = [&](int x, int y) {
        const unsigned char* p = &pixels[3 * (size_t(y) * w + x)];
        return p[0] + p[1] + p[2] > 0;
    };
    // The middle half of the width and the middle half of the height stay clear.
    int coveredInMiddle = 0;
    for (int y = h / 4; y < 3 * h / 4; ++y)
        for (int x = w / 4; x < 3 * w / 4; ++x)
            coveredInMiddle += covered(x, y);
    EXPECT_EQ(coveredInMiddle, 0);
    // The frame shows along the left, right and bottom edges and across the top.
    int left = 0, right = 0, bottom = 0, top = 0;
    for (int y = 0; y < h; ++y) {
        left += covered(2, y);
        right += covered(w - 3, y);
    }
    for (int x = 0; x < w; ++x) {
        bottom += covered(x, 2);
        top += covered(x, h - 3);
    }
    EXPECT_GT(left, h / 2);
    EXPECT_GT(right, h / 2);
    EXPECT_GT(bottom, w * 9 / 10);
    EXPECT_GT(top, w / 2);
}

} // namespace
