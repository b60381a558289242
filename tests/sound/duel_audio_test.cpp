// Whole duels heard as a player would: the game's steps drive SDL_mixer into SDL's
// disk audio driver, and the test reads the file it wrote. The steps follow the
// audio's own progress (a step per 441 frames the mixer has produced), so every event
// has a known place in the file; the driver is told to run several times faster than
// real time.
#include "unit/world_fixture.h"

#include "sound/sound_bank.h"
#include "sound/sound_player.h"
#include "world/step_events.h"

#include <GL/freeglut.h>
#include <SDL_mixer.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <unistd.h>

namespace {

constexpr long FRAMES_PER_STEP = SOUND_RATE / 100;
// The mixer's buffer: a sound asked for by a step starts in the next one.
constexpr long BUFFER_FRAMES = 512;

long ms(int milliseconds) { return static_cast<long>(milliseconds) * SOUND_RATE / 1000; }

// The mixer fades the engine in and out (15 and 40 ms) by the wall clock, and the
// driver below runs up to 5.8 times faster than real time: in the file the fades take
// up to 232 ms.
const long ENGINE_STOPPED = ms(300);

// Counts the frames the mixer has produced. Runs on the audio thread.
class AudioClock {
public:
    static void count(void* self, Uint8*, int bytes) {
        auto* clock = static_cast<AudioClock*>(self);
        {
            std::lock_guard<std::mutex> lock(clock->mutex_);
            clock->frames_ += bytes / 4;
        }
        clock->changed_.notify_all();
    }
    long now() {
        std::lock_guard<std::mutex> lock(mutex_);
        return frames_;
    }
    // Waits for the audio's progress, not for a time; false if it stalls.
    bool reach(long frame) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return frames_ >= frame; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    long frames_ = 0;
};

// Where a step's sounds may start: not before the step ran, and within the mixer
// buffer that follows it.
struct StepMark {
    long ranFrom;
    long ranTo;
};

struct Channel {
    std::vector<float> s;
    // Root mean square over [from, from + length), in units of full scale.
    float rms(long from, long length) const {
        double sum = 0.0;
        long n = 0;
        for (long i = std::max(0L, from); i < from + length && i < static_cast<long>(s.size());
             ++i, ++n)
            sum += static_cast<double>(s[i]) * s[i];
        return n ? static_cast<float>(std::sqrt(sum / n)) : 0.0f;
    }
    // The first frame from `from` on whose magnitude exceeds `level`, or -1.
    long onset(long from, float level) const {
        for (long i = std::max(0L, from); i < static_cast<long>(s.size()); ++i)
            if (std::fabs(s[i]) > level)
                return i;
        return -1;
    }
};

class DuelAudio : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        file_ = testing::TempDir() + "duel_audio_" + std::to_string(getpid()) + ".raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
        // Milliseconds between the driver's writes of 11.6 ms of audio.
        setenv("SDL_DISKAUDIODELAY", "2", 1);
        ASSERT_TRUE(startSound());
        Mix_SetPostMix(AudioClock::count, &clock_);
        nextStepFrame_ = clock_.now();
    }
    void TearDown() override {
        stopSound();
        hearAsPlayer(-1);
        std::remove(file_.c_str());
    }

    StepMark step() {
        nextStepFrame_ += FRAMES_PER_STEP;
        EXPECT_TRUE(clock_.reach(nextStepFrame_)) << "the audio stalled";
        const long from = clock_.now();
        simulationStep();
        return {from, clock_.now()};
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i)
            step();
    }
    // Lets the audio run on without steps (a frozen game).
    void waitFor(long frames) {
        nextStepFrame_ = clock_.now() + frames;
        ASSERT_TRUE(clock_.reach(nextStepFrame_));
    }

    // Closes the device and reads what it wrote. Frames written before the counter
    // was attached (the driver's start) are skipped, so file and marks agree.
    void listen() {
        const long counted = clock_.now();
        stopSound();
        std::ifstream in(file_, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
        const long frames = static_cast<long>(bytes.size() / 4);
        ASSERT_GE(frames, counted);
        const auto* samples = reinterpret_cast<const int16_t*>(bytes.data());
        for (long i = frames - counted; i < frames; ++i) {
            left.s.push_back(samples[2 * i] / 32768.0f);
            right.s.push_back(samples[2 * i + 1] / 32768.0f);
        }
    }

    Channel left;
    Channel right;

private:
    std::string file_;
    AudioClock clock_;
    long nextStepFrame_ = 0;
};

