// The game's sounds, computed at start-up from fixed seeds: a shot leaving, a hit on
// a ship, an explosion, and the engine's steady loop. Each is 16-bit stereo at the
// device rate with the same signal on both sides; where it is heard is set when it
// plays.
#pragma once

#include <cstdint>
#include <vector>

constexpr int SOUND_RATE = 44100;

// The mix budget: the engine plus EFFECT_VOICES effects at their loudest stay below
// full scale in either channel, so nothing can clip however much happens at once.
constexpr int EFFECT_VOICES = 6;
constexpr float ENGINE_PEAK = 0.10f;
constexpr float SHOT_PEAK = 0.10f;
constexpr float HIT_PEAK = 0.14f;
constexpr float EXPLOSION_PEAK = 0.14f;
static_assert(ENGINE_PEAK + EFFECT_VOICES * HIT_PEAK < 0.95f &&
                  ENGINE_PEAK + EFFECT_VOICES * EXPLOSION_PEAK < 0.95f,
              "the loudest mix must stay clear of full scale");

struct SoundSamples {
    // Interleaved left, right.
    std::vector<int16_t> samples;

    int frames() const { return static_cast<int>(samples.size() / 2); }
    float seconds() const { return static_cast<float>(frames()) / SOUND_RATE; }
};

// The seeds the game uses; the same seed always gives the same samples.
enum SoundSeed : uint32_t {
    SHOT_SEED = 0x5307u,
    HIT_SEED = 0x4171u,
    EXPLOSION_SEED = 0xE801u,
    ENGINE_SEED = 0xE261u,
};

// A falling zap, 0.15 s.
SoundSamples makeShotSound(uint32_t seed);
// A low thump under a metallic clang with a crack on top, 0.45 s: nothing else
// sounds like it.
SoundSamples makeHitSound(uint32_t seed);
// A burst of noise darkening into a rumble, 0.9 s.
SoundSamples makeExplosionSound(uint32_t seed);
// A low hum with a rush of air, 0.5 s that loop without a seam.
SoundSamples makeEngineLoop(uint32_t seed);
