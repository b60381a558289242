// The generated sounds: their length, their peak against the mix budget, no DC, no
// click at their ends, and the same samples from the same seed.
#include "sound/sound_bank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

struct Kind {
    const char* name;
    SoundSamples (*make)(uint32_t);
    uint32_t seed;
    float seconds;
    float peak;
    bool loops;
};

const Kind KINDS[] = {
    {"shot", makeShotSound, SHOT_SEED, 0.15f, SHOT_PEAK, false},
    {"hit", makeHitSound, HIT_SEED, 0.45f, HIT_PEAK, false},
    {"explosion", makeExplosionSound, EXPLOSION_SEED, 0.9f, EXPLOSION_PEAK, false},
    {"engine", makeEngineLoop, ENGINE_SEED, 0.5f, ENGINE_PEAK, true},
};

TEST(SoundBank, EachSoundHasItsLengthAndPeakNoDcAndCleanEndsAndFollowsItsSeed) {
    for (const Kind& kind : KINDS) {
        SCOPED_TRACE(kind.name);
        const SoundSamples sound = kind.make(kind.seed);
        const std::vector<int16_t>& s = sound.samples;
        ASSERT_EQ(s.size() % 2, 0u);
        EXPECT_NEAR(sound.seconds(), kind.seconds, 0.001f);

        int peak = 0;
        double sum = 0.0;
        int biggestStep = 0;
        for (size_t i = 0; i < s.size(); i += 2) {
            ASSERT_EQ(s[i], s[i + 1]) << "both sides carry the same signal, frame " << i / 2;
            peak = std::max(peak, std::abs(static_cast<int>(s[i])));
            sum += s[i];
            if (i >= 2)
                biggestStep = std::max(biggestStep, std::abs(s[i] - s[i - 2]));
        }
        // Written at exactly its share of the mix budget: never near clipping.
        EXPECT_NEAR(peak, kind.peak * 32767.0f, 1.0f);
        // An offset would thump when the sound starts and stops: under 0.1 % of full scale.
        EXPECT_LT(std::fabs(sum / sound.frames()), 32.8);
        if (kind.loops) {
            // The loop runs on from its last frame into its first without a jump
            // larger than any within it.
            EXPECT_LE(std::abs(s[0] - s[s.size() - 2]), biggestStep);
        } else {
            EXPECT_EQ(s.front(), 0);
            EXPECT_EQ(s.back(), 0);
        }
        EXPECT_EQ(kind.make(kind.seed).samples, s) << "the same seed gives the same samples";
        EXPECT_NE(kind.make(kind.seed + 1).samples, s) << "the seed makes the noise";
    }
}

} // namespace
