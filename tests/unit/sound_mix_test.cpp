// The offline mix of a video follows the player's rules: a step's sounds start at the
// step's own sample, on their side at their level; engines fade in and out around
// their ship's thrust; a seventh effect takes the voice that has played longest.
#include "world_fixture.h"

#include "sound/sound_mix.h"
#include "world/step_events.h"

#include <cmath>

namespace {

constexpr int STEP_FRAMES = SOUND_RATE / 100;

int16_t at(const std::vector<int16_t>& mix, long frame, int side) { return mix[2 * frame + side]; }

class SoundMixing : public WorldTest {};

TEST_F(SoundMixing, TheMixPlaysEachSoundFromItsStepOnItsSideAtItsLevel) {
    SoundMix mix;
    std::vector<int16_t> out;
    mix.mix(STEP_FRAMES, out);
    StepEvents shot;
    shot.shotsFired[0] = 1;
    mix.hearStep(shot, true);
    // An explosion at player 2's ship: full on the right, at the start distance's
    // level on the left.
    mix.mix(STEP_FRAMES, out);
    StepEvents blast;
    blast.explosionCount = 1;
    blast.explosionAt[0] = ships[1]->position;
    mix.hearStep(blast, true);
    const SoundSamples shotSound = makeShotSound(SHOT_SEED);
    const SoundSamples blastSound = makeExplosionSound(EXPLOSION_SEED);
    mix.mix(blastSound.frames() + STEP_FRAMES, out);

    const float leftLevel =
        std::lround(255 * explosionGain((ships[1]->position - ships[0]->position).length())) /
        255.0f;
    for (long f = 0; f < static_cast<long>(out.size() / 2); ++f) {
        const long s = f - STEP_FRAMES;
        const long b = f - 2 * STEP_FRAMES;
        const float shotLeft = s >= 0 && s < shotSound.frames() ? shotSound.samples[2 * s] : 0;
        const float blastSample = b >= 0 && b < blastSound.frames() ? blastSound.samples[2 * b] : 0;
        ASSERT_NEAR(at(out, f, 0), shotLeft + leftLevel * blastSample, 1.0f) << "frame " << f;
        ASSERT_EQ(at(out, f, 1), blastSample) << "frame " << f;
    }
}

TEST_F(SoundMixing, TheMixFadesEnginesAndTakesTheOldestVoiceWhenAllAreBusy) {
    SoundMix mix;
    std::vector<int16_t> out;
    ships[1]->thrustIndicator = 1;
    mix.hearStep(StepEvents{}, true);
    mix.mix(100 * STEP_FRAMES, out);
    // A frozen game stops the engine however the ship thrusts.
    mix.hearStep(StepEvents{}, false);
    mix.mix(10 * STEP_FRAMES, out);
    const SoundSamples engine = makeEngineLoop(ENGINE_SEED);
    const float fadeIn = SOUND_RATE * ENGINE_FADE_IN_MS / 1000.0f;
    const long fadeOut = SOUND_RATE * ENGINE_FADE_OUT_MS / 1000;
    for (long f = 0; f < 110L * STEP_FRAMES; ++f) {
        const float loop = engine.samples[2 * (f % engine.frames())];
        float expected = loop * std::fmin(1.0f, (f + 1.0f) / fadeIn);
        if (f >= 100L * STEP_FRAMES)
            expected = f < 100L * STEP_FRAMES + fadeOut ? at(out, f, 1) : 0.0f;
        ASSERT_EQ(at(out, f, 0), 0) << "frame " << f;
        ASSERT_NEAR(at(out, f, 1), expected, 2.0f) << "frame " << f;
    }
    for (long f = 100L * STEP_FRAMES + 1; f < 100L * STEP_FRAMES + fadeOut; ++f)
        ASSERT_LE(std::abs(at(out, f, 1)), std::abs(engine.samples[2 * (f % engine.frames())]));

    VoiceChoice voices;
    bool playing[EFFECT_VOICES] = {};
    for (int v = 0; v < EFFECT_VOICES; ++v) {
        ASSERT_EQ(voices.take(playing), v) << "the first free voice";
        playing[v] = true;
    }
    EXPECT_EQ(voices.take(playing), 0) << "all busy: the oldest";
    EXPECT_EQ(voices.take(playing), 1);
    playing[4] = false;
    EXPECT_EQ(voices.take(playing), 4) << "a voice that fell silent";
    playing[4] = true;
    EXPECT_EQ(voices.take(playing), 2) << "4 is now the youngest";
}

} // namespace
