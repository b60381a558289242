// The image tests' support: a patch must land inside the file, and a test's scratch
// folder is its own even when another build runs the same test at once.
#include "support/image_test_support.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(ImageTestSupport, TheSameTestInTwoBuildTreesGetsTwoFolders) {
    const std::string mine = freshTestFolder();
    int link[2];
    ASSERT_EQ(pipe(link), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Another tree: ctest runs each tree's tests in that tree.
        if (chdir("/") != 0)
            _exit(2);
        const std::string theirs = freshTestFolder();
        _exit(write(link[1], theirs.data(), theirs.size()) < 0);
    }
    close(link[1]);
    char theirs[256] = {};
    const ssize_t got = read(link[0], theirs, sizeof theirs - 1);
    close(link[0]);
    waitpid(child, nullptr, 0);
    ASSERT_GT(got, 0);
    EXPECT_NE(mine, std::string(theirs, got));
    removeFolder(mine);
    removeFolder(std::string(theirs, got));
}

} // namespace