void tap(unsigned char key) {
    keyDown(key, 0, 0);
    keyUp(key, 0, 0);
}

// A shot of `owner` at rest at a place, as if it had flown there.
void shotAt(int owner, const Vec3& at) { placeShot(owner, at.x, at.y, at.z); }

TEST_F(DuelAudio, ShotsHitsExplosionsAndEnginesAreHeardOnTheRightSide) {
    steps(20);
    tap('s');
    const StepMark shot = step();
    steps(40);

    // Player 2 thrusts for a second.
    specialDown(GLUT_KEY_UP, 0, 0);
    const StepMark thrustOn = step();
    steps(99);
    specialUp(GLUT_KEY_UP, 0, 0);
    const StepMark thrustOff = step();
    steps(60);

    // A shot of player 1 reaches player 2's ship.
    shotAt(0, ships[1]->position);
    const StepMark hit = step();
    ASSERT_EQ(stepEvents.hits[1], 1);
    steps(100);

    // Two shots burst on each other 3 units above player 2, then one on the far
    // planet, about 59 units from player 2.
    const Vec3 above = ships[1]->position + Vec3(0, 3, 0);
    shotAt(0, above);
    shotAt(1, above);
    const StepMark near = step();
    ASSERT_EQ(stepEvents.explosionCount, 1);
    steps(100);
    shotAt(0, celestialBodies[4]->position + Vec3(0, 0, 4));
    const StepMark far = step();
    ASSERT_EQ(stepEvents.explosionCount, 1);
    steps(100);
    listen();

    // The shot: on the left within one mixer buffer of its step, nearly nothing on
    // the right.
    const long start = left.onset(shot.ranFrom, 0.01f);
    EXPECT_GE(start, shot.ranFrom);
    EXPECT_LE(start, shot.ranTo + BUFFER_FRAMES + ms(3));
    EXPECT_GT(left.rms(shot.ranFrom, ms(150)), 0.005f);
    EXPECT_LT(right.rms(shot.ranFrom, ms(150)), 0.0001f);

    // The engine: a steady tone on the right while the key is held, silence after.
    std::vector<float> blocks;
    for (long at = thrustOn.ranTo + ENGINE_STOPPED; at + ms(50) <= thrustOff.ranFrom; at += ms(50))
        blocks.push_back(right.rms(at, ms(50)));
    ASSERT_GE(blocks.size(), 10u);
    const auto [quietest, loudest] = std::minmax_element(blocks.begin(), blocks.end());
    EXPECT_GT(*quietest, 0.02f);
    EXPECT_LT(*loudest / *quietest, 1.5f) << "steady while held";
    EXPECT_LT(left.rms(thrustOn.ranTo, ms(900)), 0.0001f);
    EXPECT_LT(right.rms(thrustOff.ranTo + ENGINE_STOPPED, ms(200)), 0.0001f) << "stops on release";

    // The hit: player 2 hears the hit on top of the explosion. The explosion is in
    // both sides at known levels, so what the right side holds beyond its share of
    // the left is the hit, and it is as loud as the hit sound itself.
    const float nearLevel = std::round(255 * explosionGain(0)) / 255;
    const float farLevel = std::round(255 * explosionGain(10)) / 255;
    const long window = ms(300);
    Channel hitAlone;
    for (long i = hit.ranFrom; i < hit.ranTo + BUFFER_FRAMES + window; ++i)
        hitAlone.s.push_back(right.s[i] - nearLevel / farLevel * left.s[i]);
    const SoundSamples reference = makeHitSound(HIT_SEED);
    Channel hitSound;
    for (int i = 0; i < reference.frames(); ++i)
        hitSound.s.push_back(reference.samples[2 * i] / 32768.0f);
    const long hitStart = hitAlone.onset(0, 0.01f);
    ASSERT_GE(hitStart, 0);
    EXPECT_NEAR(hitAlone.rms(hitStart, window) / hitSound.rms(0, window), 1.0f, 0.15f);

    // Explosions: louder on the right the nearer they are to player 2.
    EXPECT_GT(right.rms(near.ranFrom, ms(400)), 3 * right.rms(far.ranFrom, ms(400)));
}

