// The byte-level file surgery of the image tests: a patch must land inside the file.
#include "support/image_test_support.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

std::string patchedPath;

TEST(ImageTestSupport, PatchesOutsideTheFileAreRefused) {
    patchedPath = freshTestFolder() + "/eight.bin";
    writeFile(patchedPath, Bytes(8, 0));
    // -1 + 2 bytes, summed as sizes, wraps to 1 and would seem to fit.
    EXPECT_FATAL_FAILURE(patchFile(patchedPath, -1, {1, 2}), "eight.bin");
    EXPECT_FATAL_FAILURE(patchFile(patchedPath, 7, {1, 2}), "eight.bin");
    EXPECT_EQ(readFile(patchedPath), Bytes(8, 0));
    removeFolder(patchedPath.substr(0, patchedPath.rfind('/')));
}

} // namespace
