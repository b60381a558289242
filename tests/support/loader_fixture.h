// The common ground of the image loader tests: a window whose context receives
// the textures, the game's texture slots generated in it, and a fresh folder for
// the test's files.
#pragma once

#include "assets/textures.h"
#include "support/gl_test_support.h"
#include "support/image_test_support.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

class LoaderTest : public testing::Test {
protected:
    void SetUp() override {
        makeTestWindow(64, 64);
        glGenTextures(TEXTURE_SLOT_COUNT, textureNames);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        folder = freshTestFolder();
    }
    void TearDown() override { removeFolder(folder); }

    std::string folder;
};
