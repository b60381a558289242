// The image tests' scratch folders and byte-level file surgery: a folder is the
// test's own, and a patch must land inside the file.
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

// Two runs of the suite at once (two clones, or `make check` beside `make test`)
// run the same test side by side: neither may clear or write the other's folder.
// The other run is a child process that keeps its folder, as a run still going does.
TEST(ImageTestSupport, FoldersOfTheSameTestRunningTwiceAreApart) {
    int link[2];
    ASSERT_EQ(pipe(link), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        unsetenv("KELVIDRON_TEST_FOLDER"); // what another run does not inherit
        const std::string folder = freshTestFolder();
        writeFile(folder + "/kept.bin", Bytes(3, 7));
        const bool sent = write(link[1], folder.c_str(), folder.size()) == ssize_t(folder.size());
        _exit(sent ? 0 : 1);
    }
    close(link[1]);
    char text[4096] = {};
    const ssize_t length = read(link[0], text, sizeof text - 1);
    close(link[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_GT(length, 0);
    const std::string other(text, size_t(length));

    const std::string mine = freshTestFolder();
    EXPECT_NE(mine, other);
    EXPECT_EQ(readFile(other + "/kept.bin"), Bytes(3, 7));
    removeFolder(other);
    // The other run's own folder, now empty (rmdir leaves a folder with anything in it).
    rmdir(other.substr(0, other.rfind('/')).c_str());
}

} // namespace
