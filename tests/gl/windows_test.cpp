// The two windows in a real X server: title, placement, the 5-pixel frame rule.
#include "app/window_record.h"
#include "app/windows.h"
#include "support/gl_test_support.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct GlutGeometry {
    int x, y, width, height;
};

GlutGeometry geometryOf(int id) {
    glutSetWindow(id);
    return {glutGet(GLUT_WINDOW_X), glutGet(GLUT_WINDOW_Y), glutGet(GLUT_WINDOW_WIDTH),
            glutGet(GLUT_WINDOW_HEIGHT)};
}

class Windows : public testing::Test {
protected:
    void SetUp() override {
        ensureGlutInit();
        createWindows();
        ASSERT_TRUE(pumpEventsUntilShown(mainWindow.subWindow(0).getId()));
    }
};

// The window stands where the game asks for it, since the tests' own X server runs
// no window manager that could place it elsewhere or frame it.
TEST_F(Windows, StartUpLayout) {
    const GlutGeometry top = geometryOf(mainWindow.getId());
    EXPECT_EQ(top.x, 100);
    EXPECT_EQ(top.y, 100);
    EXPECT_EQ(top.width, 1039);
    EXPECT_EQ(top.height, 522);

    ASSERT_EQ(mainWindow.subWindowCount, 1);
    const GlutGeometry sub = geometryOf(mainWindow.subWindow(0).getId());
    // GLUT reports a sub-window's position relative to its parent.
    EXPECT_EQ(sub.x, 5);
    EXPECT_EQ(sub.y, 5);
    EXPECT_EQ(sub.width, 1029);
    EXPECT_EQ(sub.height, 512);
    EXPECT_EQ(mainWindow.subWindow(0).parentId, mainWindow.getId());
    // Start-up makes its OpenGL objects in the sub-window's context.
    EXPECT_EQ(glutGetWindow(), mainWindow.subWindow(0).getId());
}

TEST_F(Windows, TitleIsKelvidron) { EXPECT_EQ(windowTitleOf(mainWindow.getId()), "Kelvidron"); }

TEST_F(Windows, ResizeKeepsTheSubWindowFivePixelsInside) {
    glutSetWindow(mainWindow.getId());
    glutReshapeWindow(800, 600);
    const int sub = mainWindow.subWindow(0).getId();
    EXPECT_TRUE(pumpEventsUntil([&] {
        const GlutGeometry g = geometryOf(sub);
        return g.width == 790 && g.height == 590 && mainWindow.subWindow(0).width == 790 &&
               mainWindow.subWindow(0).height == 590;
    }));
    const GlutGeometry g = geometryOf(sub);
    EXPECT_EQ(g.x, 5);
    EXPECT_EQ(g.y, 5);
    EXPECT_EQ(g.width, 790);
    EXPECT_EQ(g.height, 590);
    EXPECT_EQ(mainWindow.width, 800);
    EXPECT_EQ(mainWindow.height, 600);
}

TEST_F(Windows, TinyTopLevelWindowGivesAOnePixelSubWindow) {
    for (int size : {10, 3, 1}) {
        reshapeMain(size, size + 20);
        EXPECT_EQ(mainWindow.subWindow(0).width, 1) << size;
        EXPECT_EQ(mainWindow.subWindow(0).height, size + 10) << size;
        EXPECT_TRUE(pumpEventsUntil([] {
            return geometryOf(mainWindow.subWindow(0).getId()).width == 1;
        })) << size;
    }
}

std::vector<std::string> reshapeOrder;
void recordSubReshape(int, int) { reshapeOrder.push_back("sub"); }
void recordMainReshape(int, int) { reshapeOrder.push_back("main"); }

TEST_F(Windows, RefreshAllReshapesTheSubWindowFirst) {
    mainWindow.subWindow(0).reshapeFunc = recordSubReshape;
    mainWindow.reshapeFunc = recordMainReshape;
    reshapeOrder.clear();
    mainWindow.refreshAll();
    EXPECT_EQ(reshapeOrder, (std::vector<std::string>{"sub", "main"}));
}

void ignoreDisplay() {}

TEST_F(Windows, AFifthSubWindowIsIgnored) {
    for (int i = 1; i < MAX_SUB_WINDOWS; ++i)
        mainWindow.addSubWindow(0, 0, 10, 10, ignoreDisplay, nullptr, nullptr, nullptr, false);
    ASSERT_EQ(mainWindow.subWindowCount, MAX_SUB_WINDOWS);
    const MainWindowRecord before = mainWindow;
    mainWindow.addSubWindow(0, 0, 10, 10, ignoreDisplay, nullptr, nullptr, nullptr, false);
    EXPECT_EQ(mainWindow.subWindowCount, MAX_SUB_WINDOWS);
    EXPECT_EQ(std::memcmp(&before, &mainWindow, sizeof before), 0);
}

} // namespace