TEST_F(DuelAudio, EverythingAtOnceNeverClipsAndAFrozenGameFallsSilent) {
    // Both engines, both guns every step, and every other step a hit on each ship
    // and shots bursting beside each: five sounds start together over the engines.
    keyDown('q', 0, 0);
    specialDown(GLUT_KEY_UP, 0, 0);
    for (int i = 0; i < 60; ++i) {
        tap('s');
        specialDown(GLUT_KEY_RIGHT, 0, 0);
        specialUp(GLUT_KEY_RIGHT, 0, 0);
        if (i % 2 == 0) {
            for (int s = 0; s < 2; ++s) {
                ships[s]->health = 100;
                shotAt(1 - s, ships[s]->position);
                shotAt(s, ships[s]->position + Vec3(0, 3, 0));
                shotAt(1 - s, ships[s]->position + Vec3(0, 3, 0));
            }
        }
        step();
    }
    ASSERT_TRUE(gameRunning);

    // The last hit ends the game with both thrust keys still held.
    ships[1]->health = 5;
    shotAt(0, ships[1]->position);
    const StepMark freeze = step();
    ASSERT_FALSE(gameRunning);
    waitFor(ms(1600));
    listen();

    float loudest = 0.0f;
    for (const Channel* side : {&left, &right})
        for (float v : side->s)
            loudest = std::max(loudest, std::fabs(v));
    EXPECT_LE(loudest, ENGINE_PEAK + EFFECT_VOICES * HIT_PEAK + 0.001f);
    EXPECT_GT(loudest, HIT_PEAK) << "the sounds did pile up";

    // The last hit and explosion ring out; then nothing, engines included.
    EXPECT_GT(right.rms(freeze.ranTo, ms(400)), 0.01f);
    const long quietFrom = freeze.ranTo + BUFFER_FRAMES + ms(900) + ENGINE_STOPPED;
    EXPECT_LT(left.rms(quietFrom, ms(300)), 0.0001f);
    EXPECT_LT(right.rms(quietFrom, ms(300)), 0.0001f);
}

// Player 2 at a machine of their own: player 1's shot and engine are not heard at all,
// their own shot and the explosion beside them are in both speakers alike, and a far
// explosion is quieter by its distance to player 2 alone.
TEST_F(DuelAudio, OnePlayerAloneHearsTheirOwnSoundsInBothSpeakers) {
    hearAsPlayer(1);
    keyDown('q', 0, 0);
    tap('s');
    const StepMark otherShot = step();
    steps(40);
    keyUp('q', 0, 0);
    specialDown(GLUT_KEY_RIGHT, 0, 0);
    specialUp(GLUT_KEY_RIGHT, 0, 0);
    const StepMark ownShot = step();
    steps(40);
    const Vec3 above = ships[1]->position + Vec3(0, 3, 0);
    shotAt(0, above);
    shotAt(1, above);
    const StepMark near = step();
    ASSERT_EQ(stepEvents.explosionCount, 1);
    steps(100);
    shotAt(0, celestialBodies[4]->position + Vec3(0, 0, 4));
    const StepMark far = step();
    ASSERT_EQ(stepEvents.explosionCount, 1);
    steps(100);
    listen();

    for (const Channel* side : {&left, &right})
        EXPECT_LT(side->rms(otherShot.ranFrom, ms(350)), 0.0001f) << "the other's shot and engine";
    EXPECT_GT(left.rms(ownShot.ranFrom, ms(150)), 0.005f);
    EXPECT_NEAR(left.rms(ownShot.ranFrom, ms(150)), right.rms(ownShot.ranFrom, ms(150)), 0.0005f);
    const float nearLeft = left.rms(near.ranFrom, ms(400));
    EXPECT_NEAR(nearLeft, right.rms(near.ranFrom, ms(400)), 0.001f);
    EXPECT_GT(nearLeft, 3 * left.rms(far.ranFrom, ms(400)));
}

} // namespace
