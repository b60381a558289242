// Key scripts of the capture tool: what they accept and how they report mistakes.
#include "key_script.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

namespace {

TEST(KeyScript, ReadsCharactersArrowsCommentsAndBlankLines) {
    const KeyScript script = parseKeyScript("# fire twice\n"
                                            "0 s down\n"
                                            "\n"
                                            "3   s up\n"
                                            "5 right down\n"
                                            "12 8 up\n",
                                            "t");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.keys.size(), 4u);
    EXPECT_EQ(script.keys[0].step, 0);
    EXPECT_FALSE(script.keys[0].special);
    EXPECT_EQ(script.keys[0].code, 's');
    EXPECT_TRUE(script.keys[0].down);
    EXPECT_FALSE(script.keys[1].down);
    EXPECT_TRUE(script.keys[2].special);
    EXPECT_EQ(script.keys[2].code, GLUT_KEY_RIGHT);
    EXPECT_EQ(script.keys[3].code, '8');
    EXPECT_EQ(stepsCoveredBy(script), 13);
    EXPECT_EQ(stepsCoveredBy(KeyScript{}), 0);
}

TEST(KeyScript, ReportsTheLineOfAMistake) {
    EXPECT_EQ(parseKeyScript("0 q down\n1 q\n", "keys.txt").error,
              "keys.txt:2: expected three words: step key down|up");
    EXPECT_EQ(parseKeyScript("-1 q down\n", "k").error,
              "k:1: step '-1' is not a whole number from 0");
    EXPECT_EQ(parseKeyScript("99999999999 q down\n", "k").error,
              "k:1: step '99999999999' is not a whole number from 0");
    EXPECT_EQ(parseKeyScript("1 space down\n", "k").error,
              "k:1: unknown key 'space' (use one character, or up, down, left, right)");
    EXPECT_EQ(parseKeyScript("1 q pressed\n", "k").error,
              "k:1: action 'pressed' must be down or up");
    EXPECT_EQ(parseKeyScript("1 q down now\n", "k").error,
              "k:1: expected three words: step key down|up");
}

TEST(KeyScript, MissingFileIsReported) {
    EXPECT_EQ(readKeyScript("/nonexistent/keys.txt").error,
              "/nonexistent/keys.txt: cannot read the key script");
}

} // namespace
